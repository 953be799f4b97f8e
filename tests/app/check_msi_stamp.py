"""Builds small MSIs with wixl and checks what stamp_msi.py makes of them, read back with msiinfo:
the summary's dates are the given time, the same package always gets the same bytes, and another
package another package code. Exits 77 when wixl or msiinfo is not installed.

    check_msi_stamp.py --stamp FILE --workdir DIR
"""

import argparse
import os
import pathlib
import re
import shutil
import subprocess
import sys
import time
import unittest

SKIP = 77
WXS = """<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="3F0C8A51-7B2E-4D6A-9E1F-0C4B8D2A6E73" Name="Stamp" Language="1033" Version="1.0.0" Manufacturer="Test"
           UpgradeCode="0A5E54A4-6A3A-4C46-9C4A-2D8B4B7E0F21">
    <Package InstallerVersion="200" Compressed="yes"/>
    <Media Id="1" Cabinet="stamp.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Component Id="Payload" Guid="5C1E0B7D-1D59-4B7B-8C3E-6B7C5E0F9A12">
        <File Id="Payload" Name="payload.txt" Source="payload.txt" KeyPath="yes"/>
      </Component>
    </Directory>
    <Feature Id="All" Level="1"><ComponentRef Id="Payload"/></Feature>
  </Product>
</Wix>
"""
args = None


def build(name, payload, seconds):
    folder = args.workdir / name
    folder.mkdir(parents=True)
    (folder / "product.wxs").write_text(WXS, encoding="utf-8")
    (folder / "payload.txt").write_text(payload, encoding="utf-8")
    os.utime(folder / "payload.txt", (seconds, seconds))
    msi = folder / "stamp.msi"
    env = dict(os.environ, TZ="UTC")
    subprocess.run(["wixl", "--arch", "x64", "--output", msi, "product.wxs"], cwd=folder, env=env, check=True)
    subprocess.run([sys.executable, args.stamp, msi, str(seconds)], check=True)
    summary = subprocess.run(["msiinfo", "suminfo", msi], env=env, capture_output=True, text=True,
                             check=True).stdout
    return msi.read_bytes(), dict(re.findall(r"^([^:\n]+): (.*)$", summary, re.MULTILINE))


class Stamp(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(args.workdir, ignore_errors=True)

    def test_dates_are_the_given_time(self):
        for seconds in (315532800, 4102444799):
            with self.subTest(seconds=seconds):
                _, summary = build(f"date-{seconds}", "payload", seconds)
                expected = time.asctime(time.gmtime(seconds))
                self.assertEqual(summary["Created"], expected)
                self.assertEqual(summary["Last saved"], expected)

    def test_package_code_follows_the_content(self):
        first, first_summary = build("first", "payload", 1796846419)
        again, _ = build("again", "payload", 1796846419)
        other, other_summary = build("other", "other payload", 1796846419)
        self.assertEqual(first, again)
        self.assertNotEqual(first_summary["Revision number (UUID)"], other_summary["Revision number (UUID)"])


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--stamp", type=pathlib.Path, required=True)
    parser.add_argument("--workdir", type=pathlib.Path, required=True)
    args, rest = parser.parse_known_args()
    missing = [tool for tool in ("wixl", "msiinfo") if shutil.which(tool) is None]
    if missing:
        print(f"not installed: {', '.join(missing)}", file=sys.stderr)
        sys.exit(SKIP)
    unittest.main(argv=[sys.argv[0], *rest])
