#!/usr/bin/env python3
"""Finishes a type library compiled by widl, which rejects two attributes on a dispinterface:
every type gets version 1.0, and every dispinterface the non-extensible flag.

  patch_typelib.py INPUT.tlb OUTPUT.tlb

The file is the compiled type-library format ("MSFT"): a header, one offset per type into the
type-info table, then the segment directory whose first entry locates that table.
"""
import struct
import sys

HEADER_SIZE = 0x54
HELP_DLL_FLAG = 0x100
TYPEKIND_DISPATCH = 4
TYPEFLAG_NONEXTENSIBLE = 0x80
VERSION_1_0 = 0x00000001  # major in the low word, minor in the high word


def type_info_offsets(data):
    magic, _, _, _, _, varflags, _, _, count = struct.unpack_from("<4sIiiiiiii", data, 0)
    if magic != b"MSFT":
        sys.exit("not a compiled type library")
    table = HEADER_SIZE + (4 if varflags & HELP_DLL_FLAG else 0)
    segments = table + 4 * count
    type_info_segment = struct.unpack_from("<i", data, segments)[0]
    return [type_info_segment + struct.unpack_from("<i", data, table + 4 * i)[0]
            for i in range(count)]


def patch(data):
    for base in type_info_offsets(data):
        kind = struct.unpack_from("<i", data, base)[0] & 0xF
        if kind == TYPEKIND_DISPATCH:
            flags = struct.unpack_from("<i", data, base + 0x30)[0]
            struct.pack_into("<i", data, base + 0x30, flags | TYPEFLAG_NONEXTENSIBLE)
        struct.pack_into("<i", data, base + 0x38, VERSION_1_0)


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    with open(argv[1], "rb") as source:
        data = bytearray(source.read())
    patch(data)
    with open(argv[2], "wb") as output:
        output.write(data)


if __name__ == "__main__":
    main(sys.argv)
