"""tavelin.read on a hand-written file: every value as the file gives it,
scale letters applied, "NA" as NaN in tables and triples, None where
nothing is given; records in file order, dicts by name; readable reprs."""
import math
import os

import numpy as np
import pytest

import tavelin

FIXTURE = """\
[IBIS Ver]      3.2
[File Name]     fixture.ibs
[File Rev]      2.0
[Date]          December 9, 2026
[Component]     FIX1
[Manufacturer]  Fixture Works
[Package]
| variable      typ         min         max
R_pkg           250m        NA          300m
L_pkg           5nH         4nH         6nH
C_pkg           1pF         NA          NA
[Pin]   signal_name     model_name      R_pin   L_pin   C_pin
1       VCC             POWER           NA      NA      NA
2       GND             GND             NA      NA      NA
3       DQ              IO1             1.5     2.5nH   1.25pF
4       DQ_N            IO1             1.5     2.5nH   1.25pF
5       SA              NC
6       SB              NC
[Pin Mapping]  pulldown_ref    pullup_ref   gnd_clamp_ref   power_clamp_ref
1              NC              VDDQ         NC              NC
2              GNDBUS          NC           NC              NC
3              GNDBUS          VDDQ         GNDBUS          VDDQ
4              GNDBUS          VDDQ         GNDBUS          VDDQ
5              NC              NC           NC              NC
6              NC              NC           NC              NC
[Diff Pin]  inv_pin  vdiff  tdelay_typ  tdelay_min  tdelay_max
3           4        150mV  1ns         NA          2ns
[Series Pin Mapping]  pin_2   model_name
5                     6       SER1
[Model Selector] IOSEL
IO1       Full-strength driver
IO1LOW    Half-strength driver
[Model]         IO1
Model_type      I/O
Polarity        Inverting
Enable          Active-Low
Vinl = 800mV
Vinh = 2
Vmeas = 1.5
Cref = 30p
Rref = 1k
Vref = 0
C_comp          3pF         2.5pF       NA
[Model Spec]
| Subparameter    typ     min     max
Vinh              2.0     1.9     2.1
Vinl              0.8     0.75    NA
S_overshoot_high  4.0     3.8     4.2
Vmeas             1.5     1.4     1.6
[Voltage Range]         3.3V    3.0V    3.6V
[Pulldown]
| Voltage       I(typ)      I(min)      I(max)
 -3.3     -50m        -40m        -60m
  0        0           0           0
  3.3      50m         NA          60000u
  6.6      70mA        55mA        90mA
[Pullup]
 -3.3      50m         40m         60m
  0        0           0           0
  6.6     -70m        -55m        -90m
[Ramp]
dV/dt_r         1.0/0.5n    0.8/0.7n    NA
dV/dt_f         1.0/0.4n    0.8/0.6n    1.2/0.3n
[Rising Waveform]
R_fixture = 50
V_fixture = 0
V_fixture_min = 0.1
V_fixture_max = 0.2
C_fixture = 5p
| time      V(typ)    V(min)    V(max)
 0        0         0         0
 1n       1.65      1.5       NA
 2ns      3.3       3.0       3.6
[Add Submodel]
| Submodel_name   Mode
DCLAMP            Non-Driving
[Model]         IO1LOW
Model_type      Input
Vinl = 0.8
Vinh = 2.0
C_comp          3pF         2.5pF       3.5pF
[Voltage Range]         3.3V    3.0V    3.6V
[GND Clamp]
 -3.3     -25m        -20m        -30m
  0        0           0           0
[Model]         SER1
Model_type      Series
C_comp          0           0           0
[Voltage Range]         3.3V    3.0V    3.6V
[R Series]      10          9           11
[Series Current]
 -1.0     -100m       -90m        -110m
  1.0      100m        90m         110m
[Submodel]      DCLAMP
Submodel_type   Dynamic_clamp
[GND Clamp]
 -3.3     -1          -0.9        -1.1
  0        0           0           0
[Define Package Model] PKG1
[Manufacturer] Fixture Works
[OEM] Fixture Works
[Description] Two-pin test package
[Number Of Pins] 2
[Pin Numbers]
3
4
[Model Data]
[Resistance Matrix] Full_matrix
[Row] 3
1.0 0.1
[Row] 4
2.0
[Inductance Matrix] Sparse_matrix
[Row] 3
3 5n
4 1n
[Row] 4
4 6n
[Capacitance Matrix] Banded_matrix
[Bandwidth] 1
[Row] 3
1p 0.2p
[Row] 4
2p
[End Model Data]
[End Package Model]
[End]
"""

NAN = float("nan")


@pytest.fixture(scope="module")
def doc(tmp_path_factory):
    path = tmp_path_factory.mktemp("read") / "fixture.ibs"
    path.write_text(FIXTURE)
    return tavelin.read(path)


def same(a, b):
    """Equal values, NaN equal to NaN, None to None; tuples compared item by item."""
    if isinstance(a, tuple):
        return isinstance(b, tuple) and len(a) == len(b) and all(same(x, y) for x, y in zip(a, b))
    if a is None or b is None:
        return a is b
    if isinstance(a, float) and math.isnan(a):
        return isinstance(b, float) and math.isnan(b)
    return a == pytest.approx(b, rel=1e-12, abs=0)


