#!/usr/bin/env bash
# Prints Kestrel's figures: the size of Kestrel.exe, its start-up time as a
# person sees it (measured from outside by KestrelDriver.exe: from creating
# the process to the main window showing its two lines), and the private
# memory of the idle program. Runs under a throw-away Wine session.
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
from kestrel_harness import Drives, installed_kestrel, run_driver

runs = int(__import__("os").environ["KESTREL_MEASURE_RUNS"])
program = installed_kestrel()
startups, private, working = [], [], []
with Drives({"d": None}):
    for run in range(runs):
        startups.append(run_driver("start", program)["startupMs"])
        time.sleep(2)  # idle
        memory = run_driver("memory")
        # Wine leaves PrivateUsage at 0 for another process; PagefileUsage
        # counts the same private committed bytes.
        private.append((memory["privateUsage"] or memory["pagefileUsage"]) / 1024)
        working.append(memory["workingSet"] / 1024)
        run_driver("close")
        deadline = time.monotonic() + 60
        while run_driver("state")["running"]:
            if time.monotonic() > deadline:
                sys.exit("Kestrel did not end after WM_CLOSE")
            time.sleep(0.2)

print(f"Start-up, process start to the window showing its two lines (ms, {runs} runs): "
      f"median {statistics.median(startups):.1f}, min {min(startups):.1f}, max {max(startups):.1f}")
print(f"Private memory of the idle program (KiB, {runs} runs): "
      f"median {statistics.median(private):.0f}, min {min(private):.0f}, max {max(private):.0f}")
print(f"Working set of the idle program (KiB, {runs} runs): median {statistics.median(working):.0f}")
PY
