#!/usr/bin/env python3
"""Generates calendar/lunar_tables.cpp: LunarMonthTable and SolarLunarTable.

Sources, both from Debian:
- ICU's Chinese calendar (libicu-dev), which computes new moons and solar terms
  astronomically. The small program tools/lunar/icu_months.cpp lists the first day of
  every lunar month from 1899 to 2101; this script builds and runs it.
- The conversion utility of the package "lunar" (2.2-9), whose own table holds the
  calendar as published for 1900-2049.

The two disagree on 17 month starts of 1901-2049: 1917 (months 3 and leap 3), 1922 (6 and
leap 6), 1933 (6), 1954 (1 and 11), 1955 (2), 1956 (11), 1978 (8), 1987 (7 and leap 7),
1999-01 (12th month of 1998), 2012 (7), 2018 (10), 2027 (1), 2030 (1). In 1917, 1922 and
1987 the two place the leap month differently (ICU after months 3, 6 and 7, the published
calendar after months 2, 5 and 6); the others are month starts one day apart, a new moon
close to midnight (ICU starts lunar 2027 on 7 February, the published calendar on
6 February). For dates
up to 2049-12-31 the table therefore takes the published calendar ("lunar"), and ICU only
for 1899 and 2050-2101, which "lunar" does not cover; "--crosscheck" lists the
disagreements again. Two month starts are fixed by the calendar this program has always
used and are pinned below (PINNED): the 4th month of 1906 begins on 23 April (both sources
say 24 April) and the 2nd and 3rd months of lunar 2051 on 12 March and 10 April (ICU says
13 March and 11 April).
Generating needs g++, libicu-dev and the "lunar" package.

Run:  python3 tools/lunar/gen_lunar_tables.py            (rewrites the table file)
      python3 tools/lunar/gen_lunar_tables.py --check    (exit 1 if its data differs)
      add --crosscheck to run the comparison with "lunar".
"""
import datetime
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(ROOT, "tools"))
from tablefile import debian_version, write_or_check  # noqa: E402
OUT = os.path.join(ROOT, "calendar", "lunar_tables.cpp")


def icu_months():
    """[(date, lunar year, month, leap)] in order, from the ICU program."""
    with tempfile.TemporaryDirectory() as tmp:
        exe = os.path.join(tmp, "icu_months")
        flags = subprocess.run(["pkg-config", "--cflags", "--libs", "icu-i18n", "icu-uc"],
                               check=True, capture_output=True, text=True).stdout.split()
        subprocess.run(["g++", "-O2", "-o", exe,
                        os.path.join(ROOT, "tools", "lunar", "icu_months.cpp")] + flags,
                       check=True)
        out = subprocess.run([exe], check=True, capture_output=True, text=True).stdout
    months = []
    for line in out.split("\n"):
        if not line:
            continue
        d, y, m, leap = line.split()
        months.append((datetime.date.fromisoformat(d), int(y), int(m), leap == "1"))
    return months


# The span of the "lunar" utility: lunar 1900, month 1, day 1 to 2049-12-31.
LUNAR_FIRST = datetime.date(1900, 1, 31)
LUNAR_LAST = datetime.date(2049, 12, 31)


def published_months(icu):
    """Month starts of the "lunar" utility for 1900-2049, ICU's outside that span."""
    starts = {}
    for d, _, _, _ in icu:
        if not (LUNAR_FIRST <= d <= LUNAR_LAST):
            continue
        for delta in (-1, 0, 1):
            day = d + datetime.timedelta(delta)
            if not (LUNAR_FIRST <= day <= LUNAR_LAST):
                continue
            m, leap, n = lunar_tool(day)
            if n == 1:
                # The lunar year: ICU's year of the nearby month, corrected across new year.
                starts[day] = (m, leap)
    merged = [mo for mo in icu if mo[0] < LUNAR_FIRST]
    for day in sorted(starts):
        m, leap = starts[day]
        prev_y, prev_m = merged[-1][1], merged[-1][2]
        y = prev_y + 1 if (m == 1 and not leap and prev_m == 12) else prev_y
        merged.append((day, y, m, leap))
    merged += [mo for mo in icu if mo[0] > LUNAR_LAST]
    return merged


# Month starts fixed by the calendar this program has always used: (source date, date).
PINNED = {datetime.date(1906, 4, 24): datetime.date(1906, 4, 23),
          datetime.date(2051, 3, 13): datetime.date(2051, 3, 12),
          datetime.date(2051, 4, 11): datetime.date(2051, 4, 10)}


def pin(months):
    return [(PINNED.get(d, d), y, m, leap) for d, y, m, leap in months]


def with_lengths(months):
    """Adds each month's length; the last month, whose end is unknown, is dropped."""
    return [(d, y, m, leap, (months[i + 1][0] - d).days)
            for i, (d, y, m, leap) in enumerate(months[:-1])]


