"""The desktop window as a player handles it under a window manager (openbox):
F11 and Alt+Enter to full screen and back, the picture in its shape between
black bars; a window made wide, where a click still lands on its menu entry;
another window taking the focus in play, which pauses the game; and the
keypad's Enter starting a game."""

import subprocess
import time

import kolvex_e2e
from test_game import wait_for_countdown_digit
from test_session import paused
from test_title import (HIGHLIGHT_PIXELS, MENU_ROWS, WIDTH, HEIGHT, bright, highlighted_row,
                        reference, shows)

WINDOW = (WIDTH, HEIGHT)
# Bars are black; the game's pictures are nowhere near.
BLACK_BAR = 2.0
# Every press and click is held long enough to outlast the slowest frame of a
# loaded machine (the title's loading ahead): a press that toggles full screen
# cannot be tried again.
HOLD = 0.5


class WindowManager:
    """openbox on the test's display for the length of a with-block."""

    def __enter__(self):
        from Xlib import display
        self.process = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        d = display.Display()
        try:
            root = d.screen().root
            check = d.intern_atom("_NET_SUPPORTING_WM_CHECK")
            deadline = time.monotonic() + kolvex_e2e.DEFAULT_TIMEOUT
            while root.get_full_property(check, 0) is None:
                assert time.monotonic() < deadline, "the window manager did not start"
                time.sleep(kolvex_e2e.POLL_SECONDS)
            geometry = root.get_geometry()
            self.screen = (geometry.width, geometry.height)
        finally:
            d.close()
        return self

    def __exit__(self, *exc):
        self.process.kill()
        self.process.wait()


def window_size(game):
    from Xlib import display
    d = display.Display()
    try:
        geometry = d.create_resource_object("window", int(game.window)).get_geometry()
        return geometry.width, geometry.height
    finally:
        d.close()


def wait_for_size(game, size, what):
    game.wait_for(lambda: window_size(game) == size, "%s (%dx%d)" % ((what,) + size))


def view(width, height):
    """Where the game's picture should lie in a window this size: as large as
    fits, centred, in its own shape."""
    scale = min(width / WIDTH, height / HEIGHT)
    w, h = round(WIDTH * scale), round(HEIGHT * scale)
    return (width - w) // 2, (height - h) // 2, w, h


def in_game(shot):
    """The picture within the window's screenshot, brought back to the game's size."""
    x, y, w, h = view(shot.width, shot.height)
    ppm = b"P6\n%d %d\n255\n" % (shot.width, shot.height) + shot.rgb
    cut = subprocess.run(["pamcut", "-left", str(x), "-top", str(y), "-width", str(w),
                          "-height", str(h)], input=ppm, capture_output=True, check=True).stdout
    scaled = subprocess.run(["pamscale", "-xsize", str(WIDTH), "-ysize", str(HEIGHT)],
                            input=cut, capture_output=True, check=True).stdout
    plain = subprocess.run(["pamtopnm"], input=scaled, capture_output=True, check=True).stdout
    return kolvex_e2e.parse_ppm(plain)


def bars(shot):
    """The window's parts outside the picture, as rectangles."""
    x, y, w, h = view(shot.width, shot.height)
    parts = [(0, 0, x, shot.height), (x + w, 0, shot.width, shot.height),
             (0, 0, shot.width, y), (0, y + h, shot.width, shot.height)]
    return [p for p in parts if p[2] > p[0] and p[3] > p[1]]


def framed(shot, picture):
    """Black bars where the window's shape differs from the game's, and the
    picture between them in its own shape."""
    return (all(max(shot.mean(*bar)) < BLACK_BAR for bar in bars(shot))
            and shows(in_game(shot), picture))


def title_framed(title, row=0):
    return lambda s: framed(s, title) and highlighted_row(in_game(s)) == row


def press(game, name):
    game.key(name, hold=HOLD)


def f11(game):
    press(game, "F11")


def alt_enter(game):
    game.key_down("alt")
    press(game, "Return")
    game.key_up("alt")


def full_screen_and_back(game, wm, title, press, name):
    press(game)
    wait_for_size(game, wm.screen, "full screen after " + name)
    shot = game.wait_for_screen(title_framed(title), "the title framed on the whole screen")
    game.save(shot, "full_screen_%s.png" % name.replace("+", "_"))
    assert bars(shot), "a 1280x1024 screen leaves bars around a 900x700 picture"
    press(game)
    wait_for_size(game, WINDOW, "the window back after " + name)
    game.wait_for_screen(lambda s: shows(s, title) and highlighted_row(s) == 0,
                         "the title in the window as before")


def wide_window_click(game, title, page):
    subprocess.run(["xdotool", "windowsize", "--sync", game.window, "1200", "500"], check=True,
                   timeout=10)
    wait_for_size(game, (1200, 500), "the wide window")
    shot = game.wait_for_screen(title_framed(title), "the title between side bars")
    game.save(shot, "wide.png")
    x, y, w, h = view(shot.width, shot.height)
    assert x > 200 and y == 0, ("bars at the sides", x, y)
    # HOW TO PLAY, under the pointer at the wide window's scale.
    scale = w / WIDTH
    game.mouse_to(round(x + 340 * scale), round(y + MENU_ROWS[1] * scale))
    game.wait_for_screen(title_framed(title, 1), "HOW TO PLAY highlighted under the mouse")
    game.click(hold=HOLD)
    game.wait_for_screen(
        lambda s: framed(s, page) and bright(in_game(s), 120, 160, 560, 180) > HIGHLIGHT_PIXELS,
        "the how-to-play page opened by the click")
    press(game, "Escape")
    subprocess.run(["xdotool", "windowsize", "--sync", game.window, str(WIDTH), str(HEIGHT)],
                   check=True, timeout=10)
    wait_for_size(game, WINDOW, "the window at the game's size again")
    game.wait_for_screen(lambda s: shows(s, title) and highlighted_row(s) == 1, "the title menu")


def pause_on_lost_focus(game):
    game.wait_for_screen(lambda s: not paused(s) and max(s.pixel(37, 300)) > 150,
                         "play", timeout=15)
    other = subprocess.Popen(["xlogo"])
    try:
        shot = game.wait_for_screen(paused, "the pause menu once another window has the focus")
        game.save(shot, "paused_by_focus.png")
    finally:
        other.kill()
        other.wait()
    subprocess.run(["xdotool", "windowactivate", "--sync", game.window], check=False,
                   timeout=10)
    # Back in front, the game waits in its pause menu for the player.
    assert game.wait_for_screen(paused, "the pause menu still, with the focus back")
    press(game, "Return")  # RESUME
    game.wait_for_screen(lambda s: not paused(s), "play again after RESUME")


def test(executable):
    title = reference("tx_titlebg")
    page = reference("tx_htpbg")
    with WindowManager() as wm, kolvex_e2e.Game(executable, name="window") as game:
        game.start()
        game.wait_for_screen(lambda s: shows(s, title) and highlighted_row(s) == 0,
                             "the title screen", timeout=60)
        full_screen_and_back(game, wm, title, f11, "F11")
        full_screen_and_back(game, wm, title, alt_enter, "Alt+Enter")
        wide_window_click(game, title, page)

        press(game, "Up")
        press(game, "KP_Enter")  # GAME START
        wait_for_countdown_digit(game)
        pause_on_lost_focus(game)

        press(game, "q")
        assert game.wait_exit() == 0


if __name__ == "__main__":
    kolvex_e2e.run(test)
