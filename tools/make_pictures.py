#!/usr/bin/python3
"""Generate the program's pictures into assets/.

  assets/background.gif       window background, 794 x 567
  assets/figure01.jpg .. 11   figures of the practice paper
  assets/figures.txt          their descriptions in words, UTF-8, one line
                              per figure: number, tab, description
  assets/mark.ico             correct-answer mark (32/16 px, 16 and 256 colours)
  assets/vardo.ico            the program's file icon (32 px 2 and 16 colours, 16 px)

A developer tool: needs Pillow and the IPA Gothic font (Debian packages
python3-pil and fonts-ipafont-gothic).  The output is committed; the
program's build does not run this.  Same input, same bytes.

Usage: /usr/bin/python3 tools/make_pictures.py
"""
import math
import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent
sys.dont_write_bytecode = True          # keep tools/pictures free of caches
sys.path.insert(0, str(HERE / "pictures"))

from PIL import Image, ImageDraw  # noqa: E402

import draw  # noqa: E402
from figures import FIGURES  # noqa: E402

ASSETS = HERE.parent / "assets"

FIGURE_SIZES = [(430, 304), (412, 357), (508, 355), (456, 346), (404, 314), (422, 142),
                (434, 305), (284, 298), (450, 272), (449, 338), (450, 240)]


# ---------------------------------------------------------------- background

def atom(d, cx, cy, scale):
    """A small stylised atom: three orbits and a nucleus, drawn in white
    (255) on the coverage canvas."""
    rx, ry = 17 * scale, 6 * scale
    for k in range(3):
        a = math.radians(60 * k + 15)
        pts = []
        for i in range(97):
            t = 2 * math.pi * i / 96
            x, y = rx * math.cos(t), ry * math.sin(t)
            pts.append((cx + x * math.cos(a) - y * math.sin(a), cy + x * math.sin(a) + y * math.cos(a)))
        d.line(pts, fill=255, width=round(1.6 * scale), joint="curve")
    r = 3.2 * scale
    d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=255)


def make_background(path):
    w, h = 794, 567
    ss = 4
    cov = Image.new("L", (w * ss, h * ss), 0)
    d = ImageDraw.Draw(cov)
    dx, dy = 132, 112
    for row in range(-1, h // dy + 2):
        for col in range(-1, w // dx + 2):
            cx = 44 + col * dx + (dx // 2 if row % 2 else 0)
            cy = 40 + row * dy
            atom(d, cx * ss, cy * ss, ss)
    cov = cov.resize((w, h), Image.BOX)
    # index = amount of white over the yellow ground; the palette is the
    # 256-step ramp from yellow (255,255,0) to white, so the anti-aliased
    # edges are exact and the emblems stay soft.
    indices = bytes(cov.getdata())
    palette = [(255, 255, b) for b in range(256)]
    draw.write_gif(path, w, h, palette, indices)


# ---------------------------------------------------------------- icons

def coverage(size, fn, ss=8):
    """Fraction of each pixel's sub-samples for which fn(x, y) holds;
    x and y are in pixel units with the pixel centres at +0.5."""
    out = []
    for py in range(size):
        row = []
        for px in range(size):
            n = 0
            for sy in range(ss):
                for sx in range(ss):
                    if fn(px + (sx + 0.5) / ss, py + (sy + 0.5) / ss):
                        n += 1
            row.append(n / (ss * ss))
        out.append(row)
    return out


RED = (214, 0, 24)


def mark_image(size, bpp):
    """A teacher's round mark: a bold red ring on a small white disc;
    outside the disc the icon is transparent."""
    c = size / 2
    k = size / 32
    disc_r, ring_out, ring_in = 15.6 * k, 14.6 * k, 9.0 * k
    disc = coverage(size, lambda x, y: math.hypot(x - c, y - c) <= disc_r)
    ring = coverage(size, lambda x, y: ring_in <= math.hypot(x - c, y - c) <= ring_out)
    steps = 15 if bpp == 4 else 64                  # red shares in the palette
    palette = [(0, 0, 0)]
    for i in range(steps):
        t = i / (steps - 1)
        palette.append(tuple(round(255 + (r - 255) * t) for r in RED))
    pixels = [[1 + round(ring[y][x] * (steps - 1)) for x in range(size)] for y in range(size)]
    opaque = [[disc[y][x] >= 0.5 for x in range(size)] for y in range(size)]
    return draw.dib_image(size, bpp, palette, pixels, opaque)


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def sheet_image(size, bpp):
    """An answer sheet with a folded corner, ruled lines and a tick."""
    BLACK, GREY, SILVER, RED_, WHITE = (0, 8, 7, 9, 15) if bpp == 4 else (0, 0, 1, 0, 1)
    s = size / 32
    img = Image.new("P", (size, size), 0)
    mask = Image.new("1", (size, size), 0)
    dm, di = ImageDraw.Draw(mask), ImageDraw.Draw(img)
    x0, y0, x1, y1 = round(5 * s), round(2 * s), round(26 * s), round(29 * s)
    fold = round(7 * s)
    outline = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    dm.polygon(outline, fill=1, outline=1)
    di.polygon(outline, fill=WHITE, outline=BLACK)
    di.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)],
               fill=SILVER if bpp == 4 else WHITE, outline=BLACK)
    if size >= 32:
        for y in (9, 13, 17):
            di.line([(8, y), (17 if y == 9 else 22, y)], fill=GREY)
        di.line([(9, 21), (13, 25), (23, 13)], fill=RED_, width=3)
    else:
        di.line([(4, 5), (9, 5)], fill=GREY)
        di.line([(4, 7), (10, 7)], fill=GREY)
        di.line([(4, 10), (6, 12), (11, 7)], fill=RED_, width=2)
    pixels = [[img.getpixel((x, y)) for x in range(size)] for y in range(size)]
    opaque = [[bool(mask.getpixel((x, y))) for x in range(size)] for y in range(size)]
    palette = VGA16 if bpp == 4 else [(0, 0, 0), (255, 255, 255)]
    return draw.dib_image(size, bpp, palette, pixels, opaque)


def write_descriptions(path):
    lines = []
    for n, make in enumerate(FIGURES, 1):
        text = make.description
        assert text and "\t" not in text and "\n" not in text, n
        lines.append(f"{n}\t{text}\n")
    path.write_text("".join(lines), encoding="utf-8", newline="\n")


def main():
    ASSETS.mkdir(exist_ok=True)
    make_background(ASSETS / "background.gif")
    for n, (make, size) in enumerate(zip(FIGURES, FIGURE_SIZES), 1):
        img = make()
        assert img.size == size, (n, img.size, size)
        draw.save_jpeg(img, ASSETS / f"figure{n:02d}.jpg")
    write_descriptions(ASSETS / "figures.txt")
    draw.write_ico(ASSETS / "mark.ico", [(32, 4, mark_image(32, 4)),
                                         (16, 4, mark_image(16, 4)),
                                         (32, 8, mark_image(32, 8))])
    draw.write_ico(ASSETS / "vardo.ico", [(32, 1, sheet_image(32, 1)),
                                          (32, 4, sheet_image(32, 4)),
                                          (16, 4, sheet_image(16, 4))])
    print("pictures written to", ASSETS)
    return 0


if __name__ == "__main__":
    sys.exit(main())
