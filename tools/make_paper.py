#!/usr/bin/env python3
"""Write the question paper assets/00Vardo.tx and its working
assets/00Vardo-answers.html from their editable sources.

The source tools/paper/paper.html is kept in UTF-8 so it can be edited with
any editor; the program's document pane expects the file in Shift-JIS
(code page 932), as its <meta> declaration says.  Characters that code page
932 cannot hold stop the script with the line and column, so nothing
lossy is ever written.

The working is docs/answers.md turned into one HTML page (UTF-8, declared),
which the paper's last link opens in the pane and which links back to the
paper.  Only the Markdown that file uses is understood: headings, paragraphs,
tables and rules.

Usage: python3 tools/make_paper.py
"""
import html
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SOURCE = ROOT / "tools" / "paper" / "paper.html"
TARGET = ROOT / "assets" / "00Vardo.tx"
DECLARATION = '<meta http-equiv="Content-Type" content="text/html; charset=Shift_JIS">'
ANSWERS = ROOT / "docs" / "answers.md"
WORKING = ROOT / "assets" / "00Vardo-answers.html"
BACK_LINK = '<p><a href="00Vardo.tx">問題にもどる</a></p>'


def encode(text):
    """Encode to cp932, naming every character that does not fit."""
    bad = []
    for lineno, line in enumerate(text.split("\n"), 1):
        for col, ch in enumerate(line, 1):
            try:
                ch.encode("cp932")
            except UnicodeEncodeError:
                bad.append(f"{SOURCE.name}:{lineno}:{col}: U+{ord(ch):04X} {ch!r} is not in cp932")
    if bad:
        raise SystemExit("\n".join(bad))
    data = text.encode("cp932")
    if data.decode("cp932") != text:
        raise SystemExit("cp932 round trip changed the text")
    return data


SUPERSCRIPTS = str.maketrans("⁰¹²³⁴⁵⁶⁷⁸⁹⁻", "0123456789-")
SUBSCRIPTS = str.maketrans("₀₁₂₃₄₅₆₇₈₉", "0123456789")


def inline(text):
    """Escaped text; the notes' raised and lowered digits become <sup> and
    <sub>, which the paper's Gothic font draws (it lacks those characters)."""
    text = html.escape(text)
    text = re.sub(r"[⁰¹²³⁴⁵⁶⁷⁸⁹⁻]+", lambda m: f"<sup>{m.group(0).translate(SUPERSCRIPTS)}</sup>", text)
    text = re.sub(r"[₀₁₂₃₄₅₆₇₈₉]+", lambda m: f"<sub>{m.group(0).translate(SUBSCRIPTS)}</sub>", text)
    return keep_together(text)


# Where a line must not break: inside a label (1-問1-1, 2A-問3), between a
# number and its unit, and inside a unit or a term (m/s, J/(g・K), ×10, −2.0).
# Qt breaks lines by the characters alone, so a no-break space takes the
# space's place and a word joiner (U+2060) goes after the character a line
# could end on; the pane reads both as if they were not there.
JOINER = "&#x2060;"
TOGETHER = [
    (re.compile(r"(\d[AB]?-)(問)(\d)"), rf"\1{JOINER}\2{JOINER}\3"),
    (re.compile(r"(\d)[ \n](?=[A-Za-zμΩ℃°\u4e00-\u9fff]|か所)"), r"\1&nbsp;"),
    (re.compile(r"(?<=[A-Za-z0-9)μΩ])/(?=[A-Za-z(μΩ√])"), f"/{JOINER}"),
    (re.compile(r"(?<=[A-Za-z])・(?=[A-Za-z])"), f"・{JOINER}"),
    (re.compile(r"([−－×])(?=\d)"), rf"\1{JOINER}"),
    # A power in words (T の 2 乗), a letter naming a thing (α 粒子, U 字形,
    # x 軸), a letter set against a word (U字形), a blank to fill (（ ア ）).
    (re.compile(r"の (?=\d+(?: |&nbsp;)?乗)"), "の&nbsp;"),
    (re.compile(r"(?<![A-Za-zα-ωΑ-Ω])([A-Za-zα-ωΑ-Ω]) (?=[\u4e00-\u9fff])"), r"\1&nbsp;"),
    (re.compile(r"(?<=[A-Za-z])(?=[\u4e00-\u9fff])"), JOINER),
    (re.compile(r"（ (\S) ）"), r"（&nbsp;\1&nbsp;）"),
]
# Raised and lowered digits stand between a number and its unit (m/s<sup>2</sup>):
# a rule sees the text on both sides of them.
INLINE_TAG = re.compile(r"</?(?:sup|sub|b|i)>")