def assert_table(table, expected):
    assert table.shape == (len(expected), 4) and table.dtype == np.float64
    np.testing.assert_allclose(table, np.array(expected, dtype=float), rtol=1e-12, atol=0, equal_nan=True)


def test_the_reads_findings_come_with_the_document(doc):
    # The rising waveform ends at 3.3 V into 50 ohms to 0 V, which the weak
    # [Pulldown]/[Pullup] cannot reach: the plausibility check says so.
    assert doc.check.errors == 0
    assert [(f.level, f.line) for f in doc.check.findings] == [("warning", None)] * 3
    assert doc.check.findings[0].text.startswith("Model 'IO1': TYP AC Rising Endpoints")


def test_header_and_component(doc):
    assert doc.header == tavelin.Header("3.2", "fixture.ibs", "2.0", "December 9, 2026", None, None, None, None)
    assert list(doc.components) == ["FIX1"]
    component = doc.components["FIX1"]
    assert component.manufacturer == "Fixture Works"
    assert same(component.package, ((0.25, NAN, 0.3), (5e-9, 4e-9, 6e-9), (1e-12, NAN, NAN)))
    pins = [(p.name, p.signal, p.model, p.r_pin, p.l_pin, p.c_pin) for p in component.pins]
    assert same(tuple(pins), (("1", "VCC", "POWER", NAN, NAN, NAN), ("2", "GND", "GND", NAN, NAN, NAN),
                              ("3", "DQ", "IO1", 1.5, 2.5e-9, 1.25e-12),
                              ("4", "DQ_N", "IO1", 1.5, 2.5e-9, 1.25e-12),
                              ("5", "SA", "NC", None, None, None), ("6", "SB", "NC", None, None, None)))
    assert component.pin("4").signal == "DQ_N"
    assert component.pin_mappings[0] == tavelin.PinMapping("1", "NC", "VDDQ", "NC", "NC")
    assert component.pin_mappings[2] == tavelin.PinMapping("3", "GNDBUS", "VDDQ", "GNDBUS", "VDDQ")
    assert len(component.pin_mappings) == 6
    # The reader stores an "NA" delay of [Diff Pin] as 0.
    assert same(tuple(component.diff_pins[0]), ("3", "4", 0.15, 1e-9, 0.0, 2e-9))
    assert component.series_pins == [tavelin.SeriesPin("5", "6", "SER1", None)]
    assert repr(component) == "Component(name='FIX1', manufacturer='Fixture Works', pins=<6>)"


def test_a_drivers_values_and_tables(doc):
    assert list(doc.models) == ["IO1", "IO1LOW", "SER1"]
    model = doc.models["IO1"]
    assert (model.name, model.model_type, model.polarity, model.enable) == ("IO1", "I/O", "Inverting", "Active-Low")
    assert same((model.vinl, model.vinh, model.vmeas, model.cref, model.rref, model.vref),
                (0.8, 2.0, 1.5, 30e-12, 1000.0, 0.0))
    assert same(model.c_comp, (3e-12, 2.5e-12, NAN))
    assert same(model.voltage_range, (3.3, 3.0, 3.6))
    assert model.temperature_range is None and model.pullup_reference is None
    limits = model.model_spec
    assert same((limits.vinh, limits.vinl, limits.s_overshoot_high, limits.vmeas),
                ((2.0, 1.9, 2.1), (0.8, 0.75, NAN), (4.0, 3.8, 4.2), (1.5, 1.4, 1.6)))
    assert limits.vinh_plus is None and limits.pulse_time is None
    assert doc.models["IO1LOW"].model_spec is None
    assert_table(model.pulldown, [[-3.3, -50e-3, -40e-3, -60e-3], [0, 0, 0, 0], [3.3, 50e-3, NAN, 60000e-6],
                                  [6.6, 70e-3, 55e-3, 90e-3]])
    assert_table(model.pullup, [[-3.3, 50e-3, 40e-3, 60e-3], [0, 0, 0, 0], [6.6, -70e-3, -55e-3, -90e-3]])
    assert model.gnd_clamp is None and model.power_clamp is None
    ramp = model.ramp
    assert same(tuple(ramp.dv_dt_r), ((1.0, 0.5e-9), (0.8, 0.7e-9), (NAN, NAN)))
    assert same(tuple(ramp.dv_dt_f), ((1.0, 0.4e-9), (0.8, 0.6e-9), (1.2, 0.3e-9)))
    assert ramp.r_load is None
    assert model.falling_waveforms == []
    (rising,) = model.rising_waveforms
    assert same((rising.r_fixture, rising.v_fixture, rising.v_fixture_min, rising.v_fixture_max, rising.c_fixture,
                 rising.l_fixture, rising.r_dut), (50.0, 0.0, 0.1, 0.2, 5e-12, None, None))
    assert_table(rising.table, [[0, 0, 0, 0], [1e-9, 1.65, 1.5, NAN], [2e-9, 3.3, 3.0, 3.6]])
    assert repr(model) == ("Model(name='IO1', model_type='I/O', pullup=<3 rows>, pulldown=<4 rows>, "
                           "rising_waveforms=<1>, falling_waveforms=<0>)")


