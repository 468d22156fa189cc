"""Runs the Windows build under Wine inside the end-to-end harness.

One prefix a run, made in a temporary folder with a persistent wineserver, so
every later Wine program starts warm. Wine shows its windows inside a virtual
desktop, the only place X key events reach them (there is no window manager to
hand the focus over), and plays its audio through ALSA, which with_display.sh
points at the null output.
"""

import os
import shutil
import subprocess
import tempfile

from Xlib import display

DESKTOP = "kolvex"
DESKTOP_SIZE = (1000, 800)
SETTINGS = """REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="%s"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"%s"="%s"

[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]
"Audio"="alsa"
""" % (DESKTOP, DESKTOP, "%dx%d" % DESKTOP_SIZE)
PREFIX_TIMEOUT = 300


class Prefix:
    """A Wine prefix for the length of a with-block; the environment is set for
    every process started inside it."""

    def __enter__(self):
        self.root = tempfile.mkdtemp(prefix="kolvex-wine-")
        self.saved_env = dict(os.environ)
        prefix = os.path.join(self.root, "prefix")
        os.mkdir(prefix)
        # No .NET or HTML engine: the game needs neither, and their installers would ask.
        os.environ.update(WINEPREFIX=prefix, WINEDEBUG="-all",
                          WINEDLLOVERRIDES="mscoree,mshtml=", WINEARCH="win64")
        subprocess.run(["wineserver", "-p"], check=True, timeout=30)
        # Output to a file, not a pipe: the services Wine starts keep it open.
        self.log = open(os.path.join(self.root, "wine.log"), "wb")
        subprocess.run(["wineboot", "-i"], check=True, stdout=self.log, stderr=self.log,
                       timeout=PREFIX_TIMEOUT)
        settings = os.path.join(self.root, "settings.reg")
        with open(settings, "w") as f:
            f.write(SETTINGS)
        subprocess.run(["wine", "regedit", "/S", settings], check=True, stdout=self.log,
                       stderr=self.log, timeout=PREFIX_TIMEOUT)
        return self

    def __exit__(self, *exc):
        subprocess.run(["wineserver", "-k"], check=False, timeout=30)
        subprocess.run(["wineserver", "-w"], check=False, timeout=30)
        self.log.close()
        os.environ.clear()
        os.environ.update(self.saved_env)
        shutil.rmtree(self.root, ignore_errors=True)


def start(game):
    """Starts game.executable (a .exe) under Wine. The harness finds the window by
    its title: under Wine that is the frame, whose one child is the 900 x 700
    drawing area the screenshots must read; keys go to the desktop window.
    The frame and the desktop are kept as game.frame and game.desktop."""
    game.start(wrapper=["wine"])
    d = display.Display()
    try:
        frame = d.create_resource_object("window", int(game.window))
        tree = frame.query_tree()
        children = tree.children
        assert len(children) == 1, ("the frame should hold only the drawing area", children)
        game.window = str(children[0].id)
        game.frame, game.desktop = frame.id, tree.parent.id
    finally:
        d.close()
    subprocess.run(["xdotool", "windowfocus", "--sync", str(game.desktop)], check=True, timeout=10)
    return game
