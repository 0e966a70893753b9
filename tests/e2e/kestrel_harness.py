"""Shared helpers of the end-to-end tests: run the real Kestrel.exe under Wine
on the virtual display and drive it from outside.

ctest runs each test in a Wine session of its own (tests/harness/test-session.sh
inside the session of tests/harness/wine-session.sh: WINEPREFIX and DISPLAY
set, no Z: drive) and gives KESTREL_BUILD_DIR and KESTREL_SOURCE_DIR. A test
typically reads:

    from kestrel_harness import Drives, Kestrel, build_program, maker_server

    with Drives({"d": None, "f": None}) as drives:         # fresh empty fixed drives
        build_program(drives.path("d") / "Tools", "Sample.exe",
                      company="Corvel Freeware", version=(1, 2, 0, 6))
        with maker_server(files={"Kestrel.ini": text}) as server, \\
             Kestrel(proxy=server.proxy) as app:
            app.wait_ready()                                # window shown, list filled
            app.key("alt+s")                                # or app.click("&Start")
            state = app.wait_for(lambda s: s["status"][0] == "Ready to update")
            app.close()
            assert app.wait_exit() == 0

Pieces
    Drives(mapping)        maps drive letters to folders (None: a fresh empty
                           temporary folder) in $WINEPREFIX/dosdevices and removes
                           every mapping but C: again on exit. drives.path(letter)
                           is the Unix folder; drives.windows(letter, *parts) the
                           Windows path.
    build_program(folder, name, company=..., version=..., ...)
                           a tiny Windows program with the version resource asked
                           for (windres + MinGW gcc), written to folder/name.
    maker_server(files=..., behaviour=..., certificate=...)
                           tools/maker_server.py on 127.0.0.1 serving a temporary
                           root whose Utils/ folder holds `files` (name -> bytes or
                           text); .proxy is the http_proxy value for Kestrel,
                           .requests() the request lines so far,
                           .request_headers() each with its headers. With
                           certificate=(PEM file, key file) it speaks TLS;
                           .use_certificate(...) switches certificates.
    Kestrel(proxy=None, env=None, timeout=120, executable=None, install_folder="kestrel")
                           starts C:\\kestrel\\Kestrel.exe (a copy of the build's
                           program, or of another build's executable) under wine;
                           state(), driver(...), click(label), command(id),
                           key(keys), box_ok(), close(), wait_for(pred),
                           wait_exit(), screenshot(path).
    temp_folder()          the prefix's temporary folder (Unix path), where Kestrel
                           keeps Kestrel.ini and the downloaded files.

Everything waits by polling with a deadline; a deadline that passes raises
HarnessTimeout with the last state seen, so a hung program fails the test
instead of hanging it.
"""

import atexit
import contextlib
import getpass
import json
import os
import pathlib
import select
import shutil
import subprocess
import sys
import tempfile
import threading
import time

BUILD_DIR = pathlib.Path(os.environ.get("KESTREL_BUILD_DIR", "build/win")).resolve()
SOURCE_DIR = pathlib.Path(os.environ.get("KESTREL_SOURCE_DIR",
                                         pathlib.Path(__file__).resolve().parents[2])).resolve()
KESTREL_EXE = BUILD_DIR / "bin" / "Kestrel.exe"
DRIVER_EXE = BUILD_DIR / "bin" / "KestrelDriver.exe"

# Command identifiers of the main window.
EXIT, START, UPDATE, ABOUT = 40001, 40002, 40003, 40004


def _end_process(process, grace):
    """Waits grace seconds for process to end, then asks it to stop, then kills it."""
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        # timeout(1) passes SIGTERM on to wine; SIGKILL would stop only itself.
        process.terminate()
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class HarnessTimeout(AssertionError):
    pass


def _prefix():
    prefix = os.environ.get("WINEPREFIX")
    if not prefix:
        raise RuntimeError("run the end-to-end tests inside tests/harness/wine-session.sh")
    return pathlib.Path(prefix)


def drive_c():
    return _prefix() / "drive_c"


def temp_folder():
    """The prefix's temporary folder, as GetTempPathA reports it to Kestrel."""
    return drive_c() / "users" / getpass.getuser() / "Temp"


