"""Runs the benchmark and prints its table: start-up of the real program against the floor
program, each screen's frame cost against a bare replay of its GL calls, the CPU time that
each screen costs the game and the X server while nothing changes, peak memory, font
loading and dealing. Built and started by scripts/bench.sh."""
import argparse
import os
import platform
import signal
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "scripts"))
from xgame import Game, GameFolder, Player, XServer, load_layout  # noqa: E402

SCREENS = ["main_menu", "playing", "game_over", "round_score", "get_initials", "hiscores"]
MEBIBYTE = 1024 * 1024
# The game as it runs, and the baseline built beside it for the benchmark: every frame drawn
# and presented, as before frames were drawn only when their picture changed.
GAME, EVERY_FRAME = ("./quorvel",), ("./quorvel_every_frame",)
IDLE_SECONDS = 10
IDLE_SCREENS = [("main_menu", "main menu"), ("playing", "a round in play, no taps"),
                ("game_over", "review"), ("round_score", "round score"),
                ("get_initials", "initials entry"), ("hiscores", "high-score table")]
IDLE_GOALS = {"playing": 3.0, "emulated": 0.5}  # per cent of a core, for the game
IDLE_GOAL = 0.3
# Above this load average the machine wakes the game less often than asked, so its idle
# figures read low: they are marked as not valid.
QUIET_LOAD = 1.0
EMULATOR = "qemu-aarch64-static"


def parse_args():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True, help="the benchmark's build folder")
    parser.add_argument("--runs", type=int, default=15, help="start-up runs of each program")
    parser.add_argument("--arm64-dir", help="the arm64 cross-build's folder, for the emulated menu")
    parser.add_argument("--sysroot", help="the arm64 libraries the emulator runs it with")
    return parser.parse_args()


