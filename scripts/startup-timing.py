#!/usr/bin/env python3
"""Start-up time of the program, measured from outside under a virtual X server.

    scripts/startup-timing.py [build folder] [runs]

Measures, for each run, the time from starting a process until its window is
mapped on the X server:
  - the program with the MIDI files in its program folder: the splash window
    (mapped, and first drawn: its middle pixel changes) and the main window;
  - the same program without MIDI files;
  - a minimal Qt window showing a Chinese label (compiled here, once).
The three are started in turn within each run, so that they share the same
machine load, and the medians over all runs (default 11) are printed.

Needs xvfb-run (xvfb, xauth), g++, pkg-config and Qt's development files; the
X client is libX11 through ctypes, so nothing beyond python3 is installed.
"""
import ctypes
import ctypes.util
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
TIMEOUT = 10.0

MINIMAL = r'''
#include <QApplication>
#include <QLabel>
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("人格问卷  中文标签"));
    label.resize(377, 226);
    label.show();
    return app.exec();
}
'''


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", XMapEvent), ("pad", ctypes.c_long * 24)]


class XImageHead(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_uint8))]


ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
IGNORE_ERRORS = ERROR_HANDLER(lambda dpy, err: 0)  # a window may go while it is read


class MapWatcher:
    """Reports the top-level windows mapped on the display, as they come."""

    def __init__(self):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self.x.XPending.argtypes = [ctypes.c_void_p]
        self.x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
        self.x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.POINTER(XImageHead)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p]
        self.x.XSetErrorHandler(IGNORE_ERRORS)
        self.dpy = self.x.XOpenDisplay(None)
        if not self.dpy:
            sys.exit("cannot open the X display")
        root = self.x.XDefaultRootWindow(self.dpy)
        self.x.XSelectInput(self.dpy, root, SUBSTRUCTURE_NOTIFY_MASK)
        self.x.XFlush(self.dpy)
        self.fd = self.x.XConnectionNumber(self.dpy)

    def drain(self):
        ev = XEvent()
        while self.x.XPending(self.dpy):
            self.x.XNextEvent(self.dpy, ctypes.byref(ev))

    def middle_pixel(self, window):
        """The pixel in the middle of the window, as bytes (None when unreadable)."""
        attrs = (ctypes.c_int * 64)()  # XWindowAttributes: x, y, width, height, ...
        if not self.x.XGetWindowAttributes(self.dpy, window, attrs):
            return None
        image = self.x.XGetImage(self.dpy, window, attrs[2] // 2, attrs[3] // 2, 1, 1,
                                 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            return None
        return bytes(image.contents.data[:3])  # a few bytes per read are left to the OS

    def wait_drawn(self, window, deadline):
        """Time (monotonic) the window's middle pixel first changes after its map."""
        blank = self.middle_pixel(window)
        while time.monotonic() < deadline:
            pixel = self.middle_pixel(window)
            if pixel is not None and pixel != blank:
                return time.monotonic()
            time.sleep(0.0005)
        return None

    def wait_maps(self, count, deadline, drawn=None):
        """Times (monotonic) of the next count top-level maps; the time the
        first one was drawn is appended to drawn when a list is given."""
        times = []
        ev = XEvent()
        while len(times) < count:
            while self.x.XPending(self.dpy) and len(times) < count:
                self.x.XNextEvent(self.dpy, ctypes.byref(ev))
                if ev.type == MAP_NOTIFY and not ev.xmap.override_redirect:
                    times.append(time.monotonic())
                    if drawn is not None and len(times) == 1:
                        t = self.wait_drawn(ev.xmap.window, deadline)
                        if t is not None:
                            drawn.append(t)
            if len(times) >= count:
                break
            left = deadline - time.monotonic()
            if left <= 0:
                break
            select.select([self.fd], [], [], left)
        return times


def measure(watcher, argv, cwd, maps, drawn=None):
    """ms until each of the maps; the ms until the first window was drawn go
    to drawn when a list is given."""
    watcher.drain()
    start = time.monotonic()
    proc = subprocess.Popen(argv, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    first = []
    times = watcher.wait_maps(maps, start + TIMEOUT, first if drawn is not None else None)
    proc.kill()
    proc.wait()
    if drawn is not None and first:
        drawn.append((first[0] - start) * 1000.0)
    return [(t - start) * 1000.0 for t in times]


def program_folder(build, base, with_midi):
    folder = os.path.join(base, "with-midi" if with_midi else "without-midi")
    os.makedirs(folder)
    for name in os.listdir(build):
        src = os.path.join(build, name)
        if not os.path.isfile(src) or name == "zol.mdb":
            continue
        if name.lower().endswith((".mid", ".rmi")) and not with_midi:
            continue
        if name == "zolmiv" or not name.startswith(("CMake", "Makefile", "cmake", "CTest")):
            shutil.copy2(src, folder)
    return folder


def build_minimal(build):
    out = os.path.join(build, "startup-probe")
    exe = os.path.join(out, "minimal")
    if os.path.exists(exe):
        return exe
    os.makedirs(out, exist_ok=True)
    src = os.path.join(out, "minimal.cpp")
    with open(src, "w", encoding="utf-8") as f:
        f.write(MINIMAL)
    flags = subprocess.check_output(["pkg-config", "--cflags", "--libs", "Qt6Widgets"], text=True)
    subprocess.check_call(["g++", "-O2", "-fPIC", "-std=c++17", src, "-o", exe] + flags.split())
    return exe


def inner(build, runs):
    minimal = build_minimal(build)
    watcher = MapWatcher()
    results = {"splash, MIDI files present": [], "splash drawn, MIDI files present": [],
               "main window, MIDI files present": [],
               "splash, no MIDI files": [], "splash drawn, no MIDI files": [],
               "main window, no MIDI files": [],
               "minimal Qt window, Chinese label": []}
    with tempfile.TemporaryDirectory() as base:
        with_midi = program_folder(build, base, True)
        without_midi = program_folder(build, base, False)
        # One warm-up round, not counted: the first start reads every file from disk.
        measure(watcher, [os.path.join(with_midi, "zolmiv")], with_midi, 2)
        measure(watcher, [minimal], base, 1)
        for _ in range(runs):
            for folder, tag in ((with_midi, "MIDI files present"), (without_midi, "no MIDI files")):
                t = measure(watcher, [os.path.join(folder, "zolmiv")], folder, 2,
                            results["splash drawn, " + tag])
                if len(t) == 2:
                    results["splash, " + tag].append(t[0])
                    results["main window, " + tag].append(t[1])
            t = measure(watcher, [minimal], base, 1)
            if t:
                results["minimal Qt window, Chinese label"].append(t[0])
    print(f"median of {runs} runs, ms from process start until the window is mapped")
    for name, values in results.items():
        if values:
            print(f"  {name:34s} {statistics.median(values):8.1f}   (min {min(values):.1f}, max {max(values):.1f})")
        else:
            print(f"  {name:34s}   no window seen")
    splash = results["splash, MIDI files present"]
    bare = results["minimal Qt window, Chinese label"]
    with_m = results["main window, MIDI files present"]
    no_m = results["main window, no MIDI files"]
    if splash and bare:
        print(f"  splash / minimal window            {statistics.median(splash) / statistics.median(bare):8.2f}")
    drawn_with = results["splash drawn, MIDI files present"]
    drawn_without = results["splash drawn, no MIDI files"]
    if drawn_with and drawn_without:
        print(f"  splash drawn, present - absent     {statistics.median(drawn_with) - statistics.median(drawn_without):8.1f}")
    if with_m and no_m:
        print(f"  main window, present - absent      {statistics.median(with_m) - statistics.median(no_m):8.1f}")


def main():
    args = sys.argv[1:]
    if args and args[0] == "--inner":
        inner(args[1], int(args[2]))
        return
    build = os.path.abspath(args[0] if args else os.path.join(ROOT, "build"))
    runs = int(args[1]) if len(args) > 1 else 11
    if not os.path.exists(os.path.join(build, "zolmiv")):
        sys.exit(f"no program: {build}/zolmiv (run make test or make run first)")
    sys.exit(subprocess.call(["xvfb-run", "-a", "-s", "-screen 0 1024x768x24",
                              sys.executable, os.path.abspath(__file__), "--inner", build, str(runs)]))


if __name__ == "__main__":
    main()
