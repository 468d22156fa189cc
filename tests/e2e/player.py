"""A scripted player for the end-to-end tests: it reads the pieces off the screen
and plays them with real keys.

The game deals its pieces at random, so the player looks: the piece in play from
the top of the well when a game starts, and every following one from the NEXT
box. It keeps its own copy of the well, placing each piece where a simple
heuristic likes it best (few holes, low and flat stack, rows cleared), and turns,
moves and drops it with the keys a person would use.
"""

import json
import os
import time

# The game's own tables, written out at build time by tests/support/game_facts.cpp.
FACTS_PATH = os.environ.get("KOLVEX_GAME_FACTS") or os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "..", "build", "release", "tests",
    "game_facts.json")
with open(FACTS_PATH) as facts_file:
    FACTS = json.load(facts_file)

# Cells of each piece in each rotation, as columns and rows inside its 4 x 4 box.
SHAPES = {name: [[tuple(cell) for cell in rotation] for rotation in rotations]
          for name, rotations in FACTS["shapes"].items()}
COLOURS = {name: tuple(rgb) for name, rgb in FACTS["colours"].items()}

WIDTH, HEIGHT = FACTS["well"]["columns"], FACTS["well"]["rows"]
SPAWN_X = FACTS["well"]["spawn_column"]

# Where things are in the window.
CELL = FACTS["cell"]
WELL_X, WELL_Y = FACTS["well_origin"]
PREVIEW_CELL = FACTS["preview_cell"]
NEXT_X, NEXT_Y = FACTS["next_origin"]
HOLD_X, HOLD_Y = FACTS["hold_origin"]


def classify(rgb, bright=120):
    """The piece whose colour this pixel shows, or None for a dark or grey pixel."""
    r, g, b = rgb
    if max(rgb) < bright or max(rgb) - min(rgb) < 60:
        return None
    best, best_score = None, -1.0
    length = (r * r + g * g + b * b) ** 0.5
    for name, (cr, cg, cb) in COLOURS.items():
        score = (r * cr + g * cg + b * cb) / (length * (cr * cr + cg * cg + cb * cb) ** 0.5)
        if score > best_score:
            best, best_score = name, score
    return best


def well_cell_sample(col, row):
    # The left facet of the block tile is its lightest, so it shows the tint best.
    return int(WELL_X + col * CELL + CELL * 0.25), int(WELL_Y + row * CELL + CELL * 0.5)


def read_well(shot, bright=150):
    """Piece names (or None) of every cell of the well, as shown."""
    return [[classify(shot.pixel(*well_cell_sample(c, r)), bright) for c in range(WIDTH)]
            for r in range(HEIGHT)]


def lit_cells(shot):
    """(column, row) of every well cell that shows a piece's colour."""
    shown = read_well(shot)
    return {(c, r) for r in range(HEIGHT) for c in range(WIDTH) if shown[r][c] is not None}


def read_preview(shot, x0, y0):
    """The piece shown in a preview box, or None when it is empty."""
    seen = {}
    for dy in range(4):
        for dx in range(4):
            x = int(x0 + dx * PREVIEW_CELL + PREVIEW_CELL * 0.25)
            y = int(y0 + dy * PREVIEW_CELL + PREVIEW_CELL * 0.5)
            name = classify(shot.pixel(x, y))
            if name:
                seen[name] = seen.get(name, 0) + 1
    if not seen:
        return None
    name = max(seen, key=seen.get)
    return name if seen[name] >= 3 else None


def read_next(shot):
    return read_preview(shot, NEXT_X, NEXT_Y)


def read_hold(shot):
    return read_preview(shot, HOLD_X, HOLD_Y)


