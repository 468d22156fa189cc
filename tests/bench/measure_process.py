"""Whole-process figures of the real executable under Xvfb.

- start-up: from the process start to the first title frame on screen, polled
  straight from the X server every few milliseconds, beside the same figure for
  a bare raylib window (the part of start-up that is raylib's, the window
  system's and the software renderer's, not the game's);
- the response to a key, from an XTEST key press to the first frame on screen
  that shows its effect: GAME START (the first frame that shows the well, in
  the first game of a process and in a repeated one) beside an ordinary key
  (Down in the title menu, the highlight moving to HOW TO PLAY);
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

from Xlib import X, XK, display  # noqa: E402
from Xlib.ext import xtest  # noqa: E402

# Window regions (x, y, width, height): where the title menu's marker stands in
# front of HOW TO PLAY, and a strip of the title's red border where the game
# scene's first frame, the one with the well, shows the sky.
MARKER_ROW_2 = (228, 398, 20, 22)
GAME_PATCH = (100, 2, 300, 20)


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


def region_pixels(window, region):
    x, y, w, h = region
    return window.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF).data


def changed_pixels(before, after):
    """How many pixels differ clearly between two grabs of one region."""
    return sum(1 for i in range(0, len(before), 4)
               if abs(before[i] - after[i]) + abs(before[i + 1] - after[i + 1])
               + abs(before[i + 2] - after[i + 2]) > 90)


def response_seconds(d, window, key, region, min_changed):
    """Seconds from an XTEST press of key until min_changed pixels of region differ."""
    before = region_pixels(window, region)
    code = d.keysym_to_keycode(XK.string_to_keysym(key))
    xtest.fake_input(d, X.KeyPress, code)
    d.sync()
    start = time.monotonic()
    try:
        while changed_pixels(before, region_pixels(window, region)) < min_changed:
            if time.monotonic() - start > 10:
                raise RuntimeError("no response to %s within 10 s" % key)
            time.sleep(0.001)
        return time.monotonic() - start
    finally:
        time.sleep(0.03)
        xtest.fake_input(d, X.KeyRelease, code)
        d.sync()


def tap(d, key):
    """A press held long enough for a slow frame to see it, then its release."""
    code = d.keysym_to_keycode(XK.string_to_keysym(key))
    for event in (X.KeyPress, X.KeyRelease):
        xtest.fake_input(d, event, code)
        d.sync()
        time.sleep(0.2)


def until(check, what, timeout=60):
    deadline = time.monotonic() + timeout
    while not check():
        if time.monotonic() > deadline:
            raise RuntimeError("timed out waiting for " + what)
        time.sleep(0.01)


def key_responses(d, executable):
    """One process: Down in the title menu, the first GAME START, and a repeated one."""
    with kolvex_e2e.Game(executable, name="bench-keys") as game:
        game.start()
        window = d.create_resource_object("window", int(game.window))
        time.sleep(1.5)  # the title settled
        menu = region_pixels(window, MARKER_ROW_2)
        title = region_pixels(window, GAME_PATCH)
        ordinary = response_seconds(d, window, "Down", MARKER_ROW_2, 8)
        until(lambda: tap(d, "Up") or changed_pixels(menu, region_pixels(window, MARKER_ROW_2)) < 8,
              "GAME START highlighted again")
        first = response_seconds(d, window, "Return", GAME_PATCH, 3000)

        def quit_to_title():  # pause (once play runs), choose QUIT, confirm
            for key in ("Escape", "Right", "Return"):
                tap(d, key)
            time.sleep(0.3)
            return changed_pixels(title, region_pixels(window, GAME_PATCH)) < 300
        until(quit_to_title, "the title after QUIT in the pause menu")
        time.sleep(0.5)
        repeated = response_seconds(d, window, "Return", GAME_PATCH, 3000)
        game.wait_for(lambda: game.key("q", hold=0.3) or not game.running(), "the game to end")
        game.wait_exit()
    return ordinary, first, repeated


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
        # A press shorter than a frame of a loaded machine goes unseen: again until it ends.
        game.wait_for(lambda: game.key("q", hold=0.3) or not game.running(), "the game to end")
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
    ordinary, first, repeated = [], [], []
    for _ in range(max(3, runs // 2)):
        for times, value in zip((ordinary, first, repeated), key_responses(d, executable)):
            times.append(value)
    title_kib, play_kib = memory_figures(executable)
    d.close()
    assets = sum(os.path.getsize(os.path.join(asset_dir, f)) for f in os.listdir(asset_dir)
                 if f.endswith((".png", ".ogg")))
    for what, times in (("start-up to first title frame", startups),
                        ("bare raylib window, same measure", bare_startups)):
        print("%s: median %.3f s, min %.3f s, max %.3f s over %d runs"
              % (what, statistics.median(times), min(times), max(times), runs))
    for what, times in (("key response, Down in the title menu", ordinary),
                        ("key response, first GAME START to the well", first),
                        ("key response, repeated GAME START to the well", repeated)):
        print("%s: median %.1f ms, min %.1f ms, max %.1f ms over %d runs"
              % (what, 1e3 * statistics.median(times), 1e3 * min(times), 1e3 * max(times),
                 len(times)))
    print("GAME START against the ordinary key: first %.2f times, repeated %.2f times"
          % (statistics.median(first) / statistics.median(ordinary),
             statistics.median(repeated) / statistics.median(ordinary)))
    print("resident memory: title %.1f MiB, play %.1f MiB" % (title_kib / 1024, play_kib / 1024))
    print("executable: %.2f MB, embedded assets: %.2f MB"
          % (os.path.getsize(executable) / 1e6, assets / 1e6))


if __name__ == "__main__":
    main()
