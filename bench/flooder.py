#!/usr/bin/env python3
"""A flooder beside the bench's tables, from 127.0.0.2: connections that send
`{}` and then pings as fast as they go and never read what comes back, a new
one each time the server cuts the last, for SECONDS. Loopback only; it stops
by itself.

    bench/flooder.py PORT SECONDS
"""
import json
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "server"))
from hostile_clients import flood_without_reading  # noqa: E402


def main():
    port, seconds = int(sys.argv[1]), float(sys.argv[2])
    end = time.monotonic() + seconds
    rounds = cut = refused = 0
    while time.monotonic() < end:
        try:
            result = flood_without_reading(port)
        except OSError:
            # Refused or reset as it opened: the address has had its share.
            refused += 1
            time.sleep(0.01)
            continue
        rounds += 1
        cut += sum(1 for was_cut in result.values() if was_cut)
    print(json.dumps({"flood_rounds": rounds, "cut": cut, "refused": refused}))


if __name__ == "__main__":
    main()
