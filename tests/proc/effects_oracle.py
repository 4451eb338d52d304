# Independent NumPy re-implementation of the effects, straight from their
# formulas, for the effects tests. Reads one case per line:
#   OP IN OUT W H ARGS...
# where IN holds W x H pixels as packed rows of blue, green, red bytes, and
# writes the result to OUT the same way (the spectrum at its padded size).
#   userfilter C0..C8 DIV X1 Y1 X2 Y2   bumpmap X Y LW LH R G B Q X1 Y1 X2 Y2
#   lens X Y W H N   wave A L P R   morph FILTER K X1 Y1 X2 Y2
#   spectrum GRAY   fftclear GRAY X1 Y1 X2 Y2 [X1 Y1 X2 Y2 ...]
import math
import sys

import numpy as np


def grey(a):
    a = a.astype(np.int64)
    return (21 * a[..., 2] + 71 * a[..., 1] + 7 * a[..., 0]) // 100


def userfilter(img, c, div, x1, y1, x2, y2):
    d = 1 if div == 0 else div
    h, w = img.shape[:2]
    p = np.pad(img.astype(np.int64), ((1, 1), (1, 1), (0, 0)), mode="edge")
    s = sum(c[3 * (dy + 1) + dx + 1] * p[1 + dy:1 + dy + h, 1 + dx:1 + dx + w]
            for dy in (-1, 0, 1) for dx in (-1, 0, 1))
    q = np.abs(s) // abs(d) * np.sign(s) * (1 if d > 0 else -1)
    out = img.copy()
    out[y1:y2, x1:x2] = np.clip(q, 0, 255)[y1:y2, x1:x2]
    return out


def bumpmap(img, X, Y, lw, lh, R, G, B, q, x1, y1, x2, y2):
    if lw == 0 or lh == 0:
        return img
    u = (np.arange(256) - 128) / 128
    light = np.minimum(np.trunc(np.maximum(0, 1 - np.sqrt(u[:, None] ** 2 + u[None, :] ** 2)) * 256), 255)
    a = img[y1:y2, x1:x2].astype(np.int64)
    g = grey(a)
    h, w = g.shape
    xs, ys = np.arange(w), np.arange(h)
    gx = g[:, np.minimum(xs + 1, w - 1)] - g[:, np.maximum(xs - 1, 0)]
    gy = g[np.minimum(ys + 1, h - 1), :] - g[np.maximum(ys - 1, 0), :]
    i = np.clip(gx - np.trunc((x1 + xs - X) / lw * 128)[None, :] + 128, 0, 255).astype(int)
    j = np.clip(gy - np.trunc((y1 + ys - Y) / lh * 128)[:, None] + 128, 0, 255).astype(int)
    lit = light[i, j] * (100 - q) / 100
    out = img.copy()
    for ch, cl in ((0, B), (1, G), (2, R)):
        out[y1:y2, x1:x2, ch] = np.clip(np.rint(a[..., ch] * q / 100 + lit * cl / 255), 0, 255)
    return out


def lens(img, X, Y, w, h, n):
    H, W = img.shape[:2]
    dw, dh = int(w / 2), int(h / 2)
    left, top = min(max(X - dw, 0), W - 1), min(max(Y - dh, 0), H - 1)
    right, bottom = min(max(X + dw, 0), W - 1), min(max(Y + dh, 0), H - 1)
    bw, bh = right - left, bottom - top
    if bw < 1 or bh < 1:
        return img
    a, b = bw / 2, bh / 2
    r, nn = min(a, b), max(n, 1)
    out = img.copy()
    for i in range(bh):
        for u in range(bw):
            px, py = u - a + 0.5, b - i - 0.5
            sc, sr = left + u, top + i
            if px * px / (a * a) + py * py / (b * b) < 1:
                z = math.sqrt((1 - px * px / (a * a) - py * py / (b * b)) * r * r)

                def offset(t):
                    th = math.acos(t / math.sqrt(t * t + z * z))
                    return t - z * math.tan(math.pi / 2 - th - math.asin(math.sin(math.pi / 2 - th) / nn))
                sc = min(left + min(max(math.trunc(a + offset(px)), 0), W - 1), W - 1)
                sr = min(top + min(max(math.trunc(b - offset(py)), 0), H - 1), H - 1)
            out[top + i, left + u] = img[sr, sc]
    return out


