#!/usr/bin/env python3
"""A results server for the update tests, on 127.0.0.1 only.

Usage: results_server.py ROOT CERT KEY

Serves the files under ROOT over HTTP and over HTTPS (CERT and KEY, made for
127.0.0.1), each on a free port the system picks, and prints one line
"http=PORT https=PORT silent=PORT" once both listen. "silent" is a port whose
queue is full, so that a connection to it is never answered.

Besides the files, a few paths misbehave on purpose:
  /status/CODE/...      that status, with a small HTML page
  /loop                 a redirect to itself
  /redirect?to=URL      a redirect to URL
  /big?bytes=N          N bytes without Content-Length, ended by closing
  /big-declared?bytes=N N bytes, announced in Content-Length
  /truncated            announces 1000 bytes, sends 100 and closes
  /stall                announces 100000 bytes, sends 100 and waits
A request for an absolute address (as a client sends it to a proxy) is
answered with "proxied " and that address.
"""
import http.server
import os
import socket
import ssl
import sys
import threading
import time
import urllib.parse

root, cert, key = sys.argv[1:4]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def head(self, status, length=None, extra=()):
        self.send_response(status)
        if length is not None:
            self.send_header("Content-Length", str(length))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()

    def reply(self, status, body, extra=()):
        self.head(status, len(body), extra)
        self.wfile.write(body)

    def redirect(self, to):
        self.reply(302, b"moved", [("Location", to)])

    def do_GET(self):
        if self.path.startswith("http://"):
            return self.reply(200, b"proxied " + self.path.encode())
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        path = url.path
        size = int(query.get("bytes", ["0"])[0])
        if path.startswith("/status/"):
            code = int(path.split("/")[2])
            return self.reply(code, b"<html><body>status</body></html>",
                              [("Content-Type", "text/html")])
        if path == "/loop":
            return self.redirect("/loop")
        if path == "/redirect":
            return self.redirect(query["to"][0])
        if path == "/big":
            self.close_connection = True
            self.head(200, None, [("Connection", "close")])
            return self.send_bytes(size)
        if path == "/big-declared":
            self.head(200, size)
            return self.send_bytes(size)
        if path == "/truncated":
            self.close_connection = True
            self.head(200, 1000)
            return self.wfile.write(b"[" * 100)
        if path == "/stall":
            self.head(200, 100000)
            self.wfile.write(b"[" * 100)
            self.wfile.flush()
            time.sleep(30)
            self.close_connection = True
            return None
        return self.serve_file(path)

    def send_bytes(self, size):
        chunk = b"x" * 65536
        try:
            while size > 0:
                self.wfile.write(chunk[:size])
                size -= len(chunk)
        except OSError:
            pass  # the client stopped reading

    def serve_file(self, path):
        local = os.path.normpath(os.path.join(root, path.lstrip("/")))
        if not local.startswith(os.path.abspath(root)) or not os.path.isfile(local):
            return self.reply(404, b"<html><body>not found</body></html>",
                              [("Content-Type", "text/html")])
        with open(local, "rb") as f:
            body = f.read()
        self.reply(200, body)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    tls = None

    def handle_error(self, request, client_address):
        pass  # a client that hung up on purpose

    def finish_request(self, request, client_address):
        if self.tls:
            try:
                request = self.tls.wrap_socket(request, server_side=True)
            except (ssl.SSLError, OSError):
                return  # a client that does not trust the certificate
        super().finish_request(request, client_address)


def start(tls=None):
    server = Server(("127.0.0.1", 0), Handler)
    server.tls = tls
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


root = os.path.abspath(root)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(cert, key)
plain_port = start()
tls_port = start(context)

# A listening socket never accepted from, its queue filled: the system drops
# further connection requests, so a client waits until its own time-out.
silent = socket.socket()
silent.bind(("127.0.0.1", 0))
silent.listen(0)
fillers = []
for _ in range(4):
    s = socket.socket()
    s.setblocking(False)
    s.connect_ex(silent.getsockname())
    fillers.append(s)

print("http=%d https=%d silent=%d" % (plain_port, tls_port, silent.getsockname()[1]), flush=True)
# Ends when the test closes the pipe to standard input (or ends itself).
sys.stdin.read()
