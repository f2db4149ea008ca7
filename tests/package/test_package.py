"""The .deb built by CPack installs into a scratch root with a valid desktop entry; its command
runs the game from the user's own folder, which may later turn read-only, and writes the high
scores there and nowhere else; the package removes cleanly, leaving the user's scores."""
import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from xgame import x_player  # noqa: E402

BUILD_DIR = None
DATA, COMMAND = "usr/share/games/quorvel", "usr/games/quorvel"


def files_under(top, name=None):
    return [f for _, _, files in os.walk(top) for f in files if name in (None, f)]


class Package(unittest.TestCase):
    def setUp(self):
        if os.geteuid() != 0:
            self.skipTest("dpkg --root installs as root only")
        self.work = tempfile.mkdtemp(prefix="quorvel_root_")
        self.addCleanup(shutil.rmtree, self.work, ignore_errors=True)
        subprocess.run(["cpack", "--config", os.path.join(BUILD_DIR, "CPackConfig.cmake"),
                        "-B", self.work], check=True, capture_output=True)
        self.deb = glob.glob(os.path.join(self.work, "*.deb"))[0]
        self.root = os.path.join(self.work, "root")
        os.makedirs(os.path.join(self.root, "var/lib/dpkg/info"))
        open(os.path.join(self.root, "var/lib/dpkg/status"), "w").close()
        self.dpkg("--install", self.deb)

    def dpkg(self, *args):
        """dpkg on the scratch root, whose empty database has none of the dependencies."""
        subprocess.run(["dpkg", "--root", self.root, "--log", os.path.join(self.work, "dpkg.log"),
                        "--force-depends", *args], check=True, capture_output=True)

    def play(self, env, initials, prefix=()):
        """A perfect round into the table through the installed command; its output."""
        command = (*prefix, os.path.join(self.root, COMMAND))
        with x_player(os.path.join(self.root, DATA), command=command) as p:
            p.start_at_menu(env)
            p.play_into_table(initials)
            self.assertEqual(p.game.key_until_exit("Escape"), 0, "Escape on the table")
            return p.game.output()

    def test_installed_game_plays_from_the_users_folder(self):
        result = subprocess.run(["apt-get", "install", "--simulate", self.deb],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        entry = os.path.join(self.root, "usr/share/applications/quorvel.desktop")
        subprocess.run(["desktop-file-validate", entry], check=True)
        with open(entry) as f:
            keys = dict(line.strip().split("=", 1) for line in f if "=" in line)
        command = os.path.join(self.root, "usr/games", keys["Exec"])
        self.assertTrue(os.access(command, os.X_OK), "the entry's command")
        icons = os.path.join(self.root, "usr/share/icons/hicolor/*/apps", keys["Icon"] + ".*")
        self.assertEqual(len(glob.glob(icons)), 2, "the entry's icon, drawn and scalable")
        home = os.path.join(self.work, "home")
        self.play({"HOME": home, "XDG_DATA_HOME": ""}, "PKG")
        scores = os.path.join(home, ".local/share/quorvel/hiscores.dat")
        with open(scores) as f:
            self.assertIn(" PKG\n", f.read(), "the entry in the user's folder")
        self.assertEqual(files_under(self.root, "hiscores.dat"), [], "scores in the system")
        self.dpkg("--purge", "quorvel")
        self.assertEqual(files_under(os.path.join(self.root, "usr")), [], "left by a purge")
        self.assertTrue(os.path.exists(scores), "the user's scores purged")

    def test_xdg_data_home_holds_the_folder_of_links_which_may_become_read_only(self):
        folder = os.path.join(self.work, "data", "quorvel")
        env = {"HOME": os.path.join(self.work, "home"), "XDG_DATA_HOME": os.path.dirname(folder)}
        self.play(env, "XDG")
        for name in os.listdir(os.path.join(self.root, DATA)):
            self.assertEqual(os.readlink(os.path.join(folder, name)),
                             os.path.realpath(os.path.join(self.root, DATA, name)), name)
        self.assertFalse(os.path.exists(env["HOME"]), "a folder made in HOME")
        os.remove(os.path.join(folder, "hiscores.dat"))
        # The same folder made read-only (a bind mount, since root ignores modes) still starts
        # and plays; only the save fails, and says so.
        remount = f"mount --bind {folder} {folder} && mount -o remount,bind,ro {folder} {folder}"
        out = self.play(env, "RO", ("unshare", "-m", "sh", "-c", remount + ' && exec "$0"'))
        errors = [line for line in out.splitlines() if "ERROR: " in line]
        self.assertEqual(len(errors), 1, errors)
        self.assertIn("hiscores.dat", errors[0], "the error names another file")
        self.assertFalse(os.path.exists(os.path.join(folder, "hiscores.dat")), "saved read-only")


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True, help="the configured and built tree")
    BUILD_DIR = parser.parse_args().build_dir
    unittest.main(argv=sys.argv[:1], verbosity=2)
