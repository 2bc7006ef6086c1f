#!/usr/bin/env python3
"""Writes the page files the benchmarks read: one news-portal-like page of about 300 KB, stored
as complete responses in Shift_JIS, UTF-8, EUC-JP and as a chunked gzip response.

    python3 bench/make_pages.py

The page has what the pages users watch have: navigation lists, tables of dated headlines with
links, images with alternative text, inline scripts and styles, comments and a long footer.
"""

import gzip
import os
import random

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data")
WORDS = ("新着 情報 更新 お知らせ 本日 発表 記事 特集 新製品 販売 開始 予定 会見 結果 速報 "
         "東京 大阪 市場 株価 天気 週末 イベント 開催 募集 受付 終了 延期 発売 記念 限定 "
         "キャンペーン 応募 当選 発送 ご案内 メンテナンス 障害 復旧 公開 改善 対応 ニュース").split()


def sentence(rng, n):
    return "".join(rng.choice(WORDS) for _ in range(n)) + rng.choice(["。", "！", "", "…"])


def page(rng):
    out = ['<!DOCTYPE html>\n<html lang="ja">\n<head>\n<meta http-equiv="Content-Type" '
           'content="text/html; charset=Shift_JIS">\n<title>ポータル - トップ</title>\n'
           '<style type="text/css">\nbody { font-family: sans-serif; }\n'
           '.news td { padding: 2px 4px; }\n</style>\n'
           '<script type="text/javascript">\nvar n = 0; for (var i = 0; i < 10; i++) '
           '{ if (i < 5) n += i; }\n</script>\n</head>\n<body>\n']
    out.append('<div id="nav"><ul>\n')
    for i in range(60):
        out.append('  <li><a href="/category/%d/index.html">%s</a></li>\n'
                   % (i, sentence(rng, 2)))
    out.append('</ul></div>\n<!-- main column -->\n')
    for block in range(40):
        out.append('<h2>%s</h2>\n<table class="news" width="100%%">\n' % sentence(rng, 3))
        for row in range(25):
            out.append('<tr><td class="date">2026/%02d/%02d %02d:%02d</td>'
                       '<td><a href="/news/%d/%d.html">%s</a> %s</td>'
                       '<td><img src="/img/icon%d.gif" alt="%s" width="16" height="16"></td></tr>\n'
                       % (rng.randint(1, 12), rng.randint(1, 28), rng.randint(0, 23),
                          rng.randint(0, 59), block, row, sentence(rng, 4), sentence(rng, 6),
                          row % 7, rng.choice(["新着", "更新", ""])))
        out.append('</table>\n<p>%s<br>%s</p>\n' % (sentence(rng, 10), sentence(rng, 8)))
        out.append('<script>document.write("<div>ad %d</div>");</script>\n' % block)
    out.append('<div id="footer">')
    for i in range(100):
        out.append('%s　' % sentence(rng, 3))
    out.append('<br>Copyright &copy; 2026 Example &amp; Co.</div>\n</body>\n</html>\n')
    return "".join(out)


def chunked(body, size):
    out = b""
    for pos in range(0, len(body), size):
        piece = body[pos:pos + size]
        out += b"%x\r\n" % len(piece) + piece + b"\r\n"
    return out + b"0\r\n\r\n"


def main():
    os.makedirs(HERE, exist_ok=True)
    html = page(random.Random(42))
    head = "HTTP/1.1 200 OK\r\nContent-Type: text/html%s\r\n"
    responses = {
        "page-sjis.txt": (head % "; charset=Shift_JIS" + "\r\n").encode() + html.encode("cp932"),
        "page-utf8.txt": (head % "; charset=UTF-8" + "\r\n").encode() + html.encode("utf-8"),
        "page-eucjp.txt": (head % "; charset=EUC-JP" + "\r\n").encode() + html.encode("euc_jp"),
        "page-gzip-chunked.txt": (head % "; charset=Shift_JIS" +
                                  "Transfer-Encoding: chunked\r\nContent-Encoding: gzip\r\n\r\n"
                                  ).encode() + chunked(gzip.compress(html.encode("cp932"),
                                                                     mtime=0), 8192),
    }
    for name, data in responses.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
