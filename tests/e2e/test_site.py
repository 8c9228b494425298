"""The web site in a real browser: build/site (./dev.sh site) served by the local test server
and opened in headless Chromium in each language. Each page renders its own language without
console errors, every picture and the download resolve, nothing is asked of another host;
screenshots go to build/site-shots/."""

import html.parser
import os
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


class Links(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.refs = []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        for k in ("src", "href"):
            if a.get(k):
                self.refs.append((tag, a[k]))


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

    def console_errors(self, log):
        return [l for l in log.splitlines() if "CONSOLE" in l and ("ERROR" in l or "Uncaught" in l)
                or "Uncaught" in l]

    def test_each_language_renders_without_errors_and_everything_resolves(self):
        for code, title in TITLES.items():
            with self.subTest(code):
                self.srv.statuses.clear()
                shot = os.path.join(SHOTS, f"index-{code}.png")
                dom, log = browse(self.srv.url(f"index.html?lang={code}"), shot=shot)
                self.assertIn(f'<html lang="{code}"', dom)
                self.assertIn(title, dom)
                self.assertEqual(self.console_errors(log), [])
                self.assertTrue(os.path.getsize(shot) > 10000, "screenshot")
                bad = [(p, s) for p, s in self.srv.statuses if s != 200]
                self.assertEqual(bad, [])
                self.assertIn("/capturas/overlay.png", [p for p, _ in self.srv.statuses])

    def test_browser_language_is_the_default_and_pages_link_only_here(self):
        dom, log = browse(self.srv.url("index.html"), "--lang=de", "--accept-lang=de-DE,de")
        self.assertIn(TITLES["de"], dom)
        self.assertEqual(self.console_errors(log), [])
        links = Links()
        links.feed(dom)
        for tag, ref in links.refs:
            self.assertFalse(ref.startswith(("http:", "https:", "//")), f"{tag} {ref} leaves the site")
            if ref.startswith(("?", "data:")):
                continue
            with urllib.request.urlopen(self.srv.url(ref.split("?")[0])) as r:
                self.assertEqual(r.status, 200, ref)
        download = [r for t, r in links.refs if r.startswith("descargas/")]
        self.assertEqual(len(download), 1)
        with urllib.request.urlopen(self.srv.url(download[0])) as r:
            self.assertGreater(len(r.read()), 100000, "the download is the program")

    def test_feedback_page_shows_the_programs_details_as_text(self):
        q = "v=0.0.9&b=9&l=it&w=10.0.19045"
        dom, log = browse(self.srv.url("sugerencias.html?" + q), shot=os.path.join(SHOTS, "sugerencias-it.png"))
        self.assertIn("Raccontaci cosa è successo", dom)
        self.assertIn("Versione: 0.0.9", dom)
        self.assertIn("Windows: 10.0.19045", dom)
        self.assertEqual(self.console_errors(log), [])
        dom, _ = browse(self.srv.url("sugerencias.html?v=%3Cimg%20src%3Dx%3E&l=en"))
        self.assertIn("Version: &lt;img src=x&gt;", dom)
        self.assertNotIn("/x", [p for p, _ in self.srv.statuses])

    def test_site_files_are_what_the_program_reads(self):
        with open(os.path.join(SITE, "datos.txt"), "rb") as f:
            pack = f.read()
        with open(os.path.join(ROOT, "data", "pack", "datos.txt"), "rb") as f:
            self.assertEqual(pack, f.read().removeprefix(b"\xef\xbb\xbf"))
        with open(os.path.join(SITE, "version.txt"), encoding="utf-8") as f:
            manifest = f.read()
        self.assertTrue(manifest.startswith("# ZENVORAL-VERSION\nversion = 0.0.9\ncompilacion = 9\n"))
        self.assertIn("instalador = https://", manifest)
        for name in os.listdir(os.path.join(SITE, "imagenes")):
            import hashlib
            with open(os.path.join(SITE, "imagenes", name), "rb") as f:
                self.assertEqual(hashlib.sha256(f.read()).hexdigest()[:20] + ".jpg", name)


if __name__ == "__main__":
    unittest.main(verbosity=2)
