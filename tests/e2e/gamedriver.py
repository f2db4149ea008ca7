"""Knows the game from outside: its layout files, and its rounds reproduced from the seed."""
import calendar
import os
import subprocess
import time
import unittest

from xharness import Game, GameFolder, XServer

GAME_WIDTH, GAME_HEIGHT = 800, 480
BUTTON_BODY = (204, 204, 77)     # the buttons' muted yellow
MARKED_SQUARE = (51, 51, 173)    # the blue veil over a white square
CARD = 5
# The game's calendar clock starts here, so its random seed is this moment in seconds.
FAKE_START = "2027-03-01 12:00:00"
SEED = calendar.timegm((2027, 3, 1, 12, 0, 0))


def close(rgb, expected, tolerance=12):
    return all(abs(a - b) <= tolerance for a, b in zip(rgb, expected))


def load_layout(game_dir, name):
    """{tag: (x, y, w, h)} of a layout file, read as the game reads it."""
    with open(os.path.join(game_dir, name)) as f:
        words = f.read().split()
    items = {}
    for i in range(1, len(words) - 4, 5):
        tag = words[i]
        if tag not in items:
            items[tag] = tuple(float(v) for v in words[i + 1:i + 5])
    return items


class Round:
    """One round as the oracle reproduced it: answers by question index, the card by square."""

    def __init__(self, qtype, level, answers, texts, card):
        self.qtype, self.level = qtype, level
        self.answers, self.texts, self.card = answers, texts, card
        self.answered = [False] * len(answers)
        self.marked = [[False] * CARD for _ in range(CARD)]

    def square_for(self, index):
        """An unmarked square holding the answer of question `index`."""
        for row in range(CARD):
            for col in range(CARD):
                if not self.marked[row][col] and self.card[row][col] == self.answers[index]:
                    return row, col
        raise AssertionError(f"no square left for question {index}")

    def wrong_square(self, index):
        """An unmarked square whose number is not the answer of question `index`."""
        for row in range(CARD):
            for col in range(CARD):
                if not self.marked[row][col] and self.card[row][col] != self.answers[index]:
                    return row, col
        return None


def oracle_rounds(tools_dir, played):
    """The rounds the game deals for the given (type, level) of each round played."""
    args = [os.path.join(tools_dir, "round_oracle"), str(SEED)]
    args += [f"{t}:{l}" for t, l in played]
    lines = subprocess.run(args, check=True, capture_output=True, text=True).stdout.splitlines()
    rounds = []
    for line in lines:
        kind, rest = line.split(" ", 1)
        if kind == "round":
            qtype, level = (int(v) for v in rest.split())
            rounds.append(Round(qtype, level, [], [], []))
        elif kind == "q":
            _, answer, text = rest.split(" ", 2)
            rounds[-1].answers.append(int(answer))
            rounds[-1].texts.append(text)
        else:
            rounds[-1].card.append([int(v) for v in rest.split()])
    for r in rounds:
        r.answered = [False] * len(r.answers)
    return rounds


