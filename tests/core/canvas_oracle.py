# Independent per-pixel rasteriser of the canvas rules, for the canvas tests.
# Reads one case per line:
#   fmt w h pen_rgb pen_width notxor pen_clear brush_rgb brush_style op x1 y1 x2 y2
# (fmt 1 or 24; op 0 line, 1 rectangle, 2 ellipse, 3 fillrect) and writes every
# result, in order, as raw bytes: 24-bit rows blue, green, red; 1-bit rows one
# byte (0 or 1) per pixel.
import sys
import numpy as np


def start_image(fmt, w, h):
    y, x = np.mgrid[0:h, 0:w]
    if fmt == 1:
        return ((x * 3 + y * 5) % 7 < 3).astype(np.uint8)
    return np.stack([(x * 7 + y * 13) & 255, (x * x + y) & 255, ((x ^ y) * 5) & 255], axis=-1).astype(np.uint8)


def hatch(style, x, y):
    h, v = y % 8 == 0, x % 8 == 0
    f, b = (x + y) % 8 == 0, (x - y) % 8 == 0
    return [True, False, h, v, f, b, h or v, f or b][style]


def disc(w):
    if w <= 1:
        return [(0, 0)]
    half = w // 2
    return [(i - half, j - half) for j in range(w) for i in range(w)
            if (2 * i + 1 - w) ** 2 + (2 * j + 1 - w) ** 2 <= w * w]


def line_points(x1, y1, x2, y2):
    dx, dy = x2 - x1, y2 - y1
    n = max(abs(dx), abs(dy))
    sx, sy = (dx > 0) - (dx < 0), (dy > 0) - (dy < 0)
    return [(x1 + sx * ((2 * i * abs(dx) + n - 1) // (2 * n)), y1 + sy * ((2 * i * abs(dy) + n - 1) // (2 * n)))
            for i in range(n)]


def figure(op, x1, y1, x2, y2):
    x1, x2, y1, y2 = min(x1, x2), max(x1, x2), min(y1, y2), max(y1, y2)
    W, H = x2 - x1, y2 - y1
    region = set()
    for y in range(y1, y2):
        for x in range(x1, x2):
            if op == 1 or (2 * x + 1 - x1 - x2) ** 2 * H * H + (2 * y + 1 - y1 - y2) ** 2 * W * W <= W * W * H * H:
                region.add((x, y))
    border = {(x, y) for (x, y) in region
              if any(n not in region for n in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))}
    return region, border


def draw(img, fmt, case):
    (pen, width, notxor, pen_clear, brush, style, op, x1, y1, x2, y2) = case
    h, w = img.shape[:2]

    def put(x, y, rgb, mode_xor):
        if not (0 <= x < w and 0 <= y < h):
            return
        r, g, b = rgb >> 16, (rgb >> 8) & 255, rgb & 255
        if fmt == 1:
            bit = 1 if (21 * r + 71 * g + 7 * b) // 100 >= 128 else 0
            img[y, x] = (1 - (bit ^ img[y, x])) if mode_xor else bit
        else:
            c = np.array([b, g, r], np.uint8)
            img[y, x] = ~(c ^ img[y, x]) if mode_xor else c

    pen_pixels = set()
    if op == 0:
        pts = line_points(x1, y1, x2, y2)
        if not pts:
            return
        if width > 1:
            pts.append((x2, y2))
        pen_pixels = {(px + dx, py + dy) for (px, py) in pts for (dx, dy) in disc(width)}
        for (x, y) in pen_pixels:
            put(x, y, pen, notxor)
        return
    if op == 3:
        for y in range(min(y1, y2), max(y1, y2)):
            for x in range(min(x1, x2), max(x1, x2)):
                if hatch(style, x, y):
                    put(x, y, brush, False)
        return
    if x1 == x2 or y1 == y2:
        return
    region, border = figure(op, x1, y1, x2, y2)
    if not pen_clear:
        pen_pixels = {(bx + dx, by + dy) for (bx, by) in border for (dx, dy) in disc(width)}
    if style != 1:
        for (x, y) in region - border - pen_pixels:
            if hatch(style, x, y):
                put(x, y, brush, notxor)
    for (x, y) in pen_pixels:
        put(x, y, pen, notxor)


out = sys.stdout.buffer
for line in sys.stdin:
    v = [int(t) for t in line.split()]
    if not v:
        continue
    fmt, w, h = v[:3]
    img = start_image(fmt, w, h)
    draw(img, fmt, v[3:])
    out.write(img.tobytes())
