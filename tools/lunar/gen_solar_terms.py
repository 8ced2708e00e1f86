#!/usr/bin/env python3
"""Generates calendar/solarterm_table.cpp: SolarTermDays, the day of the month on which
each of the 24 solar terms starts in China Standard Time (UTC+8), for the years
1901-2100.

Sources (each npm tarball fetched with `npm pack` into a temporary folder outside the
source tree, npm's cache in it too, checked against its pinned sha512 integrity, run
with node, and removed again):
  * lunar-javascript, exactly version 1.7.7 (MIT): the start instants of the terms in
    Beijing time, from its own astronomical computation (the solar longitude series it
    carries and its own ΔT). The table takes its dates. Its term table belongs to a
    lunar year: 31 instants, from the 大雪 before the 冬至 that precedes the lunar new
    year to the 惊蛰 after the following 冬至, so it spans parts of three Gregorian years
    and repeats terms of the neighbouring lunar years. The tables of lunar years 1900-2101 are merged here and each
    term is taken by the Gregorian year its instant falls in; a term met twice must
    carry the same instant both times, and each year must have each term exactly once.
  * astronomia, exactly version 4.3.0 (MIT): an independent check. The apparent solar
    longitude from the full VSOP87 theory (series D, equinox of date, with nutation and
    aberration, as Meeus gives it) is solved for 285°, 300°, ... in Terrestrial Time;
    the instant is taken to Universal Time with astronomia's ΔT (its deltat module:
    observed values, then its predictions and polynomials; UT1 and UTC, less than a
    second apart, are not told apart), then to UTC+8.

Term k (0 = 小寒, 1 = 大寒, 2 = 立春, ... 22 = 大雪, 23 = 冬至) starts when the apparent
solar longitude reaches 285° + 15° k (mod 360°).

The date of a term is the day on which its instant falls, the instant taken to the
second: a term starting at 23:59:56 starts on that day, as a clock reading 23:59 shows.

Checks, each stopping the generator with the cases listed:
  * The two instants of every term agree within TOLERANCE_MINUTES (10 minutes). They
    agree far closer: within 0.15 minutes in 1901-2000 and 0.45 minutes in 2001-2100,
    where the two extrapolations of ΔT diverge (by 16 to 22 seconds after 2050). The
    largest difference is printed.
  * The two give the same date, except for the terms in DATE_SPLITS. Two instants within
    the tolerance can fall on either side of midnight only when the term starts within
    minutes of it; there the astronomy alone does not settle the date, and the table
    takes lunar-javascript's date, the source it is made from. No term of 1901-2100 is
    such a case, so DATE_SPLITS is empty: the closest to midnight are 1951 冬至
    (lunar-javascript 00:00:01, astronomia 00:00:04, 23 December) and 1979 大寒 (both
    23:59:56, 20 January), each dated alike by the two. The generator prints the
    terms within NEAR_MIDNIGHT_MINUTES of midnight. A date disagreement not listed in
    DATE_SPLITS, or a listed one that no longer occurs, stops the generator, so that the
    list stays what the sources say.
  * Term k starts in month k / 2 + 1 (integer division) of every year, so that a day
    of the month is all the table needs.
  * EXPECTED: telling dates the table must give.

Run:  python3 tools/lunar/gen_solar_terms.py           (rewrites the table)
      python3 tools/lunar/gen_solar_terms.py --check   (exit 1 if its data differs)
Both need npm and node and the npm registry; without the registry --check says the
table could not be checked.
"""
import datetime
import json
import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(ROOT, "tools"))
import npmpack  # noqa: E402
from tablefile import cannot_check, write_or_check  # noqa: E402

OUT = os.path.join(ROOT, "calendar", "solarterm_table.cpp")
LUNAR_JAVASCRIPT = ("lunar-javascript@1.7.7",
                    "u/KYiwPIBo/0bT+WWfU7qO1d+aqeB90Tuy4ErXenr2Gam0QcWeezUvtiOIyXR7HbVnW2I1DKfU0NBvzMZhbVQw==")
ASTRONOMIA = ("astronomia@4.3.0",
              "kD87oezczQTJYp6SW07l9X/fyssEg4/GSFmxBN1Xk8TRN7h4tkQddRK/VJnlHkbzmK1w16s/7dUtUO4EUKLDpA==")
FIRST_YEAR, LAST_YEAR = 1901, 2100
TOLERANCE_MINUTES = 10
NEAR_MIDNIGHT_MINUTES = 1

# The terms in table order, each starting at 285° + 15° k of apparent solar longitude.
TERMS = ("小寒 大寒 立春 雨水 惊蛰 春分 清明 谷雨 立夏 小满 芒种 夏至 "
         "小暑 大暑 立秋 处暑 白露 秋分 寒露 霜降 立冬 小雪 大雪 冬至").split()
