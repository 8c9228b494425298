"""The video catalogue generator: what it accepts, what it refuses, and the tables it writes."""

import os
import sys
import tempfile
import unittest

ROOT = os.environ.get("ZV_ROOT") or os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import gen_videos  # noqa: E402

GOOD = ("[video]\nid = aB3_-x9Zq0k\ntexto = Ruta de la incursión\nsegundo = 922\n\n"
        "[video]\nid = 0123456789a\ntexto = Otro\n\n[referencias]\nlista = 1 0, 1\n")


class GenVideos(unittest.TestCase):
    def check(self, text):
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False, encoding="utf-8") as f:
            f.write(text)
        try:
            return gen_videos.check(f.name)
        finally:
            os.unlink(f.name)

    def test_catalogue_and_references(self):
        videos, refs, errors = self.check(GOOD)
        self.assertEqual(errors, [])
        self.assertEqual(videos, [("aB3_-x9Zq0k", "Ruta de la incursión", 922), ("0123456789a", "Otro", 0)])
        self.assertEqual(refs, [1, 0, 1])
        cpp = gen_videos.render(videos, refs)
        self.assertIn("const int VIDSTART[2] = {922, 0};", cpp)
        self.assertIn("const int VIDREF[3] = {1, 0, 1};", cpp)
        self.assertIn("const int VIDREF_N = 3;", cpp)

    def test_an_empty_catalogue_still_builds(self):
        videos, refs, errors = self.check("[referencias]\nlista =\n")
        self.assertEqual((videos, refs, errors), ([], [], []))
        cpp = gen_videos.render([], [])
        self.assertIn("const int VID_N = 0;", cpp)
        self.assertIn("VIDID[1]", cpp)  # an array is never empty

    def test_refusals(self):
        cases = [
            ("[video]\nid = short\ntexto = a\n", "not 11 characters"),
            ("[video]\nid = aB3_-x9Zq0k!\ntexto = a\n", "not 11 characters"),
            ("[video]\nid = aB3_-x9Zq/k\ntexto = a\n", "not 11 characters"),
            ("[video]\nid = aB3_-x9Zq0k\ntexto = a\n[video]\nid = aB3_-x9Zq0k\ntexto = b\n", "already at line"),
            ("[video]\nid = aB3_-x9Zq0k\n", "empty or missing texto"),
            ("[video]\nid = aB3_-x9Zq0k\ntexto = a\nsegundo = 1:30\n", "segundo '1:30'"),
            ("[video]\nid = aB3_-x9Zq0k\ntexto = a\nsegundo = 360000\n", "segundo '360000'"),
            ("[video]\nid = aB3_-x9Zq0k\ntexto = a\nautor = b\n", "unknown key 'autor'"),
            ("[video]\nid = aB3_-x9Zq0k\ntexto = a\n[referencias]\nlista = 0 1\n", "'1' is not the number"),
            ("[referencias]\nlista = -1\n", "'-1' is not the number"),
            ("[galeria]\n", "unknown block"),
            ("id = x\n", "outside a block"),
            ("[referencias]\nlista =\n[referencias]\nlista =\n", "second [referencias]"),
        ]
        for text, want in cases:
            errors = self.check(text)[2]
            self.assertTrue(any(want in e for e in errors), (text, errors))


if __name__ == "__main__":
    unittest.main()
