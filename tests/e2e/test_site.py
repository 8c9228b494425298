"""The web site in a real browser: build/site (./dev.sh site) served by the local test server and
opened in headless Chromium in each language: each renders its own language without console errors,
every picture, link and the download resolve here; screenshots go to build/site-shots/."""

import html
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from server import TestServer  # noqa: E402

ROOT = os.environ.get("ZV_ROOT") or os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SITE = os.path.join(ROOT, "build", "site")
SHOTS = os.path.join(ROOT, "build", "site-shots")
BROWSER = shutil.which("chromium") or shutil.which("chromium-browser")

# each language's heading, as the page must show it
TITLES = {"es": "Tu rutina de The Division 2, siempre a la vista",
          "en": "Your The Division 2 routine, always in sight",
          "fr": "Ta routine de The Division 2, toujours sous les yeux",
          "de": "Deine Routine in The Division 2, immer im Blick",
          "it": "La tua routine di The Division 2, sempre sotto gli occhi",
          "pt": "Sua rotina de The Division 2, sempre à vista"}


def refs(dom):
    """(tag, address) of every src and href in a page (Chromium writes attributes in double quotes)."""
    return [(t, html.unescape(a)) for t, a in re.findall(r'<(\w+)\s[^>]*?\b(?:src|href)="([^"]+)"', dom)]


def browse(url, *extra, shot=None):
    """(DOM after scripts ran, browser log) of one page in headless Chromium."""
    profile = tempfile.mkdtemp(prefix="zv-chromium-")
    args = [BROWSER, "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-extensions",
            "--disable-background-networking", "--disable-component-update", "--disable-sync",
            # no name resolves but this machine's, whatever the browser would fetch on its own
            "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
            "--enable-logging=stderr", "--v=0", f"--user-data-dir={profile}", "--window-size=1280,1500", *extra]
    try:
        dom = subprocess.run(args + ["--dump-dom", url], capture_output=True, text=True, timeout=90)
        if shot:
            subprocess.run(args + [f"--screenshot={shot}", url], capture_output=True, timeout=90)
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    return dom.stdout, dom.stderr


def console_errors(log):
    return [l for l in log.splitlines() if "Uncaught" in l or "CONSOLE" in l and "ERROR" in l]


@unittest.skipUnless(BROWSER, "Chromium is not installed (./dev.sh test installs Debian's chromium)")
@unittest.skipUnless(os.path.exists(os.path.join(SITE, "index.html")), "build/site is not built (./dev.sh site)")
class Site(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.srv = TestServer(SITE).start()
        os.makedirs(SHOTS, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        cls.srv.stop()

    def test_each_language_renders_without_errors_and_everything_resolves_here(self):
        for code, title in TITLES.items():
            with self.subTest(code):
                self.srv.statuses.clear()
                shot = os.path.join(SHOTS, f"index-{code}.png")
                dom, log = browse(self.srv.url(f"index.html?lang={code}"), shot=shot)
                self.assertIn(f'<html lang="{code}"', dom)
                self.assertIn(title, dom)
                self.assertEqual(console_errors(log), [])
                self.assertTrue(os.path.getsize(shot) > 10000, "screenshot")
                self.assertEqual([(p, s) for p, s in self.srv.statuses if s != 200], [])
                self.assertIn("/capturas/overlay.png", [p for p, _ in self.srv.statuses])
        # the browser's language is the default; every link stays on the site and resolves
        dom, log = browse(self.srv.url("index.html"), "--lang=de", "--accept-lang=de-DE,de")
        self.assertIn(TITLES["de"], dom)
        for tag, ref in refs(dom):
            self.assertFalse(ref.startswith(("http:", "https:", "//")), f"{tag} {ref} leaves the site")
            if not ref.startswith(("?", "data:")):
                with urllib.request.urlopen(self.srv.url(ref.split("?")[0])) as r:
                    self.assertGreater(len(r.read()), 100000 if ref.startswith("descargas/") else 0, ref)

    def test_feedback_page_shows_the_programs_details_as_text(self):
        dom, log = browse(self.srv.url("sugerencias.html?v=0.0.9&b=9&l=it&w=10.0.19045"),
                          shot=os.path.join(SHOTS, "sugerencias-it.png"))
        for text in ("Raccontaci cosa è successo", "Versione: 0.0.9", "Windows: 10.0.19045"):
            self.assertIn(text, dom)
        self.assertEqual(console_errors(log), [])
        dom, _ = browse(self.srv.url("sugerencias.html?v=%3Cimg%20src%3Dx%3E&l=en"))
        self.assertIn("Version: &lt;img src=x&gt;", dom)
        self.assertNotIn("/x", [p for p, _ in self.srv.statuses])


if __name__ == "__main__":
    unittest.main(verbosity=2)
