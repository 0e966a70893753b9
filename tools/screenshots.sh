#!/usr/bin/env bash
# Takes the README's pictures of the main window and the About box under the
# virtual display into docs/images/ (PNG). There is no window manager under
# Xvfb, so the pictures show the windows without title bars.
#
#   tools/screenshots.sh [BUILD_DIR]     default: build/win
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
cmake --build "$build" -j2 --target Kestrel KestrelDriver >/dev/null

# shellcheck source=tests/harness/wine-session.sh
source "$root/tests/harness/wine-session.sh" >/dev/null
export KESTREL_BUILD_DIR="$build" KESTREL_SOURCE_DIR="$root"
timeout 300 python3 - <<'PY'
import os
import sys

root = os.environ["KESTREL_SOURCE_DIR"]
sys.path.insert(0, root + "/tests/e2e")
from kestrel_harness import Drives, Kestrel, stable_screenshot

images = os.path.join(root, "docs", "images")
with Drives({"d": None}), Kestrel() as app:
    state = app.wait_ready()
    stable_screenshot(os.path.join(images, "main-window.png"), state["rect"])
    app.click("About")
    state = app.wait_for(lambda s: s["about"], what="the About box")
    stable_screenshot(os.path.join(images, "about-box.png"), state["dialogs"][0]["rect"])
    app.driver("about-ok")
    app.wait_for(lambda s: not s["about"], what="the About box to close")
    app.close()
    app.wait_exit()
print("Wrote", images + "/main-window.png and about-box.png")
PY
