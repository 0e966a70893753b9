"""Faults and bad input, end to end: the real Kestrel.exe under Wine against the
loopback maker's server, driven from outside.

Each test checks the messages Kestrel shows (text and caption, in order) and,
afterwards, that every user program is either its old file byte for byte or
the server's new file complete, that no stray file appeared beside the
programs, and that no downloaded program file stays in the temporary folder.

Kestrel launches are grouped: the catalogue faults share one launch (a failed
Start leaves Start enabled), and every update launch carries one network fault
on its last download (a failed download closes the session, so only the first
failure of a run reaches the server) together with as many copy faults as
the program allows.
"""

import contextlib
import os
import pathlib
import random
import re
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from kestrel_harness import (SOURCE_DIR, START, UPDATE, Drives, Kestrel, build_program,  # noqa: E402
                             maker_server, temp_folder)
from e2e_support import answer_boxes_until, helper_program  # noqa: E402

BASE_URL = "http://updates.corvel.example/Utils/"
TOKEN_HEADER = "[L]\n&7(2?KwT\n[U]\n"
OLD, NEW = (1, 0, 0, 0), (2, 0, 0, 0)
MAX_PATH_CHARS = 259
# Wine's own texts for these errors, the reasons given for a copy that could not be made.
FILENAME_TOO_LONG = "File name is too long."
DISK_FULL = "Disk full."
# The folder an Update keeps its downloads in, under the temporary folder.
RUN_FOLDER = re.compile(r"K[0-9]+")
RUN_FOLDER_IN_PATH = re.compile(r"\\K[0-9]+\\")

_TOOL_SOURCE = r"""#include <windows.h>
#include <stdio.h>
/* faulttool hide PATH... | lock PATH...: sets the hidden attribute, or holds
   the files open without sharing until standard input ends. */
int main(int argc, char **argv)
{
    HANDLE held[16];
    int count = 0, hide = argc > 1 && lstrcmpA(argv[1], "hide") == 0;
    for (int i = 2; i < argc && count < 16; ++i) {
        if (hide) {
            if (!SetFileAttributesA(argv[i], FILE_ATTRIBUTE_HIDDEN)) return 1;
            continue;
        }
        held[count] = CreateFileA(argv[i], GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (held[count] == INVALID_HANDLE_VALUE) return 1;
        ++count;
    }
    printf("ready\n");
    fflush(stdout);
    if (!hide) {
        char byte;
        DWORD got;
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &got, NULL) && got) {}
    }
    return 0;
}
"""


def entry_line(name, version, date="10/15/03", time_of_day="2:30:00 PM"):
    return f"{name}|0|{date}|{time_of_day}|-|{'.'.join(map(str, version))}"


def catalogue(*lines):
    return TOKEN_HEADER + "".join(line + "\n" for line in lines)


def snapshot(root):
    """Every file below root (symlinks not followed): relative path -> bytes."""
    files = {}
    for folder, dirs, names in os.walk(root):
        for name in names:
            path = pathlib.Path(folder) / name
            if not path.is_symlink():
                files[str(path.relative_to(root))] = path.read_bytes()
    return files


def win_path(letter, relative):
    return f"{letter.upper()}:\\" + str(relative).replace("/", "\\")


def fault_tool():
    """The helper program that hides files or holds them open, under C:\\kestrel."""
    return helper_program("faulttool", _TOOL_SOURCE)


@contextlib.contextmanager
def running_tool(*args):
    """faulttool run under Wine; kept alive (holding its files) for the block."""
    process = subprocess.Popen(["timeout", "-k", "5", "600", "wine", fault_tool(), *args],
                               stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                               env={**os.environ, "WINEDEBUG": "-all"})
    try:
        line = process.stdout.readline().decode().strip()
        if line != "ready":
            raise AssertionError(f"faulttool {args} did not start: {line!r}")
        yield process
    finally:
        process.stdin.close()
        try:
            process.wait(30)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
        process.stdout.close()


