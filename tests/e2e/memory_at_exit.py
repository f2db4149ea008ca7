"""The sanitizer build of the real program, played through every screen on a real X server,
ends with no invalid access, no undefined behaviour and no leak it could have freed: once by
Escape on the main menu, once by a window close in the middle of a round."""
import os
import re
import time

import harness
from harness import PlayerTestCase
from xgame import faketime_library

MENU, PLAY, REVIEW = "main_menu.layout", "play.layout", "game_over.layout"
SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "sanitizers",
                            "lsan.supp")
REPORT = re.compile(r"ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:")


class MemoryAtExit(PlayerTestCase):
    def start(self):
        keep = os.path.join(harness.ARGS.tools_dir, "libkeep_libraries.so")
        self.player.start_at_menu({
            # The seeded clock preloads libfaketime, so the sanitizer runtime cannot come first.
            "ASAN_OPTIONS": "detect_leaks=1:verify_asan_link_order=0:"
                            "detect_stack_use_after_return=1",
            "LSAN_OPTIONS": f"suppressions={SUPPRESSIONS}:print_suppressions=1",
            "UBSAN_OPTIONS": "halt_on_error=1:print_stacktrace=1",
            "LD_PRELOAD": keep + " " + faketime_library(),
            # libfaketime's stat() lock deadlocks the leak report's symbolizer.
            "NO_FAKE_STAT": "1",
        })

    def expect_clean_exit(self, status):
        out = self.player.game.output()
        print(out[-3000:])  # the suppressions used, or the report
        self.assertEqual(status, 0)
        self.assertIsNone(REPORT.search(out), "a sanitizer reported")

    def test_every_screen_then_escape_on_the_menu(self):
        p = self.player
        self.start()
        p.choose(2, 1)
        rnd = p.begin_round()  # a right tap, a wrong one, a skip, then quit
        p.answer_current(rnd)
        p.tap_square(*rnd.find_square(p.cursor, right=False))
        p.tap(PLAY, "skip_button")
        p.advance(rnd)
        p.answer_current(rnd)
        p.tap(PLAY, "quit_button")
        p.wait_for_buttons(MENU, "start_button")
        p.tap(MENU, "hiscore_button")
        p.wait_for_buttons("hiscores.layout", "done_button")
        p.game.key("Escape")
        p.wait_for_buttons(MENU, "start_button")
        rnd = p.begin_round()  # a time-out through the review into the table
        p.answer_current(rnd)
        p.run_out_the_clock(rnd)
        for button in ("next_button", "prev_button", "continue_button"):
            p.tap(REVIEW, button)
        p.wait_for_buttons("round_score.layout", "continue_button")
        p.tap("round_score.layout", "continue_button")
        p.wait_for_buttons("get_initials.layout", "enter_button")
        for key in ("m", "e", "x", "backsp", "enter"):
            p.tap("get_initials.layout", key + "_button")
        p.wait_for_buttons("hiscores.layout", "done_button")
        p.tap("hiscores.layout", "done_button")
        p.wait_for_buttons(MENU, "start_button")
        self.assertTrue(os.path.exists(self.folder.file("hiscores.dat")))
        self.expect_clean_exit(p.game.key_until_exit("Escape"))

    def test_window_closed_in_the_middle_of_a_round(self):
        # exit_game ends the process from inside the playing screen, by design without
        # freeing its layout and buttons or the control map's event templates: they are
        # still reachable then (the screen's frame, the map), so they are no leak.
        self.start()
        self.player.answer_current(self.player.begin_round())
        time.sleep(0.2)
        self.expect_clean_exit(self.player.game.close_window(harness.ARGS.tools_dir))


if __name__ == "__main__":
    harness.main()
