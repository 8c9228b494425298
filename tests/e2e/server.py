"""A local web server standing in for the program's site in the tests: 127.0.0.1 only, a free
port, files served from one or more folders (the first that has the file wins). A path prefix
asks for a fault:

  /_404/...       answers 404
  /_cut/...       announces the whole length, sends half the body and closes
  /_nolen/...     sends the whole body without Content-Length (the close ends it)
  /_nolencut/...  no Content-Length, half the body, then the connection is reset
  /_stall/...     announces the length, sends half the body, then waits (?s=seconds, default 30)
  /_alter/...     the right length, but one byte changed

Two answers need no file: /bytes/N is N bytes of a fixed pattern (byte i = i * 7 mod 251), and
/agent answers the request's User-Agent.

Every request is recorded (path and user agent) in .requests, every answer's status in .statuses.

Used in-process by the end-to-end tests, or around a command:
  server.py --root DIR [--root DIR...] --run CMD ARGS...
runs CMD with ZV_HTTP=http://127.0.0.1:PORT/ in its environment and exits with its code."""

import http.server
import os
import socket
import struct
import subprocess
import sys
import threading
import time
import urllib.parse

FAULTS = ("404", "cut", "nolen", "nolencut", "stall", "alter")


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send_response(self, code, message=None):
        self.server.owner.statuses.append((urllib.parse.urlsplit(self.path).path, code))
        super().send_response(code, message)

    def do_GET(self):
        srv = self.server.owner
        url = urllib.parse.urlsplit(self.path)
        path = urllib.parse.unquote(url.path)
        query = urllib.parse.parse_qs(url.query)
        srv.requests.append((path, self.headers.get("User-Agent", "")))
        fault = None
        parts = path.split("/", 2)
        if len(parts) == 3 and parts[1].startswith("_") and parts[1][1:] in FAULTS:
            fault = parts[1][1:]
            path = "/" + parts[2]
        body = srv.find(path)
        if path == "/agent":
            body = self.headers.get("User-Agent", "").encode()
        if fault == "404" or body is None:
            self.send_response(404)
            self.send_header("Content-Length", "9")
            self.end_headers()
            self.wfile.write(b"not found")
            return
        self.send_response(200)
        self.send_header("Content-Type", srv.type_of(path))
        self.send_header("Cache-Control", "no-store")
        if fault in ("nolen", "nolencut"):
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        half = body[:len(body) // 2]
        if fault in (None, "nolen"):
            self.wfile.write(body)
        elif fault == "alter":
            i = len(body) // 2
            self.wfile.write(body[:i] + bytes([body[i] ^ 0x20]) + body[i + 1:] if body else body)
        elif fault == "cut":
            self.wfile.write(half)
            self.wfile.flush()
            self.close_connection = True
        elif fault == "nolencut":
            self.wfile.write(half)
            self.wfile.flush()
            # a reset, not a clean close: the reader sees an error, not an end of data (closing the
            # descriptor itself, before the server's own shutdown could send a clean end)
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            os.close(self.connection.detach())
            self.close_connection = True
        elif fault == "stall":
            self.wfile.write(half)
            self.wfile.flush()
            end = time.time() + float(query.get("s", ["30"])[0])
            while time.time() < end and not srv.stopping:
                time.sleep(0.1)
            self.close_connection = True


class TestServer:
    def __init__(self, *roots):
        self.roots = list(roots)
        self.files = {}  # path -> bytes, served before the folders
        self.requests = []
        self.statuses = []  # (path, status) of every answer
        self.stopping = False
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.httpd.daemon_threads = True
        self.httpd.owner = self
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)

    def start(self):
        self.thread.start()
        return self

    def stop(self):
        self.stopping = True
        self.httpd.shutdown()
        self.httpd.server_close()

    def url(self, path=""):
        return f"http://127.0.0.1:{self.port}/{path.lstrip('/')}"

    def find(self, path):
        if path in self.files:
            return self.files[path]
        if path.startswith("/bytes/") and path[7:].isdigit() and int(path[7:]) <= 64 << 20:
            return pattern(int(path[7:]))
        rel = path.lstrip("/")
        if not rel or ".." in rel.split("/"):
            return None
        for root in self.roots:
            p = os.path.join(root, rel)
            if os.path.isfile(p):
                with open(p, "rb") as f:
                    return f.read()
        return None

    @staticmethod
    def type_of(path):
        ext = os.path.splitext(path)[1].lower()
        return {".txt": "text/plain; charset=utf-8", ".html": "text/html; charset=utf-8", ".png": "image/png",
                ".jpg": "image/jpeg", ".css": "text/css", ".svg": "image/svg+xml"}.get(ext, "application/octet-stream")

    def paths(self):
        return [p for p, _ in self.requests]


def pattern(n):
    one = bytes(i * 7 % 251 for i in range(251))
    return (one * (n // 251 + 1))[:n]


def main(argv):
    roots, i = [], 0
    while i < len(argv) and argv[i] == "--root":
        roots.append(argv[i + 1])
        i += 2
    if i >= len(argv) or argv[i] != "--run":
        print(__doc__)
        return 2
    srv = TestServer(*roots).start()
    try:
        env = dict(os.environ, ZV_HTTP=srv.url())
        return subprocess.call(argv[i + 1:], env=env)
    finally:
        srv.stop()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
