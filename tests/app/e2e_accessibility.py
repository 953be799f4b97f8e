#!/usr/bin/env python3
"""Uses the program as a person would: real key presses and clicks through the X server
(xdotool), with everything read back over the accessibility bus (AT-SPI).

Run it under an X display and a D-Bus session bus; run_e2e.sh provides both."""

import argparse
import os
import re
import subprocess
import sys
import time
from pathlib import Path

import pyatspi
from gi.repository import GLib

WAIT_SECONDS = 10
POLL_SECONDS = 0.05



def designed_names():
    """The boxes' screen-reader names, read from the window's one description."""
    design = (Path(__file__).resolve().parent.parent.parent / "ui" / "Form1Design.h").read_text()
    return dict(re.findall(r'Control\{"(\w+)", Kind::TextBox, u"", \{[^}]*\}, \d+, u"([^"]+)"', design))


NAMES = designed_names()
WEIGHT = NAMES["weight"]
FEET = NAMES["heightf"]
INCHES = NAMES["ft"]
INDEX = NAMES["bdmass"]
CATEGORY = NAMES["nutrition"]
BOXES = (WEIGHT, FEET, INCHES, INDEX, CATEGORY)

WINDOW_TITLE = "Calculate BMI"
# The sizes the program hands the window manager: those title and task bars draw.
WINDOW_ICON_SIZES = [16, 32, 48, 64]
BUTTON = "Calculate BMI"
MESSAGE_TITLE = "Quorvane"
INVALID_DATA = "Invalid data.  Please check and re-enter!"

# Keys are typed starting in the weight box; a word is a key name, anything else is typed. Last,
# what a screen reader is told of the result: the name of a notification that appears.
CALCULATIONS = [
    ("150 lb at 5 ft 10 in", "150 Tab 5 Tab 10",
     {WEIGHT: "150", FEET: "5", INCHES: "10", INDEX: "22", CATEGORY: "Desirable"},
     "Body Mass Index 22, category Desirable"),
    ("inches above eleven are carried into the feet", "180 Tab 5 Tab 14",
     {WEIGHT: "180", FEET: "6", INCHES: "2", INDEX: "23", CATEGORY: "Desirable"},
     "Height now 6 feet 2 inches. Body Mass Index 23, category Desirable"),
]
ICON_NAME = "Critical"

# What a screen reader hears of: a notification appearing, the focus, and the caret and
# selection, which it takes for a silent focus move when they come before the focus.
EVENTS = ("object:state-changed:showing", "object:state-changed:focused",
          "object:text-caret-moved", "object:text-selection-changed")

# Typing past a box's limit keeps the first characters.
LENGTH_LIMITS = [
    (WEIGHT, "1500", "150"),
    (FEET, "56", "5"),
    (INCHES, "123", "12"),
]


class Failure(Exception):
    pass


def pump_events():
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def wait_for(what, probe, show=None, timeout=WAIT_SECONDS):
    """Polls probe() until it returns something true; show() tells what was seen instead."""
    deadline = time.monotonic() + timeout
    while True:
        pump_events()
        try:
            result = probe()
            if result:
                return result
            seen = show() if show else result
        except Failure:
            raise
        except Exception as error:  # an object can vanish between two calls on the bus
            seen = f"{type(error).__name__}: {error}"
        if time.monotonic() >= deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}; seen: {seen!r}")
        time.sleep(POLL_SECONDS)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=WAIT_SECONDS)


def press(keys):
    for word in keys.split():
        if word.isdigit():
            xdotool("type", "--delay", "20", word)
        else:
            xdotool("key", word)


