#!/usr/bin/env python3
"""Writes the Draw panel's shape and fill-type pictures to app/icons/shapes/
as XPM images: 20 x 20 (the ellipse 18 x 18), black on transparent.
Run it again after changing a picture here."""
import pathlib

OUT = pathlib.Path(__file__).resolve().parent.parent / "app" / "icons" / "shapes"


def frame(x, y):
    return x in (2, 17) and 2 <= y <= 17 or y in (2, 17) and 2 <= x <= 17


def inside(x, y):
    return 3 <= x <= 16 and 3 <= y <= 16


def fill(pattern):
    return lambda x, y: frame(x, y) or inside(x, y) and pattern(x, y)


def disc(x, y):
    return (2 * x - 17) ** 2 + (2 * y - 17) ** 2 <= 18 ** 2


def ellipse(x, y):
    # The disc's pixels with a 4-neighbour outside it: a closed one-pixel outline.
    return disc(x, y) and not all(disc(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))


horizontal = lambda x, y: y % 3 == 0
vertical = lambda x, y: x % 3 == 0
fdiagonal = lambda x, y: (x + y) % 4 == 0  # lower left to upper right
bdiagonal = lambda x, y: (x - y) % 4 == 0

PICTURES = {
    "line": (20, lambda x, y: 3 <= x <= 16 and x + y == 19),
    "rect": (20, lambda x, y: x in (3, 16) and 5 <= y <= 14 or y in (5, 14) and 3 <= x <= 16),
    "ellipse": (18, ellipse),
    "fill-clear": (20, fill(lambda x, y: False)),
    "fill-solid": (20, fill(lambda x, y: True)),
    "fill-horizontal": (20, fill(horizontal)),
    "fill-vertical": (20, fill(vertical)),
    "fill-fdiagonal": (20, fill(fdiagonal)),
    "fill-bdiagonal": (20, fill(bdiagonal)),
    "fill-cross": (20, fill(lambda x, y: horizontal(x, y) or vertical(x, y))),
    "fill-diagcross": (20, fill(lambda x, y: fdiagonal(x, y) or bdiagonal(x, y))),
}


def xpm(name, size, painted):
    rows = ["".join("#" if painted(x, y) else "." for x in range(size)) for y in range(size)]
    body = ",\n".join(f'"{r}"' for r in rows)
    ident = name.replace("-", "_")
    return (f"/* XPM */\nstatic const char* {ident}[] = {{\n\"{size} {size} 2 1\",\n"
            f"\". c None\",\n\"# c #000000\",\n{body}}};\n")


if __name__ == "__main__":
    OUT.mkdir(parents=True, exist_ok=True)
    for name, (size, painted) in PICTURES.items():
        (OUT / f"{name}.xpm").write_text(xpm(name, size, painted))
