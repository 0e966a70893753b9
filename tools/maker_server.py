#!/usr/bin/env python3
"""A stand-in for the maker's web server, for tests and benchmarks on loopback.

It serves the files of one folder over plain HTTP, or over TLS with a
certificate given to it, and misbehaves on request, so the download code can
be tried against the failures a real server shows.

Mapping of requests to files
    The request target's path, percent-decoded, is looked up below ROOT:
    ``GET /Utils/Name HTTP/1.0`` and the proxy form
    ``GET http://any-host/Utils/Name HTTP/1.0`` both serve ``ROOT/Utils/Name``.
    The host name of an absolute URI is ignored, so Kestrel run with
    ``http_proxy=http://127.0.0.1:PORT`` reaches this server under its real,
    built-in address. Paths with ``..`` components, folders and missing files
    answer 404. Every answer is HTTP/1.0 with a Content-Length (except an
    endless one, below), then the connection closes.

Misbehaviour: ``ROOT/behaviour.json``
    Read again on every request, so a test may change it while the server
    runs. A JSON object keyed by the decoded request path below ROOT
    (``"Utils/Sample.exe"``) or by the bare file name (``"Sample.exe"``; the
    full path wins). Each value is an object with at most one of:

    ``{"status": 404}``       answer that status with a short HTML body (a 407
                              carries a proxy's Basic sign-in challenge)
    ``{"truncate": N}``       announce the full Content-Length, send N bytes, close
    ``{"close": true}``       read the request, close without answering
    ``{"stall": seconds}``    send the headers and the first half of the body,
                              wait that long (or until the server stops), close
    ``{"pause": seconds}``    send the headers and the first half of the body,
                              wait that long, then send the rest
    ``{"trickle": bps}``      send the body at about bps bytes per second
    ``{"cookie": "a=b"}``     serve the file with a Set-Cookie header
    ``{"delay": seconds}``    wait that long before answering at all
    ``{"endless": true}``     announce no length and send the body again and
                              again until the client hangs up

Request log
    Every request line, exactly as received, is kept in memory and, with
    ``--log FILE``, appended to FILE one per line and flushed at once. The
    request line with its header lines is kept too and, with
    ``--header-log FILE``, appended to FILE as the request arrived, each
    request ended by an empty line (lines end in LF).

TLS
    With ``--cert FILE --key FILE`` (PEM) every connection is TLS. As a module,
    ``use_certificate(cert, key)`` switches the certificate while the server
    runs; new connections get the new one.

Command line
    maker_server.py --root DIR [--port 0] [--port-file FILE] [--log FILE]
                    [--header-log FILE] [--cert FILE --key FILE]
    Binds 127.0.0.1 only; port 0 picks a free port. The chosen port is written
    to --port-file (atomically: the file appears complete) once the server
    listens. Ends on SIGTERM or SIGINT.

As a module
    server = MakerServer(root, log_path=None, header_log_path=None, certificate=None)
    port = server.start()        # serves in a background thread
    server.requests()            # request lines received so far
    server.request_headers()     # [(request line, [(name, value), ...]), ...]
    server.stop()
"""

