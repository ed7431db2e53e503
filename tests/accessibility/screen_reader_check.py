#!/usr/bin/env python3
"""What a blind resident hears: the program under Xvfb and openbox with the
Orca screen reader, whose speech goes through speech-dispatcher into a text
file, driven by keys through the X server as a keyboard would. Each step
asserts on what Orca said. Run inside dbus-run-session.

Usage: screen_reader_check.py BUILD_DIR
"""
import json
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time

from atspi_check import start_display, stop, wait_for

HEARD_TIMEOUT = 20

# speech-dispatcher's generic module writes every utterance to a file.
SPEECHD_CONF = """CommunicationMethod "unix_socket"
SocketPath "default"
Timeout 0
AudioOutputMethod "libao"
AddModule "textfile" "sd_generic" "textfile.conf"
DefaultModule "textfile"
DefaultLanguage "ru"
"""
TEXTFILE_CONF = """GenericExecuteSynth "echo \\'$DATA\\' >> $SPEECH_LOG"
GenericLanguage "ru" "ru" "utf-8"
GenericLanguage "en" "en" "utf-8"
AddVoice "ru" "MALE1" "ru"
AddVoice "en" "MALE1" "en"
DefaultVoice "ru"
"""
# Typed characters are echoed as inserted, not as key names.
ORCA_PROFILE = {"enableKeyEcho": False, "enableEchoByCharacter": True, "enableEchoByWord": False}
ORCA_SETTINGS = {
    "general": dict(ORCA_PROFILE, activeProfile=["Default", "default"], startingProfile=["Default", "default"]),
    "profiles": {"default": dict(ORCA_PROFILE, profile=["Default", "default"])},
    "keybindings": {},
    "pronunciations": {},
}


class Speech:
    """What Orca said, read from the file as it grows."""

    def __init__(self, path):
        self.path = path
        self.mark = 0

    def text(self):
        try:
            with open(self.path, encoding="utf-8", errors="replace") as log:
                return log.read()
        except FileNotFoundError:
            return ""

    def since_mark(self):
        return self.text()[self.mark:]

    def expect(self, *phrases, timeout=HEARD_TIMEOUT):
        """Waits until every phrase was said since the last step, then starts a new step."""
        try:
            wait_for("Orca to say %r" % (phrases,), lambda: all(p in self.since_mark() for p in phrases), timeout)
        except AssertionError:
            print("Orca said lately:\n" + self.text()[-700:])
            raise
        self.mark = len(self.text())

    def expect_any(self, choices, timeout=HEARD_TIMEOUT):
        """Waits until all phrases of one of the choices were said."""
        heard = lambda: next((c for c in choices if all(p in self.since_mark() for p in c)), None)
        try:
            choice = wait_for("Orca to say one of %d choices" % len(choices), heard, timeout)
        except AssertionError:
            print("Orca said lately:\n" + self.text()[-700:])
            raise
        self.mark = len(self.text())
        return choice

    def answer(self, first_words=5, pause=1.5):
        """What Orca says next: waits for its first words, then until it pauses."""
        try:
            wait_for("Orca to say anything", lambda: self.since_mark(), first_words)
        except AssertionError:
            return ""
        said = None
        while said != self.since_mark():
            said = self.since_mark()
            time.sleep(pause)
        return said

    def expect_silence_about(self, phrase, seconds=3):
        time.sleep(seconds)
        said = self.since_mark()
        assert phrase not in said, "Orca said %r: %s" % (phrase, said)
        self.mark = len(self.text())


def keys(*names):
    for name in names:
        subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)
        time.sleep(0.3)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "150", text], check=True)


def tab_until(speech, phrase, key="Tab", limit=10, choices=None):
    """Presses the key until Orca names the control (or says all phrases of
    one of the choices); each press waits for Orca's whole answer, however
    slow, so a late answer never lets a press skip the control. Returns the
    choice heard."""
    choices = choices or [(phrase,)]
    for _ in range(limit):
        keys(key)
        said = speech.answer()
        heard = next((c for c in choices if all(p in said for p in c)), None)
        speech.mark += len(said)
        if heard:
            return heard
    print("Orca said lately:\n" + speech.text()[-700:])
    raise AssertionError("%s never reached %r" % (key, choices))


