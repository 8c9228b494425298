"""The video catalogue generator: what it accepts, what it refuses, and the tables it writes."""

import unittest

from genutil import TempCase
import gen_videos  # noqa: E402

V = "[video]\nid = aB3_-x9Zq0k\ntexto = a\n"


class GenVideos(TempCase):
    def check(self, text):
        return gen_videos.check(self.write("videos.txt", text))

    def test_catalogue_and_references(self):
        videos, refs, errors = self.check("[video]\nid = aB3_-x9Zq0k\ntexto = Ruta de la incursión\nsegundo = 922\n\n"
                                          "[video]\nid = 0123456789a\ntexto = Otro\n\n[referencias]\nlista = 1 0, 1\n")
        self.assertEqual((videos, refs, errors),
                         ([("aB3_-x9Zq0k", "Ruta de la incursión", 922), ("0123456789a", "Otro", 0)], [1, 0, 1], []))
        # an empty catalogue still builds: an array is never empty
        self.assertEqual(self.check("[referencias]\nlista =\n"), ([], [], []))
        self.assertIn("VIDID[1]", gen_videos.render([], []))

    def test_refusals(self):
        cases = [
            ("[video]\nid = short\ntexto = a\n", "not 11 characters"),
            ("[video]\nid = aB3_-x9Zq/k\ntexto = a\n", "not 11 characters"),
            (V + V.replace("texto = a", "texto = b"), "already at line"),
            ("[video]\nid = aB3_-x9Zq0k\n", "empty or missing texto"),
            (V + "segundo = 1:30\n", "segundo '1:30'"),
            (V + "segundo = 360000\n", "segundo '360000'"),
            (V + "autor = b\n", "unknown key 'autor'"),
            (V + "[referencias]\nlista = 0 1\n", "'1' is not the number"),
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
