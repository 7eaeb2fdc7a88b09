"""Drawing helpers and file writers for the program's pictures.

Line drawings are made on a grey-scale canvas SS times larger than the
target and reduced at the end, which gives smooth lines and text without
depending on the rasteriser's own anti-aliasing.  Coordinates passed to
Canvas methods are in target pixels (floats allowed).

The GIF and ICO writers are written out here because the program needs
exact variants (a full 256-entry global colour table, 4 bpp and 1 bpp icon
images) that general-purpose writers do not produce on request.
"""
import math
import struct

from PIL import Image, ImageDraw, ImageFont

# The proportional face: the fixed-width one writes 0 with a slash, which
# reads as Ø.
FONT_PATH = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"
SS = 4  # supersampling factor
# The smallest lettering a figure may use, in pixels: the figures are shown
# at their own size on their tabs, and smaller kanji blur into blots there.
LEGIBLE = 14

_fonts = {}


def font(size):
    key = round(size * SS)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(FONT_PATH, key)
    return _fonts[key]


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.img = Image.new("L", (w * SS, h * SS), 255)
        self.d = ImageDraw.Draw(self.img)

    @staticmethod
    def _p(pts):
        return [(x * SS, y * SS) for x, y in pts]

    def line(self, pts, width=1.5, fill=0, round_caps=True):
        pts = list(pts)
        w = max(1, round(width * SS))
        self.d.line(self._p(pts), fill=fill, width=w, joint="curve")
        if not round_caps:
            return
        # round caps so thick strokes end cleanly
        r = w / 2
        for x, y in (pts[0], pts[-1]):
            self.d.ellipse([x * SS - r, y * SS - r, x * SS + r, y * SS + r], fill=fill)

    def segment(self, p0, p1, width=1.5, fill=0):
        self.line([p0, p1], width, fill)

    def dashed(self, p0, p1, width=1.2, dash=5.0, gap=4.0, fill=0):
        (x0, y0), (x1, y1) = p0, p1
        length = math.hypot(x1 - x0, y1 - y0)
        ux, uy = (x1 - x0) / length, (y1 - y0) / length
        s = 0.0
        while s < length:
            e = min(s + dash, length)
            self.segment((x0 + ux * s, y0 + uy * s), (x0 + ux * e, y0 + uy * e), width, fill)
            s = e + gap

    def dashed_curve(self, pts, width=1.5, dash=6.0, gap=4.0, fill=0):
        """A polyline drawn in dashes of `dash` pixels `gap` apart along it."""
        piece, drawn, left, on = [pts[0]], [], dash, True
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            length = math.hypot(x1 - x0, y1 - y0)
            done = 0.0
            while length - done > left:
                done += left
                point = (x0 + (x1 - x0) * done / length, y0 + (y1 - y0) * done / length)
                if on:
                    drawn.append(piece + [point])
                piece, on = [point], not on
                left = dash if on else gap
            left -= length - done
            piece.append((x1, y1))
        if on and len(piece) > 1:
            drawn.append(piece)
        for part in drawn:
            self.line(part, width, fill, round_caps=False)

    def polygon(self, pts, fill=None, outline=0, width=1.5):
        pts = list(pts)
        if fill is not None:
            self.d.polygon(self._p(pts), fill=fill)
        if outline is not None:
            self.line(pts + [pts[0]], width, outline)

    def rect(self, x0, y0, x1, y1, fill=None, outline=0, width=1.5):
        self.polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], fill, outline, width)

    def circle(self, cx, cy, r, fill=None, outline=0, width=1.5):
        box = [(cx - r) * SS, (cy - r) * SS, (cx + r) * SS, (cy + r) * SS]
        if fill is not None:
            self.d.ellipse(box, fill=fill)
        if outline is not None:
            self.d.ellipse(box, outline=outline, width=max(1, round(width * SS)))

    def ellipse(self, cx, cy, rx, ry, fill=None, outline=0, width=1.5):
        box = [(cx - rx) * SS, (cy - ry) * SS, (cx + rx) * SS, (cy + ry) * SS]
        if fill is not None:
            self.d.ellipse(box, fill=fill)
        if outline is not None:
            self.d.ellipse(box, outline=outline, width=max(1, round(width * SS)))

    def arrow(self, p0, p1, width=1.5, head=8.0, fill=0, both=False):
        (x0, y0), (x1, y1) = p0, p1
        length = math.hypot(x1 - x0, y1 - y0)
        ux, uy = (x1 - x0) / length, (y1 - y0) / length
        self.segment((x0 + (ux * head * 0.8 if both else 0), y0 + (uy * head * 0.8 if both else 0)),
                     (x1 - ux * head * 0.8, y1 - uy * head * 0.8), width, fill)
        self._head((x1, y1), (ux, uy), head, fill)
        if both:
            self._head((x0, y0), (-ux, -uy), head, fill)

    def _head(self, tip, u, head, fill):
        (x, y), (ux, uy) = tip, u
        half = head * 0.38
        self.d.polygon(self._p([(x, y),
                                (x - ux * head - uy * half, y - uy * head + ux * half),
                                (x - ux * head + uy * half, y - uy * head - ux * half)]), fill=fill)

    def text(self, x, y, s, size=13, anchor="mm", fill=0, box=False):
        if size < LEGIBLE:
            raise ValueError(f"{s!r} at {size} px: figure lettering is {LEGIBLE} px or more")
        f = font(size)
        if box:
            l, t, r, b = self.d.textbbox((x * SS, y * SS), s, font=f, anchor=anchor)
            pad = 2 * SS
            self.d.rectangle([l - pad, t - pad, r + pad, b + pad], fill=255)
        self.d.text((x * SS, y * SS), s, font=f, fill=fill, anchor=anchor)

    def text_width(self, s, size=13):
        l, _t, r, _b = self.d.textbbox((0, 0), s, font=font(size))
        return (r - l) / SS

    def sub(self, x, y, base, index, size=13, anchor="lm", box=False):
        """Text with a subscript, e.g. T with 1; (x, y) as for text()."""
        wb = self.text_width(base, size)
        small = max(LEGIBLE, size * 0.7)
        wi = self.text_width(index, small)
        left = x - (wb + wi) / 2 if anchor == "mm" else x
        if box:
            self.d.rectangle([(left - 2) * SS, (y - size * 0.6) * SS,
                              (left + wb + wi + 2) * SS, (y + size * 0.75) * SS], fill=255)
        self.text(left, y, base, size, "lm")
        self.text(left + wb, y + size * 0.3, index, small, "lm")

    def hatch(self, x0, y0, x1, y1, step=6.0, width=1.0, slope=1.0, fill=0):
        """Diagonal hatching clipped to the rectangle (x0, y0)-(x1, y1)."""
        h = y1 - y0
        x = x0 - h * slope
        while x < x1:
            ax, ay, bx, by = x, y1, x + h * slope, y0
            # clip the segment to the rectangle's x range
            if ax < x0:
                ay -= (x0 - ax) / slope
                ax = x0
            if bx > x1:
                by += (bx - x1) / slope
                bx = x1
            if ax < bx:
                self.segment((ax, ay), (bx, by), width, fill)
            x += step

    def ground(self, x0, x1, y, depth=8.0, width=1.5):
        """A surface line with short hatch strokes below it."""
        self.segment((x0, y), (x1, y), width)
        x = x0 + 4
        while x < x1:
            self.segment((x, y), (x - depth * 0.8, y + depth), 1.0)
            x += 8

    def ceiling(self, x0, x1, y, depth=8.0, width=1.5):
        self.segment((x0, y), (x1, y), width)
        x = x0 + 4
        while x < x1:
            self.segment((x, y), (x + depth * 0.8, y - depth), 1.0)
            x += 8

    def spring(self, p0, p1, turns=10, amp=8.0, lead=8.0, width=1.4):
        (x0, y0), (x1, y1) = p0, p1
        length = math.hypot(x1 - x0, y1 - y0)
        ux, uy = (x1 - x0) / length, (y1 - y0) / length
        nx, ny = -uy, ux
        pts = [(x0, y0), (x0 + ux * lead, y0 + uy * lead)]
        body = length - 2 * lead
        n = turns * 2
        for i in range(1, n):
            s = lead + body * i / n
            a = amp if i % 2 else -amp
            pts.append((x0 + ux * s + nx * a, y0 + uy * s + ny * a))
        pts += [(x1 - ux * lead, y1 - uy * lead), (x1, y1)]
        self.line(pts, width)

    def finish(self):
        """The picture at its target size, in RGB."""
        small = self.img.resize((self.w, self.h), Image.LANCZOS)
        return small.convert("RGB")


