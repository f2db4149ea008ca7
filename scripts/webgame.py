"""Runs the web page in headless Chromium (Debian's, through chromium-driver) and plays it
with xgame's Player: taps, touches and keys go in through Chromium's DevTools, and the page's
clock starts at xgame's known moment, so its rounds are reproduced from the same seed (the
page deals with the device's generator)."""
import functools
import http.server
import re
import shutil
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

from xgame import GAME_HEIGHT, GAME_WIDTH, SEED, Player

# Headless WebGL on the CPU, as root, on a machine with no network.
CHROMIUM_FLAGS = ["--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                  "--no-sandbox", "--disable-background-networking", "--disable-component-update",
                  "--disable-sync", "--no-first-run", "--disable-gpu-shader-disk-cache"]
# Each new document's clock stands at the seed's second until the game has started (and
# seeded its generator), then runs on from there: faketime's start, whatever loading took.
CLOCK = ("(() => { const now = Date.now; let started = null;"
         " Date.now = () => %d * 1000 + (started === null ? 0 : now() - started);"
         " window.quorvelClockRun = () => { started = now(); }; })();" % SEED)


def repeated(count):
    """The numbers of `count` presses, waiting 40 ms before each after the first."""
    for press in range(count):
        if press:
            time.sleep(0.04)
        yield press


class Site:
    """The built page served on 127.0.0.1, on a free port, from a thread."""

    def __init__(self, site_dir):
        handler = functools.partial(QuietHandler, directory=site_dir)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = f"http://127.0.0.1:{self.server.server_port}/"
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Browser:
    """One headless Chromium with a profile of its own (its IndexedDB lives as long as it
    does), its viewport `width` x `height` CSS pixels at `ratio` device pixels each."""

    def __init__(self, width=GAME_WIDTH, height=GAME_HEIGHT, ratio=1, flags=()):
        self.profile = tempfile.mkdtemp(prefix="quorvel_chromium_")
        options = webdriver.ChromeOptions()
        for flag in CHROMIUM_FLAGS + list(flags) + [f"--user-data-dir={self.profile}"]:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.cdp("Page.addScriptToEvaluateOnNewDocument", source=CLOCK)
        self.resize(width, height, ratio)

    def new_window(self, width=GAME_WIDTH, height=GAME_HEIGHT):
        """Switches to another window of this browser (its storage shared), with its own clock
        and viewport; its handle."""
        self.driver.switch_to.new_window("window")
        self.cdp("Page.addScriptToEvaluateOnNewDocument", source=CLOCK)
        self.resize(width, height)
        return self.driver.current_window_handle

    def cdp(self, command, **params):
        return self.driver.execute_cdp_cmd(command, params)

    def resize(self, width, height, ratio=1):
        self.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
                 deviceScaleFactor=ratio, mobile=False)

    def quit(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)


class BrowserGame:
    """The page open in a browser, offering what xgame's Game offers the Player."""

    def __init__(self, browser, url):
        self.browser, self.driver = browser, browser.driver
        self.shots = None
        self.lines = []
        self.driver.get(url)

    def wait_for_window(self, timeout=10.0):
        """Waits for the game to start (its video mode made its canvas's context), then lets
        the page's clock run."""
        self.wait_until("return typeof Module !== 'undefined' && !!Module.ctx", timeout)
        self.driver.execute_script("quorvelClockRun()")

    def wait_until(self, script, timeout=5.0):
        deadline = time.time() + timeout
        while not self.driver.execute_script(script):
            if time.time() > deadline:
                raise AssertionError(f"the page never met: {script}\n{self.output()}")
            time.sleep(0.05)

    def message(self):
        """The page's own words, when it shows them in place of the game."""
        return self.driver.execute_script(
            "const m = document.getElementById('message'); return m.hidden ? '' : m.innerText")

    def key(self, name):
        for kind in ("keyDown", "keyUp"):
            self.browser.cdp("Input.dispatchKeyEvent", type=kind, key=name, code=name,
                             windowsVirtualKeyCode=27 if name == "Escape" else 0)

    def key_until_exit(self, name, timeout=10.0):
        """Presses a key that should end the game until the page says it ended: status 0."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            self.key(name)
            time.sleep(0.3)
            if "The game has ended." in self.message():
                return 0
        raise AssertionError(f"{name} did not end the game")

    def tap(self, x, y, clicks=1):
        """A click at a page position; more clicks 40 ms apart, as a quick double tap."""
        for click in repeated(clicks):
            for kind in ("mousePressed", "mouseReleased"):
                self.browser.cdp("Input.dispatchMouseEvent", type=kind, x=x, y=y,
                                 button="left", clickCount=click + 1)

    def touch(self, x, y, clicks=1):
        """A touch at a page position; more touches 40 ms apart."""
        for _ in repeated(clicks):
            self.browser.cdp("Input.dispatchTouchEvent", type="touchStart",
                             touchPoints=[{"x": x, "y": y}])
            self.browser.cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def screenshot(self, path):
        """The canvas's picture, at its own pixels."""
        self.driver.find_element("id", "game").screenshot(path)

    def saved(self, name):
        """The text of a file the game keeps in the page's folder, in the current window."""
        return self.driver.execute_script(
            "return FS.readFile(arguments[0], {encoding: 'utf8'})", name)

    def output(self):
        """The page's console lines so far, as the game printed them."""
        for entry in self.driver.get_log("browser"):
            quoted = re.search(r'"(.*)"$', entry["message"])
            self.lines.append(quoted.group(1) if quoted else entry["message"])
        return "\n".join(self.lines) + "\n"

    @property
    def out_dir(self):
        """A folder for the Player's screenshots, made when first asked for."""
        if self.shots is None:
            self.shots = tempfile.mkdtemp(prefix="quorvel_shots_")
        return self.shots

    def kill(self):
        if self.shots:
            shutil.rmtree(self.shots, ignore_errors=True)


def web_player(browser, site, game_dir):
    """A Player of the page: each start opens it anew in `browser`'s tab."""
    return Player(None, game_dir, launch=lambda env: BrowserGame(browser, site.url))
