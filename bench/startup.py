#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Time to a first painted window: the desktop program's start-up against a bare
Qt main window with a menu and six buttons, run in turns (bare, ours, bare, ...)
so that both see the same load. Prints the median of each and their ratio, for
a first run (no settings file yet) and for a later run (the file exists).

    bench/startup.py [BUILD_DIR] [--runs N]

The program's start-up notice is answered at once (it waits for a click); the
time is from starting the process until it ends after its window has painted.
QT_QPA_PLATFORM is left as it is: set it to offscreen to run without a display.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time


def run_once(program, config_home):
    env = dict(os.environ, XDG_CONFIG_HOME=config_home)
    start = time.perf_counter()
    done = subprocess.run([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit(f"{program} ended with status {done.returncode}")
    return elapsed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--runs", type=int, default=30)
    args = parser.parse_args()
    bare = os.path.join(args.build, "bin", "bench_startup_bare")
    ours = os.path.join(args.build, "bin", "bench_startup_main")
    with tempfile.TemporaryDirectory() as tmp:
        for case in ("first run", "later run"):
            times = {"bare": [], "ours": []}
            for i in range(args.runs + 1):
                config = os.path.join(tmp, f"{case[0]}{i}" if case == "first run" else "kept")
                os.makedirs(config, exist_ok=True)
                pair = [("bare", bare), ("ours", ours)]
                if i % 2:
                    pair.reverse()
                for name, program in pair:
                    t = run_once(program, config)
                    if i > 0:  # the first pair warms the page cache
                        times[name].append(t)
            b = statistics.median(times["bare"])
            o = statistics.median(times["ours"])
            print(f"{case}: bare Qt window {b * 1000:.1f} ms, Kestro Utilities {o * 1000:.1f} ms, "
                  f"ratio {o / b:.2f} (medians of {args.runs} pairs)")


if __name__ == "__main__":
    main()
