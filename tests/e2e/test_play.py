"""The real program played on a real X server: known rounds tapped right, a time-out through the
review, Quit and a window close, a clock set and the game stopped mid-round, double taps, a
display of another size, and no display. The game is driven
by scripts/xgame.py, as the run command's demonstration. With --sanitized (the sanitizer
build's program) every run must also end with no invalid access, no undefined behaviour and no
leak it could have freed."""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from xgame import (ADDITION, EASY, FAKE_START, INITIALS, MENU, PLAY, REVIEW,  # noqa: E402
                   SCORE, SCREEN, TABLE, SteppedClock, faketime_library, x_player)

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

    def play(self, screen=SCREEN):
        self.player = p = self.enterContext(x_player(ARGS.game_dir, screen))
        if ARGS.sanitized:
            p.env = sanitizer_env()
            self.addCleanup(self.assert_no_sanitizer_report)  # before the games are ended
        return p

    def file(self, name):
        return os.path.join(self.player.game_dir, name)

    def assert_no_sanitizer_report(self):
        for game in self.player.games:
            if game.proc.poll() is not None:
                out = game.output()
                print(out[-3000:])  # the suppressions used, or the report
                self.assertIsNone(REPORT.search(out), "a sanitizer reported")


def main():
    """Runs the tests named after the options, or all, with the arguments in ARGS."""
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--game-dir", required=True, help="folder with the program and its data")
    parser.add_argument("--tools-dir", help="folder with the test helper programs")
    parser.add_argument("--sanitized", action="store_true", help="the sanitizer build's program")
    parser.add_argument("tests", nargs="*", help="tests to run (all by default)")
    ARGS = parser.parse_args()
    unittest.main(module="__main__", argv=["e2e", *ARGS.tests], verbosity=2)


# A round's points; a perfect round answers every question and makes every line and the
# blackout.
ANSWER, BINGO, BLACKOUT, SECOND_LEFT = 100, 1000, 10000, 50
QUESTIONS, CARD_LINES, ROUND_SECONDS, WRONG_TAP_SECONDS = 25, 12, 60, 5
NO_INITIALS = "USR"  # what an entry saves when none were typed


def same_pixels(a, b):
    out = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True,
                         text=True)
    return out.stderr.strip() == "0"


