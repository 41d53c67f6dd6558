#!/usr/bin/env python3
"""Times full-screen RFB updates from a VNC server on 127.0.0.1, for peer-bench.sh.

Speaks RFB 3.8 with security type None, asks for 16-bit pixels (5-5-5, little-endian)
and sends non-incremental update requests for the whole screen; each is timed from the
request until every rectangle of the screen has arrived. ZRLE rectangles are read as
their 4-byte length and zlib data, not expanded: the figure is the server's encoding
and sending. Before timing, raw updates are asked for until the screen's checksum
(CRC-32 of the 15 colour bits, rows from the top) is the expected one, so the server
is known to serve the picture shown.

    rfb-full-update.py PORT CRC32_HEX [RUNS]

Prints one line: "zrle_ms <median> zrle_bytes <bytes> raw_ms <median> raw_bytes <bytes>",
or "error <reason>" and exits 1.
"""

import socket
import statistics
import struct
import sys
import time
import zlib

ENCODING_RAW = 0
ENCODING_ZRLE = 16
# Cursor shapes go in pseudo-rectangles of their own, so no server draws the pointer
# into the pixels that are checked.
ENCODING_CURSOR = -239
CONNECT_SECONDS = 15.0
PICTURE_SECONDS = 20.0
# 16 bits per pixel, depth 15, little-endian, true colour, 5 bits each: red at 10,
# green at 5, blue at 0; the layout of the frames.
PIXEL_FORMAT = struct.pack(">BBBBHHHBBB3x", 16, 15, 0, 1, 31, 31, 31, 10, 5, 0)
BYTES_PER_PIXEL = 2


class RfbError(Exception):
    pass


