#!/usr/bin/env python3
"""Checks N pages served by nginx on 127.0.0.1 with velnora-cli and reports wall time, CPU time,
pages per second and peak RSS: a first check, then a check after every page changed.

    python3 bench/check_pages.py [--build BUILD_DIR] [--pages 200 1000]

The pages are 20-170 KB of Shift_JIS HTML like bench/data/page-sjis.txt, served with gzip.
"""

import argparse
import contextlib
import os
import random
import resource
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(HERE)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(port):
    for _ in range(200):
        try:
            socket.create_connection(("127.0.0.1", port), timeout=0.2).close()
            return
        except OSError:
            time.sleep(0.05)
    sys.exit("nginx did not start")


def make_pages(root, count, body, generation):
    """Pages of 20-170 KB cut from the sample page's body. Each later generation changes every
    page as news pages change: a few new headlines at the top and about one row in twenty
    rewritten; the rest stays."""
    os.makedirs(root, exist_ok=True)
    for i in range(count):
        rng = random.Random(i)
        size = rng.randint(20, 170) * 1024
        start = rng.randint(0, max(0, len(body) - size))
        piece = body[start:start + size]
        piece = piece[piece.find(b"<"):]  # start at a tag
        rows = piece.split(b"<tr>")
        fresh = []
        if generation:
            change = random.Random(i * 1000 + generation)
            for k in range(change.randint(1, 5)):
                fresh.append(("<p>new headline %d of version %d</p>\n" % (k, generation))
                             .encode())
            for r in range(1, len(rows)):
                if change.random() < 0.05:
                    rows[r] = (("<td>rewritten %d in version %d</td>" % (r, generation))
                               .encode() + rows[r])
        page = os.path.join(root, "p%d.html" % i)
        with open(page, "wb") as f:
            f.write(b"<html><body>\n" + b"".join(fresh) + b"<tr>".join(rows) + b"</body></html>\n")
        os.utime(page, (time.time() + generation * 3600,) * 2)


def sample_body():
    """The body of the sample page, repeated to at least 200 KB."""
    sample = open(os.path.join(HERE, "data", "page-sjis.txt"), "rb").read()
    body = sample.split(b"\r\n\r\n", 1)[1]
    while len(body) < 200 * 1024:
        body += body
    return body


def add_home_pages(data, count, port, pattern="p%d.dat"):
    """Page directories named by the pattern in the data directory, page i checking p<i>.html on
    127.0.0.1:port, as velnora-cli add makes them."""
    for i in range(count):
        page = os.path.join(data, pattern % i)
        os.makedirs(page)
        with open(os.path.join(page, "site.ini"), "wb") as f:
            f.write(b"[CONFIG]\r\nURL=http://127.0.0.1:%d/p%d.html\r\nUSE_OLD_LOG=1\r\n"
                    % (port, i))


def start_nginx(directory, root, port):
    conf = os.path.join(directory, "nginx.conf")
    with open(conf, "w") as f:
        f.write("""daemon off;
master_process off;
pid %(d)s/nginx.pid;
error_log %(d)s/error.log;
events { worker_connections 1024; }
http {
    access_log off;
    client_body_temp_path %(d)s/body;
    proxy_temp_path %(d)s/proxy;
    fastcgi_temp_path %(d)s/fastcgi;
    uwsgi_temp_path %(d)s/uwsgi;
    scgi_temp_path %(d)s/scgi;
    default_type text/html;
    gzip on;
    gzip_types text/html;
    server { listen 127.0.0.1:%(p)d; root %(r)s; }
}
""" % {"d": directory, "p": port, "r": root})
    process = subprocess.Popen(["nginx", "-p", directory, "-c", conf],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               start_new_session=True)
    wait_for(port)
    return process


@contextlib.contextmanager
def served_pages(parent, count):
    """A work directory below parent with `count` pages (generation 0) served by nginx on
    127.0.0.1: yields (work, www, port, body); nginx and the directory go afterwards."""
    os.makedirs(parent, exist_ok=True)
    work = tempfile.mkdtemp(prefix="velnora-bench-", dir=parent)
    try:
        body = sample_body()
        www = os.path.join(work, "www")
        make_pages(www, count, body, 0)
        port = free_port()
        nginx = start_nginx(work, www, port)
        try:
            yield work, www, port, body
        finally:
            os.killpg(nginx.pid, signal.SIGKILL)
            nginx.wait()
    finally:
        shutil.rmtree(work, ignore_errors=True)


def run_check(cli, home):
    env = dict(os.environ, VELNORA_HOME=home)
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    process = subprocess.Popen([cli, "check"], env=env, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE)
    out, err = process.communicate()
    wall = time.monotonic() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    # The peak of the child is what os.wait4 reports for it alone.
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    if process.returncode != 0:
        sys.exit("velnora-cli failed: " + err.decode(errors="replace"))
    last = out.decode(errors="replace").strip().splitlines()[-1]
    return wall, cpu, last


def peak_rss_of(cli, home):
    """Runs the check again under wait4 to read the child's own peak RSS."""
    env = dict(os.environ, VELNORA_HOME=home)
    start = time.monotonic()
    process = subprocess.Popen([cli, "check"], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.monotonic() - start
    return wall, (usage.ru_utime, usage.ru_stime), usage.ru_maxrss / 1024


def bench(cli, count, parent):
    with served_pages(parent, count) as (work, www, port, body):
        home = os.path.join(work, "home")
        add_home_pages(os.path.join(home, "data"), count, port)
        with open(os.path.join(home, "velnora.ini"), "wb") as f:
            f.write(b"[CONFIG]\r\nFINISH_MESSAGE=0\r\n")
        first = peak_rss_of(cli, home)
        make_pages(www, count, body, 1)
        changed_wall, changed_cpu, last = run_check(cli, home)
        # A second changed round for the peak memory of a changed check.
        make_pages(www, count, body, 2)
        changed = peak_rss_of(cli, home)
        report = [("first check", first), ("all changed", changed)]
        for name, (wall, (user, system), rss) in report:
            print("%5d pages, %-12s wall %6.2f s  cpu %5.2f s (user %5.2f, system %5.2f)"
                  "  %5.0f pages/s  peak RSS %5.1f MB"
                  % (count, name, wall, user + system, user, system, count / wall, rss))
        print("%5d pages, changed run said: %s" % (count, last))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(TOP, "build"))
    parser.add_argument("--pages", type=int, nargs="*", default=[200, 1000])
    # The pages and the program home go below the build directory by default: a system /tmp
    # that has seen many files deleted can make creating files slow enough to swamp the check.
    parser.add_argument("--work", default=None)
    args = parser.parse_args()
    cli = os.path.join(args.build, "bin", "velnora-cli")
    work = args.work or os.path.join(args.build, "bench-work")
    for count in args.pages:
        bench(cli, count, work)


if __name__ == "__main__":
    main()
