#!/usr/bin/env python3
"""Generates the control library's packaging files from their one source of identifiers.

  gen_packaging.py fill IDENTIFIERS TEMPLATE OUTPUT
      Copies TEMPLATE to OUTPUT, replacing @NAME@ with the GUID text of NAME and @NAME_WORDS@
      with its 16 bytes in memory order as eight little-endian 16-bit words, the unit of a
      resource script's raw data.
  gen_packaging.py bitmap PICTURE OUTPUT
      Writes a 16-colour .bmp from PICTURE: its quoted rows of hex digits (palette indices),
      top row first.
  gen_packaging.py header PROJECT OUTPUT
      Writes the C++ constants of PROJECT (ProgID, threading model, misc status, ...).
  gen_packaging.py manifest IDENTIFIERS PROJECT ARCHITECTURE OUTPUT
      Writes the library's assembly manifest for x86 or amd64, for registration-free use.
  gen_packaging.py installer IDENTIFIERS PROJECT X86_DIR X64_DIR README OUTPUT
      Writes the installer source (wixl) holding both libraries, their manifests and README,
      with the registry rows the library's own registration writes.
"""
import os
import re
import struct
import sys
import uuid
from xml.sax.saxutils import quoteattr


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


def read_project(path):
    project = {}
    with open(path, encoding="utf-8") as source:
        for line in source:
            line = line.split("#", 1)[0].strip()
            if line:
                name, value = (part.strip() for part in line.split("=", 1))
                project[name] = value
    return project


def guid_text(guid):
    return "{" + str(guid).upper() + "}"


# The OLEMISC flags by the names an assembly manifest gives them.
MISC_STATUS = {
    "recomposeonresize": 0x1, "onlyiconic": 0x2, "insertnotreplace": 0x4, "static": 0x8,
    "cantlinkinside": 0x10, "canlinkbyole1": 0x20, "islinkobject": 0x40, "insideout": 0x80,
    "activatewhenvisible": 0x100, "renderingisdeviceindependent": 0x200,
    "invisibleatruntime": 0x400, "alwaysrun": 0x800, "actslikebutton": 0x1000,
    "actslikelabel": 0x2000, "nouiactivate": 0x4000, "alignable": 0x8000,
    "simpleframe": 0x10000, "setclientsitefirst": 0x20000, "imemode": 0x40000,
    "ignoreactivatewhenvisible": 0x80000, "wantstomenumerge": 0x100000,
    "supportsmultilevelundo": 0x200000,
}


def misc_status(project):
    value = 0
    for name in project["MiscStatus"].split():
        value |= MISC_STATUS[name]
    return value


def header(project_path, output_path):
    project = read_project(project_path)
    major, minor = project["LibraryVersion"].split(".")
    text = f"""// Generated from products/ocx/project.txt: what the library registers besides its identifiers.
#pragma once

namespace velmora::ocx {{

inline constexpr wchar_t kProgId[] = L"{project["ProgID"]}";
inline constexpr wchar_t kLibraryName[] = L"{project["LibraryName"]}";
inline constexpr unsigned short kMajorVersion = {int(major)};
inline constexpr unsigned short kMinorVersion = {int(minor)};
inline constexpr wchar_t kThreadingModel[] = L"{project["ThreadingModel"]}";
inline constexpr int kToolboxBitmap = {int(project["ToolboxBitmap"])};
inline constexpr unsigned long kMiscStatus = 0x{misc_status(project):X};

}}  // namespace velmora::ocx
"""
    write_if_changed(output_path, text.encode("utf-8"))


# The standard proxies: a dual or automation interface is marshalled from the type library, a
# dispatch-only interface as IDispatch.
TYPE_LIBRARY_PROXY = "{00020424-0000-0000-C000-000000000046}"
DISPATCH_PROXY = "{00020420-0000-0000-C000-000000000046}"


def interfaces(identifiers):
    """The type library's interfaces as its registration lists them: name, IID, proxy."""
    return [("_UserControl1", identifiers["IID__UserControl1"], TYPE_LIBRARY_PROXY),
            ("__UserControl1", identifiers["DIID___UserControl1"], DISPATCH_PROXY)]


def manifest(identifiers_path, project_path, architecture, output_path):
    if architecture not in ("x86", "amd64"):
        sys.exit(f"unknown architecture {architecture}")
    identifiers = read_identifiers(identifiers_path)
    project = read_project(project_path)
    library_id = guid_text(identifiers["LIBID_Project1"])
    status = ",".join(project["MiscStatus"].split())
    lines = [
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>',
        '<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">',
        f'  <assemblyIdentity type="win32" name={quoteattr(project["AssemblyName"])} '
        f'version={quoteattr(project["AssemblyVersion"])} '
        f'processorArchitecture="{architecture}"/>',
        '  <file name="VelmoraSW.ocx">',
        f'    <comClass clsid="{guid_text(identifiers["CLSID_UserControl1"])}" '
        f'progid={quoteattr(project["ProgID"])} '
        f'threadingModel={quoteattr(project["ThreadingModel"])} tlbid="{library_id}" '
        f'miscStatus="{status}" miscStatusContent="{status}"/>',
        f'    <typelib tlbid="{library_id}" version="{project["LibraryVersion"]}" helpdir="" '
        'flags="control,hasdiskimage"/>',
        '  </file>',
    ]
    for name, iid, proxy in interfaces(identifiers):
        lines.append(f'  <comInterfaceExternalProxyStub name="{name}" iid="{guid_text(iid)}" '
                     f'proxyStubClsid32="{proxy}" tlbid="{library_id}"/>')
    lines.append('</assembly>')
    write_if_changed(output_path, ("\r\n".join(lines) + "\r\n").encode("utf-8"))


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
    elif len(argv) == 4 and argv[1] == "header":
        header(*argv[2:])
    elif len(argv) == 6 and argv[1] == "manifest":
        manifest(*argv[2:])
    elif len(argv) == 8 and argv[1] == "installer":
        installer(*argv[2:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
