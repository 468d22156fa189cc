"""The Windows build under Wine, one Wine session for the whole run: the title
screen, GAME START with real keys, a game to the top-out and its save, a second
one whose save must replace the first file, a third that must leave a read-only
save alone and say so, and Q ending the program.
Usage: wine_session.py path/to/kolvex.exe
"""

import os
import re
import stat
import subprocess

import kolvex_e2e
import wine
from test_game_over import (game_over_shown, play_to_top_out, read_save, save_failed_shown,
                            title_shown, wait_for_armed_menu)

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


def read_only_save_left_alone(game):
    """The save made read-only with Windows' own attrib: the next game's save
    leaves it as it is, and the game-over screen says the bests were not kept."""
    path = os.path.join(game.workdir, "kolvex.sav")
    subprocess.run(["wine", "attrib", "+r", "Z:" + path.replace("/", "\\")], check=True,
                   capture_output=True, timeout=60)
    assert os.stat(path).st_mode & (stat.S_IWUSR | stat.S_IWGRP | stat.S_IWOTH) == 0
    kept, entries = read_save(game.workdir), sorted(os.listdir(game.workdir))
    wait_for_armed_menu(game)
    game.key("Return")  # RETRY
    game.wait_for_screen(lambda s: not game_over_shown(s), "a new game")
    play_to_top_out(game)
    shot = game.wait_for_screen(lambda s: game_over_shown(s) and save_failed_shown(s),
                                "the game-over screen saying the save failed")
    game.save(shot, "game_over_read_only.png")
    assert read_save(game.workdir) == kept
    assert sorted(os.listdir(game.workdir)) == entries, os.listdir(game.workdir)


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
        read_only_save_left_alone(game)

        wait_for_armed_menu(game)
        game.key("Down")
        game.key("Return")  # QUIT
        game.wait_for_screen(title_shown, "the title screen after QUIT")
        game.key("q")
        assert game.wait_exit() == 0, game.stderr()[-2000:]


if __name__ == "__main__":
    kolvex_e2e.run(session)