# lunar-javascript names the terms of the neighbouring lunar years by these keys.
NEIGHBOUR_KEYS = {"DA_XUE": "大雪", "DONG_ZHI": "冬至", "XIAO_HAN": "小寒", "DA_HAN": "大寒",
                  "LI_CHUN": "立春", "YU_SHUI": "雨水", "JING_ZHE": "惊蛰"}

# (year, term): the terms whose instant lies so close to midnight that the two sources,
# agreeing within the tolerance, give different dates; the table takes lunar-javascript's.
DATE_SPLITS = {}

# Dates the table must give: (year, term) -> (month, day).
EXPECTED = {
    (2025, "清明"): (4, 4), (2025, "谷雨"): (4, 20), (2008, "立春"): (2, 4),
    (2016, "冬至"): (12, 21), (2020, "小寒"): (1, 6),
}

# Lists every term instant of lunar-javascript's lunar years, and astronomia's instant of
# every term of the Gregorian years asked for, as JSON.
NODE_TERMS = r"""
const path = require("path");
const [lunarDir, astroDir, first, last] = process.argv.slice(1);
const { Lunar } = require(lunarDir);
const lib = (name) => require(path.join(astroDir, "lib", name + ".cjs"));
const { Planet } = lib("planetposition");
const solar = lib("solar"), deltat = lib("deltat"), julian = lib("julian");
const earth = new Planet(lib("data/vsop87Dearth").default);

// lunar-javascript: [name, "YYYY-MM-DD HH:MM:SS" Beijing time] of each lunar year.
const lunar = [];
for (let y = +first - 1; y <= +last + 1; y++) {
  const table = Lunar.fromYmd(y, 1, 1).getJieQiTable();
  for (const name in table) lunar.push([name, table[name].toYmdHms()]);
}

// astronomia: the Julian day (UTC+8) at which the apparent longitude reaches 285 + 15 k.
const TAU = 2 * Math.PI, RATE = TAU / 365.2422;
function termJD(year, k) {
  const target = ((285 + 15 * k) % 360) * Math.PI / 180;
  let jde = julian.CalendarGregorianToJD(year, Math.floor(k / 2) + 1, k % 2 ? 20 : 5);
  for (let i = 0; ; i++) {
    let d = (target - solar.apparentVSOP87(earth, jde).lon) % TAU;
    if (d > Math.PI) d -= TAU;
    if (d < -Math.PI) d += TAU;
    jde += d / RATE;
    if (Math.abs(d / RATE) < 1e-8) break;
    if (i > 50) throw new Error("no convergence for " + year + " term " + k);
  }
  // Terrestrial Time to Universal Time: ΔT at the decimal year of the instant.
  const y0 = julian.CalendarGregorianToJD(year, 1, 1);
  const y1 = julian.CalendarGregorianToJD(year + 1, 1, 1);
  const ut = jde - deltat.deltaT(year + (jde - y0) / (y1 - y0)) / 86400;
  return ut + 8 / 24;
}
const astro = {};
for (let y = +first; y <= +last; y++) {
  astro[y] = [];
  for (let k = 0; k < 24; k++) astro[y].push(termJD(y, k));
}
process.stdout.write(JSON.stringify({ lunar, astro }));
"""


def from_jd(jd):
    """The civil date and time of a Julian day number (any time zone)."""
    return datetime.datetime(2000, 1, 1, 12) + datetime.timedelta(days=jd - 2451545.0)


def compute(tmp):
    """(lunar-javascript's instants, astronomia's instants): each {(year, k): datetime}
    in Beijing time for the years FIRST_YEAR..LAST_YEAR."""
    lunar_dir = npmpack.unpack_into(LUNAR_JAVASCRIPT, tmp)
    astro_dir = npmpack.unpack_into(ASTRONOMIA, tmp)
    done = subprocess.run(["node", "-e", NODE_TERMS, lunar_dir, astro_dir, str(FIRST_YEAR),
                           str(LAST_YEAR)], cwd=tmp, check=True, capture_output=True, text=True)
    found = json.loads(done.stdout)

    seen, problems = {}, []
    for name, when in found["lunar"]:
        term = NEIGHBOUR_KEYS.get(name, name)
        if term not in TERMS:
            sys.exit("lunar-javascript names an unknown term %r" % name)
        instant = datetime.datetime.strptime(when, "%Y-%m-%d %H:%M:%S")
        key = (instant.year, TERMS.index(term))
        seen.setdefault(key, set()).add(instant)
    lunar = {}
    for year in range(FIRST_YEAR, LAST_YEAR + 1):
        for k, term in enumerate(TERMS):
            instants = seen.get((year, k), set())
            if len(instants) != 1:
                problems.append("%d %s: %s" % (year, term, ", ".join(
                    str(i) for i in sorted(instants)) or "none"))
            else:
                lunar[(year, k)] = instants.pop()
    if problems:
        sys.exit("lunar-javascript does not give each term once a year:\n  "
                 + "\n  ".join(problems))
    astro = {(int(year), k): from_jd(jd)
             for year, jds in found["astro"].items() for k, jd in enumerate(jds)}
    return lunar, astro


