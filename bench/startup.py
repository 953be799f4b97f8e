#!/usr/bin/env python3
"""Start-up time and memory of Quorvane against a bare Qt window, on a private X server, then
memory over 10,000 calculations and 10,000 over-long pastes in one running window.

    python3 bench/startup.py [--runs N] [--presses N] [--pastes N] [--no-build]

Start-up is exec to the window's first paint, the first DAMAGE report after its MapNotify
(bench/MapProbe.cpp); memory is VmHWM 250 ms after that paint. Runs are interleaved after two warm-ups each. Each
Space is followed by a Shift tap (Qt takes a release followed within 10 ms by a press as
auto-repeat, which does not click), and keys go in batches checked through the clipboard, so
that the X connection's backlog is not what VmRSS shows. It reports; it does not fail.
"""

import argparse
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DEFAULT_BUILD = ROOT / "build" / "startbench"
PACKAGES = ["cmake", "ninja-build", "g++", "qt6-base-dev", "qt6-qpa-plugins", "pkg-config",
            "libwayland-dev", "libbenchmark-dev", "libxcb1-dev", "libxcb-damage0-dev", "xvfb", "xdotool", "xclip"]
# First paint against the one-label window, the least any window with text costs; memory against
# the bare window.
STARTUP_TARGET = 1.05
MEMORY_TARGET = 1.20
# Starts with the weight typed before, so the figures stay 150 lb, 5 ft, 10 in throughout.
PASTE_TEXT = "150" + "1234567890" * 100


def log(message):
    print(message, file=sys.stderr, flush=True)


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=30, help="measured start-ups of each program (30)")
    parser.add_argument("--settle-ms", type=int, default=250, help="wait after the first paint before reading VmHWM (250)")
    parser.add_argument("--presses", type=int, default=10_000, help="presses of Command1 in the endurance run (10000)")
    parser.add_argument("--pastes", type=int, default=10_000, help="over-limit pastes into weight (10000)")
    parser.add_argument("--batch", type=int, default=100,
                        help="presses or pastes per xdotool invocation, each batch waited for (100)")
    parser.add_argument("--build-dir", type=Path, default=DEFAULT_BUILD, help="CMake build folder (build/startbench)")
    parser.add_argument("--no-build", action="store_true", help="do not configure or build; expect the programs built")
    parser.add_argument("--no-install", action="store_true", help="do not install missing Debian packages")
    parser.add_argument("--skip-endurance", action="store_true", help="start-up table only")
    parser.add_argument("--raw", type=Path, help="also write every start-up run to this CSV file")
    return parser.parse_args()


def programs(build):
    return {
        "quorvane": build / "app" / "quorvane",
        "bare_window": build / "bench" / "bare_window",
        "text_window": build / "bench" / "text_window",
    }


