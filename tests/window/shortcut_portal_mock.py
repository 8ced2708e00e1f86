#!/usr/bin/python3
"""A desktop's global-shortcut backend for tests, behind the real xdg-desktop-portal: owns
org.freedesktop.impl.portal.Test on the session bus and serves
org.freedesktop.impl.portal.GlobalShortcuts at /org/freedesktop/portal/desktop, accepting
every shortcut at once (a real desktop asks the user first). The test steers it through
org.orvex.test.ShortcutDesktop at /org/orvex/test:

  Press(shortcut_id) -> u    emits Activated for every open session that bound the id;
                             the number of sessions
  Sessions() -> s            JSON: {"open": [{"handle", "app_id", "shortcuts"}], "closed": n}

Prints "ready" on standard output once it owns its name.
"""
import json
import sys
import time

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

BUS_NAME = "org.freedesktop.impl.portal.Test"
PORTAL_PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.impl.portal.GlobalShortcuts"
SESSION = "org.freedesktop.impl.portal.Session"
CONTROL = "org.orvex.test.ShortcutDesktop"


class Session(dbus.service.Object):
    """One client's session, exported at the handle the portal chose for it."""

    def __init__(self, desktop, handle, app_id):
        super().__init__(desktop.connection, handle)
        self.desktop = desktop
        self.handle = handle
        self.app_id = app_id
        self.shortcuts = dbus.Array([], signature="(sa{sv})")

    @dbus.service.method(SESSION, in_signature="", out_signature="")
    def Close(self):
        self.desktop.close(self)

    @dbus.service.signal(SESSION, signature="a{sv}")
    def Closed(self, details):
        pass


class Desktop(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PORTAL_PATH)
        self.sessions = {}
        self.closed = 0
        self.control = Control(bus, self)

    def close(self, session):
        if self.sessions.pop(session.handle, None):
            self.closed += 1
            session.remove_from_connection()

    @dbus.service.method(SHORTCUTS, in_signature="oosa{sv}", out_signature="ua{sv}")
    def CreateSession(self, handle, session_handle, app_id, options):
        session = Session(self, str(session_handle), str(app_id))
        self.sessions[session.handle] = session
        # The shortcuts the desktop kept from an earlier run of the application: none.
        return dbus.UInt32(0), dbus.Dictionary({"shortcuts": session.shortcuts}, signature="sv")

    @dbus.service.method(SHORTCUTS, in_signature="ooa(sa{sv})sa{sv}", out_signature="ua{sv}")
    def BindShortcuts(self, handle, session_handle, shortcuts, parent_window, options):
        session = self.sessions.get(str(session_handle))
        if not session:
            return dbus.UInt32(2), dbus.Dictionary({}, signature="sv")
        bound = []
        for shortcut_id, details in shortcuts:
            shown = dbus.Dictionary({"description": details.get("description", ""),
                                     "trigger_description": details.get("preferred_trigger", "")},
                                    signature="sv")
            bound.append(dbus.Struct((shortcut_id, shown)))
        session.shortcuts = dbus.Array(bound, signature="(sa{sv})")
        return dbus.UInt32(0), dbus.Dictionary({"shortcuts": session.shortcuts}, signature="sv")

    @dbus.service.method(SHORTCUTS, in_signature="oo", out_signature="ua{sv}")
    def ListShortcuts(self, handle, session_handle):
        session = self.sessions.get(str(session_handle))
        if not session:
            return dbus.UInt32(2), dbus.Dictionary({}, signature="sv")
        return dbus.UInt32(0), dbus.Dictionary({"shortcuts": session.shortcuts}, signature="sv")

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session_handle, shortcut_id, timestamp, options):
        pass

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Deactivated(self, session_handle, shortcut_id, timestamp, options):
        pass

    @dbus.service.signal(SHORTCUTS, signature="oa(sa{sv})")
    def ShortcutsChanged(self, session_handle, shortcuts):
        pass

    # The portal reads the backend's version as a property.
    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        if interface == SHORTCUTS:
            return dbus.Dictionary({"version": dbus.UInt32(1)}, signature="sv")
        return dbus.Dictionary({}, signature="sv")


class Control(dbus.service.Object):
    def __init__(self, bus, desktop):
        super().__init__(bus, "/org/orvex/test")
        self.desktop = desktop

    @dbus.service.method(CONTROL, in_signature="s", out_signature="u")
    def Press(self, shortcut_id):
        pressed = 0
        stamp = dbus.UInt64(int(time.monotonic() * 1000))
        for session in self.desktop.sessions.values():
            if any(str(s[0]) == shortcut_id for s in session.shortcuts):
                self.desktop.Activated(dbus.ObjectPath(session.handle), shortcut_id, stamp,
                                       dbus.Dictionary({}, signature="sv"))
                pressed += 1
        return dbus.UInt32(pressed)

    @dbus.service.method(CONTROL, in_signature="", out_signature="s")
    def Sessions(self):
        return json.dumps({
            "open": [{"handle": s.handle, "app_id": s.app_id,
                      "shortcuts": [str(x[0]) for x in s.shortcuts]}
                     for s in self.desktop.sessions.values()],
            "closed": self.desktop.closed,
        })


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    desktop = Desktop(bus)
    name = dbus.service.BusName(BUS_NAME, bus, do_not_queue=True)
    print("ready", flush=True)
    loop = GLib.MainLoop()
    loop.run()
    del name, desktop


if __name__ == "__main__":
    sys.exit(main())
