#!/usr/bin/env python3
"""CPU use at rest and peak memory of the program, measured from outside.

    scripts/idle-load.py [build folder] [seconds] [wait]

Starts the program under a virtual X server twice, from a copy of the
program folder with its MIDI files and from one without, waits until the
main window is up (the splash window is gone; wait seconds, default 4; give
more to measure after the piece has ended), then reads
/proc/<pid>/stat over the given seconds (default 20): the CPU time the
process used, in percent of one core, split by thread name so that a busy
thread shows who it is. At the end VmHWM of /proc/<pid>/status gives the
peak memory. With the MIDI files a piece plays during the measurement.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
TICK = os.sysconf("SC_CLK_TCK")


def thread_ticks(pid):
    """{thread name: utime + stime in clock ticks} of the process."""
    ticks = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/stat") as f:
                text = f.read()
        except OSError:
            continue
        name = text[text.index("(") + 1:text.rindex(")")]
        fields = text[text.rindex(")") + 2:].split()
        key = f"{name}[{tid}]"
        ticks[key] = int(fields[11]) + int(fields[12])
    return ticks


def status_kb(pid, field):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0


def program_folder(build, base, with_midi):
    folder = os.path.join(base, "with-midi" if with_midi else "without-midi")
    os.makedirs(folder)
    for name in os.listdir(build):
        src = os.path.join(build, name)
        if not os.path.isfile(src) or name.startswith(("CMake", "Makefile", "cmake", "CTest")):
            continue
        if name.lower().endswith((".mid", ".rmi")) and not with_midi:
            continue
        shutil.copy2(src, folder)
    return folder


def measure(folder, seconds, settle):
    proc = subprocess.Popen([os.path.join(folder, "zolmiv")], cwd=folder,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(settle)
        before = thread_ticks(proc.pid)
        start = time.monotonic()
        time.sleep(seconds)
        after = thread_ticks(proc.pid)
        elapsed = time.monotonic() - start
        hwm = status_kb(proc.pid, "VmHWM")
    finally:
        proc.kill()
        proc.wait()
    per_thread = {k: (v - before.get(k, 0)) / TICK / elapsed * 100.0 for k, v in after.items()}
    return sum(per_thread.values()), per_thread, hwm


def inner(build, seconds, settle):
    with tempfile.TemporaryDirectory() as base:
        for with_midi in (False, True):
            folder = program_folder(build, base, with_midi)
            total, per_thread, hwm = measure(folder, seconds, settle)
            print(f"{'with' if with_midi else 'without'} MIDI files: "
                  f"{total:.2f} % of one core over {seconds} s, peak memory {hwm / 1024:.1f} MB")
            for name, pct in sorted(per_thread.items(), key=lambda kv: -kv[1]):
                if pct >= 0.05:
                    print(f"    {name:28s} {pct:6.2f} %")


def main():
    args = sys.argv[1:]
    if args and args[0] == "--inner":
        inner(args[1], float(args[2]), float(args[3]))
        return
    build = os.path.abspath(args[0] if args else os.path.join(ROOT, "build"))
    seconds = float(args[1]) if len(args) > 1 else 20.0
    settle = float(args[2]) if len(args) > 2 else 4.0
    if not os.path.exists(os.path.join(build, "zolmiv")):
        sys.exit(f"no program: {build}/zolmiv (run make run or make test first)")
    sys.exit(subprocess.call(["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24",
                              sys.executable, os.path.abspath(__file__), "--inner", build,
                              str(seconds), str(settle)]))


if __name__ == "__main__":
    main()
