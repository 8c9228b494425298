"""Checks of scripts/gen_library.py: bad library files must stop the build with a message that
names the file, the line and the fault; a good file must produce a C++ table with its counts."""

import io
import os
import re
import unicodedata
import unittest
from contextlib import redirect_stdout

from genutil import ROOT, TempCase
import blocks  # noqa: E402
import gen_library  # noqa: E402

FUSIL = "sub = Arma · Fusil"


def entry(title="Primera", text="Texto normal.", extra=""):
    return (f"[entrada]\ntitulo = {title}\n{FUSIL}\ntexto = {text}\n"
            f"enlace = https://zenvoral.app/biblioteca/arma/{title.lower()}\nimagen = 0\n{extra}")


def library_file(entries, cat=3, count=None):
    count = len(entries) if count is None else count
    return f"# prueba\ncat = {cat}\ncuenta = {count}\n\n" + "\n".join(entries)


class GenLibrary(TempCase):
    def errors_for(self, text, name="03-arma.txt"):
        self.write(name, text)
        return gen_library.check_dir(self.dir)[2]

    def test_each_fault_is_named_with_file_and_line(self):
        cases = [  # the entry's lines: 5 [entrada], 6 titulo, 7 sub, 8 texto, 9 enlace
            (library_file([entry().replace("enlace", "otro")]), "has no enlace"),
            (library_file([entry().replace("https://", "http://")]), "03-arma.txt:9: link of 'Primera' must start with https://"),
            (library_file([entry("Igual"), entry("Distinta"), entry("Igual")]), ":20: title 'Igual' already used at line 6"),
            (library_file([entry(extra="tabla = Arma\\tRPM\\tCargador\\nM4\\t850\\t30\\nAK-47\\t600\\n")]),
             ":11: 'Primera': table row 3 has 2 cells, the header has 3"),
            (library_file([entry("A"), entry("B")], count=3), "cuenta = 3 but the file has 2 entries"),
            (library_file([entry()], cat=14), "cat 14 outside 0..13"),
            ("cuenta = 1\n" + entry(), "header field 'cat' missing"),
            (library_file([entry(text="Bonificaciones:\\n- Daño +10 %")]), "03-arma.txt:8: 'Primera': 'Bonificaciones:' reads as a heading"),
            (library_file([entry(text="BONIFICACIONES de marca\\n- Daño +10 %")]), "mixes capitals and lower case"),
            (library_file([entry(extra="tabla = Arma\\tRPM\\nM4\\t\\n")]), "empty cell"),
            (library_file([entry(text="RPM\\n850")]), "value line '850' must be followed by its label"),
            (library_file([entry(text="15 %\\nBONIFICACIÓN")]), "value line '15 %'"),  # a heading after it
            (library_file([entry(text="•sin espacio")]), "needs a space after the mark"),
            (library_file([entry(text="a\\tb")]), "tab inside the body"),
            (library_file([entry(extra="color = rojo\n")]), ":11: unknown field 'color'"),
            (library_file([entry()]).replace("[entrada]", "[arma]"), "unknown block [arma]"),
            ("autor = yo\n" + library_file([entry()]), "unknown header field 'autor'"),
            (library_file([entry(extra="titulo = Otra\n")]), "field 'titulo' given twice"),
            (library_file([entry(extra="galeria = 3\n")]), "galeria must be 'first,count'"),
            (library_file([entry().replace(FUSIL, "sub = Marca · Blindaje · blindaje")]), "repeats a tag"),
            (library_file([entry(text="Da un 12% más.")]), "write '2 %' with a space"),
            (library_file([entry(extra="tabla = Arma\\tBonus\\nM4\\t+5%\n")]), "with a space"),  # in a table too
        ]
        for text, needle in cases:
            with self.subTest(needle=needle):
                errors = self.errors_for(text)
                self.assertTrue(any(needle in e and e.startswith(os.path.join(self.dir, "03-arma.txt:"))
                                    for e in errors), errors)

    def test_same_title_in_two_files_of_one_category(self):
        self.write("03-a.txt", library_file([entry("Repetida")]))
        self.assertTrue(any("also in" in e for e in self.errors_for(library_file([entry("Repetida")]), "03-b.txt")))

    def test_fixed_mods_sit_in_their_recorded_slot(self):
        self.write("07-mod.txt", library_file([entry("Short Grip").replace(FUSIL, "sub = Accesorio bajo el cañón · Tipo largo")], cat=7))
        self.write("ranuras.txt", "[Bocacha]\npieza = Overclock Muzzle\n[Bajo el cañón]\npieza = Dropkick Grip\n")
        table = "tabla = Arma\\tRanura\\tPieza\\tBonificación\\nBluescreen\\t{}\\tDropkick Grip\\t+20 % de estabilidad\n"
        cases = [  # (body line or table slot, expected fault or None)
            ("- Bocacha: Overclock Muzzle (+20 % de cadencia de disparo)", None),
            ("- Bajo el cañón: Short Grip (+10 % de daño de golpe crítico)", None),
            ("- Bocacha: Dropkick Grip (+20 % de estabilidad)", "'Dropkick Grip' is a Bajo el cañón mod"),
            ("- Bocacha: Short Grip", "'Short Grip' is a Bajo el cañón mod ("),
            ("- Mira: Lightning Sight (+20 % de velocidad de recarga)", "'Lightning Sight' has no slot record"),
            (table.format("Bajo el cañón"), None),
            (table.format("Bocacha"), "Bluescreen': 'Dropkick Grip' is a Bajo el cañón mod"),
        ]
        for line, fault in cases:
            with self.subTest(line=line):
                text = entry("Bluescreen", extra=line) if line.startswith("tabla") else entry("Bluescreen", text=line)
                errors = self.errors_for(library_file([text]))
                self.assertEqual([fault in e and "03-arma.txt:" in e for e in errors], [True] if fault else [])

    def test_command_line_exit_status(self):
        self.write("03-arma.txt", library_file([entry("X"), entry("X")]))
        r = self.run_script("gen_library.py", self.dir)
        self.assertEqual(r.returncode, 1)
        self.assertIn("03-arma.txt:", r.stderr)

    def test_good_files_generate_a_table_grouped_by_category(self):
        self.write("01-talentos.txt", library_file([entry("Talento")], cat=5))
        self.write("03-arma.txt", library_file([entry("Fusil Ñandú", extra="tabla = Arma\\tRPM\\nM4\\t850\n"), entry("Segunda")]))
        out = os.path.join(self.dir, "db.cpp")
        with redirect_stdout(io.StringIO()):
            self.assertEqual(gen_library.main(["gen_library.py", self.dir, out]), 0)
        with open(out, encoding="ascii") as f:
            cpp = f.read()
        self.assertIn("DB_BUILTIN_PER_CAT[14] = {0, 0, 0, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};", cpp)
        # category 3 before 5 although its file sorts last; file order is kept inside; UTF-8 as octal escapes
        self.assertLess(cpp.index('"Fusil \\303\\221and\\303\\272"'), cpp.index("Segunda"))
        self.assertLess(cpp.index("Segunda"), cpp.index('"Talento"'))

    def test_search_hint_words_are_in_the_library(self):
        # the empty search result suggests words to try: each must find something in Spanish
        hint = next(b.get("es") for b in blocks.parse_file(os.path.join(ROOT, "data", "ui", "textos.txt"))[1:]
                    if b.get("id") == "97")

        def fold(s):
            return unicodedata.normalize("NFD", s.lower()).encode("ascii", "ignore").decode()
        entries = gen_library.check_dir(os.path.join(ROOT, "data", "library"))[0]
        corpus = fold(" ".join(" ".join((e.title, e.sub, e.text, e.table or "")) for e in entries))
        for word in re.findall(r'"([^"]+)"', hint):
            self.assertIn(fold(word), corpus, f"the search hint suggests '{word}', which the library never uses")


if __name__ == "__main__":
    unittest.main()
