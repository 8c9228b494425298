"""The layering rules of src/: portable files never include a Windows header; the floor
(src/base) includes no subsystem; nothing but the roof (src/app) includes the roof; and the
subsystems' include graph has no cycle."""

import graphlib
import os
import re
import unittest

from genutil import ROOT, TempCase

WINDOWS_HEADER = re.compile(r'^\s*#\s*include\s*[<"](windows|winuser|wingdi|winbase|winreg|shellapi|shlobj|shlwapi|'
                            r'commctrl|commdlg|gdiplus|wininet|urlmon|bcrypt|objbase|ole2|uxtheme|dwmapi|tlhelp32|'
                            r'richedit|wincrypt|winnls|io|direct|process)\.h[>"]', re.I | re.M)
PROJECT_INCLUDE = re.compile(r'^\s*#\s*include\s*"([a-z0-9_]+)/[^"]+"', re.M)
FLOOR, ROOF = "base", "app"


def layer_faults(root):
    """Every broken rule as a line 'file: reason'."""
    faults, edges = [], {}
    for base, _, files in os.walk(os.path.join(root, "src")):
        for path in (os.path.join(base, f) for f in files if f.endswith((".h", ".cpp"))):
            rel = os.path.relpath(path, root)
            with open(path, encoding="utf-8") as f:
                text = f.read()
            if "_win" not in os.path.basename(path) and WINDOWS_HEADER.search(text):
                faults.append(f"{rel}: portable file includes a Windows header")
            here = rel.split(os.sep)[1]
            for there in set(PROJECT_INCLUDE.findall(text)) - {here}:
                if here == FLOOR:
                    faults.append(f"{rel}: the floor includes {there}/")
                elif there == ROOF:
                    faults.append(f"{rel}: includes the roof (app/)")
                elif here != ROOF:
                    edges.setdefault(here, set()).add(there)
    try:  # a cycle between subsystems
        graphlib.TopologicalSorter(edges).prepare()
    except graphlib.CycleError as e:
        faults.append("cycle: " + " -> ".join(e.args[1]))
    return faults


class Layers(TempCase):
    def test_the_tree_keeps_its_layers(self):
        self.assertEqual(layer_faults(ROOT), [])

    def test_each_rule_catches_its_fault(self):
        cases = {
            "portable windows": {"src/overlay/a.cpp": '#include <windows.h>\n'},
            "floor includes a subsystem": {"src/base/a.h": '#include "l10n/ui.h"\n'},
            "subsystem includes the roof": {"src/datapack/a_win.cpp": '#include "app/window_win.h"\n'},
            "cycle": {"src/checklist/a.h": '#include "datapack/b.h"\n', "src/datapack/b.h": '#include "checklist/a.h"\n'},
            # the roof may include everything, but a portable file of it no Windows header
            "roof": {"src/app/m.cpp": '#include "base/a.h"\n#include "overlay/b.h"\n#include <windows.h>\n'},
        }
        for name, files in cases.items():
            with self.subTest(name):
                for rel, text in files.items():
                    self.write(os.path.join(name, rel), text)
                self.assertEqual(len(layer_faults(os.path.join(self.dir, name))), 1, name)


if __name__ == "__main__":
    unittest.main()
