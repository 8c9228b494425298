"""Drives the real Zenvoral.exe under Wine on a virtual display: starts it from a clean program
folder, waits for its windows and files, reads ajustes.ini and registro.txt, sends clicks and keys
(xdotool), reads screen pixels (ImageMagick) and runs the stand-ins (game, browser, probe).
Before every start the program's web addresses are pointed at 127.0.0.1 (a closed port unless a
test names its local server); a run started with local_only=False is killed within 15 s, before
its first network check."""

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
BUILD = os.path.dirname(EXE)
PREFIX = os.environ.get("ZV_WINEPREFIX") or os.path.join(ROOT, "build", "wineprefix")
RUNNER = os.path.join(ROOT, "scripts", "wine-run.sh")
PROBE = os.path.join(BUILD, "probe.exe")
USER = os.environ.get("USER") or subprocess.run(["id", "-un"], capture_output=True, text=True).stdout.strip()
APPDATA = os.path.join(PREFIX, "drive_c", "users", USER, "AppData", "Roaming", "Zenvoral")
INI = os.path.join(APPDATA, "ajustes.ini")
LOG = os.path.join(APPDATA, "registro.txt")
ORANGE, BG, PANEL, GREY = (255, 109, 16), (13, 15, 17), (24, 27, 31), (128, 137, 146)
WM_COMMAND, WM_APP_TRAY = 0x0111, 0x8001
SETTINGS = "^Ajustes .{1,2} Zenvoral"  # the middle dot, in whichever encoding the title reaches X
OFFLINE = "http://127.0.0.1:9/"  # the discard port: nothing answers
FIRST_KEYS = [("ProcesoJuego", "TheDivision2.exe"), ("HoraReinicio", "9"), ("Opacidad", "215")]
_xvfb = None


def start_display(size="1280x1200"):
    for num in range(90, 190):
        if os.path.exists(f"/tmp/.X{num}-lock") or os.path.exists(f"/tmp/.X11-unix/X{num}"):
            continue
        proc = subprocess.Popen(["Xvfb", f":{num}", "-screen", "0", size + "x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if wait_for(lambda: proc.poll() is not None or os.path.exists(f"/tmp/.X11-unix/X{num}"), 10, 0.05) \
                and proc.poll() is None:
            os.environ["DISPLAY"] = f":{num}"
            return proc
    raise RuntimeError("no virtual display could be started")


def wine_up():
    subprocess.run([RUNNER, "cmd", "/c", "exit"], capture_output=True, timeout=120)


def restart_wine():
    kill_all()
    subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=PREFIX), capture_output=True)


def setUpModule():
    global _xvfb
    if not os.environ.get("DISPLAY"):
        _xvfb = start_display()
    wine_up()


def tearDownModule():
    restart_wine()
    if _xvfb:
        _xvfb.terminate()
        _xvfb.wait()


def pids(*words):
    """This suite's Wine processes (not other prefixes', not runner scripts) whose command line holds every word."""
    found = []
    for d in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{d}/cmdline", "rb") as f:
                cmd = f.read()
            if not all(w in cmd for w in words) or b"wine-run.sh" in cmd:
                continue
            with open(f"/proc/{d}/environ", "rb") as f:
                if ("WINEPREFIX=" + PREFIX).encode() in f.read().split(b"\0"):
                    found.append(int(d))
        except OSError:
            continue
    return found


def program_pids():
    return pids(b"Zenvoral.exe")


def kill(found):
    for pid in found:
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass


def kill_all():
    kill(program_pids())
    wait_for(lambda: not program_pids(), 10)


def wait_for(pred, timeout=15.0, step=0.2):
    end = time.time() + timeout
    while True:
        v = pred()
        if v or time.time() > end:
            return v
        time.sleep(step)


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


def probe(*args):
    """What the probe helper, run under the same Wine server, wrote ("none": nothing to act on)."""
    out = os.path.join(ROOT, "build", "e2e-probe.txt")
    if os.path.exists(out):
        os.remove(out)
    subprocess.run([RUNNER, PROBE] + [str(a) for a in args] + [wine_path(out)], capture_output=True, timeout=60,
                   env=dict(os.environ, LC_ALL="C.UTF-8"))
    text = read_text(out)
    return "none" if text is None else text


