#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Writes the metafiles that once stalled the viewer's readers into tests/corpus/metafiles/.

Each file starts with the byte the metafiles fuzz entry reads to choose its reader (0: WMF, 1: EMF).
Run from the source tree's root; the files are saved in the corpus, so this is only needed to remake
or extend them."""
import os
import random
import struct
import sys


def wmf(records, frame=(0, 0, 10000, 10000), inch=1440):
    body = b"".join(records) + struct.pack("<IH", 3, 0)  # the end record
    words = 9 + len(body) // 2
    largest = max(struct.unpack_from("<I", r)[0] for r in records + [struct.pack("<IH", 3, 0)])
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, words, 4, largest, 0)
    left, top, right, bottom = frame
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, left, top, right, bottom, inch, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", placeable):
        checksum ^= word
    return b"\x00" + placeable + struct.pack("<H", checksum) + header + body


def rec(function, *params):
    return struct.pack("<IH", 3 + len(params), function) + struct.pack("<%dH" % len(params), *(p & 0xFFFF for p in params))


def pen(width, colour=0x0000FF):
    return rec(0x02FA, 0, width, 0, colour & 0xFFFF, colour >> 16)


def brush(colour=0x00FF00):
    return rec(0x02FC, 0, colour & 0xFFFF, colour >> 16, 0)


def select(index):
    return rec(0x012D, index)


def polyline(points):
    flat = [len(points)] + [c for p in points for c in p]
    return rec(0x0325, *flat)


def emf(records, bounds=(0, 0, 9999, 9999)):
    eof = struct.pack("<IIIII", 14, 20, 0, 16, 20)
    body = b"".join(records) + eof
    header = struct.pack("<II4i4iIIIIHHIIIiiii", 1, 88, *bounds, 0, 0, 264583, 264583, 0x464D4520,
                         0x10000, 88 + len(body), len(records) + 2, 4, 0, 0, 0, 0, 1920, 1080, 508, 286)
    return b"\x01" + header + body


def emr(kind, payload):
    return struct.pack("<II", kind, 8 + len(payload)) + payload


def emf_pen(handle, width):
    return emr(38, struct.pack("<IIiiI", handle, 0, width, 0, 0xFF0000))


def emf_select(handle):
    return emr(37, struct.pack("<I", handle))


def emf_ellipse(box):
    return emr(42, struct.pack("<4i", *box))


def emf_polyline(points):
    flat = [c for p in points for c in p]
    return emr(4, struct.pack("<4iI", 0, 0, 9999, 9999, len(points)) + struct.pack("<%di" % len(flat), *flat))


def main():
    out = "tests/corpus/metafiles"
    if not os.path.isdir(out):
        sys.exit("run from the source tree's root")
    rnd = random.Random(2026)
    zigzag = [(rnd.randrange(10000), rnd.randrange(10000)) for _ in range(100_000)]
    files = {
        # A 32767-wide pen drawing one line over a 10000x10000 frame.
        "stall-wmf-wide-pen": wmf([pen(32767), select(0), rec(0x0214, 0, 0), rec(0x0213, 10000, 10000)]),
        # Rectangles over the whole frame, again and again.
        "stall-wmf-full-rectangles": wmf([brush(), select(0)] + [rec(0x041B, 10000, 10000, 0, 0)] * 30),
        # 150,000 saved drawing states.
        "stall-wmf-savedc": wmf([rec(0x001E)] * 150_000),
        # 96,000 points of polylines (a record holds at most 32767) with a 1000-wide pen.
        "stall-wmf-polyline": wmf([pen(1000), select(0)] + [polyline(zigzag[i:i + 32000]) for i in (0, 32000, 64000)]),
        # Antialiased ellipses over the whole frame.
        "stall-emf-ellipses-100": emf([emf_ellipse((0, 0, 9999, 9999))] * 100),
        "stall-emf-ellipses-1000": emf([emf_ellipse((i, i, 9999 - i, 9999 - i)) for i in range(1000)]),
        "stall-emf-polyline": emf([emf_pen(1, 1000), emf_select(1), emf_polyline(zigzag)]),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        print(name, len(data))


if __name__ == "__main__":
    main()