def click(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if box.width <= 0 or box.height <= 0:
        raise Failure(f"{accessible.name!r} has no area on screen: {box}")
    xdotool("mousemove", "--sync", str(box.x + box.width // 2), str(box.y + box.height // 2),
            "click", "1")


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


def has_state(accessible, state):
    return accessible.getState().contains(state)


def children(accessible):
    accessible.clear_cache()
    return [child for child in accessible if child is not None]


def descendants(accessible, depth=6):
    for child in children(accessible):
        yield child
        if depth > 1:
            yield from descendants(child, depth - 1)


def find_application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for application in children(desktop):
        if application.get_process_id() == pid:
            return application
    return None


def top_windows(application):
    return [window for window in children(application) if has_state(window, pyatspi.STATE_SHOWING)]


class EventLog:
    """The events of EVENTS from the program, in order: (type, detail1, role, name) each."""

    def __init__(self, pid):
        self.pid = pid
        self.events = []
        pyatspi.Registry.registerEventListener(self._record, *EVENTS)

    def _record(self, event):
        try:
            source = event.source
            if source.get_process_id() == self.pid:
                self.events.append((event.type, event.detail1, source.getRole(), source.name))
        except Exception:  # the source can be gone by now
            pass

    def clear(self):
        pump_events()
        self.events.clear()

    def shown_notifications(self):
        return [name for kind, detail, role, name in self.events
                if kind == EVENTS[0] and detail == 1 and role == pyatspi.ROLE_NOTIFICATION]


class Window:
    def __init__(self, application):
        self.application = application
        self.frame = wait_for(f"the window {WINDOW_TITLE!r}", self._find_frame)
        self.boxes = wait_for("the five boxes by accessible name", self._find_boxes)
        self.button = wait_for(f"the button {BUTTON!r}", self._find_button)

    def _find_frame(self):
        return next((w for w in top_windows(self.application) if w.name == WINDOW_TITLE), None)

    def _find_boxes(self):
        found = {}
        for child in descendants(self.frame):
            if child.getRole() == pyatspi.ROLE_TEXT and child.name in BOXES:
                if child.name in found:
                    raise Failure(f"two boxes are named {child.name!r}")
                found[child.name] = child
        return found if len(found) == len(BOXES) else None

    def _find_button(self):
        return next((c for c in descendants(self.frame)
                     if c.getRole() == pyatspi.ROLE_PUSH_BUTTON and c.name == BUTTON), None)

    def texts(self, names=BOXES):
        return {name: text_of(self.boxes[name]) for name in names}

    def expect(self, what, expected):
        wait_for(f"{what} to read {expected}", lambda: self.texts(expected) == expected,
                 show=lambda: self.texts(expected))

    def focus(self, name):
        click(self.boxes[name])
        wait_for(f"{name!r} to have the focus", lambda: has_state(self.boxes[name], pyatspi.STATE_FOCUSED))

    def clear(self, names=BOXES):
        for name in names:
            self.focus(name)
            press("ctrl+a BackSpace")
        self.expect(f"{', '.join(names)} cleared", {name: "" for name in names})


def message_box(application):
    for window in top_windows(application):
        if window.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT):
            texts = [c.name for c in descendants(window)] + [window.description]
            return window, texts
    return None


def give_focus(pid):
    """Does what a window manager does for a new window: gives it the keyboard focus."""
    def search():
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid),
                                "--name", f"^{WINDOW_TITLE}$"],
                               capture_output=True, text=True, timeout=WAIT_SECONDS)
        return found.stdout.split()
    windows = wait_for(f"the X window {WINDOW_TITLE!r}", search)
    if len(windows) != 1:
        raise Failure(f"expected one X window {WINDOW_TITLE!r}, found {windows}")
    xdotool("windowfocus", "--sync", windows[0])
    return windows[0]


def check_window_icon(window_id):
    """The icon handed to the window manager: every carried size, none of them empty."""
    shown = subprocess.run(["xprop", "-id", window_id, "_NET_WM_ICON"],
                           capture_output=True, text=True, timeout=WAIT_SECONDS).stdout
    sizes = sorted(int(width) for width, height in re.findall(r"Icon \((\d+) x (\d+)\)", shown) if width == height)
    if sizes != WINDOW_ICON_SIZES:
        raise Failure(f"window icon sizes {sizes}, expected {WINDOW_ICON_SIZES}")
    print(f"ok - window icon at {sizes}")


def check_start(window):
    if window.frame.getRole() != pyatspi.ROLE_FRAME:
        raise Failure(f"the window is a {window.frame.getRoleName()!r}, not a frame")
    print(f"ok - the window is a frame named {window.frame.name!r}")
    window.expect("all boxes empty at start", {name: "" for name in BOXES})
    wait_for("the focus in the weight box at start",
             lambda: has_state(window.boxes[WEIGHT], pyatspi.STATE_FOCUSED))


def check_tab_into_empty_box(window, log):
    log.clear()
    press("Tab")
    focused = (EVENTS[1], 1, pyatspi.ROLE_TEXT, FEET)
    wait_for(f"a focus event for {FEET!r}", lambda: focused in log.events, show=lambda: log.events)
    told = [event for event in log.events if event[3] == FEET]
    if told[0] != focused:
        raise Failure(f"Tab into {FEET!r} told {told[0]} before the focus")
    press("shift+Tab")
    wait_for("the focus back in the weight box", lambda: has_state(window.boxes[WEIGHT], pyatspi.STATE_FOCUSED))
    print(f"ok - Tab into the empty {FEET!r} tells the focus first")