MENU = ("Телефоны первой необходимости", "Личная телефонная книжка", "Коды городов Беларуси",
        "О программе и разработчиках", "Справка по работе с программой")


def open_from_menu(speech, item):
    """Back to the side menu with Shift+Tab, then Home, Down to the item and Enter."""
    tab_until(speech, None, key="shift+Tab", choices=[(name,) for name in MENU])
    keys("Home")
    for _ in range(MENU.index(item)):
        keys("Down")
    speech.expect(item)
    keys("Return")


def check(speech, workdir, program):
    # A search, heard from the field: the typed capitals, then the count.
    with sqlite3.connect(os.path.join(workdir, "data.db")) as db:
        found = db.execute("SELECT Tel, Abon FROM data WHERE Tel LIKE '12%'").fetchall()
    assert len(found) > 2, "too few test records"
    # Orca, just started, may miss its first keys: Tab until it names a
    # field, then back to the first one; the echo below then tests the
    # program, not that.
    tab_until(speech, None, choices=[("Абонент",), ("Адрес",)], limit=20)
    tab_until(speech, "Телефон", key="shift+Tab")
    for digit in "12":
        type_text(digit)
        speech.expect(digit)
    keys("Tab")
    speech.expect("Абонент")
    # The program selects the Russian layout: the key of "b" types "и".
    type_text("b")
    speech.expect("И")
    keys("BackSpace", "shift+Tab")
    speech.expect("Телефон")
    keys("Return")
    speech.expect("Записей %d" % len(found))

    # Into the upper grid past both buttons: the current row, each cell after
    # its column's title, and its place in the whole result.
    tab_until(speech, "Поиск")
    tab_until(speech, "Очистить")
    rows = [("Телефон " + tel, "Абонент " + abon) for tel, abon in found]
    print("heard the record", tab_until(speech, None, choices=[r + ("Запись 1 из %d" % len(found),) for r in rows]))
    keys("Down")
    print("heard the record", speech.expect_any([r + ("Запись 2 из %d" % len(found),) for r in rows]))

    # Clear by keyboard, then a search that finds nothing.
    tab_until(speech, "Очистить", key="shift+Tab")
    keys("space")  # clears and puts the focus into the telephone field (Orca says nothing of it)
    type_text("x")  # "Ч": no telephone number has letters
    speech.expect("Ч")
    keys("Return")
    speech.expect("По Вашему запросу не найдено ни одной записи.")
    keys("Return")
    speech.expect("Телефон")

    # Ctrl+Left asks the reader for the word at the end of the text; the
    # program must still answer afterwards.
    type_text("12")
    speech.expect("2")
    keys("ctrl+Left")
    time.sleep(1)
    type_text("3")
    speech.expect("3", timeout=10)
    assert program.poll() is None, "the program ended"
    keys("ctrl+a", "BackSpace")

    # The side menu: every item by name, from the keyboard.
    tab_until(speech, MENU[0], key="shift+Tab")
    for item in MENU[1:]:
        keys("Down")
        speech.expect(item)
    keys("Home", "Return")
    speech.expect("Телефоны первой необходимости dialog")
    keys("Down")
    speech.expect("Пожарная служба", "Телефон: 201", "Отдел: Дежурная часть", "Адрес: Ленина 89")
    keys("Escape")
    speech.expect("Телефонный справочник")

    # The about window speaks its texts; its button closes it.
    open_from_menu(speech, MENU[3])
    speech.expect("О программе dialog", "ТЕЛЕФОННЫЙ", "Справочник", "Версия 1.00", "OK")
    keys("Return")
    speech.expect("Телефонный справочник")

    # The phone book: the picture buttons by their names, the editor's two
    # buttons, and a screen reader's Insert chord that opens no editor.
    open_from_menu(speech, MENU[1])
    speech.expect("Личная телефонная книга dialog")
    tab_until(speech, "Добавить новую запись")
    keys("Return")
    speech.expect("Добавление новой записи")
    type_text("ivanov")
    tab_until(speech, "Закрыть")
    tab_until(speech, "ОК", key="shift+Tab")
    keys("Return")
    speech.expect("Личная телефонная книга")
    for hint in ("Удалить запись", "Редактировать запись", "Удалить все записи"):
        tab_until(speech, hint)
    tab_until(speech, "Запись 1 из 1")
    keys("Insert+KP_Enter")
    speech.expect_silence_about("Добавление новой записи")
    keys("Escape")
    speech.expect("Телефонный справочник")

    # The dialing codes: the localities starting "М", their count heard from
    # the field, then read in their grid.
    open_from_menu(speech, MENU[2])
    speech.expect("Коды городов Беларуси dialog", "Выберите область")
    with sqlite3.connect(os.path.join(workdir, "kod.db")) as db:
        places = db.execute("SELECT Obl, Np, Kod FROM kod WHERE Np LIKE 'М%'").fetchall()
    assert len(places) > 1, "too few localities starting М in kod.db"
    tab_until(speech, "Введите название населенного пункта")
    type_text("v")  # the key of "М" in the Russian layout
    speech.expect("М")
    keys("Return")
    speech.expect("Найдено населенных пунктов: %d" % len(places))
    rows = [("Область " + obl, "Населенный пункт " + np, "Код " + kod) for obl, np, kod in places]
    tab_until(speech, None, choices=[r + ("Запись 1 из %d" % len(places),) for r in rows])
    keys("Down")
    print("heard the place", speech.expect_any([r + ("Запись 2 из %d" % len(places),) for r in rows]))
    keys("Escape")
    speech.expect("Телефонный справочник")
    assert program.poll() is None, "the program ended"

    # Leaving: the window menu's Close (Alt+Space, the last item), the
    # question heard and answered Yes by Enter; the program ends and takes
    # its unpacked tables with it.
    keys("alt+space", "Up", "Return")
    speech.expect("Вы действительно хотите выйти из программы?")
    keys("Return")
    wait_for("the program to end", lambda: program.poll() is not None)
    assert program.returncode == 0, "the program ended with %d" % program.returncode
    assert not os.path.exists(os.path.join(workdir, "data.db")), "the unpacked tables stayed"


