"""The UI text generator refuses tables that would break a caller's format arguments."""

import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.environ.get("ZV_ROOT") or os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import gen_ui  # noqa: E402


def table(overrides):
    """A complete table where every id has es/en, with some blocks replaced."""
    out = []
    for i in range(gen_ui.COUNT):
        body = overrides.get(i, "es = texto %d\nen = text %d\n" % (i, i) if i != 17 else "es =\nen =\n")
        out.append("[texto]\nid = %d\n%s" % (i, body))
    return "\n".join(out)


class GenUi(unittest.TestCase):
    def check(self, text):
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False, encoding="utf-8") as f:
            f.write(text)
        try:
            return gen_ui.check(f.name)[1]
        finally:
            os.unlink(f.name)

    def test_good_table_passes(self):
        self.assertEqual(self.check(table({5: "es = a %ls b %d\nfr = x %ls y %d\n"})), [])

    def test_placeholders_must_match_in_order(self):
        errs = self.check(table({5: "es = a %ls b %d\nde = x %d y %ls\n"}))
        self.assertTrue(any("id 5 'de' placeholders" in e for e in errs), errs)
        errs = self.check(table({6: "es = %d %%\nit = %d\n"}))
        self.assertTrue(any("id 6 'it'" in e for e in errs), errs)

    def test_tabs_and_line_breaks_are_kept(self):
        errs = self.check(table({34: "es = Menú\\t%ls\npt = Menu %ls\n", 57: "es = a\\nb\nfr = a b\n"}))
        self.assertTrue(any("id 34 'pt' has 0 tabs" in e for e in errs), errs)
        self.assertTrue(any("id 57 'fr' has 0 line breaks" in e for e in errs), errs)

    def test_missing_duplicate_and_unknown(self):
        text = table({}).replace("[texto]\nid = 200\n", "[texto]\nid = 199\n", 1)
        errs = self.check(text)
        self.assertTrue(any("appears twice" in e for e in errs), errs)
        self.assertTrue(any("ids missing: [200]" in e for e in errs), errs)
        errs = self.check(table({3: "es = x\nxx = y\n", 17: "es = no vacío\n"}))
        self.assertTrue(any("unknown language key 'xx'" in e for e in errs), errs)
        self.assertTrue(any("id 17 must stay empty" in e for e in errs), errs)

    def test_build_fails_with_a_message(self):
        with tempfile.TemporaryDirectory() as d:
            src = os.path.join(d, "t.txt")
            with open(src, "w", encoding="utf-8") as f:
                f.write(table({9: "es = %ls\nen = none\n"}))
            r = subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "gen_ui.py"), src, os.path.join(d, "o.cpp")],
                               capture_output=True, text=True)
            self.assertEqual(r.returncode, 1)
            self.assertIn("id 9 'en' placeholders", r.stderr)
            self.assertFalse(os.path.exists(os.path.join(d, "o.cpp")))


if __name__ == "__main__":
    unittest.main()
