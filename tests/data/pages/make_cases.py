#!/usr/bin/env python3
"""Writes the page-directory cases of the page check tests.

    python3 tests/data/pages/make_cases.py

Each case is a directory with
  input/     the page directory before the check (site.ini, htmltmp.txt, logs, index.txt)
  expected/  every file of the page directory after the check, byte for byte
  outcome    the check's outcome, as velnora-cli process prints it
  program.ini (optional) the program settings the check reads (N_RELOAD, IGNORE_IMAGE_NAME)

The inputs are built with Python's own codecs (cp932, euc_jp, iso2022_jp, utf-8, gzip); the
expected texts are written out by hand from the extraction and comparison rules, as lines with
bare line feeds that this script stores in Shift_JIS with CR LF line ends.
"""

import gzip
import os
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))
URL = "http://example.com/dir/page.html"


def sjis(text):
    return text.encode("cp932")


def crlf(text):
    """An extracted text as stored: Shift_JIS, CR LF line ends."""
    return sjis(text).replace(b"\n", b"\r\n")


def site_ini(**keys):
    values = {"URL": URL, "USE_OLD_LOG": 1}
    values.update(keys)
    lines = ["[CONFIG]"] + ["%s=%s" % item for item in values.items()]
    return sjis("\r\n".join(lines) + "\r\n")


def response(headers, body):
    head = "HTTP/1.1 200 OK\r\n" + "".join(h + "\r\n" for h in headers) + "\r\n"
    return head.encode("ascii") + body


def chunked(body, sizes):
    out = b""
    pos = 0
    for size in sizes:
        out += b"%x\r\n" % size + body[pos:pos + size] + b"\r\n"
        pos += size
    assert pos == len(body)
    return out + b"0\r\n\r\n"


CASES = {}


def case(name, inputs, expected, outcome, program=None):
    CASES[name] = (inputs, expected, outcome, program)


# A small page and the text it gives. The link is resolved against the page URL; the title and
# each paragraph start a line; a source line break joins without a blank.
PAGE = sjis(
    "<html><head><title>お知らせ</title></head><body>\n"
    "<p>Hello   world</p>\n"
    "<p>Second <a href=\"/x\">link</a> line</p>\n"
    "<p>日本\n語</p></body></html>\n")
PAGE_TEXT = ("\nお知らせ\nHello world\nSecond <a href=\"http://example.com/x\">link</a> line\n"
             "日本語")
PAGE_OK = response(["Content-Type: text/html"], PAGE)

case("first-check",
     {"site.ini": site_ini(), "htmltmp.txt": PAGE_OK},
     {"site.ini": site_ini(), "htmltmp.txt": PAGE_OK, "log1.txt": crlf(PAGE_TEXT),
      "index.txt": b"1"},
     "2 FirstCheck")

case("no-change",
     {"site.ini": site_ini(), "htmltmp.txt": PAGE_OK, "log1.txt": crlf(PAGE_TEXT),
      "index.txt": b"1"},
     {"site.ini": site_ini(), "htmltmp.txt": PAGE_OK, "log1.txt": crlf(PAGE_TEXT),
      "index.txt": b"1", "new.txt": crlf(PAGE_TEXT), "add.txt": b""},
     "0 NoChange")

OLD_TEXT = "\nお知らせ\nHello world\n日本語"
case("updated",
     {"site.ini": site_ini(), "htmltmp.txt": PAGE_OK, "log1.txt": crlf(OLD_TEXT),
      "index.txt": b"1"},
     {"site.ini": site_ini(), "htmltmp.txt": PAGE_OK, "log1.txt": crlf(OLD_TEXT),
      "log2.txt": crlf(PAGE_TEXT), "add2.txt": crlf(
          "Second <a href=\"http://example.com/x\">link</a> line\n"),
      "index.txt": b"2"},
     "1 Updated")

# The server says the page is unchanged, or answers with an error: nothing is extracted or filed.
NOT_MODIFIED = b"HTTP/1.1 304 Not Modified\r\nDate: x\r\n\r\n"
case("not-modified",
     {"site.ini": site_ini(), "htmltmp.txt": NOT_MODIFIED, "log1.txt": crlf(OLD_TEXT),
      "index.txt": b"1"},
     {"site.ini": site_ini(), "htmltmp.txt": NOT_MODIFIED, "log1.txt": crlf(OLD_TEXT),
      "index.txt": b"1"},
     "4 NotModified")

NOT_FOUND = b"HTTP/1.1 404 Not Found\r\n\r\n<html>gone</html>"
case("http-error",
     {"site.ini": site_ini(), "htmltmp.txt": NOT_FOUND},
     {"site.ini": site_ini(), "htmltmp.txt": NOT_FOUND},
     "3 HttpError")

