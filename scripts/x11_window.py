#!/usr/bin/env python3
"""Small X11 helper for scripts/screenshots, through ctypes on Xlib and XTest
(no extra packages): wait for a top-level window whose caption contains a
text, press a key in it, or save it as a PNG picture.

  x11_window.py wait  CAPTION [SECONDS]
  x11_window.py key   CAPTION KEYSYM        (for example Return, or Control_L+equal)
  x11_window.py shot  CAPTION FILE.png
  x11_window.py click CAPTION X Y           (left button, window coordinates)
"""
import ctypes
import ctypes.util
import struct
import sys
import time
import zlib

xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
xtst = ctypes.cdll.LoadLibrary(ctypes.util.find_library("Xtst") or "libXtst.so.6")

Window = ctypes.c_ulong
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = Window
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XQueryTree.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(Window), ctypes.POINTER(Window),
                            ctypes.POINTER(ctypes.POINTER(Window)), ctypes.POINTER(ctypes.c_uint)]
xlib.XFetchName.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(ctypes.c_char_p)]
xlib.XFree.argtypes = [ctypes.c_void_p]
xlib.XSetInputFocus.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_ulong]
xlib.XStringToKeysym.restype = ctypes.c_ulong
xlib.XStringToKeysym.argtypes = [ctypes.c_char_p]
xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XFlush.argtypes = [ctypes.c_void_p]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                      ctypes.c_ulong]
xlib.XTranslateCoordinates.argtypes = [ctypes.c_void_p, Window, Window, ctypes.c_int, ctypes.c_int,
                                       ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                       ctypes.POINTER(Window)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
                ("visual", ctypes.c_void_p), ("root", Window), ("class_", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


xlib.XGetWindowAttributes.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(XWindowAttributes)]
xlib.XGetImage.restype = ctypes.POINTER(XImage)
xlib.XGetImage.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                           ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
xlib.XDestroyImage = None  # a macro in Xlib; the image is freed with the process


def windows(display, parent):
    root, par = Window(), Window()
    children = ctypes.POINTER(Window)()
    count = ctypes.c_uint()
    if not xlib.XQueryTree(display, parent, ctypes.byref(root), ctypes.byref(par),
                           ctypes.byref(children), ctypes.byref(count)):
        return []
    found = [children[i] for i in range(count.value)]
    if children:
        xlib.XFree(children)
    return found


def find(display, caption):
    """The first viewable window, depth first, whose name contains caption."""
    stack = [xlib.XDefaultRootWindow(display)]
    while stack:
        window = stack.pop(0)
        name = ctypes.c_char_p()
        if xlib.XFetchName(display, window, ctypes.byref(name)) and name.value:
            text = name.value.decode("utf-8", "replace")
            attrs = XWindowAttributes()
            xlib.XGetWindowAttributes(display, window, ctypes.byref(attrs))
            if caption in text and attrs.map_state == 2:  # IsViewable
                return window
        stack.extend(windows(display, window))
    return None


def wait(display, caption, seconds):
    end = time.time() + seconds
    while time.time() < end:
        window = find(display, caption)
        if window:
            return window
        time.sleep(0.2)
    sys.exit("x11_window.py: no window with %r" % caption)


def press(display, window, keysym):
    """Presses the keys of "Control_L+equal" in order and releases them in reverse."""
    xlib.XSetInputFocus(display, window, 1, 0)  # RevertToPointerRoot, CurrentTime
    xlib.XSync(display, 0)
    codes = [xlib.XKeysymToKeycode(display, xlib.XStringToKeysym(name.encode()))
             for name in keysym.split("+")]
    for code in codes:
        xtst.XTestFakeKeyEvent(display, code, 1, 0)
    for code in reversed(codes):
        xtst.XTestFakeKeyEvent(display, code, 0, 0)
    xlib.XSync(display, 0)


def png(path, width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + row for row in rows)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def shot(display, window, path):
    # Read from the screen at the window's place, clipped to the screen: a
    # window reaching past the screen's edge cannot be read by itself.
    attrs = XWindowAttributes()
    xlib.XGetWindowAttributes(display, window, ctypes.byref(attrs))
    root = xlib.XDefaultRootWindow(display)
    screen = XWindowAttributes()
    xlib.XGetWindowAttributes(display, root, ctypes.byref(screen))
    rx, ry, child = ctypes.c_int(), ctypes.c_int(), Window()
    xlib.XTranslateCoordinates(display, window, root, 0, 0, ctypes.byref(rx), ctypes.byref(ry),
                               ctypes.byref(child))
    left, top = max(rx.value, 0), max(ry.value, 0)
    width = min(rx.value + attrs.width, screen.width) - left
    height = min(ry.value + attrs.height, screen.height) - top
    if width <= 0 or height <= 0:
        sys.exit("x11_window.py: the window is off the screen")
    image = xlib.XGetImage(display, root, left, top, width, height, 0xFFFFFFFF, 2)  # ZPixmap
    if not image or image.contents.bits_per_pixel != 32:
        sys.exit("x11_window.py: cannot read the window's pixels")
    img = image.contents
    data = ctypes.string_at(img.data, img.bytes_per_line * img.height)
    rows = []
    for y in range(img.height):
        line = data[y * img.bytes_per_line: y * img.bytes_per_line + img.width * 4]
        rgb = bytearray(img.width * 3)
        rgb[0::3] = line[2::4]
        rgb[1::3] = line[1::4]
        rgb[2::3] = line[0::4]
        rows.append(bytes(rgb))
    png(path, img.width, img.height, rows)


def click(display, window, x, y):
    root = xlib.XDefaultRootWindow(display)
    rx, ry, child = ctypes.c_int(), ctypes.c_int(), Window()
    xlib.XTranslateCoordinates(display, window, root, x, y, ctypes.byref(rx), ctypes.byref(ry),
                               ctypes.byref(child))
    xtst.XTestFakeMotionEvent(display, -1, rx.value, ry.value, 0)
    xlib.XSync(display, 0)
    time.sleep(0.1)
    xtst.XTestFakeButtonEvent(display, 1, 1, 0)
    xtst.XTestFakeButtonEvent(display, 1, 0, 0)
    xlib.XSync(display, 0)


def main(argv):
    if len(argv) < 3 or argv[1] not in ("wait", "key", "shot", "click"):
        sys.exit(__doc__)
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("x11_window.py: no X display")
    command, caption = argv[1], argv[2]
    if command == "wait":
        wait(display, caption, float(argv[3]) if len(argv) > 3 else 20)
    elif command == "key":
        press(display, wait(display, caption, 20), argv[3] if len(argv) > 3 else "Return")
    elif command == "click":
        click(display, wait(display, caption, 20), int(argv[3]), int(argv[4]))
    else:
        shot(display, wait(display, caption, 20), argv[3])


if __name__ == "__main__":
    main(sys.argv)
