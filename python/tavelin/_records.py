"""The objects tavelin.check and tavelin.read hand out.

The compiled module fills them; they only hold values.  Names follow the
IBIS file: a model's ``pullup`` is its [Pullup] table, ``c_comp`` its
C_comp.  A number that is not given is None; "NA" is NaN.  Tables are numpy
arrays of shape (N, 4): the voltage (or time), then typ, min and max.
"""
from collections import namedtuple

import numpy as np

Range = namedtuple("Range", "typ min max")
Range.__doc__ = "A typ/min/max triple; a corner not given is None, NA is NaN."

RampRate = namedtuple("RampRate", "dv dt")
RampRate.__doc__ = "One corner of dV/dt_r or dV/dt_f."

Finding = namedtuple("Finding", "level file line text")
Finding.__doc__ = ('One finding of the reader: level "error", "warning" or "bug", the file '
                   "the read was given, the line number or None, the exact message.")

Header = namedtuple("Header", "ibis_ver file_name file_rev date source notes disclaimer copyright")
Package = namedtuple("Package", "r_pkg l_pkg c_pkg")
Pin = namedtuple("Pin", "name signal model r_pin l_pin c_pin")
PinMapping = namedtuple("PinMapping", "pin pulldown_ref pullup_ref gnd_clamp_ref power_clamp_ref")
DiffPin = namedtuple("DiffPin", "pin inv_pin vdiff tdelay_typ tdelay_min tdelay_max")
SeriesPin = namedtuple("SeriesPin", "pin_1 pin_2 model function_table_group")
AddSubmodel = namedtuple("AddSubmodel", "name mode")
SelectorEntry = namedtuple("SelectorEntry", "model description")
ModelSelector = namedtuple("ModelSelector", "name models")
SeriesMosfet = namedtuple("SeriesMosfet", "vds table")
MatrixRow = namedtuple("MatrixRow", "pin columns values")
LibraryPin = namedtuple("LibraryPin", "name signal model model_type")


def _shape(value):
    """A field in a repr: tables by their shape, lists by their length."""
    if isinstance(value, np.ndarray):
        return "<%d rows>" % value.shape[0]
    if isinstance(value, (list, dict)):
        return "<%d>" % len(value)
    return repr(value)


class _Record:
    """Keyword-built record with a repr that names the given fields."""
    __slots__ = ()
    _brief = ()

    def __init__(self, **fields):
        for name in self.__slots__:
            setattr(self, name, fields.pop(name, None))
        if fields:
            raise TypeError("%s has no field %s" % (type(self).__name__, ", ".join(fields)))

    def __repr__(self):
        shown = ("%s=%s" % (name, _shape(getattr(self, name))) for name in self._brief
                 if getattr(self, name) is not None)
        return "%s(%s)" % (type(self).__name__, ", ".join(shown))


class CheckResult(_Record):
    """The findings of one file, their counts, its IBIS version and the exact log."""
    __slots__ = ("path", "version", "findings", "errors", "warnings", "bugs", "log")
    _brief = ("path", "version", "errors", "warnings", "bugs")

    @property
    def ok(self):
        """True when the file has no errors."""
        return self.errors == 0


class Component(_Record):
    """One [Component]: its package values, pins and pin tables in file order."""
    __slots__ = ("name", "manufacturer", "package", "package_model", "pins", "pin_mappings",
                 "diff_pins", "series_pins")
    _brief = ("name", "manufacturer", "pins")

    def pin(self, name):
        """The first pin of that name (KeyError when there is none)."""
        for pin in self.pins:
            if pin.name == name:
                return pin
        raise KeyError(name)


class Ramp(_Record):
    """[Ramp]: dv_dt_r and dv_dt_f as Range of RampRate, and R_load."""
    __slots__ = ("dv_dt_r", "dv_dt_f", "r_load")
    _brief = __slots__


class Waveform(_Record):
    """[Rising Waveform] or [Falling Waveform]: the fixture and the (N, 4) V-T table."""
    __slots__ = ("r_fixture", "v_fixture", "v_fixture_min", "v_fixture_max", "c_fixture",
                 "l_fixture", "r_dut", "l_dut", "c_dut", "table")
    _brief = ("r_fixture", "v_fixture", "c_fixture", "table")


class Series(_Record):
    """The series elements, [Series Current] and [Series MOSFET] tables of a series model."""
    __slots__ = ("r_series", "l_series", "rl_series", "c_series", "rc_series", "lc_series",
                 "series_current", "mosfets")
    _brief = __slots__


class ModelSpec(_Record):
    """[Model Spec]: each subparameter a Range, None when not given."""
    __slots__ = ("vinh", "vinl", "vinh_plus", "vinh_minus", "vinl_plus", "vinl_minus",
                 "s_overshoot_high", "s_overshoot_low", "d_overshoot_high", "d_overshoot_low",
                 "d_overshoot_time", "pulse_high", "pulse_low", "pulse_time", "vmeas")
    _brief = __slots__


class Model(_Record):
    """One [Model] with its subparameters, I-V tables, ramp and waveforms."""
    __slots__ = ("name", "model_type", "polarity", "enable", "vinl", "vinh", "c_comp", "vmeas",
                 "cref", "rref", "vref", "temperature_range", "voltage_range", "pullup_reference",
                 "pulldown_reference", "power_clamp_reference", "gnd_clamp_reference", "r_gnd",
                 "r_power", "r_ac", "c_ac", "pullup", "pulldown", "gnd_clamp", "power_clamp",
                 "ramp", "rising_waveforms", "falling_waveforms", "series_on", "series_off",
                 "model_spec", "add_submodels")
    _brief = ("name", "model_type", "pullup", "pulldown", "gnd_clamp", "power_clamp",
              "rising_waveforms", "falling_waveforms")


class Submodel(_Record):
    """One [Submodel]: its type, I-V tables, ramp, waveforms and pulse tables (as waveforms)."""
    __slots__ = ("name", "submodel_type", "pullup", "pulldown", "gnd_clamp", "power_clamp", "ramp",
                 "rising_waveforms", "falling_waveforms", "gnd_pulse_tables", "power_pulse_tables")
    _brief = ("name", "submodel_type", "pullup", "pulldown", "gnd_clamp", "power_clamp")


class Matrix(_Record):
    """A package matrix as read: its type, bandwidth and rows (pin, 0-based columns, values)."""
    __slots__ = ("matrix_type", "bandwidth", "rows")
    _brief = __slots__

    def to_array(self):
        """The symmetric (N, N) matrix, N the number of rows; NaN where nothing is given."""
        size = max([len(self.rows)] + [int(row.columns.max()) + 1 for row in self.rows
                                       if len(row.columns)])
        dense = np.full((size, size), np.nan)
        for index, row in enumerate(self.rows):
            dense[index, row.columns] = row.values
            dense[row.columns, index] = row.values
        return dense

    def __array__(self, dtype=None):
        dense = self.to_array()
        return dense if dtype is None else dense.astype(dtype)


class PackageModel(_Record):
    """One [Define Package Model] with its pin numbers and matrices."""
    __slots__ = ("name", "manufacturer", "oem", "description", "number_of_pins", "pin_numbers",
                 "resistance_matrix", "inductance_matrix", "capacitance_matrix")
    _brief = ("name", "number_of_pins")


class Document(_Record):
    """A file as the reader read it, findings and all (``check``)."""
    __slots__ = ("path", "header", "components", "models", "submodels", "model_selectors",
                 "package_models", "check")
    _brief = ("path", "components", "models", "submodels", "model_selectors", "package_models")
