#!/usr/bin/env python3
"""Generates the control library's packaging files from their one source of identifiers.

  gen_packaging.py fill IDENTIFIERS TEMPLATE OUTPUT [MEMBERS]
      Copies TEMPLATE to OUTPUT, replacing @NAME@ with the GUID text of NAME and @NAME_WORDS@
      with its 16 bytes in memory order as eight little-endian 16-bit words, the unit of a
      resource script's raw data. With MEMBERS (control/member_rows.h), a line holding only
      @MEMBERS_CLASS@ becomes the IDL of the members CLASS's interface declares itself, and
      one holding only @ENUM_NAME@ the IDL of that enumeration, at the line's indentation.
  gen_packaging.py bitmap PICTURE OUTPUT
      Writes a 16-colour .bmp from PICTURE: its quoted rows of hex digits (palette indices),
      top row first.
  gen_packaging.py header IDENTIFIERS PROJECT OUTPUT
      Writes the library's class table for the component toolkit as C++ constants: the type
      library, and a row for each class of PROJECT (identifiers, ProgID, threading model, ...).
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
from xml.sax.saxutils import escape, quoteattr

from member_table import MemberTable


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


class Project:
    """project.txt: the library's keys, then a section for each class ("[Name]", its keys)."""

    def __init__(self, path):
        self.library = {}
        self.classes = []
        keys = self.library
        with open(path, encoding="utf-8") as source:
            for line in source:
                line = line.split("#", 1)[0].strip()
                if line.startswith("[") and line.endswith("]"):
                    keys = {"Name": line[1:-1].strip()}
                    self.classes.append(keys)
                elif line:
                    name, value = (part.strip() for part in line.split("=", 1))
                    keys[name] = value
        if not self.classes:
            sys.exit(f"{path}: no class")


def library_id(identifiers, project):
    return identifiers["LIBID_" + project.library["LibraryName"]]


def class_id(identifiers, klass):
    return identifiers["CLSID_" + klass["Name"]]


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


def misc_status(klass):
    value = 0
    for name in klass["MiscStatus"].split():
        value |= MISC_STATUS[name]
    return value


def guid_initializer(guid):
    """A GUID as C++ aggregate initialisation."""
    data = guid.bytes
    tail = ", ".join(f"0x{byte:02X}" for byte in data[8:])
    return (f"{{0x{guid.time_low:08X}, 0x{guid.time_mid:04X}, 0x{guid.time_hi_version:04X}, "
            f"{{{tail}}}}}")


def header(identifiers_path, project_path, output_path):
    identifiers = read_identifiers(identifiers_path)
    project = Project(project_path)
    library = project.library
    major, minor = library["LibraryVersion"].split(".")
    rows = []
    for klass in project.classes:
        independent = klass.get("VersionIndependentProgID")
        version_independent = f'L"{independent}"' if independent else "nullptr"
        rows.append(f"""    // {klass["Name"]}
    {{.prog_id = L"{klass["ProgID"]}",
     .version_independent_prog_id = {version_independent},
     .class_id = {guid_initializer(class_id(identifiers, klass))},
     .default_interface = {guid_initializer(identifiers["IID_" + klass["DefaultInterface"]])},
     .source_interface = {guid_initializer(identifiers["DIID_" + klass["SourceInterface"]])},
     .threading_model = L"{klass["ThreadingModel"]}",
     .toolbox_bitmap = {int(klass["ToolboxBitmap"])},
     .misc_status = 0x{misc_status(klass):X}}},""")
    row_text = "\n".join(rows)
    text = f"""// Generated from products/ocx/project.txt and identifiers.txt: the library and a row for each
// class it carries, as the component toolkit registers and makes them.
#pragma once

#include "runtime/com/descriptor.h"

namespace velmora::ocx {{

inline constexpr com::ClassDescriptor kClasses[] = {{
{row_text}
}};

inline constexpr com::LibraryDescriptor kLibrary{{
    .library_name = L"{library["LibraryName"]}",
    .library_id = {guid_initializer(library_id(identifiers, project))},
    .major_version = {int(major)},
    .minor_version = {int(minor)},
    .classes = kClasses,
}};

}}  // namespace velmora::ocx
"""
    write_if_changed(output_path, text.encode("utf-8"))


# The standard proxies: a dual or automation interface is marshalled from the type library, a
# dispatch-only interface as IDispatch.
TYPE_LIBRARY_PROXY = "{00020424-0000-0000-C000-000000000046}"
DISPATCH_PROXY = "{00020420-0000-0000-C000-000000000046}"