def hide(*paths):
    with running_tool("hide", *paths):
        pass


@contextlib.contextmanager
def tiny_tmpfs(size="64k"):
    """A fresh tmpfs of `size`: (folder, None), or (plain folder, why) where
    mounting is refused."""
    folder = pathlib.Path(tempfile.mkdtemp(prefix="tiny-fs-"))
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", str(folder)],
                             capture_output=True, text=True)
    refused = None
    if mounted.returncode != 0:
        refused = f"cannot mount a tmpfs here: {mounted.stderr.strip() or mounted.returncode}"
    try:
        yield folder, refused
    finally:
        if not refused:
            subprocess.run(["umount", "-l", str(folder)], check=False)
        subprocess.run(["rm", "-rf", str(folder)], check=False)


@contextlib.contextmanager
def temp_folder_on(folder):
    """Points the prefix's temporary folder at `folder` (a symlink) for the block."""
    temp = temp_folder()
    saved = temp.with_name("Temp.saved-by-faults")
    temp.rename(saved)
    temp.symlink_to(folder)
    try:
        yield temp
    finally:
        temp.unlink()
        saved.rename(temp)


@contextlib.contextmanager
def server_process(root):
    """tools/maker_server.py as a process of its own, so it can be killed outright."""
    port_file = pathlib.Path(root) / "port"
    log = pathlib.Path(root) / "requests.log"
    process = subprocess.Popen([sys.executable, str(SOURCE_DIR / "tools" / "maker_server.py"),
                                "--root", str(root), "--port-file", str(port_file), "--log", str(log)])
    try:
        deadline = time.monotonic() + 30
        while not port_file.exists():
            if time.monotonic() > deadline or process.poll() is not None:
                raise AssertionError("the maker's server did not start")
            time.sleep(0.05)
        process.proxy = f"http://127.0.0.1:{int(port_file.read_text())}"
        process.log = log
        yield process
    finally:
        if process.poll() is None:
            process.kill()
        process.wait()


def wait_until(predicate, timeout, what):
    deadline = time.monotonic() + timeout
    while not predicate():
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


