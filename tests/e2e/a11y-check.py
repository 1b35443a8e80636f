#!/usr/bin/python3
"""Plays Vexel through its accessibility tree, as a screen reader sees it.

Started by run-a11y.sh inside a private D-Bus session, with the program
running under Xvfb with accessibility on. It plays a whole game against the
weakest computer by keys alone, knowing only what the tree and its events
tell: the pegs from the holes' names, the cursor from the focus events, the
moves and turns from the announcer's messages. It checks that each message
reads, at the time of its event, what was sent; that every own move and
every computer move was told; that a key that does nothing says why and the
first key of a turn is told as the cursor, not as a selection; that the
winners display reads the finishing order when it opens; that the help is a
named document whose text takes the focus and that Escape closes. Whether the
focus is told back on the board after the display and the help is reported.

With the argument "count" it only watches a game of computer seats and
prints how many messages it heard (see docs/accessibility.md).

Every wait polls with a deadline; nothing sleeps blind.
"""
import collections
import re
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

HUMAN, COMPUTER = "Anna", "Mimsel"
ROW_LENGTHS = [1, 2, 3, 4, 13, 12, 11, 10, 9, 10, 11, 12, 13, 4, 3, 2, 1]
HOLE_NAMES = [chr(ord("A") + r) + str(j + 1) for r, n in enumerate(ROW_LENGTHS) for j in range(n)]
ROW = [r for r, n in enumerate(ROW_LENGTHS) for j in range(n)]
X = [2 * j - (n - 1) for r, n in enumerate(ROW_LENGTHS) for j in range(n)]
AT = {(ROW[i], X[i]): i for i in range(121)}
# Directions as the program numbers them: up-right, right, down-right, down-left, left, up-left.
DIRECTIONS = [(-1, 1), (0, 2), (1, 1), (1, -1), (0, -2), (-1, -1)]
TIP = 120  # Q1, the far point of the human's target
TARGET = {i for i in range(121) if ROW[i] >= 13 or (ROW[i] == 12 and abs(X[i]) <= 4)}

focus = []   # (name, description, role) of each object that took the focus
sent = []    # the announcer's names as its name-change events carried them
shown = []   # (announcer, the name last sent) for each time it showed itself, not yet read
read = []    # (name read when coming to a showing, the name sent with it)


def fail(message):
    print("a11y: " + message)
    print("a11y: last messages read %s" % [r for r, _ in read[-6:]])
    sys.exit(1)


