"""Plays the browser's seat of a loopback table server's table in headless
Chromium, with real pointer events, and checks every tile the page drew
against the server's own messages to the page; then reloads the page in the
middle of the next hand and finds the seat again. With --measure it also
reports the page's size and timings and takes the screenshots for docs/."""
import argparse
import gzip
import json
import os
import sys
import time
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from devtools import Browser, WebSocket  # noqa: E402

TIME_LIMIT = 180  # seconds for the whole run; every loop below is bounded by it
START = time.monotonic()


FRAMES = []  # the server's messages to the page, for the report of a fault


def fail(why):
    for m in FRAMES[-25:]:
        print("  server said:", json.dumps(m)[:300])
    print("FAIL:", why)
    sys.exit(1)


def left():
    if time.monotonic() - START > TIME_LIMIT:
        fail("out of time")
    return True


def http(port, request):
    """The server's whole answer to raw request bytes: status and headers."""
    import socket
    with socket.create_connection(("127.0.0.1", port), timeout=10) as s:
        s.sendall(request)
        answer = b""
        while True:
            chunk = s.recv(65536)
            if not chunk:
                break
            answer += chunk
    head, _, body = answer.partition(b"\r\n\r\n")
    lines = head.decode().split("\r\n")
    headers = dict(line.split(": ", 1) for line in lines[1:] if ": " in line)
    return int(lines[0].split()[1]), headers, body


def check_http(port):
    """The page's files and nothing else: every path a stranger might try."""
    def get(path, method="GET"):
        return http(port, f"{method} {path} HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n".encode())
    status, h, body = get("/t/AB12CD34EF")
    if status != 200 or not h["Content-Type"].startswith("text/html") or \
            "script-src 'self'" not in h["Content-Security-Policy"] or b"page.js" not in body:
        fail(f"/t/CODE: {status} {h}")
    if get("/tarvelis.wasm")[1]["Content-Type"] != "application/wasm":
        fail("the module's type")
    if get("/strips/x3/dibujos.png")[1]["Content-Type"] != "image/png":
        fail("a strip's type")
    for path in ["/../CMakeLists.txt", "/strips/../index.html", "/%2e%2e/etc/passwd",
                 "/strips/careta.png", "/t/AB12CD34EF/../../x", "/t/ABC", "//etc/passwd", "/index.html"]:
        if get(path)[0] != 404:
            fail(f"{path} was served")
    if get("/", "POST")[0] != 405 or get("/", "HEAD")[2] != b"":
        fail("a method other than GET")
    if http(port, b"GET / HTTP/1.1\r\nX: " + b"a" * 9000 + b"\r\n\r\n")[0] != 431:
        fail("a head longer than the bound")
    if http(port, b"NONSENSE\r\n\r\n")[0] != 400:
        fail("a request line of nonsense")


def create_table(port):
    """A table where the browser holds seat 1, a person's, and the computer
    plays the three others."""
    ws = WebSocket("127.0.0.1", port)
    ws.send(json.dumps({"v": 1, "type": "create", "seats": [
        {"kind": "person"}, {"kind": "computer"}, {"kind": "computer"}, {"kind": "computer"}],
        "rules": {"target": 50}}))
    answer = json.loads(ws.recv())
    ws.close()
    if answer.get("type") != "created":
        fail(f"no table: {answer}")
    return answer["code"]


