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
# The system code page of paths written without Unicode: Western European here.
ANSI = "cp1252"
VOLUME_ID_AND_LOCAL_BASE_PATH = 0x01
# A LinkInfo header this long or longer also holds the Unicode offsets.
LINK_INFO_UNICODE_HEADER = 0x24


def _c_string(data, offset, unicode):
    if unicode:
        end = offset
        while data[end:end + 2] != b"\0\0":
            end += 2
        return data[offset:end].decode("utf-16-le")
    return data[offset:data.index(b"\0", offset)].decode(ANSI)


def _target(info):
    header_size, flags = struct.unpack_from("<II", info, 4)
    assert flags & VOLUME_ID_AND_LOCAL_BASE_PATH, "the shortcut leads to no local file"
    base, _, suffix = struct.unpack_from("<III", info, 16)
    if header_size >= LINK_INFO_UNICODE_HEADER:
        base_unicode, suffix_unicode = struct.unpack_from("<II", info, 28)
        if base_unicode:
            return _c_string(info, base_unicode, True) + _c_string(info, suffix_unicode, True)
    return _c_string(info, base, False) + _c_string(info, suffix, False)


def read(path):
    """Returns (target, working folder) of the shortcut at path, as Windows paths;
    the folder is None when the shortcut names none."""
    with open(path, "rb") as f:
        data = f.read()
    assert struct.unpack_from("<I", data)[0] == HEADER_SIZE, "not a shell link"
    flags = struct.unpack_from("<I", data, 20)[0]
    pos = HEADER_SIZE
    if flags & HAS_TARGET_ID_LIST:
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    assert flags & HAS_LINK_INFO, "the shortcut holds no link information"
    info_size = struct.unpack_from("<I", data, pos)[0]
    target = _target(data[pos:pos + info_size])
    pos += info_size
    # The string data, in this order, each present only if its flag is set.
    width = 2 if flags & IS_UNICODE else 1
    working_dir = None
    for flag in (HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR):
        if flags & flag:
            count = struct.unpack_from("<H", data, pos)[0]
            text = data[pos + 2:pos + 2 + count * width]
            pos += 2 + count * width
            if flag == HAS_WORKING_DIR:
                # Wine counts the terminating NUL too.
                working_dir = text.decode("utf-16-le" if width == 2 else ANSI).rstrip("\0")
    return target, working_dir