def prepare(args):
    if not args.no_install:
        subprocess.run([str(ROOT / "tools" / "install-packages.sh"), *PACKAGES], check=True)
    build = args.build_dir
    if not args.no_build:
        log(f"Building in {build} (RelWithDebInfo)")
        subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja",
                        "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DBUILD_TESTING=OFF"], check=True, stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", str(build), "--target",
                        "quorvane", "bare_window", "text_window", "map_probe"], check=True, stdout=sys.stderr)
    needed = [*programs(build).values(), build / "bench" / "map_probe"]
    missing = [str(path) for path in needed if not os.access(path, os.X_OK)]
    if missing:
        sys.exit("Not built: " + ", ".join(missing) + "\nBuild them with: cmake -S . -B " + str(build) +
                 " -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo && cmake --build " + str(build) +
                 " --target quorvane bare_window text_window map_probe"
                 " (map_probe needs libxcb1-dev and libxcb-damage0-dev)")
    for tool in ("Xvfb", "xdotool", "xclip"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is not installed (packages: xvfb xdotool xclip)")
    cache = (build / "CMakeCache.txt").read_text(errors="replace") if (build / "CMakeCache.txt").exists() else ""
    match = re.search(r"^CMAKE_BUILD_TYPE:\w+=(.*)$", cache, re.M)
    return match.group(1) if match else "unknown"


class XServer:
    """Xvfb on a free display number, with no window manager (tools/with-xvfb). The server lasts
    until stop(), or until this process ends and with it the pipe that holds the server up."""

    def __init__(self):
        self.process = subprocess.Popen(
            [str(ROOT / "tools" / "with-xvfb"), "sh", "-c", 'echo "$DISPLAY" && exec cat >/dev/null'],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.display = self.process.stdout.readline().strip()
        if not self.display:
            self.stop()
            sys.exit("Xvfb did not start")

    def stop(self):
        self.process.stdin.close()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def environment(display, work):
    env = {key: value for key, value in os.environ.items()
           if not key.startswith(("QT_", "WAYLAND_", "DBUS_", "AT_SPI", "XDG_SESSION", "XDG_CURRENT"))}
    runtime = work / "runtime"
    runtime.mkdir(mode=0o700, exist_ok=True)
    env.update(DISPLAY=display, XDG_RUNTIME_DIR=str(runtime),
               DBUS_SESSION_BUS_ADDRESS=f"unix:path={work / 'no-session-bus'}")
    return env


def read_fields(text):
    return dict(line.split("=", 1) for line in text.splitlines() if "=" in line)


def probe_once(probe, program, env, settle_ms):
    result = subprocess.run([str(probe), "--settle-ms", str(settle_ms), "--", str(program)],
                            env=env, capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        raise RuntimeError(f"map_probe {program.name} failed ({result.returncode}): {result.stderr.strip()}")
    fields = read_fields(result.stdout)
    return float(fields["paint_ms"]), int(fields["vm_hwm_kib"]), float(fields["map_ms"])


def startup(args, build, env):
    probe = build / "bench" / "map_probe"
    progs = programs(build)
    log(f"Warming up, then {args.runs} interleaved runs of each of {', '.join(progs)}")
    for _ in range(2):
        for program in progs.values():
            probe_once(probe, program, env, args.settle_ms)
    runs = {name: [] for name in progs}
    for index in range(args.runs):
        for name, program in progs.items():
            runs[name].append(probe_once(probe, program, env, args.settle_ms))
        if (index + 1) % 10 == 0:
            log(f"  {index + 1}/{args.runs}")
    if args.raw:
        with open(args.raw, "w") as out:
            out.write("program,run,paint_ms,vm_hwm_kib,map_ms\n")
            for name, values in runs.items():
                for index, (ms, kib, map_ms) in enumerate(values):
                    out.write(f"{name},{index},{ms:.3f},{kib},{map_ms:.3f}\n")
    return runs


def report_startup(runs, args, build_type):
    def stats(values):
        return statistics.median(values), min(values), max(values)

    print()
    print(f"Start-up: exec to the first paint (and to the map), {args.runs} runs each, interleaved; peak memory "
          f"VmHWM {args.settle_ms} ms after the paint ({build_type} build)")
    print()
    print(f"{'program':<13} {'first paint ms':>23}   {'map ms':>6}   {'peak memory KiB':>24}")
    print(f"{'':<13} {'median':>7} {'min':>7} {'max':>7}   {'median':>6}   {'median':>8} {'min':>7} {'max':>7}")
    medians = {}
    for name, values in runs.items():
        ms = stats([v[0] for v in values])
        kib = stats([v[1] for v in values])
        map_ms = statistics.median(v[2] for v in values)
        medians[name] = (ms[0], kib[0])
        print(f"{name:<13} {ms[0]:7.1f} {ms[1]:7.1f} {ms[2]:7.1f}   {map_ms:6.1f}   "
              f"{kib[0]:8.0f} {kib[1]:7d} {kib[2]:7d}")
    print()
    own, bare, text = medians["quorvane"], medians["bare_window"], medians["text_window"]
    startup_ratio = own[0] / text[0]
    memory_ratio = own[1] / bare[1]
    print(f"quorvane / text_window, median first paint: {startup_ratio:.2f}  "
          f"(target <= {STARTUP_TARGET:.2f}: {'met' if startup_ratio <= STARTUP_TARGET else 'NOT met'})")
    print(f"quorvane / bare_window, median peak memory: {memory_ratio:.2f}  "
          f"(target <= {MEMORY_TARGET:.2f}: {'met' if memory_ratio <= MEMORY_TARGET else 'NOT met'})")
    print(f"for reference: quorvane / bare_window first paint {own[0] / bare[0]:.2f}, quorvane / text_window "
          f"memory {own[1] / text[1]:.2f}; text_window / bare_window {text[0] / bare[0]:.2f} first paint, "
          f"{text[1] / bare[1]:.2f} memory")


class Driver:
    """Real key presses into the program's window, and reading its boxes back through the clipboard."""

    def __init__(self, env, window, batch):
        self.env = env
        self.window = window
        self.batch = batch

    def xdotool(self, *arguments):
        subprocess.run(["xdotool", *arguments], env=self.env, check=True, timeout=600)

    def keys(self, *names):
        self.xdotool("key", "--delay", "0", *names)

    def own_clipboard(self, text):
        # xclip goes to the background by itself and serves the text until another client takes
        # the clipboard.
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=text, text=True, env=self.env,
                       check=True, timeout=10)

    def clipboard(self):
        result = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.env,
                                capture_output=True, text=True, timeout=10)
        return result.stdout if result.returncode == 0 else None

    def copy_box(self, *moves, replacing=None, timeout=300):
        """Moves the focus, copies the box's whole text, waits until the clipboard holds it.

        The clipboard first gets a marker, unless the caller names what it holds now (a marker
        would be what the next paste pastes)."""
        marker = replacing
        if marker is None:
            marker = f"marker-{time.monotonic_ns()}"
            self.own_clipboard(marker)
        self.keys(*moves, "ctrl+a", "ctrl+c")
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            text = self.clipboard()
            if text is not None and text != marker:
                return text
            time.sleep(0.02)
        raise RuntimeError("the program did not answer within the time limit")

    def press(self, count):
        """Presses Command1 (which has the focus) count times; returns the index and category shown.

        After each batch the index box is copied, which waits until the program has handled the
        batch, and the focus goes back to Command1."""
        index = None
        for start in range(0, count, self.batch):
            self.keys(*["space", "shift"] * min(self.batch, count - start))
            index = self.copy_box("shift+Tab", "shift+Tab")
            self.keys("Tab", "Tab")
        category = self.copy_box("shift+Tab")
        self.keys("Tab")
        return index, category

    def paste(self, count):
        """Pastes the long text into weight (which has the focus) count times; returns its text."""
        weight = None
        for start in range(0, count, self.batch):
            self.own_clipboard(PASTE_TEXT)
            self.keys(*["ctrl+v"] * min(self.batch, count - start))
            weight = self.copy_box(replacing=PASTE_TEXT)
        return weight


def status_kib(pid, field):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    raise RuntimeError(f"{field} not in /proc/{pid}/status")


def endurance(args, build, env):
    probe = build / "bench" / "map_probe"
    print()
    print(f"Endurance: one quorvane, {args.presses} presses of Command1 and {args.pastes} over-limit pastes "
          f"into weight, in batches of {args.batch} keys")
    held = subprocess.Popen([str(probe), "--hold", "--settle-ms", "500", "--", str(programs(build)["quorvane"])],
                            env=env, stdout=subprocess.PIPE, text=True)
    fields = {}
    for line in held.stdout:
        key, _, value = line.strip().partition("=")
        fields[key] = value
        if key == "vm_rss_kib":
            break
    if "vm_rss_kib" not in fields:
        held.wait(10)
        raise RuntimeError("quorvane did not come up")
    pid = int(fields["pid"])
    def memory():
        return status_kib(pid, "VmRSS"), status_kib(pid, "RssAnon")

    rows = [("when up", *memory())]
    try:
        driver = Driver(env, fields["window"], args.batch)
        driver.xdotool("windowfocus", "--sync", fields["window"])
        driver.xdotool("type", "--delay", "0", "150")
        driver.keys("Tab", "5", "Tab", "1", "0", "Tab", "Tab", "Tab")
        index, category = driver.press(1)
        time.sleep(0.3)
        rows.append((f"after the first calculation ({index} {category})", *memory()))

        if args.presses:
            started = time.monotonic()
            index, category = driver.press(args.presses)
            took = time.monotonic() - started
            time.sleep(0.3)
            rows.append((f"after {args.presses} more presses, {took:.1f} s ({index} {category})", *memory()))
        if args.pastes:
            driver.keys("Tab")  # from Command1 round to weight
            weight = driver.paste(1)
            time.sleep(0.3)
            rows.append((f"after the first paste (weight {weight})", *memory()))
            started = time.monotonic()
            weight = driver.paste(args.pastes)
            took = time.monotonic() - started
            time.sleep(0.3)
            rows.append((f"after {args.pastes} more pastes, {took:.1f} s (weight {weight})", *memory()))
            driver.keys(*["Tab"] * 5)  # from weight on to Command1
        hwm = status_kib(pid, "VmHWM")

        alive = held.poll() is None and Path(f"/proc/{pid}").exists()
    finally:
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        try:
            held.wait(10)
        except subprocess.TimeoutExpired:
            for kill in (lambda: os.kill(pid, signal.SIGKILL), held.kill):
                try:
                    kill()
                except ProcessLookupError:
                    pass
            held.wait()

    print()
    # RssAnon is the program's own memory (heap and other private pages); VmRSS adds the pages of
    # code and fonts it has touched, which are shared and come once.
    print(f"{'VmRSS KiB':>10} {'change':>7} {'RssAnon KiB':>12} {'change':>7}   moment")
    previous, previous_anon = rows[0][1], rows[0][2]
    for label, kib, anon in rows:
        print(f"{kib:10d} {kib - previous:+7d} {anon:12d} {anon - previous_anon:+7d}   {label}")
        previous, previous_anon = kib, anon
    print(f"VmHWM at the end of the measured run: {hwm} KiB; program still running after all: "
          f"{'yes' if alive else 'NO'}")
    # The first calculation and the first paste allocate once (glyphs of the results, the clipboard's
    # machinery); what the repeated ones add is the growth that matters.
    total = rows[-1][1] - rows[0][1]
    total_anon = rows[-1][2] - rows[0][2]
    repeated = sum(row[1] - before[1] for before, row in zip(rows, rows[1:]) if " more " in row[0])
    print(f"growth: {total:+d} KiB from when up to the end; {repeated:+d} KiB over the repeated presses and "
          f"pastes after the first of each (target: a few hundred KiB at most: "
          f"{'met' if total <= 512 else 'NOT met'} from when up, {'met' if repeated <= 512 else 'NOT met'} "
          f"over the repeated ones); own memory (RssAnon) {total_anon:+d} KiB from when up")


def main():
    args = parse_args()
    build_type = prepare(args)
    with tempfile.TemporaryDirectory(prefix="quorvane-startup-") as folder:
        work = Path(folder)
        server = XServer()
        try:
            env = environment(server.display, work)
            log(f"Xvfb on {server.display}")
            runs = startup(args, args.build_dir, env)
            report_startup(runs, args, build_type)
            if not args.skip_endurance:
                endurance(args, args.build_dir, env)
        finally:
            # xclip serves from the background until the server goes away.
            server.stop()


if __name__ == "__main__":
    main()