def pump(seconds):
    """Runs the event loop for up to `seconds`, so that events arrive.

    A screen reader queues the events and reads the announcer's name when it
    comes to one, after whatever else arrived with it: so is it read here."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        busy = context.iteration(False)
        while shown:
            source, carried = shown.pop(0)
            read.append((name(source), carried))
        if not busy:
            time.sleep(0.005)


def wait_for(what, test, timeout=15.0):
    end = time.monotonic() + timeout
    while True:
        value = test()
        if value:
            return value
        if time.monotonic() > end:
            fail("timed out waiting for " + (what() if callable(what) else what))
        pump(0.02)


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "40", *keys], check=True)


def name(acc):
    try:
        return acc.get_name() or ""
    except GLib.Error:
        return ""


def description(acc):
    try:
        return acc.get_description() or ""
    except GLib.Error:
        return ""


def role(acc):
    try:
        return acc.get_role()
    except GLib.Error:
        return None


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
    if role(acc) == Atspi.Role.LIST and count == 121:
        return None
    for i in range(count):
        child = acc.get_child_at_index(i)
        if child is not None:
            hit = find(child, test, depth + 1)
            if hit is not None:
                return hit
    return None


def descendants(acc):
    for i in range(acc.get_child_count()):
        child = acc.get_child_at_index(i)
        if child is not None:
            yield child
            yield from descendants(child)


def vexel_app():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and find(app, lambda a: role(a) == Atspi.Role.FRAME and name(a) == "Vexel"):
            return app
    return None


def on_event(event):
    source = event.source
    if role(source) == Atspi.Role.NOTIFICATION:
        if event.type.startswith("object:property-change:accessible-name"):
            carried = event.any_data
            sent.append(carried if isinstance(carried, str) else name(source))
        elif event.type.startswith("object:state-changed:showing") and event.detail1:
            shown.append((source, sent[-1] if sent else None))
    elif event.type.startswith("object:state-changed:focused") and event.detail1:
        focus.append((name(source), description(source), role(source)))


def neighbour(cell, d):
    dr, dx = DIRECTIONS[d]
    return AT.get((ROW[cell] + dr, X[cell] + dx))


def distance(a, b):
    dr, dx = abs(ROW[a] - ROW[b]), abs(X[a] - X[b])
    return dr + max(0, (dx - dr) // 2)


def cursor_key(cell, next_left, k):
    """Where a cursor key takes the cursor, as the program walks it."""
    if k in ("Left", "Right"):
        n = neighbour(cell, 4 if k == "Left" else 1)
        return (cell if n is None else n), next_left
    right, left = (0, 5) if k == "Up" else (2, 3)
    if neighbour(cell, right) is None or neighbour(cell, left) is None:
        d = left if neighbour(cell, right) is None else right
    else:
        d = left if next_left else right
    n = neighbour(cell, d)
    return (cell if n is None else n), d == right


def plan(cell, next_left, goal):
    """The shortest run of cursor keys from the cursor to `goal`."""
    start = (cell, next_left)
    came = {start: None}
    todo = collections.deque([start])
    while todo:
        here = todo.popleft()
        if here[0] == goal:
            keys = []
            while came[here] is not None:
                here, k = came[here]
                keys.append(k)
            return keys[::-1]
        for k in ("Up", "Down", "Left", "Right"):
            there = cursor_key(here[0], here[1], k)
            if there not in came:
                came[there] = (here, k)
                todo.append(there)
    fail("no way for the cursor from %s to %s" % (HOLE_NAMES[cell], HOLE_NAMES[goal]))


def moves_of(pegs, occupied):
    """Every move of the pegs: a step, or a chain of jumps (start, landings)."""
    found = []
    for peg in pegs:
        for d in range(6):
            n = neighbour(peg, d)
            if n is not None and n not in occupied:
                found.append([peg, n])
        chains = [[peg]]
        while chains:
            path = chains.pop()
            for d in range(6):
                over = neighbour(path[-1], d)
                land = neighbour(over, d) if over is not None else None
                if over in occupied and land is not None and land not in occupied and land not in path:
                    found.append(path + [land])
                    chains.append(path + [land])
    return found


# Every placing of Anna's pegs played so far. A placing not seen before goes
# first, so that a peg blocked at the end wanders round instead of stepping to
# and fro between two holes for ever while the computer does the same.
seen_placings = set()


def best_move(pegs, occupied):
    def placing(path):
        return frozenset((pegs - {path[0]}) | {path[-1]})

    def gain(path):
        fresh = placing(path) not in seen_placings
        ahead = distance(path[0], TIP) - distance(path[-1], TIP)
        # Into the target, never out of it; the rearmost peg first.
        settle = (path[-1] in TARGET) - (path[0] in TARGET)
        return (fresh, ahead, settle, distance(path[0], TIP), -len(path))
    options = moves_of(pegs, occupied)
    if not options:
        fail("no move for %s" % HUMAN)
    seen_placings.add(frozenset(pegs))
    path = max(options, key=gain)
    seen_placings.add(placing(path))
    return path


def move_text(who, path):
    text = "%s: %s nach %s" % (who, HOLE_NAMES[path[0]], HOLE_NAMES[path[-1]])
    if len(path) > 2:
        text += " über " + ", ".join(HOLE_NAMES[c] for c in path[1:-1])
    return text


class Player:
    def __init__(self, app, board, announcer):
        self.app, self.board, self.announcer = app, board, announcer
        self.cursor, self.next_left = 60, False  # where every new game puts it

    def hole(self, i):
        return name(self.board.get_child_at_index(i))

    def pegs(self):
        names = [self.hole(i) for i in range(121)]
        own = {i for i, n in enumerate(names) if n.endswith(" von " + HUMAN)}
        other = {i for i, n in enumerate(names) if n.endswith(" von " + COMPUTER)}
        return own, other

    def press_cursor_key(self, k):
        """One cursor key; the hole the focus event names is where the cursor is."""
        focus.clear()
        key(k)
        told = wait_for("a focus event after " + k, lambda: [f for f in focus if f[2] == Atspi.Role.LIST_ITEM])
        at = HOLE_NAMES.index(told[-1][0].split(",")[0])
        expected, next_left = cursor_key(self.cursor, self.next_left, k)
        if at != expected:  # the diagonal was the other one: take what the tree says
            next_left = not next_left
        self.cursor, self.next_left = at, next_left
        return told[-1]

    def show_cursor(self):
        """The first key of a turn shows the cursor; its hole says so."""
        focus.clear()
        key("space")
        told = wait_for("the cursor shown", lambda: [f for f in focus if f[2] == Atspi.Role.LIST_ITEM])[-1]
        self.cursor = HOLE_NAMES.index(told[0].split(",")[0])
        return told

    def go_to(self, goal):
        while self.cursor != goal:
            self.press_cursor_key(plan(self.cursor, self.next_left, goal)[0])

    def selected(self, cell):
        return self.board.get_child_at_index(cell).get_state_set().contains(Atspi.StateType.SELECTED)

    def enter_move(self, path):
        self.go_to(path[0])
        key("space")
        wait_for("the peg on %s selected" % HOLE_NAMES[path[0]], lambda: self.selected(path[0]))
        for landing in path[1:-1]:
            self.go_to(landing)
            key("space")
            wait_for("the landing %s entered" % HOLE_NAMES[landing], lambda: self.selected(landing))
        self.go_to(path[-1])
        key("Return")


def heard(text, since=0):
    """Whether a message read from `since` on holds the sentence `text`."""
    return any(text + "." in r or text + "," in r for r, _ in read[since:])


def winners_button():
    hits = [f for f in focus if f[2] == Atspi.Role.PUSH_BUTTON and f[1]]
    return hits[-1] if hits else None


def play(app, board, announcer):
    player = Player(app, board, announcer)
    own_moves, computer_moves, refusals = 0, 0, 0
    key("alt+s")
    pump(0.3)
    key("n")
    start = wait_for("the game started", lambda: [r for r, _ in read if r.startswith("Neues Spiel.")], 30)[0]
    print("announced: " + start)
    own, other = player.pegs()
    if len(own) != 15 or len(other) != 15:
        fail("%d and %d pegs named in a game of two seats with 15 pegs each" % (len(own), len(other)))
    turn_seen = 0  # messages read up to the one that gave Anna the turn last
    expected_board = None
    for _ in range(400):
        # Anna's turn, or the end of the game.
        def next_turn():
            for i in range(turn_seen, len(read)):
                if (HUMAN + " ist am Zug") in read[i][0]:
                    return ("turn", i + 1)
            return ("end", len(read)) if winners_button() else None
        what, turn_seen = wait_for("Anna's turn or the winners display", next_turn, 60)
        own, other = player.pegs()
        if expected_board is not None:
            # The computer's move, seen on the board, must have been told.
            mine, theirs = expected_board
            gone, came = theirs - other, other - theirs
            if own != mine or len(gone) != 1 or len(came) != 1:
                fail("the board changed beyond one computer move: %s %s" % (sorted(gone), sorted(came)))
            told = "%s: %s nach %s" % (COMPUTER, HOLE_NAMES[gone.pop()], HOLE_NAMES[came.pop()])
            if not any(told + "." in r or told + " über " in r for r, _ in read):
                fail("the computer's move %r was never read" % told)
            computer_moves += 1
        if what == "end":
            break
        if own_moves == 0:
            # The first key of the turn only shows the cursor: told as such.
            shown = player.show_cursor()
            if shown[1] != "Cursor":
                fail("the cursor's first showing reads %r" % (shown,))
            # Enter with nothing selected does nothing, and says why.
            before = len(read)
            key("Return")
            wait_for("the refusal told", lambda: heard("Erst einen eigenen Stein wählen", before))
            refusals += 1
            # A hint is told, and its holes read as selected.
            key("h")
            told = wait_for("the hint told", lambda: [r for r, _ in read[before:] if r.startswith("Tipp: ")], 30)[-1]
            print("hint: " + told)
            if not player.selected(HOLE_NAMES.index(told.split(" ")[1])):
                fail("the hint's first hole is not selected")
        else:
            player.show_cursor()
        path = best_move(own, own | other)
        player.enter_move(path)
        own_text = move_text(HUMAN, path)
        wait_for("own move %r read" % own_text, lambda: heard(own_text, turn_seen), 20)
        own_moves += 1
        mine = (own - {path[0]}) | {path[-1]}
        expected_board = (mine, other)
    else:
        fail("no end after 400 moves")

    # The winners display read the finishing order as it opened, without empty lines.
    button = winners_button()
    order = "Reihenfolge im Ziel: 1. "
    if not button[1].startswith(order) or HUMAN not in button[1] or COMPUTER not in button[1]:
        fail("the winners display opened reading %r" % (button,))
    dialog = wait_for("the winners display", lambda: find(app, lambda a: role(a) == Atspi.Role.DIALOG))
    if not description(dialog).startswith(order):
        fail("the winners display's description reads %r" % description(dialog))
    labels = [name(a) for a in descendants(dialog)
              if role(a) == Atspi.Role.LABEL and a.get_state_set().contains(Atspi.StateType.SHOWING)]
    if any(not n.strip() for n in labels) or not any(n.startswith("1. ") for n in labels):
        fail("the winners display's labels read %r" % labels)
    print("winners: %s / %s" % (button[0], button[1]))
    focus.clear()
    before = len(read)
    key("Return")
    wait_for("the end told", lambda: [r for r, _ in read[before:] if r.startswith("Spielende: 1. ")])
    back_on_board("the winners display", board)
    return own_moves, computer_moves, refusals


def back_on_board(closed, board):
    """After a window over the game closes, the focus is told to be on the board.
    Under Xvfb the window manager does not always hand the focus back, and then
    no focus news comes at all: that is reported, not failed."""
    end = time.monotonic() + 10
    while time.monotonic() < end:
        if any(f[0] == "Spielbrett" or f[2] == Atspi.Role.LIST_ITEM for f in focus):
            print("focus: back on the board after %s" % closed)
            return
        pump(0.05)
    focused = board.get_state_set().contains(Atspi.StateType.FOCUSED)
    print("a11y: no focus news after %s (focus went to %s; the board %s focused)" % (
        closed, focus, "is" if focused else "is not"))


def check_delivery():
    """Each message read at its event as it was sent; none summed up with two seats."""
    garbled = [(r, s) for r, s in read if r != s]
    if garbled:
        fail("%d of %d messages read otherwise than sent, first %r" % (len(garbled), len(read), garbled[0]))
    summed = [r for r, _ in read if " Züge, zuletzt " in r]
    if summed:
        fail("moves summed up in a game of two seats: %r" % summed[0])


def check_help(app, board):
    """The help is a named document; Tab reaches its text, Escape closes it."""
    focus.clear()
    key("alt+h")
    pump(0.3)
    key("i")
    document = wait_for("the help window", lambda: find(Atspi.get_desktop(0), lambda a: role(a) == Atspi.Role.DOCUMENT_FRAME
                                                             and name(a).endswith("Hilfe")), 20)
    wait_for("the help text focused", lambda: any(f[0] == "Hilfe" for f in focus))
    key("Tab")
    pump(0.3)
    focus.clear()
    key("Escape")
    back_on_board("the help", board)
    print("help: %s" % name(document))


def count(app):
    """Watches a game of computer seats from the start to its end."""
    started = time.monotonic()
    key("alt+s")
    pump(0.3)
    key("n")
    reported = started
    while not any("Spielende" in r for r, _ in read):
        if time.monotonic() - reported > 20:
            reported = time.monotonic()
            print("... %d messages, the last %r" % (len(read), read[-1][0] if read else None), flush=True)
        button = winners_button()
        if button:
            focus.clear()
            key("Return")  # goes on, or ends the game with every place taken
        pump(0.2)
        if time.monotonic() - started > 1500:
            fail("no end of the game")
    seconds = time.monotonic() - started
    moves = 0
    for r, _ in read:
        for sentence in r.split(". "):
            summed = re.match(r"(\d+) Züge, zuletzt ", sentence)
            moves += int(summed.group(1)) if summed else bool(re.match(r"\S+: [A-Q]\d+ nach ", sentence))
    print("messages: %d in %.1f s for %d moves, summed up: %d, read otherwise than sent: %d" % (
        len(read), seconds, moves, sum(" Züge, zuletzt " in r for r, _ in read), sum(r != s for r, s in read)))
    for r, _ in read[:3] + [("...", None)] + read[-3:]:
        print("  " + r)


EVENTS = ("object:state-changed:focused", "object:state-changed:showing", "object:property-change:accessible-name")


def make_sure_events_come(listener):
    """A program that started before the listener was known may not have heard
    of it and sends nothing: the menu's focus shows whether events come, and
    registering anew tells the program again."""
    for _ in range(6):
        focus.clear()
        key("alt+s")
        got = [False]
        def menu_focused():
            got[0] = bool(focus)
            return got[0]
        end = time.monotonic() + 3
        while time.monotonic() < end and not menu_focused():
            pump(0.05)
        key("Escape")
        pump(0.3)
        if got[0]:
            focus.clear()
            return
        for kind in EVENTS:
            listener.deregister(kind)
            listener.register(kind)
    print("a11y: no focus events from the program's menu; going on")


def main():
    Atspi.init()
    listener = Atspi.EventListener.new(on_event)
    for kind in EVENTS:
        listener.register(kind)

    app = wait_for("the program in the accessibility tree", vexel_app, 20)
    board = wait_for("the board", lambda: find(app, lambda a: role(a) == Atspi.Role.LIST and a.get_child_count() == 121))
    announcer = wait_for("the announcer", lambda: find(app, lambda a: role(a) == Atspi.Role.NOTIFICATION))
    print("board: %s, %d holes" % (name(board), board.get_child_count()))
    make_sure_events_come(listener)
    if len(sys.argv) > 1 and sys.argv[1] == "count":
        count(app)
        return

    # The title picture before a game: every hole named, a peg on the centre.
    names = [name(board.get_child_at_index(i)) for i in range(121)]
    wrong = [(i, n) for i, n in enumerate(names) if not n.startswith(HOLE_NAMES[i] + ", ")]
    if wrong:
        fail("holes misnamed: %s" % wrong[:5])
    if names[60] != "I5, gelber Stein" or names[0] != "A1, leer":
        fail("title picture named %r, %r" % (names[60], names[0]))

    own, computer, refusals = play(app, board, announcer)
    check_delivery()
    print("played: %d own moves, %d computer moves, all read; %d refusal told; %d messages" % (
        own, computer, refusals, len(read)))
    check_help(app, board)

    # In English the holes read in English. Where the window manager did not
    # hand the focus back after the help, the keys must still reach the window.
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Vexel( Stars)?$", "windowactivate", "--sync"],
                   check=False, timeout=10)
    pump(0.2)
    key("alt+o")
    pump(0.3)
    key("e")
    wait_for("English hole names", lambda: name(board.get_child_at_index(60)).endswith((", empty", " peg")) or
             " peg of " in name(board.get_child_at_index(60)))
    print("a11y: ok")


if __name__ == "__main__":
    main()
