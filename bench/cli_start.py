#!/usr/bin/env python3
"""Start-up of the command line: `orvex-calc 0 1+1` as a whole process against a program
that links only the C++ standard library and prints one line (bench/hello_line.cpp).

The two run interleaved RUNS times each (default 200) after a warm-up, with an empty
configuration folder; the script prints both medians (wall time from fork to exit) and
their ratio. Target of the project: at most 3 times the floor.

Usage: bench/cli_start.py [RUNS] [BUILD-FOLDER]   (defaults 200, build)
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def timed(argv, env):
    start = time.perf_counter()
    subprocess.run(argv, env=env, stdout=subprocess.DEVNULL, check=True)
    return (time.perf_counter() - start) * 1000


def main(argv):
    runs = int(argv[0]) if argv else 200
    build = os.path.abspath(argv[1] if len(argv) > 1 else os.path.join(ROOT, "build"))
    config = tempfile.mkdtemp(prefix="orvex-cli-")
    env = dict(os.environ, XDG_CONFIG_HOME=config)
    commands = {"orvex-calc": [os.path.join(build, "orvex-calc"), "0", "1+1"],
                "floor": [os.path.join(build, "bench", "hello_line")]}
    times = {k: [] for k in commands}
    try:
        for argv_ in commands.values():
            timed(argv_, env)
        for _ in range(runs):
            for name, argv_ in commands.items():
                times[name].append(timed(argv_, env))
    finally:
        shutil.rmtree(config, ignore_errors=True)
    calc, floor = statistics.median(times["orvex-calc"]), statistics.median(times["floor"])
    print("median orvex-calc 0 1+1 %.1f ms, floor %.1f ms, ratio %.1f (target 3)" % (calc, floor, calc / floor))


if __name__ == "__main__":
    main(sys.argv[1:])