def interfaces(identifiers, project):
    """The type library's interfaces as its registration lists them, each class's default and
    source interface in the order of the classes: name, IID, proxy."""
    found = []
    for klass in project.classes:
        default, source = klass["DefaultInterface"], klass["SourceInterface"]
        found += [(default, identifiers["IID_" + default], TYPE_LIBRARY_PROXY),
                  (source, identifiers["DIID_" + source], DISPATCH_PROXY)]
    return found


def manifest(identifiers_path, project_path, architecture, output_path):
    if architecture not in ("x86", "amd64"):
        sys.exit(f"unknown architecture {architecture}")
    identifiers = read_identifiers(identifiers_path)
    project = Project(project_path)
    library = project.library
    tlbid = guid_text(library_id(identifiers, project))
    lines = [
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>',
        '<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">',
        f'  <assemblyIdentity type="win32" name={quoteattr(library["AssemblyName"])} '
        f'version={quoteattr(library["AssemblyVersion"])} '
        f'processorArchitecture="{architecture}"/>',
        '  <file name="VelmoraSW.ocx">',
    ]
    for klass in project.classes:
        status = ",".join(klass["MiscStatus"].split())
        opening = (f'    <comClass clsid="{guid_text(class_id(identifiers, klass))}" '
                   f'progid={quoteattr(klass["ProgID"])} '
                   f'threadingModel={quoteattr(klass["ThreadingModel"])} tlbid="{tlbid}" '
                   f'miscStatus="{status}" miscStatusContent="{status}"')
        independent = klass.get("VersionIndependentProgID")
        if independent:
            lines += [opening + ">", f"      <progid>{escape(independent)}</progid>",
                      "    </comClass>"]
        else:
            lines.append(opening + "/>")
    lines += [
        f'    <typelib tlbid="{tlbid}" version="{library["LibraryVersion"]}" helpdir="" '
        f'flags="{",".join(library["LibraryFlags"].split())}"/>',
        '  </file>',
    ]
    for name, iid, proxy in interfaces(identifiers, project):
        lines.append(f'  <comInterfaceExternalProxyStub name="{name}" iid="{guid_text(iid)}" '
                     f'proxyStubClsid32="{proxy}" tlbid="{tlbid}"/>')
    lines.append('</assembly>')
    write_if_changed(output_path, ("\r\n".join(lines) + "\r\n").encode("utf-8"))


LIBRARY_FLAGS = {"restricted": 1, "control": 2, "hidden": 4, "hasdiskimage": 8}


def class_rows(identifiers, project, klass, library):
    """The registry entries of a class under its class id, as the library's registration writes
    them: (key, value name or None, data). `library` is the library's path."""
    class_key = "CLSID\\" + guid_text(class_id(identifiers, klass))
    status = str(misc_status(klass))
    prog_id = klass["ProgID"]
    version = project.library["LibraryVersion"]
    independent = klass.get("VersionIndependentProgID")
    independent_rows = ([(class_key + "\\VersionIndependentProgID", None, independent)]
                        if independent else [])
    return [
        (class_key, None, prog_id),
        (class_key + "\\ProgID", None, prog_id),
        (class_key + "\\InprocServer32", None, library),
        (class_key + "\\InprocServer32", "ThreadingModel", klass["ThreadingModel"]),
        (class_key + "\\Control", None, ""),
        (class_key + "\\ToolboxBitmap32", None, f"{library}, {klass['ToolboxBitmap']}"),
        (class_key + "\\MiscStatus", None, status),
        (class_key + "\\MiscStatus\\1", None, status),
        (class_key + "\\TypeLib", None, guid_text(library_id(identifiers, project))),
        (class_key + "\\Version", None, version),
    ] + independent_rows


def prog_id_rows(identifiers, klass):
    prog_id = klass["ProgID"]
    clsid = guid_text(class_id(identifiers, klass))
    rows = [(prog_id, None, prog_id), (prog_id + "\\CLSID", None, clsid)]
    independent = klass.get("VersionIndependentProgID")
    if independent:
        rows += [(independent, None, prog_id), (independent + "\\CLSID", None, clsid),
                 (independent + "\\CurVer", None, prog_id)]
    return rows


def type_library_rows(identifiers, project):
    """The type library's entries both bitnesses share."""
    library = project.library
    version_key = ("TypeLib\\" + guid_text(library_id(identifiers, project)) + "\\" +
                   library["LibraryVersion"])
    flags = sum(LIBRARY_FLAGS[name] for name in library["LibraryFlags"].split())
    return [(version_key, None, library["LibraryName"]),
            (version_key + "\\FLAGS", None, str(flags)),
            (version_key + "\\HELPDIR", None, "")]


