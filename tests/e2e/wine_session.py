"""The Windows build under Wine, one Wine session for the whole run: the title
screen, its menu worked with the mouse, F11 to full screen and back, GAME START
by the keypad's Enter, a pause when another program takes the focus, a game to
the top-out and its save, a second one whose save must replace the first file
and remove a killed save's leftover, a third that must leave a read-only save
alone and say so, a fourth that must keep it hidden, two more with the save held
open by another program, the window dragged wide and Alt+Enter there and back,
and Q ending the program; then a gamepad, read through XInput from a stand-in
DLL of our own; then the installer beside it, the licence and notices it
installs, its shortcut and its uninstaller; last, the desktop scaled to 125 %.
Usage: wine_session.py path/to/kolvex.exe
"""

import glob
import itertools
import ntpath
import os
import re
import shutil
import subprocess
import tempfile
import time

from Xlib import display

import kolvex_e2e
import player as p
import shell_link
import wine
from test_session import paused, piece_cells
from test_window import alt_enter, f11, framed, in_game, view, window_size
from test_title import MENU_ROWS, highlighted_row, menu_with, reference, shows
from test_game_over import (game_over_shown, play_to_top_out, read_save, save_failed_shown,
                            title_shown, wait_for_armed_menu)

RECORD = re.compile(rb"SAV\n1\n([0-9]+)\n0\n1\n")
# Bests no quick game reaches; the game's own lines (0) and level (1) show
# whether they were merged, or the save was taken for empty (score, 0, 1).
HELD = b"SAV\n1\n999999\n0\n0\n"
# A record no top-out can leave as it is: every game scores.
LOWERED = b"SAV\n1\n0\n0\n1\n"
# Another program that holds a file open without sharing.
HOLD_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support",
                         "hold_file.c")
SETUP = "kolvex-*-windows-x64-setup.exe"
SHORTCUT = r"Microsoft\Windows\Start Menu\Programs\Kolvex.lnk"
UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Kolvex"
QUIET_UNINSTALL = re.compile(r"QuietUninstallString\s+REG_SZ\s+\"([^\"]+)\"(.*)")
PLAYER_DIR = r"%LOCALAPPDATA%\Kolvex"
# Per install mode: where its uninstall entry and its Start menu are, and whether
# the shortcut keeps the player's folder unexpanded (one shortcut for every user).
MODES = (("/CurrentUser", "HKCU", "%APPDATA%", False),
         ("/AllUsers", "HKLM", "%ProgramData%", True))
SETUP_TIMEOUT = 120
SOURCE_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
# What the installer puts beside kolvex.exe, by the committed file it comes from.
INSTALLED_TEXTS = {}
for installed_name, committed_name in (("LICENSE.txt", "LICENSE"),
                                       ("THIRD_PARTY_NOTICES.txt", "THIRD_PARTY_NOTICES.md")):
    with open(os.path.join(SOURCE_DIR, committed_name), encoding="utf-8") as source_file:
        INSTALLED_TEXTS[installed_name] = source_file.read()
# Where the pointer goes on the title: off the entries, and on them.
OFF_ENTRIES = (700, 300)
ENTRY_X = 340
CREDITS_ROW = 2


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
    # Wine keeps the hidden flag in an extended attribute, which a file system
    # may refuse (or, for a user who is not root, a read-only file): hidden
    # first, and where it cannot be kept, only the read-only half is shown.
    subprocess.run(["wine", "attrib", "+h", path], capture_output=True, timeout=60)
    hidden = "H" in attributes(path)
    if not hidden:
        print("note: this file system keeps no hidden flag; the hidden save is not shown")
    subprocess.run(["wine", "attrib", "+r", path], check=True, capture_output=True, timeout=60)
    assert "R" in attributes(path), attributes(path)
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
    assert not hidden or "H" in attributes(path), attributes(path)
    assert sorted(os.listdir(game.workdir)) == entries, os.listdir(game.workdir)


