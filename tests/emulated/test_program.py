"""The cross-built program itself, under qemu user-mode emulation on Xvfb: its own X11 window
and GL ES surface on the target's Mesa, taps through the menu, a round and the table, and
Escape ends it with status 0."""
import argparse
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from xgame import GameFolder, Player, XServer  # noqa: E402


def main(args):
    with GameFolder(args.game_dir) as folder, XServer() as x:
        p = Player(x, folder.path, command=(args.emulator, "-L", args.sysroot, "./quorvel"))
        try:
            p.start({"LD_PRELOAD": ""})  # the host's faketime cannot load into it
            assert x.window_size(p.game.wait_for_window()) == (800, 480)
            # Frames take a few hundred milliseconds under emulation: each screen gets 30 s.
            for layout, tap, shown in (("main_menu.layout", "start_button", "quit_button"),
                                       ("play.layout", "quit_button", "skip_button"),
                                       ("main_menu.layout", "hiscore_button", "start_button"),
                                       ("hiscores.layout", None, "done_button")):
                p.wait_for_buttons(layout, tap or shown, shown, timeout=30.0)
                if tap:
                    p.tap(layout, tap)
            assert p.game.key_until_exit("Escape", timeout=30.0) == 0, "Escape did not end it"
        finally:
            if p.game:
                p.game.kill()
    print("emulated program: menu, round, table and Escape passed")


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--game-dir", required=True, help="folder with the program and its data")
    parser.add_argument("--emulator", required=True, help="qemu user-mode emulator of the target")
    parser.add_argument("--sysroot", required=True, help="the target's libraries")
    main(parser.parse_args())
