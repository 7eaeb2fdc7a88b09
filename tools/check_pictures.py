#!/usr/bin/env python3
"""Check the committed pictures in assets/ from their bytes.

  background.gif   GIF89a, 794 x 567, one image, 256-entry global colour
                   table, not interlaced, no transparency, yellow ground
  figureNN.jpg     baseline (SOF0) JPEG, 3 components of 8 bits, exact size
  mark.ico         32x32 4 bpp, 16x16 4 bpp, 32x32 8 bpp, classic DIBs,
                   corners transparent, centre opaque
  vardo.ico        32x32 1 bpp, 32x32 4 bpp, 16x16 4 bpp, classic DIBs
  figures.txt      UTF-8, one line per figure: its number, a tab and a
                   description in words, written to be spoken: none of the
                   symbols in SPOKEN_INSTEAD, which a Japanese speech
                   synthesizer reads oddly or not at all

Standard library only.  Prints one line per fault, exits 1 if any.

Usage: python3 tools/check_pictures.py [assets-folder]
"""
import collections
import pathlib
import re
import struct
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent

FIGURE_SIZES = {1: (430, 304), 2: (412, 357), 3: (508, 355), 4: (456, 346), 5: (404, 314),
                6: (422, 142), 7: (434, 305), 8: (284, 298), 9: (450, 272), 10: (449, 338),
                11: (450, 240)}
ICONS = {
    "mark.ico": [(32, 4), (16, 4), (32, 8)],
    "vardo.ico": [(32, 1), (32, 4), (16, 4)],
}

# What a blind candidate hears is the description read by a Japanese speech
# synthesizer (Orca).  These symbols come out oddly, or not at all, so the
# descriptions say the words instead: each row is a pattern, what it matches
# and what to write.
SPOKEN_INSTEAD = [(re.compile(pattern), name, instead) for pattern, name, instead in [
    ("\u2212", "MINUS SIGN", "マイナス"),
    ("-", "HYPHEN-MINUS", "マイナス, or の as in 5の1"),
    ("\uff0d", "FULLWIDTH HYPHEN-MINUS", "マイナス"),
    ("\\+", "PLUS SIGN", "プラス"),
    ("\uff0b", "FULLWIDTH PLUS SIGN", "プラス"),
    ("\u00b1", "PLUS-MINUS SIGN", "プラスマイナス"),
    ("\u2032", "PRIME", "ダッシュ, as in エフダッシュ"),
    ("\u2033", "DOUBLE PRIME", "ツーダッシュ"),
    ("'", "APOSTROPHE", "ダッシュ"),
    ("\u2192", "RIGHTWARDS ARROW", "AからB"),
    ("\u2190", "LEFTWARDS ARROW", "BからA"),
    ("\u03a9", "GREEK CAPITAL LETTER OMEGA", "オーム"),
    ("\u2126", "OHM SIGN", "オーム"),
    ("\u03bc", "GREEK SMALL LETTER MU", "マイクロ"),
    ("\u00b5", "MICRO SIGN", "マイクロ"),
    ("\u2103", "DEGREE CELSIUS", "…セルシウス度"),
    ("\u00b0", "DEGREE SIGN", "度"),
    ("\u00b2", "SUPERSCRIPT TWO", "…の2乗"),
    ("\u00b3", "SUPERSCRIPT THREE", "…の3乗"),
    ("\u00d7", "MULTIPLICATION SIGN", "かける, or 10の…乗"),
    ("/", "SOLIDUS", "毎, or …分の…"),
    ("=", "EQUALS SIGN", "は…に等しい"),
    ("\uff1d", "FULLWIDTH EQUALS SIGN", "は…に等しい"),
    ("\u221a", "SQUARE ROOT", "ルート"),
    ("\u2252", "APPROXIMATELY EQUAL TO", "約"),
    ("[0-9.]\\s*(?:k?m|cm|mm|kg|g|N|V|mA|A|J|W|Hz|s|K|Pa|C|F|T|kΩ|Ω|μF)(?![A-Za-z])",
     "a unit symbol after a number", "the unit's name: 10メートル毎秒, 40ニュートン, 2.0キロオーム"),
]]


class Fault(Exception):
    pass


# ---------------------------------------------------------------- GIF

