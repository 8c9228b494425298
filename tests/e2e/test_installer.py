"""The setup program (installer/zenvoral.nsi, built with makensis) and the self-update under Wine,
against a local site: A (this build) installed silently with what it registers; the update mode
waits for the running program, then replaces and restarts it; every fault of B's download (the same
program, next build, in its own setup) leaves A running; then B comes up with the player's data
untouched; a silent uninstall removes the program and keeps the data."""

import hashlib
import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule, tearDownModule  # noqa: E402,F401
from server import TestServer  # noqa: E402

LOCAL = os.path.join(h.PREFIX, "drive_c", "users", h.USER, "AppData", "Local")
INSTDIR = os.path.join(LOCAL, "Programs", "Zenvoral")
INSTALLED = os.path.join(INSTDIR, "Zenvoral.exe")
UNINSTALLER = os.path.join(INSTDIR, "Desinstalar.exe")
SHORTCUT = os.path.join(os.path.dirname(h.APPDATA), "Microsoft", "Windows", "Start Menu", "Programs", "Zenvoral.lnk")
UNINST_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zenvoral"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
WIN_INSTALLED = r"C:\users\%s\AppData\Local\Programs\Zenvoral\Zenvoral.exe" % h.USER
FILES = os.path.join(h.BUILD, "e2e-update")
B = "b/Zenvoral-Setup-0.0.9.exe"


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def make_setup(out_dir, exe=None):
    r = subprocess.run([os.path.join(h.ROOT, "scripts", "package.sh"), h.BUILD, out_dir] + ([exe] if exe else []),
                       capture_output=True, text=True, timeout=300)
    if r.returncode:
        raise RuntimeError(r.stdout + r.stderr)
    return r.stdout.strip().splitlines()[-1]


