"""A game on screen with real keys: the countdown, play with its ghost, a row
cleared, the hold comet and the pause menu, each checked where it is drawn and
kept as a screenshot."""

import os
import time

import kolvex_e2e
import player as p

LIGHTGRAY = (200, 200, 200)
DARKGRAY = (80, 80, 80)


def near(rgb, want, tolerance=12):
    return all(abs(a - b) <= tolerance for a, b in zip(rgb, want))


def white_pixels(shot, x0, y0, x1, y1):
    return shot.count_matching(x0, y0, x1, y1, lambda c: min(c) > 225)


def check_playfield(shot):
    # The well's frame, 5 px wide around the cell area from (40, 60) to (330, 640).
    for x, y in ((37, 300), (332, 300), (200, 57), (200, 642)):
        assert near(shot.pixel(x, y), LIGHTGRAY), ("well frame", x, y, shot.pixel(x, y))
    # The NEXT and HOLD boxes: a light border 3 px wide around a dark square.
    for top in (110, 270):
        assert near(shot.pixel(401, top + 40), LIGHTGRAY), ("box border", top)
        assert near(shot.pixel(405, top + 4), DARKGRAY), ("box inside", top)
    # The labels and read-outs are white text in their places.
    assert white_pixels(shot, 420, 88, 480, 112) > 30, "NEXT label"
    assert white_pixels(shot, 420, 233, 480, 257) > 30, "HOLD label"
    for y in (400, 490, 580):
        assert white_pixels(shot, 410, y, 500, y + 24) > 40, ("read-out label", y)


def ghost_cells(shot):
    """Cells of the two bottom rows that stand out from the rest of their row: the
    translucent landing image of the piece in an empty well."""
    count = 0
    for r in (18, 19):
        row = [shot.pixel(*p.well_cell_sample(c, r)) for c in range(p.WIDTH)]
        median = [sorted(channel)[p.WIDTH // 2] for channel in zip(*row)]
        count += sum(1 for rgb in row if max(abs(a - b) for a, b in zip(rgb, median)) > 25)
    return count


def wait_for_countdown_digit(game):
    # A big white digit in the middle of the window.
    return game.wait_for_screen(lambda s: white_pixels(s, 420, 300, 480, 400) > 300,
                                "the countdown", timeout=15)


def comet_pixels(shot):
    # The comet is drawn under the dimming, so it shows as a dark sky blue.
    return shot.count_matching(330, 60, 400, 400,
                               lambda c: c[2] > 70 and c[2] - c[0] > 50 and c[1] > c[0])


def capture_hold_comet(game):
    """Holds, and keeps the frame with the most of the comet in it.

    The comet flies for about 0.3 s: the frames are grabbed first and judged
    afterwards, so that a loaded machine still catches several of them."""
    game.key_down("Control_L")
    shots = []
    deadline = time.monotonic() + 0.6
    while time.monotonic() < deadline:
        shots.append(game.screenshot())
    game.key_up("Control_L")
    counts = [comet_pixels(shot) for shot in shots]
    best = max(range(len(shots)), key=counts.__getitem__)
    return shots[best], counts[best]


def test(executable):
    with kolvex_e2e.Game(executable, name="game") as game:
        game.start()
        game.wait_for_screen(lambda s: max(s.pixel(450, 100)) > 0, "the title screen")
        game.key("Return")  # GAME START

        countdown = wait_for_countdown_digit(game)
        game.save(countdown, "countdown.png")
        check_playfield(countdown)

        bot = p.Player(game)
        bot.start()
        shot = game.screenshot("play.png")
        check_playfield(shot)
        assert ghost_cells(shot) >= 3, "no ghost piece on the floor of the empty well"

        # Play until a row is cleared; the screen must then match the player's well.
        cleared_shot = None
        for _ in range(40):
            if bot.play_piece():
                cleared_shot = game.screenshot("line_clear.png")
                break
        assert cleared_shot is not None, "no row cleared in 40 pieces"
        # Once the burst has faded the well must be the player's, row for row.
        game.wait_for_screen(bot.board_matches_screen, "the well to match the player's")

        before = game.screenshot()
        assert comet_pixels(before) < 10, "comet colours before the hold"
        comet, count = capture_hold_comet(game)
        assert count > 40, "no hold comet seen (%d comet pixels)" % count
        # Under the comet the well is dimmed.
        assert sum(comet.mean(60, 300, 320, 600)) < 0.8 * sum(before.mean(60, 300, 320, 600))
        game.save(comet, "hold.png")
        game.wait_for_screen(lambda s: p.read_hold(s) == bot.piece,
                             "the HOLD box to show the %s piece" % bot.piece)

        game.key("Escape")
        pause = game.wait_for_screen(lambda s: white_pixels(s, 390, 225, 530, 280) > 200,
                                     "the PAUSE title")
        game.save(pause, "pause.png")
        game.key("q")
        assert game.wait_exit() == 0
        assert "kolvex.sav" not in os.listdir(game.workdir), \
            "Q during a game saved a result"


if __name__ == "__main__":
    kolvex_e2e.run(test)
