#!/usr/bin/env python3
"""The unattended half of tools/demo.sh: drives Kestrel on the virtual display.

    run_demo.py WORK IMAGES

WORK is the demo folder of demo.sh (drive/ mapped as D:, and maker/ of
tests/harness/maker-server.sh: the served root/ with its requests.log, and
port); IMAGES receives demo-start.png, demo-scanned.png and
demo-updated.png. Presses Start, then Update, answers any message box, and
prints what was replaced.
"""

import datetime
import os
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]
os.environ.setdefault("KESTREL_BUILD_DIR", str(ROOT / "build" / "win"))
os.environ.setdefault("KESTREL_SOURCE_DIR", str(ROOT))
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
from kestrel_harness import Kestrel  # noqa: E402


def wait_answering_boxes(app, predicate, what):
    """Waits for predicate, closing (and printing) any message box on the way."""
    while True:
        state = app.wait_for(lambda s: predicate(s) or any(d["kind"] == "message" for d in s["dialogs"]),
                             timeout=300, what=what)
        boxes = [d for d in state["dialogs"] if d["kind"] == "message"]
        if not boxes:
            return state
        print(f"  message: {boxes[0]['text']!r} ({boxes[0]['caption']})")
        app.box_ok()


def unix_path(drive_root, windows_path):
    assert windows_path[:3].upper() == "D:\\", windows_path
    return pathlib.Path(drive_root, *windows_path[3:].split("\\"))


def main(work, images):
    work, images = pathlib.Path(work), pathlib.Path(images)
    utils = work / "maker" / "root" / "Utils"
    port = (work / "maker" / "port").read_text().strip()
    with Kestrel(proxy=f"http://127.0.0.1:{port}") as app:
        state = app.wait_ready()
        app.screenshot(images / "demo-start.png", state["rect"])
        print("Kestrel is up. Pressing Start ...")
        app.click("&Start")
        state = wait_answering_boxes(app, lambda s: s["status"][0] in ("Ready to update", "Nothing to update."),
                                     "the scan")
        app.screenshot(images / "demo-scanned.png", state["rect"])
        listed = list(state["list"])
        print(f"Scan: {state['status'][0]} ({state['status'][1]})")
        for line in listed:
            print(f"  {line}")
        if state["status"][0] != "Ready to update":
            app.close()
            return 1

        print("Pressing Update ...")
        app.click("&Update")
        state = wait_answering_boxes(app, lambda s: s["status"][0] == "Done", "the update")
        app.screenshot(images / "demo-updated.png", state["rect"])
        print("Update: Done. What each listed copy is now:")
        for line in listed:
            installed = unix_path(work / "drive", line)
            served = next((f for f in utils.iterdir() if f.name.lower() == installed.name.lower()), None)
            same = served is not None and installed.read_bytes() == served.read_bytes()
            stamp = datetime.datetime.fromtimestamp(installed.stat().st_mtime, datetime.timezone.utc)
            verdict = f"replaced by the server's {served.name}" if same else "NOT replaced"
            print(f"  {line}: {verdict}, dated {stamp:%Y-%m-%d %H:%M:%S} UTC")
        app.close()
        code = app.wait_exit()
    print("Requests the server received:")
    for request in (work / "maker" / "root" / "requests.log").read_text().splitlines():
        print(f"  {request}")
    print(f"Kestrel ended with exit code {code}. Screenshots: {images}/demo-*.png")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
