"""Runs the real game on an Xvfb server of its own and plays it with real X input events,
knowing it from outside: its layout files, and its rounds reproduced from the random seed.
One Player plays the game however it is started (the build's program, the installed launcher,
qemu with the cross-built program, or, through webgame.py, the browser's page); the plays the
suites share are its own. The run command's demonstration plays with it, and so do the tests."""
import calendar
import contextlib
import ctypes
import os
import shutil
import signal
import subprocess
import tempfile
import time

GAME_WIDTH, GAME_HEIGHT, CARD = 800, 480, 5
SCREEN = (GAME_WIDTH, GAME_HEIGHT)
PROGRAM = ("./quorvel",)  # the build's program, from the folder it runs in
MENU, PLAY, REVIEW = "main_menu.layout", "play.layout", "game_over.layout"
SCORE, INITIALS, TABLE = "round_score.layout", "get_initials.layout", "hiscores.layout"
# The menu's choices in the order its buttons cycle them, and the table's entries of each.
ADDITION, SUBTRACTION, MULTIPLICATION, DIVISION = range(4)
EASY, MEDIUM, HARD = range(3)
QTYPES, LEVELS, RANKS = 4, 3, 5
BUTTON_BODY = (204, 204, 77)   # the buttons' muted yellow
MARKED_SQUARE = (51, 51, 173)  # the blue veil over a white square
BACKGROUND = (0, 0, 0)
# The game's calendar clock starts here, so its random seed is this moment in seconds.
FAKE_START = "2027-03-01 12:00:00"
SEED = calendar.timegm((2027, 3, 1, 12, 0, 0))
# The game takes no press in a screen's first 200 ms (the rest of a double tap): a player
# looks at a screen before tapping it.
LOOK = 0.2


class XServer:
    """An Xvfb server on a display number it picks itself; stopped by its PID."""

    def __init__(self, width=800, height=480):
        read_fd, write_fd = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            self.display = ":" + pipe.readline().strip()
        if self.display == ":":
            self.proc.kill()
            raise RuntimeError("Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("SDL_VIDEODRIVER", None)

    def run(self, *args, check=True):
        return subprocess.run(list(args), env=self.env, check=check, capture_output=True, text=True)

    def window_size(self, window):
        size = self.run("xdotool", "getwindowgeometry", window).stdout.split("Geometry:")[1]
        return tuple(int(v) for v in size.split()[0].split("x"))

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=10)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


class GameFolder:
    """A scratch folder that links the program and its data files, so that each test starts
    with no "hiscores.dat" (nor its lock) and leaves the build's folder as it was."""

    def __init__(self, game_dir):
        self.path = tempfile.mkdtemp(prefix="quorvel_e2e_")
        for name in os.listdir(game_dir):
            if not name.startswith("hiscores.dat"):
                os.symlink(os.path.join(os.path.abspath(game_dir), name), self.file(name))

    def file(self, name):
        return os.path.join(self.path, name)

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.remove()


