#!/usr/bin/env python3
"""Generates data/mekpy0_4.dll: the pinyin (with tone marks) of every GBK double-byte
character that has a reading, as 14-byte records sorted by character.

Record: byte 0 the character's length (2); bytes 1-2 the character in GBK (lead, trail);
byte 3 the length L of the pinyin text; bytes 4-13 the pinyin text in GBK, its first L
bytes, the rest zero. Tone marks are the GB2312 row-8 characters (ā á ǎ à ē é ě è ī í ǐ ì
ō ó ǒ ò ū ú ǔ ù ǖ ǘ ǚ ǜ ü ê ń ň), encoded through tools/cp936.py, the program's own
code page 936.

Sources
  * Unihan, from Debian's package unicode-data 15.0.0-1
    (/usr/share/unicode/Unihan_Readings.txt.bz2): kMandarin (the customary readings),
    kHanyuPinlu (readings with their frequency of use in a corpus) and kTGHZ2013.
  * The npm package pinyin-pro, exactly version 3.29.4 (tarball checked against its
    sha512 integrity), whose dictionary lists a character's readings most common first.
    The generator fetches it with `npm pack` into a temporary folder outside the source
    tree, runs it with node to list the readings of every character, and removes the
    folder again.

Which reading a character gets (one reading per character; readings GBK cannot write are
left out everywhere, see below):
  1. pinyin-pro's first reading, when Unihan knows it as a reading of the character: in
     kMandarin, in kHanyuPinlu, or in kTGHZ2013 (the readings of the 2013 standard
     dictionary of general-use characters, from the same Unihan file). pinyin-pro settles
     which reading is the most common; Unihan vouches that it is a standard one.
  2. Otherwise kHanyuPinlu's most frequent reading, otherwise kMandarin's first.
  3. A character Unihan gives no reading: pinyin-pro's first reading (〇 líng; 呣 móu,
     whose one Unihan reading ḿ GBK cannot write).
  4. No reading at all: no record.
  Unihan alone does not give the most common reading of a character read by itself:
  kMandarin has only zhǎng for 长 and lists 地 as "de dì", and kHanyuPinlu counts zhǎng
  and de more often than cháng and dì, since its corpus counts words; it also has 茄 jiā,
  粘 zhān, 拓 tà where qié, nián, tuò are the common readings. pinyin-pro alone is weak
  on traditional and rare characters (們 mén, 亞 yā, 幾 jī, where Unihan has men, yà, jǐ),
  hence its reading must be one Unihan knows; kTGHZ2013 covers the general-use characters
  only, so for the others that means kMandarin or kHanyuPinlu.
  pinyin-pro's first listed reading is used, not the reading its pinyin() call picks for a
  character written alone; the two differ only for 了 (le, liǎo), which gets le. 为 gets
  wèi: pinyin-pro, kMandarin and kHanyuPinlu (wèi 3962, wéi 2433) all put it first.

Readings GBK cannot write: code page 936 has no ḿ and ǹ (its cells 0xA8BC and 0xA8BF do
not convert) and no combining marks, so ḿ, m̀, ǹ, ǹg and ê̄ ế ê̌ ề are left out: the
character takes its next reading by the rule above (嗯 ńg, 欸 ǎi, 呒 wǔ, 嘸 fǔ, 呣 móu).
The generator prints every reading it left out. A reading longer than the record's 10
bytes would be left out the same way (none is: the longest, such as zhuàng, take 7).

Run:  python3 tools/hanzi/gen_pinyin_file.py           (rewrites data/mekpy0_4.dll)
      python3 tools/hanzi/gen_pinyin_file.py --check   (exit 1 if it differs)
Both need npm and node and the npm registry; the engine's tests check the committed file
without them.
"""
import bz2
import json
import os
import re
import subprocess
import sys
import tempfile
import unicodedata

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(ROOT, "tools"))
import cp936  # noqa: E402
import npmpack  # noqa: E402
from tablefile import write_or_check  # noqa: E402

OUT = os.path.join(ROOT, "data", "mekpy0_4.dll")
UNIHAN = "/usr/share/unicode/Unihan_Readings.txt.bz2"
UNICODE_DATA_VERSION = "15.0.0-1"
PINYIN_PRO = "pinyin-pro@3.29.4"
PINYIN_PRO_SHA512 = ("SPXpDT2cHEy+d26V1RXYMlVzXN42hotFAak1fzyWPi4o2dKXb61UqD4pzxDJHwk6gbv8vQ6E"
                     "fErd+hYX0Qhzug==")
RECORD_TEXT = 10

# Readings the generated file must give (the common reading of characters that have several).
EXPECTED = {
    "长": "cháng", "地": "dì", "行": "xíng", "了": "le", "的": "de", "中": "zhōng",
    "国": "guó", "好": "hǎo", "还": "hái", "重": "zhòng", "和": "hé", "乐": "lè",
    "为": "wèi", "得": "dé",
}

# Lists every reading of each character given on stdin, one per line, as JSON.
NODE_DUMP = r"""
const { pinyin } = require(process.argv[1]);
const chars = require("fs").readFileSync(0, "utf8").split("\n").filter(Boolean);
const out = {};
for (const c of chars) {
  const all = pinyin(c, { multiple: true, type: "array" });
  if (all.length && all[0] !== c) out[c] = all;
}
process.stdout.write(JSON.stringify(out));
"""


