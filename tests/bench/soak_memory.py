"""An unattended run of the real game under Xvfb: a scripted player plays game
after game (hard drops to the top-out, then RETRY) while the resident memory is
sampled, so that growth over time shows.

Usage: soak_memory.py path/to/kolvex seconds
"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
import kolvex_e2e  # noqa: E402
from test_game_over import MENU_DELAY, game_over_shown, title_shown  # noqa: E402

from measure_process import resident_kib  # noqa: E402

SAMPLE_SECONDS = 15.0


def main():
    executable, seconds = sys.argv[1], float(sys.argv[2])
    samples = []
    games = 0
    with kolvex_e2e.Game(executable, name="soak") as game:
        game.start()
        game.wait_for_screen(title_shown, "the title screen")
        game.key("Return")
        start = time.monotonic()
        next_sample = start
        while time.monotonic() - start < seconds:
            if time.monotonic() >= next_sample:
                samples.append((time.monotonic() - start, resident_kib(game.process.pid)))
                next_sample += SAMPLE_SECONDS
            game.key("Up", after=0.1)
            if game_over_shown(game.screenshot()):
                games += 1
                time.sleep(MENU_DELAY + 0.3)
                game.key("Return")  # RETRY
                game.wait_for_screen(lambda s: not game_over_shown(s), "a new game")
        samples.append((time.monotonic() - start, resident_kib(game.process.pid)))
        game.key("q")
        code = game.wait_exit()
    print("games played: %d, exit status %d" % (games, code))
    for t, kib in samples:
        print("%6.0f s  %7.1f MiB" % (t, kib / 1024))
    after_first = [kib for t, kib in samples if t > 60]
    if after_first:
        print("after the first minute: min %.1f MiB, max %.1f MiB"
              % (min(after_first) / 1024, max(after_first) / 1024))


if __name__ == "__main__":
    main()
