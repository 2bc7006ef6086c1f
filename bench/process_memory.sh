#!/usr/bin/env bash
# Peak memory of `velnora-cli process` on a response of about 200 MB: the pipeline streams, so
# memory must not grow with the page.
#
#   bench/process_memory.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export VELNORA_HOME="$work/home"
page="$work/home/data/big.dat"
mkdir -p "$page"
printf '[CONFIG]\r\nURL=http://example.com/\r\nUSE_OLD_LOG=1\r\n' > "$page/site.ini"

python3 - "$top/bench/data/page-sjis.txt" "$page/htmltmp.txt" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
head, body = data.split(b"\r\n\r\n", 1)
with open(sys.argv[2], "wb") as out:
    out.write(head + b"\r\n\r\n")
    written = 0
    while written < 200 * 1024 * 1024:
        out.write(body)
        written += len(body)
PY

run() {
    python3 - "$build/bin/velnora-cli" "$page" <<'PY'
import resource, subprocess, sys, time
start = time.monotonic()
out = subprocess.run([sys.argv[1], "process", sys.argv[2]], capture_output=True, text=True)
wall = time.monotonic() - start
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
print("outcome %s, wall %.2f s, peak RSS %.1f MB" % (out.stdout.strip(), wall, peak))
PY
}

size=$(stat -c %s "$page/htmltmp.txt")
echo "response: $((size / 1024 / 1024)) MB"
echo -n "first check:  "; run
echo -n "second check: "; run