def compare(lunar, astro):
    """The table's days {(year, k): day}, after checking the two sources against each other."""
    largest, where = 0.0, None
    too_far, splits, wrong_month, near = [], {}, [], []
    for (year, k), ours in sorted(lunar.items()):
        theirs = astro[(year, k)]
        minutes = abs((ours - theirs).total_seconds()) / 60
        if minutes > largest:
            largest, where = minutes, (year, k)
        label = "%d %s: lunar-javascript %s, astronomia %s (%.1f min)" % (
            year, TERMS[k], ours.strftime("%Y-%m-%d %H:%M:%S"),
            theirs.strftime("%Y-%m-%d %H:%M:%S"), minutes)
        since_midnight = (ours - datetime.datetime.combine(ours.date(), datetime.time()))
        if min(since_midnight.total_seconds(), 86400 - since_midnight.total_seconds()) \
                <= NEAR_MIDNIGHT_MINUTES * 60:
            near.append(label)
        if minutes > TOLERANCE_MINUTES:
            too_far.append(label)
        elif ours.date() != theirs.date():
            splits[(year, TERMS[k])] = label
        if ours.month != k // 2 + 1:
            wrong_month.append(label)
    if too_far:
        sys.exit("the sources differ by more than %d minutes:\n  %s"
                 % (TOLERANCE_MINUTES, "\n  ".join(too_far)))
    if wrong_month:
        sys.exit("terms outside their month:\n  " + "\n  ".join(wrong_month))
    unlisted = [splits[key] for key in sorted(splits) if key not in DATE_SPLITS]
    gone = ["%d %s" % key for key in sorted(DATE_SPLITS) if key not in splits]
    if unlisted or gone:
        sys.exit("the sources' dates disagree on terms not in DATE_SPLITS:\n  %s\n"
                 "listed in DATE_SPLITS but agreeing now: %s"
                 % ("\n  ".join(unlisted) or "none", ", ".join(gone) or "none"))
    for label in near:
        print("within %d minute of midnight: %s" % (NEAR_MIDNIGHT_MINUTES, label))
    for key in sorted(splits):
        print("date taken from lunar-javascript: " + splits[key])
    print("%d terms compared; the largest difference %.2f minutes (%d %s); %d dates "
          "taken from lunar-javascript where astronomia's instant falls across midnight"
          % (len(lunar), largest, where[0], TERMS[where[1]], len(splits)))
    days = {key: instant.day for key, instant in lunar.items()}
    for (year, term), (month, day) in EXPECTED.items():
        instant = lunar[(year, TERMS.index(term))]
        if (instant.month, instant.day) != (month, day):
            sys.exit("%d %s starts on %s, not %d-%d" % (year, term, instant.date(), month, day))
    return days


def render(days):
    lunar_version = LUNAR_JAVASCRIPT[0].split("@")[1]
    astro_version = ASTRONOMIA[0].split("@")[1]
    out = ["// Generated by tools/lunar/gen_solar_terms.py from the npm package",
           "// lunar-javascript %s (MIT), checked against astronomia %s (MIT)."
           % (lunar_version, astro_version),
           "// do not edit by hand: rerun the generator.",
           '#include "calendar/datefacts_table.h"',
           "",
           "// The day of the month (China Standard Time, UTC+8) on which each solar term",
           "// starts, one row per year %d-%d: [year - %d][k], term k in calendar order"
           % (FIRST_YEAR, LAST_YEAR, FIRST_YEAR),
           "// (k = 0 to 11: %s;" % " ".join(TERMS[:12]),
           "// k = 12 to 23: %s)," % " ".join(TERMS[12:]),
           "// term k falling in month k / 2 + 1.",
           "const uint8_t SolarTermDays[%d][24] = {" % (LAST_YEAR - FIRST_YEAR + 1)]
    for year in range(FIRST_YEAR, LAST_YEAR + 1):
        row = ", ".join("%d" % days[(year, k)] for k in range(24))
        out.append("    {%s},  // %d" % (row, year))
    out += ["};", ""]
    return "\n".join(out), (lunar_version, astro_version)


def main(argv):
    with tempfile.TemporaryDirectory(prefix="orvex-solarterms-") as tmp:
        try:
            lunar, astro = compute(tmp)
        except subprocess.CalledProcessError as e:
            if "--check" not in argv or e.cmd[0] != "npm":
                raise
            said = [l for l in str(e.stderr or e).splitlines() if l.strip()] or ["no answer"]
            return cannot_check(OUT, "npm registry unreachable (%s)" % said[0].strip())
    text, versions = render(compare(lunar, astro))
    return write_or_check(OUT, text, argv, versions=versions)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
