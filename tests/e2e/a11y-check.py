#!/usr/bin/python3
"""Plays Vexel through its accessibility tree, as a screen reader sees it.

Started by run-a11y.sh inside a private D-Bus session, with the program
running under Xvfb with accessibility on. Finds the board and its 121 holes,
walks the keyboard cursor with the arrow keys and checks the focus events'
names, makes one human move with the keyboard and reads the computer's answer
from the tree alone. Every wait polls with a deadline; nothing sleeps blind.
"""
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

HUMAN, COMPUTER = "Anna", "Mimsel"
ROW_LENGTHS = [1, 2, 3, 4, 13, 12, 11, 10, 9, 10, 11, 12, 13, 4, 3, 2, 1]
HOLE_NAMES = [chr(ord("A") + r) + str(j + 1) for r, n in enumerate(ROW_LENGTHS) for j in range(n)]

focus_names = []
announced = []


def fail(message):
    print("a11y: " + message)
    print("a11y: announced %s" % announced[-8:])
    sys.exit(1)


def pump(seconds):
    """Runs the event loop for up to `seconds`, so that events arrive."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        if not context.iteration(False):
            time.sleep(0.01)


def wait_for(what, test, timeout=15.0):
    end = time.monotonic() + timeout
    while True:
        value = test()
        if value:
            return value
        if time.monotonic() > end:
            fail("timed out waiting for " + what)
        pump(0.05)


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "60", *keys], check=True)


def name(acc):
    try:
        return acc.get_name() or ""
    except GLib.Error:
        return ""


def find(acc, test, depth=0):
    if test(acc):
        return acc
    if depth > 12:
        return None
    try:
        count = acc.get_child_count()
    except GLib.Error:
        return None
    # The board's holes are no containers: skip their 121 lookups.
    if acc.get_role() == Atspi.Role.LIST and count == 121:
        return None
    for i in range(count):
        child = acc.get_child_at_index(i)
        if child is not None:
            hit = find(child, test, depth + 1)
            if hit is not None:
                return hit
    return None


def vexel_app():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and find(app, lambda a: a.get_role() == Atspi.Role.FRAME and name(a) == "Vexel"):
            return app
    return None


def on_event(event):
    if event.type.startswith("object:property-change:accessible-name"):
        if event.source.get_role() == Atspi.Role.NOTIFICATION:
            announced.append(name(event.source))
    elif event.detail1:
        focus_names.append(name(event.source))


def main():
    Atspi.init()
    listener = Atspi.EventListener.new(on_event)
    listener.register("object:state-changed:focused")
    listener.register("object:property-change:accessible-name")

    app = wait_for("the program in the accessibility tree", vexel_app, 20)
    board = wait_for("the board", lambda: find(app, lambda a: a.get_role() == Atspi.Role.LIST and a.get_child_count() == 121))
    announcer = wait_for("the announcer", lambda: find(app, lambda a: a.get_role() == Atspi.Role.NOTIFICATION))
    print("board: %s, %d holes" % (name(board), board.get_child_count()))

    def hole(i):
        return name(board.get_child_at_index(i))

    # The title picture before a game: every hole named, a peg on the centre.
    names = [hole(i) for i in range(121)]
    wrong = [(i, n) for i, n in enumerate(names) if not n.startswith(HOLE_NAMES[i] + ", ")]
    if wrong:
        fail("holes misnamed: %s" % wrong[:5])
    if names[60] != "I5, gelber Stein" or names[0] != "A1, leer":
        fail("title picture named %r, %r" % (names[60], names[0]))

    # A new game from the menu: "&Spiel", "&Neues Spiel".
    key("alt+s")
    pump(0.3)
    key("n")
    # The first move is the human's or the computer's, whoever the game picks.
    wait_for("the human's turn", lambda: HUMAN + " ist am Zug" in name(announcer), 30)
    print("announced: " + name(announcer))
    if not announced:
        fail("the announcer changed its name without telling")
    pegs = sum(1 for i in range(121) if " Stein von " in hole(i))
    if pegs != 30:
        fail("%d pegs named in a game of two seats with 15 pegs each" % pegs)

    # The first key shows the cursor on the centre. Should the program not have
    # heard of the listener yet, Space brings the focus once more.
    focus_names.clear()
    key("Up")
    end = time.monotonic() + 15
    while "I5, leer" not in focus_names:
        if time.monotonic() > end:
            fail("no focus on the cursor's hole; focus events: %s" % focus_names)
        pump(0.5)
        if "I5, leer" not in focus_names:
            key("space")

    # Up walks straight up in a zigzag until it meets one of Anna's pegs.
    walked = ["I5"]
    while True:
        focus_names.clear()
        key("Up")
        got = wait_for("a focus event after Up", lambda: list(focus_names))
        walked.append(got[-1].split(",")[0])
        if got[-1].endswith("von " + HUMAN):
            break
        if not got[-1].endswith(", leer") or len(walked) > 8:
            fail("the cursor walked %s, last %r" % (walked, got[-1]))
    print("cursor walked: " + " ".join(walked))
    expected_walk = ["I5", "H6", "G6", "F7", "E7"]
    if walked != expected_walk[: len(walked)]:
        fail("the cursor walked %s, not along %s" % (walked, expected_walk))
    peg, target = walked[-1], walked[-2]

    # Space selects the peg; its hole is marked.
    focus_names.clear()
    key("space")
    selected = board.get_child_at_index(HOLE_NAMES.index(peg))
    wait_for("the peg's hole marked", lambda: selected.get_state_set().contains(Atspi.StateType.SELECTED))
    # Down goes back to the empty hole, Enter makes the step.
    focus_names.clear()
    key("Down")
    wait_for("focus back on " + target, lambda: any(n.startswith(target + ", leer") for n in focus_names))
    key("Return")
    own = "%s: %s nach %s" % (HUMAN, peg, target)
    # The move is told while its hop is shown (the human's speed is the slowest).
    wait_for("the human's move told", lambda: announcer.get_description() == own)
    print("announced: " + own)

    # The computer answers; its move is read from the tree alone.
    def computer_move():
        last = announcer.get_description() or ""
        return last if last.startswith(COMPUTER + ": ") else None

    move = wait_for("the computer's move", computer_move, 30)
    wait_for("the human's turn again", lambda: name(announcer).startswith(HUMAN + " ist am Zug, Zug 2"), 30)
    print("computer: " + move)
    words = move[len(COMPUTER) + 2:].split(" ")
    start, landing = words[0], words[2]
    if not hole(HOLE_NAMES.index(start)) == start + ", leer":
        fail("the computer's start hole reads %r" % hole(HOLE_NAMES.index(start)))
    if not hole(HOLE_NAMES.index(landing)).endswith("Stein von " + COMPUTER):
        fail("the computer's landing reads %r" % hole(HOLE_NAMES.index(landing)))
    if not hole(HOLE_NAMES.index(target)).endswith("Stein von " + HUMAN):
        fail("the human's peg is not on %s" % target)

    # H asks for a hint; it is told, and its holes read as selected.
    key("h")
    told = wait_for("the hint told", lambda: name(announcer) if name(announcer).startswith("Tipp: ") else None, 30)
    print("hint: " + told)
    first = board.get_child_at_index(HOLE_NAMES.index(told.split(" ")[1]))
    if not first.get_state_set().contains(Atspi.StateType.SELECTED):
        fail("the hint's first hole is not selected")

    # In English the same holes read in English.
    key("alt+o")
    pump(0.3)
    key("e")
    wait_for("English hole names", lambda: hole(60) in ("I5, empty",) or hole(60).endswith(" peg of " + HUMAN)
             or hole(60).endswith(" peg of " + COMPUTER))
    print("english: " + hole(HOLE_NAMES.index(target)))
    if not hole(HOLE_NAMES.index(target)).endswith("green peg of " + HUMAN):
        fail("English name of the human's peg: %r" % hole(HOLE_NAMES.index(target)))
    print("a11y: ok")


if __name__ == "__main__":
    main()
