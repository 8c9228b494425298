"""Checks of scripts/gen_library.py: bad library files must stop the build with a message that
names the file, the line and the fault; a good file must produce a C++ table with its counts."""

import io
import os
import re
import subprocess
import sys
import tempfile
import unicodedata
import unittest
from contextlib import redirect_stdout

ROOT = os.environ.get("ZV_ROOT") or os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import blocks  # noqa: E402
import gen_library  # noqa: E402

GOOD_ENTRY = """[entrada]
titulo = {title}
sub = Arma · Fusil
texto = {text}
enlace = https://zenvoral.app/biblioteca/arma/{slug}
imagen = 0
"""


def fold(s):
    return unicodedata.normalize("NFD", s.lower()).encode("ascii", "ignore").decode()


def blocks_get_text(path, tid, lang):
    for b in blocks.parse_file(path)[1:]:
        if b.get("id") == tid:
            return b.get(lang)
    return None


def entry(title="Primera", text="Texto normal.", slug=None, extra=""):
    return GOOD_ENTRY.format(title=title, text=text, slug=slug or title.lower()) + extra


def library_file(entries, cat=3, count=None):
    count = len(entries) if count is None else count
    return f"# prueba\ncat = {cat}\ncuenta = {count}\n\n" + "\n".join(entries)


class GenLibraryCase(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.dir = self.tmp.name

    def tearDown(self):
        self.tmp.cleanup()

    def write(self, name, text):
        with open(os.path.join(self.dir, name), "w", encoding="utf-8") as f:
            f.write(text)

    def errors_for(self, text, name="03-arma.txt"):
        self.write(name, text)
        _, _, errors = gen_library.check_dir(self.dir)
        return errors

    def assertFails(self, text, *needles):
        errors = self.errors_for(text)
        self.assertTrue(errors, "expected the file to be rejected")
        joined = "\n".join(errors)
        self.assertIn("03-arma.txt:", joined)
        for n in needles:
            self.assertIn(n, joined)
        return joined


class RejectsBadInput(GenLibraryCase):
    def test_missing_or_bad_link(self):
        no_link = library_file([entry().replace("enlace = https://zenvoral.app/biblioteca/arma/primera\n", "")])
        self.assertFails(no_link, "no enlace")
        http = library_file([entry().replace("https://", "http://")])
        msg = self.assertFails(http, "must start with https://")
        self.assertIn("03-arma.txt:9:", msg)  # the line of the enlace field

    def test_duplicate_title(self):
        msg = self.assertFails(library_file([entry("Igual"), entry("Distinta"), entry("Igual")]),
                               "title 'Igual' already used")
        self.assertIn("at line 6", msg)

    def test_same_title_in_two_files_of_one_category(self):
        self.write("03-a.txt", library_file([entry("Repetida")]))
        errors = self.errors_for(library_file([entry("Repetida")]), name="03-b.txt")
        self.assertTrue(any("also in" in e for e in errors), errors)

    def test_ragged_table(self):
        table = "tabla = Arma\\tRPM\\tCargador\\nM4\\t850\\t30\\nAK-47\\t600\\n"
        msg = self.assertFails(library_file([entry(extra=table)]), "row 3 has 2 cells, the header has 3")
        self.assertIn("'Primera'", msg)
        self.assertFails(library_file([entry(extra="tabla = Arma\\tRPM\\nM4\\t\\n")]), "empty cell")

    def test_each_fault_is_named(self):
        fusil = "sub = Arma · Fusil"
        cases = [
            (library_file([entry().replace(fusil + "\n", "")]), "no sub"),
            (library_file([entry(text="")]), "no texto"),
            (library_file([entry("A"), entry("B")], count=3), "cuenta = 3 but the file has 2 entries"),
            (library_file([entry()], cat=14), "cat 14 outside 0..13"),
            ("cuenta = 1\n" + entry(), "header field 'cat' missing"),
            (library_file([entry(text="Bonificaciones:\\n- Daño +10%")]), "write headings in capitals"),
            (library_file([entry(text="BONIFICACIONES de marca\\n- Daño +10%")]), "mixes capitals and lower case"),
            (library_file([entry(text="RPM\\n850")]), "value line '850' must be followed by its label"),
            (library_file([entry(text="15%\\nBONIFICACIÓN")]), "value line '15%'"),
            (library_file([entry(text="15%\\n+10%\\nDaño")]), "value line '15%'"),
            (library_file([entry(text="•sin espacio")]), "needs a space after the mark"),
            (library_file([entry(text="a\\tb")]), "tab inside the body"),
            (library_file([entry(extra="color = rojo\n")]), "unknown field 'color'"),
            (library_file([entry()]).replace("[entrada]", "[arma]"), "unknown block [arma]"),
            ("autor = yo\n" + library_file([entry()]), "unknown header field 'autor'"),
            (library_file([entry(extra="titulo = Otra\n")]), "field 'titulo' given twice"),
            (library_file([entry(extra="galeria = 3\n")]), "galeria must be 'first,count'"),
            (library_file([entry().replace(fusil, "sub = Marca · Blindaje · blindaje")]), "repeats a tag"),
            (library_file([entry(text="Da un 12% más.")]), "write '2 %' with a space"),
            (library_file([entry(extra="tabla = Arma\\tBonus\\nM4\\t+5%\n")]), "with a space"),
        ]
        for text, needle in cases:
            with self.subTest(needle=needle):
                self.assertFails(text, needle)

    def test_fixed_mods_sit_in_their_recorded_slot(self):
        self.write("07-mod.txt", library_file([entry("Short Grip").replace("sub = Arma · Fusil",
                                                                            "sub = Accesorio bajo el cañón · Tipo largo")], cat=7))
        self.write("ranuras.txt", "[Bocacha]\npieza = Overclock Muzzle\n[Bajo el cañón]\npieza = Dropkick Grip\n")
        table = "tabla = Arma\\tRanura\\tPieza\\tBonificación\\nBluescreen\\t{}\\tDropkick Grip\\t+20 % de estabilidad\n"
        cases = [  # (body line or table slot, expected fault or None)
            ("- Bocacha: Overclock Muzzle (+20 % de cadencia de disparo)", None),
            ("- Bajo el cañón: Short Grip (+10 % de daño de golpe crítico)", None),
            ("- Bocacha: Dropkick Grip (+20 % de estabilidad)", "'Dropkick Grip' is a Bajo el cañón mod"),
            ("- Bocacha: Short Grip", "'Short Grip' is a Bajo el cañón mod (" ),
            ("- Mira: Lightning Sight (+20 % de velocidad de recarga)", "'Lightning Sight' has no slot record"),
            (table.format("Bajo el cañón"), None),
            (table.format("Bocacha"), "Bluescreen': 'Dropkick Grip' is a Bajo el cañón mod"),
        ]
        for line, fault in cases:
            with self.subTest(line=line):
                text = entry("Bluescreen", extra=line) if line.startswith("tabla") else entry("Bluescreen", text=line)
                errors = self.errors_for(library_file([text]))
                if fault is None:
                    self.assertEqual(errors, [])
                else:
                    self.assertTrue(any(fault in e and "03-arma.txt:" in e for e in errors), errors)

    def test_command_line_exit_status(self):
        self.write("03-arma.txt", library_file([entry("X"), entry("X")]))
        out = os.path.join(self.dir, "out.cpp")
        r = subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "gen_library.py"), self.dir, out],
                           capture_output=True, text=True)
        self.assertEqual(r.returncode, 1)
        self.assertIn("03-arma.txt:", r.stderr)
        self.assertFalse(os.path.exists(out), "nothing is written when the data is bad")


