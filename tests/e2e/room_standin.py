#!/usr/bin/env python3
"""A stand-in for a server's room on the loopback (standard library only), for
the room window's end-to-end script and its picture:
  room_standin.py LOG SECONDS
It listens on a free port of 127.0.0.1 and prints "listening 127.0.0.1:PORT",
answers `enter` with a room of three public tables, five people and three chat
lines, echoes `say` to the room (and ends the started table at "fin de la mesa
empezada"), answers `join` with `seated`, `table` and at
once `can_fill`, answers `leaderboard` and `player`, and writes every message
it receives, one a line, to LOG. It stops by itself after SECONDS."""
import base64, hashlib, json, select, socket, struct, sys, time

GUID = "258EAFA5-E914-47DA-95CA-C5AB0DC85B11"


def room():
    seat = lambda kind, **more: dict(kind=kind, **more)
    tables = [
        dict(code="K7P2QXM4TR", rules="Por parejas, partida a 100 puntos, de diez en diez",
             seats=[seat("person", name="Luis", rating=1624), seat("person"),
                    seat("computer", level=70), seat("person")], started=False, watchers=0),
        dict(code="H3W9ZT6CNA", rules="Individual, partida a 50 puntos, de uno en uno",
             seats=[seat("person", name="Marta", rating=1702), seat("expert"),
                    seat("person", name="Luis", rating=1388), seat("computer", level=50)],
             started=True, watchers=2),
        dict(code="R5D8VQ2JPE", rules="Por parejas, partida a 200 puntos, de diez en diez",
             seats=[seat("person"), seat("person"), seat("person"),
                    seat("person", name="Nuria", rating=1555)], started=False, watchers=1),
    ]
    people = [dict(id=1, name="Ana", tag="a1b2", rating=1500, where=""),
              dict(id=2, name="Luis", tag="c3d4", rating=1624, where="K7P2QXM4TR"),
              dict(id=3, name="Luis", tag="e5f6", rating=1388, where="H3W9ZT6CNA"),
              dict(id=4, name="Marta", tag="0a9b", rating=1702, where="H3W9ZT6CNA"),
              dict(id=5, name="Nuria", tag="77cd", rating=1555, where="R5D8VQ2JPE")]
    return dict(v=1, type="room", you=1, people=people, tables=tables)


def chat(frm, name, tag, text):
    return dict(v=1, type="chat", to="room", **{"from": frm}, name=name, tag=tag, text=text)


def answer(msg):
    kind = msg.get("type")
    if kind == "enter":
        return [room(), chat(2, "Luis", "c3d4", "¿Alguien para una partida a 100?"),
                chat(4, "Marta", "0a9b", "Buena mano, compañera."),
                chat(3, "Luis", "e5f6", "Me siento en la primera mesa.")]
    if kind == "say":
        said = [chat(1, "Ana", "a1b2", msg.get("text", ""))]
        # A line that ends the started table, as a room does when its match ends.
        if msg.get("text") == "fin de la mesa empezada":
            return [dict(v=1, type="room_table", code="H3W9ZT6CNA", gone=True)] + said
        return said
    if kind == "join":
        code, seat = msg.get("code"), msg.get("seat")
        seats = [dict(seat=n, kind="person", name="Ana" if n == seat else "",
                      taken=n == seat, present=n == seat) for n in range(1, 5)]
        return [dict(v=1, type="seated", code=code, seat=seat, token="ab" * 16),
                dict(v=1, type="table", code=code, seat=seat, started=False, finished=False,
                     rules={}, seats=seats, totals={}, hand=0),
                dict(v=1, type="can_fill", code=code)]
    if kind == "leaderboard":
        return [dict(v=1, type="leaderboard", players=[
            dict(name="Marta", tag="0a9b", rating=1702, deviation=60, matches=41, hands=380,
                 hands_won=201),
            dict(name="Luis", tag="c3d4", rating=1624, deviation=75, matches=12, hands=95,
                 hands_won=50)])]
    if kind == "player":
        return [dict(v=1, type="player", name="Ana", tag="a1b2", rating=1500, deviation=350,
                     matches=0, hands=0, hands_won=0, history=[])]
    return []


def frame(text):
    data = text.encode()
    head = bytes([0x81, len(data)]) if len(data) < 126 else struct.pack(">BBH", 0x81, 126, len(data))
    return head + data


def messages(buffer):
    """The client's whole text frames (masked, under 64 KB) and what is left."""
    out = []
    while len(buffer) >= 2:
        n, at = buffer[1] & 0x7F, 2
        if n == 126:
            if len(buffer) < 4:
                break
            n, at = struct.unpack(">H", buffer[2:4])[0], 4
        if len(buffer) < at + 4 + n:
            break
        mask = buffer[at:at + 4]
        payload = bytes(b ^ mask[i % 4] for i, b in enumerate(buffer[at + 4:at + 4 + n]))
        if buffer[0] & 0x0F == 1:
            out.append(payload.decode())
        buffer = buffer[at + 4 + n:]
    return out, buffer


def main():
    log, seconds = sys.argv[1], float(sys.argv[2])
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    print(f"listening 127.0.0.1:{listener.getsockname()[1]}", flush=True)
    clients = {}  # socket: [handshaken, buffer]
    end = time.monotonic() + seconds
    with open(log, "a") as out:
        while time.monotonic() < end:
            ready, _, _ = select.select([listener, *clients], [], [], 0.2)
            for sock in ready:
                if sock is listener:
                    conn, _ = listener.accept()
                    clients[conn] = [False, b""]
                    continue
                data = sock.recv(65536)
                if not data:
                    clients.pop(sock)
                    sock.close()
                    continue
                state = clients[sock]
                state[1] += data
                if not state[0]:
                    if b"\r\n\r\n" not in state[1]:
                        continue
                    head, state[1] = state[1].split(b"\r\n\r\n", 1)
                    key = [l.split(b":", 1)[1].strip() for l in head.split(b"\r\n")
                           if l.lower().startswith(b"sec-websocket-key:")][0]
                    accept = base64.b64encode(hashlib.sha1(key + GUID.encode()).digest())
                    sock.sendall(b"HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\n"
                                 b"Connection: Upgrade\r\nSec-WebSocket-Accept: " + accept + b"\r\n\r\n")
                    state[0] = True
                texts, state[1] = messages(state[1])
                for text in texts:
                    out.write(text + "\n")
                    out.flush()
                    for reply in answer(json.loads(text)):
                        sock.sendall(frame(json.dumps(reply, ensure_ascii=False)))


if __name__ == "__main__":
    main()
