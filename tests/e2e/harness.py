"""What the end-to-end tests share: their arguments, and a scratch game folder and X server for
each test; the game itself is driven by scripts/xgame.py, as the run command's demonstration."""
import argparse
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from xgame import GameFolder, Player, XServer  # noqa: E402

ARGS = None  # the running script's arguments


class PlayerTestCase(unittest.TestCase):
    """Each test plays the game from a scratch game folder on an X server of its own."""

    def setUp(self):
        self.folder = GameFolder(ARGS.game_dir)
        self.x = XServer()
        self.player = Player(self.x, self.folder.path)

    def tearDown(self):
        if self.player.game:
            self.player.game.kill()
        self.x.stop()
        self.folder.remove()


def main(*extra):
    """Runs the calling script's tests with its arguments in ARGS: --game-dir, --tools-dir
    and the `extra` options."""
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--game-dir", required=True, help="folder with the program and its data")
    parser.add_argument("--tools-dir", help="folder with the test helper programs")
    for name in extra:
        parser.add_argument(name, required=True)
    ARGS = parser.parse_args()
    unittest.main(module="__main__", argv=["e2e"], verbosity=2)
