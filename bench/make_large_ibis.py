#!/usr/bin/env python3
"""Writes a large, regular IBIS 3.2 file for the benchmarks: one component
with many pins, and models with 100-point I-V tables and 100-row waveforms.

    make_large_ibis.py OUT.ibs SIZE_MB
"""
import sys


def iv_rows(sign, v_lo, v_hi, scale):
    rows = []
    for i in range(100):
        v = v_lo + (v_hi - v_lo) * i / 99.0
        i_typ = sign * scale * (v - v_lo) / (v_hi - v_lo)
        rows.append("%10.4f %12.5em %12.5em %12.5em" % (v, i_typ, i_typ * 0.8, i_typ * 1.2))
    return rows


def waveform(rising):
    rows = []
    for i in range(100):
        t = i * 0.05e-9
        frac = min(1.0, i / 60.0)
        v = 3.3 * frac if rising else 3.3 * (1.0 - frac)
        rows.append("%12.4en %10.4f %10.4f %10.4f" % (t * 1e9, v, v * 0.95, v * 1.05))
    return rows


def model(name):
    out = ["[Model] %s" % name,
           "Model_type I/O",
           "Polarity Non-Inverting",
           "Enable Active-High",
           "Vinl = 0.8V",
           "Vinh = 2.0V",
           "Vmeas = 1.65V",
           "Cref = 0pF",
           "Rref = 50",
           "Vref = 0",
           "C_comp 5.0pF 4.5pF 5.5pF",
           "[Temperature Range] 25 100 0",
           "[Voltage Range] 3.3V 3.0V 3.6V",
           "[Pulldown]"]
    out += iv_rows(1, -3.3, 6.6, 60.0)
    out.append("[Pullup]")
    out += iv_rows(-1, -3.3, 6.6, 60.0)
    out.append("[GND Clamp]")
    out += iv_rows(1, -3.3, 0.0, 100.0)
    out.append("[POWER Clamp]")
    out += iv_rows(-1, -3.3, 0.0, 100.0)
    out += ["[Ramp]",
            "R_load = 50",
            "dV/dt_r 1.98/0.8n 1.8/1.0n 2.16/0.6n",
            "dV/dt_f 1.98/0.8n 1.8/1.0n 2.16/0.6n"]
    for rising in (True, False):
        out.append("[Rising Waveform]" if rising else "[Falling Waveform]")
        out += ["R_fixture = 50", "V_fixture = 0.0" if rising else "V_fixture = 3.3"]
        out += waveform(rising)
    return out


def main():
    path, size_mb = sys.argv[1], float(sys.argv[2])
    model_lines = model("M0000")
    model_bytes = sum(len(line) + 1 for line in model_lines)
    models = max(1, int(size_mb * 1e6 * 0.9 / model_bytes))
    pins = max(100, int(size_mb * 1e6 * 0.1 / 40))
    with open(path, "w") as f:
        w = f.write
        w("[IBIS Ver] 3.2\n[File Name] %s\n[File Rev] 1.0\n[Date] 2026\n" % path.split("/")[-1].lower())
        w("[Component] BIG\n[Manufacturer] Bench\n[Package]\nR_pkg 0.1 0.05 0.2\nL_pkg 2nH 1nH 3nH\nC_pkg 1pF 0.5pF 2pF\n")
        w("[Pin] signal_name model_name R_pin L_pin C_pin\n")
        for p in range(pins):
            w("%d SIG%d M%04d 0.1 2nH 1pF\n" % (p + 1, p, p % models))
        for m in range(models):
            for line in model_lines:
                w(line.replace("M0000", "M%04d" % m) + "\n")
        w("[End]\n")


main()
