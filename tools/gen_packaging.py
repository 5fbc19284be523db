#!/usr/bin/env python3
"""Generates the control library's packaging files from their one source of identifiers.

  gen_packaging.py fill IDENTIFIERS TEMPLATE OUTPUT
      Copies TEMPLATE to OUTPUT, replacing @NAME@ with the GUID text of NAME and @NAME_WORDS@
      with its 16 bytes in memory order as eight little-endian 16-bit words, the unit of a
      resource script's raw data.
  gen_packaging.py bitmap PICTURE OUTPUT
      Writes a 16-colour .bmp from PICTURE: its quoted rows of hex digits (palette indices),
      top row first.
"""
import re
import struct
import sys
import uuid


def read_identifiers(path):
    identifiers = {}
    with open(path, encoding="utf-8") as source:
        for line in source:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            name, value = (part.strip() for part in line.split("=", 1))
            identifiers[name] = uuid.UUID(value)
    return identifiers


def fill(identifiers_path, template_path, output_path):
    identifiers = read_identifiers(identifiers_path)

    def replace(match):
        name, as_words = match.group(1), match.group(2)
        guid = identifiers[name]
        if as_words:
            data = guid.bytes_le
            return ", ".join(f"0x{data[i + 1]:02X}{data[i]:02X}" for i in range(0, 16, 2))
        return str(guid).upper()

    with open(template_path, encoding="utf-8") as template:
        text = re.sub(r"@(\w+?)(_WORDS)?@", replace, template.read())
    write_if_changed(output_path, text.encode("utf-8"))


# The standard 16 colours, in palette order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def bitmap(picture_path, output_path):
    with open(picture_path, encoding="utf-8") as source:
        rows = re.findall(r'"([0-9a-f]+)"', source.read())
    width, height = len(rows[0]), len(rows)
    if any(len(row) != width for row in rows) or width % 8:
        sys.exit(f"{picture_path}: rows must be equally long, a multiple of 8 pixels")
    pixels = b"".join(bytes.fromhex(row) for row in reversed(rows))  # bottom row first
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 0, 0, 16, 16)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    write_if_changed(output_path, header + info + palette + pixels)


def write_if_changed(path, data):
    try:
        with open(path, "rb") as existing:
            if existing.read() == data:
                return
    except FileNotFoundError:
        pass
    with open(path, "wb") as output:
        output.write(data)


def main(argv):
    if len(argv) == 5 and argv[1] == "fill":
        fill(*argv[2:])
    elif len(argv) == 4 and argv[1] == "bitmap":
        bitmap(*argv[2:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
