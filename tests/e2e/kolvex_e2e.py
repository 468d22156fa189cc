"""Drives the real kolvex executable under an X display, as a player would.

The game runs in a fresh working directory; keys are real X events (press and
release at least 50 ms apart, or the game never sees the press); screenshots are
read straight from the X server and saved as PNG through netpbm. Every wait polls against a deadline, so a busy
machine makes a test slower, not flaky.
"""

import os
import shutil
import subprocess
import tempfile
import time

DEFAULT_TIMEOUT = 20.0
KEY_HOLD_SECONDS = 0.1
POLL_SECONDS = 0.05


class Screenshot:
    """An RGB picture of the window."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]

    def mean(self, x0, y0, x1, y1):
        """Average colour of the rectangle [x0, x1) x [y0, y1)."""
        total = [0, 0, 0]
        count = 0
        for y in range(y0, y1):
            row = (y * self.width) * 3
            for x in range(x0, x1):
                i = row + x * 3
                total[0] += self.rgb[i]
                total[1] += self.rgb[i + 1]
                total[2] += self.rgb[i + 2]
                count += 1
        return tuple(t / count for t in total)

    def difference(self, other, x0, y0, x1, y1):
        """Mean absolute difference of two screenshots over a rectangle, 0 to 255."""
        total = 0
        for y in range(y0, y1):
            row = (y * self.width) * 3
            for x in range(row + x0 * 3, row + x1 * 3):
                total += abs(self.rgb[x] - other.rgb[x])
        return total / ((x1 - x0) * (y1 - y0) * 3)

    def count_matching(self, x0, y0, x1, y1, predicate):
        n = 0
        for y in range(y0, y1):
            for x in range(x0, x1):
                if predicate(self.pixel(x, y)):
                    n += 1
        return n


def parse_ppm(data):
    """A Screenshot from a binary PPM (P6, 8 bits), as netpbm's tools write it."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            while data[pos:pos + 1] != b"\n":
                pos += 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise RuntimeError("not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    return Screenshot(width, height, data[pos + 1:pos + 1 + width * height * 3])


class Game:
    """One run of kolvex in its own working directory."""

    def __init__(self, executable, workdir=None, name="kolvex"):
        self.executable = os.path.abspath(executable)
        self.own_workdir = workdir is None
        self.workdir = workdir or tempfile.mkdtemp(prefix="kolvex-e2e-")
        self.name = name
        self.stdout_path = os.path.join(self.workdir, "stdout.txt")
        self.stderr_path = os.path.join(self.workdir, "stderr.txt")
        self.window = None
        self.process = None
        self._display = None
        out_dir = os.environ.get("KOLVEX_E2E_OUT", tempfile.gettempdir())
        self.out_dir = os.path.join(out_dir, name)
        os.makedirs(self.out_dir, exist_ok=True)

    # --- process -------------------------------------------------------------
    def start(self, extra_args=None, wrapper=None, stdout=None):
        """stdout: where the game's standard output goes (subprocess.PIPE: a pipe
        whose reader is self.process.stdout); a file read by stdout() otherwise."""
        command = (wrapper or []) + [self.executable] + (extra_args or [])
        self._stdout = open(self.stdout_path, "wb")
        self._stderr = open(self.stderr_path, "wb")
        self.started_at = time.monotonic()
        self.process = subprocess.Popen(command, cwd=self.workdir,
                                        stdout=self._stdout if stdout is None else stdout,
                                        stderr=self._stderr, stdin=subprocess.DEVNULL)
        self.window = self.wait_for(self._find_window, "the game window")
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window], check=False,
                       capture_output=True, timeout=10)
        return self

    def _find_window(self):
        if self.process.poll() is not None:
            raise AssertionError("kolvex exited with %s before its window appeared:\n%s"
                                 % (self.process.returncode, self.stderr()))
        # xdotool's name search is a regular expression that does not match this
        # title, so look at every visible window's name instead.
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."],
                                capture_output=True, text=True, timeout=10)
        for window in result.stdout.split():
            name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True,
                                  text=True, timeout=10).stdout.strip()
            if name == "コルベクス":
                return window
        return None

    def wait_exit(self, timeout=DEFAULT_TIMEOUT):
        try:
            code = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("kolvex did not exit within %.0f s" % timeout)
        self._stdout.close()
        self._stderr.close()
        return code

    def running(self):
        return self.process.poll() is None

    def stdout(self):
        if not self._stdout.closed:
            self._stdout.flush()
        with open(self.stdout_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def stderr(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def kill(self):
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def cleanup(self):
        self.kill()
        # The game's own output outlives its working directory, for a failure's sake.
        for path in (self.stdout_path, self.stderr_path):
            if os.path.exists(path):
                shutil.copy(path, os.path.join(self.out_dir, os.path.basename(path)))
        if self._display is not None:
            self._display.close()
            self._display = None
        if self.own_workdir:
            shutil.rmtree(self.workdir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.cleanup()

    # --- input ---------------------------------------------------------------
    def key(self, name, hold=KEY_HOLD_SECONDS, after=0.05):
        """A real press and release, far enough apart to fall into different frames."""
        subprocess.run(["xdotool", "keydown", name], check=True, timeout=10)
        time.sleep(hold)
        subprocess.run(["xdotool", "keyup", name], check=True, timeout=10)
        time.sleep(after)

    def mouse_to(self, x, y):
        """The X pointer to a point of the window, as a moved mouse takes it."""
        subprocess.run(["xdotool", "mousemove", "--window", self.window, str(x), str(y)],
                       check=True, timeout=10)

    def click(self, hold=KEY_HOLD_SECONDS, after=0.05):
        """A real left-button press and release, in different frames."""
        subprocess.run(["xdotool", "mousedown", "1"], check=True, timeout=10)
        time.sleep(hold)
        subprocess.run(["xdotool", "mouseup", "1"], check=True, timeout=10)
        time.sleep(after)

    def key_down(self, name):
        subprocess.run(["xdotool", "keydown", name], check=True, timeout=10)

    def key_up(self, name):
        subprocess.run(["xdotool", "keyup", name], check=True, timeout=10)

    def close_button(self):
        """What the window manager sends when the close button is used."""
        from Xlib import X, display, protocol
        d = display.Display()
        window = d.create_resource_object("window", int(self.window))
        wm_protocols = d.intern_atom("WM_PROTOCOLS")
        delete = d.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(window=window, client_type=wm_protocols,
                                             data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        window.send_event(event, event_mask=X.NoEventMask)
        d.flush()
        d.close()

    # --- output --------------------------------------------------------------
    def screenshot(self, save_as=None):
        """The window's pixels, straight from the X server; saved as PNG if asked."""
        from Xlib import X, display
        if self._display is None:
            self._display = display.Display()
        window = self._display.create_resource_object("window", int(self.window))
        geometry = window.get_geometry()
        raw = window.get_image(0, 0, geometry.width, geometry.height, X.ZPixmap,
                               0xFFFFFFFF).data
        rgb = bytearray(geometry.width * geometry.height * 3)
        rgb[0::3] = raw[2::4]
        rgb[1::3] = raw[1::4]
        rgb[2::3] = raw[0::4]
        shot = Screenshot(geometry.width, geometry.height, bytes(rgb))
        if save_as:
            self.save(shot, save_as)
        return shot

    def save(self, shot, name):
        """Writes a screenshot as PNG under the test's output folder (or an absolute path)."""
        ppm = b"P6\n%d %d\n255\n" % (shot.width, shot.height) + shot.rgb
        png = subprocess.run(["pnmtopng", "-compression", "9"], input=ppm,
                             capture_output=True, check=True, timeout=20)
        path = name if os.path.isabs(name) else os.path.join(self.out_dir, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(png.stdout)
        return path

    def wait_for(self, probe, what, timeout=DEFAULT_TIMEOUT):
        """Polls probe() until it returns something truthy, which is returned."""
        deadline = time.monotonic() + timeout
        while True:
            value = probe()
            if value:
                return value
            if time.monotonic() > deadline:
                raise AssertionError("timed out after %.0f s waiting for %s" % (timeout, what))
            time.sleep(POLL_SECONDS)

    def wait_for_screen(self, predicate, what, timeout=DEFAULT_TIMEOUT):
        """Polls screenshots until predicate(shot) holds; returns that screenshot."""
        def probe():
            shot = self.screenshot()
            return shot if predicate(shot) else None
        return self.wait_for(probe, what, timeout)


def run(test):
    """Runs test(executable) and turns an AssertionError into exit status 1."""
    import sys
    import traceback
    if len(sys.argv) < 2:
        print("usage: %s path/to/kolvex" % sys.argv[0])
        sys.exit(2)
    try:
        test(sys.argv[1])
    except AssertionError:
        traceback.print_exc()
        sys.exit(1)