def _wine_env(extra=None):
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("TZ", "Europe/Berlin")
    env.pop("http_proxy", None)
    env.pop("HTTP_PROXY", None)
    if extra:
        env.update(extra)
    return env


# --------------------------------------------------------------------------
# Drives


class Drives:
    """Maps drive letters to folders for the lifetime of a with-block.

    Every mapping but C: that exists on entry is removed (never leave a Z: that
    would let a scan walk the whole machine); on exit the mappings made here
    and the fresh folders are removed again.
    """

    def __init__(self, mapping):
        self.mapping = {letter.lower(): folder for letter, folder in mapping.items()}
        self._made = []
        self._folders = {}

    def __enter__(self):
        devices = _prefix() / "dosdevices"
        for link in devices.glob("?:"):
            if link.name != "c:":
                link.unlink()
        for letter, folder in self.mapping.items():
            if letter == "c":
                raise ValueError("drive C: is the prefix's own")
            if folder is None:
                folder = pathlib.Path(tempfile.mkdtemp(prefix=f"drive-{letter}-"))
                self._made.append(folder)
            folder = pathlib.Path(folder)
            folder.mkdir(parents=True, exist_ok=True)
            (devices / f"{letter}:").symlink_to(folder)
            self._folders[letter] = folder
        return self

    def __exit__(self, *exc):
        devices = _prefix() / "dosdevices"
        for letter in self._folders:
            with contextlib.suppress(FileNotFoundError):
                (devices / f"{letter}:").unlink()
        for folder in self._made:
            subprocess.run(["chmod", "-R", "u+rwx", str(folder)], check=False)
            shutil.rmtree(folder, ignore_errors=True)
        return False

    def path(self, letter):
        return self._folders[letter.lower()]

    @staticmethod
    def windows(letter, *parts):
        return letter.upper() + ":\\" + "\\".join(parts)


# --------------------------------------------------------------------------
# Test programs

_PROGRAM_SOURCE = """#include <stdlib.h>
#include <windows.h>
int main(int argc, char **argv)
{
    if (argc == 3 && lstrcmpA(argv[1], "--wait") == 0)
        Sleep(1000 * atoi(argv[2]));
    return 0;
}
"""


def _rc_string(value):
    return '"' + value.replace('"', '""') + '\\0"'


_program_objects = {}
_object_folder = None


def _program_object(padding):
    """The compiled program body, once per padding size and test process."""
    global _object_folder
    if padding not in _program_objects:
        if _object_folder is None:
            _object_folder = tempfile.TemporaryDirectory(prefix="program-objects-")
        folder = pathlib.Path(_object_folder.name)
        source = folder / f"program-{padding}.c"
        text = _PROGRAM_SOURCE
        if padding:
            text += f"const char padding[{padding}] = {{1}};\n"
        source.write_text(text)
        target = folder / f"program-{padding}.o"
        subprocess.run(["x86_64-w64-mingw32-gcc", "-O1", "-c", str(source), "-o", str(target)], check=True)
        _program_objects[padding] = target
    return _program_objects[padding]


def build_program(folder, name, company=None, version=(1, 0, 0, 0), block="040904E4",
                  translation=(0x409, 1252), strings=None, no_version=False, padding=0):
    """Builds a tiny console program with the version resource asked for.

    company=None leaves CompanyName out; strings adds further values
    ({"LegalCopyright": "..."}); no_version leaves the whole resource out;
    padding adds that many bytes of data so files differ in size. The program
    waits N seconds when run with "--wait N". Returns the path of the file.
    """
    folder = pathlib.Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    target = folder / name
    inputs = [str(_program_object(padding))]
    with tempfile.TemporaryDirectory(prefix="program-") as work:
        work = pathlib.Path(work)
        if not no_version:
            values = dict(strings or {})
            if company is not None:
                values = {"CompanyName": company, **values}
            values.setdefault("FileVersion", ".".join(str(part) for part in version))
            lines = "".join(f'      VALUE "{key}", {_rc_string(value)}\n' for key, value in values.items())
            numbers = ",".join(str(part) for part in version)
            rc = work / "program.rc"
            rc.write_text(
                f"1 VERSIONINFO\nFILEVERSION {numbers}\nPRODUCTVERSION {numbers}\nBEGIN\n"
                f'  BLOCK "StringFileInfo"\n  BEGIN\n    BLOCK "{block}"\n    BEGIN\n{lines}    END\n  END\n'
                f'  BLOCK "VarFileInfo"\n  BEGIN\n    VALUE "Translation", {translation[0]:#x}, {translation[1]}\n'
                "  END\nEND\n", encoding="cp1252")
            res = work / "program.res.o"
            subprocess.run(["x86_64-w64-mingw32-windres", str(rc), "-O", "coff", "-o", str(res)], check=True)
            inputs.append(str(res))
        subprocess.run(["x86_64-w64-mingw32-gcc", "-s", *inputs, "-o", str(target)], check=True)
    return target