def run_setup(path, *args, wait=True):
    p = subprocess.Popen([h.RUNNER, path] + list(args), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if wait:
        p.wait(180)
    return p


def uninstall():
    """Silent uninstall; the uninstaller runs on from a copy of itself, so wait for its work."""
    if os.path.exists(UNINSTALLER):
        run_setup(UNINSTALLER, "/S")
        h.wait_for(lambda: not os.path.exists(UNINSTALLER) and h.reg_value(UNINST_KEY, "DisplayName") is None, 60, 0.5)


def registered():
    return [h.reg_value(UNINST_KEY, v) for v in ("DisplayName", "DisplayVersion", "DisplayIcon")] + \
        [h.reg_value(RUN_KEY, "Zenvoral")]


@unittest.skipUnless(shutil.which("makensis"), "makensis missing")
class Installer(h.ProgramTest):
    def tearDown(self):
        super().tearDown()
        uninstall()

    def offer(self, path, sha=None):
        """A manifest offering B from path; a manual check (tray 110) opens the update window and
        "Actualizar ahora" (or where it would be) is pressed."""
        self.srv.files["/version.txt"] = (
            f"# ZENVORAL-VERSION\nversion = 0.0.9\ncompilacion = 10\ninstalador = {self.srv.url(path)}\n"
            "notas = Notas de prueba\\nSegunda línea\nnotas.en = Test notes\n"
            + (f"sha256 = {sha}\n" if sha else "")).encode("utf-8")
        self.assertTrue(h.post(h.WM_COMMAND, 110, 0))
        self.assertTrue(h.wait_for(lambda: h.windows("^Actualizaci"), 20), h.log_lines())
        time.sleep(0.5)
        x, y, w, hh = h.geometry(h.windows("^Actualizaci")[0])
        h.click(x + w - 4 - 119, y + hh - 4 - 42)
        return x, y, w, hh

    def restarted(self, before):
        """A new copy started with --reinicio."""
        for pid in set(h.program_pids()) - set(before):
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                if b"--reinicio" in f.read():
                    return True
        return False

    def test_install_update_and_uninstall(self):
        uninstall()
        shutil.rmtree(FILES, ignore_errors=True)
        setup_a = make_setup(os.path.join(h.BUILD, "setup"))
        setup_b = make_setup(os.path.join(FILES, "b"), os.path.join(h.BUILD, "ZenvoralNext.exe"))
        self.srv = TestServer(FILES).start()
        self.addCleanup(self.srv.stop)
        self.assertTrue(os.path.basename(setup_a).startswith("Zenvoral-Setup-0.0.9"))
        run_setup(setup_a, "/S")
        self.assertEqual(digest(INSTALLED), digest(h.EXE), "the program is the one built")
        self.assertTrue(os.path.exists(SHORTCUT))
        self.assertEqual(registered(), ["Zenvoral", "0.0.9", WIN_INSTALLED + ",0", '"%s"' % WIN_INSTALLED])
        self.assertIn("Desinstalar.exe", h.reg_value(UNINST_KEY, "UninstallString"))

        # the update mode waits while the program runs, then replaces and restarts it; the player
        # switched autostart off, and an update must not switch it on again
        h.set_settings(dict(h.site_urls(self.srv.url("")), HoraReinicio="7", Opacidad="200"))
        self.run_program(exe=INSTALLED)
        self.wait_started()
        subprocess.run([h.RUNNER, "reg", "delete", RUN_KEY, "/v", "Zenvoral", "/f"], capture_output=True, timeout=60)
        first = h.program_pids()
        os.utime(INSTALLED, (1, 1))  # the update's copy will be newer
        update = run_setup(setup_a, "/S", "/ACTUALIZAR", wait=False)
        self.procs.append(update)
        time.sleep(4)
        self.assertIsNone(update.poll(), "the setup waits while the program runs")
        self.assertEqual(os.path.getmtime(INSTALLED), 1, "nothing replaced while the program runs")
        self.assertTrue(h.post(0x0312, 4, 0), "quit key sent")  # WM_HOTKEY, quit
        self.assertEqual(update.wait(60), 0)
        self.assertNotEqual(os.path.getmtime(INSTALLED), 1, "the program was replaced")
        self.assertTrue(h.wait_for(lambda: self.restarted(first), 30), "the new program was started with --reinicio")
        self.assertTrue(h.wait_for(lambda: sum("Inicio " in l for l in h.log_lines()) >= 2, 30))
        self.assertIsNone(h.reg_value(RUN_KEY, "Zenvoral"), "autostart left as the player set it")

        # every fault of B's download leaves A running, its failure told in the warning colour (an
        # altered body and a 404 are the Wine download test's)
        a = h.program_pids()
        sha_b = digest(setup_b)
        for name, path, sha, said in [("wrong-hash", B, "0" * 64, "Instalador descartado"),
                                      ("cut", "_cut/" + B, sha_b, "Descarga fallida (HTTP 200)"),
                                      ("stall", "_stall/" + B + "?s=4", sha_b, "Descarga fallida (HTTP 200)"),
                                      ("no-sha", B, None, None)]:  # only the web page offered
            with self.subTest(name):
                n = len(h.log_lines())
                self.srv.requests.clear()
                x, y, w, hh = self.offer(path, sha)
                self.assertTrue(h.wait_for(lambda: said is None or any(said in l for l in h.log_lines()[n:]), 40))
                time.sleep(2 if said is None else 1)
                self.assertEqual(sorted(h.program_pids()), sorted(a), "A keeps running, nothing else started")
                self.assertFalse(said is None and "/" + B in self.srv.paths(), "nothing downloaded")
                self.assertFalse(any("(10)" in l for l in h.log_lines()))
                self.assertGreater(h.count(h.shot("update-" + name), (x + 24, y + hh - 100, w - 48, 40),
                                           (230, 120, 110)), 20, "the failure line")

        # B with its digest: installed and started, the player's data untouched
        before = h.ini()
        self.offer(B, sha_b)
        self.assertTrue(h.logged("Inicio 0.0.9 (10)", 60), h.log_lines())
        self.assertTrue(h.wait_for(lambda: h.program_pids() and not set(h.program_pids()) & set(a), 20))
        self.assertEqual(digest(INSTALLED), digest(os.path.join(h.BUILD, "ZenvoralNext.exe")), "B is installed")
        time.sleep(2)
        for sec, keys in before.items():
            kept = dict(h.ini().get(sec, []))
            self.assertEqual({k: kept.get(k) for k, _ in keys if k != "ultimaComprobacion"},
                             {k: v for k, v in keys if k != "ultimaComprobacion"}, f"[{sec}] kept")

        # a silent uninstall: everything of the program goes, the player's data stays
        h.kill_all()
        cache = os.path.join(LOCAL, "Zenvoral", "imagenes")
        os.makedirs(cache, exist_ok=True)
        with open(h.INI, "rb") as f:
            data = f.read()
        uninstall()
        self.assertFalse(os.path.exists(INSTDIR), "the program and its emptied folder are removed")
        self.assertFalse(os.path.exists(SHORTCUT))
        self.assertEqual(registered(), [None] * 4)
        with open(h.INI, "rb") as f:
            self.assertEqual(f.read(), data, "settings kept byte for byte")
        self.assertTrue(os.path.isdir(cache))


if __name__ == "__main__":
    unittest.main(verbosity=2)
