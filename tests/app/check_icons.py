"""Checks the committed icon files: the .ico layout Windows expects, PNGs
that decode at the size their folder names, the window icon's raw pixels
the same as those PNGs, and that they are what tools/make-icons.py produces
today.

    check_icons.py --resources DIR --generator SCRIPT [unittest args]
"""

import argparse
import filecmp
import pathlib
import subprocess
import sys
import tempfile
import unittest

from imagefiles import dib_pixels, read_ico, read_png, row_bytes

APP_ID = "org.quorvane.Quorvane"
# (width, height, bColorCount, wBitCount), in file order.
ICO_IMAGES = [(32, 32, 2, 1), (32, 32, 16, 4), (16, 16, 16, 4)]
PNG_SIZES = [16, 32, 48, 64, 128, 256]
WINDOW_ICON_SIZES = [16, 32, 48, 64]

args = None


class IcoFile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.data = (args.resources / "quorvane.ico").read_bytes()
        cls.images = read_ico(cls.data)

    def test_directory_lists_the_three_classic_images(self):
        got = [(i["width"], i["height"], i["colours"], i["bits"]) for i in self.images]
        self.assertEqual(got, ICO_IMAGES)
        for image in self.images:
            self.assertEqual((image["reserved"], image["planes"]), (0, 1))

    def test_each_image_is_a_bmp_of_the_declared_shape(self):
        end = 6 + 16 * len(self.images)
        for image in sorted(self.images, key=lambda i: i["offset"]):
            w, h, bits = image["width"], image["height"], image["bits"]
            with self.subTest(size=w, bits=bits):
                self.assertGreaterEqual(image["offset"], end, "images overlap")
                end = image["offset"] + image["size"]
                self.assertEqual(image["header_size"], 40)
                # The DIB height counts the colour bitmap and the AND mask together.
                self.assertEqual(image["dib"], (w, 2 * h, 1, bits, 0))
                expected = 40 + 4 * (1 << bits) + (row_bytes(w, bits) + row_bytes(w, 1)) * h
                self.assertEqual(image["size"], expected)
        self.assertEqual(end, len(self.data), "trailing bytes after the last image")

    def test_pixels_draw_a_shape_on_a_transparent_background(self):
        for image in self.images:
            with self.subTest(size=image["width"], bits=image["bits"]):
                rows = dib_pixels(image)
                last = image["width"] - 1
                for x, y in ((0, 0), (last, 0), (0, last), (last, last)):
                    self.assertTrue(rows[y][x][1], f"corner {x},{y} is opaque")
                centre = rows[image["height"] // 2][image["width"] // 2]
                self.assertFalse(centre[1], "centre is transparent")
                # A transparent pixel with a non-zero colour would invert the screen under it.
                self.assertTrue(all(i == 0 for row in rows for i, clear in row if clear))
                used = {i for row in rows for i, clear in row if not clear}
                self.assertGreaterEqual(len(used), min(1 << image["bits"], 6))


class PngFiles(unittest.TestCase):
    def test_sizes_present_are_exactly_the_expected_ones(self):
        folders = sorted(p.name for p in (args.resources / "icons").iterdir())
        self.assertEqual(folders, sorted(f"{s}x{s}" for s in PNG_SIZES))

    def test_each_png_decodes_at_its_folder_size(self):
        for size in PNG_SIZES:
            with self.subTest(size=size):
                path = args.resources / "icons" / f"{size}x{size}" / f"{APP_ID}.png"
                w, h, rows = read_png(path.read_bytes())
                self.assertEqual((w, h), (size, size))
                self.assertEqual(rows[0][3], 0, "top-left corner is not transparent")
                self.assertEqual(rows[size // 2][4 * (size // 2) + 3], 255, "centre is not opaque")
                colours = {rows[y][4 * x:4 * x + 3] for y in range(h) for x in range(w) if rows[y][4 * x + 3] == 255}
                self.assertGreater(len(colours), 5)


class WindowIcon(unittest.TestCase):
    def test_raw_pixels_are_the_theme_icons(self):
        files = sorted(p.name for p in (args.resources / "window-icon").iterdir())
        self.assertEqual(files, sorted(f"{s}.rgba" for s in WINDOW_ICON_SIZES))
        for size in WINDOW_ICON_SIZES:
            with self.subTest(size=size):
                _, _, rows = read_png((args.resources / "icons" / f"{size}x{size}" / f"{APP_ID}.png").read_bytes())
                self.assertEqual((args.resources / "window-icon" / f"{size}.rgba").read_bytes(), b"".join(rows))


class Generator(unittest.TestCase):
    def test_committed_files_match_a_fresh_run(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, str(args.generator), "--out", out], check=True)
            fresh = pathlib.Path(out)
            names = (["quorvane.ico"] + [f"icons/{s}x{s}/{APP_ID}.png" for s in PNG_SIZES]
                     + [f"window-icon/{s}.rgba" for s in WINDOW_ICON_SIZES])
            for name in names:
                with self.subTest(file=name):
                    self.assertTrue(filecmp.cmp(fresh / name, args.resources / name, shallow=False),
                                    f"{name} is stale: rerun tools/make-icons.py")


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--resources", type=pathlib.Path, required=True)
    parser.add_argument("--generator", type=pathlib.Path, required=True)
    args, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest])
