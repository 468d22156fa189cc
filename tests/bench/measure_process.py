"""Whole-process figures of the real executable under Xvfb.

- start-up: from the process start to the first title frame on screen, polled
  straight from the X server every few milliseconds, beside the same figure for
  a bare raylib window (the part of start-up that is raylib's, the window
  system's and the software renderer's, not the game's);
- resident memory on the title screen and during play;
- the executable's size and the bytes of embedded assets.

Usage: measure_process.py path/to/kolvex path/to/kolvex_bare_window assets/data [runs]
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
import kolvex_e2e  # noqa: E402

from Xlib import X, display  # noqa: E402


def first_frame_seconds(d, executable):
    """Seconds from the process start until the window shows its first non-black frame."""
    workdir = tempfile.mkdtemp(prefix="kolvex-bench-")
    start = time.monotonic()
    process = subprocess.Popen([executable], cwd=workdir, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        window = None
        while True:
            if window is None:
                window = find_window(d)
            if window is not None:
                try:
                    raw = window.get_image(0, 0, 900, 700, X.ZPixmap, 0xFFFFFFFF).data
                    # Sample a sparse grid; the title picture is anything but black.
                    if any(raw[i] or raw[i + 1] or raw[i + 2] for i in range(0, len(raw), 4 * 997)):
                        return time.monotonic() - start
                except Exception:
                    pass
            if time.monotonic() - start > 20:
                raise RuntimeError("no title frame within 20 s")
            time.sleep(0.002)
    finally:
        process.kill()
        process.wait()


def find_window(d):
    def walk(w):
        try:
            name = w.get_wm_name()
            if isinstance(name, bytes):
                name = name.decode("utf-8", "replace")
            net_name = w.get_full_property(d.intern_atom("_NET_WM_NAME"), 0)
            if net_name is not None:
                name = net_name.value.decode("utf-8", "replace")
            if name == "コルベクス":
                return w
            for child in w.query_tree().children:
                found = walk(child)
                if found is not None:
                    return found
        except Exception:
            return None
        return None
    return walk(d.screen().root)


def resident_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def memory_figures(executable):
    with kolvex_e2e.Game(executable, name="bench-memory") as game:
        game.start()
        time.sleep(2.0)
        title = resident_kib(game.process.pid)
        game.key("Return")  # GAME START
        time.sleep(4.5)     # countdown, then play
        game.key("Up")
        time.sleep(1.0)
        play = resident_kib(game.process.pid)
        game.key("q")
        game.wait_exit()
    return title, play


def main():
    executable, bare = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    asset_dir = sys.argv[3]
    runs = int(sys.argv[4]) if len(sys.argv) > 4 else 10
    # One connection throughout: the X server of xvfb-run resets whenever its
    # last client leaves.
    d = display.Display()
    # Interleaved, so that a change in the machine's load touches both alike.
    startups, bare_startups = [], []
    for _ in range(runs):
        startups.append(first_frame_seconds(d, executable))
        bare_startups.append(first_frame_seconds(d, bare))
    title_kib, play_kib = memory_figures(executable)
    d.close()
    assets = sum(os.path.getsize(os.path.join(asset_dir, f)) for f in os.listdir(asset_dir)
                 if f.endswith((".png", ".ogg")))
    for what, times in (("start-up to first title frame", startups),
                        ("bare raylib window, same measure", bare_startups)):
        print("%s: median %.3f s, min %.3f s, max %.3f s over %d runs"
              % (what, statistics.median(times), min(times), max(times), runs))
    print("resident memory: title %.1f MiB, play %.1f MiB" % (title_kib / 1024, play_kib / 1024))
    print("executable: %.2f MB, embedded assets: %.2f MB"
          % (os.path.getsize(executable) / 1e6, assets / 1e6))


if __name__ == "__main__":
    main()
