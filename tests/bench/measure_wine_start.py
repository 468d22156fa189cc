"""Cold start of the Windows build under Wine beside the Linux build's, on the
same display in the same run: from the process start to the first title frame
on screen. Cold means no Wine process left from before (the prefix exists, made
once). Wine is not Windows: the ratio is for information.

Usage: measure_wine_start.py path/to/kolvex.exe path/to/kolvex [runs]
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
import wine  # noqa: E402
from measure_process import find_window, first_frame_seconds  # noqa: E402

from Xlib import X, display, error  # noqa: E402

TIMEOUT = 60


def end_wine():
    """Ends every Wine process, and with them the desktop and its windows."""
    subprocess.run(["wineserver", "-k"], check=False, timeout=30)
    subprocess.run(["wineserver", "-w"], check=False, timeout=30)


def wine_first_frame_seconds(d, executable):
    end_wine()
    workdir = tempfile.mkdtemp(prefix="kolvex-bench-")
    start = time.monotonic()
    process = subprocess.Popen(["wine", executable], cwd=workdir, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        while time.monotonic() - start < TIMEOUT:
            frame = find_window(d)
            # Under Wine the titled window is the frame; the picture is in its one child.
            children = frame.query_tree().children if frame is not None else []
            if children:
                try:
                    raw = children[0].get_image(0, 0, 900, 700, X.ZPixmap, 0xFFFFFFFF).data
                except error.BadMatch:  # not mapped, or not at its full size yet
                    raw = b""
                if any(raw[i] or raw[i + 1] or raw[i + 2] for i in range(0, len(raw), 4 * 997)):
                    return time.monotonic() - start
            time.sleep(0.002)
        raise RuntimeError("no title frame within %d s" % TIMEOUT)
    finally:
        process.kill()
        process.wait()
        end_wine()


def main():
    exe, native = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    with wine.Prefix():
        d = display.Display()
        # Interleaved, so that a change in the machine's load touches both alike.
        wine_times, native_times = [], []
        for _ in range(runs):
            wine_times.append(wine_first_frame_seconds(d, exe))
            native_times.append(first_frame_seconds(d, native))
        d.close()
    for what, times in (("kolvex.exe under Wine, cold", wine_times),
                        ("kolvex on Linux", native_times)):
        print("%s: median %.2f s, min %.2f s, max %.2f s over %d runs"
              % (what, statistics.median(times), min(times), max(times), runs))
    print("ratio of the medians: %.1f" % (statistics.median(wine_times)
                                          / statistics.median(native_times)))
    print("kolvex.exe: %.2f MB" % (os.path.getsize(exe) / 1e6))


if __name__ == "__main__":
    main()
