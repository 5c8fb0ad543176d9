"""A scripted HTTP server on 127.0.0.1 that answers with exact bytes.

Each case names what the server does with a request for "/": send a fixed
response, wait first, close in the middle, or never answer. Requests for
other paths (the targets of redirects) get the plain response below, so a
client that follows a redirect can be told apart from one that does not.
"""

import socket
import threading
import time

FIXED_DATE = b"Sun, 06 Nov 1994 08:49:37 GMT"


def response(status=b"200 OK", date_line=b"Date: " + FIXED_DATE, extra=b"", body=b"hello"):
    head = b"HTTP/1.1 " + status + b"\r\n"
    if date_line is not None:
        head += date_line + b"\r\n"
    head += extra
    head += b"Content-Type: text/plain\r\nContent-Length: " + str(len(body)).encode() + b"\r\n"
    head += b"Connection: close\r\n\r\n"
    return head + body


def padded_response(total_block_length):
    """A 200 response whose header block, as the client hands it back
    (lines ending in CR LF, closed by an empty line), is exactly
    total_block_length bytes long."""
    base = response(extra=b"X-Pad: \r\n", body=b"")
    block = base[: base.index(b"\r\n\r\n") + 4]
    pad = total_block_length - len(block)
    assert pad >= 0
    return response(extra=b"X-Pad: " + b"p" * pad + b"\r\n", body=b"")


REDIRECTED = response(date_line=b"Date: Mon, 07 Nov 1994 09:00:00 GMT", extra=b"X-Redirected: yes\r\n")


def redirect(status, location):
    return response(status=status, extra=b"Location: " + location + b"\r\n", body=b"")


def http_date(t):
    """The IMF-fixdate of a Unix time."""
    return time.strftime("%a, %d %b %Y %H:%M:%S GMT", time.gmtime(t)).encode()


class Case:
    """What the server does for "/". reply may be a function that makes the
    bytes when the request arrives."""

    def __init__(self, name, reply=None, delay=0.0, action="send"):
        self.name = name
        self.reply = reply
        self.delay = delay
        self.action = action  # send | close_mid | hang | reset


def date_case(name, date_line):
    return Case(name, response(date_line=date_line))


# The table shared by the parity test and the end-to-end tests.
CASES = [
    Case("normal", response()),
    date_case("no_space_after_colon", b"Date:Sun, 06 Nov 1994 08:49:37 GMT"),
    date_case("extra_spaces_around_value", b"Date:    Sun, 06 Nov 1994 08:49:37 GMT   "),
    date_case("lower_case_name", b"date: Sun, 06 Nov 1994 08:49:37 GMT"),
    date_case("two_inner_spaces", b"Date: Sun, 06  Nov 1994 08:49:37 GMT"),
    date_case("tab_inside_value", b"Date: Sun,\t06 Nov 1994 08:49:37 GMT"),
    date_case("obsolete_dashes", b"Date: Sunday, 06-Nov-94 08:49:37 GMT"),
    date_case("asctime_layout", b"Date: Sun Nov  6 08:49:37 1994"),
    date_case("december", b"Date: Sat, 31 Dec 2016 23:59:59 GMT"),
    date_case("unknown_month", b"Date: Sat, 01 Foo 2016 12:00:00 GMT"),
    date_case("lower_case_month", b"Date: Sun, 06 nov 1994 08:49:37 GMT"),
    Case("date_in_other_header_name", response(date_line=b"Date: Sun, 06 Nov 1994 08:49:37 GMT")
         .replace(b"HTTP/1.1 200 OK\r\n", b"HTTP/1.1 200 OK\r\nX-Date: Mon, 07 Nov 1994 10:00:00 GMT\r\n")),
    Case("date_inside_earlier_value", response(
        date_line=b"Date: Sun, 06 Nov 1994 08:49:37 GMT")
        .replace(b"HTTP/1.1 200 OK\r\n", b"HTTP/1.1 200 OK\r\nX-Note: Date:Tue, 08 Nov 1994 11:00:00 GMT\r\n")),
    Case("no_date_header", response(date_line=None)),
    Case("duplicate_headers", response(extra=b"X-Dup: a=1\r\nX-Dup: b=2\r\n")),
    Case("tab_before_value", response(date_line=b"Date:\tSun, 06 Nov 1994 08:49:37 GMT")),
    Case("line_without_colon", response(extra=b"NoColonHere\r\n")),
    Case("bare_lf_lines", response().replace(b"\r\n", b"\n")),
    Case("space_before_colon", response(date_line=b"Date : Sun, 06 Nov 1994 08:49:37 GMT")),
    Case("status_without_reason", response(status=b"200")),
    Case("block_1023", padded_response(1023)),
    Case("block_1024", padded_response(1024)),
    Case("status_301", redirect(b"301 Moved Permanently", b"/moved")),
    Case("status_302", redirect(b"302 Found", b"/moved")),
    Case("redirect_to_https", redirect(b"302 Found", b"https://127.0.0.1:9/")),
    Case("status_404", response(status=b"404 Not Found")),
    Case("status_500", response(status=b"500 Internal Server Error")),
    Case("delayed_1500ms", response(), delay=1.5),
    Case("closed_mid_headers", b"HTTP/1.1 200 OK\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\nContent-Ty",
         action="close_mid"),
    Case("closed_mid_header_value", b"HTTP/1.1 200 OK\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\nServer: te",
         action="close_mid"),
    Case("reset_before_response", action="reset"),
]