class Seat:
    """The page and what the server told it, read from the WebSocket frames
    the browser received (the DevTools' network events, not the page)."""

    def __init__(self, browser):
        self.b = browser
        self.laid = {}  # (hand, move) -> tile as the server sent it
        self.hand = 0
        self.hand_ended = set()
        self.deals = 0  # a tied hand may be dealt again under its number
        self.deals_at_end = 0
        self.seen = 0

    def read_frames(self):
        self.b.call("Runtime.evaluate", expression="0")  # lets queued events arrive
        for ev in self.b.events[self.seen:]:
            if ev["method"] != "Network.webSocketFrameReceived":
                continue
            try:
                m = json.loads(ev["params"]["response"]["payloadData"])
            except ValueError:
                continue
            FRAMES.append(m)
            t = m.get("type")
            if t == "dealt":
                self.hand = m["hand"]
                self.deals += 1
                for key in [k for k in self.laid if k[0] == self.hand]:
                    del self.laid[key]
            elif t == "laid":
                self.laid[(m["hand"], m["move"])] = sorted(m["tile"])
            elif t == "hand_end":
                self.hand_ended.add(m["hand"])
                self.deals_at_end = self.deals
            elif t == "table":
                self.hand = m.get("hand", self.hand)
                for n, mv in enumerate(m.get("moves", []), 1):
                    if "tile" in mv:
                        self.laid[(m["hand"], n)] = sorted(mv["tile"])
        self.seen = len(self.b.events)

    def check_drawn(self, complete=False):
        """Every chain tile the page drew is the tile the server laid at that
        move of the hand shown; complete: and every laid tile is drawn. The
        browser reports a frame apart from the page, maybe a little later
        than the page drew it: a tile not heard of yet is looked for again."""
        for _ in range(60):
            self.read_frames()
            state = self.b.eval("tarvelis.state()")
            shown = self.b.eval("tarvelis.chain()")
            drawn = shown["tiles"]
            hand = shown["hand"]
            # The whole chain is compared once the page has drawn what it holds.
            unheard = complete and shown["version"] != state["version"]
            for t in drawn:
                sent = self.laid.get((hand, t["move"]))
                if sent is None:
                    unheard = True
                elif sent != sorted([t["a"], t["b"]]):
                    fail(f"hand {hand} move {t['move']}: drew {t['a']}-{t['b']}, server sent {sent}"
                         f" (drew {[(d['move'], d['a'], d['b']) for d in drawn]}, the server laid "
                         f"{sorted((k[1], v) for k, v in self.laid.items() if k[0] == hand)})")
            if complete and not unheard:
                want = sorted(m for (h, m) in self.laid if h == hand)
                got = sorted(t["move"] for t in drawn)
                if want != got:
                    fail(f"hand {hand}: drew moves {got}, server laid {want}")
            if not unheard:
                return state, drawn
            time.sleep(0.05)
        fail(f"hand {hand}: drew {drawn}, the server never laid some of them")

    def targets(self):
        return self.b.eval("tarvelis.targets()")

    def play_one(self, use_continue=False):
        """Answers what the page shows, once: a notice, the end arrows, or
        the seat's move. Returns what was pressed, or None."""
        ts = self.targets()
        kinds = [t["kind"] for t in ts]
        if not ts:
            return None
        if "notice" in kinds:
            pick = ts[kinds.index("notice")]
        elif "arrow" in kinds:
            pick = ts[kinds.index("arrow")]
        elif use_continue:
            pick = ts[kinds.index("continue")]
        elif "tile" in kinds:
            pick = ts[kinds.index("tile")]
        else:
            pick = ts[kinds.index("continue")]
        before = len([k for k in self.laid])
        self.b.click(pick["x"], pick["y"])
        if pick["kind"] in ("tile", "continue", "arrow"):
            # The page drew the move it sent once the server's answer came.
            for _ in range(100):
                left()
                self.read_frames()
                if len(self.laid) > before or self.targets() != ts:
                    break
                time.sleep(0.05)
        return pick["kind"]


