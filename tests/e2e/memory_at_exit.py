"""The sanitizer build of the real program, played through every screen on a real X server,
ends with no invalid access, no undefined behaviour and no leak it could have freed: once by
Escape on the main menu, once by a window close in the middle of a round."""
import os
import re
import sys
import time
import unittest

from gamedriver import Player, PlayerTestCase
from xharness import parse_args

ARGS = None
MENU = "main_menu.layout"
PLAY = "play.layout"
REVIEW = "game_over.layout"
SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "sanitizers",
                            "lsan.supp")
REPORT = re.compile(r"ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:")


def sanitizer_env(tools_dir):
    """The sanitizers' settings for the game, whatever the caller's environment holds."""
    keep = os.path.join(tools_dir, "libkeep_libraries.so")
    return {
        # The seeded clock preloads libfaketime, so the sanitizer runtime cannot come first.
        "ASAN_OPTIONS": "detect_leaks=1:verify_asan_link_order=0:detect_stack_use_after_return=1",
        "LSAN_OPTIONS": f"suppressions={SUPPRESSIONS}:print_suppressions=1",
        "UBSAN_OPTIONS": "halt_on_error=1:print_stacktrace=1",
        "LD_PRELOAD": keep + " " + Player.faketime_library(),
        # libfaketime's stat() lock deadlocks the leak report's symbolizer.
        "NO_FAKE_STAT": "1",
    }


class MemoryAtExit(PlayerTestCase):
    def start(self):
        self.player.start(sanitizer_env(ARGS.tools_dir))
        self.player.wait_for_buttons(MENU, "start_button", "quit_button")

    def expect_clean_exit(self, status):
        out = self.player.game.output()
        print(out[-3000:])  # the suppressions used, or the report
        self.assertEqual(status, 0)
        self.assertIsNone(REPORT.search(out), "a sanitizer reported")

    def quit_a_round(self):
        p = self.player
        rnd = p.begin_round()
        p.wait_for_buttons(PLAY, "skip_button", "quit_button")
        p.answer_current(rnd)
        p.tap_square(PLAY, *rnd.wrong_square(p.cursor))
        p.tap(PLAY, "skip_button")
        p.advance(rnd)
        p.answer_current(rnd)
        p.tap(PLAY, "quit_button")
        p.wait_for_buttons(MENU, "start_button")

    def time_out_to_the_table(self):
        p = self.player
        rnd = p.begin_round()
        p.wait_for_buttons(PLAY, "skip_button")
        p.answer_current(rnd)
        p.run_out_the_clock(rnd)
        p.tap(REVIEW, "next_button")
        p.tap(REVIEW, "prev_button")
        p.tap(REVIEW, "continue_button")
        p.wait_for_buttons("round_score.layout", "continue_button")
        p.tap("round_score.layout", "continue_button")
        p.wait_for_buttons("get_initials.layout", "enter_button")
        for key in ("m", "e", "x", "backsp"):
            p.tap("get_initials.layout", key + "_button")
        p.tap("get_initials.layout", "enter_button")
        p.wait_for_buttons("hiscores.layout", "done_button")
        p.tap("hiscores.layout", "done_button")
        p.wait_for_buttons(MENU, "start_button")

    def test_every_screen_then_escape_on_the_menu(self):
        p = self.player
        self.start()
        p.choose(2, 1)
        self.quit_a_round()
        p.tap(MENU, "hiscore_button")
        p.wait_for_buttons("hiscores.layout", "done_button")
        p.game.key("Escape")
        p.wait_for_buttons(MENU, "start_button")
        self.time_out_to_the_table()
        self.assertTrue(os.path.exists(self.folder.file("hiscores.dat")))
        self.expect_clean_exit(p.game.key_until_exit("Escape"))

    def test_window_closed_in_the_middle_of_a_round(self):
        # exit_game ends the process from inside the playing screen, by design without
        # freeing its layout and buttons or the control map's event templates: they are
        # still reachable then (the screen's frame, the map), so they are no leak.
        p = self.player
        self.start()
        rnd = p.begin_round()
        p.wait_for_buttons(PLAY, "skip_button")
        p.answer_current(rnd)
        time.sleep(0.2)
        self.x.run(os.path.join(ARGS.tools_dir, "wm_close"), "Quorvel")
        self.expect_clean_exit(p.game.wait_exit())


if __name__ == "__main__":
    ARGS = PlayerTestCase.args = parse_args()
    unittest.main(argv=sys.argv[:1], verbosity=2)
