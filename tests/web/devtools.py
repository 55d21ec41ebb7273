"""A small client of the browser's DevTools protocol over its WebSocket, and
a headless Chromium to drive with it. Standard library only; every address is
a loopback one."""
import base64
import itertools
import json
import os
import re
import socket
import struct
import subprocess
import time
import urllib.request


class WebSocket:
    """A WebSocket client for text frames, enough for the DevTools and the
    table server."""

    def __init__(self, host, port, path="/", timeout=30):
        self.sock = socket.create_connection((host, port), timeout=timeout)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET {path} HTTP/1.1\r\nHost: {host}:{port}\r\n"
                           "Upgrade: websocket\r\nConnection: Upgrade\r\n"
                           f"Sec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n").encode())
        buf = b""
        while b"\r\n\r\n" not in buf:
            chunk = self.sock.recv(4096)
            if not chunk:
                raise EOFError("closed during the handshake")
            buf += chunk
        head, self.buf = buf.split(b"\r\n\r\n", 1)
        if b" 101 " not in head.split(b"\r\n")[0]:
            raise ConnectionError(head.decode(errors="replace"))

    def send(self, text):
        data = text.encode()
        mask = os.urandom(4)
        n = len(data)
        head = bytes([0x81])
        if n < 126:
            head += bytes([0x80 | n])
        elif n < 65536:
            head += bytes([0x80 | 126]) + struct.pack(">H", n)
        else:
            head += bytes([0x80 | 127]) + struct.pack(">Q", n)
        masked = bytes(b ^ mask[i % 4] for i, b in enumerate(data))
        self.sock.sendall(head + mask + masked)

    def _read(self, n):
        while len(self.buf) < n:
            chunk = self.sock.recv(1 << 16)
            if not chunk:
                raise EOFError("closed")
            self.buf += chunk
        out, self.buf = self.buf[:n], self.buf[n:]
        return out

    def recv(self):
        message = b""
        while True:
            b0, b1 = self._read(2)
            n = b1 & 0x7F
            if n == 126:
                n = struct.unpack(">H", self._read(2))[0]
            elif n == 127:
                n = struct.unpack(">Q", self._read(8))[0]
            payload = self._read(n)
            opcode = b0 & 0x0F
            if opcode == 8:
                raise EOFError("closed by the other side")
            if opcode in (9, 10):
                continue
            message += payload
            if b0 & 0x80:
                return message.decode()

    def close(self):
        self.sock.close()


class Browser:
    """Headless Chromium with one page, driven through the DevTools."""

    def __init__(self, chromium, profile, width, height):
        self.proc = subprocess.Popen(
            [chromium, "--headless=new", "--no-sandbox", "--remote-debugging-port=0",
             "--remote-debugging-address=127.0.0.1", f"--user-data-dir={profile}",
             "--no-first-run", "--no-default-browser-check", "--disable-background-networking",
             "--disable-component-update", "--disable-sync", "--disable-extensions",
             "--disable-gpu", "--disable-accelerated-2d-canvas", "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
             f"--window-size={width},{height}", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        port = None
        deadline = time.monotonic() + 30
        while port is None and time.monotonic() < deadline:
            line = self.proc.stderr.readline()
            if not line:
                break
            m = re.search(r"DevTools listening on ws://127\.0\.0\.1:(\d+)/", line)
            if m:
                port = int(m.group(1))
        if port is None:
            self.proc.kill()
            raise RuntimeError("chromium gave no DevTools port")
        pages = []
        for _ in range(50):
            with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list", timeout=5) as r:
                pages = [t for t in json.load(r) if t["type"] == "page"]
            if pages:
                break
            time.sleep(0.1)
        path = pages[0]["webSocketDebuggerUrl"].split(str(port), 1)[1]
        self.ws = WebSocket("127.0.0.1", port, path)
        self.ids = itertools.count(1)
        self.events = []

    def call(self, method, **params):
        n = next(self.ids)
        self.ws.send(json.dumps({"id": n, "method": method, "params": params}))
        while True:
            m = json.loads(self.ws.recv())
            if m.get("id") == n:
                if "error" in m:
                    raise RuntimeError(f"{method}: {m['error']}")
                return m.get("result", {})
            if "method" in m:
                self.events.append(m)

    def eval(self, expression):
        r = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                      awaitPromise=True)
        if "exceptionDetails" in r:
            raise RuntimeError(f"{expression}: {r['exceptionDetails']}")
        return r["result"].get("value")

    def click(self, x, y):
        for kind in ("mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                      clickCount=1, pointerType="mouse")

    def tap(self, x, y):
        for kind, points in (("touchStart", [{"x": x, "y": y}]), ("touchEnd", [])):
            self.call("Input.dispatchTouchEvent", type=kind, touchPoints=points)

    def close(self):
        try:
            self.call("Browser.close")
        except (OSError, EOFError, RuntimeError):
            pass
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
