#!/usr/bin/env python3
"""The packaging generator over a library of two classes: the class table, the manifest and the
installer's registry rows each hold every class, and the keys both bitnesses share once."""
import os
import re
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import gen_packaging  # noqa: E402

IDENTIFIERS = """
LIBID_Lib = 11111111-0000-0000-0000-000000000001
CLSID_First = 22222222-0000-0000-0000-000000000001
IID__First = 33333333-0000-0000-0000-000000000001
DIID___First = 44444444-0000-0000-0000-000000000001
CLSID_Second = 22222222-0000-0000-0000-000000000002
IID__Second = 33333333-0000-0000-0000-000000000002
DIID___Second = 44444444-0000-0000-0000-000000000002
"""

PROJECT = """
LibraryName = Lib
LibraryVersion = 1.1
LibraryFlags = control
AssemblyName = Lib
AssemblyVersion = 1.0.0.0
[First]
ProgID = Lib.First
DefaultInterface = _First
SourceInterface = __First
ThreadingModel = Apartment
ToolboxBitmap = 30000
MiscStatus = insideout
[Second]
ProgID = Lib.Second.1
DefaultInterface = _Second
SourceInterface = __Second
ThreadingModel = Both
ToolboxBitmap = 30001
MiscStatus = insideout setclientsitefirst
"""

MANIFEST = "urn:schemas-microsoft-com:asm.v1"
WIX = "http://schemas.microsoft.com/wix/2006/wi"


class TwoClasses(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.identifiers = self.path("identifiers.txt", IDENTIFIERS)
        self.project = self.path("project.txt", PROJECT)

    def tearDown(self):
        self.folder.cleanup()

    def path(self, name, text=None):
        full = os.path.join(self.folder.name, name)
        if text is not None:
            with open(full, "w", encoding="utf-8") as out:
                out.write(text)
        return full

    def read(self, name):
        with open(self.path(name), encoding="utf-8") as source:
            return source.read()

    def test_the_class_table_has_a_row_per_class_in_order(self):
        gen_packaging.header(self.identifiers, self.project, self.path("data.h"))
        text = self.read("data.h")
        rows = re.findall(r'\.prog_id = L"([^"]+)",.*?\.class_id = \{0x(\w+),', text, re.S)
        self.assertEqual(rows, [("Lib.First", "22222222"), ("Lib.Second.1", "22222222")])
        self.assertIn(".source_interface = {0x44444444, 0x0000, 0x0000, "
                      "{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}}", text)
        self.assertEqual(re.findall(r"\.misc_status = (0x\w+)", text), ["0x80", "0x20080"])
        self.assertIn(".minor_version = 1,", text)

    def test_the_manifest_lists_every_class_and_every_interface(self):
        gen_packaging.manifest(self.identifiers, self.project, "x86", self.path("manifest"))
        assembly = ElementTree.parse(self.path("manifest")).getroot()
        classes = assembly.findall(f"{{{MANIFEST}}}file/{{{MANIFEST}}}comClass")
        self.assertEqual([(c.get("progid"), c.get("threadingModel")) for c in classes],
                         [("Lib.First", "Apartment"), ("Lib.Second.1", "Both")])
        self.assertEqual(classes[1].get("miscStatus"), "insideout,setclientsitefirst")
        stubs = assembly.findall(f"{{{MANIFEST}}}comInterfaceExternalProxyStub")
        self.assertEqual([s.get("name") for s in stubs], ["_First", "__First", "_Second", "__Second"])
        self.assertEqual(len(assembly.findall(f"{{{MANIFEST}}}file/{{{MANIFEST}}}typelib")), 1)

    def test_the_installer_writes_each_class_per_bitness_and_shared_keys_once(self):
        gen_packaging.installer(self.identifiers, self.project, "x86", "x64", "README.md",
                                self.path("setup.wxs"))
        product = ElementTree.parse(self.path("setup.wxs")).getroot()
        keys = {}
        for component in product.iter(f"{{{WIX}}}Component"):
            keys[component.get("Id")] = [value.get("Key").removeprefix("Software\\Classes\\")
                                         for value in component.iter(f"{{{WIX}}}RegistryValue")]
        for component in ("Control_x86", "Control_x64"):
            for clsid in ("{22222222-0000-0000-0000-000000000001}",
                          "{22222222-0000-0000-0000-000000000002}"):
                self.assertIn(f"CLSID\\{clsid}\\InprocServer32", keys[component])
            for iid in ("33333333", "44444444"):
                self.assertIn(f"Interface\\{{{iid}-0000-0000-0000-000000000002}}",
                              keys[component])
        shared = ["Lib.First", "Lib.Second.1", "TypeLib\\{11111111-0000-0000-0000-000000000001}\\1.1"]
        for key in shared:
            self.assertEqual(keys["Control_x64"].count(key), 1, key)
            self.assertNotIn(key, keys["Control_x86"])


if __name__ == "__main__":
    unittest.main()