class Game:
    """The game program running in a folder on an X server; `command` may start it another
    way (an installed launcher, an emulator)."""

    def __init__(self, xserver, game_dir, extra_env=None, command=PROGRAM):
        self.x, self.folder = xserver, game_dir
        self.out = tempfile.TemporaryFile(mode="w+")
        self.out_dir = tempfile.mkdtemp(prefix="quorvel_shots_")
        self.proc = subprocess.Popen(list(command), cwd=game_dir,
                                     env=dict(xserver.env, **(extra_env or {})),
                                     stdout=self.out, stderr=subprocess.STDOUT)

    def wait_for_window(self, timeout=10.0):
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = self.x.run("xdotool", "search", "--name", "^Quorvel$", check=False)
            if found.stdout.strip():
                window = found.stdout.split()[0]
                if "IsViewable" in self.x.run("xwininfo", "-id", window, check=False).stdout:
                    time.sleep(0.2)  # SDL selects its input just after mapping the window
                    return window
            if self.proc.poll() is not None:
                raise AssertionError(f"game ended early with {self.proc.returncode}: "
                                     + self.output())
            time.sleep(0.05)
        raise AssertionError("the game's window did not appear")

    def key(self, name):
        self.x.run("xdotool", "key", name)

    def key_until_exit(self, name, timeout=10.0):
        """Presses a key that should end the program until it does; its exit status."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            self.key(name)
            try:
                return self.proc.wait(timeout=0.5)
            except subprocess.TimeoutExpired:
                pass
        raise AssertionError(f"{name} did not end the game")

    def close_window(self, tools_dir):
        """Asks the window to close, as a window manager's close button does, with the test
        tool `wm_close` from `tools_dir`; the exit status."""
        self.x.run(os.path.join(tools_dir, "wm_close"), "Quorvel")
        return self.proc.wait(timeout=10)

    def tap(self, x, y, clicks=1):
        """A click at a window position; more clicks 40 ms apart, as a quick double tap."""
        repeat = ["--repeat", str(clicks), "--delay", "40"] if clicks > 1 else []
        self.x.run("xdotool", "mousemove", str(int(x)), str(int(y)), "click", *repeat, "1")

    def screenshot(self, path):
        self.x.run("import", "-window", "root", path)

    def output(self):
        self.out.seek(0)
        return self.out.read()

    def saved(self, name):
        """The text of a file the game keeps in the folder it runs in."""
        with open(os.path.join(self.folder, name)) as f:
            return f.read()

    def pause(self, seconds):
        """Stops the program for a while, as a shell's job control does."""
        os.kill(self.proc.pid, signal.SIGSTOP)
        time.sleep(seconds)
        os.kill(self.proc.pid, signal.SIGCONT)

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.out.close()
        shutil.rmtree(self.out_dir, ignore_errors=True)


def load_layout(game_dir, name):
    """{tag: (x, y, w, h)} of a layout file, read as the game reads it."""
    with open(os.path.join(game_dir, name)) as f:
        words = f.read().split()
    items = {}
    for i in range(1, len(words) - 4, 5):
        items.setdefault(words[i], tuple(float(v) for v in words[i + 1:i + 5]))
    return items


class Round:
    """One round reproduced: answers and texts by question index, the card by square."""

    def __init__(self, questions, card):
        self.answers = [answer for answer, _ in questions]
        self.texts = [text for _, text in questions]
        self.card = card
        self.answered = [False] * len(questions)
        self.marked = [[False] * CARD for _ in range(CARD)]

    def find_square(self, index, right=True):
        """An unmarked square that holds (or, not `right`, does not hold) answer `index`."""
        for row in range(CARD):
            for col in range(CARD):
                number = self.card[row][col]
                if not self.marked[row][col] and (number == self.answers[index]) == right:
                    return row, col
        raise AssertionError(f"no square left for question {index}")


def reproduce_rounds(played):
    """The rounds the game deals for the (type, level) of each round played, from the same C
    library's rand() in the same order of calls: start-up deals one addition/easy round."""
    libc = ctypes.CDLL(None)
    libc.srand(SEED)

    def questions(qtype, level):
        step = 2147483648 // {EASY: 10, MEDIUM: 20, HARD: 100}[level]
        out = []
        for _ in range(CARD * CARD):
            a, b = libc.rand() // step, libc.rand() // step
            if qtype == SUBTRACTION and b > a:
                a, b = b, a
            if qtype == DIVISION and a == 0:
                a, b = b or 1, 0
            text = f"{a * b} / {a} = ?" if qtype == DIVISION else f"{a} {'+-*'[qtype]} {b} = ?"
            out.append(((a + b, a - b, a * b, b)[qtype], text))
        return out

    questions(ADDITION, EASY)
    rounds = []
    for qtype, level in played:
        dealt = questions(qtype, level)
        used = []
        while len(used) < CARD * CARD:  # each square draws until an unused index comes
            index = libc.rand() // 85899345
            if index < CARD * CARD and index not in used:
                used.append(index)
        card = [dealt[i][0] for i in used]
        rounds.append(Round(dealt, [card[r * CARD:(r + 1) * CARD] for r in range(CARD)]))
    return rounds