import argparse
import http.server
import json
import os
import signal
import socketserver
import ssl
import sys
import threading
import time
import urllib.parse


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    server_version = "MakerServer/1.0"

    def log_message(self, format, *args):
        pass

    def setup(self):
        context = self.server.maker.tls_context()
        if context is not None:
            # A client that refuses the certificate ends the handshake here.
            self.request.settimeout(30)
            self.request = context.wrap_socket(self.request, server_side=True)
        super().setup()

    def finish(self):
        try:
            super().finish()
        finally:
            # The server closes only the plain socket it accepted, which the
            # TLS socket has taken over.
            if isinstance(self.request, ssl.SSLSocket):
                self.request.close()

    def parse_request(self):
        ok = super().parse_request()
        headers = list(self.headers.items()) if ok else []
        self.server.maker.record(self.requestline, headers)
        return ok

    def do_HEAD(self):
        self._answer(send_body=False)

    def do_GET(self):
        self._answer(send_body=True)

    def _answer(self, send_body):
        maker = self.server.maker
        relative = maker.relative_path(self.path)
        behaviour = maker.behaviour_for(relative) if relative else {}

        if behaviour.get("close"):
            self.close_connection = True
            return
        if "delay" in behaviour:
            maker.stopping.wait(float(behaviour["delay"]))
        status = behaviour.get("status")
        if status and int(status) != 200:
            self._send_text(int(status), send_body)
            return
        body = maker.read_file(relative) if relative else None
        if body is None:
            self._send_text(404, send_body)
            return

        endless = bool(behaviour.get("endless")) and len(body) > 0
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if not endless:
            self.send_header("Content-Length", str(len(body)))
        if "cookie" in behaviour:
            self.send_header("Set-Cookie", str(behaviour["cookie"]) + "; Path=/")
        self.send_header("Connection", "close")
        self.end_headers()
        if not send_body:
            return
        if endless:
            self._repeat(body)
        elif "truncate" in behaviour:
            self._write(body[: int(behaviour["truncate"])])
        elif "stall" in behaviour or "pause" in behaviour:
            self._write(body[: len(body) // 2])
            maker.stopping.wait(float(behaviour.get("stall", behaviour.get("pause"))))
            if "pause" in behaviour:
                self._write(body[len(body) // 2 :])
        elif "trickle" in behaviour:
            self._trickle(body, max(1, int(behaviour["trickle"])))
        else:
            self._write(body)
        self.close_connection = True

    def _send_text(self, status, send_body):
        phrase = self.responses.get(status, ("Error",))[0]
        text = ("<html><body><h1>%d %s</h1></body></html>\n" % (status, phrase)).encode()
        self.send_response(status)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(text)))
        if status == 407:
            self.send_header("Proxy-Authenticate", 'Basic realm="proxy"')
        self.send_header("Connection", "close")
        self.end_headers()
        if send_body:
            self._write(text)

    def _trickle(self, body, per_second):
        step = max(1, per_second // 10)
        for offset in range(0, len(body), step):
            if self.server.maker.stopping.is_set():
                return
            self._write(body[offset : offset + step])
            time.sleep(step / per_second)

    def _repeat(self, body):
        block = body * max(1, 65536 // len(body))
        while not self.server.maker.stopping.is_set() and self._write(block):
            pass

    def _write(self, data):
        """False when the client has hung up."""
        try:
            self.wfile.write(data)
            self.wfile.flush()
            return True
        except OSError:
            self.close_connection = True
            return False


class _Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        # A refused TLS handshake or a client that went away is part of the
        # tests; the server goes on serving.
        pass


class MakerServer:
    """Serves ROOT on 127.0.0.1; see the module's description."""

    def __init__(self, root, log_path=None, port=0, header_log_path=None, certificate=None):
        """certificate: (certificate file, key file), PEM, for TLS; None for plain HTTP."""
        self.root = os.path.realpath(root)
        self.log_path = log_path
        self.header_log_path = header_log_path
        self.port = port
        self.stopping = threading.Event()
        self._lock = threading.Lock()
        self._requests = []
        self._headers = []
        self._tls = None
        if certificate:
            self.use_certificate(*certificate)
        self._server = None
        self._thread = None

    def start(self):
        """Starts serving in a background thread; returns the port."""
        self._server = _Server(("127.0.0.1", self.port), _Handler)
        self._server.maker = self
        self.port = self._server.server_address[1]
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()
        return self.port

    def stop(self):
        self.stopping.set()
        if self._server is not None:
            self._server.shutdown()
            self._server.server_close()
        if self._thread is not None:
            self._thread.join(timeout=10)

    def requests(self):
        """The request lines received so far, oldest first."""
        with self._lock:
            return list(self._requests)

    def request_headers(self):
        """(request line, [(header name, value), ...]) of each request, oldest first."""
        with self._lock:
            return list(self._headers)

    def use_certificate(self, certificate_file, key_file):
        """Serves TLS with this certificate (chain) and key from the next connection on."""
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(certificate_file, key_file)
        with self._lock:
            self._tls = context

    def tls_context(self):
        with self._lock:
            return self._tls

    def record(self, request_line, headers=()):
        with self._lock:
            self._requests.append(request_line)
            self._headers.append((request_line, list(headers)))
            if self.log_path:
                with open(self.log_path, "a", encoding="latin-1") as log:
                    log.write(request_line + "\n")
                    log.flush()
            if self.header_log_path:
                with open(self.header_log_path, "a", encoding="latin-1") as log:
                    log.write("".join(line + "\n" for line in
                                      [request_line, *("%s: %s" % pair for pair in headers), ""]))
                    log.flush()

    def relative_path(self, target):
        """The decoded path below ROOT named by a request target, or None."""
        path = urllib.parse.urlsplit(target).path if "://" in target else target.split("?", 1)[0]
        parts = [p for p in urllib.parse.unquote(path, encoding="latin-1").split("/") if p]
        if not parts or any(p in (".", "..") or "\\" in p for p in parts):
            return None
        return "/".join(parts)

    def behaviour_for(self, relative):
        try:
            with open(os.path.join(self.root, "behaviour.json"), encoding="utf-8") as f:
                table = json.load(f)
        except (OSError, ValueError):
            return {}
        if not isinstance(table, dict):
            return {}
        chosen = table.get(relative, table.get(relative.rsplit("/", 1)[-1], {}))
        return chosen if isinstance(chosen, dict) else {}

    def read_file(self, relative):
        full = os.path.join(self.root, *relative.split("/"))
        if not os.path.isfile(full):
            return None
        try:
            with open(full, "rb") as f:
                return f.read()
        except OSError:
            return None


def main(argv=None):
    parser = argparse.ArgumentParser(description="Serve a folder as the maker's web server, on 127.0.0.1.")
    parser.add_argument("--root", required=True, help="folder served; /Utils/Name is ROOT/Utils/Name")
    parser.add_argument("--port", type=int, default=0, help="port to listen on; 0 picks a free one")
    parser.add_argument("--port-file", help="file that receives the chosen port")
    parser.add_argument("--log", help="file that receives every request line")
    parser.add_argument("--header-log", help="file that receives every request line with its headers")
    parser.add_argument("--cert", help="PEM certificate (chain): serve TLS")
    parser.add_argument("--key", help="PEM private key of --cert")
    args = parser.parse_args(argv)
    if bool(args.cert) != bool(args.key):
        parser.error("--cert and --key go together")

    maker = MakerServer(args.root, log_path=args.log, port=args.port, header_log_path=args.header_log,
                        certificate=(args.cert, args.key) if args.cert else None)
    port = maker.start()
    if args.port_file:
        temporary = args.port_file + ".tmp"
        with open(temporary, "w") as f:
            f.write("%d\n" % port)
        os.replace(temporary, args.port_file)

    done = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: done.set())
    signal.signal(signal.SIGINT, lambda *_: done.set())
    while not done.wait(0.5):
        pass
    maker.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
