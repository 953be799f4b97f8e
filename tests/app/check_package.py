"""Builds the Debian package from a build tree and checks it the way Debian would: lintian finds
no error or warning, the dependencies are computed from the binary, and the copyright file,
changelog and manual page land where Debian puts them. Exits 77 when cpack, dpkg-deb or lintian is not installed.

    check_package.py --build DIR --workdir DIR
"""

import argparse
import pathlib
import shutil
import subprocess
import sys
import unittest

SKIP = 77
args = None


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(args.workdir, ignore_errors=True)
        # A strict umask must not reach the package's folders.
        subprocess.run(["cpack", "-G", "DEB", "--config", str(args.build / "CPackConfig.cmake"),
                        "-B", str(args.workdir)], check=True, stdout=subprocess.DEVNULL, umask=0o077)
        (cls.deb,) = args.workdir.glob("quorvane_*.deb")

    def field(self, name):
        return subprocess.run(["dpkg-deb", "-f", str(self.deb), name], capture_output=True, text=True,
                              check=True).stdout.strip()

    def test_lintian_is_clean(self):
        result = subprocess.run(["lintian", "--fail-on", "error,warning", "--allow-root", str(self.deb)],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_relations(self):
        # libc6 is there only when dpkg-shlibdeps computed the list from the binary.
        self.assertIn("libc6", self.field("Depends"))
        self.assertIn("libqt6widgets6", self.field("Depends"))
        self.assertIn("qt6-qpa-plugins", self.field("Depends"))
        self.assertEqual(self.field("Recommends"), "qt6-wayland")

    def test_documentation(self):
        listing = subprocess.run(["dpkg-deb", "-c", str(self.deb)], capture_output=True, text=True,
                                 check=True).stdout
        for path in ("usr/share/doc/quorvane/copyright", "usr/share/doc/quorvane/changelog.gz",
                     "usr/share/man/man1/quorvane.1.gz"):
            with self.subTest(path):
                self.assertIn(f"./{path}\n", listing)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", type=pathlib.Path, required=True)
    parser.add_argument("--workdir", type=pathlib.Path, required=True)
    args, rest = parser.parse_known_args()
    missing = [tool for tool in ("cpack", "dpkg-deb", "lintian") if shutil.which(tool) is None]
    if missing:
        print(f"not installed: {', '.join(missing)}", file=sys.stderr)
        sys.exit(SKIP)
    unittest.main(argv=[sys.argv[0], *rest])