def post(msg, wp, lp):
    """Posts a message to the overlay window (as the tray icon or a menu would); true when it was there."""
    return probe("post", hex(msg), wp, hex(lp)) == "ok"


def set_text(title, control, text):
    """Puts text into a control of the dialog titled title, as an input method commits a word."""
    return probe("settext", title, control, text) == "ok"


def get_text(cls, control):
    """The text control holds in the program's window of class cls, or None."""
    text = probe("gettext", cls, control)
    return None if text == "none" else text


def clean_folder():
    kill_all()
    subprocess.run(["rm", "-rf", APPDATA])


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
    """Sets keys of a section in ajustes.ini (made as on a first start when missing)."""
    sections = ini() if os.path.exists(INI) else {"ajustes": list(FIRST_KEYS)}
    sections[sec] = list(dict(sections.get(sec, []), **values).items())
    write_ini(sections)


def past_first_start(tasks=0):
    """The settings of a player past the first start (no welcome tour or balloon), with tasks own tasks."""
    sections = {"ajustes": list(FIRST_KEYS) + list(site_urls(OFFLINE).items()),
                "estado": [("instalado", "1"), ("version", "8"), ("bienvenida", "1")]}
    if tasks:
        sections["checklist"] = [("n", str(tasks))] + [(f"t{i}", f"{i % 3}|Tarea propia {i}") for i in range(tasks)]
    write_ini(sections)


def keep_local():
    """Every web address of the program on 127.0.0.1 unless already set there."""
    current = dict(ini().get("ajustes", [])) if os.path.exists(INI) else {}
    missing = {k: v for k, v in site_urls(OFFLINE).items() if not current.get(k, "").startswith("http://127.0.0.1:")}
    if missing:
        set_settings(missing)


def start(*args, lang="es_ES.UTF-8", local_only=True, exe=EXE):
    if local_only:
        keep_local()
    return subprocess.Popen([RUNNER, exe] + list(args), env=dict(os.environ, LANG=lang, LC_ALL=lang, LANGUAGE=""),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def read_text(path):
    try:
        with open(path, "rb") as f:
            b = f.read()
    except OSError:
        return None
    return b[2:].decode("utf-16-le") if b.startswith(b"\xff\xfe") else b.decode("utf-8", "replace")


def ini():
    """{section: [(key, value), ...]} in file order."""
    out, cur = {}, None
    for line in (read_text(INI) or "").splitlines():
        line = line.strip()
        if line.startswith("["):
            cur = out.setdefault(line[1:line.index("]")], [])
        elif "=" in line and cur is not None:
            cur.append(tuple(line.split("=", 1)))
    return out


def ini_get(sec, key):
    return dict(ini().get(sec, [])).get(key)


def log_lines():
    return [l for l in (read_text(LOG) or "").split("\r\n") if l]


def logged(text, timeout=15):
    return wait_for(lambda: any(text in l for l in log_lines()), timeout, 0.3)


def reg_value(key, name=None):
    """A registry value (without name the key's default one), or None."""
    r = subprocess.run([RUNNER, "reg", "query", key] + (["/v", name] if name else ["/ve"]), capture_output=True,
                       text=True, timeout=60)
    for line in r.stdout.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) == 3 and parts[1].startswith("REG_") and (name is None or parts[0] == name):
            return parts[2]
    return None


# ---- windows, keys and pixels ---------------------------------------------------------------
def windows(name="^Zenvoral$", visible=True):
    r = subprocess.run(["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name", name],
                       capture_output=True, text=True)
    return [int(x) for x in r.stdout.split()]


def geometry(win):
    """(x, y, w, h) of a window; (0, 0, 0, 0) once it is gone."""
    r = subprocess.run(["xdotool", "getwindowgeometry", str(win)], capture_output=True, text=True).stdout
    if "Position:" not in r:
        return 0, 0, 0, 0
    return tuple(map(int, re.search(r"Position: (-?\d+),(-?\d+)", r).groups() +
                     re.search(r"Geometry: (\d+)x(\d+)", r).groups()))


