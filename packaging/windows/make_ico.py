"""Writes a Windows icon file holding the given PNG pictures as they are.

Usage: make_ico.py out.ico icon-48.png icon-64.png ...

Windows reads PNG-compressed icon images at every size, so the desktop icons
the picture generator draws go in unchanged.
"""

import struct
import sys

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
ICONDIR = "<HHH"
ICONDIRENTRY = "<BBBBHHII"


def png_size(data):
    if data[:8] != PNG_SIGNATURE or data[12:16] != b"IHDR":
        raise SystemExit("make_ico: not a PNG file")
    return struct.unpack(">II", data[16:24])


def main(out, pngs):
    images = [open(path, "rb").read() for path in pngs]
    offset = struct.calcsize(ICONDIR) + len(images) * struct.calcsize(ICONDIRENTRY)
    header = struct.pack(ICONDIR, 0, 1, len(images))
    entries = b""
    for data in images:
        width, height = png_size(data)
        if width > 256 or height > 256:
            raise SystemExit("make_ico: an icon image is at most 256 pixels wide")
        # 0 stands for 256; 32 bits a pixel.
        entries += struct.pack(ICONDIRENTRY, width % 256, height % 256, 0, 0, 1, 32,
                               len(data), offset)
        offset += len(data)
    with open(out, "wb") as f:
        f.write(header + entries + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
