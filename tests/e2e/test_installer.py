"""The setup program (installer/zenvoral.nsi, built with makensis) under Wine: a silent install
and what it registers, the update mode that waits for the running program and starts the new
one, and a silent uninstall that keeps the player's data."""

import hashlib
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h

BUILD = os.environ.get("ZV_BUILD") or os.path.join(h.ROOT, "build", "win64")
LOCAL = os.path.join(h.PREFIX, "drive_c", "users", h.USER, "AppData", "Local")
INSTDIR = os.path.join(LOCAL, "Programs", "Zenvoral")
INSTALLED = os.path.join(INSTDIR, "Zenvoral.exe")
UNINSTALLER = os.path.join(INSTDIR, "Desinstalar.exe")
SHORTCUT = os.path.join(h.PREFIX, "drive_c", "users", h.USER, "AppData", "Roaming", "Microsoft", "Windows",
                        "Start Menu", "Programs", "Zenvoral.lnk")
UNINST_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zenvoral"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
WIN_INSTALLED = r"C:\users\%s\AppData\Local\Programs\Zenvoral\Zenvoral.exe" % h.USER


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def make_setup(out_dir, exe=None):
    args = [os.path.join(h.ROOT, "scripts", "package.sh"), BUILD, out_dir] + ([exe] if exe else [])
    r = subprocess.run(args, capture_output=True, text=True, timeout=300)
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


@unittest.skipUnless(subprocess.run(["which", "makensis"], capture_output=True).returncode == 0, "makensis missing")
class Installer(h.ProgramTest):
    @classmethod
    def setUpClass(cls):
        cls.setup_exe = make_setup(os.path.join(BUILD, "setup"))

    def tearDown(self):
        super().tearDown()
        uninstall()

    def test_silent_install_registers_and_uninstall_keeps_data(self):
        uninstall()
        self.assertTrue(os.path.basename(self.setup_exe).startswith("Zenvoral-Setup-0.0.9"))
        t0 = time.time()
        run_setup(self.setup_exe, "/S")
        print(f"silent install: {time.time() - t0:.1f} s", file=sys.stderr)
        self.assertEqual(digest(INSTALLED), digest(h.EXE), "the program is the one built")
        self.assertTrue(os.path.exists(UNINSTALLER))
        self.assertTrue(os.path.exists(SHORTCUT))
        self.assertEqual(h.reg_value(UNINST_KEY, "DisplayName"), "Zenvoral")
        self.assertEqual(h.reg_value(UNINST_KEY, "DisplayVersion"), "0.0.9")
        self.assertEqual(h.reg_value(UNINST_KEY, "Publisher"), "Zenvoral")
        self.assertEqual(h.reg_value(UNINST_KEY, "DisplayIcon"), WIN_INSTALLED + ",0")
        size_kb = int(h.reg_value(UNINST_KEY, "EstimatedSize"), 16)
        self.assertAlmostEqual(size_kb, (os.path.getsize(INSTALLED) + os.path.getsize(UNINSTALLER)) / 1024,
                               delta=8)
        self.assertIn("Desinstalar.exe", h.reg_value(UNINST_KEY, "UninstallString"))
        self.assertEqual(h.reg_value(RUN_KEY, "Zenvoral"), '"%s"' % WIN_INSTALLED)

        # the player's data, then a silent uninstall: everything of the program goes, the data stays
        h.set_settings({"Idioma": "de", "HoraReinicio": "7"})
        cache = os.path.join(LOCAL, "Zenvoral", "imagenes")
        os.makedirs(cache, exist_ok=True)
        with open(h.INI, "rb") as f:
            before = f.read()
        uninstall()
        self.assertFalse(os.path.exists(INSTALLED))
        self.assertFalse(os.path.exists(UNINSTALLER))
        self.assertFalse(os.path.exists(INSTDIR), "the emptied folder is removed")
        self.assertFalse(os.path.exists(SHORTCUT))
        self.assertIsNone(h.reg_value(UNINST_KEY, "DisplayName"))
        self.assertIsNone(h.reg_value(RUN_KEY, "Zenvoral"))
        with open(h.INI, "rb") as f:
            self.assertEqual(f.read(), before, "settings kept byte for byte")
        self.assertTrue(os.path.isdir(cache))

    def test_update_mode_waits_for_the_program_and_restarts_it(self):
        uninstall()
        run_setup(self.setup_exe, "/S")
        self.assertTrue(os.path.exists(INSTALLED))
        h.keep_local()
        self.procs.append(subprocess.Popen([h.RUNNER, INSTALLED], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.wait_started()
        # the player switched autostart off: an update must not switch it on again
        subprocess.run([h.RUNNER, "reg", "delete", RUN_KEY, "/v", "Zenvoral", "/f"], capture_output=True, timeout=60)
        self.assertIsNone(h.reg_value(RUN_KEY, "Zenvoral"))
        first = h.program_pids()
        os.utime(INSTALLED, (1, 1))  # the update's copy will be newer

        setup = run_setup(self.setup_exe, "/S", "/ACTUALIZAR", wait=False)
        self.procs.append(setup)
        time.sleep(4)
        self.assertIsNone(setup.poll(), "the setup waits while the program runs")
        self.assertEqual(os.path.getmtime(INSTALLED), 1, "nothing replaced while the program runs")

        t0 = time.time()
        self.assertTrue(h.post(0x0312, 4, 0), "quit key sent")  # WM_HOTKEY, quit
        setup.wait(60)
        self.assertEqual(setup.returncode, 0)
        self.assertNotEqual(os.path.getmtime(INSTALLED), 1, "the program was replaced")

        def restarted():
            for pid in h.program_pids():
                if pid in first:
                    continue
                with open(f"/proc/{pid}/cmdline", "rb") as f:
                    if b"--reinicio" in f.read():
                        return True
            return False
        self.assertTrue(h.wait_for(restarted, 30), "the new program was started with --reinicio")
        self.assertTrue(h.wait_for(lambda: sum("Inicio " in l for l in h.log_lines()) >= 2, 30))
        print(f"update install and restart: {time.time() - t0:.1f} s", file=sys.stderr)
        self.assertIsNone(h.reg_value(RUN_KEY, "Zenvoral"), "autostart left as the player set it")


if __name__ == "__main__":
    unittest.main()
