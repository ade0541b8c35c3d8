"""What a screen reader hears of Velmora: the built program in a real window, read through
AT-SPI as Orca reads it. The list's name, each row's configured state in words and its change
after OK (with the event that tells a screen reader so), the renderer list's label, and the
output bar's text each time it changes. Keys go in with xdotool, as a user types them; every
wait polls for the state it needs, with a deadline.

    xvfb-run -a dbus-run-session -- python3 screen_reader.py <laid-out emulator directory>

Needs Debian's python3-pyatspi (the interpreter it belongs to) and a session bus of its own,
on which the accessibility bus is started on demand.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

DEADLINE = 60  # seconds for any one thing to happen, on a busy machine and a sanitised build
MAIN_TITLE = "A small ZiNc frontend - Velmora"
CONFIGURED = b"\r\n--renderer=libvelmora_renderer_plain.so\r\n"


class Failure(Exception):
    pass


def start_velmora(emulator_dir, env):
    """Velmora as a user starts it: the program beside ZINC.EXE, from that folder."""
    return subprocess.Popen([os.path.join(emulator_dir, "Velmora")], cwd=emulator_dir, env=env)


def until(what, probe):
    """Runs the accessibility events in and asks `probe` again until it gives something true;
    that is the answer. A question to an object that went or answered late is asked again."""
    deadline = time.monotonic() + DEADLINE
    context = GLib.MainContext.default()
    while True:
        while context.iteration(False):
            pass
        try:
            answer = probe()
        except GLib.Error:
            answer = None
        if answer:
            return answer
        if time.monotonic() > deadline:
            raise Failure(f"{what}: not within {DEADLINE} s")
        time.sleep(0.05)


def find(root, role, name=None, name_starts=None):
    def wanted(node):
        if node is None or node.getRoleName() != role:
            return False
        if name is not None:
            return node.name == name
        return name_starts is None or node.name.startswith(name_starts)

    return pyatspi.findDescendant(root, wanted)


class Session:
    def __init__(self, template):
        self.work = tempfile.mkdtemp(prefix="velmora-a11y-")
        self.emu = os.path.join(self.work, "zinc")
        self.velmora = None
        self.heard = []
        shutil.copytree(template, self.emu, symlinks=True)
        with open(os.path.join(self.emu, "cfg", "Velmora002.cfg"), "wb") as f:
            f.write(CONFIGURED)  # game 2 is configured, the others are not

    def start(self):
        env = dict(os.environ)
        env.update(
            QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
            QT_QPA_PLATFORM="xcb",
            XDG_CONFIG_HOME=os.path.join(self.work, "home"),
            ZINC_STANDIN_GAMES="5",
        )
        # What a screen reader listens to; Qt sends these events only while someone listens.
        pyatspi.Registry.registerEventListener(
            self.hear, "object:text-changed:insert",
            "object:property-change:accessible-description")
        self.velmora = start_velmora(self.emu, env)
        self.app = until("Velmora on the accessibility bus", self.application)
        self.window = until("the main window", self.main_window)

    def close(self):
        if self.velmora is not None and self.velmora.poll() is None:
            self.velmora.kill()
            self.velmora.wait()
        shutil.rmtree(self.work, ignore_errors=True)

    def hear(self, event):
        try:
            source = (event.source.getRoleName(), event.source.name)
        except (GLib.Error, AttributeError):  # gone already
            source = (None, None)
        self.heard.append((event.type, source, event.any_data))

    def heard_texts(self, source_name):
        return [str(data) for kind, (_, name), data in self.heard
                if kind.startswith("object:text-changed:insert") and name == source_name]

    def application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.velmora.pid:
                return app
        if self.velmora.poll() is not None:
            raise Failure(f"Velmora ended with status {self.velmora.returncode}")
        return None

    def main_window(self):
        out = subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--pid", str(self.velmora.pid),
             "--name", MAIN_TITLE], capture_output=True, text=True)
        return out.stdout.split()[0] if out.stdout.split() else None

    def keys(self, *keys):
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window, "key", *keys],
                       check=True, timeout=DEADLINE)

    def press(self, root, role, name):
        """Presses a button or a menu item as a screen reader does, through its action."""
        action = find(root, role, name=name).queryAction()
        action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))

    def games(self):
        return until("the game list", lambda: find(self.app, "tree")
                     or find(self.app, "tree table"))

    def first_cell(self, game):
        table = self.games().queryTable()
        for row in range(table.nRows):
            cell = table.getAccessibleAt(row, 0)
            if cell.name.startswith(f"{game} "):
                return cell
        raise Failure(f"no row for game {game}")


def expect(what, got, wanted):
    if got != wanted:
        raise Failure(f"{what}: heard {got!r}, not {wanted!r}")


def check(session):
    games = session.games()
    expect("the game list's name", games.name, "Games")
    # The rows as they were listed.
    until("the rows", lambda: games.queryTable().nRows == 5)
    for game, words in ((1, "Not configured"), (2, "Configured"), (3, "Not configured")):
        expect(f"game {game}'s first cell", session.first_cell(game).description, words)

    # Starting the configured game: the bar says so, then shows what the emulator printed.
    output = until("the output bar", lambda: find(session.app, "text", name="ZiNc output"))
    before = len(session.heard_texts("ZiNc output"))
    session.keys("Home", "Down", "Return")
    until("the start and the emulator's output read out", lambda: any(
        "ZiNc stand-in" in text for text in session.heard_texts("ZiNc output")))
    texts = session.heard_texts("ZiNc output")[before:]
    printed = next(i for i, text in enumerate(texts) if "ZiNc stand-in" in text)
    expect("what the bar read before the emulator's output", texts[:printed][-1:],
           ["Executing ZiNc..."])
    expect("the bar's text", output.queryText().getText(0, 13), "ZiNc stand-in")

    # Return on game 3, not configured yet: the question, Yes, and its configuration. (Not
    # Alt+C: typed by xdotool at machine speed on a busy machine, it now and then closes the
    # menu it has just opened. A button's or a menu item's action has no such race.)
    session.keys("Down", "Return")
    question = until("the question", lambda: find(session.app, "alert", name="Velmora"))
    session.press(question, "push button", "Yes")
    dialog = until("the Configure game dialog",
                   lambda: find(session.app, "dialog", name_starts="Configure game - 3 "))
    box = find(dialog, "combo box")
    labels = [relation.getTarget(i).name for relation in box.getRelationSet()
              if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
              for i in range(relation.getNTargets())]
    expect("the renderer list's label", labels, ["Renderer plugin"])
    session.press(dialog, "push button", "OK")
    until("the row's new state announced", lambda: any(
        kind == "object:property-change:accessible-description" and name.startswith("3 ")
        for kind, (_, name), _ in session.heard))
    expect("game 3's first cell after OK", session.first_cell(3).description, "Configured")

    # An emulator that cannot be started.
    os.remove(os.path.join(session.emu, "ZINC.EXE"))
    session.keys("Home", "Down", "Return")
    until("the refusal read out", lambda: "ZiNc refuses to run!" in session.heard_texts(
        "ZiNc output"))

    # Config, Exit: a crash or a leak on the way out gives another status.
    try:
        session.press(session.app, "menu item", "Exit")
    except GLib.Error:
        pass  # gone before it answered
    try:
        status = session.velmora.wait(timeout=DEADLINE)
    except subprocess.TimeoutExpired:
        raise Failure(f"Exit: Velmora still runs after {DEADLINE} s") from None
    expect("Velmora's exit status", status, 0)


def main():
    if len(sys.argv) != 2:
        print("usage: screen_reader.py <laid-out emulator directory>", file=sys.stderr)
        return 2
    # Answers from a sanitised Velmora on a busy machine may take a while.
    Atspi.set_timeout(DEADLINE * 1000, DEADLINE * 1000)
    session = Session(sys.argv[1])
    try:
        session.start()
        check(session)
    except Failure as failure:
        print(f"screen_reader: {failure}", file=sys.stderr)
        return 1
    finally:
        session.close()
    print("screen_reader: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
