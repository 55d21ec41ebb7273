#!/usr/bin/env python3
"""A table server that misbehaves, for test_hostile_server.sh (standard library only, loopback
only, stops by itself after SECONDS):
  hostile_server.py PORTFILE CONTROLDIR SECONDS
It seats whoever joins at seat 1 of table ABC234DEFG, starts a match with names of 256 bytes, lays
three tiles and asks seat 1 to move. Then it waits for files the script drops in CONTROLDIR:
  first connection:  "flood"  thousands of seat changes and long texts that are no messages,
                              until "calm"; then a notice (a dialog on the table);
                     "burst"  while that dialog is open, 24 MB of long texts at once.
  second connection: "giant"  a frame header of 1 GB, then up to 64 MB of its bytes.
It writes "<step>.done" into CONTROLDIR after each step."""
import base64, hashlib, json, os, socket, struct, sys, threading, time

GUID = "258EAFA5-E914-47DA-95CA-C5AB0DC85B11"
LONG_TEXT = "x" * 60000  # under the game's limit for one message, and no JSON


def frame(payload, length=None):
    n = len(payload) if length is None else length
    if n < 126:
        head = bytes([0x81, n])
    elif n < 1 << 16:
        head = bytes([0x81, 126]) + struct.pack(">H", n)
    else:
        head = bytes([0x81, 127]) + struct.pack(">Q", n)
    return head + payload


def message(kind, **members):
    return frame(json.dumps({"v": 1, "type": kind, "code": "ABC234DEFG", **members}).encode())


def seats(away=False):
    out = []
    for seat in range(1, 5):
        name = ("A" if seat == 1 else chr(ord("A") + seat)) * 256
        out.append({"seat": seat, "kind": "person", "name": name, "taken": True,
                    "present": not (away and seat == 2)})
    return out


class Control:
    def __init__(self, folder, deadline):
        self.folder, self.deadline = folder, deadline

    def wait(self, step):
        # The script's word is a file: looked for until it comes or the
        # server's time is up.
        while time.time() < self.deadline:
            if os.path.exists(os.path.join(self.folder, step)):
                return True
            time.sleep(0.05)
        return False

    def done(self, step):
        open(os.path.join(self.folder, step + ".done"), "w").close()


def handshake(sock):
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = sock.recv(4096)
        if not chunk or len(data) > 65536:
            return False
        data += chunk
    key = ""
    for line in data.decode(errors="replace").split("\r\n"):
        if line.lower().startswith("sec-websocket-key:"):
            key = line.split(":", 1)[1].strip()
    accept = base64.b64encode(hashlib.sha1((key + GUID).encode()).digest()).decode()
    sock.sendall(("HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade"
                  f"\r\nSec-WebSocket-Accept: {accept}\r\n\r\n").encode())
    return True


def drain(sock, joined):
    """Reads the client's frames until it closes; sets `joined` at its first one."""
    try:
        while sock.recv(65536):
            joined.set()
    except OSError:
        pass


def seat_and_start(sock, joined):
    joined.wait(10)
    print("joined" if joined.is_set() else "no join", file=sys.stderr, flush=True)
    sock.sendall(message("seated", seat=1, token="0" * 32))
    sock.sendall(message("table", seat=1, started=False, finished=False, rules={},
                         seats=seats(), totals={"pairs": [0, 0], "seats": [0, 0, 0, 0]}, hand=0))
    sock.sendall(message("started", rules={"target": 100}, seats=seats()))
    sock.sendall(message("dealt", hand=1, lead=2,
                         tiles=[[6, 6], [6, 5], [4, 1], [3, 0], [2, 2], [1, 1], [0, 0]]))
    for move, (seat, tile, end) in enumerate([(2, [5, 5], 1), (3, [5, 4], 1), (4, [5, 3], 2)], 1):
        sock.sendall(message("laid", hand=1, move=move, seat=seat, tile=tile, end=end))
    sock.sendall(message("asked", hand=1, move=4, seat=1, ms=0,
                         playable=[{"tile": [4, 1], "ends": [1]}, {"tile": [3, 0], "ends": [2]}]))


def first(sock, control, joined):
    seat_and_start(sock, joined)
    if not control.wait("flood"):
        return
    # Some 6 MB a second, until told to stop (at most 40 000 changes): the game
    # reads it as it comes, so nothing piles up.
    n = 0
    while n < 40000 and not os.path.exists(os.path.join(control.folder, "calm")):
        for _ in range(100):
            sock.sendall(message("seats", seats=seats(away=n % 2 == 0)))
            n += 1
        sock.sendall(frame(LONG_TEXT.encode()))
        time.sleep(0.02)
    # The friend stays away: the line says so until the end.
    sock.sendall(message("seats", seats=seats(away=True)))
    sock.sendall(message("notice", title="Aviso del servidor", text="Una pausa."))
    control.done("flood")
    if not control.wait("burst"):
        return
    try:
        for _ in range(400):
            sock.sendall(frame(LONG_TEXT.encode()))
    except OSError:
        pass
    control.done("burst")


def second(sock, control, joined):
    seat_and_start(sock, joined)
    if not control.wait("giant"):
        return
    sent = 0
    try:
        sock.sendall(frame(b"", length=1 << 30))
        chunk = b"a" * 65536
        while sent < 64 << 20 and time.time() < control.deadline:
            sock.sendall(chunk)
            sent += len(chunk)
    except OSError:
        pass
    with open(os.path.join(control.folder, "giant.sent"), "w") as f:
        f.write(str(sent))
    control.done("giant")


def main(portfile, folder, seconds):
    control = Control(folder, time.time() + seconds)
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(2)
    listener.settimeout(0.5)
    with open(portfile + ".new", "w") as f:
        f.write(str(listener.getsockname()[1]))
    os.replace(portfile + ".new", portfile)
    connections = 0
    while time.time() < control.deadline and connections < 2:
        try:
            sock, _ = listener.accept()
        except socket.timeout:
            continue
        sock.settimeout(max(1.0, control.deadline - time.time()))
        if not handshake(sock):
            sock.close()
            continue
        connections += 1
        print(f"connection {connections}", file=sys.stderr, flush=True)
        joined = threading.Event()
        threading.Thread(target=drain, args=(sock, joined), daemon=True).start()
        step = first if connections == 1 else second
        threading.Thread(target=step, args=(sock, control, joined), daemon=True).start()
    # The connections' threads go on until the script is done with them; the
    # server stays until its time is up or the script stops it.
    while time.time() < control.deadline:
        time.sleep(0.2)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], float(sys.argv[3]))
