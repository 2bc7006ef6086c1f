#!/usr/bin/env python3
"""Reads the program's HTML files, written from hostile update texts, with a real HTML parser.

    check_html_files.py HTML_FIXTURE_PROGRAM

Runs the fixture program into a temporary directory and checks that no file holds a script
element, an event handler attribute or a link or image to anything but a web or FTP address;
that the saved log shows exactly the pane's text; and that each block of the browser file
shows what the pane shows of that update text (its header and images aside).
"""

import html.parser
import os
import subprocess
import sys
import tempfile

OPENABLE = ("http://", "https://", "ftp://")


class Reader(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.problems = []
        self.styles = 0
        self.in_body = False
        self.text = []  # visible text of the body, <br> as a line feed
        self.blocks = []  # browser file: the visible text of each <p> after an <hr>
        self.in_paragraph = False

    def handle_starttag(self, tag, attrs):
        if tag in ("script", "iframe", "object", "embed", "frame", "meta") and self.in_body:
            self.problems.append("element <%s> in the body" % tag)
        if tag == "script":
            self.problems.append("a script element")
        if tag == "style":
            self.styles += 1
        for name, value in attrs:
            if name.startswith("on"):
                self.problems.append("event handler %s=%r" % (name, value))
            if name in ("href", "src") and not (tag == "link" and value == "default.css"):
                if not (value or "").lower().startswith(OPENABLE):
                    self.problems.append("<%s %s=%r>" % (tag, name, value))
        if tag == "body":
            self.in_body = True
        elif tag == "br" and self.in_body:
            self.add("\n")
        elif tag == "p":
            self.in_paragraph = True
            self.blocks.append([])

    def handle_endtag(self, tag):
        if tag == "p":
            self.in_paragraph = False
        elif tag == "body":
            self.in_body = False

    def handle_data(self, data):
        if self.in_body:
            # Line feeds of the source follow a <br>; the break itself is the <br>.
            self.add(data.replace("\n", ""))

    def add(self, text):
        self.text.append(text)
        if self.in_paragraph:
            self.blocks[-1].append(text)


def read(path, text_mode=True):
    """The file's text; the program's HTML files store each line feed as CR LF."""
    with open(path, "rb") as f:
        raw = f.read()
    if text_mode:
        assert b"\n" not in raw.replace(b"\r\n", b""), path + ": a line feed without CR"
        raw = raw.replace(b"\r\n", b"\n")
    return raw.decode("cp932")


def parse(path):
    reader = Reader()
    reader.feed(read(path))
    reader.close()
    return reader


def main():
    fixture = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([fixture, out], check=True)
        for name in ("saved.html", "history.html", "browser.html"):
            reader = parse(os.path.join(out, name))
            failures += ["%s: %s" % (name, p) for p in reader.problems]
            if reader.styles != 1:
                failures.append("%s: %d style elements" % (name, reader.styles))

        saved = parse(os.path.join(out, "saved.html"))
        pane = read(os.path.join(out, "pane.txt"), text_mode=False)
        shown = "".join(saved.text)
        # The closing lines begin with a line feed of the source, not a break.
        if shown != pane:
            failures.append("saved.html shows %r\n  the pane shows %r" % (shown, pane))

        browser = parse(os.path.join(out, "browser.html"))
        for i, block in enumerate(browser.blocks):
            expected = read(os.path.join(out, "block%d.txt" % i), text_mode=False)
            if "".join(block) != expected:
                failures.append("browser block %d shows %r\n  the pane shows %r"
                                % (i, "".join(block), expected))
        if len(browser.blocks) != 3:
            failures.append("browser.html has %d blocks" % len(browser.blocks))
        images = read(os.path.join(out, "browser.html")).count("<img ")
        if images != 2:
            failures.append("browser.html has %d images, not the two web and FTP ones" % images)

    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