GARBAGE = b"<html>no status line</html>\r\n"
case("not-a-status-line",
     {"htmltmp.txt": GARBAGE},
     {"htmltmp.txt": GARBAGE},
     "3 HttpError")

# An empty response is no change at once: no comparison, nothing filed, no add.txt.
case("empty-response",
     {"site.ini": site_ini(), "htmltmp.txt": b"", "log3.txt": crlf(OLD_TEXT),
      "index.txt": b"3", "new.txt": crlf("left over")},
     {"site.ini": site_ini(), "htmltmp.txt": b"", "log3.txt": crlf(OLD_TEXT),
      "index.txt": b"3", "new.txt": crlf("left over")},
     "0 NoChange")

case("missing-response",
     {"site.ini": site_ini()},
     {"site.ini": site_ini()},
     "0 NoChange")

# Index 24 files into slot 0; USE_OLD_LOG 1 keeps the newest log and the one before.
case("ring-wraps-after-24",
     {"site.ini": site_ini(), "htmltmp.txt": PAGE_OK, "log24.txt": crlf(OLD_TEXT),
      "log23.txt": crlf(OLD_TEXT), "add24.txt": crlf("a\n"), "add23.txt": crlf("b\n"),
      "add22.txt": crlf("c\n"), "index.txt": b"24"},
     {"site.ini": site_ini(), "htmltmp.txt": PAGE_OK, "log24.txt": crlf(OLD_TEXT),
      "log0.txt": crlf(PAGE_TEXT), "add0.txt": crlf(
          "Second <a href=\"http://example.com/x\">link</a> line\n"),
      "add24.txt": crlf("a\n"), "add23.txt": crlf("b\n"), "index.txt": b"0"},
     "1 Updated")

# An index of 25 or more names no log and files into slot 0.
case("index-out-of-range",
     {"site.ini": site_ini(), "htmltmp.txt": PAGE_OK, "index.txt": b"30"},
     {"site.ini": site_ini(), "htmltmp.txt": PAGE_OK, "log0.txt": crlf(PAGE_TEXT),
      "index.txt": b"0"},
     "2 FirstCheck")

# USE_OLD_LOG 0 keeps only the newest log; N_RELOAD 2 keeps the two newest update texts.
ring_in = {"site.ini": site_ini(USE_OLD_LOG=0), "htmltmp.txt": PAGE_OK, "index.txt": b"6"}
for k in range(25):
    ring_in["log%d.txt" % k] = crlf("log %d" % k)
    ring_in["add%d.txt" % k] = crlf("add %d\n" % k)
ring_in["log6.txt"] = crlf(OLD_TEXT)
ring_out = {"site.ini": ring_in["site.ini"], "htmltmp.txt": PAGE_OK, "index.txt": b"7",
            "log7.txt": crlf(PAGE_TEXT),
            "add7.txt": crlf("Second <a href=\"http://example.com/x\">link</a> line\n"),
            "add6.txt": crlf("add 6\n")}
case("pruning", ring_in, ring_out, "1 Updated", program="[CONFIG]\r\nN_RELOAD=2\r\n")

# An add.txt left by an interrupted run is not reported: here the new side has no lines at all
# (the check area's start string does not occur in the new text).
case("stale-add-txt",
     {"site.ini": site_ini(CHECK_AREA_START_STRING="nowhere"), "htmltmp.txt": PAGE_OK,
      "log1.txt": crlf("nowhere\nold"), "index.txt": b"1", "add.txt": crlf("stale line\n")},
     {"site.ini": site_ini(CHECK_AREA_START_STRING="nowhere"), "htmltmp.txt": PAGE_OK,
      "log1.txt": crlf("nowhere\nold"), "index.txt": b"1", "new.txt": crlf(PAGE_TEXT)},
     "0 NoChange")

# Gzip, chunked and not, inflate to the same page.
GZ = gzip.compress(PAGE, mtime=0)
CHUNKED_GZ = response(["Transfer-Encoding: chunked", "Content-Encoding: gzip"],
                      chunked(GZ, [10, len(GZ) - 10]))
case("chunked-gzip",
     {"site.ini": site_ini(), "htmltmp.txt": CHUNKED_GZ},
     {"site.ini": site_ini(), "htmltmp.txt": CHUNKED_GZ, "log1.txt": crlf(PAGE_TEXT),
      "index.txt": b"1"},
     "2 FirstCheck")
PLAIN_GZ = response(["Content-Encoding: gzip", "Content-Length: %d" % len(GZ)], GZ)
case("plain-gzip",
     {"site.ini": site_ini(), "htmltmp.txt": PLAIN_GZ},
     {"site.ini": site_ini(), "htmltmp.txt": PLAIN_GZ, "log1.txt": crlf(PAGE_TEXT),
      "index.txt": b"1"},
     "2 FirstCheck")

