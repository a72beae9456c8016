#!/usr/bin/python3
"""Times `sabrix --periodogram FOLDER --summary OUT.csv` against a Python loop over the same files.

Writes COUNT three-column files of N observations each (nightly sampling over SPAN days, a
sinusoid of a random period from 0.2 to 50 d plus noise), then times
  - sabrix: `sabrix --periodogram DIR --three-column --min-period 0.05 --summary OUT.csv`
    (every core; the grid from 0.05 d to each file's span, 10 samples per peak), and
  - Python: for each file, numpy.loadtxt, then astropy's
    LombScargle(t, y, dy).power(f, method="fast") on the same grid (1/T to 20 cycles/day in
    steps of 1/(10 T)), and the period of the highest power,
and prints both wall times, their ratio, the largest resident memory of the sabrix run, and
how many files both give the same period (within one grid step in frequency).

    /usr/bin/python3 bench/batch_periodogram.py --sabrix build/sabrix [--count 10000]

Needs numpy and astropy; on Debian: apt-get install python3-astropy python3-numpy.
"""

import argparse
import csv
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time


def generate(directory, count, n, span, seed):
    import numpy as np

    rng = np.random.default_rng(seed)
    for i in range(count):
        nights = np.sort(rng.choice(int(span), size=n, replace=True))
        t = 2455000.0 + nights + 0.2 + 0.25 * rng.random(n)
        period = float(np.exp(rng.uniform(np.log(0.2), np.log(50))))
        dy = 0.01 + 0.04 * rng.random(n)
        y = 12 + 0.3 * np.sin(2 * np.pi * t / period) + dy * rng.standard_normal(n)
        with open(os.path.join(directory, "star%05d.dat" % i), "w") as out:
            for a, b, c in zip(t, y, dy):
                out.write("%.5f %.4f %.4f\n" % (a, b, c))


def python_loop(files, samples_per_peak, min_period):
    import numpy as np
    from astropy.timeseries import LombScargle

    periods = {}
    for path in files:
        t, y, dy = np.loadtxt(path, unpack=True)
        span = t.max() - t.min()
        first = 1 / span
        step = 1 / (samples_per_peak * span)
        m = int(np.floor((1 / min_period - first) / step * (1 + 1e-12))) + 1
        f = first + step * np.arange(m)
        power = LombScargle(t, y, dy).power(f, method="fast")
        periods[path] = (1 / f[int(np.argmax(power))], step)
    return periods


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sabrix", required=True)
    parser.add_argument("--count", type=int, default=10000)
    parser.add_argument("--observations", type=int, default=400)
    parser.add_argument("--span", type=float, default=1000)
    parser.add_argument("--keep", help="write the files into this folder and keep them (files "
                        "already there are used as they are)")
    args = parser.parse_args()

    directory = args.keep or tempfile.mkdtemp(prefix="sabrix-batch-")
    os.makedirs(directory, exist_ok=True)
    try:
        if len(os.listdir(directory)) < args.count:
            start = time.perf_counter()
            generate(directory, args.count, args.observations, args.span, 2026)
            print("generated %d files of %d observations in %.1f s" %
                  (args.count, args.observations, time.perf_counter() - start))
        files = sorted(os.path.join(directory, name) for name in os.listdir(directory))
        everything = len(files) == args.count
        files = files[:args.count]
        summary = os.path.join(tempfile.gettempdir(), "sabrix-batch-summary.csv")

        start = time.perf_counter()
        inputs = [directory] if everything else files
        run = subprocess.run([args.sabrix, "--periodogram"] + inputs + ["--three-column",
                              "--min-period", "0.05", "--summary", summary],
                             stderr=subprocess.PIPE, text=True)
        ours = time.perf_counter() - start
        rss_mb = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
        if run.returncode != 0:
            sys.stderr.write(run.stderr[-2000:])

        start = time.perf_counter()
        theirs_periods = python_loop(files, 10, 0.05)
        theirs = time.perf_counter() - start

        same = 0
        with open(summary, newline="") as rows:
            for row in csv.DictReader(rows):
                period, step = theirs_periods[row["file"]]
                if row["period"] and abs(1 / float(row["period"]) - 1 / period) <= step:
                    same += 1
        print("sabrix --periodogram (%d threads): %.1f s, exit %d, max RSS %.0f MB" %
              (os.cpu_count(), ours, run.returncode, rss_mb))
        print("python loop (numpy.loadtxt + astropy fast): %.1f s" % theirs)
        print("ratio sabrix / python: %.3f" % (ours / theirs))
        print("same period (within one grid step): %d of %d files" % (same, len(files)))
    finally:
        if not args.keep:
            shutil.rmtree(directory, ignore_errors=True)


if __name__ == "__main__":
    main()