def nfc(text):
    return unicodedata.normalize("NFC", text)


def unihan_readings():
    """{character: (kMandarin readings, kHanyuPinlu readings most frequent first,
    kTGHZ2013 readings)}."""
    fields = {}
    with bz2.open(UNIHAN, "rt", encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            code, field, value = line.rstrip("\n").split("\t")
            if field in ("kMandarin", "kHanyuPinlu", "kTGHZ2013"):
                fields.setdefault(chr(int(code[2:], 16)), {})[field] = value
    out = {}
    for ch, f in fields.items():
        mandarin = [nfc(r) for r in f.get("kMandarin", "").split()]
        counted = [re.fullmatch(r"(.+)\((\d+)\)", r).groups()
                   for r in f.get("kHanyuPinlu", "").split()]
        counted.sort(key=lambda rc: -int(rc[1]))  # stable: equal counts keep their order
        # kTGHZ2013: "page.position[,page.position]:reading" items
        standard = [nfc(r.split(":")[1]) for r in f.get("kTGHZ2013", "").split()]
        out[ch] = (mandarin, [nfc(r) for r, _ in counted], standard)
    return out


def pinyin_pro_readings(chars):
    """{character: pinyin-pro's readings, most common first}, from the pinned package."""
    with tempfile.TemporaryDirectory(prefix="orvex-pinyin-pro-") as tmp:
        package = npmpack.unpack(PINYIN_PRO, PINYIN_PRO_SHA512, tmp)
        dumped = subprocess.run(
            ["node", "-e", NODE_DUMP, package], input="\n".join(chars),
            cwd=tmp, check=True, capture_output=True, text=True)
    return {ch: [nfc(r) for r in rs] for ch, rs in json.loads(dumped.stdout).items()}


def main(argv):
    found = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "unicode-data"],
                           capture_output=True, text=True).stdout
    if found != UNICODE_DATA_VERSION:
        print("note: unicode-data is %s here, the file was made from %s"
              % (found or "not installed", UNICODE_DATA_VERSION))
    cells = list(cp936.double_byte_cells())
    unihan = unihan_readings()
    pro = pinyin_pro_readings([ch for _, ch in cells])

    encoded, left_out = {}, {}

    def writable(ch, reading):
        if reading not in encoded:
            encoded[reading] = cp936.encode(reading)
        gbk = encoded[reading]
        if gbk is not None and len(gbk) <= RECORD_TEXT:
            return True
        why = "GBK cannot write it" if gbk is None else "longer than %d bytes" % RECORD_TEXT
        left_out.setdefault("%s %s" % (ch, reading), why)
        return False

    decided = {"pinyin-pro, known to Unihan": 0, "kHanyuPinlu": 0, "kMandarin": 0,
               "pinyin-pro alone": 0}
    differ = {"pinyin-pro's reading taken over kMandarin's first": 0,
              "pinyin-pro's reading taken over kHanyuPinlu's most frequent": 0,
              "pinyin-pro's reading unknown to Unihan, Unihan's taken": 0}
    chosen, records, dropped = {}, [], []
    for cell, ch in cells:
        mandarin, pinlu, standard = unihan.get(ch, ([], [], []))
        mandarin = [r for r in mandarin if writable(ch, r)]
        pinlu = [r for r in pinlu if writable(ch, r)]
        known = set(mandarin) | set(pinlu) | {r for r in standard if writable(ch, r)}
        first_pro = ([r for r in pro.get(ch, []) if writable(ch, r)] or [None])[0]
        if first_pro and first_pro in known:
            reading, source = first_pro, "pinyin-pro, known to Unihan"
            differ["pinyin-pro's reading taken over kMandarin's first"] += (
                bool(mandarin) and reading != mandarin[0])
            differ["pinyin-pro's reading taken over kHanyuPinlu's most frequent"] += (
                bool(pinlu) and reading != pinlu[0])
        elif pinlu:
            reading, source = pinlu[0], "kHanyuPinlu"
        elif mandarin:
            reading, source = mandarin[0], "kMandarin"
        elif first_pro:
            reading, source = first_pro, "pinyin-pro alone"
        else:
            if ch in unihan or ch in pro:
                dropped.append(ch)
            continue
        if first_pro and source in ("kHanyuPinlu", "kMandarin"):
            differ["pinyin-pro's reading unknown to Unihan, Unihan's taken"] += 1
        decided[source] += 1
        chosen[ch] = reading
        text = encoded[reading]
        records.append(bytes([2]) + cell + bytes([len(text)]) + text.ljust(RECORD_TEXT, b"\0"))

    wrong = {ch: chosen.get(ch) for ch, r in EXPECTED.items() if chosen.get(ch) != r}
    if wrong:
        sys.exit("unexpected readings: %s" % wrong)
    print("%d records from %d GBK double-byte characters" % (len(records), len(cells)))
    print("decided by: " + ", ".join("%s %d" % kv for kv in decided.items()))
    for what, count in differ.items():
        print("%s: %d" % (what, count))
    for what, why in left_out.items():
        print("left out (%s): %s" % (why, what))
    print("no writable reading, no record: %s" % (" ".join(dropped) or "none"))

    return write_or_check(OUT, b"".join(records), argv)

if __name__ == "__main__":
    sys.exit(main(sys.argv))
