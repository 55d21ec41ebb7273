#!/usr/bin/env python3
"""Loopback helpers for test_network_match.sh (standard library only):
  create PORT SEAT TARGET [SEAT2]       a table, SEAT (and SEAT2) a person's; prints its code
  sit PORT CODE SEAT SECONDS            sits at SEAT and stays there, silent, for SECONDS
  relay PORTFILE SERVERPORT LOG SECONDS a relay to the server that writes down what
                                        the server sends; it stops by itself
  compare RELAYLOG GAMELOG              the server's moves and totals against the game's"""
import base64, json, os, socket, struct, sys, threading, time


def frames(buffer):
    """The server's whole frames (unmasked, under 64 KB) at the start of buffer."""
    out = []
    while len(buffer) >= 2:
        n, at = buffer[1] & 0x7F, 2
        if n == 126:
            if len(buffer) < 4:
                break
            n, at = struct.unpack(">H", buffer[2:4])[0], 4
        if len(buffer) < at + n:
            break
        out.append((buffer[0] & 0x0F, buffer[at:at + n]))
        buffer = buffer[at + n:]
    return out, buffer


def connect(port):
    """A WebSocket to the loopback server; returns it and what came after the handshake."""
    sock = socket.create_connection(("127.0.0.1", port), timeout=10)
    key = base64.b64encode(os.urandom(16)).decode()
    sock.sendall((f"GET / HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\nUpgrade: websocket\r\nConnection: "
                  f"Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n").encode())
    data = b""
    while b"\r\n\r\n" not in data:
        data += sock.recv(4096) or sys.exit("the server closed")
    return sock, data.split(b"\r\n\r\n", 1)[1]


def send(sock, message):
    text = json.dumps(message).encode()
    mask, n = os.urandom(4), len(text)
    head = bytes([0x81, 0x80 | n]) if n < 126 else bytes([0x81, 0xFE]) + struct.pack(">H", n)
    sock.sendall(head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(text)))


def create(port, seat, target, seat2=0):
    sock, data = connect(port)
    seats = [{"kind": "person" if s in (seat, seat2) else "computer"} for s in range(1, 5)]
    send(sock, {"v": 1, "type": "create", "seats": seats, "rules": {"target": target}})
    while not frames(data)[0]:
        data += sock.recv(4096) or sys.exit("the server closed")
    print(json.loads(frames(data)[0][0][1])["code"])


def sit(port, code, seat, seconds):
    sock, _ = connect(port)
    send(sock, {"v": 1, "type": "join", "code": code, "seat": seat, "name": "Carmen"})
    sock.settimeout(1)
    end = time.time() + seconds
    while time.time() < end:
        try:
            if not sock.recv(65536):
                return
        except socket.timeout:
            continue


def relay(portfile, server_port, log, seconds):
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", int(open(portfile).read()) if os.path.exists(portfile) else 0))
    listener.listen(4)
    listener.settimeout(1)
    with open(portfile + ".new", "w") as f:
        f.write(str(listener.getsockname()[1]))
    os.replace(portfile + ".new", portfile)

    def pump(src, dst, watch):
        buffer, header = b"", True
        try:
            while data := src.recv(65536):
                dst.sendall(data)
                if watch:
                    buffer += data
                    if header and b"\r\n\r\n" in buffer:
                        buffer, header = buffer.split(b"\r\n\r\n", 1)[1], False
                    got, buffer = ([], buffer) if header else frames(buffer)
                    with open(log, "a") as out:
                        out.writelines(p.decode() + "\n" for op, p in got if op == 1)
        except OSError:
            pass
        for s in (src, dst):
            try:
                s.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    end = time.time() + seconds
    while time.time() < end:
        try:
            client, _ = listener.accept()
        except socket.timeout:
            continue
        upstream = socket.create_connection(("127.0.0.1", server_port), timeout=10)
        upstream.settimeout(None)
        threading.Thread(target=pump, args=(client, upstream, False), daemon=True).start()
        threading.Thread(target=pump, args=(upstream, client, True), daemon=True).start()


def move(m):
    return f"seat {m['seat']} pass" if m.get("pass") or "tile" not in m else \
        f"seat {m['seat']} tile {m['tile'][0]} {m['tile'][1]} end {m['end']}"


def compare(relay_log, game_log):
    # Hands are counted by their deals: a tied hand played again keeps its number.
    server, server_totals, deal = {}, None, 0
    for m in map(json.loads, open(relay_log)):
        t = m["type"]
        deal += t == "dealt"
        if t in ("laid", "passed"):
            server.setdefault(deal, {})[m["move"]] = move(m)
        elif t == "table" and "moves" in m:
            server.setdefault(deal, {}).update({n: move(x) for n, x in enumerate(m["moves"], 1)})
        elif t in ("hand_end", "match_end"):
            server_totals = m["totals"]
    game, game_totals, deal = {}, None, 0
    for w in (line.split() for line in open(game_log, errors="replace")):
        if w[:2] == ["net", "record"]:
            deal += w[5] == "1"
            game.setdefault(deal, {})[int(w[5])] = " ".join(w[6:])
        elif w[:2] == ["net", "score"]:
            game_totals = {"pairs": [int(w[5]), int(w[6])], "seats": [int(x) for x in w[8:12]]}
    if not server or game != server or game_totals != server_totals:
        sys.exit(f"the game drew {game} {game_totals}, the server sent {server} {server_totals}")
    print(f"same moves in {len(server)} hands, totals {game_totals}")


if __name__ == "__main__":
    a = sys.argv
    {"create": lambda: create(int(a[2]), int(a[3]), int(a[4]), int(a[5]) if len(a) > 5 else 0),
     "sit": lambda: sit(int(a[2]), a[3], int(a[4]), float(a[5])),
     "relay": lambda: relay(a[2], int(a[3]), a[4], float(a[5])),
     "compare": lambda: compare(a[2], a[3])}[a[1]]()
