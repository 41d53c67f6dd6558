#!/usr/bin/python3
"""A stand-in copy for the sweep benchmark: answers service 5 with one MAC address per
listening address, on port 5483 of every address given, until killed.

    mac-responder.py ADDRESS...

Only ever run inside the benchmark's own network namespace (tools/bench/wizard-bench.sh).
"""

import socket
import struct
import sys
import threading

PORT = 5483
SERVICE_MACS = 5
CMD_GET_MACS = 0x40004
CMD_CLOSE = 0x1000
ACCEPTED = b"\0\0\0\1"


def receive(connection, count):
    data = b""
    while len(data) < count:
        chunk = connection.recv(count - len(data))
        if not chunk:
            raise ConnectionError
        data += chunk
    return data


def serve(connection, mac):
    with connection:
        try:
            if struct.unpack("<I", receive(connection, 4))[0] != SERVICE_MACS:
                return
            connection.sendall(ACCEPTED)
            while True:
                command = struct.unpack("<4I", receive(connection, 16))[0]
                if command == CMD_GET_MACS:
                    connection.sendall(struct.pack("<4I", 1, 6, 1, 0))
                    receive(connection, 4)  # the go word
                    connection.sendall(mac)
                elif command == CMD_CLOSE:
                    connection.sendall(struct.pack("<4I", 1, 0, 0, 0))
                    return
                else:
                    return
        except (ConnectionError, OSError):
            return


def listen(address):
    mac = bytes([2, 0]) + socket.inet_aton(address)
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind((address, PORT))
    server.listen(64)
    while True:
        connection, _ = server.accept()
        threading.Thread(target=serve, args=(connection, mac), daemon=True).start()


def main(addresses):
    threads = [threading.Thread(target=listen, args=(a,), daemon=True) for a in addresses]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()


if __name__ == "__main__":
    main(sys.argv[1:])
