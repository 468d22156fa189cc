"""The window and its ways out: 900 x 700 with its title and its icon, Escape never
closes it, Q ends the program with status 0, and so does the window's close button."""

import subprocess
import time

import kolvex_e2e


def window_size(game):
    out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", game.window],
                         capture_output=True, text=True, check=True).stdout
    values = dict(line.split("=", 1) for line in out.split())
    return int(values["WIDTH"]), int(values["HEIGHT"])


def icon_sizes(game):
    """The (width, height) of each picture in the window's _NET_WM_ICON, as the X server holds it."""
    from Xlib import Xatom, display
    d = display.Display()
    try:
        window = d.create_resource_object("window", int(game.window))
        prop = window.get_full_property(d.intern_atom("_NET_WM_ICON"), Xatom.CARDINAL)
        values = list(prop.value) if prop is not None else []
    finally:
        d.close()
    sizes = []
    while len(values) >= 2:
        width, height = values[0], values[1]
        pixels = values[2:2 + width * height]
        # The badge, as drawn: opaque in the middle, clear in the corner, and
        # there the purple of the middle block (ARGB).
        middle = pixels[width * (height // 2) + width // 2]
        assert middle >> 24 == 0xFF, hex(middle)
        red, green, blue = middle >> 16 & 0xFF, middle >> 8 & 0xFF, middle & 0xFF
        assert blue > green and red > green, hex(middle)
        assert pixels[0] >> 24 == 0, hex(pixels[0])
        sizes.append((width, height))
        values = values[2 + width * height:]
    return sizes


def test(executable):
    with kolvex_e2e.Game(executable, name="shell") as game:
        game.start()
        assert window_size(game) == (900, 700), window_size(game)
        name = subprocess.run(["xdotool", "getwindowname", game.window], capture_output=True,
                              text=True, check=True).stdout.strip()
        assert name == "コルベクス", name
        # raylib's SDL platform takes one picture: the largest.
        sizes = game.wait_for(lambda: icon_sizes(game), "the window icon")
        assert sizes == [(256, 256)], sizes

        game.key("Escape")
        time.sleep(0.5)
        assert game.running(), "Escape closed the window"

        game.key("q")
        assert game.wait_exit() == 0

    with kolvex_e2e.Game(executable, name="shell-close") as game:
        game.start()
        # A close request that reaches the window before the game polls its
        # events the first time may be dropped by the platform layer; ask again.
        def closed():
            game.close_button()
            time.sleep(0.5)
            return not game.running()
        game.wait_for(closed, "the window to close")
        assert game.wait_exit() == 0


if __name__ == "__main__":
    kolvex_e2e.run(test)
