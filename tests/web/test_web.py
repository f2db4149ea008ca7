"""The web page played in headless Chromium by xgame's Player, as the X play plays the
program: a round through all six screens, each matching its picture in docs/screens, the
table still there after a reload, touches on a page of another size, the end of the game,
and the page's words when the browser has no WebGL."""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from webgame import Browser, BrowserGame, Site, web_player  # noqa: E402
from xgame import EASY, MENU, MULTIPLICATION, PLAY  # noqa: E402

ARGS = None
SCREENS = os.path.join(ROOT, "docs", "screens")
SAME_PIXELS = 99.0  # per cent of pixels within 16 levels per channel of the picture
COUNT_DRAWS = """window.draws = 0;
for (const name of ['drawArrays', 'drawElements']) {
  const draw = WebGLRenderingContext.prototype[name];
  WebGLRenderingContext.prototype[name] = function () {
    window.draws++;
    return draw.apply(this, arguments);
  };
}"""


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
        self.addCleanup(self.site.stop)

    def open(self, **browser):
        """A browser of its own, and a Player of the page in it."""
        self.browser = Browser(**browser)
        self.addCleanup(self.browser.quit)
        self.player = self.new_player()
        return self.player

    def new_player(self):
        """A Player of the page in the browser's current window."""
        return self.enterContext(web_player(self.browser, self.site, ARGS.game_dir))

    def assertLooksLike(self, name, what="the screen"):
        shot = self.player.screenshot(name)
        alike = share_alike(shot, os.path.join(SCREENS, name))
        self.assertGreaterEqual(alike, SAME_PIXELS, f"{what} differs from docs/screens/{name}")


class RoundTest(WebTestCase):
    def test_a_round_reaches_the_table_which_a_reload_still_shows(self):
        p, initials = self.open(), "QRV"
        p.start_at_menu()
        p.play_through_the_screens(initials, self.assertLooksLike)
        p.start_at_menu()  # the page loaded anew
        p.choose(MULTIPLICATION, EASY)  # the round's table
        p.open_table()
        self.assertLooksLike("6-high-scores.png", "the table read back")
        kept = p.game.saved("hiscores.dat")
        self.assertIn(initials, kept, "the reloaded page's folder lacks the new entry")
        self.assertNotIn("ERROR: ", p.game.output(), "the game reported an error")

    def test_two_windows_saving_keep_both_scores(self):
        first = self.open()
        first.start_at_menu()
        windows = [self.browser.driver.current_window_handle, self.browser.new_window()]
        second = self.new_player()
        second.start_at_menu()  # its table read before the first window saves
        for player, window, initials in zip((first, second), windows, ("ABC", "DEF")):
            self.browser.driver.switch_to.window(window)
            player.play_into_table(initials)
        kept = second.game.saved("hiscores.dat")
        self.assertIn("ABC", kept, "the second window's save lost the first one's score")


class PageTest(WebTestCase):
    def test_touches_land_on_a_page_of_another_size_which_refits_on_resize(self):
        p = self.open(width=1600, height=960)
        p.screen = (1600, 960)
        p.start_at_menu()
        self.browser.cdp("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=1)
        p.game.tap = p.game.touch
        p.begin_round()  # a touch on Start
        self.browser.resize(1000, 800, ratio=2)
        time.sleep(0.5)
        x, y, w, h, backing_w, backing_h = self.browser.driver.execute_script(
            "const c = document.getElementById('game'), r = c.getBoundingClientRect();"
            "return [r.x, r.y, r.width, r.height, c.width, c.height]")
        self.assertEqual((x, y, w, h), (0, 100, 1000, 600), "the canvas is not fitted and centred")
        self.assertEqual((backing_w, backing_h), (2000, 1200),
                         "the canvas is not at 2 pixels a pixel")
        p.screen = (2000, 1200)
        p.wait_for_buttons(PLAY, "skip_button", "quit_button")

    def test_the_still_menu_draws_nothing_and_escape_ends_the_game_offering_another(self):
        p = self.open()
        self.browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=COUNT_DRAWS)
        p.start_at_menu()
        draws = self.browser.driver.execute_script("return window.draws")
        self.assertGreater(draws, 0, "the menu's first frame was not counted")
        time.sleep(1)
        self.assertEqual(self.browser.driver.execute_script("return window.draws"), draws,
                         "the still menu drew")
        self.assertEqual(p.game.key_until_exit("Escape"), 0, "Escape on the menu")
        self.browser.driver.find_element("css selector", "#message button").click()
        p.game.wait_for_window()
        p.wait_for_buttons(MENU, "start_button")

    def test_the_page_says_why_the_game_cannot_run(self):
        self.open(flags=["--disable-webgl"])
        game = BrowserGame(self.browser, self.site.url)
        game.wait_until("return !!document.getElementById('message').innerText")
        self.assertIn("ERROR: Unable to start OpenGL ES: this browser offers no WebGL",
                      game.message(), "no WebGL")

    def test_the_page_says_its_data_failed_to_load(self):
        self.open()
        missing = tempfile.mkdtemp(prefix="quorvel_site_")
        self.addCleanup(shutil.rmtree, missing)
        for name in ("index.html", "quorvel.js", "quorvel.wasm"):  # no quorvel.data
            os.symlink(os.path.abspath(os.path.join(ARGS.site_dir, name)),
                       os.path.join(missing, name))
        site = Site(missing)
        self.addCleanup(site.stop)
        game = BrowserGame(self.browser, site.url)
        game.wait_until("return !!document.getElementById('message').innerText")
        self.assertIn("ERROR: the game could not load", game.message(), "no data")

    def test_without_storage_the_game_plays_on_and_says_scores_are_not_kept(self):
        p = self.open()
        self.browser.cdp("Page.addScriptToEvaluateOnNewDocument",
                         source="Object.defineProperty(window, 'indexedDB', {value: undefined})")
        p.start_at_menu()
        self.assertIn("high scores will not be kept", p.game.output(), "no storage")

    def test_two_tabs_replace_the_folder_one_after_the_other_each_seeing_the_last(self):
        """The page's side of a save: the second tab waits for the first's lock, then finds
        the table the first one stored."""
        self.open()
        driver = self.browser.driver
        tabs = []
        for _ in range(2):
            driver.switch_to.new_window("tab")
            BrowserGame(self.browser, self.site.url).wait_until("return !!Module.ctx")
            tabs.append(driver.current_window_handle)
        driver.switch_to.window(tabs[0])
        driver.execute_script("Module.beginReplace()")  # the first tab holds the lock
        driver.switch_to.window(tabs[1])
        driver.execute_script("window.second = Module.beginReplace().then(() =>"
                              " FS.readFile('hiscores.dat', {encoding: 'utf8'}))")
        driver.switch_to.window(tabs[0])
        driver.execute_script("FS.writeFile('hiscores.dat', '1200 QRV'); Module.endReplace()")
        driver.switch_to.window(tabs[1])
        seen = driver.execute_async_script("window.second.then(arguments[0])")
        self.assertEqual(seen, "1200 QRV", "the second tab did not see the first tab's table")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--site-dir", default=os.path.join(ROOT, "build-web", "site"))
    parser.add_argument("--game-dir", default=os.path.join(ROOT, "data"))
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
