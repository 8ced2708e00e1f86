#!/usr/bin/env python3
"""Generates hanzi/stroke_table.cpp: HanziStrokeTable, one stroke count for each cell of
the hanzi area of GB2312 (lead bytes 0xB0..0xF7, trail bytes 0xA1..0xFE, 6,768 cells).

Source: the Unihan database's kTotalStrokes field, from Debian's package unicode-data
(/usr/share/unicode/Unihan_*.txt.bz2; the generator looks for the file that holds the
field, Unihan_IRGSources.txt in Unicode 15). Each cell is decoded through tools/cp936.py,
the same iconv "CP936" converter the program uses. Where kTotalStrokes gives two values,
the first one is taken: it is the count for simplified Chinese (范 8 9, 骨 9 10).

Pinned cells (the generator prints them every run):
- the five unassigned cells 0xD7FA..0xD7FE hold 0;
- the 41 radical forms filed among the level-2 characters (RADICAL_FORMS below) hold 0:
  the table gives no count for a component that is not written as a character of its own,
  although Unihan counts them (丨 1, 艹 3, 虍 6);
- the well-known entries of TELLING are checked against Unihan; one that Unihan gave
  differently would be pinned to the value here, and reported. With Unihan 15.0 every
  one of them agrees, so none is pinned.

Run:  python3 tools/hanzi/gen_stroke_table.py           (rewrites the table file)
      python3 tools/hanzi/gen_stroke_table.py --check   (exit 1 if its data differs)
"""
import bz2
import glob
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(ROOT, "tools"))
import cp936  # noqa: E402
from tablefile import debian_version, write_or_check  # noqa: E402

OUT = os.path.join(ROOT, "hanzi", "stroke_table.cpp")
UNIHAN_GLOB = "/usr/share/unicode/Unihan_*.txt.bz2"

LEADS = range(0xB0, 0xF8)
TRAILS = range(0xA1, 0xFF)
UNASSIGNED = [bytes([0xD7, t]) for t in range(0xFA, 0xFF)]

# Radical forms filed among the level-2 characters: no stroke count of their own.
RADICAL_FORMS = ("丨丿丶匚刂冂亻勹亠冫冖讠卩阝廴凵艹廾尢扌囗彡犭夂饣忄丬氵宀辶彐屮纟攵灬礻肀"
                 "钅疒衤虍")

# Entries everyone knows, with their counts: the table must give exactly these.
TELLING = {"啊": 10, "阿": 7, "一": 1, "乙": 1, "二": 2, "三": 3, "水": 4, "中": 4, "国": 8,
           "的": 8, "是": 9, "爱": 10, "鼍": 20, "齄": 23, "爨": 30}
LARGEST = 30


def unihan_file():
    """The Unihan file that holds kTotalStrokes: its header comment lists its fields."""
    for path in sorted(glob.glob(UNIHAN_GLOB)):
        with bz2.open(path, "rt", encoding="utf-8") as f:
            for line in f:
                if not line.startswith("#"):
                    break
                if line.split() == ["#", "kTotalStrokes"]:
                    return path
    sys.exit("no Unihan file with kTotalStrokes under %s: install Debian's unicode-data"
             % UNIHAN_GLOB)


def read_unihan(path):
    """(Unicode version, {code point: first kTotalStrokes value})."""
    version, strokes = "?", {}
    with bz2.open(path, "rt", encoding="utf-8") as f:
        for line in f:
            m = re.match(r"# Unicode version: (\S+)", line)
            if m:
                version = m.group(1)
            fields = line.rstrip("\n").split("\t")
            if len(fields) == 3 and fields[1] == "kTotalStrokes":
                strokes[int(fields[0][2:], 16)] = int(fields[2].split()[0])
    return version, strokes


def build(strokes):
    """(the 6,768 entries, the characters of the cells, the pins made as text lines)."""
    zero_cells = {cp936.encode(c): c for c in RADICAL_FORMS}
    assert len(zero_cells) == 41 and all(k is not None for k in zero_cells)
    telling = {cp936.encode(c): (c, n) for c, n in TELLING.items()}
    entries, chars, pins = [], [], []
    for lead in LEADS:
        for trail in TRAILS:
            cell = bytes([lead, trail])
            ch = cp936.decode(cell)
            chars.append(ch if ch is not None and len(ch) == 1 else None)
            if cell in UNASSIGNED:
                assert chars[-1] is None, cell.hex()
                entries.append(0)
                continue
            assert chars[-1] is not None, "cell %s does not decode" % cell.hex()
            cp = ord(chars[-1])
            if cell in zero_cells:
                entries.append(0)
                continue
            if cp not in strokes:
                sys.exit("Unihan has no kTotalStrokes for %s U+%04X" % (chars[-1], cp))
            n = strokes[cp]
            if cell in telling and telling[cell][1] != n:
                pins.append("  %s %s U+%04X: %d (Unihan %d): the well-known count"
                            % (cell.hex().upper(), chars[-1], cp, telling[cell][1], n))
                n = telling[cell][1]
            entries.append(n)
    return entries, chars, pins


def check(entries):
    assert len(entries) == 6768
    assert entries.count(0) == 46, entries.count(0)
    assert max(entries) == LARGEST
    assert all(0 <= n <= LARGEST for n in entries)
    for c, n in TELLING.items():
        cell = cp936.encode(c)
        assert entries[(cell[0] - 0xB0) * 94 + cell[1] - 0xA1] == n, c


def render(entries, chars, unicode_version, deb_version):
    out = ["// Generated by tools/hanzi/gen_stroke_table.py from the Unihan database's",
           "// kTotalStrokes (Unicode %s, Debian package unicode-data %s);"
           % (unicode_version, deb_version),
           "// do not edit by hand: rerun the generator.",
           '#include "hanzi/hanzi_tables.h"',
           "",
           "// The stroke count of the GB2312 cell with lead byte L and trail byte T at",
           "// (L - 0xB0) * 94 + (T - 0xA1); 0 for the unassigned cells 0xD7FA..0xD7FE and",
           "// for the 41 radical forms, which have no count of their own.",
           "const std::array<uint8_t, StrokeTableSize> HanziStrokeTable = {{"]
    for r, lead in enumerate(LEADS):
        row = entries[r * 94:(r + 1) * 94]
        first = chars[r * 94]
        out.append("    // 0x%02XA1..0x%02XFE, from %s" % (lead, lead, first))
        for i in range(0, 94, 16):
            out.append("    " + " ".join("%2d," % n for n in row[i:i + 16]))
    out += ["}};", ""]
    return "\n".join(out)


def main():
    path = unihan_file()
    unicode_version, strokes = read_unihan(path)
    deb_version = debian_version("unicode-data")
    entries, chars, pins = build(strokes)
    check(entries)
    print("source: %s (Unicode %s, unicode-data %s)" % (os.path.basename(path),
                                                        unicode_version, deb_version))
    print("pinned to 0, unassigned: %s" % " ".join(c.hex().upper() for c in UNASSIGNED))
    print("pinned to 0, radical forms: %s"
          % " ".join("%s %s" % (cp936.encode(c).hex().upper(), c) for c in RADICAL_FORMS))
    if pins:
        print("pinned to the well-known count, where Unihan differs:")
        print("\n".join(pins))
    else:
        print("well-known entries: all %d agree with Unihan, none pinned" % len(TELLING))
    return write_or_check(OUT, render(entries, chars, unicode_version, deb_version),
                          versions=(unicode_version, deb_version))


if __name__ == "__main__":
    sys.exit(main())