class AcceptsGoodInput(GenLibraryCase):
    BODY = ("Fusil de prueba con cargador amplio.\\nESTADÍSTICAS\\n850\\nDisparos por minuto\\n"
            "+10 %\\nDaño de arma\\n- Viñeta con guion\\n• Viñeta con punto\\n1. Paso uno\\n"
            "2. Paso dos\\nLínea con \\\\ barra y ¿pregunta?")

    def test_good_files_generate_grouped_table(self):
        self.write("05-talentos.txt", library_file([entry("Talento", slug="talento")], cat=5))
        self.write("03-arma.txt", library_file([
            entry("Fusil Ñandú", text=self.BODY, slug="fusil-nandu",
                  extra="tabla = Arma\\tRPM\\nM4\\t850\ngaleria = 2,3\nvideos = 1,1\n"),
            entry("Segunda"),
        ]))
        out = os.path.join(self.dir, "db.cpp")
        buf = io.StringIO()
        with redirect_stdout(buf):
            status = gen_library.main(["gen_library.py", self.dir, out])
        self.assertEqual(status, 0)
        self.assertIn("3 entries", buf.getvalue())
        self.assertIn("3:2", buf.getvalue())
        with open(out, encoding="ascii") as f:
            cpp = f.read()
        self.assertIn('#include "library/libentry.h"', cpp)
        self.assertIn("const int DB_BUILTIN_N = 3;", cpp)
        self.assertIn("DB_BUILTIN_PER_CAT[14] = {0, 0, 0, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};", cpp)
        # category 3 comes before 5 although its file sorts first anyway; file order is kept inside
        self.assertLess(cpp.index("Fusil"), cpp.index("Segunda"))
        self.assertLess(cpp.index("Segunda"), cpp.index('"Talento"'))
        self.assertIn("Fusil \\303\\221and\\303\\272", cpp)  # UTF-8 as octal escapes
        self.assertIn('"Arma\\tRPM\\nM4\\t850", 1, 1}', cpp)
        self.assertIn(", 0, 2, 3, ", cpp)
        self.assertNotIn("?", cpp.split("\n", 1)[1].replace("\\077", ""))

    def test_category_order_follows_cat_not_file_name(self):
        self.write("01-b.txt", library_file([entry("Nueve")], cat=9))
        self.write("02-a.txt", library_file([entry("Uno")], cat=1))
        entries, per_cat, errors = gen_library.check_dir(self.dir)
        self.assertEqual(errors, [])
        self.assertEqual([e.title for e in entries], ["Uno", "Nueve"])
        self.assertEqual(per_cat[1], 1)
        self.assertEqual(per_cat[9], 1)

    def test_repository_library_builds(self):
        folder = os.path.join(ROOT, "data", "library")
        if not os.path.isdir(folder) or not any(n.endswith(".txt") for n in os.listdir(folder)):
            self.skipTest("no library files yet")
        entries, per_cat, errors = gen_library.check_dir(folder)
        self.assertEqual(errors, [])
        self.assertGreater(sum(per_cat), 0)
        # the empty search result suggests words to try: each must find something in Spanish
        hint = blocks_get_text(os.path.join(ROOT, "data", "ui", "textos.txt"), "97", "es")
        corpus = fold(" ".join(" ".join((e.title, e.sub, e.text, e.table or "")) for e in entries))
        for word in re.findall(r'"([^"]+)"', hint):
            self.assertTrue(fold(word) in corpus, f"the search hint suggests '{word}', which the library never uses")


if __name__ == "__main__":
    unittest.main()
