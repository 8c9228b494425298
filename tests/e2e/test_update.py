"""The program updates itself from a local site: version A (this build) installed by the real
setup, a manifest offering B (the same program with the next build number, ZenvoralNext.exe, in
its own setup), "Actualizar ahora" in the update window, and B back on screen with the player's
data untouched. Then the faults, each of which leaves A running and offers the web page."""

import hashlib
import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from harness import setUpModule as _setup, tearDownModule as _teardown  # noqa: E402
from server import TestServer  # noqa: E402
import test_installer as inst  # noqa: E402

FILES = os.path.join(inst.BUILD, "e2e-update")
NEXT = os.path.join(inst.BUILD, "ZenvoralNext.exe")
srv = None
setup_a = setup_b = sha_b = None


def setUpModule():
    global srv, setup_a, setup_b, sha_b
    _setup()
    shutil.rmtree(FILES, ignore_errors=True)
    os.makedirs(FILES)
    setup_a = inst.make_setup(os.path.join(inst.BUILD, "setup"))
    setup_b = inst.make_setup(os.path.join(FILES, "b"), NEXT)
    with open(setup_b, "rb") as f:
        sha_b = hashlib.sha256(f.read()).hexdigest()
    srv = TestServer(FILES).start()


def tearDownModule():
    if srv:
        srv.stop()
    _teardown()


def manifest(installer_path, sha=None):
    text = ("# ZENVORAL-VERSION\nversion = 0.0.9\ncompilacion = 10\n"
            f"instalador = {srv.url(installer_path)}\n"
            "notas = Notas de prueba\\nSegunda línea\nnotas.en = Test notes\n")
    if sha is not None:
        text += f"sha256 = {sha}\n"
    srv.files["/version.txt"] = text.encode("utf-8")


def update_window():
    return h.windows("^Actualizaci")


def shot(name):
    return h.screenshot(os.path.join(inst.BUILD, "e2e-update-" + name + ".png"))


class Update(h.ProgramTest):
    def setUp(self):
        super().setUp()
        inst.uninstall()
        inst.run_setup(setup_a, "/S")
        self.assertTrue(os.path.exists(inst.INSTALLED))
        h.set_settings(h.site_urls(srv.url("")))
        h.set_settings({"HoraReinicio": "7", "Opacidad": "200"})
        env = dict(os.environ, LANG="es_ES.UTF-8", LC_ALL="es_ES.UTF-8", LANGUAGE="")
        self.procs.append(h.subprocess.Popen([h.RUNNER, inst.INSTALLED], env=env, stdout=h.subprocess.DEVNULL,
                                             stderr=h.subprocess.DEVNULL))
        self.wait_started()
        self.first = h.program_pids()

    def tearDown(self):
        super().tearDown()
        inst.uninstall()

    def open_window(self):
        """A manual check (tray 110) finds B and opens the update window."""
        self.assertTrue(h.post(0x0111, 110, 0))
        wins = h.wait_for(update_window, 20)
        self.assertTrue(wins, h.log_lines())
        time.sleep(0.5)
        return wins[0]

    def press_update(self, win):
        x, y, w, hh = h.geometry(win)
        h.click(x + w - 4 - 119, y + hh - 4 - 42)

    def logged(self, text, timeout=30):
        return h.wait_for(lambda: any(text in l for l in h.log_lines()), timeout, 0.3)

    def assert_a_still_runs(self, name):
        time.sleep(1)
        self.assertEqual(sorted(h.program_pids()), sorted(self.first), "A keeps running, nothing else started")
        self.assertFalse(any("(10)" in l for l in h.log_lines()))
        img = shot(name)
        x, y, w, hh = h.geometry(update_window()[0])
        # the failure line in its warning colour, and the web-page button in the bottom left
        text = h.region(img, x + 24, y + hh - 100, w - 48, 40)
        self.assertTrue(sum(h.near(c, (230, 120, 110), 40) for row in text for c in row) > 20, name)
        return img

    def test_update_installs_b_and_keeps_the_players_data(self):
        manifest("b/Zenvoral-Setup-0.0.9.exe", sha_b)
        win = self.open_window()
        before = h.ini()
        shot("offer")
        srv.requests.clear()
        t0 = time.time()
        self.press_update(win)
        self.assertTrue(self.logged("instalador", 30), h.log_lines())
        t_download = time.time() - t0
        self.assertTrue(self.logged("Inicio 0.0.9 (10)", 60), h.log_lines())
        t_total = time.time() - t0
        print(f"download of {os.path.getsize(setup_b)} bytes and check: {t_download:.1f} s; "
              f"to B running: {t_total:.1f} s", file=sys.stderr)
        self.assertIn("/b/Zenvoral-Setup-0.0.9.exe", srv.paths())
        self.assertTrue(h.wait_for(lambda: h.program_pids() and not set(h.program_pids()) & set(self.first), 20))
        with open(inst.INSTALLED, "rb") as f:
            with open(NEXT, "rb") as g:
                self.assertEqual(f.read(), g.read(), "B is installed")
        time.sleep(2)
        after = h.ini()
        volatile = {("estado", "ultimaComprobacion")}
        for sec, keys in before.items():
            for k, v in keys:
                if (sec, k) not in volatile:
                    self.assertEqual(dict(after.get(sec, [])).get(k), v, f"[{sec}] {k} kept")

    def test_faults_leave_a_running(self):
        srv.requests.clear()
        cases = [
            ("wrong-hash", "b/Zenvoral-Setup-0.0.9.exe", "0" * 64, "Instalador descartado"),
            ("altered", "_alter/b/Zenvoral-Setup-0.0.9.exe", sha_b, "Instalador descartado"),
            ("cut", "_cut/b/Zenvoral-Setup-0.0.9.exe", sha_b, "Descarga fallida (HTTP 200)"),
            ("404", "_404/b/Zenvoral-Setup-0.0.9.exe", sha_b, "Descarga fallida (HTTP 404)"),
            ("stall", "_stall/b/Zenvoral-Setup-0.0.9.exe?s=4", sha_b, "Descarga fallida (HTTP 200)"),
        ]
        for name, path, sha, logged in cases:
            with self.subTest(name):
                manifest(path, sha)
                win = self.open_window()
                n = len(h.log_lines())
                t0 = time.time()
                self.press_update(win)
                self.assertTrue(h.wait_for(lambda: any(logged in l for l in h.log_lines()[n:]), 40), h.log_lines())
                print(f"{name}: failed after {time.time() - t0:.1f} s", file=sys.stderr)
                self.assert_a_still_runs(name)

        # no digest in the manifest: only the web page is offered, nothing is downloaded
        manifest("b/Zenvoral-Setup-0.0.9.exe")
        srv.requests.clear()
        win = self.open_window()
        self.press_update(win)  # where "Actualizar ahora" would be: the button is not there
        time.sleep(2)
        self.assertNotIn("/b/Zenvoral-Setup-0.0.9.exe", srv.paths())
        self.assert_a_still_runs("no-sha")


if __name__ == "__main__":
    unittest.main(verbosity=2)
