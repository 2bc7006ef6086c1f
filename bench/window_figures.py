#!/usr/bin/env python3
"""The window's long work beside the command line's, on the offscreen platform:

  - reload-all of 3,000 updated pages: the longest wait of the event loop (goal: under 100 ms,
    so the window answers input throughout) and the time until the whole text is shown (goal:
    under 2 s);
  - a check of 1,000 changed pages served by nginx on 127.0.0.1, from start-up with a check of
    every page to the last result in the window, beside `velnora-cli check` on a copy of the same
    home (goal: the window takes at most 1.3 times the command line).

    python3 bench/window_figures.py [--build BUILD_DIR] [--work DIR] [--reload 3000] [--check 1000]

The homes go below --work (default: /dev/shm when it exists, so that the disk does not decide).
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_pages  # noqa: E402  (the pages and nginx of the command line's benchmark)


def reload_home(parent, count):
    """A home whose pages each have an update text of 20 lines with links, as after a check."""
    home = tempfile.mkdtemp(prefix="velnora-reload-", dir=parent)
    for i in range(count):
        page = os.path.join(home, "data", "f%d.grp" % (i // 100), "p%d.dat" % i)
        os.makedirs(page)
        with open(os.path.join(page, "site.ini"), "wb") as f:
            f.write(b"[CONFIG]\r\nURL=http://example.com/%d/\r\nUSE_OLD_LOG=1\r\n" % i)
        with open(os.path.join(page, "index.txt"), "wb") as f:
            f.write(b"0\r\n")
        with open(os.path.join(page, "result.ini"), "wb") as f:
            f.write(b"[RESULT]\r\nCODE=3\r\n")
        lines = []
        for k in range(20):
            lines.append(b'<a href="http://example.com/%d/news/%d.html">headline %d of page %d'
                         b'</a> and some text after it' % (i, k, k, i))
        with open(os.path.join(page, "add0.txt"), "wb") as f:
            f.write(b"\r\n".join(lines) + b"\r\n")
    return home


def run(command, env):
    start = time.monotonic()
    out = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                         check=True).stdout.decode(errors="replace").strip()
    return time.monotonic() - start, out


def check_figures(build, parent, count):
    with check_pages.served_pages(parent, count) as (work, www, port, body):
        home = os.path.join(work, "home")
        check_pages.add_home_pages(os.path.join(home, "data"), count, port)
        with open(os.path.join(home, "velnora.ini"), "wb") as f:
            f.write(b"[CONFIG]\r\nFINISH_MESSAGE=0\r\n")
        cli = os.path.join(build, "bin", "velnora-cli")
        run([cli, "check"], dict(os.environ, VELNORA_HOME=home))
        check_pages.make_pages(www, count, body, 1)
        homes = {}
        for name in ("cli", "window"):
            homes[name] = os.path.join(work, "home-" + name)
            shutil.copytree(home, homes[name])
        cli_wall, cli_out = run([cli, "check"], dict(os.environ, VELNORA_HOME=homes["cli"]))
        bench = os.path.join(build, "bin", "window_work_bench")
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        window_wall, window_out = run([bench, "check", homes["window"]], env)
        print("%d changed pages: velnora-cli check %.2f s (%s)" %
              (count, cli_wall, cli_out.splitlines()[-1] if cli_out else ""))
        print("%d changed pages: window %.2f s to exit; %s" % (count, window_wall, window_out))
        print("window / command line: %.2f" % (window_wall / cli_wall))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(check_pages.TOP, "build"))
    parser.add_argument("--work", default="/dev/shm" if os.path.isdir("/dev/shm") else None)
    parser.add_argument("--reload", type=int, default=3000)
    parser.add_argument("--check", type=int, default=1000)
    args = parser.parse_args()
    work = args.work or os.path.join(args.build, "bench-work")
    os.makedirs(work, exist_ok=True)
    if args.reload:
        home = reload_home(work, args.reload)
        try:
            _, out = run([os.path.join(args.build, "bin", "window_work_bench"), "reload", home],
                         dict(os.environ, QT_QPA_PLATFORM="offscreen"))
            print("%d updated pages: %s" % (args.reload, out))
        finally:
            shutil.rmtree(home, ignore_errors=True)
    if args.check:
        check_figures(args.build, work, args.check)


if __name__ == "__main__":
    main()
