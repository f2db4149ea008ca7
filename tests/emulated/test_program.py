"""The cross-built program itself, under qemu user-mode emulation on Xvfb: its own X11 window
and GL ES surface on the target's Mesa, taps through the menu, a round and the table, and
Escape ends it with status 0."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import harness  # noqa: E402
from harness import GameFolder, Player, XServer  # noqa: E402

MENU = "main_menu.layout"
WAIT = 30.0  # frames take a few hundred milliseconds under emulation


class EmulatedProgram(unittest.TestCase):
    def test_menu_round_table_and_escape(self):
        args = harness.ARGS
        with GameFolder(args.game_dir) as folder, XServer() as x:
            p = Player(x, folder.path, command=(args.emulator, "-L", args.sysroot, "./quorvel"))
            try:
                p.start_at_menu({"LD_PRELOAD": ""}, timeout=WAIT)  # no host faketime in it
                self.assertEqual(x.window_size(p.game.wait_for_window()), (800, 480))
                p.tap(MENU, "start_button")
                p.wait_for_buttons("play.layout", "skip_button", "quit_button", timeout=WAIT)
                p.tap("play.layout", "quit_button")
                p.wait_for_buttons(MENU, "hiscore_button", timeout=WAIT)
                p.tap(MENU, "hiscore_button")
                p.wait_for_buttons("hiscores.layout", "done_button", timeout=WAIT)
                self.assertEqual(p.game.key_until_exit("Escape", timeout=WAIT), 0)
            finally:
                if p.game:
                    p.game.kill()


if __name__ == "__main__":
    harness.main("--emulator", "--sysroot")
