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
      Writes the installer source (wixl, for an x64 package) holding both libraries, their
      manifests and README, with the registry rows the library's own registration writes.
      The paths are as wixl is to find them, relative to where it runs.
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
        f'flags="{",".join(project["LibraryFlags"].split())}"/>',
        '  </file>',
    ]
    for name, iid, proxy in interfaces(identifiers):
        lines.append(f'  <comInterfaceExternalProxyStub name="{name}" iid="{guid_text(iid)}" '
                     f'proxyStubClsid32="{proxy}" tlbid="{library_id}"/>')
    lines.append('</assembly>')
    write_if_changed(output_path, ("\r\n".join(lines) + "\r\n").encode("utf-8"))


LIBRARY_FLAGS = {"restricted": 1, "control": 2, "hidden": 4, "hasdiskimage": 8}


def class_rows(identifiers, project, library):
    """The registry entries of the class and its ProgID, as the library's registration writes
    them: (key, value name or None, data). `library` is the library's path."""
    class_key = "CLSID\\" + guid_text(identifiers["CLSID_UserControl1"])
    status = str(misc_status(project))
    prog_id = project["ProgID"]
    return [
        (class_key, None, prog_id),
        (class_key + "\\ProgID", None, prog_id),
        (class_key + "\\InprocServer32", None, library),
        (class_key + "\\InprocServer32", "ThreadingModel", project["ThreadingModel"]),
        (class_key + "\\Control", None, ""),
        (class_key + "\\ToolboxBitmap32", None, f"{library}, {project['ToolboxBitmap']}"),
        (class_key + "\\MiscStatus", None, status),
        (class_key + "\\MiscStatus\\1", None, status),
        (class_key + "\\TypeLib", None, guid_text(identifiers["LIBID_Project1"])),
        (class_key + "\\Version", None, project["LibraryVersion"]),
    ]


def prog_id_rows(identifiers, project):
    prog_id = project["ProgID"]
    return [(prog_id, None, prog_id),
            (prog_id + "\\CLSID", None, guid_text(identifiers["CLSID_UserControl1"]))]


def type_library_rows(identifiers, project):
    """The type library's entries both bitnesses share."""
    version_key = ("TypeLib\\" + guid_text(identifiers["LIBID_Project1"]) + "\\" +
                   project["LibraryVersion"])
    flags = sum(LIBRARY_FLAGS[name] for name in project["LibraryFlags"].split())
    return [(version_key, None, project["LibraryName"]),
            (version_key + "\\FLAGS", None, str(flags)),
            (version_key + "\\HELPDIR", None, "")]


def target_rows(identifiers, project, target, library):
    """One bitness's file of the type library (target win32 or win64), and its view of the
    interfaces marshalled from it."""
    library_id = guid_text(identifiers["LIBID_Project1"])
    rows = [(f"TypeLib\\{library_id}\\{project['LibraryVersion']}\\409\\{target}", None,
             library)]
    for name, iid, proxy in interfaces(identifiers):
        key = "Interface\\" + guid_text(iid)
        rows += [(key, None, name), (key + "\\ProxyStubClsid", None, proxy),
                 (key + "\\ProxyStubClsid32", None, proxy), (key + "\\TypeLib", None, library_id),
                 (key + "\\TypeLib", "Version", project["LibraryVersion"])]
    return rows


# The classes of the machine or of the user, as the installation is for either: the root the
# installer calls "user or machine".
CLASSES = "Software\\Classes\\"


def registry_values(rows):
    lines = []
    for key, name, value in rows:
        name_attribute = f" Name={quoteattr(name)}" if name else ""
        lines.append(f'        <RegistryValue Root="HKMU" Key={quoteattr(CLASSES + key)}{name_attribute} '
                     f'Value={quoteattr(value)} Type="string"/>')
    return lines


# Fixed identities of the installer: its upgrade code and its two components.
UPGRADE_CODE = "{6C0E2D4B-8A51-4F7B-9C3E-2B7A1D5E9F30}"
COMPONENTS = {"x86": "{1E4B7C2A-3D5F-4A6B-8C9D-0E1F2A3B4C5D}",
              "x64": "{2F5C8D3B-4E6A-4B7C-9DAE-1F203B4C5D6E}"}


def installer(identifiers_path, project_path, x86_dir, x64_dir, readme, output_path):
    identifiers = read_identifiers(identifiers_path)
    project = read_project(project_path)
    version = project["AssemblyVersion"]
    lines = [
        '<?xml version="1.0" encoding="utf-8"?>',
        '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">',
        f'  <Product Id="*" Name="Velmora chess-board control" Language="1033" '
        f'Version="{version}" Manufacturer="Velmora" UpgradeCode="{UPGRADE_CODE}">',
        '    <Package InstallerVersion="500" Compressed="yes" '
        'Description="Velmora chess-board control, 32- and 64-bit"/>',
        '    <Media Id="1" Cabinet="velmora.cab" EmbedCab="yes"/>',
        # An administrator installs for the machine, anyone else for themselves.
        '    <Property Id="ALLUSERS" Value="2"/>',
        '    <Directory Id="TARGETDIR" Name="SourceDir">',
        '      <Directory Id="ProgramFilesFolder"><Directory Id="Velmora32" Name="Velmora">',
        '        <Directory Id="INSTALLDIR_X86" Name="x86"/></Directory></Directory>',
        '      <Directory Id="ProgramFiles64Folder"><Directory Id="Velmora64" Name="Velmora">',
        '        <Directory Id="INSTALLDIR_X64" Name="x64"/></Directory></Directory>',
        '    </Directory>',
    ]
    for bitness, source, win64, target in (("x86", x86_dir, "no", "win32"),
                                            ("x64", x64_dir, "yes", "win64")):
        library = f"[#Library_{bitness}]"
        rows = class_rows(identifiers, project, library) + target_rows(
            identifiers, project, target, library)
        if bitness == "x64":  # the keys both bitnesses share, written once
            rows += prog_id_rows(identifiers, project) + type_library_rows(identifiers, project)
        lines += [
            f'    <DirectoryRef Id="INSTALLDIR_{bitness.upper()}">',
            f'      <Component Id="Control_{bitness}" Guid="{COMPONENTS[bitness]}" Win64="{win64}">',
            f'        <File Id="Library_{bitness}" Name="VelmoraSW.ocx" '
            f'Source={quoteattr(os.path.join(source, "VelmoraSW.ocx"))} KeyPath="yes"/>',
            f'        <File Id="Manifest_{bitness}" Name="VelmoraSW.manifest" '
            f'Source={quoteattr(os.path.join(source, "VelmoraSW.manifest"))}/>',
        ]
        if bitness == "x64":
            lines.append(f'        <File Id="Readme" Name="README.md" Source={quoteattr(readme)}/>')
        lines += registry_values(rows)
        lines += ['      </Component>', '    </DirectoryRef>']
    lines += [
        '    <Feature Id="Control" Level="1">',
        '      <ComponentRef Id="Control_x86"/>',
        '      <ComponentRef Id="Control_x64"/>',
        '    </Feature>',
        '  </Product>',
        '</Wix>',
    ]
    write_if_changed(output_path, ("\n".join(lines) + "\n").encode("utf-8"))


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
