#!/usr/bin/env python3
"""Start-up time and memory of Quorvane against a bare Qt window, on a private X server.

Run from anywhere in the checkout (as root, or as a user with sudo for missing packages):

    python3 bench/startup.py                 # defaults: 30 runs each, 10,000 presses and pastes
    python3 bench/startup.py --runs 50 --presses 2000 --pastes 0
    python3 bench/startup.py --no-build      # use what is already built in build/startbench

What it measures
  Start-up: the time from just before exec to the MapNotify of the program's top-level window,
  taken by bench/MapProbe.cpp (map_probe), which watches SubstructureNotify on the root window of
  its own Xvfb with no window manager, on CLOCK_MONOTONIC. Memory: VmHWM (peak resident set) read
  from /proc/PID/status 250 ms after the map. The first expose and paint, with its glyph rendering
  and backing store, come just after the map; the wait lets them finish so the peak includes the
  first frame, and it is short enough that nothing else happens meanwhile (the program is idle
  until it gets input). Each program runs --runs times, interleaved (A B C A B C ...) after two
  unmeasured warm-up runs each, so page cache and fontconfig caches are warm for all of them.

  Programs: quorvane (the real one), bare_window (a bare QWidget of the same fixed 312x289 size
  and title: the baseline for the ratios) and text_window (the bare window plus one QLabel in the
  default font: left out of the ratios, shown to separate what any text costs in the toolkit from
  what the program itself adds). All three are built in one CMake tree with the same flags.

  Endurance: starts quorvane once, reads VmRSS when it is up, types 150 lb, 5 ft, 10 in, moves
  the focus to Command1 and sends --presses presses of Space, then --pastes pastes (ctrl+v) of
  a 1,003-digit text that starts with 150 into the weight box, which keeps 3 characters. Each
  Space is followed by a Shift tap: Qt takes a key release followed within 10 ms by a press of
  the same key for auto-repeat, and an auto-repeated Space does not click a button. Keys go out with xdotool --delay 0
  in batches of --batch (100); after each batch the script copies a box to the clipboard with the
  keyboard and reads it back with xclip, which waits until the program has handled the batch and
  checks the result (22, Desirable; weight back to 150). Without that wait, Qt's event reader
  thread takes every queued key off the X connection at once and holds it until handled, and
  that backlog, not the program, is what VmRSS shows (2,500-key batches: about +2 MiB over
  10,000 presses, +8 MiB over 10,000 pastes, not growing further in a second round). VmRSS is
  reported when up, after the first calculation, after the presses, after the first paste and
  after the pastes. If gdb is installed, a second pass counts the calculations (breakpoint on
  Form1::Command1_Click) and the length cuts (breakpoint on LineEditTextBox::setText) for the
  same numbers of keys; it runs after the memory readings so the debugger does not disturb them.

  The environment is the same for every program: DISPLAY is the private server, XDG_RUNTIME_DIR a
  fresh folder, and DBUS_SESSION_BUS_ADDRESS a socket that does not exist, so the accessibility
  bridge gives up at once instead of forking dbus-launch.

The script reports; it does not fail on the figures. Targets: start-up median at most 1.30 times
the baseline's, peak memory median at most 1.20 times; endurance growth at most a few hundred KiB.
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
PACKAGES = ["cmake", "ninja-build", "g++", "qt6-base-dev", "qt6-qpa-plugins",
            "libbenchmark-dev", "libxcb1-dev", "xvfb", "xdotool", "xclip"]
STARTUP_TARGET = 1.30
MEMORY_TARGET = 1.20
# Starts with the weight typed before, so the figures stay 150 lb, 5 ft, 10 in throughout.
PASTE_TEXT = "150" + "1234567890" * 100


def log(message):
    print(message, file=sys.stderr, flush=True)


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=30, help="measured start-ups of each program (30)")
    parser.add_argument("--settle-ms", type=int, default=250, help="wait after the map before reading VmHWM (250)")
    parser.add_argument("--presses", type=int, default=10_000, help="presses of Command1 in the endurance run (10000)")
    parser.add_argument("--pastes", type=int, default=10_000, help="over-limit pastes into weight (10000)")
    parser.add_argument("--batch", type=int, default=100,
                        help="presses or pastes per xdotool invocation, each batch waited for (100)")
    parser.add_argument("--build-dir", type=Path, default=DEFAULT_BUILD, help="CMake build folder (build/startbench)")
    parser.add_argument("--no-build", action="store_true", help="do not configure or build; expect the programs built")
    parser.add_argument("--no-install", action="store_true", help="do not install missing Debian packages")
    parser.add_argument("--no-verify", action="store_true", help="skip the counting pass under gdb")
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
                 " (map_probe needs libxcb1-dev)")
    for tool in ("Xvfb", "xdotool", "xclip"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is not installed (packages: xvfb xdotool xclip)")
    cache = (build / "CMakeCache.txt").read_text(errors="replace") if (build / "CMakeCache.txt").exists() else ""
    match = re.search(r"^CMAKE_BUILD_TYPE:\w+=(.*)$", cache, re.M)
    return match.group(1) if match else "unknown"


class XServer:
    """Xvfb on a free display number, with no window manager."""

    def __init__(self, work):
        self.work = work
        display_file = work / "display"
        with open(display_file, "w") as out, open(work / "xvfb.log", "w") as err:
            read_end, write_end = os.pipe()
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                pass_fds=(write_end,), stdout=out, stderr=err, start_new_session=True)
            os.close(write_end)
            number = b""
            deadline = time.monotonic() + 15
            while not number.endswith(b"\n") and time.monotonic() < deadline:
                chunk = os.read(read_end, 16)
                if not chunk:
                    break
                number += chunk
            os.close(read_end)
        if not number.strip():
            self.stop()
            sys.exit("Xvfb did not start:\n" + (work / "xvfb.log").read_text())
        self.display = ":" + number.decode().strip()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
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
    return float(fields["map_ms"]), int(fields["vm_hwm_kib"])


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
            out.write("program,run,map_ms,vm_hwm_kib\n")
            for name, values in runs.items():
                for index, (ms, kib) in enumerate(values):
                    out.write(f"{name},{index},{ms:.3f},{kib}\n")
    return runs


def report_startup(runs, args, build_type):
    def stats(values):
        return statistics.median(values), min(values), max(values)

    print()
    print(f"Start-up: exec to MapNotify, {args.runs} runs each, interleaved; peak memory VmHWM "
          f"{args.settle_ms} ms after the map ({build_type} build)")
    print()
    print(f"{'program':<13} {'start-up ms':>8} {'':>7} {'':>7}   {'peak memory KiB':>8} {'':>7} {'':>7}")
    print(f"{'':<13} {'median':>8} {'min':>7} {'max':>7}   {'median':>8} {'min':>7} {'max':>7}")
    medians = {}
    for name, values in runs.items():
        ms = stats([v[0] for v in values])
        kib = stats([v[1] for v in values])
        medians[name] = (ms[0], kib[0])
        print(f"{name:<13} {ms[0]:8.1f} {ms[1]:7.1f} {ms[2]:7.1f}   {kib[0]:8.0f} {kib[1]:7d} {kib[2]:7d}")
    print()
    base = medians["bare_window"]
    own = medians["quorvane"]
    startup_ratio = own[0] / base[0]
    memory_ratio = own[1] / base[1]
    print(f"quorvane / bare_window, median start-up:    {startup_ratio:.2f}  "
          f"(target <= {STARTUP_TARGET:.2f}: {'met' if startup_ratio <= STARTUP_TARGET else 'NOT met'})")
    print(f"quorvane / bare_window, median peak memory: {memory_ratio:.2f}  "
          f"(target <= {MEMORY_TARGET:.2f}: {'met' if memory_ratio <= MEMORY_TARGET else 'NOT met'})")
    text = medians["text_window"]
    print(f"for reference, text_window / bare_window:   {text[0] / base[0]:.2f} start-up, "
          f"{text[1] / base[1]:.2f} peak memory; quorvane / text_window: {own[0] / text[0]:.2f}, "
          f"{own[1] / text[1]:.2f}")


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


class Counter:
    """gdb attached to the program, counting hits of one function until it is stopped."""

    def __init__(self, pid, function, env):
        self.process = subprocess.Popen(
            ["gdb", "-q", "-batch", "-nx", "-p", str(pid),
             "-ex", "set pagination off", "-ex", f"break {function}", "-ex", "ignore 1 100000000",
             "-ex", "continue", "-ex", "info breakpoints", "-ex", "detach"],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, env=env, start_new_session=True)
        self.pid = pid
        # Attached once the program has been stopped by the tracer and runs again.
        deadline = time.monotonic() + 120
        while time.monotonic() < deadline and self.process.poll() is None:
            if self.traced() and self.state() != "t":
                time.sleep(0.5)
                if self.traced() and self.state() != "t":
                    return
            time.sleep(0.2)
        self.process.kill()
        self.process.wait()
        raise RuntimeError("gdb did not attach")

    def traced(self):
        return status_kib(self.pid, "TracerPid") != 0

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def state(self):
        with open(f"/proc/{self.pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0]

    def stop(self):
        self.process.send_signal(signal.SIGINT)
        try:
            output, _ = self.process.communicate(timeout=60)
        finally:
            self.kill()
        match = re.search(r"already hit (\d+) time", output)
        return int(match.group(1)) if match else 0


def count_under_gdb(driver, pid, args, env):
    """Sends the same keys again with gdb counting what they ran; returns (what, counted, sent)."""
    def counted(function, send, count):
        counter = Counter(pid, function, env)
        try:
            send(count)
        finally:
            hits = counter.stop()
        return hits

    counts = []
    try:
        if args.presses:
            counts.append(("calculations", counted("Form1::Command1_Click", driver.press, args.presses),
                           args.presses))
        if args.pastes:
            driver.keys("Tab")
            counts.append(("length cuts", counted("LineEditTextBox::setText", driver.paste, args.pastes),
                           args.pastes))
    except (RuntimeError, subprocess.TimeoutExpired) as error:
        log(f"counting under gdb failed: {error}")
    return counts


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
    counts = []
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

        if not args.no_verify and shutil.which("gdb"):
            counts = count_under_gdb(driver, pid, args, env)
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
    if counts:
        print("counted under gdb in a second pass with the same keys:")
        for label, got, sent in counts:
            print(f"  {label}: {got} for {sent} sent ({'each one ran' if got == sent else 'MISMATCH'})")
    elif args.no_verify:
        print("not counted (--no-verify): the key count is trusted")
    else:
        print("not counted (gdb missing or failed): the key count is trusted")


def main():
    args = parse_args()
    build_type = prepare(args)
    with tempfile.TemporaryDirectory(prefix="quorvane-startup-") as folder:
        work = Path(folder)
        server = XServer(work)
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