def wait_for(cond, what, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline and left():
        v = cond()
        if v:
            return v
        time.sleep(0.05)
    fail("waited in vain for " + what)


def open_table(b, port, code, width, height, scale, mobile=False):
    b.call("Emulation.setDeviceMetricsOverride", width=width, height=height,
           deviceScaleFactor=scale, mobile=mobile)
    b.call("Page.navigate", url=f"http://127.0.0.1:{port}/t/{code}")
    wait_for(lambda: b.eval("typeof tarvelis === 'object' && tarvelis.state().stage === 3"),
             "the table")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--port", type=int, required=True)
    ap.add_argument("--chromium", required=True)
    ap.add_argument("--profile", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--measure", metavar="DOCS_DIR")
    a = ap.parse_args()

    check_http(a.port)
    code = create_table(a.port)
    b = Browser(a.chromium, a.profile, 1920, 1080)
    try:
        b.call("Page.enable")
        b.call("Runtime.enable")
        b.call("Network.enable")
        seat = Seat(b)
        open_table(b, a.port, code, 1920, 1080, 1)
        state, _ = seat.check_drawn()
        if state["seat"] != 1:
            fail(f"sat at seat {state['seat']}")
        first_hand = wait_for(lambda: (seat.read_frames(), seat.hand)[1], "the deal")

        # The whole first hand: every tile by a click, but one move by the
        # continue button (the server's player chooses it).
        pressed = []
        while first_hand not in seat.hand_ended and left():
            kind = seat.play_one(use_continue=pressed.count("tile") == 1 and "continue" not in pressed)
            if kind:
                pressed.append(kind)
            seat.check_drawn()
            seat.read_frames()
            if not kind:
                time.sleep(0.05)
        own = [k for k in pressed if k in ("tile", "continue")]
        print(f"hand {first_hand}: the seat made {len(own)} moves ({pressed.count('continue')} by "
              f"the continue button, {pressed.count('arrow')} end chosen by an arrow), "
              f"{len([1 for (h, _) in seat.laid if h == first_hand])} tiles laid in all")
        if pressed.count("tile") < 1 or "continue" not in pressed:
            fail("the hand was not played by the page's tiles and its continue button")

        # The next hand: one move, then a reload while the hand is under way.
        wait_for(lambda: (seat.read_frames(), seat.deals > seat.deals_at_end)[1], "the next hand", 60)
        moved = False
        while not moved and left():
            kind = seat.play_one()
            moved = kind in ("tile", "continue")
            if not kind:
                time.sleep(0.05)
        wait_for(lambda: "tile" in [t["kind"] for t in seat.targets()], "the seat's next turn", 30)
        _, before = seat.check_drawn(complete=True)
        b.call("Page.reload")
        wait_for(lambda: b.eval("typeof tarvelis === 'object' && tarvelis.state().stage === 3 && "
                                "tarvelis.targets().some(t => t.kind === 'tile')"),
                 "the seat after the reload")
        state, after = seat.check_drawn(complete=True)
        if state["seat"] != 1 or [t["move"] for t in after] != [t["move"] for t in before]:
            fail(f"the reload came back to seat {state['seat']} with {len(after)} tiles drawn, "
                 f"{len(before)} before")
        if seat.play_one() not in ("tile", "arrow"):
            fail("the seat could not play after the reload")
        print(f"reload in hand {state['hand']}: back at seat 1 with the {len(after)} tiles laid")

        if a.measure:
            measure(b, a, code, seat)
        print("PASS")
    finally:
        b.close()


def measure(b, a, code, seat):
    docs = a.measure
    # The page's download, each file compressed as a server would send it.
    files = ["/", "/page.js", "/page.css", "/tarvelis.js", "/tarvelis.wasm", "/tarvelis.png"]
    for s in ["marmol", "dibujos", "punneg", "puntitos", "dorsos", "bmpvario", "piezas", "manos",
              "mensajes"]:
        files.append(f"/strips/{s}.png")
        if s != "marmol":
            files.append(f"/strips/x3/{s}.png")
    raw = packed = 0
    for f in files:
        with urllib.request.urlopen(f"http://127.0.0.1:{a.port}{f}", timeout=10) as r:
            body = r.read()
        raw += len(body)
        packed += len(gzip.compress(body, 9))
    print(f"page download: {raw} bytes, {packed} bytes compressed (gzip -9)")
    # The first table drawn, from the navigation's start, at 1920 x 1080.
    firsts = []
    for _ in range(3):
        b.call("Page.reload")
        wait_for(lambda: b.eval("typeof tarvelis === 'object' && tarvelis.measures.firstTableMs > 0"),
                 "the first table")
        firsts.append(b.eval("tarvelis.measures.firstTableMs"))
    print("first table drawn (ms after the page opened): " + ", ".join(f"{v:.0f}" for v in firsts))
    frames = [b.eval("tarvelis.frame()") for _ in range(61)]
    order = sorted(frames[1:])
    print(f"a whole frame at 1920 x 1080: the first {frames[0]:.2f} ms, then median "
          f"{order[30]:.2f} ms, 95th percentile {order[56]:.2f} ms, worst {order[-1]:.2f} ms "
          f"(load average {open('/proc/loadavg').read().split()[0]})")
    shot(b, os.path.join(docs, "web-table-1920x1080.png"))
    b.call("Emulation.setDeviceMetricsOverride", width=390, height=844, deviceScaleFactor=2,
           mobile=True)
    b.call("Page.reload")
    wait_for(lambda: b.eval("typeof tarvelis === 'object' && tarvelis.state().stage === 3"),
             "the phone's table")
    time.sleep(0.5)
    shot(b, os.path.join(docs, "web-table-390x844.png"))
    # A tap on the phone plays the seat's move as a click does.
    ts = [t for t in seat.targets() if t["kind"] in ("tile", "notice")]
    if ts:
        b.tap(ts[0]["x"], ts[0]["y"])


def shot(b, path):
    data = b.call("Page.captureScreenshot", format="png")["data"]
    import base64
    with open(path, "wb") as f:
        f.write(base64.b64decode(data))
    print("screenshot", path)


if __name__ == "__main__":
    main()
