#!/usr/bin/env python3
"""A public table to watch, for the watched table's scripts (standard library only, loopback
only, stops by itself after SECONDS):
  watch_server.py PORTFILE MESSAGES SECONDS [PAUSE]
It answers a "watch" of table WATCH23456 with "watching" and the table as seat 0 sees it, then
replays MESSAGES (one server message a line, as a watcher is sent them: no tiles, a "turn" for
every move) PAUSE seconds apart (0.2), with a few chat lines among them. Every "say" the game
sends is told back to the table as a chat line, and printed on the standard output."""
import json, socket, struct, sys, threading, time

# The same loopback handshake as the hostile stand-in's.
from hostile_server import handshake

CODE = "WATCH23456"
CHAT = {6: ("Luis", "¡Buenas! Hoy gano yo."), 12: ("Ana", "Ya veremos, Luis."),
        20: ("Mirón", "Qué salida más rara.")}


def frame(payload):
    n = len(payload)
    if n < 126:
        return bytes([0x81, n]) + payload
    if n < 1 << 16:
        return bytes([0x81, 126]) + struct.pack(">H", n) + payload
    return bytes([0x81, 127]) + struct.pack(">Q", n) + payload


def send(sock, kind, **members):
    sock.sendall(frame(json.dumps({"v": 1, "type": kind, "code": CODE, **members}).encode()))


def read_frame(sock):
    """One masked text frame from the client, or None when it closed."""
    def exact(n):
        data = b""
        while len(data) < n:
            chunk = sock.recv(n - len(data))
            if not chunk:
                return None
            data += chunk
        return data
    head = exact(2)
    if head is None:
        return None
    n = head[1] & 0x7F
    if n == 126:
        n = struct.unpack(">H", exact(2))[0]
    elif n == 127:
        n = struct.unpack(">Q", exact(8))[0]
    mask = exact(4) if head[1] & 0x80 else b"\0\0\0\0"
    body = exact(n) if n else b""
    if body is None or head[0] & 0x0F == 8:
        return None
    return bytes(b ^ mask[i % 4] for i, b in enumerate(body)).decode(errors="replace")


def listen(sock, said, lock):
    """Reads the game's requests until it closes; a "say" comes back as the table's chat."""
    try:
        while True:
            text = read_frame(sock)
            if text is None:
                return
            request = json.loads(text)
            if request.get("type") == "say":
                print("say", request.get("text"), flush=True)
                with lock:
                    send(sock, "chat", to="table", name="Mirón", tag="", text=request.get("text"))
                said.append(request.get("text"))
            elif request.get("type") == "leave":
                print("leave", flush=True)
    except (OSError, ValueError):
        pass


def serve(sock, lines, pause, deadline):
    if not handshake(sock):
        return
    first = read_frame(sock)
    if first is None or json.loads(first).get("type") != "watch":
        return
    lock = threading.Lock()
    said = []
    threading.Thread(target=listen, args=(sock, said, lock), daemon=True).start()
    seats = json.loads(lines[0])["seats"]
    with lock:
        send(sock, "watching")
        send(sock, "table", seat=0, started=False, finished=False, rules={}, seats=seats,
             totals={"pairs": [0, 0], "seats": [0, 0, 0, 0]}, hand=0)
    for n, line in enumerate(lines):
        if time.time() > deadline:
            return
        if n in CHAT:
            with lock:
                send(sock, "chat", to="table", name=CHAT[n][0], tag="", text=CHAT[n][1])
        with lock:
            sock.sendall(frame(line.encode()))
        time.sleep(pause)
    while time.time() < deadline:
        time.sleep(0.1)


def main(portfile, messages, seconds, pause=0.2):
    lines = [l for l in open(messages, encoding="utf-8").read().splitlines() if l.strip()]
    deadline = time.time() + float(seconds)
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(4)
    server.settimeout(0.5)
    with open(portfile + ".tmp", "w") as f:
        f.write(str(server.getsockname()[1]))
    import os
    os.replace(portfile + ".tmp", portfile)
    while time.time() < deadline:
        try:
            sock, _ = server.accept()
        except socket.timeout:
            continue
        threading.Thread(target=serve, args=(sock, lines, float(pause), deadline),
                         daemon=True).start()


if __name__ == "__main__":
    main(*sys.argv[1:])
