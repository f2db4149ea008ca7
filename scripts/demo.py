"""With no display: plays a round of the game on a virtual X display, tapping right answers
from the reproduced round, and saves a screenshot of each screen."""
import argparse
import os
import sys

from xgame import x_player


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game-dir", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--program", default="./quorvel", help="the program, in the game folder")
    args = parser.parse_args()
    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)

    with x_player(args.game_dir, command=(args.program,)) as p:
        print(f"No DISPLAY: playing on a virtual display {p.x.display} (800 x 480), "
              f"from a scratch game folder {p.game_dir}.")

        def shot(name, what):
            path = os.path.join(out, name)
            p.game.screenshot(path)
            print(f"  {what}: {path}")
        p.start_at_menu()
        p.play_through_the_screens("QRV", shot, say=print)
        status = p.quit_from_table()
        print(f"Escape on the main menu: the game ended with status {status}.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
