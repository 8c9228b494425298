"""Drives the real Zenvoral.exe under Wine on a virtual display: starts it from a clean
program folder, waits for its windows and files, reads ajustes.ini and registro.txt, sends
clicks and keys (xdotool) and reads screen pixels (ImageMagick).

The program's own web addresses are real hosts. Before every start the harness points the
settings URLDatos, URLVersion, URLImagenes and URLDirecto at 127.0.0.1 (a closed port unless a
test names its local server), so no test reaches another host; a run started with
local_only=False is killed before its first network check (20 s after start)."""

import os
import re
import shutil
import signal
import subprocess
import threading
import time
import unittest

ROOT = os.environ.get("ZV_ROOT") or os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
EXE = os.environ.get("ZV_EXE") or os.path.join(ROOT, "build", "win64", "Zenvoral.exe")
PREFIX = os.environ.get("ZV_WINEPREFIX") or os.path.join(ROOT, "build", "wineprefix")
RUNNER = os.path.join(ROOT, "scripts", "wine-run.sh")
PROBE = os.path.join(os.path.dirname(EXE), "probe.exe")
USER = os.environ.get("USER") or subprocess.run(["id", "-un"], capture_output=True, text=True).stdout.strip()
APPDATA = os.path.join(PREFIX, "drive_c", "users", USER, "AppData", "Roaming", "Zenvoral")
INI = os.path.join(APPDATA, "ajustes.ini")
LOG = os.path.join(APPDATA, "registro.txt")

_xvfb = None


def setUpModule():
    """A display for the whole test file when none is there; the Wine server kept alive."""
    global _xvfb
    if not os.environ.get("DISPLAY"):
        for num in range(90, 190):  # a display number nobody holds
            if os.path.exists(f"/tmp/.X{num}-lock") or os.path.exists(f"/tmp/.X11-unix/X{num}"):
                continue
            _xvfb = subprocess.Popen(["Xvfb", f":{num}", "-screen", "0", "1280x1200x24", "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if wait_for(lambda: _xvfb.poll() is not None or os.path.exists(f"/tmp/.X11-unix/X{num}"), 10, 0.05) \
                    and _xvfb.poll() is None:
                os.environ["DISPLAY"] = f":{num}"
                break
        else:
            raise RuntimeError("no virtual display could be started")
    subprocess.run([RUNNER, "cmd", "/c", "exit"], capture_output=True, timeout=120)  # makes the prefix once


def tearDownModule():
    kill_all()
    subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=PREFIX), capture_output=True)
    if _xvfb:
        _xvfb.terminate()
        _xvfb.wait()


def in_prefix(pid):
    """The process runs in this suite's Wine prefix (other prefixes are left alone)."""
    try:
        with open(f"/proc/{pid}/environ", "rb") as f:
            env = f.read().split(b"\0")
    except OSError:
        return False
    return ("WINEPREFIX=" + PREFIX).encode() in env


def program_pids():
    pids = []
    for d in os.listdir("/proc"):
        if not d.isdigit():
            continue
        try:
            with open(f"/proc/{d}/cmdline", "rb") as f:
                cmd = f.read()
        except OSError:
            continue
        if b"Zenvoral.exe" in cmd and b"wine-run.sh" not in cmd and in_prefix(d):
            pids.append(int(d))
    return pids


def kill_all():
    for pid in program_pids():
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass
    wait_for(lambda: not program_pids(), 10)


def post(msg, wp, lp):
    """Posts a message to the overlay window from the probe helper under the same Wine server;
    true when there was a window to post to."""
    out = os.path.join(ROOT, "build", "e2e-probe.txt")
    subprocess.run([RUNNER, PROBE, "post", hex(msg), str(wp), hex(lp), "Z:" + out.replace("/", "\\")],
                   capture_output=True, timeout=60)
    with open(out) as f:
        return f.read() == "ok"


def set_text(title, control, text):
    """Puts text into a control of the program's dialog titled title (the probe sends WM_SETTEXT,
    as an input method commits a word); true when the control was there."""
    out = os.path.join(ROOT, "build", "e2e-probe.txt")
    subprocess.run([RUNNER, PROBE, "settext", title, str(control), text, "Z:" + out.replace("/", "\\")],
                   capture_output=True, timeout=60, env=dict(os.environ, LC_ALL="C.UTF-8"))
    with open(out) as f:
        return f.read() == "ok"


