"""What the scan and update end-to-end tests share beyond kestrel_harness:
catalogue text, the dates Kestrel stamps, files held by another Wine process,
and snapshots of installed programs."""

import datetime
import os
import pathlib
import subprocess
import tempfile
import time
import zoneinfo

from kestrel_harness import drive_c, _wine_env

CATALOGUE_URL = "http://updates.corvel.example/Utils/Kestrel.ini"
TOKEN_SECTION = "[L]\r\n&7(2?KwT\r\n"
# The maker's program most tests put in their catalogue: name, date, time, version.
SAMPLE = ("Sample.exe", "10/15/03", "2:30:00 PM", "1.2.0.7")


def catalogue(*entries, token=True):
    """Catalogue text for entries (name, "MM/DD/YY", "h:mm:ss AM", "a.b.c.d")."""
    lines = [f"{name}|0|{date}|{time_of_day}|-|{version}" for name, date, time_of_day, version in entries]
    return (TOKEN_SECTION if token else "[L]\r\nwrong token\r\n") + "[U]\r\n" + "".join(l + "\r\n" for l in lines)


def version_tuple(text):
    return tuple(int(part) for part in text.split("."))


def stamped_time(date, time_of_day):
    """The Unix time Kestrel gives a catalogue entry: the catalogue's local time
    turned into UTC with the offset in force now (daylight saving time
    included when it is in force today, whatever the entry's date)."""
    month, day, year = (int(part) for part in date.replace("-", "/").split("/"))
    year += 2000 if year < 80 else 1900
    clock, marker = time_of_day.split()
    hour, minute, second = (int(part) for part in clock.split(":"))
    if marker.upper().startswith("P") and hour < 12:
        hour += 12
    if marker.upper().startswith("A") and hour == 12:
        hour = 0
    offset = datetime.datetime.now(zoneinfo.ZoneInfo(os.environ.get("TZ", "Europe/Berlin"))).utcoffset()
    local = datetime.datetime(year, month, day, hour, minute, second, tzinfo=datetime.timezone.utc)
    return int((local - offset).timestamp())


class Snapshot:
    """Contents and last-write time of files, to show what changed."""

    def __init__(self, paths):
        self.files = {pathlib.Path(p): (pathlib.Path(p).read_bytes(), int(pathlib.Path(p).stat().st_mtime))
                      for p in paths}

    def unchanged(self, path):
        path = pathlib.Path(path)
        return (path.read_bytes(), int(path.stat().st_mtime)) == self.files[path]


def messages(state):
    """The open message boxes of a driver state, as (text, caption)."""
    return [(d["text"], d["caption"]) for d in state["dialogs"] if d["kind"] == "message"]


def buttons(state):
    return {b["label"]: b["enabled"] for b in state["buttons"]}


def scan_expecting_boxes(app, count, start=lambda app: app.click("&Start")):
    """Starts a scan and closes the `count` message boxes it shows (and any
    after them); their (text, caption) in order, and the state at its end."""
    start(app)
    return answer_boxes_until(app, lambda s: buttons(s)["&Start"], "the scan's end", count=count)


def answer_boxes_until(app, predicate, what, count=0, timeout=300):
    """Closes message boxes as they come, in order, until predicate holds with
    no box open and at least `count` boxes were closed; with no predicate,
    until `count` boxes were closed. Their (text, caption), and the state
    seen last."""
    seen = []
    deadline = time.monotonic() + timeout
    while True:
        enough = len(seen) >= count
        if enough and predicate is None:
            return seen, app.state()
        state = app.wait_for(lambda s: messages(s) or (enough and predicate(s)),
                             max(1, deadline - time.monotonic()), what)
        boxes = messages(state)
        if not boxes:
            return seen, state
        seen.append(boxes[0])
        app.box_ok()
        app.wait_for(lambda s: messages(s) != boxes, 60, "the box to close")


def start_and_update(app, after_scan=None, what="the update"):
    """Presses Start and waits for "Ready to update"; calls after_scan with a
    fresh look when given (to check what the scan listed, or to change what
    the server serves); presses Update and answers every box until "Done".
    The boxes and the last state, as answer_boxes_until gives them."""
    app.click("&Start")
    app.wait_for(lambda s: s["status"][0] == "Ready to update", 300, "the scan")
    if after_scan:
        after_scan(app.state())
    app.click("&Update")
    return answer_boxes_until(app, lambda s: s["status"][0] == "Done", what)


def folder_names(folder):
    return sorted(p.name for p in pathlib.Path(folder).iterdir())


_HOLDER_SOURCE = r"""#include <stdio.h>
#include <windows.h>
/* holder PATH READY: opens PATH without sharing, creates READY, sleeps until ended. */
int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    HANDLE held = CreateFileA(argv[1], GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (held == INVALID_HANDLE_VALUE)
        return 1;
    FILE *ready = fopen(argv[2], "w");
    if (ready)
        fclose(ready);
    Sleep(INFINITE);
    return 0;
}
"""


