"""Code page 936 for the generators, through the C library's iconv "CP936": the same
converter the program uses, so a generated table decodes every GBK cell exactly as the
program does."""
import ctypes
import ctypes.util

_libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
_libc.iconv_open.restype = ctypes.c_void_p
_libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
_libc.iconv.restype = ctypes.c_size_t
_libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p),
                        ctypes.POINTER(ctypes.c_size_t), ctypes.POINTER(ctypes.c_char_p),
                        ctypes.POINTER(ctypes.c_size_t)]
_FAILED = ctypes.c_size_t(-1).value


class _Converter:
    def __init__(self, to, frm):
        self.cd = _libc.iconv_open(to, frm)
        if self.cd in (None, _FAILED):
            raise OSError("iconv_open(%s, %s) failed" % (to, frm))

    def convert(self, data):
        """The converted bytes, or None when any part of data does not convert."""
        size = 4 * len(data) + 16
        inbuf = ctypes.create_string_buffer(data, len(data))
        outbuf = ctypes.create_string_buffer(size)
        src = ctypes.c_char_p(ctypes.addressof(inbuf))
        dst = ctypes.c_char_p(ctypes.addressof(outbuf))
        left, room = ctypes.c_size_t(len(data)), ctypes.c_size_t(size)
        _libc.iconv(self.cd, None, None, None, None)
        r = _libc.iconv(self.cd, ctypes.byref(src), ctypes.byref(left),
                        ctypes.byref(dst), ctypes.byref(room))
        if r == _FAILED or left.value:
            return None
        return outbuf.raw[:size - room.value]


_decoder = _Converter(b"UTF-8", b"CP936")
_encoder = _Converter(b"CP936", b"UTF-8")


def decode(gbk):
    """The text of the GBK bytes gbk, or None when they do not decode."""
    out = _decoder.convert(gbk)
    return None if out is None else out.decode("utf-8")


def encode(text):
    """The GBK bytes of text, or None when GBK lacks one of its characters."""
    return _encoder.convert(text.encode("utf-8"))


def double_byte_cells():
    """Every double-byte GBK cell that decodes: (bytes, character), in key order."""
    for lead in range(0x81, 0xFF):
        for trail in range(0x40, 0xFF):
            if trail == 0x7F:
                continue
            cell = bytes([lead, trail])
            ch = decode(cell)
            if ch is not None and len(ch) == 1:
                yield cell, ch