def save_jpeg(img, path):
    # Baseline, 4:4:4 so thin black lines keep their edges; fixed settings
    # so the same drawing always gives the same bytes.
    img.save(path, "JPEG", quality=90, subsampling=0, optimize=False, progressive=False)


# ---------------------------------------------------------------- GIF

def _lzw(indices, min_code_size=8):
    """GIF flavoured LZW: variable code width, LSB-first packing."""
    clear = 1 << min_code_size
    eoi = clear + 1
    out = bytearray()
    acc = nbits = 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    def reset():
        return {bytes([i]): i for i in range(clear)}, eoi + 1, min_code_size + 1

    table, next_code, size = reset()
    emit(clear, size)
    w = b""
    for b in indices:
        wc = w + bytes([b])
        if wc in table:
            w = wc
            continue
        emit(table[w], size)
        table[wc] = next_code
        next_code += 1
        if next_code > (1 << size):
            if size < 12:
                size += 1
        if next_code >= 4095:
            emit(clear, size)
            table, next_code, size = reset()
        w = bytes([b])
    if w:
        emit(table[w], size)
    emit(eoi, size)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def write_gif(path, width, height, palette, indices):
    """One-image GIF89a with a 256-entry global colour table, no
    extensions (so no transparency), not interlaced."""
    assert len(palette) == 256 and len(indices) == width * height
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0xF7, 0, 0)  # GCT, 8 bit colour, 256 entries
    for r, g, b in palette:
        data += bytes((r, g, b))
    data += b","  # image descriptor
    data += struct.pack("<HHHHB", 0, 0, width, height, 0)  # no local table, not interlaced
    data.append(8)  # LZW minimum code size
    stream = _lzw(indices, 8)
    for i in range(0, len(stream), 255):
        chunk = stream[i:i + 255]
        data.append(len(chunk))
        data += chunk
    data.append(0)
    data += b";"
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- ICO

def dib_image(size, bpp, palette, pixels, opaque):
    """One classic icon image: BITMAPINFOHEADER, colour table, XOR bitmap
    and AND mask, rows bottom-up.  pixels[y][x] are palette indices,
    opaque[y][x] booleans (False pixels are transparent)."""
    colours = 1 << bpp
    assert len(palette) <= colours
    pal = list(palette) + [(0, 0, 0)] * (colours - len(palette))
    xor_stride = ((size * bpp + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x in range(size):
            idx = pixels[y][x] if opaque[y][x] else 0
            assert 0 <= idx < colours
            bit = x * bpp
            row[bit // 8] |= idx << (8 - bpp - bit % 8)
            if not opaque[y][x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += row
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in pal)
    return header + table + bytes(xor) + bytes(mask)


def write_ico(path, images):
    """images: list of (size, bpp, dib bytes), written in that order."""
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    body = b""
    for size, bpp, dib in images:
        count = (1 << bpp) if bpp < 8 else 0
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, count, 0, 1, bpp,
                               len(dib), offset + len(body))
        body += dib
    with open(path, "wb") as f:
        f.write(head + entries + body)
