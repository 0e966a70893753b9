#!/usr/bin/env bash
# Prints Kestrel's figures: the size of Kestrel.exe, its start-up time from
# the entry point to the first paint of the main window (measured inside the
# program: KESTREL_TIMING names the file it writes the time to), and the
# private memory of the idle program. Runs under a throw-away Wine session.
#
#   tools/measure.sh [BUILD_DIR]     default: build/win (a Release build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win}" && pwd)
runs=${KESTREL_MEASURE_RUNS:-5}

cmake --build "$build" -j2 --target Kestrel KestrelDriver >/dev/null
size=$(stat -c %s "$build/bin/Kestrel.exe")
awk -v s="$size" 'BEGIN { printf "Kestrel.exe size: %d bytes (%.1f KiB; goal under 256 KiB)\n", s, s / 1024 }'

# shellcheck source=tests/harness/wine-session.sh
source "$root/tests/harness/wine-session.sh" >/dev/null
export KESTREL_BUILD_DIR="$build" KESTREL_SOURCE_DIR="$root" KESTREL_MEASURE_RUNS="$runs"
timeout 900 python3 - <<'PY'
import statistics
import sys
import time

sys.path.insert(0, __import__("os").environ["KESTREL_SOURCE_DIR"] + "/tests/e2e")
from kestrel_harness import Drives, Kestrel, drive_c

runs = int(__import__("os").environ["KESTREL_MEASURE_RUNS"])
timing = drive_c() / "kestrel" / "startup.txt"
startups, private, working = [], [], []
with Drives({"d": None}):
    for run in range(runs):
        timing.unlink(missing_ok=True)
        with Kestrel(env={"KESTREL_TIMING": "C:\\kestrel\\startup.txt"}) as app:
            app.wait_ready()
            deadline = time.monotonic() + 30
            while not timing.exists() and time.monotonic() < deadline:
                time.sleep(0.1)
            startups.append(int(timing.read_text().split("=")[1]) / 1000)
            time.sleep(2)  # idle
            memory = app.memory()
            # Wine leaves PrivateUsage at 0 for another process; PagefileUsage
            # counts the same private committed bytes.
            private.append((memory["privateUsage"] or memory["pagefileUsage"]) / 1024)
            working.append(memory["workingSet"] / 1024)
            app.close()
            app.wait_exit()

print(f"Start-up, entry point to first paint (ms, {runs} runs): "
      f"median {statistics.median(startups):.1f}, min {min(startups):.1f}, max {max(startups):.1f}")
print(f"Private memory of the idle program (KiB, {runs} runs): "
      f"median {statistics.median(private):.0f}, min {min(private):.0f}, max {max(private):.0f}")
print(f"Working set of the idle program (KiB, {runs} runs): median {statistics.median(working):.0f}")
PY
