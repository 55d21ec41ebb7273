#!/usr/bin/env python3
"""Loopback helpers for the networked-match script, with the standard library
only: creating a table at a tarvelis-server, a relay between the game and the
server that the script kills to drop the game's connection (and that writes
down every message the server sends through it), and the comparison of what
the server sent with what the game drew.

  net_helper.py create PORT SEAT TARGET       prints the new table's code
  net_helper.py relay PORTFILE SERVERPORT LOG SECONDS
  net_helper.py compare RELAYLOG GAMELOG SEAT
Every wait is bounded; the relay stops by itself after SECONDS."""
import base64
import json
import os
import socket
import struct
import sys
import threading
import time


def handshake(sock, port):
    key = base64.b64encode(os.urandom(16)).decode()
    sock.sendall((f"GET / HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\nUpgrade: websocket\r\n"
                  f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n"
                  "Sec-WebSocket-Version: 13\r\n\r\n").encode())
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = sock.recv(4096)
        if not chunk:
            raise SystemExit("the server closed during the handshake")
        data += chunk
    return data.split(b"\r\n\r\n", 1)[1]


def send_text(sock, text):
    payload = text.encode()
    mask = os.urandom(4)
    head = bytes([0x81])
    n = len(payload)
    if n < 126:
        head += bytes([0x80 | n])
    else:
        head += bytes([0x80 | 126]) + struct.pack(">H", n)
    sock.sendall(head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))


def frames(buffer):
    """Whole frames at the start of `buffer`: (opcode, payload) and the rest."""
    out = []
    while len(buffer) >= 2:
        op, n = buffer[0] & 0x0F, buffer[1] & 0x7F
        masked = buffer[1] & 0x80
        at = 2
        if n == 126:
            if len(buffer) < 4:
                break
            n, at = struct.unpack(">H", buffer[2:4])[0], 4
        elif n == 127:
            if len(buffer) < 10:
                break
            n, at = struct.unpack(">Q", buffer[2:10])[0], 10
        if masked:
            at += 4
        if len(buffer) < at + n:
            break
        out.append((op, buffer[at:at + n]))
        buffer = buffer[at + n:]
    return out, buffer


def create(port, seat, target):
    sock = socket.create_connection(("127.0.0.1", port), timeout=10)
    rest = handshake(sock, port)
    seats = [{"kind": "person"} if s == seat else {"kind": "computer", "level": 50}
             for s in range(1, 5)]
    send_text(sock, json.dumps({"v": 1, "type": "create", "seats": seats,
                                "rules": {"target": target}}))
    deadline = time.time() + 10
    while time.time() < deadline:
        got, rest = frames(rest)
        for op, payload in got:
            if op == 1:
                message = json.loads(payload)
                if message.get("type") == "created":
                    print(message["code"])
                    return
                raise SystemExit(f"no table: {message}")
        rest += sock.recv(4096)
    raise SystemExit("the server did not answer")


def relay(portfile, server_port, log, seconds):
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    port = int(open(portfile).read()) if os.path.exists(portfile) else 0
    listener.bind(("127.0.0.1", port))
    listener.listen(4)
    with open(portfile + ".new", "w") as f:
        f.write(str(listener.getsockname()[1]))
    os.replace(portfile + ".new", portfile)
    listener.settimeout(1)
    end = time.time() + seconds
    lock = threading.Lock()

    def pump(src, dst, watch):
        buffer, header = b"", watch
        try:
            while True:
                data = src.recv(65536)
                if not data:
                    break
                dst.sendall(data)
                if not watch:
                    continue
                buffer += data
                if header:
                    if b"\r\n\r\n" not in buffer:
                        continue
                    buffer, header = buffer.split(b"\r\n\r\n", 1)[1], False
                got, buffer = frames(buffer)
                with lock, open(log, "a") as out:
                    for op, payload in got:
                        if op == 1:
                            out.write(payload.decode() + "\n")
        except OSError:
            pass
        for s in (src, dst):
            try:
                s.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    while time.time() < end:
        try:
            client, _ = listener.accept()
        except socket.timeout:
            continue
        upstream = socket.create_connection(("127.0.0.1", server_port), timeout=10)
        upstream.settimeout(None)
        threading.Thread(target=pump, args=(client, upstream, False), daemon=True).start()
        threading.Thread(target=pump, args=(upstream, client, True), daemon=True).start()


def compare(relay_log, game_log, seat):
    """The moves of every hand as the server sent them (laid, passed, and the
    moves of a table's view after a resume) against the record the game drew,
    and the last totals of each side."""
    # Hands are counted by their deals: a tied hand played again keeps its number.
    server_moves, server_totals, deal = {}, None, 0
    for line in open(relay_log):
        m = json.loads(line)
        t = m.get("type")
        if t == "dealt":
            deal += 1
        if t == "laid":
            server_moves.setdefault(deal, {})[m["move"]] = (
                f"seat {m['seat']} tile {m['tile'][0]} {m['tile'][1]} end {m['end']}")
        elif t == "passed":
            server_moves.setdefault(deal, {})[m["move"]] = f"seat {m['seat']} pass"
        elif t == "table" and "moves" in m:
            for n, mv in enumerate(m["moves"], 1):
                server_moves.setdefault(deal, {})[n] = (
                    f"seat {mv['seat']} pass" if mv.get("pass") else
                    f"seat {mv['seat']} tile {mv['tile'][0]} {mv['tile'][1]} end {mv['end']}")
        elif t in ("hand_end", "match_end"):
            server_totals = m["totals"]
    game_moves, game_totals, deal = {}, None, 0
    for line in open(game_log, errors="replace"):
        w = line.split()
        if len(w) > 6 and w[0] == "net" and w[1] == "record":
            deal += 1 if int(w[5]) == 1 else 0
            game_moves.setdefault(deal, {})[int(w[5])] = " ".join(w[6:])
        elif len(w) > 4 and w[0] == "net" and w[1] == "score":
            game_totals = {"pairs": [int(w[5]), int(w[6])],
                           "seats": [int(x) for x in w[8:12]]}
    hands = sorted(server_moves)
    if not hands:
        raise SystemExit("the server sent no move")
    for hand in hands:
        if game_moves.get(hand) != server_moves[hand]:
            raise SystemExit(f"hand {hand}: the game drew {game_moves.get(hand)}, "
                             f"the server played {server_moves[hand]}")
    if game_totals is None or server_totals is None or game_totals != server_totals:
        raise SystemExit(f"totals: game {game_totals}, server {server_totals}")
    print(f"same moves in {len(hands)} hands "
          f"({sum(len(v) for v in server_moves.values())} moves), totals {game_totals}")


if __name__ == "__main__":
    what = sys.argv[1]
    if what == "create":
        create(int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]))
    elif what == "relay":
        relay(sys.argv[2], int(sys.argv[3]), sys.argv[4], float(sys.argv[5]))
    elif what == "compare":
        compare(sys.argv[2], sys.argv[3], int(sys.argv[4]))
