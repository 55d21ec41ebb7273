#!/usr/bin/env python3
"""One newcomer enters a loopback server's full room and reads nothing else.

    bench/room_enter.py PORT PEOPLE TABLES [REPEATS]

A bare client (the tests' WebSocket reader, no Qt, no bots beside it) sends
`enter` and reads until it has been told of PEOPLE others and TABLES public
tables, REPEATS times on new connections. Prints one line of JSON: the time
to the first message and to the whole room (median and worst over the
repeats) and the bytes. The bots' probe times the same thing inside a
process that also plays hundreds of tables; this one shows the server's
share. Loopback only; every read stops after ten seconds.
"""
import json
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "server"))
from hostile_port import HOST, Closed, Ws  # noqa: E402


def frame_at(buf, at):
    """The head's and the payload's lengths of the frame at `at`, or None
    while it has not all come."""
    left = len(buf) - at
    if left < 2:
        return None
    n, head = buf[at + 1] & 0x7F, 2
    if n >= 126:
        head = 4 if n == 126 else 10
        if left < head:
            return None
        n = int.from_bytes(buf[at + 2:at + head], "big")
    return (head, n) if left >= head + n else None


def frames(ws):
    """The text messages as they come, read from one growing buffer with an
    offset: slicing the buffer at every message would cost the reader more
    than the server spends."""
    buf, at = bytearray(ws.buf), 0
    while True:
        found = frame_at(buf, at)
        while found is None:
            chunk = ws.sock.recv(1 << 20)
            if not chunk:
                raise Closed()
            buf += chunk
            found = frame_at(buf, at)
        head, n = found
        opcode = buf[at] & 0x0F
        payload = bytes(buf[at + head:at + head + n])
        at += head + n
        if at > (1 << 20):
            del buf[:at]
            at = 0
        if opcode == 8:
            raise Closed()
        if opcode == 1:
            yield payload


def enter_once(port, people, tables):
    ws = Ws(port, HOST, timeout=10.0)
    seen_people, seen_tables, size = set(), set(), 0
    start = time.monotonic()
    ws.send_json(type="enter", key=os.urandom(32).hex(), name="Recien")
    first = None
    deadline = start + 10.0
    for payload in frames(ws):
        if first is None:
            first = time.monotonic()
        size += len(payload)
        message = json.loads(payload)
        kind = message.get("type")
        if kind == "room":
            seen_people.update(p["id"] for p in message["people"] if p["id"] != message["you"])
            seen_tables.update(t["code"] for t in message["tables"])
        elif kind == "room_person" and "person" in message:
            seen_people.add(message["person"]["id"])
        elif kind == "room_table" and "table" in message:
            seen_tables.add(message["table"]["code"])
        if len(seen_people) >= people and len(seen_tables) >= tables:
            break
        if time.monotonic() > deadline:
            raise SystemExit("the room did not come whole: %d people, %d tables"
                             % (len(seen_people), len(seen_tables)))
    whole = time.monotonic()
    ws.sock.close()
    return (first - start) * 1000.0, (whole - start) * 1000.0, size


def main():
    port, people, tables = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
    repeats = int(sys.argv[4]) if len(sys.argv) > 4 else 5
    runs = [enter_once(port, people, tables) for _ in range(repeats)]
    print(json.dumps({
        "lean_enter_ms": round(statistics.median(r[0] for r in runs), 1),
        "lean_whole_room_ms": round(statistics.median(r[1] for r in runs), 1),
        "lean_whole_room_max_ms": round(max(r[1] for r in runs), 1),
        "lean_bytes": runs[0][2],
    }))


if __name__ == "__main__":
    main()
