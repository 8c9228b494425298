"""The UI text generator refuses tables that would break a caller's format arguments."""

import unittest

from genutil import TempCase
import gen_ui  # noqa: E402


def table(overrides):
    """A complete table where every id has es/en, with some blocks replaced."""
    out = []
    for i in range(gen_ui.COUNT):
        body = overrides.get(i, "es = texto %d\nen = text %d\n" % (i, i) if i != 17 else "es =\nen =\n")
        out.append("[texto]\nid = %d\n%s" % (i, body))
    return "\n".join(out)


class GenUi(TempCase):
    def test_each_fault_is_named(self):
        cases = [
            (table({5: "es = a %ls b %d\nfr = x %ls y %d\n"}), ),
            (table({5: "es = a %ls b %d\nde = x %d y %ls\n"}), "id 5 'de' placeholders"),
            (table({6: "es = %d %%\nit = %d\n"}), "id 6 'it'"),
            (table({34: "es = Menú\\t%ls\npt = Menu %ls\n"}), "id 34 'pt' has 0 tabs"),
            (table({57: "es = a\\nb\nfr = a b\n"}), "id 57 'fr' has 0 line breaks"),
            (table({}).replace("[texto]\nid = 200\n", "[texto]\nid = 199\n", 1), "appears twice", "ids missing: [200]"),
            (table({3: "es = x\nxx = y\n"}), "unknown language key 'xx'"),
            (table({17: "es = no vacío\n"}), "id 17 must stay empty"),
        ]
        for text, *needles in cases:
            with self.subTest(needles=needles):
                errors = gen_ui.check(self.write("t.txt", text))[1]
                self.assertEqual([n in e for n, e in zip(needles, errors)], [True] * len(errors), errors)
                self.assertEqual(len(errors), len(needles))

    def test_build_fails_with_a_message(self):
        r = self.run_script("gen_ui.py", self.write("t.txt", table({9: "es = %ls\nen = none\n"})))
        self.assertEqual(r.returncode, 1)
        self.assertIn("id 9 'en' placeholders", r.stderr)


if __name__ == "__main__":
    unittest.main()