def get_text(cls, control):
    """The text control holds in the program's window of class cls, or None when there is no
    such control (the probe writes "none")."""
    out = os.path.join(ROOT, "build", "e2e-probe.txt")
    if os.path.exists(out):
        os.remove(out)
    subprocess.run([RUNNER, PROBE, "gettext", cls, str(control), "Z:" + out.replace("/", "\\")],
                   capture_output=True, timeout=60)
    try:
        with open(out, encoding="utf-8") as f:
            text = f.read()
    except OSError:
        return None
    return None if text == "none" else text


def wait_for(pred, timeout=15.0, step=0.2):
    end = time.time() + timeout
    while True:
        v = pred()
        if v or time.time() > end:
            return v
        time.sleep(step)


def clean_folder():
    kill_all()
    subprocess.run(["rm", "-rf", APPDATA])


OFFLINE = "http://127.0.0.1:9/"  # the discard port: nothing answers
URL_KEYS = ("URLDatos", "URLVersion", "URLImagenes", "URLDirecto")
FIRST_KEYS = [("ProcesoJuego", "TheDivision2.exe"), ("HoraReinicio", "9"), ("Opacidad", "215")]


def site_urls(base):
    """The four addresses under one site root (a local server's URL ending in /)."""
    return {"URLDatos": base + "datos.txt", "URLVersion": base + "version.txt",
            "URLImagenes": base + "imagenes/", "URLDirecto": base + "directo/"}


def write_ini(sections):
    """Writes ajustes.ini as the program keeps it (UTF-16LE with a byte-order mark)."""
    os.makedirs(APPDATA, exist_ok=True)
    text = "".join(f"[{sec}]\r\n" + "".join(f"{k}={v}\r\n" for k, v in keys) for sec, keys in sections.items())
    with open(INI, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))


def set_settings(values, sec="ajustes"):
    """Sets keys of a section in ajustes.ini (made as on a first start when missing); only
    while the program is not running."""
    sections = ini() if os.path.exists(INI) else {"ajustes": list(FIRST_KEYS)}
    keys = sections.setdefault(sec, [])
    for k, v in values.items():
        for i, (kk, _) in enumerate(keys):
            if kk.lower() == k.lower():
                keys[i] = (kk, v)
                break
        else:
            keys.append((k, v))
    write_ini(sections)


def keep_local():
    """Every web address of the program on 127.0.0.1 unless already set there."""
    current = dict(ini().get("ajustes", [])) if os.path.exists(INI) else {}
    missing = {k: v for k, v in site_urls(OFFLINE).items()
               if not current.get(k, "").startswith("http://127.0.0.1:")}
    if missing:
        set_settings(missing)


def start(*args, lang="es_ES.UTF-8", local_only=True):
    if local_only:
        keep_local()
    env = dict(os.environ, LANG=lang, LC_ALL=lang, LANGUAGE="")
    return subprocess.Popen([RUNNER, EXE] + list(args), env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def read_text(path):
    try:
        with open(path, "rb") as f:
            b = f.read()
    except OSError:
        return None
    if b.startswith(b"\xff\xfe"):
        return b[2:].decode("utf-16-le")
    return b.decode("utf-8", "replace")


def ini():
    """{section: [(key, value), ...]} in file order."""
    out = {}
    cur = None
    for line in (read_text(INI) or "").splitlines():
        line = line.strip()
        if line.startswith("["):
            cur = out.setdefault(line[1:line.index("]")], [])
        elif "=" in line and cur is not None:
            k, v = line.split("=", 1)
            cur.append((k, v))
    return out


def ini_get(sec, key):
    return dict(ini().get(sec, [])).get(key)


def log_lines():
    return [l for l in (read_text(LOG) or "").split("\r\n") if l]


def reg_value(key, name):
    """A registry value as the running Wine server holds it, or None."""
    r = subprocess.run([RUNNER, "reg", "query", key, "/v", name], capture_output=True, text=True, timeout=60)
    for line in r.stdout.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) == 3 and parts[0] == name:
            return parts[2]  # the data, after the type
    return None


def windows(name="^Zenvoral$", visible=True):
    cmd = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name", name]
    r = subprocess.run(cmd, capture_output=True, text=True)
    return [int(x) for x in r.stdout.split()]


def geometry(win):
    """(x, y, w, h) of a window; (0, 0, 0, 0) once it is gone."""
    r = subprocess.run(["xdotool", "getwindowgeometry", str(win)], capture_output=True, text=True).stdout
    if "Position:" not in r:
        return 0, 0, 0, 0
    x, y = map(int, re.search(r"Position: (-?\d+),(-?\d+)", r).groups())
    w, h = map(int, re.search(r"Geometry: (\d+)x(\d+)", r).groups())
    return x, y, w, h