def held_by_another_program(game):
    """The save held open without sharing by another Windows program, as a virus
    scanner or a sync client holds it. Held for a moment once the save has begun
    (its lock file has appeared), the save reads it again and merges the bests;
    held through the whole game over, the save leaves it and the screen says so."""
    folder = tempfile.mkdtemp(prefix="kolvex-hold-")
    try:
        helper = os.path.join(folder, "hold_file.exe")
        subprocess.run(["x86_64-w64-mingw32-gcc", "-O2", "-o", helper, HOLD_FILE], check=True,
                       timeout=120)
        release = os.path.join(game.workdir, "release")
        for signal, after, kept, refused in (("kolvex.sav.lock", 250, b"SAV\n1\n999999\n0\n1\n",
                                               False),
                                              ("release", 0, HELD, True)):
            with open(os.path.join(game.workdir, "kolvex.sav"), "wb") as f:
                f.write(HELD)
            said = os.path.join(folder, "said.txt")
            with open(said, "wb") as out:
                holder = subprocess.Popen(["wine", helper, "kolvex.sav", signal, str(after)],
                                          cwd=game.workdir, stdout=out,
                                          stderr=subprocess.DEVNULL)
            try:
                game.wait_for(lambda: open(said, "rb").read().startswith(b"held"),
                              "the save held by another program", timeout=60)
                shot = game_to_top_out(game, "the game-over screen with the save held")
                game.save(shot, "game_over_held_%s.png" % signal)
                assert save_failed_shown(shot) == refused, signal
                assert read_save(game.workdir) == kept, (signal, read_save(game.workdir))
                open(release, "w").close()
                assert holder.wait(timeout=60) == 0, signal
            finally:
                holder.kill()
            os.remove(release)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def pointer_lights(game, title, row, scale):
    """The pointer moved onto a title menu entry, in a window at that scale,
    until the game highlights it; the screenshot that shows it."""
    # The game takes the first place it hears of as where the mouse rests, not a
    # move; should one move not have reached it alone, the next one is a move.
    nudges = itertools.cycle((0, 8))

    def lit():
        game.mouse_to(round((ENTRY_X + next(nudges)) * scale), round(MENU_ROWS[row] * scale))
        shot = game.screenshot()
        return shot if framed(shot, title) and highlighted_row(in_game(shot)) == row else None
    return game.wait_for(lit, "row %d highlighted under the mouse at %d %%" % (row, scale * 100))


def mouse_on_title(game):
    """Real X pointer events, through Wine's virtual desktop to the game's window:
    the mouse moved onto CREDITS highlights it, a click opens the page, a click
    on the page comes back, and the mouse moved onto GAME START leaves it chosen.
    The drawing area's X window is the game's client area inside the desktop (the
    frame at 50, 50, the area 3, 22 into it), so its pixels are the game's."""
    title, page = reference("tx_titlebg"), reference("tx_htpbg")
    game.mouse_to(*OFF_ENTRIES)
    game.save(pointer_lights(game, title, CREDITS_ROW, 1.0), "title_mouse.png")
    game.click()
    game.wait_for_screen(lambda s: shows(s, page), "the credits page after a click")
    game.click()
    menu_with(game, title, CREDITS_ROW, "the title again after a click on the page")
    game.mouse_to(ENTRY_X, MENU_ROWS[0])
    menu_with(game, title, 0, "GAME START highlighted under the mouse")


def full_screen_in_desktop(game, title):
    """F11 takes the game over the whole of Wine's virtual desktop, borderless,
    its picture in shape between black bars; F11 again gives back the window."""
    f11(game)
    game.wait_for(lambda: window_size(game) == wine.DESKTOP_SIZE,
                  "the game over the whole desktop")
    game.save(game.wait_for_screen(lambda s: framed(s, title), "the title framed on the desktop"),
              "full_screen.png")
    f11(game)
    game.wait_for(lambda: window_size(game) == (900, 700), "the game's window back")
    # The picture moved under the resting pointer meanwhile, which may have moved the highlight.
    game.mouse_to(ENTRY_X, MENU_ROWS[0])
    menu_with(game, title, 0, "the title in its window again, GAME START under the mouse")


