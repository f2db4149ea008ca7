"""The real program played on a real X server: known rounds tapped right, time-outs, every
screen's exit, a window close, and a display of another size."""
import os
import subprocess
import sys
import time
import unittest

from gamedriver import Player, PlayerTestCase
from xharness import GameFolder, XServer, parse_args

ARGS = None
MENU = "main_menu.layout"
PLAY = "play.layout"


def hiscore_line(folder, qtype, level, rank):
    with open(folder.file("hiscores.dat")) as f:
        return f.read().split("\n")[15 * qtype + 5 * level + rank]


class Play(PlayerTestCase):
    def test_perfect_round_makes_the_table_and_stays_there(self):
        p = self.player
        p.start_at_menu()
        p.play_perfect_round()
        p.tap("round_score.layout", "continue_button")
        p.enter_initials("QRV")
        score, initials = hiscore_line(self.folder, 0, 0, 0).split(" ")
        # 25 answers, 12 bingos and the blackout, and 50 per whole second left.
        bonus = int(score) - (2500 + 12000 + 10000)
        self.assertEqual(initials, "QRV")
        self.assertTrue(0 < bonus <= 3000 and bonus % 50 == 0, score)
        table = os.path.join(p.game.out_dir, "table.png")
        p.screenshot(table)
        p.tap("hiscores.layout", "done_button")
        p.wait_for_buttons(MENU, "start_button")
        self.assertEqual(p.game.key_until_exit("Escape"), 0)

        # A second run reads the entry back and shows the same table.
        p.start()
        p.wait_for_buttons(MENU, "hiscore_button")
        p.tap(MENU, "hiscore_button")
        p.wait_for_buttons("hiscores.layout", "done_button")
        again = os.path.join(p.game.out_dir, "again.png")
        p.screenshot(again)
        self.assertTrue(same_pixels(table, again))

    def test_every_type_and_level_deals_the_reproduced_card(self):
        p = self.player
        p.start_at_menu()
        for qtype in range(4):
            for level in range(3):
                p.choose(qtype, level)
                rnd = p.begin_round()
                p.wait_for_buttons(PLAY, "skip_button")
                marked = []
                for _ in range(3):
                    marked.append(rnd.square_for(p.cursor))
                    p.answer_current(rnd)
                time.sleep(0.2)
                shot = os.path.join(p.game.out_dir, "round.png")
                p.screenshot(shot)
                for row, col in marked:
                    self.assertTrue(p.square_is_marked(shot, PLAY, row, col),
                                    f"type {qtype} level {level} square {row},{col}")
                p.tap(PLAY, "quit_button")
                p.wait_for_buttons(MENU, "start_button")
        self.assertEqual(p.game.key_until_exit("Escape"), 0)

    def test_time_out_leads_through_the_review_to_the_score(self):
        p = self.player
        p.start_at_menu()
        rnd = p.begin_round()
        p.wait_for_buttons(PLAY, "skip_button")
        p.answer_current(rnd)
        p.run_out_the_clock(rnd)
        first = os.path.join(p.game.out_dir, "first.png")
        second = os.path.join(p.game.out_dir, "second.png")
        p.screenshot(first)
        shown = p.cursor
        p.tap("game_over.layout", "next_button", settle=0.2)
        p.advance(rnd)
        p.screenshot(second)
        if rnd.texts[shown] != rnd.texts[p.cursor]:  # the next solution is another text
            self.assertFalse(same_region(p, first, second, "game_over.layout", "question"))
        p.tap("game_over.layout", "prev_button")
        p.advance(rnd, -1)
        p.tap("game_over.layout", "continue_button")
        p.wait_for_buttons("round_score.layout", "continue_button")
        p.tap("round_score.layout", "continue_button")
        # Any score makes an empty table.
        p.wait_for_buttons("get_initials.layout", "enter_button")
        p.tap("get_initials.layout", "enter_button")
        p.wait_for_buttons("hiscores.layout", "done_button")
        self.assertEqual(hiscore_line(self.folder, 0, 0, 0), "100 USR")

    def test_quit_escape_and_window_close(self):
        p = self.player
        p.start_at_menu()
        # Quit mid-round, then a new round of the same kind with a full minute.
        rnd = p.begin_round()
        p.wait_for_buttons(PLAY, "skip_button")
        p.answer_current(rnd)
        p.tap(PLAY, "quit_button")
        p.wait_for_buttons(MENU, "start_button")
        # Escape returns to the menu from the high scores and from play.
        p.tap(MENU, "hiscore_button")
        p.wait_for_buttons("hiscores.layout", "done_button")
        p.game.key("Escape")
        p.wait_for_buttons(MENU, "start_button")
        rnd = p.begin_round()
        p.wait_for_buttons(PLAY, "skip_button")
        p.game.key("Escape")
        p.wait_for_buttons(MENU, "start_button")
        # A full round after two abandoned ones keeps almost the whole minute.
        p.play_perfect_round()
        p.game.key("Escape")  # from the round score, even with a high score
        p.wait_for_buttons(MENU, "start_button")
        self.assertFalse(os.path.exists(self.folder.file("hiscores.dat")))
        # Closing the window mid-round ends the game at once; nothing is saved.
        rnd = p.begin_round()
        p.wait_for_buttons(PLAY, "skip_button")
        p.answer_current(rnd)
        self.x.run(os.path.join(ARGS.tools_dir, "wm_close"), "Quorvel")
        self.assertEqual(p.game.wait_exit(), 0)
        self.assertFalse(os.path.exists(self.folder.file("hiscores.dat")))

    def test_escape_does_nothing_on_the_initials_screen(self):
        p = self.player
        p.start_at_menu()
        p.play_perfect_round()
        p.tap("round_score.layout", "continue_button")
        p.wait_for_buttons("get_initials.layout", "enter_button")
        p.game.key("Escape")
        time.sleep(0.3)
        self.assertTrue(p.shows_buttons("get_initials.layout", "enter_button", "z_button"))
        p.tap("get_initials.layout", "enter_button")
        p.wait_for_buttons("hiscores.layout", "done_button")


class OtherDisplay(unittest.TestCase):
    def test_picture_fills_a_1024_by_768_display_and_taps_land(self):
        with GameFolder(ARGS.game_dir) as folder, XServer(1024, 768) as x:
            p = Player(x, folder.path, ARGS.tools_dir, screen=(1024, 768))
            try:
                p.start()
                p.wait_for_buttons(MENU, "start_button", "quit_button", "hiscore_button")
                rnd = p.begin_round()
                p.wait_for_buttons(PLAY, "skip_button", "quit_button")
                marked = [rnd.square_for(p.cursor)]
                p.answer_current(rnd)
                time.sleep(0.2)
                shot = os.path.join(p.game.out_dir, "round.png")
                p.screenshot(shot)
                self.assertTrue(p.square_is_marked(shot, PLAY, *marked[0]))
                p.game.key("Escape")
                p.wait_for_buttons(MENU, "start_button")
                self.assertEqual(p.game.key_until_exit("Escape"), 0)
            finally:
                if p.game:
                    p.game.kill()


def same_region(player, a, b, layout_name, tag):
    x, y, w, h = player.layout(layout_name)[tag]
    points = [(x + w * i / 8, y + h / 2) for i in range(1, 8)]
    return all(player.pixel(a, *pt) == player.pixel(b, *pt) for pt in points)


def same_pixels(a, b):
    out = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True,
                         text=True)
    return out.stderr.strip() == "0"


if __name__ == "__main__":
    ARGS = PlayerTestCase.args = parse_args()
    unittest.main(argv=sys.argv[:1], verbosity=2)
