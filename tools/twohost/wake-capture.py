#!/usr/bin/python3
"""Watches one interface of a test host for Wake-on-LAN packets.

    wake-capture.py <interface> <seconds>

Prints "ready" once the capture is open, then one line per UDP datagram sent to the
limited broadcast 255.255.255.255:

    wake <milliseconds> <MAC> <port>   a magic packet: 102 bytes, six 0xFF bytes, then
                                       the MAC address sixteen times
    other <milliseconds> <bytes> <port> any other datagram to that address

Milliseconds count from the capture's start. Ends after the given seconds."""

import socket
import struct
import sys
import time

ETH_P_ALL = 0x0003
ETH_P_IP = 0x0800
MAGIC_BYTES = 102


def magic_mac(payload):
    """The MAC address a magic packet wakes, or None when the payload is not one."""
    if len(payload) != MAGIC_BYTES or payload[:6] != b"\xff" * 6:
        return None
    mac = payload[6:12]
    if payload[6:] != mac * 16:
        return None
    return ":".join(f"{byte:02x}" for byte in mac)


def broadcast_datagram(frame):
    """(payload, destination port) of a UDP datagram to 255.255.255.255, else None."""
    if len(frame) < 14 + 20 + 8 or struct.unpack("!H", frame[12:14])[0] != ETH_P_IP:
        return None
    ip = frame[14:]
    header = (ip[0] & 0x0F) * 4
    if ip[0] >> 4 != 4 or ip[9] != socket.IPPROTO_UDP or ip[16:20] != b"\xff" * 4:
        return None
    total = struct.unpack("!H", ip[2:4])[0]
    udp = ip[header:total]
    if len(udp) < 8:
        return None
    port, length = struct.unpack("!2xHH", udp[:6])
    return udp[8:length], port


def main():
    interface, seconds = sys.argv[1], float(sys.argv[2])
    capture = socket.socket(socket.AF_PACKET, socket.SOCK_RAW, socket.htons(ETH_P_ALL))
    capture.bind((interface, 0))
    start = time.monotonic()
    print("ready", flush=True)
    while True:
        left = seconds - (time.monotonic() - start)
        if left <= 0:
            return
        capture.settimeout(left)
        try:
            frame = capture.recv(65536)
        except socket.timeout:
            return
        datagram = broadcast_datagram(frame)
        if datagram is None:
            continue
        payload, port = datagram
        at = round((time.monotonic() - start) * 1000)
        mac = magic_mac(payload)
        if mac:
            print(f"wake {at} {mac} {port}", flush=True)
        else:
            print(f"other {at} {len(payload)} {port}", flush=True)


if __name__ == "__main__":
    main()
