#!/usr/bin/env python3
"""Writes a large, regular and electrically consistent IBIS 3.2 file for the
benchmarks: one component with many pins, and I/O models with 100-point
I-V tables and 100-row waveforms whose ends match the tables.

    make_large_ibis.py OUT.ibs SIZE_MB

The drivers are linear: the pulldown a resistor to ground, the pullup a
resistor to the supply; the clamps conduct only beyond 0.6 V outside the
rails.  Corners: typical 3.3 V, minimum 3.0 V with weaker drivers, maximum
3.6 V with stronger ones.
"""
import sys

VCC = (3.3, 3.0, 3.6)          # typ, min, max
R_DRIVE = (20.0, 25.0, 16.0)   # ohms of pullup and pulldown per corner
R_CLAMP = 5.0
R_FIXTURE = 50.0


def table(current):
    """100 rows from -Vcc to 2 Vcc; current(v, corner) in amperes."""
    rows = []
    for i in range(100):
        v = -3.3 + 9.9 * i / 99.0
        rows.append("%9.4f %14.6e %14.6e %14.6e" % ((v,) + tuple(current(v, c) for c in range(3))))
    return rows


def pulldown(v, c):
    return v / R_DRIVE[c]


def pullup(v, c):  # v is Vcc - Vout; current into the pin
    return -v / R_DRIVE[c]


def gnd_clamp(v, c):
    return (v + 0.6) / R_CLAMP if v < -0.6 else 0.0


def power_clamp(v, c):  # v is Vcc - Vout
    return -(v + 0.6) / R_CLAMP if v < -0.6 else 0.0


def waveform(start, end):
    rows = []
    for i in range(100):
        frac = min(1.0, i / 60.0)
        values = tuple(start[c] + (end[c] - start[c]) * frac for c in range(3))
        rows.append("%8.3fn %9.5f %9.5f %9.5f" % ((i * 0.05,) + values))
    return rows


def model(name):
    high = [VCC[c] * R_FIXTURE / (R_FIXTURE + R_DRIVE[c]) for c in range(3)]
    low = [VCC[c] * R_DRIVE[c] / (R_FIXTURE + R_DRIVE[c]) for c in range(3)]
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
           "[Pulldown]"] + table(pulldown)
    out += ["[Pullup]"] + table(pullup)
    out += ["[GND Clamp]"] + table(gnd_clamp)
    out += ["[POWER Clamp]"] + table(power_clamp)
    out += ["[Ramp]",
            "R_load = 50",
            "dV/dt_r %.3f/1.8n %.3f/2.0n %.3f/1.6n" % tuple(0.6 * h for h in high),
            "dV/dt_f %.3f/1.8n %.3f/2.0n %.3f/1.6n" % tuple(0.6 * (VCC[c] - low[c]) for c in range(3))]
    out += ["[Rising Waveform]", "R_fixture = 50", "V_fixture = 0.0"]
    out += waveform((0.0, 0.0, 0.0), high)
    out += ["[Falling Waveform]", "R_fixture = 50", "V_fixture = 3.3", "V_fixture_min = 3.0",
            "V_fixture_max = 3.6"]
    out += waveform(VCC, low)
    return out


def pin_name(n):
    """Pin names have at most 5 characters: digits and letters."""
    digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    name = ""
    while True:
        name = digits[n % 36] + name
        n //= 36
        if n == 0:
            return name


def main():
    path, size_mb = sys.argv[1], float(sys.argv[2])
    model_lines = model("M0000")
    model_bytes = sum(len(line) + 1 for line in model_lines)
    models = max(1, int(size_mb * 1e6 * 0.9 / model_bytes))
    pins = max(100, int(size_mb * 1e6 * 0.1 / 30))
    with open(path, "w") as f:
        w = f.write
        w("[IBIS Ver] 3.2\n[File Name] %s\n[File Rev] 1.0\n[Date] 2026\n" % path.split("/")[-1].lower())
        w("[Component] BIG\n[Manufacturer] Bench\n[Package]\nR_pkg 0.1 0.05 0.2\n"
          "L_pkg 2nH 1nH 3nH\nC_pkg 1pF 0.5pF 2pF\n")
        w("[Pin] signal_name model_name R_pin L_pin C_pin\n")
        for p in range(pins):
            w("%s SIG%d M%04d 0.1 2nH 1pF\n" % (pin_name(p + 1), p, p % models))
        for m in range(models):
            for line in model_lines:
                w(line.replace("M0000", "M%04d" % m) + "\n")
        w("[End]\n")


main()
