#!/usr/bin/python3
"""Times `sabrix --render` against a pandas + matplotlib script that draws the same points.

Both draw the light curve of a download file into a 1200 x 700 PNG: JD across, magnitude
down (the magnitude axis inverted), fainter-than estimates at the magnitude after their "<".
The two run alternately, RUNS times each, so that both see the same machine; the table gives
the median wall time and the peak memory (resident set) of each.

    /usr/bin/python3 bench/compare_render.py --sabrix build/sabrix --file STAR.txt [--runs 5]

The pandas side needs pandas and matplotlib; on Debian: apt-get install python3-pandas
python3-matplotlib (or: pip install pandas matplotlib).
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time


def draw_with_pandas(star_file, png):
    """The script being compared with: read the CSV, scatter JD against magnitude, save."""
    import matplotlib

    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    import pandas as pd

    frame = pd.read_csv(star_file, usecols=["JD", "Magnitude"])
    magnitude = pd.to_numeric(frame["Magnitude"].astype(str).str.lstrip("<"), errors="coerce")
    figure, axes = plt.subplots(figsize=(12, 7), dpi=100)
    axes.scatter(frame["JD"], magnitude, s=1, c="yellow", linewidths=0)
    axes.set_facecolor("black")
    axes.invert_yaxis()
    axes.set_xlabel("JD")
    axes.set_ylabel("Magnitude")
    figure.savefig(png, dpi=100)


def run_child(command, env=None):
    """Runs a child process; returns (wall seconds, peak resident MB)."""
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, env=env)
    _, status, usage = os.wait4(child.pid, 0)
    seconds = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit("failed (exit %d): %s" % (child.returncode, " ".join(command)))
    return seconds, usage.ru_maxrss / 1024.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--sabrix", help="the sabrix executable")
    parser.add_argument("--file", help="the download file to draw")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--pandas-draw", nargs=2, metavar=("STAR", "PNG"),
                        help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.pandas_draw:
        draw_with_pandas(*args.pandas_draw)
        return 0
    if not args.sabrix or not args.file:
        parser.error("--sabrix and --file are needed")
    try:
        import matplotlib  # noqa: F401
        import pandas  # noqa: F401
    except ImportError as missing:
        sys.exit("%s; install it with: apt-get install python3-pandas python3-matplotlib "
                 "(or pip install pandas matplotlib)" % missing)

    work = tempfile.mkdtemp(prefix="sabrix-compare-")
    env = dict(os.environ, SABRIX_HOME=os.path.join(work, "home"), QT_QPA_PLATFORM="offscreen")
    sabrix_command = [args.sabrix, "--render", args.file, "--out",
                      os.path.join(work, "sabrix.png")]
    pandas_command = [sys.executable, os.path.abspath(__file__), "--pandas-draw", args.file,
                      os.path.join(work, "pandas.png")]
    # The first start writes the program folder; it is not what is timed.
    run_child(sabrix_command, env)
    sabrix_runs, pandas_runs = [], []
    for _ in range(args.runs):
        sabrix_runs.append(run_child(sabrix_command, env))
        pandas_runs.append(run_child(pandas_command))

    sabrix_time = statistics.median(s for s, _ in sabrix_runs)
    pandas_time = statistics.median(s for s, _ in pandas_runs)
    sabrix_peak = max(m for _, m in sabrix_runs)
    pandas_peak = max(m for _, m in pandas_runs)
    ratio = sabrix_time / pandas_time

    def row(what, measured, target, met):
        print("| %-58s | %10s | %-28s | %-6s |" % (what, measured, target, met))

    print("Render of %s: median of %d runs each, alternating" % (args.file, args.runs))
    print()
    row("What", "Measured", "Target", "Met")
    print("|%s|%s|%s|%s|" % ("-" * 60, "-" * 12, "-" * 30, "-" * 8))
    row("pandas.read_csv + matplotlib scatter to PNG", "%.3f s" % pandas_time, "", "")
    row("sabrix --render to PNG", "%.3f s" % sabrix_time,
        "<= 0.5 x pandas = %.3f s" % (0.5 * pandas_time), "yes" if ratio <= 0.5 else "NO")
    row("sabrix --render / pandas script", "%.2f" % ratio, "<= 0.5", "yes" if ratio <= 0.5 else "NO")
    row("sabrix --render peak memory", "%.0f MB" % sabrix_peak, "<= 250 MB",
        "yes" if sabrix_peak <= 250 else "NO")
    row("pandas script peak memory", "%.0f MB" % pandas_peak, "", "")
    return 0


if __name__ == "__main__":
    sys.exit(main())
