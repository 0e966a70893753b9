"""What Kestrel.exe carries: its resources, version block and imports."""

import subprocess
import unittest

from kestrel_harness import KESTREL_EXE, installed_kestrel, run_driver

VIRTKEY_ALT_NOINVERT = 0x01 | 0x10 | 0x02
ABOUT_STYLE = 0x80000000 | 0x00C00000 | 0x00080000 | 0x80 | 0x40  # popup, caption, sysmenu, modal frame, set font
SYSTEM_DLLS = {"bcrypt.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "shell32.dll",
               "user32.dll", "version.dll", "wininet.dll"}


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


if __name__ == "__main__":
    unittest.main(verbosity=2)
