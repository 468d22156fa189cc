"""One whole session of the real game with real keys, as a player would have it:
the title and its two pages, a game with every kind of move, the pause menu, a
top-out, the game-over screen, RETRY, a second game left through the pause menu,
and QUIT. Usage: test_session.py path/to/kolvex [screenshot-dir | --sanitized]

With a screenshot folder the pictures of the session are written there too (the
README's screenshots come from such a run). --sanitized reads the report of a
game built with AddressSanitizer and LeakSanitizer (run with LSAN_OPTIONS
exitcode=23).
"""

import os
import re
import sys

import kolvex_e2e
import player as p
from test_game import capture_hold_comet, wait_for_countdown_digit, white_pixels
from test_game_over import (TRACE, game_over_shown, play_to_top_out, title_shown,
                            wait_for_armed_menu)

# The exit status LeakSanitizer is told to use, so that its reports can be read.
LEAKS_ELSEWHERE = 23
OWN_WARNINGS = ("Failed to load BGM!", "テキスチャーの読み込みに失敗")


def page_shown(shot):
    # The pages' white text starts at y 125 to 170; the menu has none up there.
    return white_pixels(shot, 120, 160, 560, 180) > 80


def paused(shot):
    # The overlay dims the light well frame, and "PAUSE" stands above the middle.
    return max(shot.pixel(37, 300)) < 120 and white_pixels(shot, 390, 225, 530, 280) > 200


def piece_cells(game, bot):
    return game.wait_for(lambda: p.four_cells(bot.falling_cells(game.screenshot())),
                         "the piece in play", timeout=5)


def held_key_repeats(game, bot):
    """Holding Left moves the piece once and then again at every key repeat."""
    start = min(c for c, _ in piece_cells(game, bot))
    game.key("Left", hold=1.2)
    cells = piece_cells(game, bot)
    assert min(c for c, _ in cells) == 0, ("a held Left should reach the wall", start, cells)


def soft_drop_falls(game, bot):
    top = min(r for _, r in piece_cells(game, bot))
    game.key("Down", hold=0.4)
    now = min(r for _, r in piece_cells(game, bot))
    assert now >= top + 3, ("the soft drop should fall several rows", top, now)


def check_sanitizer_report(code, report):
    """Under the sanitizers: no error at all, and no leak that the game's own code
    allocated. Leaks inside the system's graphics and audio libraries, some of them
    unloaded before the check and so without a name, are theirs to mend."""
    assert "ERROR: AddressSanitizer" not in report, report[-4000:]
    assert "runtime error:" not in report, report[-4000:]
    assert code in (0, LEAKS_ELSEWHERE), ("exit status", code, report[-3000:])
    project = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    for block in report.split("\n\n"):
        if "leak of" in block:
            for folder in ("app", "game", "render", "scenes", "save", "assets"):
                assert os.path.join(project, folder) + "/" not in block, block


def session(executable, shots, sanitized=False):
    def save(shot, name):
        game.save(shot, name)
        if shots:
            game.save(shot, os.path.join(os.path.abspath(shots), name))

    with kolvex_e2e.Game(executable, name="session") as game:
        game.start()
        save(game.wait_for_screen(title_shown, "the title screen", timeout=60), "title.png")

        # How to play, then credits, each left with Escape.
        game.key("Down")
        game.key("Return")
        save(game.wait_for_screen(page_shown, "the how-to-play page"), "how_to_play.png")
        game.key("Escape")
        game.wait_for_screen(lambda s: not page_shown(s), "the menu again")
        game.key("Down")
        game.key("Return")
        save(game.wait_for_screen(page_shown, "the credits page"), "credits.png")
        game.key("Escape")
        game.wait_for_screen(lambda s: not page_shown(s), "the menu again")
        game.key("Home")
        game.key("Return")  # GAME START
        countdown = wait_for_countdown_digit(game)

        bot = p.Player(game)
        bot.start(timeout=30)
        save(countdown, "countdown.png")
        save(game.screenshot(), "play.png")
        held_key_repeats(game, bot)
        bot.play_piece()         # steered back from the wall to where it fits best
        soft_drop_falls(game, bot)
        bot.play_piece(1, 0)     # one turn, then the hard drop

        # Play well until a row goes, keeping the burst.
        for _ in range(40):
            if bot.play_piece():
                save(game.screenshot(), "line_clear.png")
                break
        assert bot.rows_cleared > 0, "no row cleared"
        # Once the burst has faded the well must be the player's, row for row.
        game.wait_for_screen(bot.board_matches_screen, "the well to match the player's")

        comet, count = capture_hold_comet(game)
        assert count > 40, "no hold comet seen"
        save(comet, "hold.png")
        game.wait_for_screen(lambda s: p.read_hold(s) == bot.piece,
                             "the HOLD box to show the %s piece" % bot.piece)

        game.key("Escape")
        save(game.wait_for_screen(paused, "the pause menu"), "pause.png")
        game.key("Return")  # RESUME
        game.wait_for_screen(lambda s: not paused(s), "play again")

        play_to_top_out(game, new_game=False)
        save(game.wait_for_screen(game_over_shown, "the game-over screen"), "game_over.png")
        wait_for_armed_menu(game)
        game.key("Return")  # RETRY
        game.wait_for_screen(lambda s: not game_over_shown(s), "the second game")

        # The second game ends through the pause menu: no game-over screen, no save.
        p.Player(game).start(timeout=30)
        game.key("Up")
        game.key("Escape")
        game.wait_for_screen(paused, "pause")
        game.key("Right")
        game.key("Return")  # QUIT
        game.wait_for_screen(title_shown, "the title screen again")
        game.key("End")
        game.key("Return")  # QUIT
        code = game.wait_exit()
        if sanitized:
            check_sanitizer_report(code, game.stderr())
        else:
            assert code == 0, ("exit status", code, game.stderr()[-3000:])

        traces = [line for line in game.stdout().splitlines() if TRACE.match(line)]
        assert len(traces) == 3, ("one save, for the one game that topped out", traces)
        score = int(traces[0].split(" | ")[0])
        lines = int(traces[1].split(" | ")[0])
        level = int(traces[2].split(" | ")[0])
        assert lines == bot.rows_cleared and level == lines // 10 + 1, traces
        with open(os.path.join(game.workdir, "kolvex.sav"), "rb") as f:
            assert f.read() == b"SAV\n1\n%d\n%d\n%d\n" % (score, lines, level)
        output = game.stdout() + game.stderr()
        for warning in OWN_WARNINGS:
            assert warning not in output, warning


def test(executable):
    args = sys.argv[2:]
    if "--sanitized" in args:
        session(executable, None, sanitized=True)
        return
    session(executable, args[0] if args else None)


if __name__ == "__main__":
    kolvex_e2e.run(test)