class Player:
    """Plays the real game: taps the rectangles of its layout files, and follows the question
    cursor as the game moves it, so it always knows the current question."""

    def __init__(self, xserver, game_dir, tools_dir, screen=(GAME_WIDTH, GAME_HEIGHT),
                 command=("./quorvel",)):
        self.x, self.game_dir, self.tools_dir = xserver, game_dir, tools_dir
        self.screen = screen
        self.command = command
        self.layouts = {}
        self.cursor = 0  # the game's question cursor; rounds start where the last one left it
        self.qtype, self.level = 0, 0
        self.played = []  # (type, level) of every round started, abandoned ones included
        self.game = None

    def start(self, extra_env=None):
        env = {"FAKETIME": "@" + FAKE_START, "TZ": "UTC",
               "LD_PRELOAD": self.faketime_library()}
        env.update(extra_env or {})
        self.game = Game(self.x, self.game_dir, env, self.command)
        self.game.wait_for_window()
        time.sleep(0.3)
        return self.game

    @staticmethod
    def faketime_library():
        out = subprocess.run(["dpkg", "-L", "libfaketime"], capture_output=True, text=True).stdout
        return next(p for p in out.split() if p.endswith("/libfaketime.so.1"))

    def layout(self, name):
        if name not in self.layouts:
            self.layouts[name] = load_layout(self.game_dir, name)
        return self.layouts[name]

    def to_window(self, gx, gy):
        return gx * self.screen[0] / GAME_WIDTH, gy * self.screen[1] / GAME_HEIGHT

    def tap_game_point(self, gx, gy, settle=0.06):
        self.game.tap(*self.to_window(gx, gy))
        time.sleep(settle)

    def tap(self, layout_name, tag, settle=0.06):
        x, y, w, h = self.layout(layout_name)[tag]
        self.tap_game_point(x + w / 2, y + h / 2, settle)

    def square_centre(self, layout_name, row, col):
        x, y, w, h = self.layout(layout_name)["bingo_card"]
        return x + w * (col + 0.5) / CARD, y + h * (row + 0.5) / CARD

    def tap_square(self, layout_name, row, col, settle=0.06):
        self.tap_game_point(*self.square_centre(layout_name, row, col), settle)

    # ---- the game's own rules, followed from outside ----

    def advance(self, rnd, step=1):
        for _ in range(len(rnd.answers)):
            self.cursor = (self.cursor + step) % len(rnd.answers)
            if not rnd.answered[self.cursor]:
                return

    def answer_current(self, rnd):
        row, col = rnd.square_for(self.cursor)
        self.tap_square("play.layout", row, col)
        rnd.marked[row][col] = True
        rnd.answered[self.cursor] = True
        self.advance(rnd)

    def begin_round(self):
        """Taps Start on the menu; the round the game then deals, reproduced."""
        self.played.append((self.qtype, self.level))
        self.tap("main_menu.layout", "start_button", settle=0.3)
        return oracle_rounds(self.tools_dir, self.played)[-1]

    def start_at_menu(self, extra_env=None):
        self.start(extra_env)
        self.wait_for_buttons("main_menu.layout", "start_button", "quit_button")

    def play_perfect_round(self):
        """Starts a round from the menu and answers every question right; the round."""
        rnd = self.begin_round()
        self.wait_for_buttons("play.layout", "skip_button")
        for _ in range(25):
            self.answer_current(rnd)
        self.wait_for_buttons("round_score.layout", "continue_button")
        return rnd

    def enter_initials(self, letters):
        """Types initials on the on-screen keyboard and enters them; ends on the table."""
        self.wait_for_buttons("get_initials.layout", "a_button", "enter_button")
        for letter in letters:
            self.tap("get_initials.layout", letter.lower() + "_button")
        self.tap("get_initials.layout", "enter_button")
        self.wait_for_buttons("hiscores.layout", "done_button")

    def run_out_the_clock(self, rnd, settle=0.06):
        """Wrong taps, five seconds each, until the review of the missed questions shows."""
        for _ in range(12):
            self.tap_square("play.layout", *rnd.wrong_square(self.cursor), settle=settle)
        self.wait_for_buttons("game_over.layout", "continue_button", "prev_button", "next_button")

    def choose(self, qtype, level):
        """Cycles the menu buttons to the given type and level."""
        while self.level != level:
            self.tap("main_menu.layout", "skill_level_button")
            self.level = (self.level + 1) % 3
        while self.qtype != qtype:
            self.tap("main_menu.layout", "qtype_button")
            self.qtype = (self.qtype + 1) % 4

    def screenshot(self, path):
        self.game.screenshot(path)

    def shows_buttons(self, layout_name, *tags):
        """Whether a screenshot shows the body of each button at its place: the yellow below
        its label and above its bottom bevel."""
        shot = os.path.join(self.game.out_dir, "check.png")
        self.screenshot(shot)
        for tag in tags:
            x, y, w, h = self.layout(layout_name)[tag]
            if not close(self.pixel(shot, x + w / 2, y + h - h / 10 - 2), BUTTON_BODY):
                return False
        return True

    def wait_for_buttons(self, layout_name, *tags, timeout=5.0):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.shows_buttons(layout_name, *tags):
                return
            time.sleep(0.1)
        raise AssertionError(f"the screen of {layout_name} did not appear")

    def square_is_marked(self, shot, layout_name, row, col):
        """A marked square shows the blue veil over white near its corner."""
        x, y, w, h = self.layout(layout_name)["bingo_card"]
        cx, cy = self.square_centre(layout_name, row, col)
        return close(self.pixel(shot, cx - w / 10 + 6, cy - h / 10 + 6), MARKED_SQUARE)

    def pixel(self, path, gx, gy):
        """(r, g, b) of a screenshot at game coordinates."""
        wx, wy = self.to_window(gx, gy)
        out = subprocess.run(["convert", path, "-crop", f"1x1+{int(wx)}+{int(wy)}", "-depth", "8",
                              "txt:-"], check=True, capture_output=True, text=True).stdout
        rgb = out.splitlines()[1].split("(")[1].split(")")[0].split(",")[:3]
        return tuple(int(float(v)) for v in rgb)


class PlayerTestCase(unittest.TestCase):
    """Each test plays the game from a scratch game folder on an X server of its own."""

    args = None  # the script's --game-dir and --tools-dir, set before the tests run

    def setUp(self):
        self.folder = GameFolder(self.args.game_dir)
        self.x = XServer()
        self.player = Player(self.x, self.folder.path, self.args.tools_dir)

    def tearDown(self):
        if self.player.game:
            self.player.game.kill()
        self.x.stop()
        self.folder.remove()