def write_settings(home):
    speechd = os.path.join(home, ".config", "speech-dispatcher")
    os.makedirs(os.path.join(speechd, "modules"))
    with open(os.path.join(speechd, "speechd.conf"), "w") as conf:
        conf.write(SPEECHD_CONF)
    with open(os.path.join(speechd, "modules", "textfile.conf"), "w") as conf:
        conf.write(TEXTFILE_CONF)
    orca = os.path.join(home, ".local", "share", "orca")
    os.makedirs(orca)
    with open(os.path.join(orca, "user-settings.conf"), "w") as conf:
        json.dump(ORCA_SETTINGS, conf)


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    scratch = tempfile.mkdtemp(prefix="sprav-orca-")
    workdir, home, runtime = (os.path.join(scratch, name) for name in ("work", "home", "run"))
    for folder in (workdir, home, runtime):
        os.makedirs(folder, mode=0o700)
    processes = []
    speech = Speech(os.path.join(scratch, "speech.txt"))
    try:
        for name in ("basa.tel", "basamy.db"):
            shutil.copy(os.path.join(build, "workdir", name), workdir)
        write_settings(home)
        os.environ.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                          XDG_DATA_HOME=os.path.join(home, ".local", "share"), XDG_RUNTIME_DIR=runtime,
                          SPEECH_LOG=speech.path, LANG="C.UTF-8", LC_ALL="C.UTF-8")
        xvfb, display = start_display()
        processes.append(xvfb)
        os.environ["DISPLAY"] = display
        processes.append(subprocess.Popen(["openbox"]))
        wait_for("openbox", lambda: "window id" in subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True, text=True).stdout)
        processes.append(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"]))
        processes.append(subprocess.Popen(["speech-dispatcher", "--run-single", "--timeout", "0"]))
        # As a resident may start them: the program, then the reader, and
        # nothing that tells Qt to keep accessibility on.
        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        env.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", None)
        program = subprocess.Popen([os.path.join(build, "src", "app", "spravochnik")], cwd=workdir, env=env)
        processes.append(program)
        wait_for("the unpacked directory", lambda: os.path.exists(os.path.join(workdir, "data.db")))
        processes.append(subprocess.Popen(["/usr/bin/orca", "--replace"], stdout=subprocess.DEVNULL))
        speech.expect("Screen reader on", timeout=60)  # Orca stops first, so it never calls a program gone
        check(speech, workdir, program)
        print("screen reader check passed")
    finally:
        for process in reversed(processes):
            stop(process)
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
