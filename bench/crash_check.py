#!/usr/bin/env python3
"""Kills velnora-cli check at random instants and checks that no history was lost.

    python3 bench/crash_check.py [--build BUILD_DIR] [--pages 200] [--kills 100] [--seed 1]

N pages are served by nginx on 127.0.0.1. Each round changes about three pages in four (a new
headline at the top, the oldest one gone), starts a check, kills it with SIGKILL after a random
time within the length of a whole check, and then verifies the page files:

- every index.txt holds a slot number that names a past log on disk;
- every site.ini is byte for byte as written, velnora.ini and result.ini read whole;
- temporary files left by the killed check are counted (no reader ever takes one for data).

Then a check runs to its end, and its report must hold exactly the lines that are new against
each page's newest past log as it stands on disk (the oracle), no error line, no page whose
history started over ("初期化しました"), and as many updated pages as the oracle expects. The counts are printed at the end; the exit status is 1
when anything failed.
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from check_pages import free_port, start_nginx  # noqa: E402

TOP = os.path.dirname(HERE)
HEADLINES_SHOWN = 6  # a page shows its newest headlines and drops older ones
REPORTED_LINE = re.compile(r"(p\d+ (?:news|base) \d+)")
UPDATED_PAGES = re.compile(r"(\d+) 件の更新がありました")
SITE_INI = "[CONFIG]\r\nURL=http://127.0.0.1:%d/p%d.html\r\nUSE_OLD_LOG=1\r\n"


def page_lines(page, generation):
    news = ["p%d news %d" % (page, g)
            for g in range(generation, max(0, generation - HEADLINES_SHOWN), -1)]
    return news + ["p%d base %d" % (page, k) for k in range(12)]


def write_page(www, page, generation, stamp):
    path = os.path.join(www, "p%d.html" % page)
    body = "".join("<p>%s</p>\n" % line for line in page_lines(page, generation))
    with open(path, "w") as f:
        f.write("<html><body>\n" + body + "</body></html>\n")
    os.utime(path, (stamp, stamp))


class Home:
    def __init__(self, directory, pages, port):
        self.directory = directory
        self.pages = pages
        self.site_ini = {}
        for i in range(pages):
            page = self.page_dir(i)
            os.makedirs(page)
            data = (SITE_INI % (port, i)).encode()
            with open(os.path.join(page, "site.ini"), "wb") as f:
                f.write(data)
            self.site_ini[i] = data
        with open(os.path.join(directory, "velnora.ini"), "wb") as f:
            f.write(b"[CONFIG]\r\nFINISH_MESSAGE=0\r\nNOCHANGE_MSG=0\r\n")

    def page_dir(self, i):
        return os.path.join(self.directory, "data", "p%d.dat" % i)

    def current_log(self, i):
        """The lines of the page's newest past log as the program finds it: the one index.txt
        names when that holds text, else the newest one with text; None when there is none."""
        page = self.page_dir(i)
        logs = {}
        for slot in range(25):
            path = os.path.join(page, "log%d.txt" % slot)
            if os.path.isfile(path) and os.path.getsize(path) > 0:
                logs[slot] = path
        try:
            with open(os.path.join(page, "index.txt"), "rb") as f:
                slot = int(f.read())
        except (OSError, ValueError):
            slot = None
        if slot not in logs:
            if not logs:
                return None
            slot = max(logs, key=lambda k: os.stat(logs[k]).st_mtime_ns)
        with open(logs[slot], "rb") as f:
            return [line for line in f.read().decode("cp932").split("\r\n") if line]

    def temporaries(self):
        found = []
        for root, _, names in os.walk(self.directory):
            found += [os.path.join(root, n) for n in names if ".tmp" in n]
        return found

    def broken_invariants(self):
        """What is wrong with the files of the home, as a list of texts."""
        broken = []
        for i in range(self.pages):
            page = self.page_dir(i)
            index = os.path.join(page, "index.txt")
            if os.path.exists(index):
                with open(index, "rb") as f:
                    text = f.read()
                if not re.fullmatch(rb"\d+", text) or int(text) > 24:
                    broken.append("p%d: index.txt holds %r" % (i, text))
                elif not os.path.isfile(os.path.join(page, "log%d.txt" % int(text))):
                    broken.append("p%d: index.txt names log%d.txt, which is missing"
                                  % (i, int(text)))
            with open(os.path.join(page, "site.ini"), "rb") as f:
                if f.read() != self.site_ini[i]:
                    broken.append("p%d: site.ini changed" % i)
            result = os.path.join(page, "result.ini")
            if os.path.exists(result):
                with open(result, "rb") as f:
                    if not re.fullmatch(rb"\[RESULT\]\r\nCODE=\d\r\n", f.read()):
                        broken.append("p%d: result.ini is torn" % i)
        with open(os.path.join(self.directory, "velnora.ini"), "rb") as f:
            settings = f.read()
        if not settings.startswith(b"[CONFIG]\r\n") or not settings.endswith(b"\r\n"):
            broken.append("velnora.ini is torn")
        return broken


def run_check(cli, home, kill_after=None):
    """Runs a check; kills it after kill_after seconds when given. Returns (output, finished)."""
    env = dict(os.environ, VELNORA_HOME=home.directory)
    process = subprocess.Popen([cli, "check"], env=env, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT)
    if kill_after is None:
        out, _ = process.communicate()
        return out.decode(errors="replace"), True
    try:
        out, _ = process.communicate(timeout=kill_after)
        return out.decode(errors="replace"), True
    except subprocess.TimeoutExpired:
        process.send_signal(signal.SIGKILL)
        process.communicate()
        return "", False


def reported_lines(output):
    pages = {}
    for line in output.splitlines():
        match = REPORTED_LINE.search(line)
        if match:
            text = match.group(1)
            pages.setdefault(int(text.split()[0][1:]), []).append(text)
    return pages


def expected_lines(home, generations):
    expected = {}
    for i, generation in enumerate(generations):
        log = home.current_log(i) or []
        new = [line for line in page_lines(i, generation) if line not in log]
        if new:
            expected[i] = new
    return expected


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(TOP, "build"))
    parser.add_argument("--pages", type=int, default=200)
    parser.add_argument("--kills", type=int, default=100)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--work", default=None)
    args = parser.parse_args()
    cli = os.path.join(os.path.abspath(args.build), "bin", "velnora-cli")
    parent = os.path.abspath(args.work or os.path.join(args.build, "bench-work"))
    os.makedirs(parent, exist_ok=True)
    work = tempfile.mkdtemp(prefix="velnora-crash-", dir=parent)
    rng = random.Random(args.seed)
    counts = {"kills": 0, "finished before the kill": 0, "broken invariants": 0,
              "temporary files after a kill": 0, "temporary files after the next check": 0,
              "checks with other lines than expected": 0, "pages reported wrongly": 0,
              "error or start-over lines": 0, "lines reported": 0}
    failures = []
    try:
        www = os.path.join(work, "www")
        os.makedirs(www)
        stamp = time.time() - 3600 * 24
        generations = [0] * args.pages
        for i in range(args.pages):
            write_page(www, i, 0, stamp)
        port = free_port()
        nginx = start_nginx(work, www, port)
        try:
            home = Home(os.path.join(work, "home"), args.pages, port)
            start = time.monotonic()
            run_check(cli, home)
            whole = time.monotonic() - start
            for round_number in range(1, args.kills + 1):
                stamp += 60
                for i in range(args.pages):
                    if rng.random() < 0.75:
                        generations[i] += 1
                        write_page(www, i, generations[i], stamp)
                _, finished = run_check(cli, home, kill_after=rng.uniform(0.0, whole))
                counts["kills"] += 1
                counts["finished before the kill"] += finished
                broken = home.broken_invariants()
                counts["broken invariants"] += len(broken)
                failures += ["round %d, after the kill: %s" % (round_number, b) for b in broken]
                counts["temporary files after a kill"] += len(home.temporaries())

                expected = expected_lines(home, generations)
                output, _ = run_check(cli, home)
                got = reported_lines(output)
                counts["lines reported"] += sum(len(v) for v in got.values())
                errors = [line for line in output.splitlines()
                          if "エラー" in line or "初期化しました" in line]
                counts["error or start-over lines"] += len(errors)
                failures += ["round %d: %s" % (round_number, e) for e in errors]
                wrong = sorted(set(expected) | set(got))
                wrong = [i for i in wrong if expected.get(i) != got.get(i)]
                updated = UPDATED_PAGES.search(output)
                if wrong or (int(updated.group(1)) if updated else 0) != len(expected):
                    counts["checks with other lines than expected"] += 1
                    counts["pages reported wrongly"] += len(wrong)
                    for i in wrong[:5]:
                        failures.append("round %d, p%d: expected %s, reported %s"
                                        % (round_number, i, expected.get(i), got.get(i)))
                broken = home.broken_invariants()
                counts["broken invariants"] += len(broken)
                failures += ["round %d, after the check: %s" % (round_number, b) for b in broken]
                counts["temporary files after the next check"] += len(home.temporaries())
                print("round %3d: %s, %d pages expected to report, %s"
                      % (round_number, "finished" if finished else "killed", len(expected),
                         "ok" if not wrong else "%d pages differ" % len(wrong)), flush=True)
            # Every page changes once more and is filed: no temporary file may be left.
            stamp += 60
            for i in range(args.pages):
                generations[i] += 1
                write_page(www, i, generations[i], stamp)
            run_check(cli, home)
            left = home.temporaries()
            counts["temporary files after a last check of all"] = len(left)
            failures += ["left after the last check: %s" % path for path in left]
        finally:
            os.killpg(nginx.pid, signal.SIGKILL)
            nginx.wait()
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print()
    print("%d pages, a whole check took %.2f s" % (args.pages, whole))
    for name, value in counts.items():
        print("%-40s %d" % (name, value))
    for failure in failures[:40]:
        print("FAILED:", failure)
    sys.exit(1 if failures or counts["checks with other lines than expected"] else 0)


if __name__ == "__main__":
    main()
