"""The window and its ways out: 900 x 700 with its title, Escape never closes it,
Q ends the program with status 0, and so does the window's close button."""

import subprocess
import time

import kolvex_e2e


def window_size(game):
    out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", game.window],
                         capture_output=True, text=True, check=True).stdout
    values = dict(line.split("=", 1) for line in out.split())
    return int(values["WIDTH"]), int(values["HEIGHT"])


def test(executable):
    with kolvex_e2e.Game(executable, name="shell") as game:
        game.start()
        assert window_size(game) == (900, 700), window_size(game)
        name = subprocess.run(["xdotool", "getwindowname", game.window], capture_output=True,
                              text=True, check=True).stdout.strip()
        assert name == "コルベクス", name

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