# --------------------------------------------------------------------------
# The maker's server


class _Server:
    def __init__(self, server, root, port):
        self._server = server
        self.root = root
        self.utils = root / "Utils"
        self.port = port
        self.proxy = f"http://127.0.0.1:{port}"

    def requests(self):
        return self._server.requests()

    def request_headers(self):
        return self._server.request_headers()

    def use_certificate(self, certificate_file, key_file):
        self._server.use_certificate(certificate_file, key_file)

    def put(self, name, content):
        """Adds or replaces a file in the server's Utils/ folder."""
        data = content.encode("cp1252") if isinstance(content, str) else content
        (self.utils / name).write_bytes(data)

    def behave(self, behaviour):
        """Sets the misbehaviour table (see tools/maker_server.py)."""
        (self.root / "behaviour.json").write_text(json.dumps(behaviour))


@contextlib.contextmanager
def maker_server(files=None, behaviour=None, certificate=None):
    """The loopback stand-in for the maker's server; Kestrel reaches it through
    http_proxy under its real built-in address, or, speaking TLS, directly."""
    sys.path.insert(0, str(SOURCE_DIR / "tools"))
    try:
        from maker_server import MakerServer
    finally:
        sys.path.pop(0)
    with tempfile.TemporaryDirectory(prefix="maker-server-") as root:
        root = pathlib.Path(root)
        (root / "Utils").mkdir()
        server = MakerServer(str(root), certificate=certificate)
        port = server.start()
        handle = _Server(server, root, port)
        for name, content in (files or {}).items():
            handle.put(name, content)
        if behaviour:
            handle.behave(behaviour)
        try:
            yield handle
        finally:
            server.stop()


# --------------------------------------------------------------------------
# The running program


def _install(executable, folder_name="kestrel"):
    """Copies a built program under drive_c\\<folder_name> (Z: does not exist)."""
    folder = drive_c() / folder_name
    folder.mkdir(exist_ok=True)
    target = folder / executable.name
    if not target.exists() or target.stat().st_mtime < executable.stat().st_mtime:
        shutil.copy2(executable, target)
    return f"C:\\{folder_name}\\" + executable.name


KEPT_STATE_KEY = r"HKCU\Software\Corvel\Kestrel"
# Kept there too by an elevated Kestrel, as every Kestrel under Wine is.
KEPT_MACHINE_KEY = r"HKLM\Software\Corvel\Kestrel"


def forget_kept_state():
    """Removes what a signed Kestrel keeps in the registry (the newest
    catalogue issue time it used), so no test sees another's."""
    for key in (KEPT_STATE_KEY, KEPT_MACHINE_KEY):
        subprocess.run(["timeout", "60", "wine", "reg", "delete", key, "/f"], env=_wine_env(),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)


