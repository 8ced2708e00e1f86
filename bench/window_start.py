#!/usr/bin/env python3
"""Start-up of the window against a bare Qt window, on one Xvfb.

Both programs run with ORVEX_STARTUP_REPORT=1 (app/window/startreport.h): each prints the
milliseconds from its process's start to its window's first exposure (the window mapped)
and to the end of its first painted frame, then its resident memory a second later, and
quits. The two run interleaved (window, bare, window, ...), RUNS
times each (default 8) after one warm-up run each, on an Xvfb of this script's own with an
empty configuration folder. Prints every run, both medians and their ratio for the window mapped and
for the first frame painted, and both median resident sizes.

Usage: bench/window_start.py [RUNS] [BUILD-FOLDER]   (defaults 8, build)
Targets of the project: ratio at most 1.2 (the window mapped); memory at most the bare
window's + 8 MiB.
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def start_xvfb():
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    display = b""
    while not display.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            break
        display += chunk
    os.close(read)
    return xvfb, ":" + display.decode().strip()


def run(program, env):
    out = subprocess.run([program], env=env, capture_output=True, text=True, timeout=60).stdout
    shown = re.search(r"shown after (\d+) ms", out)
    painted = re.search(r"painted after (\d+) ms", out)
    resident = re.search(r"resident (\d+) KiB", out)
    if not shown or not painted or not resident:
        sys.exit("%s did not report: %r" % (program, out))
    return int(shown.group(1)), int(painted.group(1)), int(resident.group(1))


def main(argv):
    runs = int(argv[0]) if argv else 8
    build = os.path.abspath(argv[1] if len(argv) > 1 else os.path.join(ROOT, "build"))
    programs = {"window": os.path.join(build, "orvex"), "bare": os.path.join(build, "bench", "bare_window")}
    if not shutil.which("Xvfb"):
        sys.exit("window_start: Xvfb is not installed (scripts/setup-deps installs it)")
    xvfb, display = start_xvfb()
    config = tempfile.mkdtemp(prefix="orvex-start-")
    env = {k: v for k, v in os.environ.items() if k not in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    env.update(DISPLAY=display, XDG_CONFIG_HOME=config, ORVEX_STARTUP_REPORT="1")
    times = {k: [] for k in programs}
    frames = {k: [] for k in programs}
    memory = {k: [] for k in programs}
    try:
        for name, program in programs.items():
            run(program, env)  # warm-up: the files in the page cache for both
        for i in range(runs):
            for name, program in programs.items():
                ms, frame, kib = run(program, env)
                times[name].append(ms)
                frames[name].append(frame)
                memory[name].append(kib)
                print("run %d %-6s mapped %4d ms, painted %4d ms, %6d KiB" % (i + 1, name, ms, frame, kib))
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(config, ignore_errors=True)
    for title, values, target in (("mapped", times, " (target 1.2)"), ("painted", frames, "")):
        window, bare = statistics.median(values["window"]), statistics.median(values["bare"])
        print("median %s: window %.0f ms (%d-%d), bare %.0f ms (%d-%d), ratio %.2f%s"
              % (title, window, min(values["window"]), max(values["window"]), bare,
                 min(values["bare"]), max(values["bare"]), window / bare, target))
    wmem, bmem = statistics.median(memory["window"]), statistics.median(memory["bare"])
    print("median resident window %.1f MiB, bare %.1f MiB, difference %.1f MiB (target 8)"
          % (wmem / 1024, bmem / 1024, (wmem - bmem) / 1024))


if __name__ == "__main__":
    main(sys.argv[1:])
