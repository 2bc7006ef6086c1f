#!/usr/bin/env python3
"""A server that misbehaves on purpose, for the tests of fetching. Listens on 127.0.0.1 at the
port given; each request's path says what happens:

  /reset     part of a body, then a connection reset (RST)
  /silent    reads the request and never answers
  /garbage   a first line that is no status line
  /endless   a 200 answer whose body never ends
  /slow      a complete page, one byte every 20 ms
  /short     fewer body bytes than its Content-Length says, then a clean close
  /halfgzip  the first half of a gzip body, then a clean close
  other      a small complete page
"""

import gzip
import socket
import struct
import sys
import threading
import time

PAGE = b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<p>fault server page</p>"


def handle(conn):
    try:
        request = b""
        while b"\r\n\r\n" not in request:
            chunk = conn.recv(4096)
            if not chunk:
                return
            request += chunk
        path = request.split(b" ")[1]
        if path == b"/reset":
            conn.sendall(b"HTTP/1.1 200 OK\r\n\r\n<p>only the beginning")
            time.sleep(0.05)
            conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        elif path == b"/silent":
            time.sleep(30)
        elif path == b"/garbage":
            conn.sendall(b"garbage line\r\n\r\n<p>body</p>")
        elif path == b"/endless":
            conn.sendall(b"HTTP/1.1 200 OK\r\n\r\n")
            block = b"<p>endless</p>" * 4096
            while True:
                conn.sendall(block)
        elif path == b"/short":
            conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n<p>only a part</p>")
        elif path == b"/halfgzip":
            body = gzip.compress(b"<p>compressed page</p>" * 200)
            conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\n\r\n"
                         + body[:len(body) // 2])
        elif path == b"/slow":
            for byte in PAGE:
                conn.sendall(bytes([byte]))
                time.sleep(0.02)
        else:
            conn.sendall(PAGE)
    except OSError:
        pass
    finally:
        conn.close()


def main():
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", int(sys.argv[1])))
    server.listen(16)
    while True:
        conn, _ = server.accept()
        threading.Thread(target=handle, args=(conn,), daemon=True).start()


if __name__ == "__main__":
    main()
