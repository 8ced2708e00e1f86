#!/usr/bin/python3
"""Runs a command on a private Wayland desktop with a global-shortcut portal: a session bus
of its own (which starts the accessibility bus on demand and nothing else), a headless
weston (under_weston.py), Debian's xdg-desktop-portal and, as the desktop's backend behind
it, shortcut_portal_mock.py. The command gets that desktop's environment and
ORVEX_TEST_PORTAL_PID, the portal's process id (a test may stop it). Exits with the
command's status; 77 (skipped) when a tool is not installed (scripts/setup-deps installs
them all).

  portal_desktop.py [--path FOLDER] COMMAND [ARGS...]

--path puts FOLDER (the one that holds orvex) first on everyone's PATH: the portal's
registry accepts an application only when its desktop entry's TryExec is found.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import under_weston  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
PORTAL = "/usr/libexec/xdg-desktop-portal"
A11Y_SERVICE = "/usr/share/dbus-1/services/org.a11y.Bus.service"
DESKTOP_FILE = os.path.join(HERE, "..", "..", "app", "window", "orvex.desktop")

BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir={folder}</listen>
  <servicedir>{folder}/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


def missing_tool():
    if not shutil.which("weston"):
        return "weston (package weston)"
    if not shutil.which("dbus-daemon"):
        return "dbus-daemon (package dbus-daemon)"
    if not os.access(A11Y_SERVICE, os.R_OK):
        return "the accessibility bus (package at-spi2-core)"
    if not os.access(PORTAL, os.X_OK):
        return "xdg-desktop-portal (package xdg-desktop-portal)"
    try:
        import dbus  # noqa: F401
        from gi.repository import GLib  # noqa: F401
    except ImportError:
        return "python3-dbus and python3-gi"
    return None


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


def prepare(folder):
    """The bus's configuration and services, and the portal's: the test backend for
    GlobalShortcuts, chosen for the desktop "test" (by UseIn up to 1.17, from 1.18 on by
    portals.conf, which is then read beside the backends while XDG_DESKTOP_PORTAL_DIR is
    set), and Orvex's desktop entry, which the portal's registry (1.19 and later) looks up
    for the application id."""
    write(os.path.join(folder, "session.conf"), BUS_CONFIG.format(folder=folder))
    # Only the accessibility bus is started on demand: a portal stopped by a test stays away.
    os.makedirs(os.path.join(folder, "services"))
    shutil.copy(A11Y_SERVICE, os.path.join(folder, "services"))
    write(os.path.join(folder, "portals", "test.portal"),
          "[portal]\nDBusName=org.freedesktop.impl.portal.Test\n"
          "Interfaces=org.freedesktop.impl.portal.GlobalShortcuts;\nUseIn=test\n")
    write(os.path.join(folder, "portals", "portals.conf"), "[preferred]\ndefault=test\n")
    os.makedirs(os.path.join(folder, "data", "applications"))
    shutil.copy(DESKTOP_FILE, os.path.join(folder, "data", "applications", "orvex.desktop"))


def start_bus(folder, env):
    read, written = os.pipe()
    daemon = subprocess.Popen(["dbus-daemon", "--nofork", "--config-file=" + os.path.join(folder, "session.conf"),
                               "--print-address=%d" % written], env=env, pass_fds=(written,))
    os.close(written)
    with os.fdopen(read) as f:
        address = f.readline().strip()
    return daemon, address


def wait_for_name(name, timeout):
    import dbus
    bus = dbus.SessionBus()
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if bus.name_has_owner(name):
            return True
        time.sleep(0.1)
    return False


def main(argv):
    path = None
    if argv[:1] == ["--path"]:
        path, argv = argv[1], argv[2:]
    if not argv:
        print(__doc__, file=sys.stderr)
        return 2
    missing = missing_tool()
    if missing:
        print("portal_desktop: %s is not installed; scripts/setup-deps installs it" % missing, file=sys.stderr)
        return 77
    folder = tempfile.mkdtemp(prefix="orvex-portal-")
    os.chmod(folder, 0o700)
    processes = []
    try:
        prepare(folder)
        env = dict(os.environ, XDG_RUNTIME_DIR=folder, GSETTINGS_BACKEND="memory",
                   XDG_CURRENT_DESKTOP="test", XDG_DESKTOP_PORTAL_DIR=os.path.join(folder, "portals"),
                   XDG_CONFIG_HOME=os.path.join(folder, "config"), XDG_DATA_HOME=os.path.join(folder, "data"))
        if path:
            env["PATH"] = path + os.pathsep + env.get("PATH", "")
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"):
            env.pop(name, None)
        bus, address = start_bus(folder, env)
        processes.append(bus)
        if not address:
            print("portal_desktop: dbus-daemon did not start", file=sys.stderr)
            return 1
        env["DBUS_SESSION_BUS_ADDRESS"] = os.environ["DBUS_SESSION_BUS_ADDRESS"] = address

        os.environ["XDG_RUNTIME_DIR"] = folder
        weston = under_weston.start_weston(folder)
        if not weston:
            print("portal_desktop: weston did not start", file=sys.stderr)
            return 1
        processes.append(weston)
        # The headless weston has no keyboard: Qt's Wayland input method (6.4) would crash on
        # the first change of focus between text fields, so none is loaded.
        env.update(WAYLAND_DISPLAY=under_weston.SOCKET, QT_QPA_PLATFORM="wayland", QT_IM_MODULE="none")

        mock = subprocess.Popen([sys.executable, os.path.join(HERE, "shortcut_portal_mock.py")],
                                env=env, stdout=subprocess.PIPE, text=True)
        processes.append(mock)
        if mock.stdout.readline().strip() != "ready":
            print("portal_desktop: the shortcut backend did not start", file=sys.stderr)
            return 1
        portal = subprocess.Popen([PORTAL], env=env)
        processes.append(portal)
        if not wait_for_name("org.freedesktop.portal.Desktop", 20):
            print("portal_desktop: xdg-desktop-portal did not start", file=sys.stderr)
            return 1
        env["ORVEX_TEST_PORTAL_PID"] = str(portal.pid)
        return subprocess.run(argv, env=env).returncode
    finally:
        for p in reversed(processes):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
