#!/usr/bin/python3
"""Times Sabrix's periodogram against astropy's LombScargle on the same data and grid.

For each case that period_bench writes (the benchmark's star file of 10^6 lines, and a few
hundred observations over 2,400 days), the two run alternately, RUNS times each: ours inside
`period_bench --time` (the preparation of the data and the periodogram, best of one run per
start), astropy's `LombScargle(t, y, dy).power(f, method="fast")` in this process. The table
gives the median wall time of each. Then both are checked against the exact generalised
Lomb-Scargle statistic, computed here with numpy from its definition, at 1,000 frequencies
picked at random (the same for both).

    /usr/bin/python3 bench/compare_periodogram.py --bench build/bench/period_bench [--runs 3]

Needs numpy and astropy; on Debian: apt-get install python3-astropy.
"""

import argparse
import os
import statistics
import subprocess
import sys
import time


def load_case(directory, name):
    import numpy as np

    def doubles(suffix):
        return np.fromfile(os.path.join(directory, name + suffix), dtype="<f8")

    t = doubles(".t.f64")
    y = doubles(".y.f64")
    dy_path = os.path.join(directory, name + ".dy.f64")
    dy = doubles(".dy.f64") if os.path.exists(dy_path) else None
    with open(os.path.join(directory, name + ".grid")) as grid:
        first, step, count = grid.read().split()
    frequency = float(first) + float(step) * np.arange(int(count))
    return t, y, dy, frequency


def exact_power(t, y, dy, frequency):
    """The statistic from its definition: weighted sums about the middle of the data."""
    import numpy as np

    w = np.ones_like(t) if dy is None else 1.0 / dy**2
    w = w / w.sum()
    tau = t - (t.min() + t.max()) / 2
    r = y - np.dot(w, y)
    yy = np.dot(w, r * r)
    power = np.empty(len(frequency))
    for start in range(0, len(frequency), 8):
        f = frequency[start:start + 8, None]
        angle = 2 * np.pi * ((f * tau) % 1.0)
        c, s = np.cos(angle), np.sin(angle)
        C, S = c @ w, s @ w
        YC, YS = c @ (w * r), s @ (w * r)
        CC = (c * c) @ w - C * C
        SS = (s * s) @ w - S * S
        CS = (c * s) @ w - C * S
        D = CC * SS - CS * CS
        power[start:start + 8] = (SS * YC**2 + CC * YS**2 - 2 * CS * YC * YS) / (yy * D)
    return power


def time_ours(bench, directory, name):
    output = subprocess.run([bench, "--time", name, directory, "1"], check=True,
                            capture_output=True, text=True).stdout
    fields = dict(line.split(" ", 1) for line in output.splitlines())
    return float(fields["seconds"]), fields["method"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--bench", required=True, help="the period_bench executable")
    parser.add_argument("--dir", default="/tmp/sabrix-bench/period")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    try:
        import numpy as np
        from astropy.timeseries import LombScargle
    except ImportError as missing:
        sys.exit("%s; install it with: apt-get install python3-astropy" % missing)

    subprocess.run([args.bench, "--write", args.dir], check=True)
    rows = []
    for name, what, target in (
            ("star", "star file, default range", 0.5),
            ("sparse", "sparse, 2,400 d", None)):
        t, y, dy, frequency = load_case(args.dir, name)
        ours_runs, astropy_runs = [], []
        method = ""
        for _ in range(args.runs):
            seconds, method = time_ours(args.bench, args.dir, name)
            ours_runs.append(seconds)
            start = time.perf_counter()
            astropy_power = LombScargle(t, y, dy).power(frequency, method="fast")
            astropy_runs.append(time.perf_counter() - start)
        ours_time = statistics.median(ours_runs)
        astropy_time = statistics.median(astropy_runs)
        ours_power = np.fromfile(os.path.join(args.dir, name + ".power.f64"), dtype="<f8")

        picked = np.random.default_rng(20240601).choice(len(frequency), 1000, replace=False)
        exact = exact_power(t, y, dy, frequency[picked])
        ours_error = np.max(np.abs(ours_power[picked] - exact))
        astropy_error = np.max(np.abs(astropy_power[picked] - exact))
        ratio = ours_time / astropy_time
        label = "%s: %d obs x %d freq%s" % (what, len(t), len(frequency),
                                            " (weighted)" if dy is not None else "")
        rows.append((label + ": astropy fast", "%.3f s" % astropy_time, "", ""))
        rows.append((label + ": Sabrix %s" % method, "%.3f s" % ours_time,
                     "<= 0.5 x astropy" if target else "<= 0.3 s",
                     ("yes" if ratio <= target else "NO") if target
                     else ("yes" if ours_time <= 0.3 else "NO")))
        rows.append(("%s: Sabrix / astropy" % what, "%.2f" % ratio, "", ""))
        rows.append(("%s: max |Sabrix - exact|, 1,000 freq" % what, "%.1e" % ours_error,
                     "< 1e-3", "yes" if ours_error < 1e-3 else "NO"))
        rows.append(("%s: max |astropy fast - exact|, 1,000 freq" % what,
                     "%.1e" % astropy_error, "", ""))

    print("Periodogram against astropy %s: median of %d alternating runs each"
          % (__import__("astropy").__version__, args.runs))
    print()

    def row(what, measured, target, met):
        print("| %-68s | %10s | %-20s | %-6s |" % (what, measured, target, met))

    row("What", "Measured", "Target", "Met")
    print("|%s|%s|%s|%s|" % ("-" * 70, "-" * 12, "-" * 22, "-" * 8))
    for r in rows:
        row(*r)
    return 0


if __name__ == "__main__":
    sys.exit(main())
