"""The title screen as a player meets it: the title picture with GAME START
highlighted, the highlight following Down, the how-to-play and credits pages
opening on their own picture and closing with Escape or a click, the mouse
highlighting an entry it moves onto, and a click on QUIT ending the program with
status 0."""

import os
import subprocess

import kolvex_e2e

ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "data")
WIDTH, HEIGHT = 900, 700

# The four menu rows at 900 x 700, each a band wide enough for the entry and
# its marker whatever the entry's length.
MENU_ROWS = [370, 410, 450, 490]
ROW_HALF_HEIGHT = 14
ROW_LEFT, ROW_RIGHT = 150, 520

# Parts of the pictures that no text covers: the logo band and the lower right.
LOGO = (40, 40, 860, 200)
LOWER_RIGHT = (560, 520, 860, 680)
# Mean difference per channel below which a region shows the expected picture;
# the stretch on the graphics card and the reference's resampling differ a little.
SAME_PICTURE = 12.0
# Entries and labels are drawn in full white only when highlighted or on a page;
# the dimmed entries are half white over a dark field.
BRIGHT = 225
HIGHLIGHT_PIXELS = 30


def reference(name):
    """The embedded picture as the game shows it: stretched to the window."""
    png = subprocess.run(["pngtopnm", os.path.join(ASSETS, name + ".png")],
                         capture_output=True, check=True).stdout
    scaled = subprocess.run(["pamscale", "-xsize", str(WIDTH), "-ysize", str(HEIGHT)],
                            input=png, capture_output=True, check=True).stdout
    ppm = subprocess.run(["pamtopnm"], input=scaled, capture_output=True, check=True).stdout
    return kolvex_e2e.parse_ppm(ppm)


def shows(shot, picture):
    return all(shot.difference(picture, *region) < SAME_PICTURE for region in (LOGO, LOWER_RIGHT))


def bright(shot, x0, y0, x1, y1):
    return shot.count_matching(x0, y0, x1, y1, lambda p: min(p) > BRIGHT)


def row_brightness(shot):
    return [bright(shot, ROW_LEFT, y - ROW_HALF_HEIGHT, ROW_RIGHT, y + ROW_HALF_HEIGHT)
            for y in MENU_ROWS]


def highlighted_row(shot):
    """The one menu row drawn in full white, or None."""
    counts = row_brightness(shot)
    lit = [i for i, n in enumerate(counts) if n >= HIGHLIGHT_PIXELS]
    dark = [i for i, n in enumerate(counts) if n == 0]
    if len(lit) == 1 and len(dark) == len(MENU_ROWS) - 1:
        return lit[0]
    return None


def menu_with(game, title, row, what, save_as=None):
    shot = game.wait_for_screen(
        lambda s: shows(s, title) and highlighted_row(s) == row, what)
    if save_as:
        game.screenshot(save_as)
    return shot


def test(executable):
    title = reference("tx_titlebg")
    page = reference("tx_htpbg")
    assert not shows(title, page), "the two pictures must be told apart"

    with kolvex_e2e.Game(executable, name="title") as game:
        game.start()
        first = menu_with(game, title, 0, "the title picture with GAME START highlighted",
                          "title.png")
        assert shows(first, title)

        game.key("Down")
        moved = menu_with(game, title, 1, "HOW TO PLAY highlighted after Down")
        top = (ROW_LEFT, MENU_ROWS[0] - ROW_HALF_HEIGHT, ROW_RIGHT, MENU_ROWS[0] + ROW_HALF_HEIGHT)
        assert moved.difference(first, *top) > 1.0, "GAME START is dimmed after the move"

        game.key("Return")
        how = game.wait_for_screen(
            lambda s: shows(s, page) and bright(s, 120, 160, 560, 180) > HIGHLIGHT_PIXELS,
            "the how-to-play page on its picture")
        game.screenshot("how_to_play.png")
        assert bright(how, 120, 460, 660, 480) > HIGHLIGHT_PIXELS, "the Escape hint at y 470"
        assert row_brightness(how)[:2] == [0, 0], "no menu entries on the page"

        game.key("Escape")
        menu_with(game, title, 1, "the menu again with HOW TO PLAY highlighted")

        game.key("Down")
        menu_with(game, title, 2, "CREDITS highlighted")
        game.key("Return")
        credits = game.wait_for_screen(
            lambda s: shows(s, page) and bright(s, 330, 115, 570, 135) > HIGHLIGHT_PIXELS,
            "the credits page on its picture")
        game.screenshot("credits.png")
        assert bright(credits, 220, 595, 680, 615) > HIGHLIGHT_PIXELS, "the Escape hint at y 605"
        assert bright(credits, ROW_LEFT, 356, 300, 384) == 0, "no menu entry beside the heading"

        game.mouse_to(700, 300)
        game.click()
        menu_with(game, title, 2, "the menu again with CREDITS highlighted after a click")

        game.mouse_to(340, MENU_ROWS[3])
        menu_with(game, title, 3, "QUIT highlighted under the mouse")
        game.click()
        assert game.wait_exit() == 0


if __name__ == "__main__":
    kolvex_e2e.run(test)
