"""Reads and drives the running window through AT-SPI, as a screen reader does: names, the
lists' bounds and their change by a key, the Toggle and label actions keeping the passwords
in step, the warning as a description and its note announced once, the label relations, the
focus moved to each control
that takes it; after a copy and Esc, no password left on the bus. Run by accessibility.sh."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

NOTE = "При использовании нескольких языков возможны похожие символы!"
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what, file=sys.stderr)


def wait_for(condition, seconds=20.0):  # a deadline: a loaded machine may be slow
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.05)
    return condition()


def find_app():
    for _ in range(600):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Tolvane":
                return app
        time.sleep(0.1)
    sys.exit("FAIL: no Tolvane on the accessibility bus")


def walk(node, found):
    found.setdefault(node.name, node)
    for child in node:
        walk(child, found)


def events_during(kinds, action, awaited, seconds=20.0):
    """The (event type, source name) pairs of the given kinds seen while action runs, until a
    second after the awaited pair arrived (what comes with it is in by then, and the cache
    updated), or the time is up."""
    seen = []

    def listener(e):
        if awaited not in seen and (e.type, e.source.name) == awaited:
            GLib.timeout_add(1000, pyatspi.Registry.stop)
        seen.append((e.type, e.source.name))

    for kind in kinds:
        pyatspi.Registry.registerEventListener(listener, kind)
    action()
    GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
    pyatspi.Registry.start()
    for kind in kinds:
        pyatspi.Registry.deregisterEventListener(listener, kind)
    return seen


def do(node, action_name):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    check(action_name in names, f"{node.name!r} offers {action_name}: {names}")
    if action_name in names:
        actions.doAction(names.index(action_name))


def targets(node, relation):
    return [
        r.getTarget(i).name
        for r in node.getRelationSet()
        if r.getRelationType() == relation
        for i in range(r.getNTargets())
    ]


app = find_app()
found = {}
walk(app, found)
window = app[0]
check(window.getRoleName() == "frame", f"the window is a frame, not {window.getRoleName()}")

boxes = {"Цифры": "0123456789", "ENG Прописные буквы": "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
         "ENG Строчные буквы": "abcdefghijklmnopqrstuvwxyz",
         "Специальные символы": "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
         "РУС Прописные буквы": "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ",
         "РУС Строчные буквы": "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"}
names = list(boxes) + list(boxes.values()) + ["Длина от", "Длина до", "Настройки"]
names += ["Сгенерированные пароли", "Количество символов, \"от\" и \"до\"", NOTE]
names += [f"Пароль {i}" for i in range(1, 11)]
for name in names:
    check(name in found, f"{name!r} in the tree")
for box, label in boxes.items():
    check(targets(found[box], pyatspi.RELATION_CONTROLLED_BY) == [label], f"{box} controlled by")
    check(targets(found[label], pyatspi.RELATION_CONTROLLER_FOR) == [box], f"{label} controls")
    check(found[box].description == label, f"{box} described by its set: {found[box].description}")
check(found["Настройки"].description == NOTE, "the note describes the options frame")
options = [child.name for child in found["Настройки"]]
check(options[:2] == ["0123456789", "Цифры"], f"the options read in screen order: {options}")


def passwords():
    return [found[f"Пароль {i}"].queryText().getText(0, -1) for i in range(1, 11)]


def bound(name):
    return found[name].queryValue().currentValue


def selected(name):
    return [item.name for item in found[name][0]
            if item.getState().contains(pyatspi.STATE_SELECTED)]


check((bound("Длина от"), bound("Длина до")) == (8, 12), "the bounds are 8 and 12")
for name in ("Длина от", "Длина до"):
    value = found[name].queryValue()
    check((value.minimumValue, value.maximumValue) == (1, 50),
          f"{name!r} ranges over 1..50, not {value.minimumValue}..{value.maximumValue}")
check(selected("Длина от") == ["8"], f"the list's selected entry: {selected('Длина от')}")
lower = found["Длина от"]
check(lower.getState().contains(pyatspi.STATE_FOCUSED), "focus starts on 'Длина от'")
value_changed = ("object:property-change:accessible-value", "Длина от")
seen = events_during([value_changed[0]],
                     lambda: subprocess.run(["xdotool", "key", "Up", "Up", "Up", "Up"], check=True),
                     value_changed)
# Entries run from 50 down to 1: Up goes to the next larger bound; 12 to 12 fixes the length.
check(wait_for(lambda: bound("Длина от") == 12), f"Up x4 gives 12, not {bound('Длина от')}")
check(selected("Длина от") == ["12"], f"the selected entry then: {selected('Длина от')}")
check(value_changed in seen, f"events: {seen}")
check(all(len(p) == 12 for p in passwords()), f"passwords of 12 then: {passwords()}")

digits = found["Цифры"]
do(digits, "Toggle")
check(wait_for(lambda: not any(c.isdigit() for p in passwords() for c in p)),
      f"no digit once 'Цифры' is toggled off: {passwords()}")
do(found["0123456789"], "Press")
check(wait_for(lambda: digits.getState().contains(pyatspi.STATE_CHECKED)),
      "the label's Press switches 'Цифры' back on")

cyrillic, latin = found["РУС Прописные буквы"], found["ENG Прописные буквы"]
announced = []


def on_announcement(e):  # Qt 6.8: an announcement; Qt 6.4: a notification that appears
    if e.type == "object:announcement" or (e.source.getRoleName() == "notification" and
                                           e.detail1 == 1):
        if not announced:
            GLib.timeout_add(1000, pyatspi.Registry.stop)  # what comes with it is in by then
        announced.append(e.type)


kinds = ["object:announcement", "object:state-changed:showing"]
for kind in kinds:
    pyatspi.Registry.registerEventListener(on_announcement, kind)
do(cyrillic, "Toggle")  # red captions on both upper-case boxes: the note is announced once
GLib.timeout_add(20000, pyatspi.Registry.stop)
pyatspi.Registry.start()
for kind in kinds:
    pyatspi.Registry.deregisterEventListener(on_announcement, kind)
check(len(announced) == 1, f"the note announced once as the warning starts: {announced}")
check(wait_for(lambda: cyrillic.description == NOTE and latin.description == NOTE),
      f"while red, the boxes carry the note: {cyrillic.description!r}, {latin.description!r}")
check(wait_for(lambda: cyrillic.description == boxes["РУС Прописные буквы"]),
      "the set is the description again when the captions turn black")

# Every control that takes the keyboard focus takes it from a screen reader as well.
focusable = ["Длина от", "Длина до"] + list(boxes) + [f"Пароль {i}" for i in range(1, 11)]
for name in focusable:
    node = found[name]
    check(node.queryComponent().grabFocus(), f"{name!r} grants grabFocus")
    check(wait_for(lambda: node.getState().contains(pyatspi.STATE_FOCUSED)),
          f"{name!r} has the focus after grabFocus")

# A password copied, new ones drawn, the window closed: while the copy is served, nothing on
# the bus holds a password, neither the copied one nor those shown last.
shown = passwords()
subprocess.run(["xdotool", "key", "ctrl+a", "ctrl+c", "F5"], check=True)
check(wait_for(lambda: passwords() != shown), "F5 drew new passwords")
drawn = passwords()
subprocess.run(["xdotool", "key", "Escape"], check=True)
check(wait_for(lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                       "^Tolvane$"], capture_output=True).returncode != 0),
      "Esc closed the window")
told = subprocess.run([sys.executable, f"{sys.path[0]}/bus_texts.py"], capture_output=True,
                      text=True, check=True).stdout
check(not [p for p in shown + drawn if p in told], f"passwords on the bus after Esc: {told!r}")

if failures:
    sys.exit(f"{len(failures)} accessibility checks failed")
print("accessibility: names, bounds, actions, relations and the warning read through AT-SPI")