def lunar_month_table(months):
    regular = {}   # (year, month) -> length
    leap = {}      # year -> (month, length)
    for d, y, m, is_leap, n in months:
        if is_leap:
            assert y not in leap
            leap[y] = (m, n)
        else:
            regular[(y, m)] = n
    words = []
    for y in range(1900, 2101):
        w = 0
        for m in range(1, 13):
            if regular[(y, m)] == 30:
                w |= 0x8000 >> (m - 1)
        if y in leap:
            assert not (y - 1 in leap and leap[y - 1][1] == 30), y
            w |= leap[y][0]
        elif y - 1 in leap and leap[y - 1][1] == 30:
            w |= 15
        words.append(w)
    return words


def solar_lunar_table(months):
    records = []
    for y in range(1901, 2051):
        jan1 = datetime.date(y, 1, 1)
        first = max(i for i, mo in enumerate(months) if mo[0] <= jan1)
        d, _, m, is_leap, _ = months[first]
        assert m in (11, 12), (y, m)
        byte0 = (0x80 if m == 12 else 0) | ((jan1 - d).days + 1)
        mask = 0
        for i in range(16):
            if months[first + i][4] == 30:
                mask |= 0x8000 >> i
        # The leap month that begins within the solar year, if any.
        leaps = [mo[2] for mo in months[first + 1:]
                 if mo[3] and mo[0].year == y]
        assert len(leaps) <= 1
        lp = leaps[0] if leaps else 0
        assert lp == 0 or lp != m or is_leap, y
        records.append((byte0, mask >> 8, mask & 0xFF, lp))
    return records


def render(words, records, versions):
    out = ["// Generated by tools/lunar/gen_lunar_tables.py from ICU's Chinese calendar and the",
           "// \"lunar\" utility (Debian packages libicu-dev %s, lunar %s);" % versions,
           "// do not edit by hand: rerun the generator.",
           '#include "calendar/mekdate.h"',
           "",
           "// One word per lunar year 1900-2100: bits 15..4 the lengths of months 1..12",
           "// (set = 30 days), bits 3..0 the month the leap month follows (15: none, and",
           "// the leap month of the year before has 30 days).",
           "const uint16_t LunarMonthTable[201] = {"]
    for i in range(0, len(words), 10):
        row = ", ".join("0x%04X" % w for w in words[i:i + 10])
        out.append("    %s,  // %d" % (row, 1900 + i))
    out += ["};",
            "",
            "// One record per solar year 1901-2050: the month in progress on 1 January (bit 7",
            "// of byte 0: 12th, else 11th) and its day then (bits 6..0); the lengths of the",
            "// sixteen months from that one on (bytes 1-2, bit 15 - i set = 30 days); the",
            "// month followed by a leap month within the year (byte 3, 0 = none).",
            "const uint8_t SolarLunarTable[150][4] = {"]
    for i, r in enumerate(records):
        out.append("    {0x%02X, 0x%02X, 0x%02X, 0x%02X},  // %d" % (r + (1901 + i,)))
    out += ["};", ""]
    return "\n".join(out)


def lunar_tool(date):
    """(month, leap, day) from the "lunar" utility."""
    out = subprocess.run(["lunar", str(date.year), str(date.month), str(date.day)],
                         capture_output=True, text=True, errors="replace").stdout
    for line in out.split("\n"):
        if line.startswith("Lunar :"):
            fields = line.split()[2].split(".")
            month = fields[1]
            return int(month.replace("Leap", "")), "Leap" in month, int(fields[2])
    raise RuntimeError("lunar gave no answer for %s" % date)


def crosscheck(months):
    if shutil.which("lunar") is None:
        print("crosscheck: the lunar utility is not installed; skipped", file=sys.stderr)
        return []
    bad = []
    for d, y, m, is_leap, _ in months:
        if not (1901 <= d.year <= 2049) or d == datetime.date(1901, 1, 1):
            continue
        if lunar_tool(d) != (m, is_leap, 1) or lunar_tool(d - datetime.timedelta(1))[2] == 1:
            bad.append((d, y, m, is_leap))
    for b in bad:
        print("crosscheck: the sources disagree on the month starting %s (lunar year %d, "
              "month %d%s)" % (b[0], b[1], b[2], " leap" if b[3] else ""), file=sys.stderr)
    print("crosscheck: %d disagreements" % len(bad), file=sys.stderr)
    return bad


def main():
    icu = icu_months()
    if "--crosscheck" in sys.argv:
        crosscheck(with_lengths(icu))
    months = with_lengths(pin(published_months(icu)))
    versions = (debian_version("libicu-dev"), debian_version("lunar"))
    text = render(lunar_month_table(months), solar_lunar_table(months), versions)
    return write_or_check(OUT, text, versions=versions)


if __name__ == "__main__":
    sys.exit(main())
