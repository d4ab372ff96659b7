#!/usr/bin/env python3
"""A burst of connections on a running zir: opens N at once, sends one request on each, reads
every answer, keeps them open a moment, then closes them all.
Usage: bench/scale.py PORT PID [N]   (PID: the server, for its resident memory)
Prints the time until the last answer, errors, and the server's memory at start, with the
connections idle, and after they closed."""
import selectors, socket, sys, time

port, pid = int(sys.argv[1]), int(sys.argv[2])
count = int(sys.argv[3]) if len(sys.argv) > 3 else 1000
request = b"GET /?type=UID HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"


def rss_kb():
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])


start_rss = rss_kb()
sel = selectors.DefaultSelector()
socks, got, errors = [], {}, 0
t0 = time.monotonic()
for _ in range(count):
    s = socket.socket()
    s.setblocking(False)
    s.connect_ex(("127.0.0.1", port))
    socks.append(s)
    got[s] = b""
    sel.register(s, selectors.EVENT_WRITE)
pending, answered, last = set(socks), 0, None
deadline = t0 + 60
while pending and time.monotonic() < deadline:
    for key, ev in sel.select(timeout=1):
        s = key.fileobj
        try:
            if ev & selectors.EVENT_WRITE:
                s.send(request)
                sel.modify(s, selectors.EVENT_READ)
                continue
            data = s.recv(65536)
        except OSError:
            data = b""
        if not data:
            errors += 1
            pending.discard(s)
            sel.unregister(s)
            continue
        got[s] += data
        head, sep, body = got[s].partition(b"\r\n\r\n")
        if sep:
            length = next((int(l.split(b":")[1]) for l in head.split(b"\r\n")
                           if l.lower().startswith(b"content-length:")), 0)
            if len(body) >= length:
                if not head.startswith(b"HTTP/1.1 200"):
                    errors += 1
                answered += 1
                last = time.monotonic() - t0
                pending.discard(s)
                sel.unregister(s)
errors += len(pending)
time.sleep(1)
idle_rss = rss_kb()
for s in socks:
    s.close()
time.sleep(2)
closed_rss = rss_kb()
print(f"{count} connections at once: {answered} answered, {errors} errors, "
      f"last answer after {last if last is not None else float('nan'):.3f} s")
print(f"server resident memory: {start_rss / 1024:.1f} MB at start, {idle_rss / 1024:.1f} MB with "
      f"{count} idle connections, {closed_rss / 1024:.1f} MB after they closed")
sys.exit(1 if errors or answered < count else 0)