def lzw_decode(data, min_code_size):
    clear, eoi = 1 << min_code_size, (1 << min_code_size) + 1
    size = min_code_size + 1
    table = [bytes([i]) for i in range(clear)] + [b"", b""]
    out = bytearray()
    prev = None
    acc = nbits = pos = 0
    while True:
        while nbits < size:
            if pos >= len(data):
                raise Fault("image data ends without an end code")
            acc |= data[pos] << nbits
            pos += 1
            nbits += 8
        code = acc & ((1 << size) - 1)
        acc >>= size
        nbits -= size
        if code == clear:
            table = table[:eoi + 1]
            size = min_code_size + 1
            prev = None
            continue
        if code == eoi:
            return bytes(out)
        if code < len(table):
            entry = table[code]
            if prev is not None:
                table.append(prev + entry[:1])
        elif code == len(table) and prev is not None:
            entry = prev + prev[:1]
            table.append(entry)
        else:
            raise Fault(f"bad LZW code {code}")
        out += entry
        prev = entry
        if len(table) == (1 << size) and size < 12:
            size += 1


def check_gif(data, size):
    if data[:6] != b"GIF89a":
        raise Fault(f"header {data[:6]!r}, expected GIF89a")
    w, h, packed, _bg, _aspect = struct.unpack_from("<HHBBB", data, 6)
    if (w, h) != size:
        raise Fault(f"screen {w}x{h}, expected {size[0]}x{size[1]}")
    if not packed & 0x80:
        raise Fault("no global colour table")
    if 2 << (packed & 7) != 256:
        raise Fault(f"global colour table has {2 << (packed & 7)} entries, expected 256")
    palette = [tuple(data[13 + 3 * i:16 + 3 * i]) for i in range(256)]
    pos = 13 + 3 * 256
    images = []
    while True:
        if pos >= len(data):
            raise Fault("no trailer")
        block = data[pos]
        if block == 0x3B:
            break
        if block == 0x21:                          # extension
            label = data[pos + 1]
            pos += 2
            first = True
            while data[pos]:
                n = data[pos]
                if label == 0xF9 and first and data[pos + 1] & 1:
                    raise Fault("graphic control extension sets a transparent colour")
                first = False
                pos += n + 1
            pos += 1
        elif block == 0x2C:                        # image
            x, y, iw, ih, flags = struct.unpack_from("<HHHHB", data, pos + 1)
            pos += 10
            if flags & 0x40:
                raise Fault("image is interlaced")
            if flags & 0x80:
                raise Fault("image has a local colour table")
            min_code = data[pos]
            pos += 1
            stream = bytearray()
            while data[pos]:
                stream += data[pos + 1:pos + 1 + data[pos]]
                pos += data[pos] + 1
            pos += 1
            images.append(((x, y, iw, ih), lzw_decode(bytes(stream), min_code)))
        else:
            raise Fault(f"unknown block 0x{block:02X} at {pos}")
    if len(images) != 1:
        raise Fault(f"{len(images)} images, expected one")
    (x, y, iw, ih), pixels = images[0]
    if (x, y, iw, ih) != (0, 0) + size:
        raise Fault(f"image at {x},{y} size {iw}x{ih}, expected the whole screen")
    if len(pixels) != iw * ih:
        raise Fault(f"image data holds {len(pixels)} pixels, expected {iw * ih}")
    counts = collections.Counter(pixels)
    ground = palette[counts.most_common(1)[0][0]]
    if ground != (255, 255, 0):
        raise Fault(f"ground colour {ground}, expected yellow (255, 255, 0)")
    if not any(palette[i] == (255, 255, 255) for i in counts):
        raise Fault("no white in the emblem pattern")
    return f"GIF89a {w}x{h}, 256-colour global table, 1 image, {len(counts)} colours used"


# ---------------------------------------------------------------- JPEG