class Play(PlayerTestCase):
    def test_perfect_round_makes_the_table_and_stays_there(self):
        p = self.play()
        p.start_at_menu()
        self.assertEqual(p.x.window_size(p.game.wait_for_window()), SCREEN, "full screen")
        p.play_into_table("QRV")
        score, initials = p.hiscore_line(ADDITION, EASY, 0).split(" ")
        time_bonus = int(score) - (QUESTIONS * ANSWER + CARD_LINES * BINGO + BLACKOUT)
        self.assertEqual(initials, "QRV", "the initials typed")
        self.assertGreater(time_bonus, 0, f"{score}: no time left")
        self.assertLessEqual(time_bonus, ROUND_SECONDS * SECOND_LEFT, f"{score}: over a round")
        self.assertEqual(time_bonus % SECOND_LEFT, 0, f"{score}: not whole seconds")
        table = p.screenshot("table.png")
        self.assertEqual(p.quit_from_table(), 0, "Escape on the menu")

        # A second run reads the entry back and shows the same table.
        p.start_at_menu()
        p.open_table()
        self.assertTrue(same_pixels(table, p.screenshot("again.png")), "the table read back")

    def expect_picture_back_after_a_cover(self, screen):
        """Another program's window opened over the game and closed: the picture under it is
        drawn again, whatever the screen."""
        p, box = self.player, "[400x200+100+100]"  # clear of the clock, which may tick meanwhile
        before = p.screenshot("before.png")
        cover = subprocess.Popen(["xmessage", "-geometry", box[1:-1], "COVER"], env=p.x.env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        p.x.run("xdotool", "search", "--sync", "--onlyvisible", "--name", "^xmessage$")
        covered = p.screenshot("covered.png")
        self.assertFalse(same_pixels(before + box, covered + box), f"{screen}: no cover shown")
        cover.kill()
        cover.wait()
        time.sleep(0.2)
        self.assertTrue(same_pixels(before + box, p.screenshot("after.png") + box),
                        f"{screen}: the picture not drawn again")

    def test_time_out_leads_through_the_review_to_the_score(self):
        # A double tap on Start taps no square; the clock set an hour ahead and back and a 10 s
        # stop take no play time: after 10 wrong taps, the round times out in 10 s of play.
        # On each screen a window that covered the game leaves its picture whole.
        p, stop, wrong_taps = self.play(), 10, 10
        clock = SteppedClock(self.file("clock"))
        p.start_at_menu(clock.env)
        self.expect_picture_back_after_a_cover("main menu")
        started = time.monotonic()
        rnd = p.begin_round(clicks=2)
        p.answer_current(rnd)
        self.expect_picture_back_after_a_cover("a round")
        clock.set("2027-03-01 13:00:00")
        clock.set(FAKE_START)
        p.game.pause(stop)
        timed_out = p.run_out_the_clock(rnd, taps=wrong_taps, timeout=20)
        played = ROUND_SECONDS - wrong_taps * WRONG_TAP_SECONDS
        self.assertAlmostEqual(timed_out - started - stop, played, delta=1, msg="seconds played")
        p.tap(REVIEW, "next_button", settle=0.2)
        self.expect_picture_back_after_a_cover("review")
        p.step(REVIEW, "continue_button", to=(SCORE, "continue_button"))
        self.expect_picture_back_after_a_cover("round score")
        p.step(SCORE, "continue_button", to=(INITIALS, "enter_button"))
        self.expect_picture_back_after_a_cover("initials")
        p.enter_initials("")  # any score makes an empty table
        self.expect_picture_back_after_a_cover("high scores")
        one_answer = f"{ANSWER} {NO_INITIALS}"
        self.assertEqual(p.hiscore_line(ADDITION, EASY, 0), one_answer, "the entry saved")
        self.assertEqual(p.quit_from_table(), 0, "Escape on the menu")

    def test_an_error_reaches_the_log_while_the_game_runs(self):
        p = self.play()
        os.mkdir(self.file("hiscores.dat"))  # the output goes to a file, as to a log
        p.start_at_menu()
        self.assertIn('"hiscores.dat": not a regular file\n', p.game.output(), "no line yet")

    def test_quit_and_window_close(self):
        # Tapped twice, Quit in a round and Done on the table each act once: the menu's Quit,
        # which lies beneath both, is not tapped.
        p = self.play()
        p.start_at_menu()
        p.answer_current(p.begin_round())
        p.step(PLAY, "quit_button", to=(MENU, "start_button"), clicks=2)
        self.assertIsNone(p.game.proc.poll(), "Quit tapped twice ended the game")
        p.open_table()
        done, quit = p.layout(TABLE)["done_button"], p.layout(MENU)["quit_button"]
        p.tap_game_point((done[0] + done[2] + quit[0]) / 2, (done[1] + quit[1] + quit[3]) / 2,
                         clicks=2)
        p.wait_for_buttons(MENU, "start_button")
        self.assertIsNone(p.game.proc.poll(), "Done tapped twice ended the game")
        # Closing the window mid-round ends the game at once; nothing is saved.
        p.answer_current(p.begin_round())
        self.assertEqual(p.game.close_window(ARGS.tools_dir), 0, "status of a window close")
        self.assertFalse(os.path.exists(self.file("hiscores.dat")), "a window close saved")


class Display(PlayerTestCase):
    def test_picture_fills_a_1024_by_768_display_and_taps_land(self):
        screen = (1024, 768)
        p = self.play(screen)
        p.start_at_menu()
        self.assertEqual(p.x.window_size(p.game.wait_for_window()), screen, "full screen")
        row, col = p.answer_current(p.begin_round())
        time.sleep(0.2)
        self.assertTrue(p.square_is_marked(p.screenshot("round.png"), row, col), "tap missed")
        p.game.key("Escape")
        p.wait_for_buttons(MENU, "start_button")
        self.assertEqual(p.game.key_until_exit("Escape"), 0, "Escape on the menu")

    def test_picture_follows_the_screen_resized_and_taps_land_in_the_new_fit(self):
        p = self.play()
        p.start_at_menu()
        menu = p.screenshot("menu.png")
        for size in ((640, 400), SCREEN):
            # Xvfb resizes the screen but keeps its output's mode, and says so.
            p.x.run("xrandr", "--fb", "%dx%d" % size, check=False)
            p.screen = size
            p.begin_round()  # tapped where Start now shows
            p.game.key("Escape")
            p.wait_for_buttons(MENU, "start_button")
        self.assertTrue(same_pixels(menu, p.screenshot("again.png")), "the menu drawn anew")
        self.assertEqual(p.game.key_until_exit("Escape"), 0, "Escape on the menu")

    def test_a_failed_video_start_says_why_and_ends_with_status_1(self):
        free = next(n for n in range(87, 200) if not os.path.exists(f"/tmp/.X{n}-lock"))
        base = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "SDL_VIDEODRIVER")}
        # Displays EGL cannot draw on are the in-process start-up tests'.
        cases = [({}, "ERROR: no X display: DISPLAY is not set"),
                 ({"DISPLAY": f":{free}"}, f"ERROR: cannot open the X display :{free}")]
        for extra, expected in cases:
            with self.subTest(env=extra):
                result = subprocess.run(["./quorvel"], cwd=ARGS.game_dir,
                                        env=dict(base, **extra), capture_output=True, text=True,
                                        stdin=subprocess.DEVNULL, timeout=30)
                self.assertEqual(result.returncode, 1, "exit status")
                # A console driver's own output may lead the line; the terminal is restored
                # by then.
                self.assertIn(expected, result.stdout.rstrip("\n").split("\n")[-1], "last line")


class Screenshots(unittest.TestCase):
    def test_the_demonstration_shows_the_pictures_kept_in_docs(self):
        """Pixel for pixel, so a frame the game failed to draw would show; the playing screen's
        clock aside, as it shows how long the taps took."""
        kept = os.path.join(ROOT, "docs", "screens")
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "demo.py"), "--game-dir",
                            ARGS.game_dir, "--out", out], env=env, check=True,
                           stdout=subprocess.DEVNULL)
            # The numbered screens; docs/ also keeps a picture of the browser's page.
            for name in (n for n in os.listdir(kept) if n[0].isdigit()):
                shots = [os.path.join(kept, name), os.path.join(out, name)]
                if name == "2-playing.png":  # the clock covered, in both
                    for i, path in enumerate(shots):
                        shots[i] = os.path.join(out, f"masked-{i}.png")
                        subprocess.run(["convert", path, "-fill", "black", "-draw",
                                        "rectangle 560,16 784,88", shots[i]], check=True)
                self.assertTrue(same_pixels(*shots), name)


if __name__ == "__main__":
    main()