class Board:
    """The player's own copy of the well."""

    def __init__(self):
        self.cells = [[False] * WIDTH for _ in range(HEIGHT)]

    def fits(self, piece, rotation, x, y):
        for dx, dy in SHAPES[piece][rotation]:
            cx, cy = x + dx, y + dy
            if cx < 0 or cx >= WIDTH or cy >= HEIGHT:
                return False
            if cy >= 0 and self.cells[cy][cx]:
                return False
        return True

    def landing_row(self, piece, rotation, x, y=0):
        while self.fits(piece, rotation, x, y + 1):
            y += 1
        return y

    def lock(self, piece, rotation, x, y):
        """Writes the piece and removes full rows; returns the number removed."""
        for dx, dy in SHAPES[piece][rotation]:
            if y + dy >= 0:
                self.cells[y + dy][x + dx] = True
        kept = [row for row in self.cells if not all(row)]
        cleared = HEIGHT - len(kept)
        self.cells = [[False] * WIDTH for _ in range(cleared)] + kept
        return cleared

    def copy(self):
        other = Board()
        other.cells = [row[:] for row in self.cells]
        return other

    def height(self):
        for r in range(HEIGHT):
            if any(self.cells[r]):
                return HEIGHT - r
        return 0


def rotate(board, piece, rotation, x, y):
    """The game's clockwise turn: in place, else one column left, else one right."""
    turned = (rotation + 1) % 4
    for shift in (0, -1, 1):
        if board.fits(piece, turned, x + shift, y):
            return turned, x + shift
    return rotation, x


def score_board(board, cleared):
    heights = []
    holes = 0
    for c in range(WIDTH):
        top = next((r for r in range(HEIGHT) if board.cells[r][c]), HEIGHT)
        heights.append(HEIGHT - top)
        holes += sum(1 for r in range(top, HEIGHT) if not board.cells[r][c])
    bumpiness = sum(abs(heights[i] - heights[i + 1]) for i in range(WIDTH - 1))
    return 0.76 * cleared - 0.51 * sum(heights) - 0.36 * holes * 2 - 0.18 * bumpiness


def plan(board, piece):
    """The best (turns, column shift) for a piece entering at the spawn position."""
    best = None
    rotation, x = 0, SPAWN_X
    for turns in range(4):
        for target in range(-3, WIDTH):
            if not board.fits(piece, rotation, target, 0):
                continue
            step = 1 if target > x else -1
            if any(not board.fits(piece, rotation, cx, 0) for cx in range(x, target, step)):
                continue
            trial = board.copy()
            cleared = trial.lock(piece, rotation, target, trial.landing_row(piece, rotation, target))
            value = score_board(trial, cleared)
            if best is None or value > best[0]:
                best = (value, turns, target - x)
        rotation, x = rotate(board, piece, rotation, x, 0)
    return best[1], best[2]


def four_cells(cells):
    return cells if len(cells) == 4 else None


def _pattern(cells):
    """The shape of a set of cells, whatever its position."""
    left = min(c for c, _ in cells)
    top = min(r for _, r in cells)
    return frozenset((c - left, r - top) for c, r in cells)


