"""What Kestrel.exe carries: its resources, version block, manifest and
imports; and the manifest of the maker's tool."""

import re
import subprocess
import unittest
from xml.etree import ElementTree

from kestrel_harness import KESTREL_EXE, Drives, Kestrel, _install, installed_kestrel, run_driver
from maker_tool import TOOL

VIRTKEY_ALT_NOINVERT = 0x01 | 0x10 | 0x02
ABOUT_STYLE = 0x80000000 | 0x00C00000 | 0x00080000 | 0x80 | 0x40  # popup, caption, sysmenu, modal frame, set font
SYSTEM_DLLS = {"advapi32.dll", "bcrypt.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "shell32.dll",
               "user32.dll", "version.dll", "wininet.dll"}
ASM_V1, ASM_V3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
SETTINGS_2017 = "{http://schemas.microsoft.com/SMI/2017/WindowsSettings}"
SETTINGS_2019 = "{http://schemas.microsoft.com/SMI/2019/WindowsSettings}"
WINDOWS_7_TO_11 = {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                   "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}


class Resources(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.found = run_driver("resources", installed_kestrel())

    def test_version_block(self):
        self.assertEqual(self.found["version"], {
            "fileVersion": [1, 1, 4, 0], "productVersion": [1, 1, 4, 0], "translation": [0x409, 1252],
            "CompanyName": "Corvel Freeware",
            "FileDescription": "Update Corvel Utilities from the Internet.",
            "FileVersion": "1.14", "InternalName": "Kestrel", "OriginalFilename": "Kestrel.exe",
            "ProductName": "Kestrel", "ProductVersion": "1.14"})

    def test_images(self):
        self.assertEqual(self.found["icon"], [{"width": 32, "height": 32, "colours": 16, "bits": 4}])
        self.assertEqual(self.found["bitmap"], {"width": 128, "height": 63, "bits": 4})
        cursor = self.found["cursor"]
        self.assertEqual((cursor["width"], cursor["bits"], cursor["hotSpot"]), (32, 1, [5, 1]))
        self.assertIn(cursor["height"], (32, 64))  # stored with or without the mask's half

    def test_accelerators(self):
        self.assertEqual(self.found["accelerators"], [
            {"flags": VIRTKEY_ALT_NOINVERT, "key": ord("S"), "command": 40002},
            {"flags": VIRTKEY_ALT_NOINVERT, "key": ord("U"), "command": 40003},
            {"flags": VIRTKEY_ALT_NOINVERT, "key": ord("X"), "command": 40001}])

    def test_about_box_template(self):
        self.assertEqual(self.found["dialog"], {"style": ABOUT_STYLE, "exStyle": 0, "controls": 11,
                                                "x": 0, "y": 0, "cx": 234, "cy": 142})

    def test_download_texts(self):
        self.assertEqual(self.found["strings"]["5101"], "Could not connect to the Internet")
        self.assertTrue(all(self.found["strings"][str(code)] for code in range(5101, 5106)))

    def test_one_windows_program_importing_system_dlls_only(self):
        dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(KESTREL_EXE)],
                              capture_output=True, text=True, check=True).stdout
        self.assertIn("(Windows GUI)", dump)
        imports = {line.split(":", 1)[1].strip().lower() for line in dump.splitlines() if "DLL Name:" in line}
        self.assertLessEqual(imports, SYSTEM_DLLS)
        # Version 6 of the common controls need not keep version 5's ordinals.
        comctl32 = dump.split("DLL Name: COMCTL32.dll", 1)[1].split("\n\n", 1)[0].splitlines()[2:]
        self.assertIn("CreateStatusWindowA", [line.split()[-1] for line in comctl32])
        self.assertTrue(all(re.fullmatch(r"\w+\s+\d+\s+[A-Za-z_]\w*", line.strip()) for line in comctl32), comctl32)


class Manifests(unittest.TestCase):
    def manifest(self, program):
        found = run_driver("resources", program)
        self.assertIn("manifest", found)
        return ElementTree.fromstring(found["manifest"].encode())

    def test_both_programs_run_as_invoker_on_windows_7_to_11_in_utf_8(self):
        for program in (installed_kestrel(), _install(TOOL)):
            with self.subTest(program):
                root = self.manifest(program)
                self.assertEqual(root.tag, ASM_V1 + "assembly")
                self.assertEqual([e.get("level") for e in root.iter(ASM_V3 + "requestedExecutionLevel")],
                                 ["asInvoker"])
                self.assertEqual({e.get("Id") for e in root.iter(COMPATIBILITY + "supportedOS")}, WINDOWS_7_TO_11)
                self.assertEqual([e.text for e in root.iter(SETTINGS_2019 + "activeCodePage")], ["UTF-8"])

    def test_kestrel_asks_for_themed_controls_and_sharp_text(self):
        root = self.manifest(installed_kestrel())
        self.assertEqual([(e.get("name"), e.get("version"), e.get("publicKeyToken"), e.get("type"))
                          for e in root.iter(ASM_V1 + "assemblyIdentity")],
                         [("Microsoft.Windows.Common-Controls", "6.0.0.0", "6595b64144ccf1df", "win32")])
        self.assertEqual([e.text for e in root.iter(SETTINGS_2017 + "gdiScaling")], ["true"])
        # Windows scales only the GDI of programs that declare no DPI awareness.
        self.assertEqual([e.tag for e in root.iter() if e.tag.endswith(("}dpiAware", "}dpiAwareness"))], [])
        self.assertEqual(list(self.manifest(_install(TOOL)).iter(ASM_V1 + "dependency")), [])

    def test_kestrel_runs_with_common_controls_6(self):
        with Drives({}), Kestrel() as app:
            app.wait_ready()
            comctl32 = [m.lower() for m in run_driver("modules")["modules"] if m.lower().endswith("\\comctl32.dll")]
            app.close()
        # Version 6 is a side-by-side assembly; version 5 is system32's.
        self.assertTrue(comctl32)
        self.assertTrue(all("\\winsxs\\" in m and "common-controls_6595b64144ccf1df_6." in m for m in comctl32), comctl32)


if __name__ == "__main__":
    unittest.main(verbosity=2)
