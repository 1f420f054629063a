"""A seeded random client of the accessibility bus, as a buggy or hostile program of the session
could be: random calls to every method of every interface each of Tolvane's nodes offers,
with offsets, ranges and values far outside the texts. Every call must be answered within the
bound, the program must live, and the texts may change only by legal edits: an edit inside a
result box's text, or a refresh, after which every box holds a password the options allow.
Run by accessibility_fuzz.sh:  accessibility_fuzz.py PID SEED CALLS BOUND_MS
A failure names the seed and the call, so that a run can be replayed."""
import itertools
import os
import random
import subprocess
import sys
import time
import xml.etree.ElementTree as ElementTree

from gi.repository import Gio, GLib

pid, seed, calls, bound_ms = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
rng = random.Random(seed)
SETS = {"Цифры": "0123456789", "ENG Прописные буквы": "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
        "ENG Строчные буквы": "abcdefghijklmnopqrstuvwxyz",
        "Специальные символы": "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
        "РУС Прописные буквы": "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ",
        "РУС Строчные буквы": "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"}
BOXES = [f"Пароль {i}" for i in range(1, 11)]
ATSPI = "org.a11y.atspi."
EDITS = {"InsertText", "DeleteText", "SetTextContents", "CutText", "PasteText"}
MAY_CHANGE_TEXT = EDITS | {"DoAction", "SetCurrentValue", "Set", "SelectChild", "SelectAll",
                           "DeselectSelectedChild", "DeselectChild", "ClearSelection"}
slowest = (0.0, "")


recent = []  # the last calls, told with a failure


def fail(what):
    sys.exit(f"FAIL (seed {seed}): {what}\nlast calls:\n" + "\n".join(recent[-8:]))


def a11y_bus():
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    reply = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                              GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 10000, None)
    flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
             Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
    return Gio.DBusConnection.new_for_address_sync(reply.unpack()[0], flags, None, None)


bus = a11y_bus()


def call(name, path, interface, method, signature, args, timeout_ms=10000):
    """The reply's values, or the error's message; the time it took is kept."""
    global slowest
    parameters = GLib.Variant(f"({signature})", tuple(args)) if signature else None
    recent.append(f"{path} {interface}.{method}{tuple(args)}")
    start = time.monotonic()
    try:
        reply = bus.call_sync(name, path, interface, method, parameters, None,
                              Gio.DBusCallFlags.NO_AUTO_START, timeout_ms, None)
        result = reply.unpack()
    except GLib.Error as error:
        if error.matches(Gio.io_error_quark(), Gio.IOErrorEnum.TIMED_OUT):
            fail(f"no answer within {timeout_ms} ms to {interface}.{method}{tuple(args)} on {path}")
        result = error.message
    took = (time.monotonic() - start) * 1000
    if took > slowest[0]:
        slowest = (took, f"{interface}.{method}{tuple(args)}")
    return result


def prop(name, path, interface, key):
    value = call(name, path, "org.freedesktop.DBus.Properties", "Get", "ss", [interface, key])
    return value[0] if isinstance(value, tuple) else None


def find_app():
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        apps = call("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root",
                    ATSPI + "Accessible", "GetChildren", "", [])
        for name, path in (apps[0] if isinstance(apps, tuple) else []):
            if prop(name, path, ATSPI + "Accessible", "Name") == "Tolvane":
                return name, path
        time.sleep(0.1)
    fail("no Tolvane on the accessibility bus")


app, root = find_app()


class Node:
    def __init__(self, path):
        self.path = path
        self.name = prop(app, path, ATSPI + "Accessible", "Name") or ""
        role = call(app, path, ATSPI + "Accessible", "GetRoleName", "", [])
        self.role = role[0] if isinstance(role, tuple) else ""
        xml = call(app, path, "org.freedesktop.DBus.Introspectable", "Introspect", "", [])
        self.methods, self.properties = [], []
        for interface in ElementTree.fromstring(xml[0]).iter("interface"):
            iname = interface.get("name")
            for method in interface.iter("method"):
                ins = "".join(a.get("type") for a in method.iter("arg")
                              if a.get("direction", "in") == "in")
                self.methods.append((iname, method.get("name"), ins))
            for p in interface.iter("property"):
                self.properties.append((iname, p.get("name"), p.get("type"), p.get("access")))


def walk():
    nodes, stack, seen = {}, [root], set()
    while stack:
        path = stack.pop()
        if path in seen or path == "/org/a11y/atspi/null":
            continue
        seen.add(path)
        node = Node(path)
        nodes[path] = node
        children = call(app, path, ATSPI + "Accessible", "GetChildren", "", [])
        if isinstance(children, tuple):
            stack.extend(p for n, p in children[0] if n == app)
    return nodes


