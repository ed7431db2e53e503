#!/usr/bin/env python3
"""What a screen reader user meets: the program under Xvfb with its own
AT-SPI bus, driven only through AT-SPI. Run inside dbus-run-session.

Usage: atspi_check.py BUILD_DIR
"""
import os
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time


TIMEOUT = 30


pyatspi = None  # imported once the AT-SPI bus is up, or its import starts another


def wait_for(what, probe, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    raise AssertionError("timed out waiting for " + what)


def find(root, role, name):
    """The first node under root with the role and name, depth first."""
    if root is None:
        return None
    try:
        if root.getRole() == role and root.name == name:
            return root
        children = [root.getChildAtIndex(i) for i in range(root.childCount)]
    except Exception:  # a node that went away meanwhile
        return None
    for child in children:
        found = find(child, role, name)
        if found is not None:
            return found
    return None


def press(node):
    action = node.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    assert "press" in names, "no press action on %s: %s" % (node.name, names)
    action.doAction(names.index("press"))


def cells(table_node, rows):
    """The cells' values; each cell is named with its column's title first."""
    table = table_node.queryTable()
    values = []
    for r in range(rows):
        row = []
        for c in range(table.nColumns):
            title, name = table.getColumnDescription(c), table.getAccessibleAt(r, c).name
            assert name.startswith(title), "cell %r without its title %r" % (name, title)
            row.append(name[len(title):].strip())
        values.append(row)
    return values


def footer_of(table_node):
    for i in range(table_node.childCount):
        child = table_node.getChildAtIndex(i)
        if child.getRole() == pyatspi.ROLE_FOOTER:
            return child.name
    return None


def start_display():
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                             "-noreset"],
                            pass_fds=[write_end])
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        display = pipe.readline().strip()
    if not display:
        raise AssertionError("Xvfb did not start")
    return xvfb, ":" + display


def stop(process):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def dump(node, depth=0):
    """Prints the tree as a reader sees it, to tell why a check failed."""
    print("  " * depth + "%s %r" % (node.getRoleName(), node.name))
    for i in range(node.childCount):
        dump(node.getChildAtIndex(i), depth + 1)


def check(app, workdir):
    main = wait_for("the main window", lambda: find(app, pyatspi.ROLE_FRAME, "Телефонный справочник // Версия 1.00"))
    for caption in ("Телефоны первой необходимости", "Личная телефонная книжка", "Коды городов Беларуси",
                    "О программе и разработчиках", "Справка по работе с программой"):
        assert find(main, pyatspi.ROLE_PUSH_BUTTON, caption), "side menu item " + caption
    assert find(main, pyatspi.ROLE_HEADING, "МЕНЮ"), "side menu header"
    wait_for("the unpacked directory", lambda: os.path.exists(os.path.join(workdir, "kod.db")))

    # Dialing codes of one region.
    press(find(main, pyatspi.ROLE_PUSH_BUTTON, "Коды городов Беларуси"))
    codes = wait_for("the dialing codes window",
                     lambda: find(app, pyatspi.ROLE_DIALOG, "Коды городов Беларуси"))
    region_box = find(codes, pyatspi.ROLE_PANEL, "Поиск по области")
    assert region_box, "region group box"
    combo = find(region_box, pyatspi.ROLE_COMBO_BOX, "Выберите область")
    assert combo, "region combo"
    press(find(combo, pyatspi.ROLE_LIST_ITEM, "МИНСКАЯ"))
    press(find(region_box, pyatspi.ROLE_PUSH_BUTTON, "Показать"))
    with sqlite3.connect(os.path.join(workdir, "kod.db")) as db:
        localities = {np for (np,) in db.execute("SELECT Np FROM kod WHERE Obl = 'МИНСКАЯ'")}
    assert localities, "no localities of the region in kod.db"
    grid = wait_for("the region grid", lambda: find(region_box, pyatspi.ROLE_TABLE, ""))
    wait_for("region rows", lambda: grid.queryTable().nRows > 1)
    headers = [grid.queryTable().getColumnDescription(c) for c in range(grid.queryTable().nColumns)]
    rows = cells(grid, 2)
    print("region grid:", headers, rows)
    for row in rows:
        assert row[0] in localities, "%s is no locality of the region" % row[0]
        assert row[1], "empty dialing code"
    subprocess.run(["xdotool", "key", "alt+F4"], check=True)
    wait_for("the dialing codes window to close",
             lambda: not find(app, pyatspi.ROLE_DIALOG, "Коды городов Беларуси")
             or not find(app, pyatspi.ROLE_DIALOG, "Коды городов Беларуси").getState().contains(pyatspi.STATE_SHOWING))

    # A telephone prefix in the main window.
    phone = find(main, pyatspi.ROLE_TEXT, "Телефон")
    assert phone, "telephone field"
    wait_for("the telephone field emptied by the activation", lambda: phone.queryText().characterCount == 0)
    phone.queryEditableText().setTextContents("12")
    press(find(main, pyatspi.ROLE_PUSH_BUTTON, "Поиск"))
    with sqlite3.connect(os.path.join(workdir, "data.db")) as db:
        (expected,) = db.execute("SELECT count(*) FROM data WHERE Tel LIKE '12%'").fetchone()
    results = [t for t in (find(main, pyatspi.ROLE_TABLE, ""),) if t]
    assert results, "result grid"
    footer = wait_for("the record count", lambda: footer_of(results[0]) == "Записей %d" % expected and footer_of(results[0]))
    print("main grid footer:", footer, "SQL count:", expected)


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    workdir = tempfile.mkdtemp(prefix="sprav-a11y-")
    processes = []
    try:
        for name in ("basa.tel", "basamy.db"):
            shutil.copy(os.path.join(build, "workdir", name), workdir)
        xvfb, display = start_display()
        processes.append(xvfb)
        os.environ["DISPLAY"] = display
        processes.append(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"]))
        wait_for("the AT-SPI bus", lambda: subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
             "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"],
            capture_output=True, text=True).stdout.strip().endswith("true"))
        global pyatspi
        import pyatspi
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        program = subprocess.Popen([os.path.join(build, "src", "app", "spravochnik")], cwd=workdir, env=env)
        processes.append(program)
        desktop = pyatspi.Registry.getDesktop(0)
        app = wait_for("the program on the AT-SPI bus",
                       lambda: next((a for a in desktop if a is not None and a.name == "spravochnik"), None))
        try:
            check(app, workdir)
        except AssertionError:
            dump(app)
            raise
        assert program.poll() is None, "the program ended"
        print("accessibility check passed")
    finally:
        for process in reversed(processes):
            stop(process)
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    main()
