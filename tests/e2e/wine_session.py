"""The Windows build under Wine, one Wine session for the whole run: the title
screen, GAME START with real keys, a game to the top-out and its save, a second
one whose save must replace the first file, a third that must leave a read-only
save alone and say so, a fourth that must keep it hidden, and Q ending the program.
Usage: wine_session.py path/to/kolvex.exe
"""

import os
import re
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


def attributes(path):
    """The letters Windows' own attrib shows for the file, such as {"A", "H"}."""
    shown = subprocess.run(["wine", "attrib", path], check=True, capture_output=True,
                           timeout=60).stdout.decode()
    return set(shown[:shown.index(path)].replace(" ", ""))


def game_to_top_out(game, what):
    wait_for_armed_menu(game)
    game.key("Return")  # RETRY
    game.wait_for_screen(lambda s: not game_over_shown(s), "a new game")
    play_to_top_out(game)
    return game.wait_for_screen(game_over_shown, what)


def read_only_left_alone_hidden_kept(game):
    """The save made read-only and hidden with Windows' own attrib: the next
    game's save leaves it as it is and the screen says so; writable again, the
    save after replaces it and it stays hidden."""
    path = "Z:" + os.path.join(game.workdir, "kolvex.sav").replace("/", "\\")
    # Wine's attrib takes one change a call.
    for change in ("+r", "+h"):
        subprocess.run(["wine", "attrib", change, path], check=True, capture_output=True,
                       timeout=60)
    assert {"H", "R"} <= attributes(path), attributes(path)
    kept, entries = read_save(game.workdir), sorted(os.listdir(game.workdir))
    shot = game_to_top_out(game, "the game-over screen with the save refused")
    game.save(shot, "game_over_read_only.png")
    assert save_failed_shown(shot)
    assert read_save(game.workdir) == kept
    assert sorted(os.listdir(game.workdir)) == entries, os.listdir(game.workdir)

    subprocess.run(["wine", "attrib", "-r", path], check=True, capture_output=True, timeout=60)
    with open(os.path.join(game.workdir, "kolvex.sav"), "wb") as f:
        f.write(LOWERED)
    shot = game_to_top_out(game, "the game-over screen with the save replaced")
    assert not save_failed_shown(shot)
    assert saved_score(game, unlike=LOWERED) > 0
    assert "H" in attributes(path), attributes(path)
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
        read_only_left_alone_hidden_kept(game)

        wait_for_armed_menu(game)
        game.key("Down")
        game.key("Return")  # QUIT
        game.wait_for_screen(title_shown, "the title screen after QUIT")
        game.key("q")
        assert game.wait_exit() == 0, game.stderr()[-2000:]


if __name__ == "__main__":
    kolvex_e2e.run(session)