INTS = [0, 1, 2, 3, 5, 8, 12, 50, -1, -2, -4, 2**31 - 1, -2**31, 2**30, 1000, 65535]


def value(t):
    """A random value of the D-Bus type t (one complete type)."""
    if t in "in":
        bits = 31 if t == "i" else 15
        v = rng.choice(INTS + [rng.randint(-60, 60), rng.randint(-2**bits, 2**bits - 1)])
        return max(-2**bits, min(2**bits - 1, v))
    if t in "uq":
        bits = 32 if t == "u" else 16
        return rng.choice([0, 1, 2, 3, 4, 5, 2**bits - 1, rng.randint(0, 2**bits - 1)])
    if t in "xt":
        return rng.choice([0, 1, -1 if t == "x" else 2, rng.randint(0, 2**40)])
    if t == "b":
        return rng.random() < 0.5
    if t == "d":
        return rng.choice([0.0, 1.0, 8.0, 12.0, 50.0, -1.0, 1e300, -1e300, rng.uniform(-100, 100)])
    if t == "s":
        length = rng.choice([0, 1, 2, 5, 20, 200])
        return "".join(rng.choice("aZ9!Яё€ \t\n\u0301😀") for _ in range(length))
    if t == "o":
        return rng.choice(list(nodes))
    if t == "v":
        kind = rng.choice("ids")
        return GLib.Variant(kind, value(kind))
    if t.startswith("a{"):
        return {}
    if t.startswith("a"):
        return [value(t[1:]) for _ in range(rng.randint(0, 2))]
    if t.startswith("("):
        return tuple(value(s) for s in split(t[1:-1]))
    fail(f"no value for type {t}")


def split(signature):
    """The complete types of a signature."""
    types, i = [], 0
    while i < len(signature):
        j = i
        while signature[j] == "a":
            j += 1
        if signature[j] in "({":
            depth, j = 0, j
            while True:
                depth += signature[j] in "({"
                depth -= signature[j] in ")}"
                j += 1
                if depth == 0:
                    break
        else:
            j += 1
        types.append(signature[i:j])
        i = j
    return types


def by_name():
    """The controls by name (a list's drop-down takes the list's name)."""
    return {node.name: node for node in nodes.values()
            if node.role in ("combo box", "check box", "text")}


def texts():
    named = by_name()
    return [call(app, named[box].path, ATSPI + "Text", "GetText", "ii", [0, -1])[0]
            for box in BOXES]


def allowed():
    """The characters the checked classes allow, and the bounds the lists show."""
    named = by_name()
    chars = ""
    for box, characters in SETS.items():
        state = call(app, named[box].path, ATSPI + "Accessible", "GetState", "", [])[0]
        chars += characters if state[0] & (1 << 4) else ""  # ATSPI_STATE_CHECKED
    bounds = sorted(int(prop(app, named[n].path, ATSPI + "Value", "CurrentValue"))
                    for n in ("Длина от", "Длина до"))
    return chars, bounds


def is_password(text, chars, bounds):
    if not chars:
        return text == ""
    return bounds[0] <= len(text) <= bounds[1] and all(c in chars for c in text)


def utf16(text):
    return len(text.encode("utf-16-le")) // 2


def expected_edit(method, args, before):
    """What a legal edit makes of the text; the text itself for an edit outside it (AT-SPI's
    offsets count UTF-16 units, as Qt's do; the texts here hold no pair)."""
    n = utf16(before)
    if method == "SetTextContents":
        return args[0]
    if method == "InsertText":
        position, text, length = args
        part = text if length < 0 or length > utf16(text) else text.encode(
            "utf-16-le")[:2 * length].decode("utf-16-le", "ignore")
        return before[:position] + part + before[position:] if 0 <= position <= n else before
    if method in ("DeleteText", "CutText"):
        start, end = args
        end = n if end == -1 else end
        return before[:start] + before[end:] if 0 <= start <= end <= n else before
    return None  # PasteText: whatever the clipboard holds, at its place


def check_texts(before, after, edited, method, args):
    changed = [i for i in range(10) if before[i] != after[i]]
    if not changed:
        return
    if changed == [edited]:
        if method == "PasteText":
            position = args[0]
            if 0 <= position <= utf16(before[edited]) and \
               after[edited].startswith(before[edited][:position]) and \
               after[edited].endswith(before[edited][position:]):
                return
        elif after[edited] == expected_edit(method, args, before[edited]):
            return
    chars, bounds = allowed()
    wrong = [t for t in after if not is_password(t, chars, bounds)]
    if wrong:
        fail(f"{method}{tuple(args)} on {BOXES[edited] if edited is not None else '-'} changed "
             f"{[BOXES[i] for i in changed]}: {before} -> {after}")


