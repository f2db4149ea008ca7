"""Runs the benchmark and prints its table: start-up of the real program against the floor
program, each screen's frame cost against a bare replay of its GL calls, peak memory, font
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
from xgame import GameFolder, XServer, load_layout  # noqa: E402

SCREENS = ["main_menu", "playing", "game_over", "round_score", "get_initials", "hiscores"]
MEBIBYTE = 1024 * 1024


def parse_args():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True, help="the benchmark's build folder")
    parser.add_argument("--runs", type=int, default=15, help="start-up runs of each program")
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
    print_startup(startup, args.runs)
    print_frames(headless, xvfb)
    print_memory(peaks)
    print_work(values)
    return 0


if __name__ == "__main__":
    sys.exit(main())
