"""Checks of scripts/gen_segments.py: the cutting matches the program's, bad translations stop
the build with file:line, and the translators' list reads back as a translation file."""

import os
import re
import unittest

from genutil import TempCase
import gen_segments  # noqa: E402

LIB = """cat = 3
cuenta = 1

[entrada]
titulo = Fusil de prueba
sub = Arma · Fusil de asalto · 850
texto = Un fusil fiable.\\nDAÑO\\n15 %\\nDaño de fusil\\nCadencia de 1,5 s
enlace = https://zenvoral.app/x
tabla = Nombre\\tDaño\\nFusil de prueba\\t7,2 %
"""


class GenSegments(TempCase):
    def setUp(self):
        super().setUp()
        self.lib, self.seg = os.path.dirname(self.write("lib/03-arma.txt", LIB)), os.path.join(self.dir, "seg")
        os.makedirs(self.seg)

    def translate(self, lang, pairs):
        self.write(f"seg/{lang}.txt", "".join(f"[segmento]\nes = {es}\ntr = {tr}\n\n" for es, tr in pairs))
        return gen_segments.generate(self.lib, self.seg)

    def test_segments_are_cut_like_the_program_and_sorted_by_bytes(self):
        self.write("videos/videos.txt", "[video]\nid = aB3_-x9Zq0k\ntexto = Ruta rápida · Incursión\n[referencias]\nlista = 0\n")
        segs, _, _, errors = gen_segments.generate(self.lib, self.seg)
        self.assertEqual(errors, [])
        # numbers alone (850, 15 %) are left out; 7,2 % stays (decimal comma to localise); a video
        # caption is one segment, not cut at the middle dot as subtitles are
        self.assertEqual(segs, sorted(["Fusil de prueba", "Arma", "Fusil de asalto", "Un fusil fiable.", "DAÑO",
                                       "Daño de fusil", "Cadencia de 1,5 s", "Nombre", "Daño", "7,2 %",
                                       "Ruta rápida · Incursión"], key=lambda s: s.encode()))

    def test_translations_must_keep_numbers_and_placeholders(self):
        cases = [
            ([("Cadencia de 1,5 s", "Rate of 1.5 s")], 0),
            ([("7,2 %", "7.2 %")], 0),
            ([("Cadencia de 1,5 s", "Rate of 15 s")], 1),
            ([("7,2 %", "7.2")], 1),
            ([("Arma", "Weapon\\tx")], 1),
            ([("Arma", "Weapon"), ("Arma", "Gun")], 1),
        ]
        for pairs, n_errors in cases:
            errors = self.translate("en", pairs)[3]
            self.assertEqual([e.startswith(os.path.join(self.seg, "en.txt:")) for e in errors], [True] * n_errors, pairs)

    def test_stale_translations_are_counted_and_left_out(self):
        _, table, stale, errors = self.translate("fr", [("Arma", "Arme"), ("Ya no existe", "N'existe plus")])
        self.assertEqual((table["fr"], stale["fr"], errors), ({"Arma": "Arme"}, 1, []))

    def test_list_for_translators_reads_back_once_filled(self):
        segs, table, _, _ = self.translate("de", [("Arma", "Waffe")])
        gen_segments.write_lists(os.path.join(self.dir, "out"), segs, table)
        with open(os.path.join(self.dir, "out", "de.txt"), encoding="utf-8") as f:
            todo = f.read()
        self.assertNotIn("es = Arma\n", todo)  # only what is missing
        self.write("seg/de.txt", re.sub(r"es = (.*)\ntr =\n", r"es = \1\ntr = \1\n", todo))
        _, table, _, errors = gen_segments.generate(self.lib, self.seg)
        self.assertEqual((errors, len(table["de"])), ([], len(segs) - 1))
        # in the program's table a missing translation is a null
        cpp = gen_segments.render_cpp(segs, table)
        self.assertIn(f"const int SEG_N = {len(segs)};", cpp)
        self.assertEqual(cpp.count("nullptr,"), 4 * len(segs) + 1)

if __name__ == "__main__":
    unittest.main()
