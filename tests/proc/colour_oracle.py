# The colour operations written apart from their description, on H x W x 3
# int64 arrays of red, green, blue (the NumPy oracle of colour_oracle_test).
import numpy as np


def div(a, b):
    """Integer division toward zero."""
    return np.sign(a) * np.sign(b) * (np.abs(a) // np.abs(b))


def contrast(img, c, centre):
    x = c / 10 + 1 if c >= 0 else 1 - np.sqrt(-c) / 10
    m = np.array(centre)
    v = (img - m) * x
    return np.clip(m + np.trunc(v + np.copysign(1e-9, v)), 0, 255)


def addrgb(img, d):
    return np.clip(img + np.array(d), 0, 255)


def threshold(img, low, high, below, above):
    v = np.where(img <= np.array(low), np.array(below), img)
    return np.where(v > np.array(high), np.array(above), v)


def stretch(img, dark, light):
    d, l = np.array(dark, float), np.maximum(np.array(light, float), 1)
    t1 = np.clip(np.rint((img - d) / np.where(d == 255, 1, 255 - d) * 255), 0, 255)
    return np.clip(np.rint(t1 / l * 255), 0, 255)


def rgb_to_hsl(img):
    c = img / 255.0
    r, g, b = c[..., 0], c[..., 1], c[..., 2]
    mx, mn = c.max(axis=2), c.min(axis=2)
    l = (mx + mn) / 2
    d = np.where(mx == mn, 1, mx - mn)
    s = np.where(l >= 0.5, d / np.where(mx == mn, 1, 2 - mx - mn), d / np.where(mx + mn == 0, 1, mx + mn))
    h6 = np.where(mx == r, (g - b) / d, np.where(mx != g, (r - g) / d + 4, (b - r) / d + 2))
    h = h6 / 6
    h = np.where(h < 0, h + 1, h)
    flat = mx == mn
    return np.where(flat, 0, h), np.where(flat, 0, s), l


def hsl_to_rgb(h, s, l, nudge=1e-9):
    """nudge keeps a whole exact value from truncating one below."""
    h, s, l = np.clip(h, 0, 1), np.clip(s, 0, 1), np.clip(l, 0, 1)
    q = np.where(l > 0.5, s + l - s * l, l * (1 + s))
    p = 2 * l - q

    def f(t):
        t = np.where(t < 0, t + 1, np.where(t > 1, t - 1, t))
        return np.where(6 * t < 1, p + (q - p) * 6 * t,
                        np.where(2 * t < 1, q, np.where(3 * t < 2, p + (q - p) * (2 / 3 - t) * 6, p)))
    out = np.stack([f(h + 1 / 3), f(h), f(h - 1 / 3)], axis=2)
    out = np.where((s == 0)[..., None], l[..., None], out)
    return np.clip(np.trunc(out * 255 + nudge), 0, 255)


def hsl(img, dh, ds, dl):
    h, s, l = rgb_to_hsl(img)
    return hsl_to_rgb(np.mod(h + dh / 360, 1), s + ds / 100, l + dl / 100)


def to99(img):
    return (198 * img + 255) // 510


def rgb_to_hsv(img):
    c = to99(img)
    r, g, b = c[..., 0], c[..., 1], c[..., 2]
    mx, mn = c.max(axis=2), c.min(axis=2)
    s = np.where(mx == 0, 0, div((mx - mn) * 99, np.maximum(mx, 1)))
    d = np.maximum(mx - mn, 1)
    h = np.where(r == mx, div((g - b) * 60, d), np.where(g == mx, div((b - r) * 60, d) + 120, div((r - g) * 60, d) + 240))
    h = np.where(s == 0, 0, h)
    return np.where(h < 0, h + 360, h), s, mx


def hsv_to_rgb(h, s, v):
    h, s, v = np.clip(h, 0, 359), np.clip(s, 0, 99), np.clip(v, 0, 99)
    e, k = h % 60, s * v
    p, t, q = v - k // 99, v - k * (60 - e) // 5940, v - e * k // 5940
    sector = h // 60
    table = [(v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v), (v, p, q)]
    out = [np.select([sector == i for i in range(6)], [row[c] for row in table]) for c in range(3)]
    out = np.where((s == 0)[..., None], v[..., None], np.stack(out, axis=2))
    return np.rint(out / 99 * 255)


def hsv(img, dh, ds, dv):
    h, s, v = rgb_to_hsv(img)
    return hsv_to_rgb((h + dh) % 360, s + ds, v + dv)


def grey(img):
    return (21 * img[..., 0] + 71 * img[..., 1] + 7 * img[..., 2]) // 100


def histogram(img):
    return np.stack([np.bincount(a.ravel(), minlength=256) for a in
                     (img[..., 0], img[..., 1], img[..., 2], grey(img))], axis=1)


def equalize(img):
    hgt, wid = img.shape[:2]
    target = wid * hgt // 256
    counts = histogram(img)[:, 3]
    left, right, i, s = np.zeros(256, int), np.zeros(256, int), 0, 0
    for k in range(256):
        left[k] = min(i, 255)
        s += counts[k]
        while s > target:
            s -= target
            i += 1
        right[k] = min(i, 255)
    pad = np.pad(img, ((1, 1), (1, 1), (0, 0)), mode='edge')
    mean = sum(pad[dy:dy + hgt, dx:dx + wid] for dy in range(3) for dx in range(3)) // 9
    gi, j = grey(img), grey(mean)
    lo, hi = left[gi][..., None], right[gi][..., None]
    return np.where(lo == hi, left[img], np.where(j[..., None] > hi, right[img],
                                                  np.where(j[..., None] < lo, left[img], mean)))


def split_hsv(img):
    h, s, v = rgb_to_hsv(img)
    return [np.repeat(a[..., None], 3, axis=2) for a in (h * 255 // 359, s * 255 // 99, v * 255 // 99)]
