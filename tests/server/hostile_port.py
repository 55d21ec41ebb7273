"""The port itself against hostile clients: a bare WebSocket client, frames
a server must refuse, and the page asked for in a flood.

Loopback only; every loop is bounded in time.
"""
import base64
import json
import os
import socket
import struct
import sys
import threading
import time

HOST = "127.0.0.1"
HOSTILE = "127.0.0.2"
HONEST = "127.0.0.3"
# The page's limits per address the script starts the server with.
PAGE_OPEN = 8
PAGE_PER_MINUTE = 60
# The honest address gets the page within this, whatever another floods.
PAGE_PROMPT_MS = 500.0


class Closed(Exception):
    pass


class Ws:
    """A bare WebSocket client: masked frames out, frames in."""

    def __init__(self, port, source, timeout=5.0):
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self.sock.bind((source, 0))
        self.sock.settimeout(timeout)
        self.sock.connect((HOST, port))
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall(("GET / HTTP/1.1\r\nHost: %s:%d\r\nConnection: Upgrade\r\n"
                           "Upgrade: websocket\r\nSec-WebSocket-Key: %s\r\n"
                           "Sec-WebSocket-Version: 13\r\n\r\n" % (HOST, port, key)).encode())
        data = b""
        while b"\r\n\r\n" not in data:
            chunk = self.sock.recv(4096)
            if not chunk:
                raise Closed()
            data += chunk
        head, self.buf = data.split(b"\r\n\r\n", 1)
        if b" 101 " not in head.split(b"\r\n")[0]:
            raise Closed()

    def frame(self, payload, opcode=1):
        mask = os.urandom(4)
        n = len(payload)
        if n < 126:
            head = struct.pack("!BB", 0x80 | opcode, 0x80 | n)
        else:
            head = struct.pack("!BBH", 0x80 | opcode, 0x80 | 126, n)
        return head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload))

    def send(self, text):
        self.sock.sendall(self.frame(text.encode()))

    def send_json(self, **fields):
        self.send(json.dumps(dict(v=1, **fields)))

    def _need(self, n):
        while len(self.buf) < n:
            chunk = self.sock.recv(65536)
            if not chunk:
                raise Closed()
            self.buf += chunk

    def recv(self):
        """The next text message, as JSON; pongs and pings skipped."""
        while True:
            self._need(2)
            b0, b1 = self.buf[0], self.buf[1]
            n, at = b1 & 0x7F, 2
            if n == 126:
                self._need(4)
                n, at = struct.unpack("!H", self.buf[2:4])[0], 4
            elif n == 127:
                self._need(10)
                n, at = struct.unpack("!Q", self.buf[2:10])[0], 10
            self._need(at + n)
            payload, self.buf = self.buf[at:at + n], self.buf[at + n:]
            opcode = b0 & 0x0F
            if opcode == 8:
                raise Closed()
            if opcode == 1:
                return json.loads(payload)

    def close(self):
        try:
            self.sock.close()
        except OSError:
            pass


def fail(why, **seen):
    print(json.dumps(dict(ok=False, why=why, **seen)))
    sys.exit(1)


def expect_closed(ws, seconds):
    """True when the server closes `ws` within `seconds`."""
    ws.sock.settimeout(0.2)
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            if not ws.sock.recv(65536):
                return True
        except socket.timeout:
            continue
        except OSError:
            return True
    return False


def frames_guarded(port):
    """An unmasked frame, and pings past their rate while reading the pongs,
    each close the connection; pings at a modest rate do not."""
    seen = {}
    ws = Ws(port, HOSTILE)
    ws.sock.sendall(b"\x81\x02{}")  # a text frame, unmasked
    seen["unmasked_closed"] = expect_closed(ws, 3)
    ws.close()
    ws = Ws(port, HOSTILE)
    for _ in range(10):
        ws.sock.sendall(ws.frame(b"ping", 9))
        time.sleep(0.1)
    ws.send("{}")
    try:
        seen["modest_pings_answered"] = ws.recv().get("error") == "bad_message"
    except (Closed, OSError):
        seen["modest_pings_answered"] = False
    # Past the burst at once; the pongs are read, so only the rate cuts it.
    ws.sock.sendall(b"".join(ws.frame(b"ping", 9) for _ in range(100)))
    seen["ping_flood_closed"] = expect_closed(ws, 3)
    ws.close()
    if not (seen["unmasked_closed"] and seen["modest_pings_answered"] and
            seen["ping_flood_closed"]):
        fail("the frames were not guarded", frames=seen)
    return seen


def get_page(port, source, timeout=2.0):
    """One GET / from `source`: its status (0 when closed unanswered)."""
    s = socket.socket()
    s.bind((source, 0))
    s.settimeout(timeout)
    try:
        s.connect((HOST, port))
        s.sendall(b"GET / HTTP/1.1\r\nHost: x\r\n\r\n")
        data = b""
        while b"\r\n" not in data:
            chunk = s.recv(4096)
            if not chunk:
                break
            data += chunk
        parts = data.split(b" ", 2)
        return int(parts[1]) if len(parts) > 1 and parts[1].isdigit() else 0
    except OSError:
        return 0
    finally:
        s.close()


def page_flood(port, seconds=3.0):
    """127.0.0.2 holds connections open and asks for the page as fast as it
    can; 127.0.0.3 asks now and then, and gets it promptly every time."""
    idle = []
    # Half the address's share held silent: the flood has the rest.
    for _ in range(PAGE_OPEN // 2):
        s = socket.socket()
        s.bind((HOSTILE, 0))
        s.connect((HOST, port))
        idle.append(s)
    statuses = {}
    lock = threading.Lock()
    end = time.monotonic() + seconds

    def flood():
        while time.monotonic() < end:
            status = get_page(port, HOSTILE)
            with lock:
                statuses[status] = statuses.get(status, 0) + 1

    threads = [threading.Thread(target=flood, daemon=True) for _ in range(6)]
    for t in threads:
        t.start()
    honest = []
    while time.monotonic() < end:
        start = time.perf_counter()
        status = get_page(port, HONEST)
        honest.append(((time.perf_counter() - start) * 1000.0, status))
        time.sleep(0.2)
    for t in threads:
        t.join(5)
    for s in idle:
        s.close()
    # The flood over, a request refills within a second and the address's
    # connections, its WebSockets too, are taken again.
    time.sleep(1.5 * 60.0 / PAGE_PER_MINUTE)
    seen = dict(hostile={str(k): v for k, v in sorted(statuses.items())},
                honest_gets=len(honest), honest_max_ms=round(max(ms for ms, _ in honest), 1))
    if any(status != 200 for _, status in honest):
        fail("the honest address did not get the page", page=seen)
    if seen["honest_max_ms"] > PAGE_PROMPT_MS:
        fail("the honest address waited for the page", page=seen)
    # The burst of a minute's requests, and what refills meanwhile.
    if statuses.get(200, 0) > PAGE_PER_MINUTE * (1 + seconds / 60) + 1:
        fail("one address got the page %d times in seconds" % statuses[200], page=seen)
    if not statuses.get(429) or not statuses.get(0):
        fail("the flood was neither refused nor closed", page=seen)
    return seen
