"""Checks of scripts/gen_images.py: remote pictures are published under the first 20 hex digits of
their SHA-256 with their exact size, and bad picture folders stop the build with the reason."""

import hashlib
import io
import os
import unittest
from contextlib import redirect_stdout

from genutil import TempCase
import gen_images  # noqa: E402

PNG = b"\x89PNG\r\n\x1a\n" + b"png body"
JPG = b"\xff\xd8\xff\xe0" + b"jpeg body"


class GenImages(TempCase):
    def run_gen(self, folder=None, site=None):
        cpp, rc = os.path.join(self.dir, "t.cpp"), os.path.join(self.dir, "t.rc")
        with redirect_stdout(io.StringIO()):
            errors = gen_images.generate(folder or os.path.join(self.dir, "images"), cpp, rc, site)
        if errors:
            return errors, None, None
        with open(cpp) as f, open(rc) as g:
            return [], f.read(), g.read()

    def test_names_and_sizes_come_from_the_files(self):
        a, b = JPG + b"a" * 100, JPG + b"b"
        self.write("images/remote/3001.jpg", a)
        self.write("images/remote/3000.jpg", b)
        self.write("images/embedded/1000.png", PNG)
        self.write("images/galeria.txt", "[imagen]\nid = 3001\npie = Mapa\n\n[imagen]\nid = 1000\n")
        errors, cpp, rc = self.run_gen(site=os.path.join(self.dir, "site"))
        self.assertEqual(errors, [])
        name_a = hashlib.sha256(a).hexdigest()[:20] + ".jpg"
        name_b = hashlib.sha256(b).hexdigest()[:20] + ".jpg"
        # sorted by id, whatever the listing order
        self.assertLess(cpp.index('{3000, "%s", %du}' % (name_b, len(b))),
                        cpp.index('{3001, "%s", %du}' % (name_a, len(a))))
        self.assertIn("GALID[] = {3001, 1000};", cpp)
        self.assertEqual([line.split()[0] for line in rc.splitlines() if " RCDATA " in line], ["1000"])
        with open(os.path.join(self.dir, "site", name_a), "rb") as f:
            self.assertEqual(f.read(), a)

    def test_bad_folders_and_references_fail_with_the_reason(self):
        library = ("cat = 1\ncuenta = 2\n\n[entrada]\ntitulo = A\nimagen = 1007\n\n"
                   "[entrada]\ntitulo = B\nimagen = 0\ngaleria = 0,2\n")
        cases = [
            ({"remote/3000.jpg": PNG}, "not a JPG"),  # a PNG under a .jpg name
            ({"remote/3000.png": PNG}, "only jpg"),  # remote pictures are JPEG
            ({"remote/2999.jpg": JPG}, "outside"),  # embedded range
            ({"embedded/999.png": PNG}, "outside"),
            ({"embedded/1000.png": b""}, "bytes"),
            ({"embedded/foto.png": PNG}, "name must be"),
            ({"embedded/1000.png": b"GIF89a"}, "not a PNG"),
            ({"remote/3000.jpg": JPG, "galeria.txt": "[imagen]\nid = 3005\n"}, "3005"),
            ({"galeria.txt": "[imagen]\nid = 3000\n", "remote/3000.jpg": JPG, "../library/01.txt": library}, "imagen 1007"),
            ({"galeria.txt": "[imagen]\nid = 3000\n", "remote/3000.jpg": JPG, "../library/01.txt": library}, "galeria 0,2"),
        ]
        for n, (files, why) in enumerate(cases):
            with self.subTest(why=why):
                for rel, data in files.items():
                    self.write(os.path.join(f"{n}/images", rel), data)
                errors = self.run_gen(os.path.join(self.dir, f"{n}/images"))[0]
                self.assertTrue(any(why in e for e in errors), errors)


if __name__ == "__main__":
    unittest.main()
