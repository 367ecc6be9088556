#!/usr/bin/env python3
"""Clients that wrk cannot play, for service/loadtest.sh, on the loopback only.

  loadclients.py PORT burst N        N clients (each from a loopback address of
                                     its own) connect at once and ask /ip.html
                                     once; prints how many were answered and
                                     the latency percentiles
  loadclients.py PORT trickle N SEC  N connections that send one header line
                                     every 2 s (reopened when cut) while a
                                     probe asks /ip.html every 100 ms for SEC
                                     seconds; prints the probes' percentiles
Every run is bounded in time and stops by itself.
"""
import selectors
import socket
import sys
import time

REQUEST = b"GET /ip.html HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n"


def source(i):
    # 127.9.x.y: a client address of its own for each connection.
    return "127.9.%d.%d" % (i // 250, i % 250 + 1)


def connect(port, i, blocking):
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.bind((source(i), 0))
    s.setblocking(blocking)
    try:
        s.connect(("127.0.0.1", port))
    except BlockingIOError:
        pass
    return s


def percentiles(values):
    values = sorted(values)
    if not values:
        return "none"
    pick = lambda q: values[min(len(values) - 1, int(q * len(values)))]
    return "p50 %.1f ms, p99 %.1f ms, max %.1f ms" % (pick(0.5) * 1e3, pick(0.99) * 1e3, values[-1] * 1e3)


def burst(port, n):
    sel = selectors.DefaultSelector()
    started = time.monotonic()
    for i in range(n):
        sel.register(connect(port, i, False), selectors.EVENT_WRITE, (i, b""))
    latencies, failed = [], 0
    deadline = started + 30
    while len(sel.get_map()) and time.monotonic() < deadline:
        for key, events in sel.select(timeout=0.5):
            s, (i, got) = key.fileobj, key.data
            if events & selectors.EVENT_WRITE:
                try:
                    s.send(REQUEST)
                    sel.modify(s, selectors.EVENT_READ, (i, b""))
                except OSError:
                    failed += 1
                    sel.unregister(s)
                    s.close()
                continue
            try:
                chunk = s.recv(4096)
            except OSError:
                chunk = b""
            if chunk:
                sel.modify(s, selectors.EVENT_READ, (i, got + chunk))
                continue
            if got.startswith(b"HTTP/1.1 200"):
                latencies.append(time.monotonic() - started)
            else:
                failed += 1
            sel.unregister(s)
            s.close()
    left = len(sel.get_map())
    for key in list(sel.get_map().values()):
        key.fileobj.close()
    print("burst of %d: %d answered, %d failed, %d unanswered after 30 s; %s"
          % (n, len(latencies), failed, left, percentiles(latencies)))


def probe(port):
    started = time.monotonic()
    s = socket.create_connection(("127.0.0.1", port), timeout=5)
    s.sendall(REQUEST)
    answer = b""
    while True:
        chunk = s.recv(4096)
        if not chunk:
            break
        answer += chunk
    s.close()
    return time.monotonic() - started if answer.startswith(b"HTTP/1.1 200") else None


def trickle(port, n, seconds):
    conns = {}
    def open_one(i):
        s = connect(port, 1000 + i, True)
        s.sendall(b"GET /ip.html HTTP/1.1\r\n")
        conns[i] = s
    for i in range(n):
        open_one(i)
    probes, failed, reopened = [], 0, 0
    end = time.monotonic() + seconds
    next_line = time.monotonic() + 2
    while time.monotonic() < end:
        took = probe(port)
        if took is None:
            failed += 1
        else:
            probes.append(took)
        if time.monotonic() >= next_line:
            next_line += 2
            for i, s in list(conns.items()):
                try:
                    s.sendall(b"X-Trickle: 1\r\n")
                except OSError:
                    s.close()
                    open_one(i)
                    reopened += 1
        time.sleep(0.1)
    for s in conns.values():
        s.close()
    print("%d trickling connections for %d s (%d reopened after the head deadline): %d probes, %d failed; %s"
          % (n, seconds, reopened, len(probes), failed, percentiles(probes)))


def main():
    port, mode = int(sys.argv[1]), sys.argv[2]
    if mode == "burst":
        burst(port, int(sys.argv[3]))
    elif mode == "trickle":
        trickle(port, int(sys.argv[3]), int(sys.argv[4]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