nodes = walk()
if not all(box in by_name() for box in BOXES):
    fail(f"the result boxes are not on the bus: {sorted(by_name())}")
shown = texts()


def directed():
    """The calls that once froze, crashed or went unanswered come first, every run."""
    named = by_name()
    box, lower = named["Пароль 1"].path, named["Длина от"].path
    table = [n.path for n in nodes.values() if any(m[0] == ATSPI + "Table" for m in n.methods)]
    yield box, ATSPI + "Text", "GetRangeExtents", "iiu", [0, 2**31 - 1, 0]
    yield box, ATSPI + "Text", "GetBoundedRanges", "iiiiuuu", [0, 0, 2**31 - 1, 2**31 - 1, 0, 0, 0]
    for offset in (-1, 0, 1, 2, 2**31 - 1):
        for boundary in range(7):
            yield lower, ATSPI + "Text", "GetTextAtOffset", "iu", [offset, boundary]
            yield box, ATSPI + "Text", "GetTextBeforeOffset", "iu", [offset, boundary]
    yield box, ATSPI + "EditableText", "InsertText", "isi", [-4, "Z", 2**31 - 1]
    yield box, ATSPI + "EditableText", "DeleteText", "ii", [3, 1]
    yield box, ATSPI + "Text", "GetText", "ii", [4, 2]
    yield box, "org.freedesktop.DBus.Properties", "GetAll", "s", [ATSPI + "Text"]
    yield lower, ATSPI + "Value", "SetCurrentValue", "d", [1e300]
    yield root, "org.freedesktop.DBus.Properties", "Set", "ssv", [
        ATSPI + "Application", "Id", GLib.Variant("i", 7)]
    for path in table:
        yield path, ATSPI + "Table", "GetRowColumnExtentsAtIndex", "i", [-2**31]


def random_calls():
    global nodes
    made = 0
    while made < calls:
        if made % 200 == 0:
            nodes = walk()  # a list's drop-down appears once it has opened
        node = rng.choice(list(nodes.values()))
        if node.properties and rng.random() < 0.15:
            interface, key, kind, access = rng.choice(node.properties)
            if "write" in access and rng.random() < 0.5:
                method, signature, args = "Set", "ssv", [interface, key,
                                                         GLib.Variant(kind, value(kind))]
            else:
                method, signature, args = "Get", "ss", [interface, key]
            yield node.path, "org.freedesktop.DBus.Properties", method, signature, args
        elif node.methods:
            interface, method, signature = rng.choice(node.methods)
            yield node.path, interface, method, signature, [value(t) for t in split(signature)]
        else:
            continue
        made += 1


made = 0
for path, interface, method, signature, args in itertools.chain(directed(), random_calls()):
    name = nodes[path].name if path in nodes else ""
    edited = BOXES.index(name) if name in BOXES and method in EDITS else None
    call(app, path, interface, method, signature, args)
    made += 1
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        fail(f"the program ended after {interface}.{method}{tuple(args)} on {path}")
    if method in MAY_CHANGE_TEXT:
        now = texts()
        check_texts(shown, now, edited, method, args)
        shown = now
    if slowest[0] > bound_ms:
        fail(f"{slowest[1]} took {slowest[0]:.0f} ms, more than {bound_ms} ms")

# Then a user's F5 draws ten passwords within the bounds the lists show: no list left open
# to take the key, and at least one class on, so that the new passwords can be told.
nodes = walk()
named = by_name()
for name in ("Длина от", "Длина до"):
    state = call(app, named[name].path, ATSPI + "Accessible", "GetState", "", [])[0]
    if state[0] & (1 << 10):  # ATSPI_STATE_EXPANDED: its first action closes it
        call(app, named[name].path, ATSPI + "Action", "DoAction", "i", [0])
if not allowed()[0]:
    call(app, named["Цифры"].path, ATSPI + "Action", "DoAction", "i", [0])
before = texts()
window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tolvane$"],
                        capture_output=True, text=True, check=True).stdout.split()[0]
subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "F5"], check=True)
deadline = time.monotonic() + 30
while texts() == before and time.monotonic() < deadline:
    time.sleep(0.05)
chars, bounds = allowed()
after = texts()
if after == before or not all(is_password(t, chars, bounds) for t in after):
    fail(f"F5 after the calls gave {after} (before: {before}), bounds {bounds}")
print(f"accessibility fuzz: {made} calls, seed {seed}, slowest {slowest[0]:.1f} ms: {slowest[1]}")
