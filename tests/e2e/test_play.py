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
from xgame import (FAKE_START, GameFolder, Player, SteppedClock, XServer,  # noqa: E402
                   faketime_library)

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


MENU, PLAY, REVIEW = "main_menu.layout", "play.layout", "game_over.layout"


def hiscore_line(folder, qtype, level, rank):
    with open(folder.file("hiscores.dat")) as f:
        return f.read().split("\n")[15 * qtype + 5 * level + rank]


def same_pixels(a, b):
    out = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True,
                         text=True)
    return out.stderr.strip() == "0"


class Play(PlayerTestCase):
    def test_perfect_round_makes_the_table_and_stays_there(self):
        p = self.player
        p.start_at_menu()
        self.assertEqual(self.x.window_size(p.game.wait_for_window()), (800, 480))
        p.play_perfect_round()
        p.tap("round_score.layout", "continue_button")
        p.enter_initials("QRV")
        score, initials = hiscore_line(self.folder, 0, 0, 0).split(" ")
        # 25 answers, 12 bingos and the blackout, and 50 per whole second left.
        bonus = int(score) - (2500 + 12000 + 10000)
        self.assertEqual(initials, "QRV")
        self.assertTrue(0 < bonus <= 3000 and bonus % 50 == 0, score)
        table = p.screenshot("table.png")
        p.tap("hiscores.layout", "done_button")
        p.wait_for_buttons(MENU, "start_button")
        self.assertEqual(p.game.key_until_exit("Escape"), 0)

        # A second run reads the entry back and shows the same table.
        p.start_at_menu()
        p.tap(MENU, "hiscore_button")
        p.wait_for_buttons("hiscores.layout", "done_button")
        self.assertTrue(same_pixels(table, p.screenshot("again.png")))

    def expect_picture_back_after_a_cover(self, screen):
        """Another program's window opened over the game and closed: the picture under it is
        drawn again, whatever the screen."""
        box = "[400x200+100+100]"  # clear of the clock, which may tick meanwhile
        before = self.player.screenshot("before.png")
        cover = subprocess.Popen(["xmessage", "-geometry", box[1:-1], "COVER"], env=self.x.env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.x.run("xdotool", "search", "--sync", "--onlyvisible", "--name", "^xmessage$")
        self.assertFalse(same_pixels(before + box, self.player.screenshot("covered.png") + box))
        cover.kill()
        cover.wait()
        time.sleep(0.2)
        self.assertTrue(same_pixels(before + box, self.player.screenshot("after.png") + box),
                        screen)

    def test_time_out_leads_through_the_review_to_the_score(self):
        # A double tap on Start taps no square; the clock set an hour ahead and back and a 10 s
        # stop take no play time: after 50 s of wrong taps, the round times out in 10 s of play.
        # On each screen a window that covered the game leaves its picture whole.
        p, clock, stop = self.player, SteppedClock(self.folder.file("clock")), 10
        p.start_at_menu(clock.env)
        self.expect_picture_back_after_a_cover("main menu")
        started = time.monotonic()
        rnd = p.begin_round(clicks=2)
        p.answer_current(rnd)
        self.expect_picture_back_after_a_cover("a round")
        clock.set("2027-03-01 13:00:00")
        clock.set(FAKE_START)
        p.game.pause(stop)
        timed_out = p.run_out_the_clock(rnd, taps=10, timeout=20)
        self.assertAlmostEqual(timed_out - started - stop, 10, delta=1, msg="seconds played")
        p.tap(REVIEW, "next_button", settle=0.2)
        self.expect_picture_back_after_a_cover("review")
        p.tap(REVIEW, "continue_button")
        p.wait_for_buttons("round_score.layout", "continue_button")
        self.expect_picture_back_after_a_cover("round score")
        p.tap("round_score.layout", "continue_button")
        p.wait_for_buttons("get_initials.layout", "enter_button")
        self.expect_picture_back_after_a_cover("initials")
        p.enter_initials("")  # any score makes an empty table
        self.expect_picture_back_after_a_cover("high scores")
        self.assertEqual(hiscore_line(self.folder, 0, 0, 0), "100 USR")
        p.tap("hiscores.layout", "done_button")
        p.wait_for_buttons(MENU, "start_button")
        self.assertEqual(p.game.key_until_exit("Escape"), 0)

    def test_an_error_reaches_the_log_while_the_game_runs(self):
        os.mkdir(self.folder.file("hiscores.dat"))  # the output goes to a file, as to a log
        self.player.start_at_menu()
        self.assertIn('"hiscores.dat": not a regular file\n', self.player.game.output())

    def test_quit_and_window_close(self):
        # Tapped twice, Quit in a round and Done on the table each act once: the menu's Quit,
        # which lies beneath both, is not tapped.
        p = self.player
        p.start_at_menu()
        p.answer_current(p.begin_round())
        p.tap(PLAY, "quit_button", clicks=2)
        p.wait_for_buttons(MENU, "start_button")
        self.assertIsNone(p.game.proc.poll(), "Quit tapped twice ended the game")
        p.tap(MENU, "hiscore_button")
        p.wait_for_buttons("hiscores.layout", "done_button")
        done, quit = p.layout("hiscores.layout")["done_button"], p.layout(MENU)["quit_button"]
        p.tap_game_point((done[0] + done[2] + quit[0]) / 2, (done[1] + quit[1] + quit[3]) / 2,
                         clicks=2)
        p.wait_for_buttons(MENU, "start_button")
        self.assertIsNone(p.game.proc.poll(), "Done tapped twice ended the game")
        # Closing the window mid-round ends the game at once; nothing is saved.
        p.answer_current(p.begin_round())
        self.assertEqual(p.game.close_window(ARGS.tools_dir), 0)
        self.assertFalse(os.path.exists(self.folder.file("hiscores.dat")))


class Display(unittest.TestCase):
    def test_picture_fills_a_1024_by_768_display_and_taps_land(self):
        with GameFolder(ARGS.game_dir) as folder, XServer(1024, 768) as x:
            p = Player(x, folder.path, screen=(1024, 768))
            try:
                p.start_at_menu()
                self.assertEqual(x.window_size(p.game.wait_for_window()), (1024, 768))
                row, col = p.answer_current(p.begin_round())
                time.sleep(0.2)
                self.assertTrue(p.square_is_marked(p.screenshot("round.png"), row, col))
                p.game.key("Escape")
                p.wait_for_buttons(MENU, "start_button")
                self.assertEqual(p.game.key_until_exit("Escape"), 0)
            finally:
                if p.game:
                    p.game.kill()

    def test_picture_follows_the_screen_resized_and_taps_land_in_the_new_fit(self):
        with GameFolder(ARGS.game_dir) as folder, XServer() as x:
            p = Player(x, folder.path)
            try:
                p.start_at_menu()
                menu = p.screenshot("menu.png")
                for size in ((640, 400), (800, 480)):
                    # Xvfb resizes the screen but keeps its output's mode, and says so.
                    x.run("xrandr", "--fb", "%dx%d" % size, check=False)
                    p.screen = size
                    p.begin_round()  # tapped where Start now shows
                    p.game.key("Escape")
                    p.wait_for_buttons(MENU, "start_button")
                self.assertTrue(same_pixels(menu, p.screenshot("again.png")))
                self.assertEqual(p.game.key_until_exit("Escape"), 0)
            finally:
                if p.game:
                    p.game.kill()

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
                self.assertEqual(result.returncode, 1)
                # A console driver's own output may lead the line; the terminal is restored
                # by then.
                self.assertIn(expected, result.stdout.rstrip("\n").split("\n")[-1])


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
