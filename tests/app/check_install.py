"""Installs the build into a scratch prefix and checks the desktop
integration lands where freedesktop tools look for it, and that the entry,
the metainfo, the binary and the icons all name each other consistently.

    check_install.py --cmake CMAKE --build DIR --prefix DIR [--config CFG]
"""

import argparse
import configparser
import pathlib
import shutil
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ET

APP_ID = "org.quorvane.Quorvane"
EXPECTED = [
    "bin/quorvane",
    f"share/applications/{APP_ID}.desktop",
    f"share/metainfo/{APP_ID}.metainfo.xml",
    "share/doc/quorvane/copyright",
    "share/doc/quorvane/changelog.gz",
    "share/man/man1/quorvane.1.gz",
] + [f"share/icons/hicolor/{s}x{s}/apps/{APP_ID}.png" for s in (16, 32, 48, 64, 128, 256)]

args = None


class Installed(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        root = args.prefix
        cls.root = root
        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(root / "share/applications" / f"{APP_ID}.desktop", encoding="utf-8")
        cls.entry = entry["Desktop Entry"] if entry.has_section("Desktop Entry") else {}
        cls.meta = ET.parse(root / "share/metainfo" / f"{APP_ID}.metainfo.xml").getroot()

    def test_files_are_at_their_standard_paths(self):
        for path in EXPECTED:
            with self.subTest(path=path):
                self.assertTrue((self.root / path).is_file())

    def test_binary_is_executable(self):
        self.assertTrue(shutil.which("quorvane", path=str(self.root / "bin")))

    def test_names_agree(self):
        cases = [
            ("desktop Exec", self.entry.get("Exec", "").split()[0:1], ["quorvane"]),
            ("desktop Icon", self.entry.get("Icon"), APP_ID),
            ("metainfo id", self.meta.findtext("id"), APP_ID),
            ("metainfo launchable", self.meta.findtext("launchable[@type='desktop-id']"), f"{APP_ID}.desktop"),
            ("metainfo binary", self.meta.findtext("provides/binary"), "quorvane"),
        ]
        for what, got, expected in cases:
            with self.subTest(what=what):
                self.assertEqual(got, expected)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--prefix", type=pathlib.Path, required=True)
    parser.add_argument("--config", default="")
    args, rest = parser.parse_known_args()
    shutil.rmtree(args.prefix, ignore_errors=True)
    command = [args.cmake, "--install", args.build, "--prefix", str(args.prefix)]
    if args.config:
        command += ["--config", args.config]
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    unittest.main(argv=[sys.argv[0], *rest])
