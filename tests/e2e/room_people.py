#!/usr/bin/env python3
"""People of a loopback tarvelis-server's room, for test_room_match.sh (standard
library only; every wait is bounded and each one stops by itself):
  player PORT DIR SECONDS   enters as "Pablo", creates a public table of two
                            person's chairs (1 and 2) and two computer seats,
                            sits at 1 and writes its code to DIR/code; once the
                            table has started and is watched, says CHAT to it;
                            answers its moves; after the match asks the
                            leaderboard until the match is rated and writes it
                            to DIR/board.json, its own page to DIR/page.json
  watcher PORT DIR SECONDS  enters as "Mirona", watches the table of DIR/code
                            (writing DIR/watching once it does) and writes every
                            frame it receives, one a line, to DIR/watched.log,
                            until the match ends
  ratings PORT DIR NAME     enters again with the player's key and writes the
                            leaderboard and the player's page to DIR/NAME.json
  board FILE                "NAME=RATING ..." of a leaderboard written here, and
                            the player's own rating when the file has its page
  check DIR                 the watcher saw no seat's tile before its hand
                            closed, was never asked, and heard the chat line"""
import base64, json, os, socket, struct, sys, time

CHAT = "suerte a todos"
TARGET = 1


class Link:
    def __init__(self, port, log=None):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=10)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET / HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\nUpgrade: websocket\r\n"
                           f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n"
                           "Sec-WebSocket-Version: 13\r\n\r\n").encode())
        data = b""
        while b"\r\n\r\n" not in data:
            data += self.sock.recv(4096) or sys.exit("the server closed")
        self.buffer = data.split(b"\r\n\r\n", 1)[1]
        self.log = log

    def send(self, **message):
        text = json.dumps(dict(v=1, **message)).encode()
        mask, n = os.urandom(4), len(text)
        head = bytes([0x81, 0x80 | n]) if n < 126 else bytes([0x81, 0xFE]) + struct.pack(">H", n)
        self.sock.sendall(head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(text)))

    def whole(self):
        """The first whole frame of the buffer, taken out of it: (opcode, payload) or None."""
        b = self.buffer
        if len(b) < 2:
            return None
        n, at = b[1] & 0x7F, 2
        if n >= 126:
            at = 4 if n == 126 else 10
            if len(b) < at:
                return None
            n = int.from_bytes(b[2:at], "big")
        if len(b) < at + n:
            return None
        self.buffer = b[at + n:]
        return b[0] & 0x0F, b[at:at + n]

    def frame(self):
        """The next text frame, or None when none came within a second."""
        while True:
            got = self.whole()
            if got and got[0] == 1:
                if self.log:
                    with open(self.log, "ab") as out:
                        out.write(got[1] + b"\n")
                return got[1].decode()
            if got:
                continue
            self.sock.settimeout(1)
            try:
                data = self.sock.recv(65536)
            except socket.timeout:
                return None
            if not data:
                sys.exit("the server closed")
            self.buffer += data

    def messages(self, seconds):
        """Every message that comes within SECONDS (None each quiet second)."""
        end = time.time() + seconds
        while time.time() < end:
            text = self.frame()
            yield json.loads(text) if text else None
        sys.exit("the time ran out")


def key_of(folder, who):
    path = os.path.join(folder, who + ".key")
    if not os.path.exists(path):
        with open(path, "w") as f:
            f.write(os.urandom(32).hex())
    return open(path).read()


def write(path, value):
    with open(path + ".new", "w") as f:
        json.dump(value, f)
    os.replace(path + ".new", path)


def rated(board):
    return sum(p["matches"] >= 1 for p in board.get("players", [])) >= 2


