"""The Windows build under Wine, one Wine session for the whole run: the title
screen, GAME START with real keys, a game to the top-out and its save, a second
one whose save must replace the first file, and Q ending the program; then a
gamepad, read through XInput from a stand-in DLL of our own.
Usage: wine_session.py path/to/kolvex.exe
"""

import os
import re
import shutil
import subprocess
import tempfile
import time

import kolvex_e2e
import player as p
import wine
from test_session import paused, piece_cells
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
    with kolvex_e2e.Game(executable, name="wine") as game:
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


# XInput's button bits.
PAD_A, PAD_START, PAD_LEFT, PAD_RIGHT = 0x1000, 0x0010, 0x0004, 0x0008
XINPUT_STAND_IN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support",
                               "xinput_stand_in.c")


class Pad:
    """The stand-in DLL's one pad: a state file in the game's working directory."""

    def __init__(self, workdir):
        self.path = os.path.join(workdir, "kolvex_pad.txt")
        self.set(0)

    def set(self, buttons):
        with open(self.path + ".new", "w") as f:
            f.write("%d 0 0\n" % buttons)
        os.replace(self.path + ".new", self.path)

    def hold_until(self, game, buttons, probe, what):
        """Holds the buttons until probe() holds: a pad is read once a frame, not
        queued like a key, so a frame longer than a short press would miss it."""
        self.set(buttons)
        try:
            return game.wait_for(probe, what)
        finally:
            self.set(0)


def gamepad(executable):
    """A copy of kolvex.exe with the stand-in XInput DLL beside it, which Wine loads
    when told to prefer a native xinput1_4.dll: the bottom face button starts a game
    from the title, the D-pad moves the piece, Start pauses."""
    folder = tempfile.mkdtemp(prefix="kolvex-pad-")
    try:
        subprocess.run(["x86_64-w64-mingw32-gcc", "-shared", "-O2", "-o",
                        os.path.join(folder, "xinput1_4.dll"), XINPUT_STAND_IN],
                       check=True, timeout=120)
        copy = shutil.copy(executable, folder)
        os.environ["WINEDLLOVERRIDES"] += ";xinput1_4=n"
        with kolvex_e2e.Game(copy, name="wine-pad") as game:
            pad = Pad(game.workdir)
            wine.start(game)
            game.wait_for_screen(title_shown, "the title screen", timeout=60)
            pad.hold_until(game, PAD_A, lambda: not title_shown(game.screenshot()), "GAME START")
            bot = p.Player(game)
            bot.start()

            def column():
                return min(c for c, _ in piece_cells(game, bot))
            start = column()
            moved = pad.hold_until(game, PAD_LEFT, lambda: column() < start and [column()],
                                   "a move left")[0]
            pad.hold_until(game, PAD_RIGHT, lambda: column() > moved, "a move right")
            shot = pad.hold_until(game, PAD_START,
                                  lambda: paused(game.screenshot()) and game.screenshot(),
                                  "the pause menu")
            game.save(shot, "pad_pause.png")
            game.key("q")
            assert game.wait_exit() == 0, game.stderr()[-2000:]
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main(executable):
    with wine.Prefix():
        session(executable)
        gamepad(executable)


if __name__ == "__main__":
    kolvex_e2e.run(main)
