"""The X server at first hand, for timings that screenshots and xdotool are too slow to take:
keys pressed through the XTest extension at the moment the test chooses, and small parts of the
screen read back within a millisecond or two."""
import ctypes
import ctypes.util


class _Image(ctypes.Structure):
    # The leading fields of Xlib's XImage, as far as the pixels.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


class Display:
    ZPIXMAP = 2

    def __init__(self):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XStringToKeysym.restype = ctypes.c_ulong
        self.x.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x.XGetImage.restype = ctypes.POINTER(_Image)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                ctypes.c_ulong]
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("no X display")
        self.root = self.x.XDefaultRootWindow(self.display)

    def close(self):
        self.x.XCloseDisplay(self.display)

    def tap(self, keysym):
        """Presses and releases a key, and hands both events to the server at once."""
        code = self.x.XKeysymToKeycode(self.display, self.x.XStringToKeysym(keysym.encode()))
        self.xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
        self.xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
        self.x.XFlush(self.display)

    def grab(self, x, y, width, height):
        """The screen's pixels in a rectangle: a function (x, y) -> (r, g, b), relative."""
        image = self.x.XGetImage(self.display, self.root, x, y, width, height, 0xFFFFFFFF,
                                 self.ZPIXMAP)
        if not image:
            raise RuntimeError("XGetImage failed")
        try:
            im = image.contents
            assert im.bits_per_pixel == 32, "a 24-bit screen keeps pixels in 32-bit words"
            data = ctypes.string_at(im.data, im.bytes_per_line * im.height)
            stride = im.bytes_per_line
        finally:
            self.x.XFree(image.contents.data)
            self.x.XFree(image)

        def pixel(px, py):
            i = py * stride + 4 * px
            return data[i + 2], data[i + 1], data[i]
        return pixel
