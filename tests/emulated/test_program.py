"""The cross-built program itself, under qemu user-mode emulation on Xvfb: its own X11 window
and GL ES surface on the target's Mesa, taps through the menu, a round and the table, and
Escape ends it with status 0."""
import argparse
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from gamedriver import Player  # noqa: E402
from xharness import GameFolder, XServer, window_geometry  # noqa: E402

ARGS = None
MENU = "main_menu.layout"
# Frames take a few hundred milliseconds under emulation: give each screen time to appear.
SCREEN_TIMEOUT = 30.0


class EmulatedProgram(unittest.TestCase):
    def test_menu_round_table_and_escape(self):
        with GameFolder(ARGS.game_dir) as folder, XServer() as x:
            p = Player(x, folder.path, tools_dir=None,
                       command=(ARGS.emulator, "-L", ARGS.sysroot, "./quorvel"))
            try:
                p.start({"LD_PRELOAD": ""})  # the host's faketime cannot load into it
                self.assertEqual(window_geometry(x, p.game.wait_for_window()), (800, 480))
                p.wait_for_buttons(MENU, "start_button", "quit_button", timeout=SCREEN_TIMEOUT)
                p.tap(MENU, "start_button")
                p.wait_for_buttons("play.layout", "skip_button", "quit_button",
                                   timeout=SCREEN_TIMEOUT)
                p.tap("play.layout", "quit_button")
                p.wait_for_buttons(MENU, "hiscore_button", timeout=SCREEN_TIMEOUT)
                p.tap(MENU, "hiscore_button")
                p.wait_for_buttons("hiscores.layout", "done_button", timeout=SCREEN_TIMEOUT)
                self.assertEqual(p.game.key_until_exit("Escape", timeout=SCREEN_TIMEOUT), 0)
            finally:
                if p.game:
                    p.game.kill()


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--game-dir", required=True, help="folder with the program and its data")
    parser.add_argument("--emulator", required=True, help="qemu user-mode emulator of the target")
    parser.add_argument("--sysroot", required=True, help="the target's libraries")
    ARGS = parser.parse_args()
    unittest.main(argv=sys.argv[:1], verbosity=2)
