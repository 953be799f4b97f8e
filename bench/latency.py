#!/usr/bin/env python3
"""Times what a click on Calculate BMI shows: from the mouse button's release (sent with XTest)
to the index box painted (XDamage), and to the error box mapped, the first time in a process and
later, each against a bare Qt baseline (bench/ClickWindow.cpp) in the same run, interleaved.

    python3 bench/latency.py [--runs N] [--clicks N] [--no-build]

It builds in build/startbench, as startup.py does, and starts its own Xvfb with no window
manager.
"""

import argparse
import os
import re
import signal
import statistics
import subprocess
import sys
import time
from pathlib import Path

import startup



def design_pixels(name):
    """A control's place in logical pixels, read from the window's one description."""
    design = (Path(__file__).resolve().parent.parent / "ui" / "Form1Design.h").read_text()
    row = re.search(r'Control\{"' + name + r'", Kind::\w+, [^{]*\{(\d+), (\d+), (\d+), (\d+)\}', design)
    per_pixel = int(re.search(r"twipsPerPixel = (\d+);", design).group(1))
    return tuple(int(twips) // per_pixel for twips in row.groups())


COMMAND1 = design_pixels("Command1")
BUTTON = (COMMAND1[0] + COMMAND1[2] // 2, COMMAND1[1] + COMMAND1[3] // 2)  # its centre, in both windows
INDEX_BOX = design_pixels("bdmass")  # and the baseline's box


class Window:
    """A program held on the display by map_probe, with its window id."""

    def __init__(self, build, env, *command):
        self.env = env
        self.held = subprocess.Popen([str(build / "bench" / "map_probe"), "--hold", "--settle-ms", "300", "--",
                                      *map(str, command)], env=env, stdout=subprocess.PIPE, text=True)
        fields = {}
        for line in self.held.stdout:
            key, _, value = line.strip().partition("=")
            fields[key] = value
            if key == "vm_rss_kib":
                break
        if "window" not in fields:
            self.close()
            raise RuntimeError(f"{command[0]} did not come up")
        self.pid, self.id = int(fields["pid"]), fields["window"]

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True, stdout=subprocess.DEVNULL)

    def close(self):
        try:
            os.kill(self.pid, signal.SIGTERM)
        except (ProcessLookupError, AttributeError):
            pass
        self.held.wait(10)


def click(build, env, window, *until):
    result = subprocess.run([str(build / "bench" / "click_probe"), "--window", window.id,
                             "--at", ",".join(map(str, BUTTON)), *until],
                            env=env, capture_output=True, text=True, timeout=30)
    if result.returncode != 0:
        raise RuntimeError(f"click_probe failed ({result.returncode}): {result.stderr.strip()}")
    return startup.read_fields(result.stdout)


def index_clicks(build, env, command, quorvane, clicks):
    window = Window(build, env, *command)
    try:
        times = []
        for n in range(clicks):
            if quorvane:
                # A new weight each time, so that the index changes and is painted again.
                window.xdotool("windowfocus", "--sync", window.id)
                if n == 0:
                    window.xdotool("type", "--delay", "0", "150")
                    window.xdotool("key", "Tab", "5", "Tab", "1", "0")
                else:
                    window.xdotool("key", "Tab")  # from Command1 round to weight, all selected
                    window.xdotool("type", "--delay", "0", str(150 + 10 * (n % 2)))
            times.append(float(click(build, env, window, "--painted", ",".join(map(str, INDEX_BOX)))["ms"]))
            time.sleep(0.1)
        return times
    finally:
        window.close()


def box_clicks(build, env, command, clicks):
    window = Window(build, env, *command)
    try:
        times = []
        for _ in range(clicks):
            fields = click(build, env, window, "--mapped")
            times.append(float(fields["ms"]))
            time.sleep(0.1)
            window.xdotool("windowfocus", "--sync", fields["window"])
            window.xdotool("key", "Escape")
            time.sleep(0.2)
        return times
    finally:
        window.close()


def summary(values):
    return f"{statistics.median(values):7.2f} {min(values):7.2f} {max(values):7.2f}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=10, help="processes of each program for each measure (10)")
    parser.add_argument("--clicks", type=int, default=5, help="clicks in each process: the first and later (5)")
    parser.add_argument("--build-dir", type=Path, default=startup.DEFAULT_BUILD)
    parser.add_argument("--no-build", action="store_true", help="expect the programs built")
    args = parser.parse_args()
    build = args.build_dir
    if not args.no_build:
        subprocess.run(["cmake", "-S", str(startup.ROOT), "-B", str(build), "-G", "Ninja",
                        "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DBUILD_TESTING=OFF"], check=True,
                       stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", str(build), "--target", "quorvane", "click_window", "click_probe",
                        "map_probe"], check=True, stdout=sys.stderr)

    work = Path(os.environ.get("TMPDIR", "/tmp")) / f"latency-{os.getpid()}"
    work.mkdir()
    server = startup.XServer()
    env = startup.environment(server.display, work)
    quorvane, baseline = build / "app" / "quorvane", build / "bench" / "click_window"
    measures = {
        ("click to index painted", "quorvane"): lambda: index_clicks(build, env, [quorvane], True, args.clicks),
        ("click to index painted", "baseline"): lambda: index_clicks(build, env, [baseline, "index"], False,
                                                                     args.clicks),
        ("click to error box mapped", "quorvane"): lambda: box_clicks(build, env, [quorvane], args.clicks),
        ("click to error box mapped", "baseline"): lambda: box_clicks(build, env, [baseline, "box"], args.clicks),
    }
    results = {key: ([], []) for key in measures}
    try:
        for run in range(args.runs):
            for key, measure in measures.items():
                times = measure()
                results[key][0].append(times[0])
                results[key][1].extend(times[1:])
            print(f"  run {run + 1}/{args.runs}", file=sys.stderr)
    finally:
        server.stop()

    print(f"{args.runs} processes each, {args.clicks} clicks in each; ms from the button's release")
    print(f"{'measure':28} {'program':9} {'clicks':7} {'median':>7} {'least':>7} {'most':>7}")
    for (what, program), (first, later) in results.items():
        print(f"{what:28} {program:9} {'first':7} {summary(first)}")
        if later:
            print(f"{'':28} {program:9} {'later':7} {summary(later)}")


if __name__ == "__main__":
    main()
