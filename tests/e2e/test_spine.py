"""The real program starts full screen, ends on Escape or a window close, and fails cleanly,
saying why, with no display or no usable OpenGL ES."""
import os
import subprocess
import sys
import unittest

from xharness import Game, XServer, parse_args, window_geometry

ARGS = None


class Spine(unittest.TestCase):
    def test_escape_on_first_screen_ends_with_status_0(self):
        with XServer() as x:
            game = Game(x, ARGS.game_dir)
            try:
                window = game.wait_for_window()
                self.assertEqual(window_geometry(x, window), (800, 480))
                self.assertEqual(game.key_until_exit("Escape"), 0)
            finally:
                game.kill()

    def test_window_close_ends_with_status_0(self):
        with XServer() as x:
            game = Game(x, ARGS.game_dir)
            try:
                game.wait_for_window()
                x.run(os.path.join(ARGS.tools_dir, "wm_close"), "Quorvel")
                self.assertEqual(game.wait_exit(), 0)
            finally:
                game.kill()

    def test_window_fills_a_display_of_another_size(self):
        with XServer(1024, 768) as x:
            game = Game(x, ARGS.game_dir)
            try:
                window = game.wait_for_window()
                self.assertEqual(window_geometry(x, window), (1024, 768))
                self.assertEqual(game.key_until_exit("Escape"), 0)
            finally:
                game.kill()

    def test_a_failed_video_start_says_why_and_ends_with_status_1(self):
        free = next(n for n in range(87, 200) if not os.path.exists(f"/tmp/.X{n}-lock"))
        base = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "SDL_VIDEODRIVER")}
        with XServer() as x, XServer(depth=8) as x8:
            cases = [
                ({}, "ERROR: no X display: DISPLAY is not set"),
                ({"DISPLAY": f":{free}"}, f"ERROR: cannot open the X display :{free}"),
                ({"DISPLAY": x.display, "__EGL_VENDOR_LIBRARY_FILENAMES": "/nonexistent.json"},
                 "ERROR: Unable to start OpenGL ES: eglGetDisplay failed"),
                ({"DISPLAY": x8.display},
                 "ERROR: Unable to start OpenGL ES: eglInitialize failed: EGL_NOT_INITIALIZED"),
            ]
            for extra, expected in cases:
                with self.subTest(env=extra):
                    result = subprocess.run(["./quorvel"], cwd=ARGS.game_dir,
                                            env=dict(base, **extra), capture_output=True,
                                            text=True, stdin=subprocess.DEVNULL, timeout=30)
                    self.assertEqual(result.returncode, 1)
                    # A console driver's own output may lead the line; the terminal is restored
                    # by then.
                    self.assertIn(expected, result.stdout.rstrip("\n").split("\n")[-1])


if __name__ == "__main__":
    ARGS = parse_args()
    unittest.main(argv=sys.argv[:1], verbosity=2)
