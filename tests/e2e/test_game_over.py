"""Games played to the top-out with real keys: the game-over screen, the bests kept
in kolvex.sav (a link to a save in another folder, as a player's synced save is)
with their trace lines, RETRY and QUIT after the delay, a working directory
that cannot be written costing nothing but the save, which the screen reports,
and a standard output whose reader went away costing nothing at all."""

import os
import re
import subprocess
import tempfile
import time

import kolvex_e2e
import player as p

RED = (230, 41, 55)
MENU_DELAY = 5.0
TRACE = re.compile(r"^[0-9]+ \| [0-9]+$")


def red_pixels(shot, x0, y0, x1, y1):
    return shot.count_matching(x0, y0, x1, y1,
                               lambda c: c[0] > 180 and c[1] < 90 and c[2] < 100)


def game_over_shown(shot):
    # Opaque black with "GAME OVER" in red around y 122.
    return (max(shot.pixel(20, 20)) < 10 and max(shot.pixel(880, 680)) < 10
            and red_pixels(shot, 340, 118, 560, 160) > 150)


def save_failed_shown(shot):
    # The red line "BESTS NOT SAVED" around y 250, below the best.
    return red_pixels(shot, 340, 245, 560, 275) > 100


def title_shown(shot):
    # The title picture's border of red blocks in the top-left corner.
    r, g, b = shot.pixel(10, 10)
    return r > 150 and g < 100 and b < 100 and not game_over_shown(shot)


def play_to_top_out(game, new_game=True):
    """Hard-drops every piece where it enters until the stack reaches the top.
    Returns when the screen last showed play: the game-over screen came later."""
    if new_game:
        p.Player(game).start()
    still_playing = time.monotonic()
    for _ in range(60):
        game.key("Up", after=0.12)
        looked = time.monotonic()
        if game_over_shown(game.screenshot()):
            return still_playing
        still_playing = looked
    raise AssertionError("no game over after 60 hard drops")


def wait_for_armed_menu(game):
    """Waits out the delay: the entries turn from grey to red once keys count."""
    return game.wait_for_screen(lambda s: red_pixels(s, 400, 355, 500, 385) > 30,
                                "the entries to turn red", timeout=MENU_DELAY + 15)


def read_save(workdir):
    with open(os.path.join(workdir, "kolvex.sav"), "rb") as f:
        return f.read()


def trace_lines(game):
    # raylib logs on standard output too; the save's lines are two bare numbers.
    return [line for line in game.stdout().splitlines() if TRACE.match(line)]


def first_game_and_retry(executable):
    with kolvex_e2e.Game(executable, name="game-over") as game:
        synced = os.path.join(game.workdir, "synced")
        os.mkdir(synced)
        with open(os.path.join(synced, "kolvex.sav"), "wb") as f:
            f.write(b"SAV\n1\n0\n0\n0\n")
        os.symlink(os.path.join("synced", "kolvex.sav"), os.path.join(game.workdir, "kolvex.sav"))
        game.start()
        game.wait_for_screen(title_shown, "the title screen")
        game.key("Return")
        shown_by = play_to_top_out(game)
        shot = game.wait_for_screen(game_over_shown, "the game-over screen")
        game.save(shot, "game_over.png")
        assert not save_failed_shown(shot)

        # The results are merged into the file on entering the screen.
        traces = game.wait_for(lambda: trace_lines(game) if len(trace_lines(game)) >= 3 else None,
                               "the save trace lines")
        score, stored = (int(v) for v in traces[0].split(" | "))
        assert stored == 0 and score > 0, traces
        assert traces[1] == "0 | 0" and traces[2] == "1 | 0", traces
        assert read_save(game.workdir) == b"SAV\n1\n%d\n0\n1\n" % score

        # Keys do nothing during the delay; then the entries turn red.
        game.key("Return")
        assert game_over_shown(game.screenshot()), "Enter acted during the delay"
        wait_for_armed_menu(game)
        # The screen came after `shown_by` and the entries turned red after the delay,
        # however late a busy machine lets this test notice either.
        assert time.monotonic() - shown_by > MENU_DELAY, time.monotonic() - shown_by

        game.key("Return")  # RETRY
        game.wait_for_screen(lambda s: not game_over_shown(s), "a new game")
        play_to_top_out(game)
        game.wait_for_screen(game_over_shown, "the second game-over screen")
        traces = game.wait_for(lambda: trace_lines(game) if len(trace_lines(game)) >= 6 else None,
                               "the second save's trace lines")
        second, best = (int(v) for v in traces[3].split(" | "))
        assert best == score, traces
        assert read_save(game.workdir) == b"SAV\n1\n%d\n0\n1\n" % max(score, second)
        assert os.path.islink(os.path.join(game.workdir, "kolvex.sav")), "the link was replaced"
        assert os.listdir(synced) == ["kolvex.sav"], os.listdir(synced)

        wait_for_armed_menu(game)
        game.key("Down")
        game.key("Return")  # QUIT
        game.wait_for_screen(title_shown, "the title screen after QUIT")
        game.key("q")
        assert game.wait_exit() == 0


def unwritable_directory(executable):
    """A read-only working directory: the game goes on, only the save is lost."""
    workdir = tempfile.mkdtemp(prefix="kolvex-ro-")
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "ro,size=1m", "tmpfs", workdir],
                             capture_output=True).returncode == 0
    if not mounted:
        print("skipped: the read-only working directory needs root to mount it")
        os.rmdir(workdir)
        return
    try:
        with kolvex_e2e.Game(executable, name="game-over-ro", workdir=workdir) as game:
            game.stdout_path = os.path.join(tempfile.gettempdir(), "kolvex-ro-stdout.txt")
            game.stderr_path = os.path.join(tempfile.gettempdir(), "kolvex-ro-stderr.txt")
            game.start()
            game.wait_for_screen(title_shown, "the title screen")
            game.key("Return")
            play_to_top_out(game)
            shot = game.wait_for_screen(game_over_shown, "the game-over screen")
            game.save(shot, "game_over_unsaved.png")
            assert save_failed_shown(shot)
            wait_for_armed_menu(game)
            game.key("Return")  # RETRY still works
            game.wait_for_screen(lambda s: not game_over_shown(s), "a new game")
            game.key("q")
            assert game.wait_exit() == 0
            assert os.listdir(workdir) == []
    finally:
        subprocess.run(["umount", workdir], check=False)
        os.rmdir(workdir)


def closed_output(executable):
    """Standard output a pipe whose reader goes away during play, as with
    `kolvex | head` or a log viewer closed: the game lives on through the game
    over, whose trace lines find no reader, and the bests are saved."""
    with kolvex_e2e.Game(executable, name="game-over-closed-output") as game:
        game.start(stdout=subprocess.PIPE)
        game.wait_for_screen(title_shown, "the title screen")
        game.key("Return")
        game.process.stdout.close()
        play_to_top_out(game)
        game.wait_for_screen(game_over_shown, "the game-over screen")
        game.wait_for(lambda: os.path.exists(os.path.join(game.workdir, "kolvex.sav")), "the save")
        assert re.fullmatch(rb"SAV\n1\n[1-9][0-9]*\n0\n1\n", read_save(game.workdir))
        wait_for_armed_menu(game)
        assert game.running()
        game.key("q")
        assert game.wait_exit() == 0


def test(executable):
    first_game_and_retry(executable)
    unwritable_directory(executable)
    closed_output(executable)


if __name__ == "__main__":
    kolvex_e2e.run(test)