def window(title="^Zenvoral$", width=None, timeout=20):
    """The first visible window titled title (a regular expression), width pixels wide if given."""
    found = wait_for(lambda: [w for w in windows(title) if width is None or geometry(w)[2] == width], timeout)
    return found[0] if found else None


def gone(title, width=None, timeout=5):
    return wait_for(lambda: not [w for w in windows(title) if width is None or geometry(w)[2] == width], timeout)


def xdo(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def click(x, y):
    xdo("mousemove", x, y, "click", 1)


def key(k, win=None):
    xdo("key", *(["--window", win] if win else []), k)


def focus(win):
    """Without a window manager the keyboard stays where it was: given to win."""
    xdo("windowfocus", "--sync", win)


def raise_window(win):
    """With no window manager on the display Wine does not restack a window that takes the
    foreground, as Windows does: raised by hand."""
    xdo("windowraise", win)
    time.sleep(0.8)


def type_text(text, delay=25):
    xdo("type", "--delay", delay, text)


def drag(x0, y0, x1, y1, steps=8):
    xdo("mousemove", x0, y0, "mousedown", 1)
    for k in range(1, steps + 1):
        time.sleep(0.05)
        xdo("mousemove", x0 + (x1 - x0) * k // steps, y0 + (y1 - y0) * k // steps)
    time.sleep(0.3)
    xdo("mouseup", 1)


def shot(name):
    """A screenshot of the whole display, kept as build/e2e-NAME.png."""
    path = os.path.join(ROOT, "build", "e2e-" + name + ".png")
    subprocess.run(["import", "-window", "root", path], check=True)
    return path


def region(path, x, y, w, hgt):
    """Pixels of a rectangle of a screenshot as rows of (r, g, b)."""
    r = subprocess.run(["convert", path, "-crop", f"{w}x{hgt}+{x}+{y}", "-depth", "8", "rgb:-"],
                       capture_output=True, check=True).stdout
    return [[tuple(r[(j * w + i) * 3:(j * w + i) * 3 + 3]) for i in range(w)] for j in range(hgt)]


def pixel(path, x, y):
    return region(path, x, y, 1, 1)[0][0]


def near(c1, c2, tol=6):
    return all(abs(a - b) <= tol for a, b in zip(c1, c2))


def count(path, rect, colour, tol=40):
    """Pixels of rect (x, y, w, h) near colour, or for which colour (a function) holds."""
    test = colour if callable(colour) else (lambda c: near(c, colour, tol))
    return sum(test(c) for row in region(path, *rect) for c in row)


def ink(path, rect, bright=300):
    """Bounding box (x0, y0, x1, y1) of text in rect: light pixels (channel sum above bright) or,
    with bright < 0, dark text on an orange face. None when there is none."""
    hits = [(rect[0] + i, rect[1] + j) for j, row in enumerate(region(path, *rect)) for i, c in enumerate(row)
            if (sum(c) > bright if bright > 0 else sum(c) < -bright and c[0] < 120)]
    return (min(p[0] for p in hits), min(p[1] for p in hits), max(p[0] for p in hits),
            max(p[1] for p in hits)) if hits else None


def cut_line(path, rect, bright=300):
    """Why one line of text in rect looks cut (it touches its box's edge or ends in "…"), or None."""
    b = ink(path, rect, bright)
    if not b or b[0] <= rect[0] + 1 or b[2] >= rect[0] + rect[2] - 3:
        return "cut"
    tail = ink(path, (b[2] - 9, b[1], 10, b[3] - b[1] + 1), bright)
    return "ellipsis" if tail[3] - tail[1] <= 3 else None  # only low dots at its end


def entry_buttons(path, left, width, bottom):
    """The buttons under the library's shown entry as (x, top, w), in reading order: the rows
    (32 high, 8 apart) stack upwards from bottom less the 12-pixel margin; a row is there while the
    gap above it is background and 3 pixels inside its top edge runs of anything else are found."""
    found = []
    for top in range(bottom - 44, bottom - 44 - 160, -40):
        if any(c != BG for c in region(path, left, top - 4, width, 1)[0]):
            break
        line = [c != BG for c in region(path, left, top + 3, width, 1)[0]] + [False]
        starts = [i for i in range(width) if line[i] and (i == 0 or not line[i - 1])]
        runs = [(left + s, top, line.index(False, s) - s) for s in starts if line.index(False, s) - s > 60]
        if not runs:
            break
        found = runs + found
    return found


# ---- the stand-ins --------------------------------------------------------------------------
GAMES = os.path.join(ROOT, "build", "e2e games")


def standin(name):
    """The stand-in program copied as name (a game, a launcher, any program with a window)."""
    os.makedirs(GAMES, exist_ok=True)
    shutil.copyfile(os.path.join(BUILD, "standin.exe"), os.path.join(GAMES, name))
    return os.path.join(GAMES, name)


# Where a web address or a text file is opened (Wine reads these from the machine's classes, not
# the user's); pointed at the stand-in browser, which only records what it is asked to open.
CLASSES = r"HKLM\Software\Classes" + "\\"
URL_HANDLERS = [CLASSES + r"http\shell\open\command", CLASSES + r"https\shell\open\command"]
TXT_HANDLER, TXT_CLASS = CLASSES + r"txtfile\shell\open\command", CLASSES + ".txt"  # .txt may not be tied yet


def set_default(key, value):
    subprocess.run([RUNNER, "reg", "add", key, "/ve", "/d", value, "/f"], capture_output=True, timeout=60)


class StandInBrowser:
    """The stand-in browser in folder, set as the opener of web addresses (and of text files with
    text_files) until restore() gives the old openers back."""

    def __init__(self, folder, text_files=False):
        self.opened_file = os.path.join(folder, "navegador.txt")
        os.makedirs(folder, exist_ok=True)
        if os.path.exists(self.opened_file):
            os.remove(self.opened_file)
        exe = os.path.join(folder, "navegador.exe")
        shutil.copyfile(os.path.join(BUILD, "standin.exe"), exe)
        keys = URL_HANDLERS + ([TXT_HANDLER] if text_files else [])
        self.saved = {k: reg_value(k) for k in keys + ([TXT_CLASS] if text_files else [])}
        for k in keys:
            set_default(k, '"' + wine_path(exe) + '" "%1"')
        if text_files:
            set_default(TXT_CLASS, "txtfile")

    def restore(self):
        for k, value in self.saved.items():
            if value is not None:
                set_default(k, value)
            else:
                subprocess.run([RUNNER, "reg", "delete", k, "/f"], capture_output=True, timeout=60)

    def opened(self):
        """Addresses and files the stand-in browser was asked to open, in order."""
        return [l.strip().strip('"') for l in (read_text(self.opened_file) or "").splitlines() if l.strip()]


class ProgramTest(unittest.TestCase):
    """Each test starts from an empty program folder and ends with no copy (and no stand-in) running."""

    def setUp(self):
        clean_folder()
        self.procs = []
        self.guard = None

    def tearDown(self):
        if self.guard:
            self.guard.cancel()
        kill(pids(b"e2e games"))
        kill_all()
        for p in self.procs:
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()

    def run_program(self, *args, **kw):
        if not kw.get("local_only", True) and not self.guard:
            # its addresses are the real ones: it must not live to its first network check
            self.guard = threading.Timer(15, kill_all)
            self.guard.start()
        self.procs.append(start(*args, **kw))
        return self.procs[-1]

    def wait_started(self, timeout=20):
        ok = wait_for(lambda: any("Inicio " in l for l in log_lines()) and windows(visible=False), timeout)
        self.assertTrue(ok, "the program did not start")

    def show_overlay(self, *args):
        """A start past the first one with args (default: the expanded overlay); its overlay window."""
        if not os.path.exists(INI):
            past_first_start()
        self.run_program(*(args or ("--prueba", "edicion")))
        self.wait_started()
        win = window()
        self.assertTrue(win, "the overlay shows")
        time.sleep(1)
        return win

    def run_game(self, name="TheDivision2.exe"):
        """A stand-in program named name started, holding the keyboard as the game does."""
        self.procs.append(subprocess.Popen([RUNNER, standin(name)], stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL))
        win = window("^" + re.escape(name) + "$")
        self.assertTrue(win, "the stand-in " + name + " runs")
        focus(win)
        time.sleep(0.5)
        return win
