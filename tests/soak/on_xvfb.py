"""Runs a test program with a display of its own: an Xvfb server of the game's size, so that
the program draws into a window and presents by swapping, as the game does."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "scripts"))
from xgame import XServer  # noqa: E402


def main():
    with XServer() as x:
        return subprocess.run(sys.argv[1:], env=x.env).returncode


if __name__ == "__main__":
    sys.exit(main())
