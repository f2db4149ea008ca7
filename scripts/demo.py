"""With no display: plays a round of the game on a virtual X display, tapping right answers
from the reproduced round, and saves a screenshot of each screen."""
import argparse
import os
import sys
import time

from xgame import GameFolder, Player, XServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game-dir", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--program", default="./quorvel", help="the program, in the game folder")
    args = parser.parse_args()
    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)

    def shot(name, what):
        time.sleep(0.3)
        path = os.path.join(out, name)
        p.game.screenshot(path)
        print(f"  {what}: {path}")

    with GameFolder(args.game_dir) as folder, XServer() as x:
        print(f"No DISPLAY: playing on a virtual display {x.display} (800 x 480), "
              f"from a scratch game folder {folder.path}.")
        p = Player(x, folder.path, command=(args.program,))
        try:
            p.start()
            p.wait_for_buttons("main_menu.layout", "start_button")
            shot("1-main-menu.png", "main menu")
            p.choose(2, 0)
            print("Chose MULTIPLICATION - EASY and started a round.")
            rnd = p.begin_round()
            for _ in range(12):
                p.answer_current(rnd)
            print("Tapped the right answers of 12 questions.")
            shot("2-playing.png", "playing")
            print("Tapped wrong squares until the clock ran out (five seconds each).")
            p.run_out_the_clock(rnd, settle=0.1)
            shot("3-game-over.png", "review of the missed questions")
            p.tap("game_over.layout", "continue_button")
            p.wait_for_buttons("round_score.layout", "continue_button")
            shot("4-round-score.png", "round score")
            p.tap("round_score.layout", "continue_button")
            p.wait_for_buttons("get_initials.layout", "enter_button")
            for letter in "QRV":
                p.tap("get_initials.layout", letter.lower() + "_button")
            shot("5-initials.png", "initials entry")
            p.tap("get_initials.layout", "enter_button")
            p.wait_for_buttons("hiscores.layout", "done_button")
            shot("6-high-scores.png", "high scores")
            p.tap("hiscores.layout", "done_button")
            p.wait_for_buttons("main_menu.layout", "start_button")
            status = p.game.key_until_exit("Escape")
            print(f"Escape on the main menu: the game ended with status {status}.")
        finally:
            if p.game:
                p.game.kill()
    return 0


if __name__ == "__main__":
    sys.exit(main())
