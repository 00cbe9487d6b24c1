#!/usr/bin/env python3
"""Makes the scene example from examples/skid-marks.csv: site.png, an
orthophoto-like picture of the road with the two rear marks on it (asphalt
with noise, kerbs, verges), its world file site.pgw, and survey.dxf, the
marks as a total station would deliver them (layers MARK_RL and MARK_RR) with
the kerbs on a layer of their own. Plain Python, no image library: the PNG is
written with zlib. The same seed gives the same files.

    python3 examples/scene/make-scene.py [OUTPUT_FOLDER]
"""
import random
import struct
import sys
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent
OUT = Path(sys.argv[1]) if len(sys.argv) > 1 else HERE
PIXEL = 0.08                 # metres a pixel
X0, Y1 = -8.0, 56.0          # world point of the top-left corner of the top-left pixel
WIDTH, HEIGHT = 200, 775     # 16 m by 62 m
KERB = 5.0                   # the kerbs run along x = -5 and x = 5
MARK_WIDTH = 0.22            # a tyre's streak, m


def read_marks():
    marks = {}
    for row in (HERE.parent / "skid-marks.csv").read_text().splitlines()[1:]:
        wheel, x, y = row.split(",")
        marks.setdefault(wheel, []).append((float(x), float(y)))
    return marks


def near_polyline(px, py, points, reach):
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
        if (px - ax - t * dx) ** 2 + (py - ay - t * dy) ** 2 <= reach * reach:
            return True
    return False


def photo(marks):
    rng = random.Random(27)
    rows = []
    for r in range(HEIGHT):
        y = Y1 - (r + 0.5) * PIXEL
        line = bytearray([0])  # no PNG filter
        for c in range(WIDTH):
            x = X0 + (c + 0.5) * PIXEL
            if abs(x) > KERB + 0.15:
                rgb = (96, 128, 72)            # verge
            elif abs(x) > KERB:
                rgb = (200, 200, 196)          # kerb stone
            else:
                rgb = (118, 118, 122)          # asphalt
                if abs(x) < 0.06 and int(y // 3) % 2 == 0:
                    rgb = (230, 230, 230)      # the dashed centre line
                if any(near_polyline(x, y, p, MARK_WIDTH / 2) for p in marks.values()):
                    rgb = (48, 46, 46)         # rubber
            n = rng.randint(-14, 14)
            line += bytes(max(0, min(255, v + n)) for v in rgb)
        rows.append(bytes(line))
    raw = zlib.compress(b"".join(rows), 9)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", raw) + chunk(b"IEND", b"")


def world_file():
    # a, d, b, e, then the centre of the top-left pixel.
    return "\n".join(str(v) for v in (PIXEL, 0.0, 0.0, -PIXEL, X0 + PIXEL / 2, Y1 - PIXEL / 2)) + "\n"


def dxf(marks):
    out = ["0", "SECTION", "2", "HEADER", "9", "$INSUNITS", "70", "6", "0", "ENDSEC",
           "0", "SECTION", "2", "ENTITIES"]
    for wheel, points in marks.items():
        out += ["0", "LWPOLYLINE", "8", "MARK_" + wheel, "90", str(len(points)), "70", "0"]
        for x, y in points:
            out += ["10", repr(x), "20", repr(y)]
    for x in (-KERB, KERB):
        out += ["0", "LINE", "8", "KERB", "10", repr(x), "20", "-4.0", "11", repr(x), "21", "55.0"]
    out += ["0", "ENDSEC", "0", "EOF"]
    return "\n".join(out) + "\n"


marks = read_marks()
OUT.mkdir(parents=True, exist_ok=True)
(OUT / "site.png").write_bytes(photo(marks))
(OUT / "site.pgw").write_text(world_file())
(OUT / "survey.dxf").write_text(dxf(marks))
