"""Reads a Windows shortcut (.lnk) in the Shell Link binary format (MS-SHLLINK):
the target's local path and the working folder, which is all a player's
double-click uses.
"""

import struct

HEADER_SIZE = 0x4C
HAS_TARGET_ID_LIST = 0x01
HAS_LINK_INFO = 0x02
HAS_NAME = 0x04
HAS_RELATIVE_PATH = 0x08
HAS_WORKING_DIR = 0x10
IS_UNICODE = 0x80
VOLUME_ID_AND_LOCAL_BASE_PATH = 0x01
# The system code page of the link information's paths: Western European here.
ANSI = "cp1252"


def _ansi_string(data, offset):
    return data[offset:data.index(b"\0", offset)].decode(ANSI)


def read(path):
    """Returns (target, working folder) of the shortcut at path, as Windows paths;
    the folder is None when the shortcut names none."""
    with open(path, "rb") as f:
        data = f.read()
    assert struct.unpack_from("<I", data)[0] == HEADER_SIZE, "not a shell link"
    flags = struct.unpack_from("<I", data, 20)[0]
    assert flags & HAS_LINK_INFO and flags & IS_UNICODE, "a shortcut of another kind"
    pos = HEADER_SIZE
    if flags & HAS_TARGET_ID_LIST:
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    info_size, _, info_flags, _, base, _, suffix = struct.unpack_from("<7I", data, pos)
    assert info_flags & VOLUME_ID_AND_LOCAL_BASE_PATH, "the shortcut leads to no local file"
    target = _ansi_string(data, pos + base) + _ansi_string(data, pos + suffix)
    pos += info_size
    # The strings, in this order, each present only if its flag is set.
    working_dir = None
    for flag in (HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR):
        if flags & flag:
            count = struct.unpack_from("<H", data, pos)[0]
            text = data[pos + 2:pos + 2 + count * 2].decode("utf-16-le")
            pos += 2 + count * 2
            if flag == HAS_WORKING_DIR:
                # Wine counts the terminating NUL too.
                working_dir = text.rstrip("\0")
    return target, working_dir
