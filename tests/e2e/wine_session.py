"""The Windows build under Wine, one Wine session for the whole run: the title
screen, GAME START with real keys, a game to the top-out and its save, a second
one whose save must replace the first file, and Q ending the program.
Usage: wine_session.py path/to/kolvex.exe
"""

import os
import re

import kolvex_e2e
import wine
from test_game_over import (game_over_shown, play_to_top_out, read_save, title_shown,
                            wait_for_armed_menu)

RECORD = re.compile(rb"SAV\n1\n([0-9]+)\n0\n1\n")
# A record no top-out can leave as it is: every game scores.
LOWERED = b"SAV\n1\n0\n0\n1\n"


def saved_score(game, unlike):
    """Waits for kolvex.sav to hold a record other than `unlike`; returns its score."""
    def probe():
        try:
            data = read_save(game.workdir)
        except FileNotFoundError:
            return None
        return data if data != unlike else None
    data = game.wait_for(probe, "the save")
    match = RECORD.fullmatch(data)
    assert match, data
    return int(match.group(1))


def session(executable):
    with wine.Prefix(), kolvex_e2e.Game(executable, name="wine") as game:
        wine.start(game)
        game.save(game.wait_for_screen(title_shown, "the title screen", timeout=60), "title.png")

        game.key("Return")  # GAME START
        play_to_top_out(game)
        game.save(game.wait_for_screen(game_over_shown, "the game-over screen"), "game_over.png")
        assert saved_score(game, unlike=None) > 0

        # The file now exists; lowered, the second save has to replace it to show its score.
        with open(os.path.join(game.workdir, "kolvex.sav"), "wb") as f:
            f.write(LOWERED)
        wait_for_armed_menu(game)
        game.key("Return")  # RETRY
        game.wait_for_screen(lambda s: not game_over_shown(s), "a new game")
        play_to_top_out(game)
        game.wait_for_screen(game_over_shown, "the second game-over screen")
        assert saved_score(game, unlike=LOWERED) > 0
        leftovers = set(os.listdir(game.workdir)) - {"kolvex.sav", "stdout.txt", "stderr.txt"}
        assert not leftovers, leftovers

        wait_for_armed_menu(game)
        game.key("Down")
        game.key("Return")  # QUIT
        game.wait_for_screen(title_shown, "the title screen after QUIT")
        game.key("q")
        assert game.wait_exit() == 0, game.stderr()[-2000:]


if __name__ == "__main__":
    kolvex_e2e.run(session)