class Connection:
    def __init__(self, port):
        deadline = time.monotonic() + CONNECT_SECONDS
        while True:
            try:
                self.sock = socket.create_connection(("127.0.0.1", port), timeout=10)
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise RfbError("no server on 127.0.0.1:%d" % port)
                time.sleep(0.2)
        self.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self.buffer = bytearray()
        self.bytes_read = 0
        # Bulk data that is not kept lands here, so that the client's own copying
        # stays out of the server's figures.
        self.scratch = memoryview(bytearray(1 << 20))

    def read(self, count):
        while len(self.buffer) < count:
            chunk = self.sock.recv(max(1 << 16, count - len(self.buffer)))
            if not chunk:
                raise RfbError("server closed the connection")
            self.buffer += chunk
        data = bytes(self.buffer[:count])
        del self.buffer[:count]
        self.bytes_read += count
        return data

    def skip(self, count):
        buffered = min(count, len(self.buffer))
        del self.buffer[:buffered]
        self.bytes_read += count
        count -= buffered
        while count:
            got = self.sock.recv_into(self.scratch, min(count, len(self.scratch)))
            if not got:
                raise RfbError("server closed the connection")
            count -= got

    def send(self, data):
        self.sock.sendall(data)

    def handshake(self):
        version = self.read(12)
        if not version.startswith(b"RFB "):
            raise RfbError("not an RFB server: %r" % version)
        self.send(b"RFB 003.008\n")
        count = self.read(1)[0]
        if count == 0:
            raise RfbError("refused: " + self.read_reason())
        types = self.read(count)
        if 1 not in types:
            raise RfbError("security type None not offered: %r" % list(types))
        self.send(b"\x01")
        if struct.unpack(">I", self.read(4))[0] != 0:
            raise RfbError("security failed: " + self.read_reason())
        self.send(b"\x01")  # shared: other viewers may stay
        self.width, self.height = struct.unpack(">HH", self.read(4))
        self.read(16)  # the server's own pixel format
        self.read(struct.unpack(">I", self.read(4))[0])  # desktop name
        self.send(struct.pack(">B3x", 0) + PIXEL_FORMAT)

    def read_reason(self):
        return self.read(struct.unpack(">I", self.read(4))[0]).decode("latin-1")

    def set_encoding(self, encoding):
        self.send(struct.pack(">BxHii", 2, 2, encoding, ENCODING_CURSOR))

    def full_update(self, keep_pixels=False):
        """Requests the whole screen; returns (seconds, bytes of the update, pixels)."""
        pixels = bytearray(self.width * self.height * BYTES_PER_PIXEL) if keep_pixels else None
        start_bytes = self.bytes_read
        start = time.perf_counter()
        self.request(incremental=False)
        covered = 0
        while covered < self.width * self.height:
            area = self.read_message(pixels)
            covered += area or 0
            # A server may send a full update in parts, each after a request, as a
            # viewer keeps asking; the parts count as one update.
            if area is not None and covered < self.width * self.height:
                self.request(incremental=True)
        return time.perf_counter() - start, self.bytes_read - start_bytes, pixels

    def request(self, incremental):
        self.send(struct.pack(">BBHHHH", 3, int(incremental), 0, 0, self.width, self.height))

    def read_message(self, pixels):
        """Reads one server message; returns the screen area an update's rectangles
        cover, or None for the other messages."""
        kind = self.read(1)[0]
        if kind == 1:  # colour map entries
            _, _, count = struct.unpack(">BHH", self.read(5))
            self.skip(6 * count)
            return None
        if kind == 2:  # bell
            return None
        if kind == 3:  # cut text
            self.read(3)
            self.skip(struct.unpack(">I", self.read(4))[0])
            return None
        if kind != 0:
            raise RfbError("unknown server message %d" % kind)
        _, rectangles = struct.unpack(">BH", self.read(3))
        area = 0
        for _ in range(rectangles):
            x, y, w, h, encoding = struct.unpack(">HHHHi", self.read(12))
            if encoding == ENCODING_CURSOR:
                self.skip(w * h * BYTES_PER_PIXEL + (w + 7) // 8 * h)
            elif encoding == ENCODING_ZRLE:
                self.skip(struct.unpack(">I", self.read(4))[0])
                area += w * h
            elif encoding == ENCODING_RAW:
                if pixels is None:
                    self.skip(w * h * BYTES_PER_PIXEL)
                else:
                    data = self.read(w * h * BYTES_PER_PIXEL)
                    row = w * BYTES_PER_PIXEL
                    for line in range(h):
                        at = ((y + line) * self.width + x) * BYTES_PER_PIXEL
                        pixels[at : at + row] = data[line * row : (line + 1) * row]
                area += w * h
            else:
                raise RfbError("unexpected encoding %d" % encoding)
        return area


def colour_checksum(pixels):
    """CRC-32 of the pixels with each little-endian word's top bit cleared."""
    masked = bytearray(pixels)
    high = bytes(range(128)) * 2  # byte -> byte & 0x7F
    masked[1::2] = bytes(pixels[1::2]).translate(high)
    return zlib.crc32(masked)


def measure(port, expected_crc, runs):
    rfb = Connection(port)
    rfb.handshake()
    rfb.set_encoding(ENCODING_RAW)
    deadline = time.monotonic() + PICTURE_SECONDS
    while True:
        crc = colour_checksum(rfb.full_update(keep_pixels=True)[2])
        if crc == expected_crc:
            break
        if time.monotonic() > deadline:
            raise RfbError("the server shows another picture (crc %08x)" % crc)
        time.sleep(0.3)
    figures = []
    for name, encoding in (("zrle", ENCODING_ZRLE), ("raw", ENCODING_RAW)):
        rfb.set_encoding(encoding)
        rfb.full_update()  # warm-up: the encoder's state and buffers
        times, sizes = [], []
        for _ in range(runs):
            seconds, size, _ = rfb.full_update()
            times.append(seconds * 1000)
            sizes.append(size)
        figures.append("%s_ms %.2f %s_bytes %d" % (name, statistics.median(times), name,
                                                   statistics.median(sizes)))
    return " ".join(figures)


def main():
    if len(sys.argv) not in (3, 4):
        print("usage: rfb-full-update.py PORT CRC32_HEX [RUNS]", file=sys.stderr)
        return 2
    runs = int(sys.argv[3]) if len(sys.argv) == 4 else 15
    try:
        print(measure(int(sys.argv[1]), int(sys.argv[2], 16), runs))
    except (RfbError, OSError) as failure:
        print("error %s" % failure)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