_TAMPERER_SOURCE = r"""#include <stdio.h>
#include <string.h>
#include <windows.h>
/* tamperer TEMP LOG: until ended, looks for program files in the Update
   folders TEMP\K*\ and tries to rewrite, rename, replace and delete each;
   LOG is rewritten after every round with "<files seen> <successes>". */
static int attempt(const char *path, const char *decoy, const char *away)
{
    int done = 0;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        done += WriteFile(file, "MZ tampered", 11, &written, NULL) && written == 11;
        CloseHandle(file);
    }
    if (MoveFileExA(path, away, 0)) {
        ++done;
        MoveFileExA(away, path, 0);
    }
    HANDLE other = CreateFileA(decoy, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (other != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(other, "MZ decoy", 8, &written, NULL);
        CloseHandle(other);
    }
    /* Tried, not counted: the Update deletes its downloads before "Done", and a
       move to a name it deleted a moment ago only makes a new file of the
       decoy. A held file that could be replaced could be renamed too, which
       the move above counts. */
    if (MoveFileExA(decoy, path, MOVEFILE_REPLACE_EXISTING))
        DeleteFileA(path);
    DeleteFileA(decoy);
    done += DeleteFileA(path) != 0;
    return done;
}
int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    long seen = 0, successes = 0;
    for (;;) {
        char pattern[MAX_PATH];
        snprintf(pattern, sizeof pattern, "%s\\K*", argv[1]);
        WIN32_FIND_DATAA folder;
        HANDLE folders = FindFirstFileA(pattern, &folder);
        while (folders != INVALID_HANDLE_VALUE) {
            char files[MAX_PATH];
            snprintf(files, sizeof files, "%s\\%s\\*.exe", argv[1], folder.cFileName);
            WIN32_FIND_DATAA found;
            HANDLE list = FindFirstFileA(files, &found);
            while (list != INVALID_HANDLE_VALUE) {
                char path[MAX_PATH];
                snprintf(path, sizeof path, "%s\\%s\\%s", argv[1], folder.cFileName, found.cFileName);
                ++seen;
                successes += attempt(path, "C:\\kestrel\\decoy.exe", "C:\\kestrel\\stolen.exe");
                if (!FindNextFileA(list, &found)) {
                    FindClose(list);
                    list = INVALID_HANDLE_VALUE;
                }
            }
            if (!FindNextFileA(folders, &folder)) {
                FindClose(folders);
                folders = INVALID_HANDLE_VALUE;
            }
        }
        FILE *log = fopen(argv[2], "w");
        if (log) {
            fprintf(log, "%ld %ld\n", seen, successes);
            fclose(log);
        }
        Sleep(1);
    }
}
"""


def tamperer(temp_windows_path, log):
    """A Wine process that keeps trying to change, rename, replace and delete
    the program files of every Update folder under temp_windows_path; it
    writes "<files seen> <successes>" to log (a path under C:\\kestrel)."""
    program = helper_program("tamperer", _TAMPERER_SOURCE)
    log_path = drive_c() / "kestrel" / log
    log_path.unlink(missing_ok=True)
    return WineProcess(program, temp_windows_path, "C:\\kestrel\\" + log, ready=log_path.exists)


def helper_program(name, source):
    """The Windows path of C:\\kestrel\\<name>.exe, built from the C source
    the first time it is asked for."""
    folder = drive_c() / "kestrel"
    folder.mkdir(exist_ok=True)
    program = folder / f"{name}.exe"
    if not program.exists():
        with tempfile.TemporaryDirectory() as work:
            source_file = pathlib.Path(work, f"{name}.c")
            source_file.write_text(source)
            subprocess.run(["x86_64-w64-mingw32-gcc", "-O1", "-s", str(source_file), "-o", str(program)], check=True)
    return "C:\\kestrel\\" + program.name


class WineProcess:
    """Another Windows program running alongside Kestrel for a with-block."""

    def __init__(self, *command, ready=None):
        self.command = command
        self.ready = ready

    def __enter__(self):
        self.process = subprocess.Popen(["timeout", "-k", "5", "900", "wine", *self.command],
                                        env=_wine_env(), stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
        deadline = time.monotonic() + 60
        while self.ready and not self.ready():
            if self.process.poll() is not None or time.monotonic() > deadline:
                raise AssertionError(f"{self.command} did not get ready")
            time.sleep(0.2)
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        try:
            self.process.wait(20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        return False


def file_holder(windows_path):
    """A Wine process holding windows_path open without sharing."""
    program = helper_program("holder", _HOLDER_SOURCE)
    ready = drive_c() / "kestrel" / "holder.ready"
    ready.unlink(missing_ok=True)
    return WineProcess(program, windows_path, "C:\\kestrel\\holder.ready", ready=ready.exists)


def running_program(windows_path, marker_check):
    """A program file started and kept running (the test programs' --wait)."""
    return WineProcess(windows_path, "--wait", "600", ready=marker_check)


def stop_serving(server):
    """Stops the maker's server of kestrel_harness.maker_server early: from now
    on the proxy refuses connections, as an unreachable server does."""
    server._server.stop()
