# Black-box check of a running Fernhold.exe on 127.0.0.1:5483 under slow peers: peers
# holding half a selector, a burst of connects, a peer sending a byte every 2.5 s.
# Run by tools/bench/slow-peers.sh inside the private namespace.
import socket
import struct
import threading
import time
HOST, PORT = '127.0.0.1', 5483

def connect():
    s = socket.create_connection((HOST, PORT), timeout=20)
    return s

def normal_client():
    t = time.monotonic()
    s = connect()
    s.sendall(struct.pack('<I', 1))
    ans = s.recv(4)
    dt = time.monotonic() - t
    s.sendall(struct.pack('<IIII', 0x1000, 0, 0, 0)); s.recv(16); s.close()
    return dt, ans

def wait_closed(s):
    s.settimeout(20)
    try:
        while s.recv(64):
            pass
    except OSError:
        pass

def partial_peers(n, nbytes):
    peers = []
    for _ in range(n):
        s = connect(); s.sendall(b'\x01\x00\x00\x00'[:nbytes]); peers.append((s, time.monotonic()))
    return peers

for n in (8, 20):
    peers = partial_peers(n, 2)
    time.sleep(0.2)
    dt, ans = normal_client()
    held = []
    for s, t0 in peers:
        wait_closed(s); held.append(time.monotonic() - t0); s.close()
    print(f"{n} half-selector peers: normal client accepted after {dt*1000:.0f} ms (answer {ans.hex()}); peers dropped after {min(held)*1000:.0f} to {max(held)*1000:.0f} ms")

# 20 connects at once, each a full selector
res = []
def one():
    try:
        res.append(normal_client()[0])
    except OSError as e:
        res.append(None)
ts = [threading.Thread(target=one) for _ in range(20)]
[t.start() for t in ts]; [t.join() for t in ts]
ok = [r for r in res if r is not None]
print(f"20 simultaneous connects: {len(ok)} accepted, slowest {max(ok)*1000:.0f} ms, {20-len(ok)} failed")

# dribbler
s = connect(); t0 = time.monotonic()
def dribble():
    for _ in range(3):
        try: s.send(b'\x01')
        except OSError: return
        time.sleep(2.5)
th = threading.Thread(target=dribble); th.start()
wait_closed(s); print(f"one byte every 2.5 s: dropped after {(time.monotonic()-t0)*1000:.0f} ms"); th.join(); s.close()
