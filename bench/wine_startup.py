"""Start-up, memory and idle CPU of the real program under Wine, against the budgets:
start-up to the overlay shown under 300 ms, under 20 MB private bytes with the library closed,
near-zero CPU while the overlay is shown.

Start-up is measured from launching the process to its overlay window being mapped, minus the
time a do-nothing program takes to start and end (the probe helper), so what remains is the program's own
work rather than Wine's process start. Runs on a warm Wine server; medians of several starts."""

import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import harness as h  # noqa: E402

RUNS = 7


def time_to_window(cmd, name):
    h.wait_for(lambda: not h.windows(name, visible=False), 10, 0.05)  # the last copy's window is gone
    t0 = time.perf_counter()
    p = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while not h.windows(name):
        if time.perf_counter() - t0 > 30:
            raise SystemExit(f"no window {name} after 30 s")
        time.sleep(0.005)
    return time.perf_counter() - t0, p


def quit_program():
    """Ends the running copy the way the player does (the menu's quit command), so that the
    next start does not wait on what a killed process leaves behind in the Wine server."""
    h.post(0x0111, 105, 0)  # WM_COMMAND, quit
    if not h.wait_for(lambda: not h.program_pids(), 10, 0.05):
        h.kill_all()


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def main():
    h.setUpModule()
    env = dict(os.environ, WINEPREFIX=h.PREFIX)
    subprocess.run(["wineserver", "-p", "120"], env=env)
    try:
        h.clean_folder()
        h.start("--prueba", "edicion")  # the first start makes the folder and files
        h.wait_for(lambda: h.windows(), 30)
        time.sleep(2)
        h.kill_all()

        base, prog = [], []
        for _ in range(RUNS):
            t0 = time.perf_counter()
            subprocess.run([h.RUNNER, h.PROBE, "--nothing"], capture_output=True)
            base.append(time.perf_counter() - t0)
            t, p = time_to_window([h.RUNNER, h.EXE, "--prueba", "edicion"], "^Zenvoral$")
            prog.append(t)
            quit_program()

        # memory and idle CPU of a running copy with the overlay shown
        h.start("--prueba", "edicion")
        h.wait_for(lambda: h.windows(), 30)
        time.sleep(5)
        out = os.path.join(h.ROOT, "build", "bench-mem.txt")
        subprocess.run([h.RUNNER, h.PROBE, "mem", "Z:" + out.replace("/", "\\")],
                       capture_output=True, timeout=60)
        with open(out) as f:
            private, working = (int(v) for v in f.read().split())
        pid = h.program_pids()[0]
        if not private:  # Wine leaves the counter at zero: take the process's anonymous memory
            with open(f"/proc/{pid}/status") as f:
                private = next(int(l.split()[1]) * 1024 for l in f if l.startswith("RssAnon:"))
        c0, t0 = cpu_seconds(pid), time.time()
        time.sleep(20)
        cpu = (cpu_seconds(pid) - c0) / (time.time() - t0) * 100
        h.kill_all()
    finally:
        h.tearDownModule()

    own = statistics.median(prog) - statistics.median(base)
    print("\nWine measurements (median of %d starts)" % RUNS)
    print("%-44s %10s %12s" % ("what", "measured", "budget"))
    print("%-44s %8.0f ms %12s" % ("a program's start and end (Wine's own)", statistics.median(base) * 1000, ""))
    print("%-44s %8.0f ms %12s" % ("Zenvoral.exe start to overlay shown", statistics.median(prog) * 1000, ""))
    print("%-44s %8.0f ms %12s" % ("  the program's own part", own * 1000, "< 300 ms"))
    print("%-44s %8.1f MB %12s" % ("private bytes, overlay shown", private / 1048576, "< 20 MB"))
    print("%-44s %8.1f MB %12s" % ("working set", working / 1048576, ""))
    print("%-44s %8.2f %% %12s" % ("CPU while idle, 20 s", cpu, "near zero"))


if __name__ == "__main__":
    main()