def wave(img, A, lam, ph, refl):
    if A == 0 or lam == 0:
        return img
    H, W = img.shape[:2]
    cx, cy, wx, wy = (W - 1) / 2, (H - 1) / 2, W / 2, H / 2
    sx = wy / wx if wx < wy else 1.0
    sy = wx / wy if wx > wy else 1.0
    y, x = np.mgrid[0:H, 0:W].astype(float)
    dx, dy = (x - cx) * sx, (y - cy) * sy
    s = np.sin(np.sqrt(dx * dx + dy * dy) / (2 * lam) * (2 * math.pi) + ph * math.pi / 180)
    if refl:
        g = np.abs(s) * A
        fx, fy = cx + dx * g / sx, cy + dy * g / sy
    else:
        f = s * A
        fx, fy = (f + dx) / sx + cx, (f + dy) / sy + cy
    tx, ty = np.trunc(fx), np.trunc(fy)
    ix = np.clip(tx, 0, max(W - 2, 0)).astype(int)
    iy = np.clip(ty, 0, max(H - 2, 0)).astype(int)
    fx, fy = fx - tx, fy - ty
    fx[fx < 0] += 1
    fy[fy < 0] += 1
    p = np.pad(img.astype(float), ((0, 1), (0, 1), (0, 0)))  # the neighbour beyond a one-pixel side is 0
    fx, fy = fx[..., None], fy[..., None]
    top = (1 - fx) * p[iy, ix] + fx * p[iy, ix + 1]
    bottom = (1 - fx) * p[iy + 1, ix] + fx * p[iy + 1, ix + 1]
    return np.trunc((1 - fy) * top + fy * bottom).astype(np.uint8)


def morph(img, filt, k, x1, y1, x2, y2):
    if filt not in (0, 1, 2, 3):
        return img
    out = img.copy()
    area = img[y1:y2, x1:x2]
    h, w = area.shape[:2]
    k = min(max(k, 1), max(w, h))
    ys, xs = np.mgrid[0:h, 0:w]
    for maximum in {0: [True], 1: [False], 2: [False, True], 3: [True, False]}[filt]:
        g = grey(area)
        best = np.full((h, w), 0 if maximum else 255)
        py, px = ys.copy(), xs.copy()
        for dy in range(-k, k + 1):
            for dx in range(-k, k + 1):
                yy, xx = np.clip(ys + dy, 0, h - 1), np.clip(xs + dx, 0, w - 1)
                v = g[yy, xx]
                better = v > best if maximum else v < best
                best = np.where(better, v, best)
                py, px = np.where(better, yy, py), np.where(better, xx, px)
        area = area[py, px]
    out[y1:y2, x1:x2] = area
    return out


def planes(img, gray):
    H, W = img.shape[:2]
    hp, wp = 1 << (H - 1).bit_length(), 1 << (W - 1).bit_length()
    chans = [grey(img)] if gray else [img[..., 2], img[..., 1], img[..., 0]]
    out = []
    for c in chans:
        p = np.zeros((hp, wp))
        p[:H, :W] = c
        out.append(np.fft.fft2(p))
    return out


def spectrum(img, gray):
    out = []
    for f in planes(img, gray):
        lg = np.log1p(np.abs(np.fft.fftshift(f)))
        lo, hi = lg.min(), lg.max()
        out.append(np.zeros(lg.shape) if hi == lo else np.rint(255 * (lg - lo) / (hi - lo)))
    if gray:
        out = out * 3
    return np.stack(out[::-1], axis=-1).astype(np.uint8)


def fftclear(img, gray, *rects):
    H, W = img.shape[:2]
    fs = planes(img, gray)
    keep = np.ones(fs[0].shape)
    hp, wp = keep.shape
    for x1, y1, x2, y2 in zip(*[iter(rects)] * 4):
        left, right = max(min(x1, x2), 0), min(max(x1, x2), wp - 1)
        top, bottom = max(min(y1, y2), 0), min(max(y1, y2), hp - 1)
        if left <= right and top <= bottom:
            keep[top:bottom + 1, left:right + 1] = 0
    keep = np.fft.ifftshift(keep)
    out = [np.clip(np.rint(np.fft.ifft2(f * keep).real), 0, 255)[:H, :W] for f in fs]
    if gray:
        out = out * 3
    return np.stack(out[::-1], axis=-1).astype(np.uint8)


OPS = dict(userfilter=lambda img, a: userfilter(img, a[:9], *a[9:]), bumpmap=bumpmap, lens=lens, wave=wave,
           morph=morph, spectrum=spectrum, fftclear=fftclear)

for line in open(sys.argv[1]):
    op, src, dst, w, h, *args = line.split()
    img = np.fromfile(src, np.uint8).reshape(int(h), int(w), 3)
    nums = [float(a) if "." in a else int(a) for a in args]
    result = OPS[op](img, nums) if op == "userfilter" else OPS[op](img, *nums)
    np.ascontiguousarray(result, np.uint8).tofile(dst)