class Stamp:
    """The first-frame stamp preloaded into a program: a file that receives one line,
    monotonic and CPU nanoseconds, when the program's first frame is presented."""

    def __init__(self, shim, exit_after):
        fd, self.path = tempfile.mkstemp(prefix="quorvel_stamp_")
        os.close(fd)
        self.env = {"LD_PRELOAD": shim, "QUORVEL_BENCH_STAMP": self.path}
        if exit_after:
            self.env["QUORVEL_BENCH_EXIT"] = "1"

    def read(self):
        with open(self.path) as f:
            words = f.read().split()
        return [int(w) for w in words] if words else None

    def wait(self, proc, timeout=30.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and proc.poll() is None:
            if self.read():
                return
            time.sleep(0.02)
        raise RuntimeError("no frame was presented")

    def remove(self):
        os.unlink(self.path)


def start(x, command, cwd, stamp):
    return subprocess.Popen(command, cwd=cwd, env=dict(x.env, **stamp.env),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def time_first_frame(x, command, cwd, shim):
    """Milliseconds from exec to the first presented frame, and the CPU milliseconds spent."""
    stamp = Stamp(shim, exit_after=True)
    began = time.monotonic_ns()
    start(x, command, cwd, stamp).wait()
    presented, cpu = stamp.read()
    stamp.remove()
    return (presented - began) / 1e6, cpu / 1e6


def bench_startup(x, programs, folder, shim, runs):
    """Alternates the programs run by run, so that both see the same load; the first two
    runs of each warm the caches and are not counted."""
    times = {name: ([], []) for name in programs}
    for i in range(runs + 2):
        for name, command in programs.items():
            wall, cpu = time_first_frame(x, command, folder, shim)
            if i >= 2:
                times[name][0].append(wall)
                times[name][1].append(cpu)
    return {name: (statistics.median(w), statistics.median(c), min(w))
            for name, (w, c) in times.items()}


def peak_rss(proc):
    with open(f"/proc/{proc.pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) * 1024 / MEBIBYTE
    raise RuntimeError("no VmHWM")


def tap(x, item):
    left, top, width, height = item
    x.run("xdotool", "mousemove", str(int(left + width / 2)), str(int(top + height / 2)),
          "click", "1")


def bench_memory(x, programs, folder, shim):
    """Peak resident memory of the floor after two seconds of frames, and of the game after
    two seconds on the main menu and then three seconds of a round."""
    peaks = {}
    for name, command in programs.items():
        stamp = Stamp(shim, exit_after=False)
        proc = start(x, command, folder, stamp)
        stamp.wait(proc)
        time.sleep(2)
        peaks[name] = peak_rss(proc)
        if name == "game":
            tap(x, load_layout(folder, "main_menu.layout")["start_button"])
            for _ in range(6):
                time.sleep(0.5)
                tap(x, load_layout(folder, "play.layout")["skip_button"])
            peaks["round"] = peak_rss(proc)
        proc.send_signal(signal.SIGTERM)  # SDL turns it into a quit request
        proc.wait(timeout=10)
        stamp.remove()
    return peaks


def cpu_seconds(pid):
    """utime + stime of a process, all its threads, in seconds."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def idle_shares(x, game):
    """Per cent of a core that the game and the X server take over IDLE_SECONDS on the
    screen showing, from half a second after the last tap, and the machine's load average
    at the end."""
    time.sleep(0.5)
    pids = (game.proc.pid, x.proc.pid)
    before = [cpu_seconds(pid) for pid in pids]
    began = time.monotonic()
    time.sleep(IDLE_SECONDS)
    after = [cpu_seconds(pid) for pid in pids]
    elapsed = time.monotonic() - began
    return (*(100 * (a - b) / elapsed for a, b in zip(after, before)), os.getloadavg()[0])


def run_out_the_clock(p):
    """Taps the squares in turn, each wrong one costing five seconds, until the review shows."""
    squares = [(row, col) for row in range(5) for col in range(5)]
    for i, (row, col) in enumerate(squares):
        p.tap_square(row, col)
        if i >= 11 and p.shows_buttons("game_over.layout", "continue_button", "next_button"):
            return
    raise RuntimeError("the review did not show")


def bench_idle(game_dir, command):
    """{screen: (game %, X server %)} along one round, from a game folder and on an X server
    of their own: each screen left alone for IDLE_SECONDS, the round's clock running on the
    playing screen."""
    shares = {}
    with GameFolder(game_dir) as folder, XServer() as x:
        p = Player(x, folder.path)
        p.game = Game(x, folder.path, command=command)
        try:
            p.game.wait_for_window()
            p.wait_for_buttons("main_menu.layout", "start_button")
            shares["main_menu"] = idle_shares(x, p.game)
            p.tap("main_menu.layout", "start_button")
            p.wait_for_buttons("play.layout", "skip_button")
            shares["playing"] = idle_shares(x, p.game)
            run_out_the_clock(p)
            shares["game_over"] = idle_shares(x, p.game)
            p.tap("game_over.layout", "continue_button")
            p.wait_for_buttons("round_score.layout", "continue_button")
            shares["round_score"] = idle_shares(x, p.game)
            p.tap("round_score.layout", "continue_button")  # the table is empty: any total
            p.wait_for_buttons("get_initials.layout", "enter_button")
            shares["get_initials"] = idle_shares(x, p.game)
            p.tap("get_initials.layout", "enter_button")
            p.wait_for_buttons("hiscores.layout", "done_button")
            shares["hiscores"] = idle_shares(x, p.game)
        finally:
            p.game.kill()
    return shares


def bench_emulated_menu(game_dir, sysroot):
    """(game %, X server %, load) of the arm64 program on the main menu under qemu's
    user-mode emulation, the stand-in for the device's slower processor."""
    with GameFolder(game_dir) as folder, XServer() as x:
        p = Player(x, folder.path)
        p.game = Game(x, folder.path, {"LD_PRELOAD": ""},
                      command=(EMULATOR, "-L", sysroot, "./quorvel"))
        try:
            p.game.wait_for_window(timeout=60)
            p.wait_for_buttons("main_menu.layout", "start_button", timeout=60)
            time.sleep(2)  # the emulator's translation of the loop settles
            return idle_shares(x, p.game)
        finally:
            p.game.kill()


def bench_frames(env, command, folder):
    """{screen: measures} and {name: value} from one run of the in-process bench."""
    out = subprocess.run(command, cwd=folder, env=env, check=True, capture_output=True,
                         text=True).stdout
    screens, values = {}, {}
    for line in out.splitlines():
        words = line.split()
        if words[0] == "screen":
            numbers = [float(w) for w in words[2:]]
            screens[words[1]] = dict(zip(
                ["delay", "draws", "cpu", "wall", "faults", "replay_cpu", "replay_wall",
                 "replay_faults"], numbers))
        else:
            values[words[0]] = float(words[1])
    return screens, values


def print_startup(startup, runs):
    print(f"Start-up: exec to the first presented frame under Xvfb, median of {runs} runs "
          "of each; \"floor + draws\" also draws one flat quad, one line and one textured "
          "quad")
    print()
    print("| | floor | floor + draws | game | game / floor | target |")
    print("|---|---:|---:|---:|---:|---|")
    rows = (("wall time, ms", 0, "≤ 1.30"), ("CPU time, all threads, ms", 1, ""),
            ("wall time of the fastest run, ms", 2, ""))
    for label, i, target in rows:
        floor, drawn, game = (startup[k][i] for k in ("floor", "floor_draw", "game"))
        print(f"| {label} | {floor:.1f} | {drawn:.1f} | {game:.1f} | {game / floor:.2f} | "
              f"{target} |")
    print()


def frame_cells(m):
    return (f"{m['cpu']:.2f} | {m['replay_cpu']:.2f} | {m['cpu'] / m['replay_cpu']:.2f} | "
            f"{m['faults']:.0f}")


def print_frames(headless, xvfb):
    print("Frames: median CPU time (all threads) of one frame's drawing and presenting, "
          "ms, against a bare replay of the same GL calls; page faults per frame; "
          "target ratio ≤ 1.25")
    print()
    print("| screen | delay ms | draw calls | headless | replay | ratio | faults | "
          "Xvfb | replay | ratio | faults | frame rate (Xvfb) / ceiling |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|")
    for name in SCREENS:
        h, x = headless[name], xvfb[name]
        delay = x["delay"]
        rate = 1000 / (delay + x["cpu"])
        print(f"| {name} | {delay:.0f} | {x['draws']:.0f} | {frame_cells(h)} | "
              f"{frame_cells(x)} | {rate:.0f} / {1000 / delay:.0f} |")
    print()


def load_cell(load):
    return f"{load:.2f}" + (" (above 1: not valid)" if load > QUIET_LOAD else "")


def print_idle(drawn_on_change, drawn_every_frame, emulated):
    print(f"Idle screens: CPU time per second of wall time, per cent of one core, over "
          f"{IDLE_SECONDS} s on each screen with no input, under Xvfb, with the machine's load "
          "average at the end; each frame drawn only when its picture changes, and every frame "
          "drawn (quorvel_every_frame)")
    print()
    print("| screen | game | X server | load | game, every frame | X server, every frame | "
          "load | goal, game |")
    print("|---|---:|---:|---:|---:|---:|---:|---|")
    rows = [(name, label, drawn_on_change[name], drawn_every_frame[name])
            for name, label in IDLE_SCREENS]
    if emulated:
        rows.append(("emulated", "main menu, arm64 under qemu", emulated, None))
    for name, label, (game, xserver, load), every in rows:
        every_cells = "{:.2f} | {:.2f} | {}".format(*every[:2], load_cell(every[2])) if every \
            else "| |"
        print(f"| {label} | {game:.2f} | {xserver:.2f} | {load_cell(load)} | {every_cells} | "
              f"≤ {IDLE_GOALS.get(name, IDLE_GOAL):.1f} |")
    print()


def print_memory(peaks):
    floor = peaks["floor"]
    print("Memory: peak resident set (VmHWM), MiB, under Xvfb")
    print()
    print("| floor | floor + draws | game, main menu | game, during a round | target |")
    print("|---:|---:|---:|---:|---|")
    print(f"| {floor:.1f} | {peaks['floor_draw']:.1f} (+{peaks['floor_draw'] - floor:.1f}) | "
          f"{peaks['game']:.1f} (+{peaks['game'] - floor:.1f}) | "
          f"{peaks['round']:.1f} (+{peaks['round'] - floor:.1f}) | ≤ floor + 10 |")
    print()


def print_work(values):
    print("| start-up work | CPU time |")
    print("|---|---:|")
    print(f"| font_load of both fonts | {values['fonts']:.2f} ms |")
    print(f"| round_init + bc_init, per round | {values['deal']:.2f} µs |")
    print()


def main():
    args = parse_args()
    build = os.path.abspath(args.build_dir)
    shim = os.path.join(build, "bench", "libfirst_frame.so")
    frames = [os.path.join(build, "bench", "bench_frames")]
    floor = os.path.join(build, "bench", "bench_floor")
    programs = {"floor": [floor], "floor_draw": [floor, "draw"], "game": ["./quorvel"]}
    print(f"Machine: {platform.node()}, {os.cpu_count()} cores, {platform.machine()}, "
          f"load average {os.getloadavg()[0]:.2f} at the start")
    print()
    with GameFolder(os.path.join(build, "game")) as folder:
        headless_env = dict(os.environ, SDL_VIDEODRIVER="dummy")
        headless_env.pop("DISPLAY", None)
        headless, values = bench_frames(headless_env, frames, folder.path)
        with XServer() as x:
            startup = bench_startup(x, programs, folder.path, shim, args.runs)
            peaks = bench_memory(x, programs, folder.path, shim)
            xvfb, _ = bench_frames(x.env, frames, folder.path)
    idle = bench_idle(os.path.join(build, "game"), GAME)
    idle_every_frame = bench_idle(os.path.join(build, "game"), EVERY_FRAME)
    emulated = None
    if args.arm64_dir:
        emulated = bench_emulated_menu(os.path.join(args.arm64_dir, "game"), args.sysroot)
    print_startup(startup, args.runs)
    print_frames(headless, xvfb)
    print_idle(idle, idle_every_frame, emulated)
    print_memory(peaks)
    print_work(values)
    return 0


if __name__ == "__main__":
    sys.exit(main())
