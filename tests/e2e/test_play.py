"""The real program played on a real X server: known rounds tapped right, a time-out through the
review, Quit and a window close, a display of another size, and no display."""
import os
import subprocess
import time
import unittest

import harness
from harness import GameFolder, Player, PlayerTestCase, XServer

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

    def test_time_out_leads_through_the_review_to_the_score(self):
        p = self.player
        p.start_at_menu()
        rnd = p.begin_round()
        p.answer_current(rnd)
        p.run_out_the_clock(rnd)
        p.tap(REVIEW, "next_button", settle=0.2)
        p.tap(REVIEW, "continue_button")
        p.wait_for_buttons("round_score.layout", "continue_button")
        p.tap("round_score.layout", "continue_button")
        # Any score makes an empty table.
        p.wait_for_buttons("get_initials.layout", "enter_button")
        p.tap("get_initials.layout", "enter_button")
        p.wait_for_buttons("hiscores.layout", "done_button")
        self.assertEqual(hiscore_line(self.folder, 0, 0, 0), "100 USR")
        p.tap("hiscores.layout", "done_button")
        p.wait_for_buttons(MENU, "start_button")
        self.assertEqual(p.game.key_until_exit("Escape"), 0)

    def test_quit_and_window_close(self):
        p = self.player
        p.start_at_menu()
        p.answer_current(p.begin_round())
        p.tap(PLAY, "quit_button")
        p.wait_for_buttons(MENU, "start_button")
        # Closing the window mid-round ends the game at once; nothing is saved.
        p.answer_current(p.begin_round())
        self.assertEqual(p.game.close_window(harness.ARGS.tools_dir), 0)
        self.assertFalse(os.path.exists(self.folder.file("hiscores.dat")))


class Display(unittest.TestCase):
    def test_picture_fills_a_1024_by_768_display_and_taps_land(self):
        with GameFolder(harness.ARGS.game_dir) as folder, XServer(1024, 768) as x:
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

    def test_a_failed_video_start_says_why_and_ends_with_status_1(self):
        free = next(n for n in range(87, 200) if not os.path.exists(f"/tmp/.X{n}-lock"))
        base = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "SDL_VIDEODRIVER")}
        # Displays EGL cannot draw on are the in-process start-up tests'.
        cases = [({}, "ERROR: no X display: DISPLAY is not set"),
                 ({"DISPLAY": f":{free}"}, f"ERROR: cannot open the X display :{free}")]
        for extra, expected in cases:
            with self.subTest(env=extra):
                result = subprocess.run(["./quorvel"], cwd=harness.ARGS.game_dir,
                                        env=dict(base, **extra), capture_output=True, text=True,
                                        stdin=subprocess.DEVNULL, timeout=30)
                self.assertEqual(result.returncode, 1)
                # A console driver's own output may lead the line; the terminal is restored
                # by then.
                self.assertIn(expected, result.stdout.rstrip("\n").split("\n")[-1])


if __name__ == "__main__":
    harness.main()