def test_an_input_and_a_series_model(doc):
    receiver = doc.models["IO1LOW"]
    assert receiver.model_type == "Input" and receiver.polarity is None and receiver.ramp is None
    assert receiver.pullup is None and receiver.pulldown is None and receiver.power_clamp is None
    assert_table(receiver.gnd_clamp, [[-3.3, -25e-3, -20e-3, -30e-3], [0, 0, 0, 0]])
    series = doc.models["SER1"]
    assert series.model_type == "Series" and series.series_off is None
    assert same(series.series_on.r_series, (10.0, 9.0, 11.0))
    assert series.series_on.l_series is None and series.series_on.mosfets == []
    assert_table(series.series_on.series_current, [[-1, -0.1, -0.09, -0.11], [1, 0.1, 0.09, 0.11]])


def test_a_submodel_and_the_model_that_adds_it(doc):
    assert doc.models["IO1"].add_submodels == [("DCLAMP", "Non-Driving")]
    assert doc.models["IO1LOW"].add_submodels == []
    submodel = doc.submodels["DCLAMP"]
    assert (submodel.name, submodel.submodel_type, submodel.pullup, submodel.ramp) == (
        "DCLAMP", "Dynamic_clamp", None, None)
    assert_table(submodel.gnd_clamp, [[-3.3, -1, -0.9, -1.1], [0, 0, 0, 0]])
    assert repr(submodel) == "Submodel(name='DCLAMP', submodel_type='Dynamic_clamp', gnd_clamp=<2 rows>)"


def test_selectors_and_package_models(doc):
    assert doc.model_selectors["IOSEL"].models == [("IO1", "Full-strength driver"),
                                                   ("IO1LOW", "Half-strength driver")]
    package = doc.package_models["PKG1"]
    assert (package.manufacturer, package.oem, package.description) == (
        "Fixture Works", "Fixture Works", "Two-pin test package")
    assert (package.number_of_pins, package.pin_numbers) == (2, ["3", "4"])
    resistance, inductance, capacitance = (package.resistance_matrix, package.inductance_matrix,
                                           package.capacitance_matrix)
    assert (resistance.matrix_type, inductance.matrix_type, capacitance.matrix_type) == (
        "Full_matrix", "Sparse_matrix", "Banded_matrix")
    assert capacitance.bandwidth == 1 and resistance.bandwidth is None
    assert [row.pin for row in inductance.rows] == ["3", "4"]
    np.testing.assert_array_equal(inductance.rows[1].columns, [1])
    np.testing.assert_allclose(resistance.to_array(), [[1.0, 0.1], [0.1, 2.0]], rtol=1e-12)
    np.testing.assert_allclose(inductance.to_array(), [[5e-9, 1e-9], [1e-9, 6e-9]], rtol=1e-12)
    np.testing.assert_allclose(np.asarray(capacitance), [[1e-12, 0.2e-12], [0.2e-12, 2e-12]], rtol=1e-12)


def test_the_bundled_example_reads_with_its_tables(example):
    doc = tavelin.read(example)
    assert doc.check.ok and doc.check.findings == []
    io33 = doc.models["IO33"]
    assert io33.pulldown.shape == (15, 4) and io33.power_clamp.shape == (9, 4)
    assert list(io33.pulldown[4]) == [0.0, 0.0, 0.0, 0.0]
    assert io33.pulldown[-1, 0] == 6.6 and io33.pulldown[-1, 3] == pytest.approx(109.72e-3, rel=1e-12)
    assert io33.rising_waveforms[0].table[-1, 0] == pytest.approx(3e-9, rel=1e-12)
    assert doc.components["TVL8244"].pins[2].r_pin == pytest.approx(0.21, rel=1e-12)


def test_every_corpus_file_reads_with_the_findings_check_gives(corpus):
    from conftest import corpus_files
    read = 0
    for name in corpus_files(corpus):
        path = os.path.join(corpus, name)
        try:
            doc = tavelin.read(path)
        except ValueError:
            continue  # a later IBIS version: the check tests cover refusals
        read += 1
        assert doc.check.findings == tavelin.check(path).findings, name
        for model in doc.models.values():
            for table in (model.pullup, model.pulldown, model.gnd_clamp, model.power_clamp):
                assert table is None or (table.ndim == 2 and table.shape[1] == 4)
        for package in doc.package_models.values():
            if package.number_of_pins > 1000:
                continue  # three dense matrices of 8 MB each and more
            for matrix in (package.resistance_matrix, package.inductance_matrix, package.capacitance_matrix):
                if matrix is None or not matrix.rows:
                    continue
                dense = matrix.to_array()
                assert dense.shape[0] == len(matrix.rows) == package.number_of_pins, name
                np.testing.assert_array_equal(dense, dense.T)
                assert not np.isnan(dense.diagonal()).any(), name
    assert read >= 10