def drag_frame_corner(game, dx, dy):
    """A player's drag of the frame's lower right corner in Wine's desktop."""
    d = display.Display()
    try:
        frame = d.create_resource_object("window", game.frame).get_geometry()
    finally:
        d.close()
    x, y = frame.x + frame.width - 2, frame.y + frame.height - 2
    desktop = str(game.desktop)
    subprocess.run(["xdotool", "mousemove", "--window", desktop, str(x), str(y)], check=True,
                   timeout=10)
    subprocess.run(["xdotool", "mousedown", "1"], check=True, timeout=10)
    for step in range(1, 11):
        subprocess.run(["xdotool", "mousemove", "--window", desktop, str(x + dx * step // 10),
                        str(y + dy * step // 10)], check=True, timeout=10)
        time.sleep(0.05)
    # Wine's sizing loop ends on a release after a settled move; released
    # sooner, it goes on taking the keys.
    time.sleep(0.5)
    subprocess.run(["xdotool", "mouseup", "1"], check=True, timeout=10)
    game.mouse_to(*OFF_ENTRIES)


def resized_then_alt_enter(game, title):
    """The window dragged wide keeps the picture in shape between side bars;
    Alt+Enter takes it over the desktop and gives back the window as dragged."""
    drag_frame_corner(game, 100, -250)
    game.wait_for(lambda: window_size(game)[0] > 1.5 * window_size(game)[1], "a wide window")
    shot = game.wait_for_screen(lambda s: framed(s, title), "the title between side bars")
    game.save(shot, "wide.png")
    assert view(shot.width, shot.height)[0] > 0, "bars at the sides"
    dragged = window_size(game)
    alt_enter(game)
    game.wait_for(lambda: window_size(game) == wine.DESKTOP_SIZE,
                  "the game over the whole desktop after Alt+Enter")
    alt_enter(game)
    game.wait_for(lambda: window_size(game) == dragged, "the dragged window back after Alt+Enter")


def pause_on_lost_focus(game):
    """Another Windows program started in the desktop takes the focus from the
    game in play: the game pauses, and waits paused once it has the focus back.
    Notepad's window covers the game's upper left, so while it is there the
    pause shows as the dimming of the lower right corner."""
    p.Player(game).start()
    corner = (700, 560, 900, 700)
    lit = max(game.screenshot().mean(*corner))
    other = subprocess.Popen(["wine", "notepad"], stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    try:
        shot = game.wait_for_screen(lambda s: max(s.mean(*corner)) < lit * 0.6,
                                    "the game dimmed by its pause with notepad in front")
        game.save(shot, "paused_by_focus.png")
    finally:
        subprocess.run(["wine", "taskkill", "/f", "/im", "notepad.exe"], capture_output=True,
                       timeout=60)
        other.wait(timeout=60)
    # A click off the pause menu's entries gives the game the focus back.
    game.mouse_to(*OFF_ENTRIES)
    game.click()
    game.wait_for_screen(paused, "the pause menu, the game not resumed by itself")
    game.key("Return")  # RESUME
    game.wait_for_screen(lambda s: not paused(s), "play again after RESUME")


def session(executable):
    with kolvex_e2e.Game(executable, name="wine") as game:
        wine.start(game)
        game.save(game.wait_for_screen(title_shown, "the title screen", timeout=60), "title.png")
        mouse_on_title(game)
        full_screen_in_desktop(game, reference("tx_titlebg"))

        game.key("KP_Enter")  # GAME START, by the keypad's Enter
        pause_on_lost_focus(game)
        play_to_top_out(game, new_game=False)
        game.save(game.wait_for_screen(game_over_shown, "the game-over screen"), "game_over.png")
        assert saved_score(game, unlike=None) > 0

        # The file now exists; lowered, the second save has to replace it to show its score.
        with open(os.path.join(game.workdir, "kolvex.sav"), "wb") as f:
            f.write(LOWERED)
        # What a save killed halfway leaves behind.
        with open(os.path.join(game.workdir, "kolvex.sav.4242-0.tmp"), "wb") as f:
            f.write(b"SAV\n1\n")
        wait_for_armed_menu(game)
        game.key("Return")  # RETRY
        game.wait_for_screen(lambda s: not game_over_shown(s), "a new game")
        play_to_top_out(game)
        game.wait_for_screen(game_over_shown, "the second game-over screen")
        assert saved_score(game, unlike=LOWERED) > 0
        # The save's lock file goes a moment after the save itself is in place.
        game.wait_for(lambda: set(os.listdir(game.workdir)) == {"kolvex.sav", "stdout.txt",
                                                                 "stderr.txt"},
                      "nothing left beside the save but its output: %s" % os.listdir(game.workdir))
        read_only_left_alone_hidden_kept(game)
        held_by_another_program(game)

        wait_for_armed_menu(game)
        game.key("Down")
        game.key("Return")  # QUIT
        game.wait_for_screen(title_shown, "the title screen after QUIT")
        resized_then_alt_enter(game, reference("tx_titlebg"))
        game.key("q")
        assert game.wait_exit() == 0, game.stderr()[-2000:]


def scaled_desktop(executable):
    """Windows at 125 %: the window opens at the game's size in the desktop's
    units, 1125 x 875 pixels, its picture drawn whole at those pixels, and the
    mouse reaches the entry under it through the same scale."""
    scale = 1.25
    for key, name, kind, value in ((r"HKCU\Control Panel\Desktop", "LogPixels", "REG_DWORD", "120"),
                                   (r"HKCU\Software\Wine\Explorer\Desktops", wine.DESKTOP,
                                    "REG_SZ", "1200x960")):
        subprocess.run(["wine", "reg", "add", key, "/v", name, "/t", kind, "/d", value, "/f"],
                       check=True, capture_output=True, timeout=60)
    # Wine reads the desktop's scale and size when it starts.
    subprocess.run(["wineserver", "-k"], check=True, timeout=30)
    subprocess.run(["wineserver", "-w"], check=True, timeout=30)
    with kolvex_e2e.Game(executable, name="wine_scaled") as game:
        wine.start(game)
        title = reference("tx_titlebg")
        game.wait_for(lambda: window_size(game) == (1125, 875), "the window at 125 % (1125x875)")
        game.save(game.wait_for_screen(lambda s: framed(s, title), "the title filling it"),
                  "scaled_title.png")
        pointer_lights(game, title, CREDITS_ROW, scale)
        game.key("q")
        assert game.wait_exit() == 0, game.stderr()[-2000:]


def expand(text):
    """text with Windows' environment variables filled in, as the shell does."""
    result = subprocess.run(["wine", "cmd", "/c", "echo", text], check=True,
                            capture_output=True, text=True, timeout=60)
    return result.stdout.strip()


def unix_path(windows_path):
    result = subprocess.run(["winepath", "-u", windows_path], check=True, capture_output=True,
                            text=True, timeout=60)
    return result.stdout.strip()


def quiet_uninstall(root):
    """The silent uninstall command registered for "Apps & features", or None."""
    result = subprocess.run(["wine", "reg", "query", root + "\\" + UNINSTALL_KEY],
                            capture_output=True, text=True, timeout=60)
    match = QUIET_UNINSTALL.search(result.stdout)
    return [match.group(1)] + match.group(2).split() if match else None


def installed(executable):
    """The installer, silently, for this user and then for all users: each time
    the licence and the notices beside the program, the game started from its
    Start-menu shortcut, played to a save in the player's own folder, and the
    uninstaller, which removes the program and those files and keeps the save."""
    setups = glob.glob(os.path.join(os.path.dirname(executable), SETUP))
    assert len(setups) == 1, setups
    player_dir = expand(PLAYER_DIR)
    workdir = unix_path(player_dir)
    for mode, root, menu, unexpanded in MODES:
        subprocess.run(["wine", setups[0], "/S", mode], check=True, timeout=SETUP_TIMEOUT)
        shortcut = unix_path(ntpath.join(expand(menu), SHORTCUT))
        assert os.path.isfile(shortcut), "no Start-menu shortcut at " + shortcut
        target, working_dir = shell_link.read(shortcut)
        assert working_dir == (PLAYER_DIR if unexpanded else player_dir), (mode, working_dir)
        assert os.path.isdir(workdir), "the installer did not make " + workdir
        program = unix_path(target)
        # The licence and the notices beside the program, as committed.
        beside = [os.path.join(os.path.dirname(program), name) for name in INSTALLED_TEXTS]
        for path, committed in zip(beside, INSTALLED_TEXTS.values()):
            assert os.path.isfile(path), "the installer did not install " + path
            with open(path, encoding="utf-8", newline="") as f:
                assert f.read().replace("\r\n", "\n") == committed, path
        # Bests as an earlier install would have left them, lowered: this game's
        # save has to replace them.
        with open(os.path.join(workdir, "kolvex.sav"), "wb") as f:
            f.write(LOWERED)

        # Started as the shell starts a shortcut: its target, in its folder expanded.
        started_in = unix_path(expand(working_dir))
        with kolvex_e2e.Game(program, workdir=started_in, name="wine-installed") as game:
            wine.start(game)
            game.wait_for_screen(title_shown, "the installed game's title screen", timeout=60)
            game.key("Return")  # GAME START
            play_to_top_out(game)
            game.wait_for_screen(game_over_shown, "the installed game's game-over screen")
            assert saved_score(game, unlike=LOWERED) > 0
            kept = read_save(workdir)
            game.key("q")
            assert game.wait_exit() == 0, game.stderr()[-2000:]

            # Polled: once, under load, Wine's reg answered without the key
            # the installer had written.
            command = game.wait_for(lambda: quiet_uninstall(root),
                                    "the uninstaller registered in " + root)
            subprocess.run(["wine"] + command, check=True, timeout=SETUP_TIMEOUT)
            # The uninstaller runs on from a copy of itself and removes the original.
            game.wait_for(lambda: not os.path.exists(os.path.dirname(program)),
                          "the program and its folder to go", timeout=SETUP_TIMEOUT)
        assert not any(os.path.exists(path) for path in beside), "the licence is still there"
        assert not os.path.exists(shortcut), "the shortcut is still there"
        assert quiet_uninstall(root) is None, "still registered for uninstalling"
        assert os.path.isfile(os.path.join(workdir, "kolvex.sav")), "the bests were removed"
        assert read_save(workdir) == kept, "the uninstaller touched the bests"


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
        installed(executable)
        scaled_desktop(executable)


if __name__ == "__main__":
    kolvex_e2e.run(main)