CASES_BY_NAME = {c.name: c for c in CASES}


class FixtureServer:
    """Serves one case at a time; the case can be changed between requests."""

    def __init__(self, port=0, host="127.0.0.1"):
        self.case = CASES_BY_NAME["normal"]
        self.requests = []  # raw request heads, in order
        self.served = []  # (path, time received, time the reply was sent)
        self._lock = threading.Lock()
        self._sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self._sock.bind((host, port))
        self._sock.listen(16)
        self.port = self._sock.getsockname()[1]
        self._stopping = False
        self._hung = []
        self._thread = threading.Thread(target=self._serve, daemon=True)
        self._thread.start()

    def set_case(self, name_or_case):
        self.case = CASES_BY_NAME[name_or_case] if isinstance(name_or_case, str) else name_or_case

    def stop(self):
        self._stopping = True
        try:
            socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
        except OSError:
            pass
        self._sock.close()
        for c in self._hung:
            c.close()

    def _serve(self):
        while not self._stopping:
            try:
                conn, _ = self._sock.accept()
            except OSError:
                return
            if self._stopping:
                conn.close()
                return
            threading.Thread(target=self._handle, args=(conn,), daemon=True).start()

    def _read_head(self, conn):
        data = b""
        conn.settimeout(10)
        while b"\r\n\r\n" not in data:
            try:
                chunk = conn.recv(4096)
            except OSError:
                return None
            if not chunk:
                return None
            data += chunk
        return data[: data.index(b"\r\n\r\n") + 4]

    def _handle(self, conn):
        case = self.case
        if case.action == "reset":
            # Close before reading anything: the client sees a reset or EOF.
            conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00")
            conn.close()
            return
        head = self._read_head(conn)
        if head is None:
            conn.close()
            return
        received = time.monotonic()
        with self._lock:
            self.requests.append(head)
        path = head.split(b" ", 2)[1] if head.count(b" ") >= 2 else b"/"
        try:
            if path != b"/":
                conn.sendall(REDIRECTED)
            elif case.action == "hang":
                self._hung.append(conn)
                return
            else:
                if case.delay:
                    time.sleep(case.delay)
                conn.sendall(case.reply() if callable(case.reply) else case.reply)
                with self._lock:
                    self.served.append((path, received, time.monotonic()))
            conn.shutdown(socket.SHUT_WR)
            time.sleep(0.05)
        except OSError:
            pass
        conn.close()


_shared = {}


def shared_server(port):
    """One server per port for the whole test process: every test class that
    needs port 80 uses the same one, which lives until the process ends."""
    if port not in _shared:
        _shared[port] = FixtureServer(port=port)
    return _shared[port]


def serve_commands(server, lines, out):
    """A control channel for tests in other languages: one command per line,
    one answer line each. case NAME | delay NAME SECONDS | served | stop."""
    print(server.port, file=out, flush=True)
    for line in lines:
        words = line.split()
        if not words:
            continue
        if words[0] == "case":
            server.set_case(words[1])
            print("ok", file=out, flush=True)
        elif words[0] == "delay":
            base = CASES_BY_NAME[words[1]]
            server.set_case(Case(base.name + "_delayed", base.reply, delay=float(words[2])))
            print("ok", file=out, flush=True)
        elif words[0] == "served":
            print(" ".join(f"{r:.3f},{s:.3f}" for _, r, s in server.served), file=out, flush=True)
        elif words[0] == "stop":
            break
    server.stop()


if __name__ == "__main__":
    import sys

    fixture = FixtureServer(port=int(sys.argv[1]) if len(sys.argv) > 1 else 0)
    if len(sys.argv) > 2:
        fixture.set_case(sys.argv[2])
    serve_commands(fixture, sys.stdin, sys.stdout)
