"""The .deb built by CPack installs into a scratch root, its command runs the game from the
user's own folder far enough to write a high score there and nowhere else, and it removes
cleanly, leaving the user's scores."""
import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from harness import Player, XServer  # noqa: E402

ARGS = None
DATA = "usr/share/games/quorvel"
COMMAND = "usr/games/quorvel"


def build_package(build_dir, out_dir):
    subprocess.run(["cpack", "--config", os.path.join(build_dir, "CPackConfig.cmake"),
                    "-B", out_dir], check=True, capture_output=True)
    return glob.glob(os.path.join(out_dir, "*.deb"))[0]


def files_under(top, name=None):
    return [os.path.join(d, f) for d, _, files in os.walk(top) for f in files
            if name is None or f == name]


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if os.geteuid() != 0:
            raise unittest.SkipTest("dpkg --root installs as root only")
        cls.out = tempfile.mkdtemp(prefix="quorvel_deb_")
        cls.deb = build_package(ARGS.build_dir, cls.out)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.out, ignore_errors=True)

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="quorvel_root_")
        self.addCleanup(shutil.rmtree, self.work, ignore_errors=True)
        self.root = os.path.join(self.work, "root")
        self.home = os.path.join(self.work, "home")

    def dpkg(self, *args):
        """dpkg on the scratch root, whose empty database has none of the dependencies."""
        subprocess.run(["dpkg", "--root", self.root, "--log", os.path.join(self.work, "dpkg.log"),
                        "--force-depends", *args], check=True, capture_output=True)

    def install(self):
        os.makedirs(os.path.join(self.root, "var/lib/dpkg/info"))
        open(os.path.join(self.root, "var/lib/dpkg/status"), "w").close()
        self.dpkg("--install", self.deb)

    def player(self, x):
        return Player(x, os.path.join(self.root, DATA),
                      command=(os.path.join(self.root, COMMAND),))

    def test_declared_dependencies_install_on_this_machine(self):
        result = subprocess.run(["apt-get", "install", "--simulate", self.deb],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_desktop_entry_starts_the_installed_command_with_its_icon(self):
        self.install()
        entry = os.path.join(self.root, "usr/share/applications/quorvel.desktop")
        subprocess.run(["desktop-file-validate", entry], check=True)
        with open(entry) as f:
            keys = dict(line.strip().split("=", 1) for line in f if "=" in line)
        self.assertTrue(os.access(os.path.join(self.root, "usr/games", keys["Exec"]), os.X_OK))
        icons = glob.glob(os.path.join(self.root, "usr/share/icons/hicolor/*/apps",
                                       keys["Icon"] + ".*"))
        self.assertEqual(len(icons), 2)

    def test_play_into_the_table_then_remove(self):
        self.install()
        with XServer() as x:
            p = self.player(x)
            try:
                p.start_at_menu({"HOME": self.home, "XDG_DATA_HOME": ""})
                p.play_perfect_round()
                p.tap("round_score.layout", "continue_button")
                p.enter_initials("PKG")
                self.assertEqual(p.game.key_until_exit("Escape"), 0)
            finally:
                p.game.kill()
        scores = os.path.join(self.home, ".local/share/quorvel/hiscores.dat")
        with open(scores) as f:
            self.assertIn(" PKG\n", f.read())
        self.assertEqual(files_under(self.root, "hiscores.dat"), [])

        self.dpkg("--purge", "quorvel")
        self.assertEqual(files_under(os.path.join(self.root, "usr")), [])
        self.assertTrue(os.path.exists(scores))

    def test_xdg_data_home_holds_the_users_folder_of_links_which_may_become_read_only(self):
        self.install()
        data_home = os.path.join(self.work, "data")
        folder = os.path.join(data_home, "quorvel")
        env = {"HOME": self.home, "XDG_DATA_HOME": data_home}
        with XServer() as x:
            p = self.player(x)
            try:
                p.start_at_menu(env)
                self.assertEqual(p.game.key_until_exit("Escape"), 0)
            finally:
                p.game.kill()
            for name in os.listdir(os.path.join(self.root, DATA)):
                self.assertEqual(os.readlink(os.path.join(folder, name)),
                                 os.path.realpath(os.path.join(self.root, DATA, name)))
            self.assertFalse(os.path.exists(os.path.join(self.home, ".local")))

            # The same folder made read-only (a bind mount, since root ignores modes) still
            # starts and plays; only the save fails, and says so.
            remount = f"mount --bind {folder} {folder} && mount -o remount,bind,ro {folder} {folder}"
            p = Player(x, folder, command=(
                "unshare", "-m", "sh", "-c", remount + ' && exec "$0"',
                os.path.join(self.root, COMMAND)))
            try:
                p.start_at_menu(env)
                p.play_perfect_round()
                p.tap("round_score.layout", "continue_button")
                p.enter_initials("RO")
                self.assertEqual(p.game.key_until_exit("Escape"), 0)
                errors = [line for line in p.game.output().splitlines() if "ERROR: " in line]
            finally:
                p.game.kill()
        self.assertEqual(len(errors), 1, errors)
        self.assertIn("hiscores.dat", errors[0])
        self.assertFalse(os.path.exists(os.path.join(folder, "hiscores.dat")))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True, help="the configured and built tree")
    ARGS = parser.parse_args()
    unittest.main(argv=sys.argv[:1], verbosity=2)