def check_jpeg(data, size):
    if data[:2] != b"\xFF\xD8":
        raise Fault("no JPEG start marker")
    pos = 2
    frames = []
    while pos < len(data):
        if data[pos] != 0xFF:
            raise Fault(f"expected a marker at {pos}")
        marker = data[pos + 1]
        if marker == 0xFF:
            pos += 1
            continue
        if marker == 0xDA or marker == 0xD9:       # start of scan: headers are done
            break
        length = struct.unpack_from(">H", data, pos + 2)[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            precision, h, w, ncomp = struct.unpack_from(">BHHB", data, pos + 4)
            frames.append((marker, precision, w, h, ncomp))
        pos += 2 + length
    if len(frames) != 1:
        raise Fault(f"{len(frames)} frame headers, expected one")
    marker, precision, w, h, ncomp = frames[0]
    if marker != 0xC0:
        raise Fault(f"frame marker SOF{marker - 0xC0}, expected baseline SOF0")
    if precision != 8 or ncomp != 3:
        raise Fault(f"{ncomp} components of {precision} bits, expected 3 of 8")
    if (w, h) != size:
        raise Fault(f"{w}x{h}, expected {size[0]}x{size[1]}")
    if not data.rstrip(b"\x00").endswith(b"\xFF\xD9"):
        raise Fault("no end-of-image marker")
    return f"baseline JPEG {w}x{h}, 3x8 bit"


# ---------------------------------------------------------------- ICO

def check_ico(data, expected):
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise Fault("not an icon file")
    if count != len(expected):
        raise Fault(f"{count} images, expected {len(expected)}")
    masks = []
    for i, (size, bpp) in enumerate(expected):
        w, h, colours, _r, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        if (w, h, bits) != (size, size, bpp):
            raise Fault(f"image {i + 1}: directory says {w}x{h} {bits} bpp, expected {size}x{size} {bpp} bpp")
        if colours != ((1 << bpp) if bpp < 8 else 0):
            raise Fault(f"image {i + 1}: colour count {colours} does not match {bpp} bpp")
        dib = data[offset:offset + length]
        if len(dib) != length:
            raise Fault(f"image {i + 1}: runs past the end of the file")
        if dib[:8] == b"\x89PNG\r\n\x1a\n":
            raise Fault(f"image {i + 1}: PNG, expected a BMP/DIB image")
        hsize, bw, bh, bplanes, bbits, compression = struct.unpack_from("<IiiHHI", dib, 0)
        if hsize != 40:
            raise Fault(f"image {i + 1}: header size {hsize}, expected BITMAPINFOHEADER (40)")
        if (bw, bh, bplanes, bbits, compression) != (size, 2 * size, 1, bpp, 0):
            raise Fault(f"image {i + 1}: header {bw}x{bh} planes {bplanes} {bbits} bpp "
                        f"compression {compression}, expected {size}x{2 * size} 1 {bpp} bpp 0")
        xor_stride = ((size * bpp + 31) // 32) * 4
        and_stride = ((size + 31) // 32) * 4
        table = 4 * (1 << bpp)
        need = 40 + table + size * (xor_stride + and_stride)
        if length != need:
            raise Fault(f"image {i + 1}: {length} bytes, expected {need} (header, palette, XOR, AND)")
        mask = dib[40 + table + size * xor_stride:]
        # rows are stored bottom-up; transparent(x, y) with y from the top
        masks.append(lambda x, y, m=mask, s=size, st=and_stride:
                     bool(m[(s - 1 - y) * st + x // 8] & (0x80 >> (x % 8))))
    return masks


def check_badge(masks, sizes):
    for (size, bpp), transparent in zip(sizes, masks):
        corners = [(0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)]
        if not all(transparent(x, y) for x, y in corners):
            raise Fault(f"{size}x{size} {bpp} bpp: corners are not transparent")
        if transparent(size // 2, size // 2) or transparent(size // 2, 1):
            raise Fault(f"{size}x{size} {bpp} bpp: the badge itself is transparent")


def main():
    assets = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "assets"
    faults = 0

    def run(name, fn):
        nonlocal faults
        try:
            data = (assets / name).read_bytes()
            print(f"{name}: {fn(data)}")
        except (Fault, OSError, struct.error, IndexError, UnicodeDecodeError) as e:
            faults += 1
            print(f"FAULT {name}: {e}")

    run("background.gif", lambda d: check_gif(d, (794, 567)))
    for n, size in FIGURE_SIZES.items():
        run(f"figure{n:02d}.jpg", lambda d, s=size: check_jpeg(d, s))

    def mark(d):
        masks = check_ico(d, ICONS["mark.ico"])
        check_badge(masks, ICONS["mark.ico"])
        return "icon: " + ", ".join(f"{s}x{s} {b} bpp" for s, b in ICONS["mark.ico"]) + ", round badge"

    def vardo(d):
        check_ico(d, ICONS["vardo.ico"])
        return "icon: " + ", ".join(f"{s}x{s} {b} bpp" for s, b in ICONS["vardo.ico"])

    def descriptions(d):
        lines = d.decode("utf-8").split("\n")
        if lines[-1] != "":
            raise Fault("last line has no line end")
        numbers = [line.split("\t", 1)[0] for line in lines[:-1]]
        if numbers != [str(n) for n in FIGURE_SIZES]:
            raise Fault(f"figure numbers {numbers}, expected 1 to {len(FIGURE_SIZES)}")
        if any(len(line.split("\t", 1)[1].strip()) < 40 for line in lines[:-1]):
            raise Fault("a description is missing or too short to say what the figure shows")
        odd = [f"figure {number}: {symbol!r} ({name}) is read oddly; write {instead}"
               for number, line in zip(numbers, lines)
               for pattern, name, instead in SPOKEN_INSTEAD
               for symbol in sorted(set(pattern.findall(line.split("\t", 1)[1])))]
        if odd:
            raise Fault("descriptions are not written to be spoken:\n  " + "\n  ".join(odd))
        return f"{len(numbers)} descriptions, written to be spoken"

    run("figures.txt", descriptions)
    run("mark.ico", mark)
    run("vardo.ico", vardo)
    print("OK" if not faults else f"{faults} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