def target_rows(identifiers, project, target, library):
    """One bitness's file of the type library (target win32 or win64), and its view of the
    interfaces marshalled from it."""
    tlbid = guid_text(library_id(identifiers, project))
    version = project.library["LibraryVersion"]
    rows = [(f"TypeLib\\{tlbid}\\{version}\\409\\{target}", None, library)]
    for name, iid, proxy in interfaces(identifiers, project):
        key = "Interface\\" + guid_text(iid)
        rows += [(key, None, name), (key + "\\ProxyStubClsid", None, proxy),
                 (key + "\\ProxyStubClsid32", None, proxy), (key + "\\TypeLib", None, tlbid),
                 (key + "\\TypeLib", "Version", version)]
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
    project = Project(project_path)
    version = project.library["AssemblyVersion"]
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
        rows = []
        for klass in project.classes:
            rows += class_rows(identifiers, project, klass, library)
        rows += target_rows(identifiers, project, target, library)
        if bitness == "x64":  # the keys both bitnesses share, written once
            for klass in project.classes:
                rows += prog_id_rows(identifiers, klass)
            rows += type_library_rows(identifiers, project)
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


def fill(identifiers_path, template_path, output_path, members_path=None):
    identifiers = read_identifiers(identifiers_path)

    def replace(match):
        name, as_words = match.group(1), match.group(2)
        guid = identifiers[name]
        if as_words:
            data = guid.bytes_le
            return ", ".join(f"0x{data[i + 1]:02X}{data[i]:02X}" for i in range(0, 16, 2))
        return str(guid).upper()

    with open(template_path, encoding="utf-8") as template:
        text = template.read()
    if members_path:
        text = fill_members(MemberTable(members_path), text)
    text = re.sub(r"@(\w+?)(_WORDS)?@", replace, text)
    write_if_changed(output_path, text.encode("utf-8"))


# The interface that declares the members of a row's classes: a ChessBoard has UserControl1's
# interface as its base.
DECLARED_BY = {"Both": "UserControl1", "ChessBoard": "ChessBoard"}
# A member's type in the dual interface, by its kind.
IDL_TYPES = {"Boolean": "VARIANT_BOOL", "Long": "long", "String": "BSTR", "Colour": "OLE_COLOR"}


def fill_members(table, text):
    def replace(match):
        indent, what, name = match.groups()
        lines = member_lines(table, name) if what == "MEMBERS" else enum_lines(table, name)
        return "\n".join(indent + line for line in lines)

    return re.sub(r"^([ \t]*)@(MEMBERS|ENUM)_(\w+)@$", replace, text, flags=re.M)


def member_lines(table, interface):
    lines = []
    for member in table.members:
        if DECLARED_BY[member.classes] != interface:
            continue
        name = member.name
        if member.kind == "Method":
            lines += idl_method(member, "", f"HRESULT {name}();")
        else:
            kind = table.enumerations.get(name) or IDL_TYPES[member.kind]
            read = f"HRESULT {name}([out, retval] {kind}* {name});"
            lines += idl_method(member, ", propget", read)
            lines += idl_method(member, ", propput", f"HRESULT {name}([in] {kind});")
    return lines


def idl_method(member, attributes, declaration):
    """One method of a member: with a help string, its attributes on a line of their own."""
    if not member.help:
        return [f"[id({member.dispatch_id}){attributes}] {declaration}"]
    help_text = member.help.replace("\\", "\\\\").replace('"', '\\"')
    return [f'[id({member.dispatch_id}){attributes}, helpstring("{help_text}")]', declaration]


def enum_lines(table, enumeration):
    values = [f"  {value.name} = {value.value}," for value in table.values_of(enumeration)]
    values[-1] = values[-1].rstrip(",")
    return [f"typedef [version(1.0)] enum {enumeration} {{", *values, f"}} {enumeration};"]


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
    if len(argv) in (5, 6) and argv[1] == "fill":
        fill(*argv[2:])
    elif len(argv) == 4 and argv[1] == "bitmap":
        bitmap(*argv[2:])
    elif len(argv) == 5 and argv[1] == "header":
        header(*argv[2:])
    elif len(argv) == 6 and argv[1] == "manifest":
        manifest(*argv[2:])
    elif len(argv) == 8 and argv[1] == "installer":
        installer(*argv[2:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
