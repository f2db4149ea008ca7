"""The demonstration played: its six screenshots equal the pictures kept in docs/screens/,
pixel for pixel, so a frame the game failed to draw would show. The clock is left out: it
shows how long the taps took."""
import argparse
import os
import subprocess
import sys
import tempfile

SCRIPTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts")
CLOCK = "rectangle 560,16 784,88"  # the playing screen's "time" item, and room round it


def differing_pixels(kept, shot):
    with tempfile.TemporaryDirectory() as tmp:
        masked = [os.path.join(tmp, name) for name in ("kept.png", "shot.png")]
        for path, out in zip((kept, shot), masked):
            subprocess.run(["convert", path, "-fill", "black", "-draw", CLOCK, out], check=True)
        result = subprocess.run(["compare", "-metric", "AE", *masked, "null:"],
                                capture_output=True, text=True)
    return result.stderr.strip()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game-dir", required=True)
    parser.add_argument("--kept", required=True, help="the folder of the kept screenshots")
    args = parser.parse_args()
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    failures = []
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([sys.executable, os.path.join(SCRIPTS, "demo.py"), "--game-dir",
                        args.game_dir, "--out", out], env=env, check=True,
                       stdout=subprocess.DEVNULL)
        for name in sorted(os.listdir(args.kept)):
            differ = differing_pixels(os.path.join(args.kept, name), os.path.join(out, name))
            print(f"{name}: {differ} pixels differ")
            if differ != "0":
                failures.append(name)
    if failures:
        print("FAILED: " + ", ".join(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