class Kestrel:
    """Kestrel.exe running under Wine for the length of a with-block.

    On leaving the block a program still running is closed (WM_CLOSE, then
    killed after a grace period), so one failing test does not leave a window
    for the next.
    """

    def __init__(self, proxy=None, env=None, timeout=300, executable=None, install_folder="kestrel", args=()):
        """executable: another build of Kestrel.exe (default: the build's own),
        run from C:\\<install_folder> so the copies of two builds never mix;
        args: its command line."""
        self.args = list(args)
        self.executable = executable or KESTREL_EXE
        self.install_folder = install_folder
        self.extra_env = dict(env or {})
        if proxy:
            self.extra_env["http_proxy"] = proxy
        self.timeout = timeout
        self.process = None
        self.returncode = None
        self.last_state = None
        self._log = None

    # -- life cycle

    def __enter__(self):
        program = _install(self.executable, self.install_folder)
        forget_kept_state()
        self._log = tempfile.TemporaryFile()
        self.process = subprocess.Popen(
            ["timeout", "-k", "10", str(self.timeout), "wine", program, *self.args],
            env=_wine_env(self.extra_env), stdout=self._log, stderr=subprocess.STDOUT,
            stdin=subprocess.DEVNULL, cwd=drive_c() / self.install_folder)  # current folder: the program's
        return self

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            with contextlib.suppress(Exception):
                self.close()
            _end_process(self.process, 20)
        if self._log:
            self._log.close()
        return False

    def wait_exit(self, timeout=60):
        """Waits for the program to end; its exit code (124: it was killed by the time limit)."""
        self.returncode = self.process.wait(timeout)
        return self.returncode

    def output(self):
        self._log.seek(0)
        return self._log.read().decode("utf-8", "replace")

    # -- the driver

    def driver(self, *args, check=True):
        """Asks KestrelDriver.exe to carry out args; its JSON answer."""
        return run_driver(*args, check=check)

    def state(self):
        """Main window, list lines, status panes, buttons, open dialogs (see tools/driver)."""
        self.last_state = self.driver("state")
        return self.last_state

    def wait_for(self, predicate, timeout=60, what="condition"):
        """Polls state() until predicate(state) is true; the state that satisfied it."""
        deadline = time.monotonic() + timeout
        while True:
            if self.process.poll() is not None:
                raise AssertionError(f"Kestrel ended (code {self.process.returncode}) while waiting for {what}")
            state = self.state()
            with contextlib.suppress(KeyError, IndexError, TypeError):
                if predicate(state):
                    return state
            if time.monotonic() > deadline:
                raise HarnessTimeout(f"timed out waiting for {what}; last state: {state}")
            time.sleep(0.1)

    def wait_ready(self, timeout=90):
        """Waits until the main window is shown with its buttons and information lines."""
        return self.wait_for(lambda s: s["running"] and s["visible"] and s["buttons"] and len(s["list"]) >= 2,
                             timeout, "the main window")

    def wait_box(self, timeout=60):
        """Waits for a message box; returns {"caption":..., "text":...}."""
        state = self.wait_for(lambda s: any(d["kind"] == "message" for d in s["dialogs"]),
                              timeout, "a message box")
        return next(d for d in state["dialogs"] if d["kind"] == "message")

    def box_ok(self):
        return self.driver("box-ok")

    def click(self, label):
        return self.driver("click", label)

    def command(self, command_id):
        return self.driver("command", command_id)

    def close(self):
        return self.driver("close")

    def memory(self):
        return self.driver("memory")

    # -- keyboard and screen (the X server; there is no window manager)

    def key(self, keys, window_name="^Kestrel$"):
        """Sends keystrokes to the window with this title, focusing it first."""
        window = self._x_window(window_name)
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, timeout=20)
        subprocess.run(["xdotool", "key", "--window", window, *keys.split()], check=True, timeout=20)

    @staticmethod
    def _x_window(window_name, timeout=30):
        deadline = time.monotonic() + timeout
        while True:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", window_name],
                                   capture_output=True, text=True)
            ids = found.stdout.split()
            if ids:
                return ids[-1]
            if time.monotonic() > deadline:
                raise HarnessTimeout(f"no X window named {window_name}")
            time.sleep(0.2)

    @staticmethod
    def screenshot(path, rect=None):
        """Saves the screen, or the rectangle [left, top, right, bottom] of it, as PNG."""
        path = pathlib.Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        command = ["import", "-window", "root"]
        if rect:
            left, top, right, bottom = rect
            command += ["-crop", f"{right - left}x{bottom - top}+{max(left, 0)}+{max(top, 0)}", "+repage"]
        subprocess.run(command + [str(path)], check=True, timeout=60)
        return path


def run_driver(*args, check=True):
    """Asks KestrelDriver.exe (tools/driver) to carry out args; its JSON answer.

    With check, an answer that the window or control is not there raises
    AssertionError; usage errors and a driver that dies always do.
    """
    answer = _Driver.shared().ask(args)
    if "usage" in answer:
        raise AssertionError(f"driver {args}: {answer['usage']}")
    if check and answer.get("ok") is False:
        raise AssertionError(f"driver {args}: {answer}")
    return answer


