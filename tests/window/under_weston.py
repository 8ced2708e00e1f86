#!/usr/bin/env python3
"""Runs a command as a client of a headless Wayland compositor of its own: Debian's weston
with its headless backend, on a socket in a private XDG_RUNTIME_DIR, so that the window is
tried as a native Wayland client. Exits with the command's status; 77 (skipped) when weston
is not installed or does not start.

  under_weston.py COMMAND [ARGS...]
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SOCKET = "orvex-test"


def backend_names():
    """weston 12 and later name the backend "headless"; weston 10 (Debian 12) takes the
    module's file name."""
    try:
        out = subprocess.run(["weston", "--version"], capture_output=True, text=True).stdout
    except OSError:
        return []
    m = re.search(r"(\d+)\.", out)
    major = int(m.group(1)) if m else 0
    return ["headless", "headless-backend.so"] if major >= 12 else ["headless-backend.so", "headless"]


def start_weston(runtime):
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime)
    env.pop("WAYLAND_DISPLAY", None)
    env.pop("DISPLAY", None)
    for backend in backend_names():
        log = open(os.path.join(runtime, "weston-%s.log" % backend), "w")
        weston = subprocess.Popen(["weston", "--backend=" + backend, "--socket=" + SOCKET,
                                   "--idle-time=0", "--no-config"],
                                  env=env, stdout=log, stderr=subprocess.STDOUT)
        for _ in range(100):
            if os.path.exists(os.path.join(runtime, SOCKET)):
                return weston
            if weston.poll() is not None:
                break
            time.sleep(0.1)
        weston.kill()
        weston.wait()
    return None


def main(argv):
    if not argv:
        print(__doc__, file=sys.stderr)
        return 2
    if not shutil.which("weston"):
        print("under_weston: weston is not installed", file=sys.stderr)
        return 77
    runtime = tempfile.mkdtemp(prefix="orvex-wayland-")
    os.chmod(runtime, 0o700)
    weston = start_weston(runtime)
    if not weston:
        for name in os.listdir(runtime):
            if name.endswith(".log"):
                sys.stderr.write(open(os.path.join(runtime, name)).read()[-2000:])
        shutil.rmtree(runtime, ignore_errors=True)
        print("under_weston: weston did not start", file=sys.stderr)
        return 77
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY=SOCKET, QT_QPA_PLATFORM="wayland")
    env.pop("DISPLAY", None)
    try:
        return subprocess.run(argv, env=env).returncode
    finally:
        weston.terminate()
        try:
            weston.wait(timeout=10)
        except subprocess.TimeoutExpired:
            weston.kill()
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
