"""The honest player of the hostile script: seat 1 of its own table, from
127.0.0.3, a move every `think` seconds, each move's round trip timed.

It plays in a process of its own. In the attacking process the floods' threads
hold Python's one interpreter lock, and a thread waiting for it would be timed
as if the server were slow.

Each move also records how long, within its round trip, the server's loop
thread and the player itself were ready to run but waited for a processor
(the kernel's /proc/PID/task/TID/schedstat): what is left of a late move once
those waits are taken away is the server's own doing, its loop busy with
this or another client's work.

Loopback only; the play stops when told, or at the first error.
"""
import multiprocessing
import queue
import threading
import time

from hostile_port import HONEST, Ws

CREATE = dict(type="create", seats=[{"kind": "person"}, {"kind": "computer"},
                                    {"kind": "computer"}, {"kind": "computer"}],
              rules={"target": 999})


def sched(path):
    """(ms on a processor, ms waiting for one) of a thread so far."""
    try:
        with open(path) as f:
            run, wait = f.read().split()[:2]
        return int(run) / 1e6, int(wait) / 1e6
    except (OSError, ValueError):
        return 0.0, 0.0


class Honest:
    """Start it, let it play, stop it, join it: then read its results."""

    def __init__(self, port, server_pid, think=0.15):
        ctx = multiprocessing.get_context("fork")
        self.port, self.think = port, think
        self.server = "/proc/%d/task/%d/schedstat" % (server_pid, server_pid)
        self.stop = ctx.Event()
        self.moves = ctx.Value("i", 0)
        self.results = ctx.Queue()
        self.process = ctx.Process(target=self._run, daemon=True)
        self.trips, self.closing_trips, self.details = [], [], []
        self.tables = {}  # code -> token, tables started and not finished
        self.last_closed = 0
        self.repeated = False  # the hand last closed is dealt again (a tie)
        self.error = None

    def start(self):
        self.process.start()

    def join(self, timeout):
        try:
            self.__dict__.update(self.results.get(timeout=timeout))
        except queue.Empty:
            self.error = self.error or "the honest player never reported"
        self.process.join(1)
        if self.process.is_alive():
            self.process.kill()

    # What follows runs in the player's own process.
    def _run(self):
        self.own = "/proc/self/task/%d/schedstat" % threading.get_native_id()
        try:
            self._play()
        except Exception as e:  # noqa: BLE001 - reported to the attacking process
            self.error = repr(e)
        self.results.put(dict(trips=self.trips, closing_trips=self.closing_trips,
                              details=self.details, tables=self.tables,
                              last_closed=self.last_closed, repeated=self.repeated,
                              error=self.error))

    def _new_table(self):
        ws = Ws(self.port, HONEST)
        ws.send_json(**CREATE)
        code = ws.recv()["code"]
        ws.send_json(type="join", code=code, seat=1, name="Honesta")
        token = None
        while token is None:
            m = ws.recv()
            if m["type"] == "seated":
                token = m["token"]
        ws.send_json(type="start")
        self.tables[code] = token
        self.last_closed = 0
        self.repeated = False
        return ws, code

    def _timed(self, started, server, own):
        """The move sent at `started` came back: its trip and its waits."""
        trip = (time.perf_counter() - started) * 1000.0
        server_now, own_now = sched(self.server), sched(self.own)
        self.trips.append(trip)
        self.moves.value = len(self.trips)
        self.details.append(dict(trip_ms=round(trip, 2), at=round(time.monotonic(), 2),
                    server_run_ms=round(server_now[0] - server[0], 2),
                    server_wait_ms=round(server_now[1] - server[1], 2),
                    own_wait_ms=round(own_now[1] - own[1], 2)))
        return self.details[-1]

    def _play(self):
        ws, code = self._new_table()
        pending = None  # (move, sent at, the server's and own schedstat then)
        last = None  # the last move timed, until another seat is asked
        while not self.stop.is_set():
            m = ws.recv()
            t = m["type"]
            if t == "asked" and m["seat"] == 1:
                time.sleep(self.think)
                choice = m["playable"][0]
                pending = (m["move"], time.perf_counter(), sched(self.server), sched(self.own))
                ws.send_json(type="move", hand=m["hand"], move=m["move"], tile=choice["tile"],
                             end=choice["ends"][0])
            elif t == "laid" and pending and m["seat"] == 1 and m["move"] == pending[0]:
                last = self._timed(*pending[1:])
                pending = None
            elif t == "hand_closed":
                self.last_closed = m["hand"]
                # The move that closed the hand waited for the table's file.
                if last is not None and self.details and self.details[-1] is last:
                    self.closing_trips.append(self.trips.pop())
                    self.details.pop()
            elif t == "hand_end":
                self.repeated = bool(m["repeated"])
            elif t == "asked" or t == "turn":
                last = None
            elif t == "match_end":
                del self.tables[code]
                ws.send_json(type="leave")
                ws.close()
                ws, code = self._new_table()
            elif t == "error":
                raise RuntimeError("honest client refused: %s" % m["error"])
        ws.close()