def check_read_whole(window):
    """One attribute run over each box's text, and no question at its end left unanswered."""
    for name, box in window.boxes.items():
        text = box.queryText()
        count = text.characterCount
        for offset in range(count):
            run = tuple(text.getAttributes(offset)[1:])
            if run != (0, count):
                raise Failure(f"{name!r}: attribute run at {offset} is {run}, expected (0, {count})")
        for boundary in (pyatspi.TEXT_BOUNDARY_CHAR, pyatspi.TEXT_BOUNDARY_WORD_START,
                         pyatspi.TEXT_BOUNDARY_SENTENCE_START, pyatspi.TEXT_BOUNDARY_LINE_START):
            text.getTextAtOffset(count, boundary)
            text.getTextAfterOffset(count, boundary)
    print("ok - every box is one attribute run, and text queries at its end return")


def check_explanation_read_only(window):
    """The sentence above the category, as it reads when the window is made: no client edits it."""
    shown = next((c for c in descendants(window.frame) if c.getRole() == pyatspi.ROLE_TEXT
                  and text_of(c).startswith("According to")), None)
    if shown is None:
        raise Failure("no text reads the sentence")
    sentence = text_of(shown)
    editable = shown.queryEditableText()
    editable.setTextContents("")
    editable.deleteText(0, 10)
    editable.insertText(0, "x", 1)
    if text_of(shown) != sentence:
        raise Failure(f"a client changed the sentence to {text_of(shown)!r}")
    print("ok - the sentence is read-only to clients")


def check_calculations(window, log):
    for index, (what, keys, expected, announced) in enumerate(CALCULATIONS):
        if index > 0:
            window.clear()
            window.focus(WEIGHT)
        press(keys)
        typed = {name: text for name, text in zip((WEIGHT, FEET, INCHES), keys.split()[::2])}
        window.expect(f"{what}: typed values", typed)
        log.clear()
        click(window.button)
        window.expect(f"{what}: after Calculate BMI", expected)
        wait_for(f"{what}: the notification {announced!r}", lambda: announced in log.shown_notifications(),
                 show=log.shown_notifications)
        print(f"ok - {what}: {window.texts()}, announced {announced!r}")
        check_read_whole(window)


def check_length_limits(window):
    for name, typed, kept in LENGTH_LIMITS:
        window.clear([name])
        press(typed)
        window.expect(f"typing {typed!r} into {name!r}", {name: kept})
        print(f"ok - typing {typed!r} into {name!r} keeps {kept!r}")


def check_invalid_data(window, application, process):
    window.clear([WEIGHT])
    click(window.button)
    dialog, texts = wait_for("the message box", lambda: message_box(application))
    if dialog.name != MESSAGE_TITLE:
        raise Failure(f"message box titled {dialog.name!r}, expected {MESSAGE_TITLE!r}")
    if INVALID_DATA not in texts:
        raise Failure(f"message box says {texts!r}, expected {INVALID_DATA!r}")
    if not has_state(dialog, pyatspi.STATE_MODAL):
        raise Failure("the message box does not tell that it is modal")
    if ICON_NAME not in texts:
        raise Failure(f"the message box icon is not named {ICON_NAME!r}: {texts!r}")
    ok = next((c for c in descendants(dialog)
               if c.getRole() == pyatspi.ROLE_PUSH_BUTTON and c.name == "OK"), None)
    if ok is None:
        raise Failure("message box has no OK button")
    wait_for("the OK button to have the focus", lambda: has_state(ok, pyatspi.STATE_FOCUSED))
    print(f"ok - empty weight: {dialog.getRoleName()} {dialog.name!r} says {INVALID_DATA!r}")

    press("Return")
    wait_for("the message box to close", lambda: message_box(application) is None)
    if process.poll() is not None:
        raise Failure(f"the program exited with {process.returncode} after the message box")
    wait_for(f"the window {WINDOW_TITLE!r} still showing",
             lambda: any(w.name == WINDOW_TITLE for w in top_windows(application)))
    window.expect("the boxes after the message box", {WEIGHT: "", INDEX: "23", CATEGORY: "Desirable"})
    print("ok - Enter closes the message box and the window stays")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("program")
    args = parser.parse_args()

    environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    process = subprocess.Popen([args.program], env=environment)

    def running_application():
        if process.poll() is not None:
            raise Failure(f"the program exited with {process.returncode}")
        return find_application(process.pid)

    try:
        application = wait_for("the program on the accessibility bus", running_application)
        window = Window(application)
        log = EventLog(process.pid)
        check_window_icon(give_focus(process.pid))
        check_start(window)
        check_explanation_read_only(window)
        check_tab_into_empty_box(window, log)
        check_calculations(window, log)
        check_length_limits(window)
        check_invalid_data(window, application, process)
    except Failure as failure:
        print(f"FAIL - {failure}", file=sys.stderr)
        return 1
    finally:
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait(timeout=5)
    return 0


if __name__ == "__main__":
    sys.exit(main())