class Player:
    """Plays the real game: taps the rectangles of its layout files, and follows the question
    cursor as the game moves it, so it always knows the current question. How the game starts
    is its parameter: `command` run in `game_dir` on `xserver` (the build's program, the
    installed launcher, qemu with the cross-built program), or `launch(env)` when given (the
    browser's page). Leaving it as a context ends every game it started."""

    def __init__(self, xserver, game_dir, screen=SCREEN, command=PROGRAM, launch=None):
        self.x, self.game_dir, self.screen, self.command = xserver, game_dir, screen, command
        self.launch = launch
        self.layouts = {}
        self.env = {}  # settings for every start
        self.patience = 5.0  # seconds a screen may take to show
        self.games = []  # every run started, the current one last
        self.game = None
        self.run_anew()

    def run_anew(self):
        """A run starts on an addition/easy round, its generator seeded at the same moment."""
        self.cursor = 0  # the game's question cursor; rounds start where the last one left it
        self.qtype, self.level = ADDITION, EASY
        self.played = []  # (type, level) of every round started, abandoned ones included

    def start(self, extra_env=None):
        env = {"FAKETIME": "@" + FAKE_START, "TZ": "UTC", "LD_PRELOAD": faketime_library()}
        env.update(self.env)
        env.update(extra_env or {})
        if "FAKETIME_TIMESTAMP_FILE" in env:
            del env["FAKETIME"]  # which libfaketime would read instead of the file
        self.game = (self.launch(env) if self.launch
                     else Game(self.x, self.game_dir, env, self.command))
        self.games.append(self.game)
        self.run_anew()
        self.game.wait_for_window()
        return self.game

    def start_at_menu(self, extra_env=None):
        self.start(extra_env)
        self.wait_for_buttons(MENU, "start_button", "quit_button")

    def close(self):
        for game in self.games:
            game.kill()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def layout(self, name):
        if name not in self.layouts:
            self.layouts[name] = load_layout(self.game_dir, name)
        return self.layouts[name]

    def to_window(self, gx, gy):
        return gx * self.screen[0] / GAME_WIDTH, gy * self.screen[1] / GAME_HEIGHT

    def tap_game_point(self, gx, gy, settle=0.06, clicks=1):
        self.game.tap(*self.to_window(gx, gy), clicks)
        time.sleep(settle)

    def tap(self, layout_name, tag, settle=0.06, clicks=1):
        x, y, w, h = self.layout(layout_name)[tag]
        self.tap_game_point(x + w / 2, y + h / 2, settle, clicks)

    def square_centre(self, row, col):
        x, y, w, h = self.layout(PLAY)["bingo_card"]
        return x + w * (col + 0.5) / CARD, y + h * (row + 0.5) / CARD

    def tap_square(self, row, col, settle=0.06):
        self.tap_game_point(*self.square_centre(row, col), settle)

    # ---- the game's own rules, followed from outside ----

    def advance(self, rnd, step=1):
        for _ in range(len(rnd.answers)):
            self.cursor = (self.cursor + step) % len(rnd.answers)
            if not rnd.answered[self.cursor]:
                return

    def answer_current(self, rnd):
        row, col = rnd.find_square(self.cursor)
        self.tap_square(row, col)
        rnd.marked[row][col] = rnd.answered[self.cursor] = True
        self.advance(rnd)
        return row, col

    def begin_round(self, clicks=1):
        """Taps Start on the menu; the round the game then deals, reproduced."""
        self.played.append((self.qtype, self.level))
        self.tap(MENU, "start_button", settle=0.3, clicks=clicks)
        self.wait_for_buttons(PLAY, "skip_button", "quit_button")
        return reproduce_rounds(self.played)[-1]

    def play_perfect_round(self):
        rnd = self.begin_round()
        for _ in range(CARD * CARD):
            self.answer_current(rnd)
        self.wait_for_buttons(SCORE, "continue_button")
        return rnd

    def run_out_the_clock(self, rnd, settle=0.06, taps=12, timeout=None):
        """Wrong taps, five seconds each, until the review of the missed questions shows; the
        time.monotonic() it was seen."""
        for _ in range(taps):
            self.tap_square(*rnd.find_square(self.cursor, right=False), settle=settle)
        return self.wait_for_review(timeout)

    def type_initials(self, letters):
        for letter in letters:
            self.tap(INITIALS, letter.lower() + "_button")

    def enter_initials(self, letters):
        """Types initials on the on-screen keyboard and enters them; ends on the table."""
        self.wait_for_buttons(INITIALS, "a_button", "enter_button")
        self.type_initials(letters)
        self.step(INITIALS, "enter_button", to=(TABLE, "done_button"))

    def choose(self, qtype, level):
        """Cycles the menu buttons to the given type and level."""
        while self.level != level:
            self.tap(MENU, "skill_level_button")
            self.level = (self.level + 1) % LEVELS
        while self.qtype != qtype:
            self.tap(MENU, "qtype_button")
            self.qtype = (self.qtype + 1) % QTYPES

    # ---- the plays the suites share ----

    def step(self, layout_name, tag, to, clicks=1):
        """Taps a button and waits for the screen it leads to: `to` is its layout and buttons."""
        self.tap(layout_name, tag, clicks=clicks)
        self.wait_for_buttons(*to)

    def open_table(self):
        """From the menu, the high scores of the type and level chosen."""
        self.step(MENU, "hiscore_button", to=(TABLE, "done_button"))

    def play_into_table(self, initials):
        """A perfect round from the menu, Continue on its score, and `initials` entered: ends
        on the table."""
        self.play_perfect_round()
        self.tap(SCORE, "continue_button")
        self.enter_initials(initials)

    def quit_from_table(self):
        """Done on the table, then Escape on the menu; the game's exit status."""
        self.step(TABLE, "done_button", to=(MENU, "start_button"))
        return self.game.key_until_exit("Escape")

    def hiscore_line(self, qtype, level, rank):
        """The saved line of an entry of a table: the tables by type, then level, best first."""
        lines = self.game.saved("hiscores.dat").split("\n")
        return lines[(qtype * LEVELS + level) * RANKS + rank]

    def play_through_the_screens(self, initials, look, say=lambda line: None):
        """The demonstration, from the menu: 12 right answers of a multiplication round on
        easy, wrong taps until the clock runs out, the review, the score, and `initials` into
        the table. On each of the six screens, once drawn, `look(name, what)`: the name of its
        picture in docs/screens and what it shows; `say(line)` tells each step."""
        def settled(name, what):
            time.sleep(0.3)  # the last tap's frame drawn
            look(name, what)
        settled("1-main-menu.png", "main menu")
        self.choose(MULTIPLICATION, EASY)
        say("Chose MULTIPLICATION - EASY and started a round.")
        rnd = self.begin_round()
        for _ in range(12):
            self.answer_current(rnd)
        say("Tapped the right answers of 12 questions.")
        settled("2-playing.png", "playing")
        say("Tapped wrong squares until the clock ran out (five seconds each).")
        self.run_out_the_clock(rnd, settle=0.1)
        settled("3-game-over.png", "review of the missed questions")
        self.step(REVIEW, "continue_button", to=(SCORE, "continue_button"))
        settled("4-round-score.png", "round score")
        self.step(SCORE, "continue_button", to=(INITIALS, "enter_button"))
        self.type_initials(initials)
        settled("5-initials.png", "initials entry")
        self.step(INITIALS, "enter_button", to=(TABLE, "done_button"))
        settled("6-high-scores.png", "high scores")

    def screenshot(self, name):
        path = os.path.join(self.game.out_dir, name)
        self.game.screenshot(path)
        return path

    def pixel(self, path, gx, gy):
        """(r, g, b) of a screenshot at game coordinates."""
        wx, wy = self.to_window(gx, gy)
        out = subprocess.run(["convert", path, "-crop", f"1x1+{int(wx)}+{int(wy)}", "-depth", "8",
                              "txt:-"], check=True, capture_output=True, text=True).stdout
        values = out.splitlines()[1].split("(")[1].split(")")[0].split(",")
        return tuple(int(float(v)) for v in values[:3])

    def shows_buttons(self, layout_name, *tags, shot=None):
        """Whether the screen (or the screenshot `shot`) shows the body of each button at its
        place: the yellow below its label and above its bottom bevel."""
        shot = shot or self.screenshot("check.png")
        for tag in tags:
            x, y, w, h = self.layout(layout_name)[tag]
            if not close(self.pixel(shot, x + w / 2, y + h - h / 10 - 2), BUTTON_BODY):
                return False
        return True

    def wait_for(self, shown, layout_name, timeout=None):
        """Waits until `shown()` (at most `timeout` seconds, or the Player's patience), then
        looks at the screen; the time.monotonic() at which the check that saw it began."""
        deadline = time.time() + (timeout or self.patience)
        while time.time() < deadline:
            began = time.monotonic()
            if shown():
                time.sleep(LOOK)
                return began
            time.sleep(0.1)
        raise AssertionError(f"the screen of {layout_name} did not appear")

    def wait_for_buttons(self, layout_name, *tags, timeout=None):
        return self.wait_for(lambda: self.shows_buttons(layout_name, *tags), layout_name, timeout)

    def wait_for_review(self, timeout=None):
        """Waits for the review of a round run out: its buttons, and the gap between < and >
        where the playing screen's Skip lies."""
        prev, after = (self.layout(REVIEW)[t] for t in ("prev_button", "next_button"))
        gap = (prev[0] + prev[2] + after[0]) / 2, prev[1] + prev[3] / 2

        def shown():
            shot = self.screenshot("check.png")
            return (self.shows_buttons(REVIEW, "continue_button", shot=shot)
                    and close(self.pixel(shot, *gap), BACKGROUND))
        return self.wait_for(shown, REVIEW, timeout)

    def square_is_marked(self, shot, row, col):
        """A marked square shows the blue veil over white near its corner."""
        _, _, w, h = self.layout(PLAY)["bingo_card"]
        cx, cy = self.square_centre(row, col)
        return close(self.pixel(shot, cx - w / 10 + 6, cy - h / 10 + 6), MARKED_SQUARE)


