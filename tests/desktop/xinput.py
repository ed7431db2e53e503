#!/usr/bin/env python3
"""Input as a keyboard and a window manager's close box give it: keys by
their X key codes through XTest, so the desktop's layout decides what they
type, and the close request a title bar's close button sends.

    xinput.py type 38 56 54        press and release each key
    xinput.py chord 64 50          press all in order, release in reverse
    xinput.py group                print the locked layout group
    xinput.py close WINDOW         ask the window manager to close WINDOW
"""
import ctypes
import sys
import time

x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
if not display:
    sys.exit("no display")


def key(code, down):
    xtst.XTestFakeKeyEvent(display, code, down, 0)
    x11.XFlush(display)
    time.sleep(0.03)


class XkbState(ctypes.Structure):
    _fields_ = [("group", ctypes.c_ubyte), ("locked_group", ctypes.c_ubyte), ("base_group", ctypes.c_ushort),
                ("latched_group", ctypes.c_ushort), ("mods", ctypes.c_ubyte), ("base_mods", ctypes.c_ubyte),
                ("latched_mods", ctypes.c_ubyte), ("locked_mods", ctypes.c_ubyte), ("compat_state", ctypes.c_ubyte),
                ("grab_mods", ctypes.c_ubyte), ("compat_grab_mods", ctypes.c_ubyte), ("lookup_mods", ctypes.c_ubyte),
                ("compat_lookup_mods", ctypes.c_ubyte), ("ptr_buttons", ctypes.c_ushort)]


command, codes = sys.argv[1], [int(c) for c in sys.argv[2:]]
if command == "type":
    for code in codes:
        key(code, True)
        key(code, False)
elif command == "chord":
    for code in codes:
        key(code, True)
    for code in reversed(codes):
        key(code, False)
elif command == "close":
    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 10)]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    message = ClientMessage(type=33, send_event=1, display=display, window=codes[0], format=32,
                            message_type=x11.XInternAtom(display, b"_NET_CLOSE_WINDOW", 0))
    message.data[1] = 2  # from a pager or close box, not the application
    root = x11.XDefaultRootWindow(display)
    x11.XSendEvent(display, ctypes.c_ulong(root), 0, ctypes.c_long((1 << 19) | (1 << 20)), ctypes.byref(message))
    x11.XFlush(display)
elif command == "group":
    state = XkbState()
    x11.XkbGetState(display, 0x100, ctypes.byref(state))  # the core keyboard
    print(state.locked_group)
x11.XCloseDisplay(display)