def keep_together(markup):
    """The text of `markup` marked so that no line breaks where TOGETHER says."""
    parts = re.split(r"(<[^>]*>)", markup)
    before = ""
    for k in range(0, len(parts), 2):
        if k and not INLINE_TAG.fullmatch(parts[k - 1]):
            before = ""
        text = before + parts[k]
        for pattern, replacement in TOGETHER:
            text = pattern.sub(replacement, text)
        parts[k] = text[len(before):]
        before = (before + parts[k])[-1:]
    return "".join(parts)


def table_rows(lines):
    rows = [[inline(cell.strip()) for cell in line.strip("|").split("|")]
            for line in lines if not re.fullmatch(r"\|[-| ]+\|", line)]
    head, body = rows[0], rows[1:]
    out = ["<table border=\"1\" cellpadding=\"3\">",
           "<tr>" + "".join(f"<th>{c}</th>" for c in head) + "</tr>"]
    out += ["<tr>" + "".join(f"<td>{c}</td>" for c in row) + "</tr>" for row in body]
    return out + ["</table>"]


def block_html(block):
    """One Markdown block (lines between blank lines) as HTML."""
    first = block[0]
    if first == "---":
        return ["<hr>"]
    if first.startswith("|"):
        return table_rows(block)
    m = re.match(r"(#+) (.*)", first)
    if m:
        level = {1: 2, 2: 3}.get(len(m.group(1)), 4)
        return [f"<h{level}>{inline(m.group(2))}</h{level}>"]
    return ["<p>" + "<br>\n".join(inline(line) for line in block) + "</p>"]


# Lines longer than this in UTF-8 bytes (the checks draw the line at 512) look
# minified to packaging checks, which then ask for the page's source; a space
# breaks them where the page shows a space anyway.
LINE_BYTES = 500


def short_lines(markup):
    """The lines of `markup`, each split at its spaces into lines of at most
    LINE_BYTES bytes."""
    out = []
    lines = markup.split("\n")
    for line in lines[:-1]:
        out += short_lines(line)
    line = lines[-1]
    while len(line.encode()) > LINE_BYTES:
        fits = len(line.encode()[:LINE_BYTES + 1].decode(errors="ignore"))
        cut = line.rfind(" ", 0, fits)
        if cut <= 0:
            raise SystemExit(f"{ANSWERS.name}: no space to break a line at: {line[:60]}…")
        out.append(line[:cut])
        line = line[cut + 1:]
    return out + [line]


def working_html(markdown):
    blocks, block = [], []
    for line in markdown.split("\n") + [""]:
        if line.strip():
            block.append(line.rstrip())
        elif block:
            blocks.append(block)
            block = []
    title = re.sub(r"^# ", "", blocks[0][0])
    body = [short for b in blocks for line in block_html(b) for short in short_lines(line)]
    return "\n".join([
        "<html>", "<head>", '<meta charset="utf-8">', f"<title>{html.escape(title)}</title>", "</head>",
        "<body style=\"font-family: 'ＭＳ ゴシック', 'IPAGothic', 'IPAゴシック', monospace;\">",
        BACK_LINK, *body, "<hr>", BACK_LINK, "</body>", "</html>", ""])


def main():
    text = SOURCE.read_text(encoding="utf-8")
    if DECLARATION not in text:
        raise SystemExit(f"{SOURCE}: the Shift_JIS <meta> declaration is missing")
    for lineno, line in enumerate(text.split("\n"), 1):
        if len(line.encode()) > LINE_BYTES:
            raise SystemExit(f"{SOURCE.name}:{lineno}: over {LINE_BYTES} bytes; break it where a space may stand")
    # Windows line ends: the file is read on Windows machines too.
    head, body = text.split("<body", 1)
    text = head + keep_together("<body" + body)
    text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    data = encode(text)
    TARGET.parent.mkdir(parents=True, exist_ok=True)
    TARGET.write_bytes(data)
    print(f"wrote {TARGET.relative_to(ROOT)} ({len(data)} bytes)")
    working = working_html(ANSWERS.read_text(encoding="utf-8")).encode("utf-8")
    WORKING.write_bytes(working)
    print(f"wrote {WORKING.relative_to(ROOT)} ({len(working)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