class FaultTests(unittest.TestCase):
    maxDiff = None

    # -- driving

    # The boxes as (text, caption), as answer_boxes_until gives them.
    def boxes(self, app, count, timeout=60):
        seen, _ = answer_boxes_until(app, None, "a message box", count=count, timeout=timeout * count)
        return seen

    def start_scan(self, app):
        app.click("&Start")

    def scan_until_ready(self, app):
        self.start_scan(app)
        boxes, state = answer_boxes_until(app, lambda s: s["status"][0] in ("Ready to update", "Nothing to update."),
                                          "the scan")
        self.assertEqual(boxes, [], "the scan itself showed messages")
        self.assertEqual(state["status"][0], "Ready to update")
        # The driver reads the list before the panes: look again now that the scan has ended.
        return app.state()

    def update_until_done(self, app):
        app.click("&Update")
        return answer_boxes_until(app, lambda s: s["status"][0] == "Done", "the update")

    @staticmethod
    def button(state, command_id):
        return next(b for b in state["buttons"] if b["id"] == command_id)["enabled"]

    # -- checking

    def assert_old_or_new(self, drives, letters, before, new_files, expect_new):
        """Every program is its old bytes or the complete new file, as expected;
        no file appeared or vanished in the program folders."""
        seen = set()
        for letter in letters:
            after = snapshot(drives.path(letter))
            self.assertEqual(sorted(after), sorted(before[letter]), f"files on {letter.upper()}: changed")
            for relative, data in after.items():
                name = pathlib.PurePath(relative).name
                path = win_path(letter, relative)
                seen.add(path)
                if path in expect_new:
                    self.assertEqual(data, new_files[name], f"{path} is not the complete new file")
                else:
                    self.assertEqual(data, before[letter][relative], f"{path} is not the old file")
        self.assertLessEqual(set(expect_new), seen, "programs expected to be replaced are missing")

    def assert_temp_leftovers(self):
        """The temporary folder holds no program file, whole or partial, and
        no folder of an Update: a fetch that broke off deleted its file at
        once, and the others went with their run's folder."""
        leftovers = [p.relative_to(temp_folder()) for p in temp_folder().rglob("*")
                     if p.name.lower().endswith(".exe") or RUN_FOLDER.fullmatch(p.name)]
        self.assertEqual(leftovers, [], "left in the temporary folder")

    def setUp(self):
        for stale in temp_folder().iterdir():
            if stale.is_file():
                stale.unlink()

    # -- the catalogue

    def test_catalogue_faults(self):
        """One launch: a 500, a Content-Length longer than the body, a closed
        connection, random bytes, 101 entries, a 130-character line and a file
        over 1 MiB; every one refused with its message, Start still usable,
        Update never enabled, the installed program untouched."""
        url = BASE_URL + "Kestrel.ini"
        temp_ini = "C:\\users\\root\\Temp\\Kestrel.ini"
        good = catalogue(entry_line("Good.exe", NEW))
        noise = bytes(random.Random(7).randrange(256) for _ in range(4096))
        long_line = entry_line("Good.exe", NEW).ljust(127) + "xyz"
        many = catalogue(*(entry_line(f"Tool{i:03}.exe", NEW) for i in range(101)))
        huge = good + "\n" * (1024 * 1024)
        failed_fetch = ("Failed to retrieve version information", "Kestrel")
        cases = [
            ("500", good, {"Kestrel.ini": {"status": 500}},
             [("The server refused the request", url), failed_fetch]),
            ("content-length longer than body", good, {"Kestrel.ini": {"truncate": 20}},
             [("Internet read error", url), failed_fetch]),
            ("closed without an answer", good, {"Kestrel.ini": {"close": True}},
             [("SendRequest failed", url), failed_fetch]),
            ("random bytes", noise, {},
             [("Your version of Kestrel needs to be updated.\nGo to the Internet and get the latest version.",
               "Kestrel")]),
            ("101 entries", many, {}, [("The catalogue lists more than 100 programs.", "Kestrel")]),
            ("130-character line", catalogue(long_line), {}, [("Can't convert date / time.", "xyz")]),
            ("over 1 MiB", huge, {}, [("Can't open file", temp_ini)]),
            ("without end", good, {"Kestrel.ini": {"endless": True}}, [("Can't open file", temp_ini)]),
        ]
        self.assertEqual(len(long_line), 130)
        with Drives({"d": None}) as drives:
            installed = build_program(drives.path("d") / "Tools", "Good.exe", company="Corvel Freeware",
                                      version=OLD)
            before = installed.read_bytes()
            with maker_server() as server, Kestrel(proxy=server.proxy) as app:
                app.wait_ready()
                for name, content, behaviour, expected in cases:
                    with self.subTest(name):
                        server.put("Kestrel.ini", content)
                        server.behave(behaviour)
                        self.start_scan(app)
                        self.assertEqual(self.boxes(app, len(expected)), expected)
                        state = app.state()
                        self.assertTrue(self.button(state, START), "Start disabled after a refused catalogue")
                        self.assertFalse(self.button(state, UPDATE), "Update enabled after a refused catalogue")
                        self.assertEqual(state["dialogs"], [])
                        if name in ("over 1 MiB", "without end"):
                            self.assertFalse((temp_folder() / "Kestrel.ini").exists(), "the refused catalogue stayed")
                self.assertEqual(installed.read_bytes(), before)
                app.close()
                self.assertEqual(app.wait_exit(), 0)
        self.assertFalse((temp_folder() / "Kestrel.ini").exists(), "the catalogue outlived the program")

    def test_stalled_server_times_out(self):
        """The server sends half the catalogue and goes quiet: after the receive
        time-out the fetch ends with "Internet read error", and the program can
        then be closed."""
        with Drives({"d": None}):
            with maker_server(files={"Kestrel.ini": catalogue(entry_line("Good.exe", NEW))},
                              behaviour={"Kestrel.ini": {"stall": 300}}) as server, \
                    Kestrel(proxy=server.proxy) as app:
                app.wait_ready()
                self.start_scan(app)
                self.assertEqual(self.boxes(app, 2, timeout=120),
                                 [("Internet read error", BASE_URL + "Kestrel.ini"),
                                  ("Failed to retrieve version information", "Kestrel")])
                app.close()
                self.assertEqual(app.wait_exit(), 0)

    # -- the downloads of an update

    def test_server_dies_mid_body(self):
        """The server process is killed while it sends the second program: the
        first is replaced, the second stays the old file, its partial download
        is deleted."""
        with Drives({"d": None}) as drives, tempfile.TemporaryDirectory(prefix="dying-server-") as root:
            root = pathlib.Path(root)
            (root / "Utils").mkdir()
            first = build_program(root / "Utils", "First.exe", company="Corvel Freeware", version=NEW)
            second = build_program(root / "Utils", "Second.exe", company="Corvel Freeware", version=NEW,
                                   padding=300_000)
            (root / "Utils" / "Kestrel.ini").write_text(
                catalogue(entry_line("First.exe", NEW), entry_line("Second.exe", NEW)))
            (root / "behaviour.json").write_text('{"Second.exe": {"stall": 600}}')
            for name in ("First.exe", "Second.exe"):
                build_program(drives.path("d") / "Tools", name, company="Corvel Freeware", version=OLD)
            before = {"d": snapshot(drives.path("d"))}
            new_files = {"First.exe": first.read_bytes(), "Second.exe": second.read_bytes()}
            with server_process(root) as server, Kestrel(proxy=server.proxy) as app:
                app.wait_ready()
                self.scan_until_ready(app)
                app.click("&Update")
                wait_until(lambda: server.log.exists() and "Second.exe" in server.log.read_text(), 120,
                           "the second download")
                time.sleep(0.5)  # let the first half of the body reach Kestrel
                server.send_signal(signal.SIGKILL)
                boxes, state = answer_boxes_until(app, lambda s: s["status"][0] == "Done", "the update", timeout=120)
                self.assertEqual(boxes, [("Internet read error", BASE_URL + "Second.exe"),
                                         ("Can't replace this file", "D:\\Tools\\Second.exe")])
                self.assertEqual(state["list"], [])
                self.assert_old_or_new(drives, "d", before, new_files, {"D:\\Tools\\First.exe"})
                self.assert_temp_leftovers()
                app.close()
                self.assertEqual(app.wait_exit(), 0)

    def test_content_length_longer_than_body(self):
        """The server announces the whole length of the second program and
        closes early: it is refused and its partial file deleted, the first
        program is still replaced. A second run, whose download of that
        program is refused, replaces nothing."""
        self.run_update_with_faulty_download(
            {"Second.exe": {"truncate": 5000}},
            [("Internet read error", BASE_URL + "Second.exe"),
             ("Can't replace this file", "D:\\Tools\\Second.exe")], rerun_refused=True)

    def test_full_temporary_folder(self):
        """The temporary folder lies on a 64 KiB file system that fills up
        while the second program downloads."""
        with tiny_tmpfs() as (tiny, refused):
            if refused:
                self.skipTest(refused)
            with temp_folder_on(tiny):
                self.run_update_with_faulty_download(
                    {}, [("Unknown error", "C:\\users\\root\\Temp\\K#\\Second.exe"),
                         ("Can't replace this file", "D:\\Tools\\Second.exe")])

    def run_update_with_faulty_download(self, behaviour, expected, rerun_refused=False):
        with Drives({"d": None}) as drives, maker_server() as server:
            first = build_program(server.utils, "First.exe", company="Corvel Freeware", version=NEW)
            second = build_program(server.utils, "Second.exe", company="Corvel Freeware", version=NEW,
                                   padding=200_000)
            server.put("Kestrel.ini", catalogue(entry_line("First.exe", NEW), entry_line("Second.exe", NEW)))
            server.behave(behaviour)
            for name in ("First.exe", "Second.exe"):
                build_program(drives.path("d") / "Tools", name, company="Corvel Freeware", version=OLD)
            before = {"d": snapshot(drives.path("d"))}
            new_files = {"First.exe": first.read_bytes(), "Second.exe": second.read_bytes()}
            with Kestrel(proxy=server.proxy) as app:
                app.wait_ready()
                self.scan_until_ready(app)
                boxes, state = self.update_until_done(app)
                # The Update's own folder has a number that changes from run to run.
                boxes = [(text, RUN_FOLDER_IN_PATH.sub(r"\\K#\\", caption)) for text, caption in boxes]
                self.assertEqual(boxes, expected)
                self.assertEqual(state["list"], [])
                self.assert_old_or_new(drives, "d", before, new_files, {"D:\\Tools\\First.exe"})
                self.assert_temp_leftovers()
                app.close()
                self.assertEqual(app.wait_exit(), 0)
            if not rerun_refused:
                return
            server.behave({"Second.exe": {"status": 404}})
            with Kestrel(proxy=server.proxy) as app:
                app.wait_ready()
                self.assertEqual(self.scan_until_ready(app)["list"], ["D:\\Tools\\Second.exe"])
                boxes, state = self.update_until_done(app)
                self.assertEqual(boxes, [("The server refused the request", BASE_URL + "Second.exe"),
                                         ("Can't replace this file", "D:\\Tools\\Second.exe")])
                self.assert_old_or_new(drives, "d", before, new_files, {"D:\\Tools\\First.exe"})
                app.close()
                self.assertEqual(app.wait_exit(), 0)

    def test_targets_that_cannot_or_must_not_be_replaced(self):
        """One update over copies of one program: a plain one, one held open
        without sharing by another process, a read-only one, a hidden one, one
        on a 64 KiB file system too small for the new file, and two with paths
        of 259 characters (only the one whose folder leaves room for the
        temporary copy's name is replaced). Of three more programs the server sends another
        maker's file, an error page with status 200, and a 404. Folders 17 levels deep
        and a directory symlink loop lie on further drives."""
        with tiny_tmpfs() as (tiny, refused), \
                Drives({"d": None, "e": tiny, "f": None, "g": None, "h": None}) as drives, \
                maker_server() as server:
            new_good = build_program(server.utils, "Good.exe", company="Corvel Freeware", version=NEW,
                                     padding=100_000)
            long_name = "Corvel Utility With A Long Name.exe"
            new_long = build_program(server.utils, long_name, company="Corvel Freeware", version=NEW)
            # Answered 200 with the wrong contents: another maker's file, an error page.
            build_program(server.utils, "Stranger.exe", company="Someone Else", version=NEW)
            server.put("Page.exe", "<html><body>Moved to our new site</body></html>\n")
            server.put("Kestrel.ini", catalogue(*(entry_line(name, NEW) for name in (
                "Good.exe", long_name, "Stranger.exe", "Page.exe", "Missing.exe"))))
            server.behave({"Missing.exe": {"status": 404}})
            d = drives.path("d")
            for folder in ("Plain", "Locked", "ReadOnly", "Hidden"):
                build_program(d / folder, "Good.exe", company="Corvel Freeware", version=OLD)
            for name in ("Stranger.exe", "Page.exe", "Missing.exe"):
                build_program(d / "Plain", name, company="Corvel Freeware", version=OLD)
            build_program(drives.path("e"), "Good.exe", company="Corvel Freeware", version=OLD)
            # F: two paths of exactly 259 characters, one per name length.
            long_paths = []
            for name in ("Good.exe", long_name):
                folder = drives.path("f") / ("L" * (MAX_PATH_CHARS - len("F:\\\\") - len(name)))
                build_program(folder, name, company="Corvel Freeware", version=OLD)
                long_paths.append(win_path("f", (folder / name).relative_to(drives.path("f"))))
                self.assertEqual(len(long_paths[-1]), MAX_PATH_CHARS)
            # G: the program 16 and 17 folders below the root.
            deep = drives.path("g")
            for level in range(1, 18):
                deep = deep / f"{level:02}"
                if level >= 16:
                    build_program(deep, "Good.exe", company="Corvel Freeware", version=OLD)
            # H: a folder that leads back to the root.
            (drives.path("h") / "sub").mkdir()
            (drives.path("h") / "sub" / "loop").symlink_to("..")
            (d / "ReadOnly" / "Good.exe").chmod(0o444)
            hide(win_path("d", "Hidden\\Good.exe"))
            letters = "defg"
            before = {letter: snapshot(drives.path(letter)) for letter in letters}
            new_files = {"Good.exe": new_good.read_bytes(), long_name: new_long.read_bytes()}
            level16 = "G:\\" + "\\".join(f"{level:02}" for level in range(1, 17)) + "\\Good.exe"

            with Kestrel(proxy=server.proxy) as app:
                app.wait_ready()
                state = self.scan_until_ready(app)
                listed = sorted(state["list"], key=str.lower)
                self.assertEqual(listed, sorted([
                    "D:\\Hidden\\Good.exe", "D:\\Locked\\Good.exe", "D:\\Plain\\Good.exe",
                    "D:\\Plain\\Missing.exe", "D:\\Plain\\Page.exe", "D:\\Plain\\Stranger.exe",
                    "D:\\ReadOnly\\Good.exe", "E:\\Good.exe",
                    *long_paths, level16], key=str.lower))
                # Taken after the scan, which could not have read a locked file.
                with running_tool("lock", win_path("d", "Locked\\Good.exe")):
                    boxes, state = self.update_until_done(app)
                # Without the tiny file system, E: is a plain folder and its copy is replaced.
                kept = {"D:\\Hidden\\Good.exe", "D:\\Locked\\Good.exe", "D:\\Plain\\Missing.exe",
                        "D:\\Plain\\Page.exe", "D:\\Plain\\Stranger.exe", "D:\\ReadOnly\\Good.exe",
                        long_paths[0]}
                if not refused:
                    kept.add("E:\\Good.exe")
                not_expected = "The downloaded file is not the expected program."
                # Copies whose program was not downloaded get no reason: its own box gave it.
                reasons = {"D:\\Hidden\\Good.exe": "\n\nThe file is hidden or a system file.",
                           "D:\\Locked\\Good.exe": "\n\nThe program is in use. Close it, then start Kestrel again.",
                           "D:\\ReadOnly\\Good.exe": "\n\nThe file is read-only.",
                           long_paths[0]: "\n\n" + FILENAME_TOO_LONG,
                           "E:\\Good.exe": "\n\n" + DISK_FULL}
                # A download that is not the program is found on the copy beside
                # its first listed copy, before that copy is moved in.
                expected = [("The server refused the request", BASE_URL + "Missing.exe")]
                for path in listed:
                    if path in ("D:\\Plain\\Page.exe", "D:\\Plain\\Stranger.exe"):
                        expected.append((not_expected, BASE_URL + path.rsplit("\\", 1)[1]))
                    if path in kept:
                        expected.append(("Can't replace this file" + reasons.get(path, ""), path))
                self.assertEqual(boxes, expected)
                self.assertEqual(state["list"], [])
                self.assert_temp_leftovers()
                app.close()
                self.assertEqual(app.wait_exit(), 0)
            replaced = {path for path in listed if path not in kept}
            expected_new = {"D:\\Plain\\Good.exe", long_paths[1], level16}
            self.assertEqual(replaced, expected_new | ({"E:\\Good.exe"} if refused else set()))
            self.assert_old_or_new(drives, letters, before, new_files, replaced)
        if refused:
            with self.subTest("the program's folder fills up during the replacement"):
                self.skipTest(refused)


if __name__ == "__main__":
    unittest.main(verbosity=2)
