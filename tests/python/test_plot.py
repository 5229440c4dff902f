"""Plotting a model, headless: the function and the command both write a
non-empty picture; the command explains an unknown model."""
import os
import subprocess
import sys

import tavelin
from tavelin import plot


def test_plot_model_writes_a_png(tmp_path, example):
    model = tavelin.read(example).models["IO33"]
    out = tmp_path / "io33.png"
    plot.plot_model(model, str(out))
    data = out.read_bytes()
    assert data.startswith(b"\x89PNG") and len(data) > 10000
    # Four I-V tables and the two waveforms.
    assert len(plot.panels(model)) == 6


def test_the_command_writes_svg_and_names_the_models_it_has(tmp_path, example):
    out = tmp_path / "in33.svg"
    run = subprocess.run([sys.executable, "-m", "tavelin.plot", example, "IN33", "-o", str(out)],
                         capture_output=True, text=True, env=dict(os.environ, MPLBACKEND="Agg"))
    assert run.returncode == 0, run.stderr
    assert out.read_text().lstrip().startswith("<?xml") and "<svg" in out.read_text()
    run = subprocess.run([sys.executable, "-m", "tavelin.plot", example, "NOPE"], capture_output=True, text=True)
    assert run.returncode == 2
    assert run.stderr == "tavelin.plot: no model NOPE in %s; models: IO33 IN33\n" % example
