"""Runs the real game on its own Xvfb server and drives it with real X input events."""
import argparse
import os
import shutil
import subprocess
import tempfile
import time


def parse_args():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game-dir", required=True, help="folder with the program and its data")
    parser.add_argument("--tools-dir", required=True, help="folder with the test helper programs")
    return parser.parse_args()


class XServer:
    """An Xvfb server on a display number it picks itself; stopped by its PID."""

    def __init__(self, width=800, height=480, depth=24):
        read_fd, write_fd = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x{depth}",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.proc.kill()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("SDL_VIDEODRIVER", None)

    def run(self, *args, check=True):
        return subprocess.run(list(args), env=self.env, check=check, capture_output=True, text=True)

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=10)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


class GameFolder:
    """A scratch folder that links the program and its data files, so that each test starts
    with no "hiscores.dat" and leaves the build's folder as it was."""

    def __init__(self, game_dir):
        self.path = tempfile.mkdtemp(prefix="quorvel_e2e_")
        for name in os.listdir(game_dir):
            if name != "hiscores.dat":
                os.symlink(os.path.join(os.path.abspath(game_dir), name),
                           os.path.join(self.path, name))

    def file(self, name):
        return os.path.join(self.path, name)

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.remove()


class Game:
    """The game program running from a game folder on an X server; `command` may start it
    another way (an installed launcher)."""

    def __init__(self, xserver, game_dir, extra_env=None, command=("./quorvel",)):
        self.x = xserver
        self.out = tempfile.TemporaryFile(mode="w+")
        self.out_dir = tempfile.mkdtemp(prefix="quorvel_shots_")
        env = dict(xserver.env, **(extra_env or {}))
        self.proc = subprocess.Popen(list(command), cwd=game_dir, env=env,
                                     stdout=self.out, stderr=subprocess.STDOUT)

    def wait_for_window(self, timeout=10.0):
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = self.x.run("xdotool", "search", "--name", "^Quorvel$", check=False)
            if found.returncode == 0 and found.stdout.strip():
                window = found.stdout.split()[0]
                info = self.x.run("xwininfo", "-id", window, check=False).stdout
                if "IsViewable" in info:
                    time.sleep(0.2)  # SDL selects its input just after mapping the window
                    return window
            if self.proc.poll() is not None:
                raise AssertionError(f"game ended early with {self.proc.returncode}: {self.output()}")
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

    def tap(self, x, y):
        self.x.run("xdotool", "mousemove", str(int(x)), str(int(y)), "click", "1")

    def screenshot(self, path):
        self.x.run("import", "-window", "root", path)

    def wait_exit(self, timeout=10.0):
        return self.proc.wait(timeout=timeout)

    def output(self):
        self.out.seek(0)
        return self.out.read()

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.out.close()
        shutil.rmtree(self.out_dir, ignore_errors=True)


def window_geometry(xserver, window):
    """(width, height) of a window, from xdotool."""
    text = xserver.run("xdotool", "getwindowgeometry", window).stdout
    size = text.split("Geometry:")[1].split()[0]
    width, height = size.split("x")
    return int(width), int(height)