class Player:
    """Plays pieces with real keys, keeping its copy of the well in step."""

    def __init__(self, game):
        self.game = game
        self.board = Board()
        self.piece = None
        self.next = None
        self.held = None
        self.drops = 0
        self.rows_cleared = 0

    def start(self, timeout=15.0):
        """Waits for play to begin and reads the first piece and the preview.

        The piece is on screen during the countdown already, but keys only act
        once the countdown text has gone."""
        def countdown_text(shot):
            # Inside the empty HOLD box, behind the middle of the text. The digits fade
            # to 70 % within each second, so they are light grey at the faintest.
            return shot.count_matching(405, 290, 500, 370,
                                       lambda c: min(c) > 140 and max(c) - min(c) < 30) > 150
        def well_frame(shot):
            return all(abs(v - 200) < 12 for v in shot.pixel(37, 300))
        self.game.wait_for_screen(lambda s: well_frame(s) and countdown_text(s), "the countdown",
                                  timeout)
        self.game.wait_for_screen(lambda s: not countdown_text(s), "play to begin", timeout)

        def first_piece():
            shot = self.game.screenshot()
            seen = [p for r in range(0, 3) for p in read_well(shot)[r][SPAWN_X:SPAWN_X + 4] if p]
            nxt = read_next(shot)
            if len(seen) >= 3 and nxt:
                return max(set(seen), key=seen.count), nxt
            return None
        self.piece, self.next = self.game.wait_for(first_piece, "the first piece", timeout)

    def _read_next(self):
        return self.game.wait_for(lambda: read_next(self.game.screenshot()), "the NEXT box")

    def _settled_cells(self):
        return {(c, r) for r in range(HEIGHT) for c in range(WIDTH) if self.board.cells[r][c]}

    def falling_cells(self, shot):
        """Cells lit on screen that the player's well does not hold: the piece in play."""
        return lit_cells(shot) - self._settled_cells()

    def _press_until_changed(self, key, before):
        """Presses a key until the piece on screen moves; a slow frame can miss a press."""
        for _ in range(4):
            self.game.key(key, after=0.0)
            deadline = time.monotonic() + 0.6
            while time.monotonic() < deadline:
                now = self.falling_cells(self.game.screenshot())
                if now != before:
                    return now
                time.sleep(0.02)
        raise AssertionError("the piece did not answer %s" % key)

    def steer(self, rotation, x):
        """Turns and moves the piece on screen until it stands as planned."""
        want = {(x + dx, dy) for dx, dy in SHAPES[self.piece][rotation]}
        want_pattern = _pattern(want)
        want_left = min(c for c, _ in want)
        # Sparkles of a clear can pass for cells until they fade.
        cells = self.game.wait_for(lambda: four_cells(self.falling_cells(self.game.screenshot())),
                                   "the %s piece to show" % self.piece, timeout=5)
        for _ in range(30):
            if _pattern(cells) != want_pattern:
                cells = self._press_until_changed("space", cells)
                continue
            left = min(c for c, _ in cells)
            if left == want_left:
                return
            cells = self._press_until_changed("Right" if want_left > left else "Left", cells)
        raise AssertionError("could not steer the %s piece" % self.piece)

    def play_piece(self, turns=None, shift=None):
        """Places the piece in play (where the plan says unless told) and hard-drops it.

        Returns the number of rows the drop cleared."""
        if turns is None:
            turns, shift = plan(self.board, self.piece)
        rotation, x = 0, SPAWN_X
        for _ in range(turns):
            rotation, x = rotate(self.board, self.piece, rotation, x, 0)
        x += shift
        self.steer(rotation, x)
        self.game.key("Up", after=0.0)
        cleared = self.board.lock(self.piece, rotation, x,
                                  self.board.landing_row(self.piece, rotation, x))
        self.rows_cleared += cleared
        self.drops += 1
        self.piece = self.next
        self.game.wait_for(lambda: self.board_matches_screen(self.game.screenshot()),
                           "the dropped piece to settle", timeout=8)
        self.next = self._read_next()
        return cleared

    def hold(self):
        """Holds the piece in play; the exchange comes about 0.23 s after the key."""
        previous_next = self.next
        self.game.key("Control_L")
        time.sleep(0.35)
        if self.held is None:
            self.held, self.piece = self.piece, previous_next
            self.next = self._read_next()
        else:
            self.held, self.piece = self.piece, self.held

    def board_matches_screen(self, shot):
        """Whether the well on screen is the player's: every settled cell shown and
        nothing else lit but the piece in play, wherever gravity has taken it."""
        lit = lit_cells(shot)
        settled = self._settled_cells()
        if not settled <= lit:
            return False
        falling = lit - settled
        if not falling:
            return True
        return len(falling) == 4 and _pattern(falling) in {_pattern(cells)
                                                            for cells in SHAPES[self.piece]}