def close(rgb, expected, tolerance=12):
    return all(abs(a - b) <= tolerance for a, b in zip(rgb, expected))


class SteppedClock:
    """A clock the game reads from a file at every call (`env` are the game's settings for it),
    so that a test can set it while the game runs; it starts at the seeded moment."""

    def __init__(self, path):
        self.path = path
        self.env = {"FAKETIME_TIMESTAMP_FILE": path, "FAKETIME_NO_CACHE": "1"}
        self.set(FAKE_START, settle=0)

    def set(self, when, settle=0.5):
        """From its next reading the game's clock runs on from `when`."""
        with open(self.path + ".new", "w") as f:  # whole at every reading
            f.write("@" + when + "\n")
        os.replace(self.path + ".new", self.path)
        time.sleep(settle)


def faketime_library():
    out = subprocess.run(["dpkg", "-L", "libfaketime"], capture_output=True, text=True).stdout
    return next(p for p in out.split() if p.endswith("/libfaketime.so.1"))


@contextlib.contextmanager
def x_player(game_dir, screen=SCREEN, command=PROGRAM):
    """A Player of the program `command` starts (the build's program, the installed launcher,
    qemu with the cross-built program) from a scratch folder of `game_dir`'s files, on an X
    server of its own of `screen`'s size; every game it started ends when the context does."""
    with GameFolder(game_dir) as folder, XServer(*screen) as x, \
            Player(x, folder.path, screen, command) as player:
        yield player
