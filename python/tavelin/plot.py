"""Plots one model of an IBIS file: its I-V tables and its V-T waveforms,
typ, min and max, on labelled axes.

    python3 -m tavelin.plot FILE MODEL [-o OUT.png|OUT.svg] [--dpi N]

Without -o the picture is written to MODEL.png.  matplotlib is imported
by this command only.
"""
import argparse
import math
import sys

import tavelin

IV_TABLES = (("pullup", "[Pullup]"), ("pulldown", "[Pulldown]"),
             ("gnd_clamp", "[GND Clamp]"), ("power_clamp", "[POWER Clamp]"))
CORNERS = (("typ", 1, "-"), ("min", 2, "--"), ("max", 3, ":"))


def panels(model):
    """(title, x label, y label, x scale, table) of every table the model has."""
    found = []
    for attribute, keyword in IV_TABLES:
        table = getattr(model, attribute)
        if table is not None and len(table):
            found.append((keyword, "Voltage (V)", "Current (mA)", (1.0, 1e3), table))
    for attribute, keyword in (("rising_waveforms", "[Rising Waveform]"),
                               ("falling_waveforms", "[Falling Waveform]")):
        for waveform in getattr(model, attribute):
            title = keyword
            if waveform.r_fixture is not None:
                title += " R_fixture=%g" % waveform.r_fixture
            if waveform.v_fixture is not None:
                title += " V_fixture=%g" % waveform.v_fixture
            found.append((title, "Time (ns)", "Voltage (V)", (1e9, 1.0), waveform.table))
    return found


def draw(axes, panel):
    title, x_label, y_label, (x_scale, y_scale), table = panel
    for name, column, style in CORNERS:
        if not all(math.isnan(v) for v in table[:, column]):
            axes.plot(table[:, 0] * x_scale, table[:, column] * y_scale, style, label=name)
    axes.set_title(title, fontsize=10)
    axes.set_xlabel(x_label)
    axes.set_ylabel(y_label)
    axes.grid(True, alpha=0.3)
    axes.legend(fontsize=8)


def plot_model(model, out_path, source="", dpi=100):
    """Writes the picture of one tavelin.Model to out_path (.png or .svg)."""
    import matplotlib
    matplotlib.use("Agg")
    from matplotlib import pyplot

    found = panels(model)
    if not found:
        raise ValueError("model %s has no I-V table and no waveform" % model.name)
    columns = 2 if len(found) > 1 else 1
    rows = (len(found) + columns - 1) // columns
    figure, grid = pyplot.subplots(rows, columns, figsize=(5.5 * columns, 3.6 * rows), squeeze=False)
    for axes, panel in zip(grid.flat, found):
        draw(axes, panel)
    for axes in list(grid.flat)[len(found):]:
        axes.set_visible(False)
    figure.suptitle("[Model] %s (%s)%s" % (model.name, model.model_type or "no Model_type",
                                          "  " + source if source else ""))
    figure.tight_layout()
    figure.savefig(out_path, dpi=dpi)
    pyplot.close(figure)


def main(argv=None):
    parser = argparse.ArgumentParser(prog="python3 -m tavelin.plot", description=__doc__.split("\n\n")[0])
    parser.add_argument("file", help="IBIS file (.ibs)")
    parser.add_argument("model", help="model name, as in the file")
    parser.add_argument("-o", "--output", help="picture to write (.png or .svg); default MODEL.png")
    parser.add_argument("--dpi", type=int, default=100, help="dots per inch of a .png (default 100)")
    options = parser.parse_args(argv)
    try:
        document = tavelin.read(options.file)
    except (OSError, ValueError) as error:
        print("tavelin.plot: %s" % error, file=sys.stderr)
        return 2
    model = document.models.get(options.model)
    if model is None:
        print("tavelin.plot: no model %s in %s; models: %s" % (
            options.model, options.file, " ".join(document.models) or "none"), file=sys.stderr)
        return 2
    out_path = options.output or options.model + ".png"
    try:
        plot_model(model, out_path, options.file.rsplit("/", 1)[-1], options.dpi)
    except ValueError as error:
        print("tavelin.plot: %s" % error, file=sys.stderr)
        return 2
    print(out_path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