# Header variants the decoder must recognise: no blank after the colon, a header line after one
# that ended in blanks, upper case, and a block ended by LF LF.
VARIANT = (b"HTTP/1.1 200 OK\nServer: x   \nTRANSFER-ENCODING:chunked\n\n" +
           chunked(PAGE, [5, len(PAGE) - 5]))
case("header-variants",
     {"site.ini": site_ini(), "htmltmp.txt": VARIANT},
     {"site.ini": site_ini(), "htmltmp.txt": VARIANT, "log1.txt": crlf(PAGE_TEXT),
      "index.txt": b"1"},
     "2 FirstCheck")

# Charsets: an EUC-JP header, a UTF-8 meta charset attribute, ISO-2022-JP chosen by the page.
JA_PAGE = "<html><head>%s<title>日本語のページ</title></head><body><p>更新しました。①</p></body></html>"
JA_TEXT = "\n日本語のページ\n更新しました。①"
EUC = response(["Content-Type: text/html; charset=EUC-JP"],
               (JA_PAGE % "").replace("①", "").encode("euc_jp"))
case("euc-jp-header",
     {"site.ini": site_ini(), "htmltmp.txt": EUC},
     {"site.ini": site_ini(), "htmltmp.txt": EUC,
      "log1.txt": crlf(JA_TEXT.replace("①", "")), "index.txt": b"1"},
     "2 FirstCheck")
UTF8 = response(["Content-Type: text/html"],
                (JA_PAGE % '<meta charset="UTF-8">').encode("utf-8"))
case("meta-charset-utf-8",
     {"site.ini": site_ini(), "htmltmp.txt": UTF8},
     {"site.ini": site_ini(), "htmltmp.txt": UTF8, "log1.txt": crlf(JA_TEXT),
      "index.txt": b"1"},
     "2 FirstCheck")
JIS = response(["Content-Type: text/html"],
               (JA_PAGE % "").replace("①", "").encode("iso2022_jp"))
case("iso-2022-jp-by-setting",
     {"site.ini": site_ini(CHARSET_SEL=2), "htmltmp.txt": JIS},
     {"site.ini": site_ini(CHARSET_SEL=2), "htmltmp.txt": JIS,
      "log1.txt": crlf(JA_TEXT.replace("①", "")), "index.txt": b"1"},
     "2 FirstCheck")

# The page's last words after its last tag are kept.
TAIL = response([], b"<p>a</p>last words")
case("text-after-last-tag",
     {"htmltmp.txt": TAIL},
     {"htmltmp.txt": TAIL, "log1.txt": crlf("\na\nlast words"), "index.txt": b"1"},
     "2 FirstCheck")

# A plain-text page is copied line by line: CR LF, LF CR, lone CRs and lone LFs each give one
# line end; tags are not interpreted.
PLAIN = response([], b"one\r\ntwo\n\rthree\r\rfour\n\n<b>five</b>")
case("as-text",
     {"site.ini": site_ini(AS_TEXT=1), "htmltmp.txt": PLAIN},
     {"site.ini": site_ini(AS_TEXT=1), "htmltmp.txt": PLAIN,
      "log1.txt": crlf("one\ntwo\nthree\n\nfour\n\n<b>five</b>"), "index.txt": b"1"},
     "2 FirstCheck")

# An RSS 2.0 item: the title line with its link appended, labelled fields, the description.
RSS = response(["Content-Type: application/rss+xml"], sjis(
    '<?xml version="1.0" encoding="Shift_JIS"?>\n'
    '<rss version="2.0"><channel><title>Feed</title>\n'
    '<item><title>記事</title><link>http://example.com/a</link>'
    '<pubDate>Mon, 07 Dec 2026</pubDate><description>本文\n二行目</description></item>'
    '</channel></rss>'))
case("rss-item",
     {"htmltmp.txt": RSS},
     {"htmltmp.txt": RSS, "log1.txt": crlf(
         "\nFeed\n記事 <a href=\"http://example.com/a\">→[link]</a>\n"
         "【pubDate】:Mon, 07 Dec 2026\n本文\n二行目"),
      "index.txt": b"1"},
     "2 FirstCheck")


def write(root, files):
    os.makedirs(root, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(root, name), "wb") as f:
            f.write(data)


def main():
    for name, (inputs, expected, outcome, program) in CASES.items():
        root = os.path.join(HERE, name)
        shutil.rmtree(root, ignore_errors=True)
        write(os.path.join(root, "input"), inputs)
        write(os.path.join(root, "expected"), expected)
        with open(os.path.join(root, "outcome"), "w") as f:
            f.write(outcome + "\n")
        if program is not None:
            with open(os.path.join(root, "program.ini"), "wb") as f:
                f.write(program.encode("ascii"))


if __name__ == "__main__":
    main()
