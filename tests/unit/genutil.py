"""Shared set-up of the generator tests: the repository root, the scripts on the import path, a
temporary folder with a file writer, and a generator run as the build runs it."""

import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.environ.get("ZV_ROOT") or os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "scripts"))


class TempCase(unittest.TestCase):
    def setUp(self):
        tmp = tempfile.TemporaryDirectory()
        self.addCleanup(tmp.cleanup)
        self.dir = tmp.name

    def write(self, rel, data):
        path = os.path.join(self.dir, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data.encode() if isinstance(data, str) else data)
        return path

    def run_script(self, script, *args):
        """The script from the command line: it must fail with the reason and write no output."""
        out = os.path.join(self.dir, "out.cpp")
        r = subprocess.run([sys.executable, os.path.join(ROOT, "scripts", script), *args, out],
                           capture_output=True, text=True)
        self.assertFalse(os.path.exists(out), "nothing is written when the data is bad")
        return r
