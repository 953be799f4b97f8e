"""Starts the program where no window can be shown and checks that it says so in one line on
stderr and exits with status 1, instead of aborting.

    check_no_display.py PROGRAM
"""

import glob
import os
import subprocess
import sys
import unittest

PROGRAM = None

# A display number that no X server here listens on.
FREE_DISPLAY = next(f":{n}" for n in range(97, 200) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))

# name, environment over a clean one, arguments, words the one line must hold
CASES = [
    ("no display", {}, [], ["no display", "xvfb-run"]),
    ("unreachable X display", {"DISPLAY": FREE_DISPLAY}, [], [f'"{FREE_DISPLAY}"']),
    ("unknown platform plugin", {}, ["-platform", "nonexistent"], ['"nonexistent"', "offscreen"]),
    ("unknown platform in the environment", {"QT_QPA_PLATFORM": "nonexistent"}, [], ['"nonexistent"']),
]
if not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so"):
    CASES.append(("Wayland without Qt's plugin", {"WAYLAND_DISPLAY": "wayland-97"}, [], ["qt6-wayland"]))


class NoDisplay(unittest.TestCase):
    def test_one_line_and_status_1(self):
        clean = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        for name, env, args, words in CASES:
            with self.subTest(name):
                result = subprocess.run([PROGRAM, *args], env={**clean, **env}, capture_output=True, text=True,
                                        timeout=30, stdin=subprocess.DEVNULL)
                self.assertEqual(result.returncode, 1, result.stderr)
                lines = result.stderr.splitlines()
                self.assertEqual(len(lines), 1, result.stderr)
                for word in words:
                    self.assertIn(word, lines[0])


if __name__ == "__main__":
    PROGRAM = sys.argv.pop(1)
    unittest.main()
