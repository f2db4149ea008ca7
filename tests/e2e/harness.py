"""What the end-to-end tests share: their arguments, and a scratch game folder and X server for
each test; the game itself is driven by scripts/xgame.py, as the run command's demonstration.
With --sanitized (the sanitizer build's program) every run must also end with no invalid
access, no undefined behaviour and no leak it could have freed."""
import argparse
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from xgame import GameFolder, Player, XServer, faketime_library  # noqa: E402

ARGS = None  # the running script's arguments
SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "sanitizers",
                            "lsan.supp")
REPORT = re.compile(r"ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:")


def sanitizer_env():
    """The sanitizers' settings for the game, whatever the caller's environment holds."""
    return {
        # The seeded clock preloads libfaketime, so the sanitizer runtime cannot come first.
        "ASAN_OPTIONS": "detect_leaks=1:verify_asan_link_order=0:detect_stack_use_after_return=1",
        "LSAN_OPTIONS": f"suppressions={SUPPRESSIONS}:print_suppressions=1",
        "UBSAN_OPTIONS": "halt_on_error=1:print_stacktrace=1",
        # Keeps the GL driver loaded at exit, so its own allocations stay attributable.
        "LD_PRELOAD": os.path.join(ARGS.tools_dir, "libkeep_libraries.so") + " "
                      + faketime_library(),
        # libfaketime's stat() lock deadlocks the leak report's symbolizer.
        "NO_FAKE_STAT": "1",
    }


class PlayerTestCase(unittest.TestCase):
    """Each test plays the game from a scratch game folder on an X server of its own."""

    def setUp(self):
        self.folder = GameFolder(ARGS.game_dir)
        self.x = XServer()
        self.player = Player(self.x, self.folder.path)
        if ARGS.sanitized:
            self.player.env = sanitizer_env()

    def tearDown(self):
        for game in self.player.games:
            if ARGS.sanitized and game.proc.poll() is not None:
                out = game.output()
                print(out[-3000:])  # the suppressions used, or the report
                self.assertIsNone(REPORT.search(out), "a sanitizer reported")
            game.kill()
        self.x.stop()
        self.folder.remove()


def main(*extra):
    """Runs the calling script's tests (or those named after the options) with its arguments
    in ARGS: --game-dir, --tools-dir, --sanitized and the `extra` options."""
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--game-dir", required=True, help="folder with the program and its data")
    parser.add_argument("--tools-dir", help="folder with the test helper programs")
    parser.add_argument("--sanitized", action="store_true", help="the sanitizer build's program")
    parser.add_argument("tests", nargs="*", help="tests to run (all by default)")
    for name in extra:
        parser.add_argument(name, required=True)
    ARGS = parser.parse_args()
    unittest.main(module="__main__", argv=["e2e", *ARGS.tests], verbosity=2)
