"""The cross-built program itself, under qemu user-mode emulation on Xvfb: its own X11 window
and GL ES surface on the target's Mesa, taps through the menu, a round and the table, and
Escape ends it with status 0."""
import argparse
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from xgame import MENU, PLAY, SCREEN, x_player  # noqa: E402

SLOW = 30.0  # seconds a screen may take: frames take a few hundred milliseconds emulated


def main(args):
    with x_player(args.game_dir, command=(args.emulator, "-L", args.sysroot, "./quorvel")) as p:
        p.patience = SLOW
        p.start_at_menu({"LD_PRELOAD": ""})  # the host's faketime cannot load into it
        assert p.x.window_size(p.game.wait_for_window()) == SCREEN, "not full screen"
        p.step(MENU, "start_button", to=(PLAY, "quit_button", "skip_button"))
        p.step(PLAY, "quit_button", to=(MENU, "hiscore_button", "start_button"))
        p.open_table()
        assert p.game.key_until_exit("Escape", timeout=SLOW) == 0, "Escape did not end it"
    print("emulated program: menu, round, table and Escape passed")


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--game-dir", required=True, help="folder with the program and its data")
    parser.add_argument("--emulator", required=True, help="qemu user-mode emulator of the target")
    parser.add_argument("--sysroot", required=True, help="the target's libraries")
    main(parser.parse_args())