def player(port, folder, seconds):
    link = Link(port)
    link.send(type="enter", key=key_of(folder, "player"), name="Pablo")
    seats = [{"kind": k} for k in ("person", "person", "computer", "computer")]
    link.send(type="create", seats=seats, rules={"target": TARGET}, public=True)
    started = watched = said = False
    over = asked_at = 0.0
    for m in link.messages(seconds):
        t = m and m["type"]
        if t == "created":
            link.send(type="join", code=m["code"], seat=1, name="Pablo")
        elif t == "seated":
            write(os.path.join(folder, "code"), m["code"])
        elif t == "started":
            started = True
        elif t == "room_table" and "table" in m and m["table"].get("watchers", 0) > 0:
            watched = True
        elif t == "asked":
            tile = m["playable"][0]
            link.send(type="move", hand=m["hand"], move=m["move"], tile=tile["tile"],
                      end=tile["ends"][0])
        elif t == "match_end":
            over = time.time()
        elif t == "leaderboard" and rated(m):
            write(os.path.join(folder, "board.json"), m)
            link.send(type="player")
        elif t == "player":
            write(os.path.join(folder, "page.json"), m)
            return
        if started and watched and not said:
            link.send(type="say", to="table", text=CHAT)
            said = True
        # The rating is written a moment after the match ends: asked again
        # twice a second until it is there.
        if over and time.time() - asked_at > 0.5:
            asked_at = time.time()
            link.send(type="leaderboard")


def watcher(port, folder, seconds):
    log = os.path.join(folder, "watched.log")
    link = Link(port, log)
    link.send(type="enter", key=key_of(folder, "watcher"), name="Mirona")
    code = None
    for m in link.messages(seconds):
        if code is None and os.path.exists(os.path.join(folder, "code")):
            code = json.load(open(os.path.join(folder, "code")))
            link.send(type="watch", code=code)
        t = m and m["type"]
        if t == "watching":
            write(os.path.join(folder, "watching"), m["code"])
        elif t == "match_end":
            return


def ratings(port, folder, name):
    link = Link(port)
    link.send(type="enter", key=key_of(folder, "player"), name="Pablo")
    link.send(type="leaderboard")
    got = {}
    for m in link.messages(20):
        if m and m["type"] in ("leaderboard", "player"):
            got[m["type"]] = m
            if m["type"] == "leaderboard":
                link.send(type="player")
            else:
                write(os.path.join(folder, name + ".json"), got)
                return


def board(path):
    got = json.load(open(path))
    players = got.get("leaderboard", got)["players"]
    line = " ".join(sorted(f"{p['name']}={p['rating']}" for p in players))
    print(line + (f" own={got['player']['rating']}" if "player" in got else ""))


def tiles_in(value, out):
    """The tiles under every "tile" member of a message."""
    if isinstance(value, dict):
        for k, v in value.items():
            if k == "tile":
                out.add(tuple(sorted(v)))
            tiles_in(v, out)
    elif isinstance(value, list):
        for v in value:
            tiles_in(v, out)


def check(folder):
    seen, hands, heard = set(), 0, False
    for line in open(os.path.join(folder, "watched.log"), "rb"):
        m = json.loads(line)
        t = m["type"]
        if t == "asked" or "tiles" in m or "token" in m or "playable" in m:
            sys.exit(f"the watcher was sent a seat's own: {line!r}")
        if t == "chat" and m.get("text") == CHAT and m.get("to") == "table":
            heard = True
        if t == "hand_closed":
            held = {tuple(sorted(x)) for hand in m["hands"] for x in hand}
            if seen & held:
                sys.exit(f"the watcher saw held tiles {sorted(seen & held)} before hand {m['hand']} closed")
            seen, hands = set(), hands + 1
        else:
            tiles_in(m, seen)
    if hands == 0 or not heard:
        sys.exit(f"the watcher saw {hands} hands closed, heard the chat: {heard}")
    print(f"the watcher saw {hands} hands close, no held tile before, and the chat")


if __name__ == "__main__":
    a = sys.argv
    {"player": lambda: player(int(a[2]), a[3], float(a[4])),
     "watcher": lambda: watcher(int(a[2]), a[3], float(a[4])),
     "ratings": lambda: ratings(int(a[2]), a[3], a[4]),
     "board": lambda: board(a[2]),
     "check": lambda: check(a[2])}[a[1]]()
