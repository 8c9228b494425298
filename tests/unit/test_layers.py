"""Portable files (no _win in the name) never include a Windows header."""

import os
import re
import unittest

ROOT = os.environ.get("ZV_ROOT") or os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
WINDOWS_HEADER = re.compile(r'^\s*#\s*include\s*[<"](windows|winuser|wingdi|winbase|winreg|shellapi|shlobj|shlwapi|'
                            r'commctrl|commdlg|gdiplus|wininet|urlmon|bcrypt|objbase|ole2|uxtheme|dwmapi|tlhelp32|'
                            r'richedit|wincrypt|winnls|io|direct|process)\.h[>"]', re.I | re.M)


def portable_files():
    for base, _, files in os.walk(os.path.join(ROOT, "src")):
        for f in files:
            if f.endswith((".h", ".cpp")) and "_win" not in f:
                yield os.path.join(base, f)


class Layers(unittest.TestCase):
    def test_portable_files_include_no_windows_header(self):
        bad = []
        for path in portable_files():
            with open(path, encoding="utf-8") as f:
                if WINDOWS_HEADER.search(f.read()):
                    bad.append(os.path.relpath(path, ROOT))
        self.assertEqual(bad, [], "move this code to a _win file")

    def test_the_rule_sees_an_include(self):
        self.assertTrue(WINDOWS_HEADER.search('#include <windows.h>\n'))
        self.assertTrue(WINDOWS_HEADER.search('  # include "ShellAPI.h"\n'))
        self.assertFalse(WINDOWS_HEADER.search('#include "app/keys.h"\n'))


if __name__ == "__main__":
    unittest.main()