def click(x, y, button=1):
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", str(button)], check=True)


def key(k, win=None):
    cmd = ["xdotool", "key"] + (["--window", str(win)] if win else []) + [k]
    subprocess.run(cmd, check=True)


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], check=True)
    return path


def pixel(path, x, y):
    r = subprocess.run(["convert", path, "-format", f"%[fx:int(255*p{{{x},{y}}}.r)],%[fx:int(255*p{{{x},{y}}}.g)],"
                        f"%[fx:int(255*p{{{x},{y}}}.b)]", "info:"], capture_output=True, text=True, check=True)
    return tuple(int(v) for v in r.stdout.split(","))


def region(path, x, y, w, hgt):
    """Pixels of a rectangle of a screenshot as rows of (r, g, b)."""
    r = subprocess.run(["convert", path, "-crop", f"{w}x{hgt}+{x}+{y}", "-depth", "8", "rgb:-"],
                       capture_output=True, check=True).stdout
    return [[tuple(r[(j * w + i) * 3:(j * w + i) * 3 + 3]) for i in range(w)] for j in range(hgt)]


def near(c1, c2, tol=6):
    return all(abs(a - b) <= tol for a, b in zip(c1, c2))


class ProgramTest(unittest.TestCase):
    """Each test starts from an empty program folder and ends with no copy running."""

    def setUp(self):
        clean_folder()
        self.procs = []
        self.guard = None

    def tearDown(self):
        if self.guard:
            self.guard.cancel()
        kill_all()
        for p in self.procs:
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()

    def run_program(self, *args, **kw):
        p = start(*args, **kw)
        self.procs.append(p)
        if not kw.get("local_only", True) and not self.guard:
            # its addresses are the real ones: it must not live to its first network check
            self.guard = threading.Timer(15, kill_all)
            self.guard.start()
        return p

    def wait_started(self, timeout=20):
        ok = wait_for(lambda: any("Inicio " in l for l in log_lines()) and windows(visible=False), timeout)
        self.assertTrue(ok, "the program did not start")


# ---- the stand-in browser -------------------------------------------------------------------
# Where a web address or a text file is opened (Wine reads these from the machine's classes, not
# the user's); pointed at the stand-in browser, which only records what it is asked to open.
URL_HANDLERS = [r"HKLM\Software\Classes\http\shell\open\command",
                r"HKLM\Software\Classes\https\shell\open\command"]
TXT_HANDLER = r"HKLM\Software\Classes\txtfile\shell\open\command"
TXT_CLASS = r"HKLM\Software\Classes\.txt"  # a new prefix may not tie .txt to txtfile


def get_default(key):
    """A key's default value, or None when the key or the value is missing."""
    r = subprocess.run([RUNNER, "reg", "query", key, "/ve"], capture_output=True, text=True, timeout=60)
    for line in r.stdout.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) == 3 and parts[1].startswith("REG_"):
            return parts[2]
    return None


def set_default(key, value):
    subprocess.run([RUNNER, "reg", "add", key, "/ve", "/d", value, "/f"], capture_output=True, timeout=60)


class StandInBrowser:
    """The stand-in browser in folder, set as the opener of keys (and of text files with
    text_files) until restore() gives the old values back."""

    def __init__(self, folder, build, text_files=False):
        self.opened_file = os.path.join(folder, "navegador.txt")
        os.makedirs(folder, exist_ok=True)
        exe = os.path.join(folder, "navegador.exe")
        shutil.copyfile(os.path.join(build, "standin.exe"), exe)
        command = '"Z:' + exe.replace("/", "\\") + '" "%1"'
        keys = URL_HANDLERS + ([TXT_HANDLER] if text_files else [])
        self.saved = {k: get_default(k) for k in keys + ([TXT_CLASS] if text_files else [])}
        for k in keys:
            set_default(k, command)
        if text_files:
            set_default(TXT_CLASS, "txtfile")

    def restore(self):
        for key, value in self.saved.items():
            if value is not None:
                set_default(key, value)
            else:
                subprocess.run([RUNNER, "reg", "delete", key, "/f"], capture_output=True, timeout=60)

    def opened(self):
        """Addresses and files the stand-in browser was asked to open, in order."""
        try:
            with open(self.opened_file, encoding="utf-8") as f:
                return [l.strip().strip('"') for l in f.read().splitlines() if l.strip()]
        except OSError:
            return []

