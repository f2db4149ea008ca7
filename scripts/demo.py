"""With no display: runs the game on a virtual X display, shows what it does, and saves
screenshots."""
import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
from xharness import Game, XServer  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game-dir", required=True)
    parser.add_argument("--tools-dir", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    with XServer() as x:
        print(f"No DISPLAY: running the game on a virtual display {x.display} (800 x 480).")
        game = Game(x, args.game_dir)
        try:
            game.wait_for_window()
            print("Started; the first screen is up.")
            time.sleep(0.5)
            shot = os.path.abspath(os.path.join(args.out, "01-first-screen.png"))
            game.screenshot(shot)
            print(f"Screenshot: {shot}")
            game.key("Escape")
            status = game.wait_exit()
            print(f"Escape pressed; the game ended with status {status}.")
        finally:
            game.kill()
    return 0


if __name__ == "__main__":
    sys.exit(main())
