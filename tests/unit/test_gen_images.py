"""Checks of scripts/gen_images.py: remote pictures are published under the first 20 hex digits of
their SHA-256 with their exact size, and bad picture folders stop the build with the reason."""

import hashlib
import io
import os
import sys
import tempfile
import unittest
from contextlib import redirect_stdout

ROOT = os.environ.get("ZV_ROOT") or os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import gen_images  # noqa: E402

PNG = b"\x89PNG\r\n\x1a\n" + b"png body"
JPG = b"\xff\xd8\xff\xe0" + b"jpeg body"


class GenImagesCase(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.base = self.tmp.name
        self.dir = os.path.join(self.base, "images")
        for sub in ("embedded", "remote"):
            os.makedirs(os.path.join(self.dir, sub))

    def tearDown(self):
        self.tmp.cleanup()

    def put(self, rel, data):
        path = os.path.join(self.dir, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data.encode() if isinstance(data, str) else data)

    def run_gen(self, site=None):
        cpp, rc = os.path.join(self.base, "t.cpp"), os.path.join(self.base, "t.rc")
        with redirect_stdout(io.StringIO()):
            errors = gen_images.generate(self.dir, cpp, rc, site)
        if errors:
            return errors, None, None
        with open(cpp) as f, open(rc) as g:
            return [], f.read(), g.read()

    def test_names_and_sizes_come_from_the_files(self):
        a, b = JPG + b"a" * 100, JPG + b"b"
        self.put("remote/3001.jpg", a)
        self.put("remote/3000.jpg", b)
        self.put("embedded/1000.png", PNG)
        self.put("galeria.txt", "[imagen]\nid = 3001\npie = Mapa\n\n[imagen]\nid = 1000\n")
        site = os.path.join(self.base, "site")
        errors, cpp, rc = self.run_gen(site)
        self.assertEqual(errors, [])
        name_a = hashlib.sha256(a).hexdigest()[:20] + ".jpg"
        name_b = hashlib.sha256(b).hexdigest()[:20] + ".jpg"
        # sorted by id, whatever the listing order
        self.assertLess(cpp.index('{3000, "%s", %du}' % (name_b, len(b))),
                        cpp.index('{3001, "%s", %du}' % (name_a, len(a))))
        self.assertIn("IMGREMOTE_N = 2;", cpp)
        self.assertIn("GALID[] = {3001, 1000};", cpp)
        self.assertIn('GALCAP[] = {"Mapa", ""};', cpp)
        self.assertIn("1000 RCDATA", rc)
        self.assertNotIn("3000 RCDATA", rc)
        with open(os.path.join(site, name_a), "rb") as f:
            self.assertEqual(f.read(), a)

    def test_bad_folders_fail_with_the_reason(self):
        cases = [
            ("remote/3000.jpg", PNG, "not a JPG"),          # a PNG under a .jpg name
            ("remote/3000.png", PNG, "only jpg"),           # remote pictures are JPEG
            ("remote/2999.jpg", JPG, "outside"),            # embedded range
            ("embedded/999.png", PNG, "outside"),
            ("embedded/1000.png", b"", "bytes"),
            ("embedded/foto.png", PNG, "name must be"),
            ("embedded/1000.png", b"GIF89a", "not a PNG"),
        ]
        for rel, data, why in cases:
            with self.subTest(rel=rel, why=why):
                self.tearDown()
                self.setUp()
                self.put(rel, data)
                errors, _, _ = self.run_gen()
                self.assertTrue(any(why in e for e in errors), errors)

    def test_gallery_and_library_must_name_existing_pictures(self):
        self.put("remote/3000.jpg", JPG)
        self.put("galeria.txt", "[imagen]\nid = 3005\n")
        errors, _, _ = self.run_gen()
        self.assertTrue(any("3005" in e for e in errors), errors)

        self.put("galeria.txt", "[imagen]\nid = 3000\n")
        lib = os.path.join(self.base, "library")
        os.makedirs(lib)
        with open(os.path.join(lib, "01.txt"), "w", encoding="utf-8") as f:
            f.write("cat = 1\ncuenta = 2\n\n[entrada]\ntitulo = A\nimagen = 1007\n\n"
                    "[entrada]\ntitulo = B\nimagen = 0\ngaleria = 0,2\n")
        errors, _, _ = self.run_gen()
        self.assertTrue(any("imagen 1007" in e for e in errors), errors)
        self.assertTrue(any("galeria 0,2" in e for e in errors), errors)

    def test_the_real_folder_builds(self):
        self.dir = os.path.join(ROOT, "data", "images")
        errors, cpp, _ = self.run_gen()
        self.assertEqual(errors, [])
        self.assertIn("const ImgRemote IMGREMOTE[] = {", cpp)


if __name__ == "__main__":
    unittest.main()