class _Driver:
    """One KestrelDriver.exe serving the requests of the whole test process on
    its standard input, so a look at the window costs a round trip rather than
    the start of a Wine process. It ends with the test process, or when the
    test's Wine session ends."""

    ANSWER_TIMEOUT = 60
    _instance = None
    _lock = threading.Lock()

    @classmethod
    def shared(cls):
        with cls._lock:
            if cls._instance is None or cls._instance.process.poll() is not None:
                cls._instance = cls()
            return cls._instance

    def __init__(self):
        program = _install(DRIVER_EXE)
        self._errors = tempfile.TemporaryFile()
        # On a loaded machine Wine now and then fails to start a program at
        # all; a driver that never says it is ready is started again.
        for _attempt in range(3):
            self._pending = b""
            self.process = subprocess.Popen(["timeout", "-k", "10", "7200", "wine", program],
                                            env=_wine_env(), stdin=subprocess.PIPE,
                                            stdout=subprocess.PIPE, stderr=self._errors)
            if self._read_answer() == {"ready": True}:
                atexit.register(self.stop)
                return
            self.stop()
            time.sleep(1)
        raise AssertionError(f"the driver did not start: {self._error_text()}")

    def ask(self, args):
        with self._lock:
            words = [str(arg) for arg in args]
            if any("\t" in word or "\n" in word for word in words):
                raise ValueError(f"driver arguments hold a tab or line break: {args}")
            try:
                self.process.stdin.write(("\t".join(words) + "\n").encode("utf-8"))
                self.process.stdin.flush()
            except (BrokenPipeError, OSError):
                pass
            answer = self._read_answer()
            if answer is None:
                self.stop()
                raise AssertionError(f"driver {args} gave no answer ({self.process.returncode}): "
                                     f"{self._error_text()}")
            return answer

    def _read_answer(self):
        """The next answer line as JSON; None when the driver ended or took
        longer than ANSWER_TIMEOUT."""
        deadline = time.monotonic() + self.ANSWER_TIMEOUT
        stream = self.process.stdout.fileno()
        while b"\n" not in self._pending:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([stream], [], [], left)[0]:
                return None
            block = os.read(stream, 65536)
            if not block:
                return None
            self._pending += block
        line, self._pending = self._pending.split(b"\n", 1)
        try:
            return json.loads(line.decode("utf-8", "replace"))
        except ValueError:
            return None

    def stop(self):
        if self.process.poll() is None:
            with contextlib.suppress(OSError):
                self.process.stdin.close()
            _end_process(self.process, 10)
        for stream in (self.process.stdin, self.process.stdout):
            with contextlib.suppress(OSError):
                stream.close()

    def _error_text(self):
        self._errors.seek(0)
        return self._errors.read().decode("utf-8", "replace")[-500:]


def installed_kestrel():
    """The Windows path of the copy of Kestrel.exe the tests run."""
    return _install(KESTREL_EXE)


def cache_value(name):
    """A value of the build's CMake cache, e.g. KESTREL_UPDATE_FOLDER_URL."""
    for line in (BUILD_DIR / "CMakeCache.txt").read_text().splitlines():
        key, _, value = line.partition("=")
        if key.split(":")[0] == name:
            return value
    raise KeyError(name)


def stable_screenshot(path, rect, attempts=20):
    """A screenshot of rect taken once two in a row agree, so a window that
    is still painting is not caught half-drawn."""
    path = pathlib.Path(path)
    previous = path.with_suffix(".previous.png")
    Kestrel.screenshot(previous, rect)
    for _ in range(attempts):
        time.sleep(0.3)
        Kestrel.screenshot(path, rect)
        if same_image(previous, path):
            previous.unlink()
            return path
        shutil.copy(path, previous)
    previous.unlink()
    raise HarnessTimeout(f"the screen at {rect} kept changing")


def same_image(first, second):
    """True when two image files show exactly the same pixels."""
    result = subprocess.run(["compare", "-metric", "AE", str(first), str(second), "null:"],
                            capture_output=True, text=True)
    return result.returncode == 0 and result.stderr.strip().split()[0] in ("0", "0.0")
