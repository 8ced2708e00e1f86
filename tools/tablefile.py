"""Shared by the table generators: write a generated file, or with --check only
compare it with what is committed.

With --check, each file is found in one of these states:
  same       the committed file is the generator's output, byte for byte;
  version    it differs only in the lines that record the sources' versions (a newer
             package of the same data, as Debian's next release or update brings);
  data       it differs in anything else;
  cannot     the generator could not make it here (its source is out of reach, such as
             the npm registry); that is no difference.
A generator names the versions it writes (write_or_check's versions): a line of its
output that holds one of them records a version. A check only reports a file whose data
differs as a difference (exit status 1); the other states it says and lets pass. When
the environment names a report file (ORVEX_TABLE_REPORT, as scripts/check-data sets it),
each state is also appended there as one line: state, TAB, file, TAB, detail.
"""
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REPORT = "ORVEX_TABLE_REPORT"


def debian_version(package):
    """The installed version of a Debian package (the source a version line records), or
    "unknown"."""
    try:
        return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                              capture_output=True, text=True, check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return "unknown"


def _report(state, path, detail=""):
    name = os.path.relpath(os.path.abspath(path), ROOT) if path else "-"
    report = os.environ.get(REPORT)
    if report:
        with open(report, "a", encoding="utf-8") as f:
            f.write("%s\t%s\t%s\n" % (state, name, " ".join(detail.split())))


def _version_lines_only(committed, made, versions):
    """The (committed, made) line pairs that differ, when every one of them is a line of
    the output that records one of versions; None when anything else differs."""
    if not versions:
        return None
    try:
        old, new = committed.decode("utf-8").split("\n"), made.decode("utf-8").split("\n")
    except UnicodeDecodeError:
        return None
    if len(old) != len(new):
        return None
    pairs = [(a, b) for a, b in zip(old, new) if a != b]
    if not all(any(v and v in b for v in versions) for _, b in pairs):
        return None
    return pairs


def _first_difference(committed, made):
    """Where two contents part: the line of text, else the byte."""
    at = next((i for i, (a, b) in enumerate(zip(committed, made)) if a != b),
              min(len(committed), len(made)))
    if b"\0" in committed or b"\0" in made:
        return "%d and %d bytes, first difference at byte %d" % (len(committed), len(made), at)
    return "first difference in line %d" % (committed[:at].count(b"\n") + 1)


def write_or_check(path, text, argv=None, versions=()):
    """Rewrites path with text (a str, written as UTF-8, or bytes, written as they are);
    with "--check" in argv compares instead, says how the file stands and returns 1 when
    its data differs (0 when it is the same or only the recorded versions differ).
    versions: the source versions that text records (package versions, data releases)."""
    argv = sys.argv if argv is None else argv
    data = text if isinstance(text, bytes) else text.encode("utf-8")
    if "--check" not in argv:
        with open(path, "wb") as f:
            f.write(data)
        return 0
    try:
        with open(path, "rb") as f:
            committed = f.read()
    except FileNotFoundError:
        committed = None
    if committed == data:
        _report("same", path)
        return 0
    pairs = None if committed is None else _version_lines_only(committed, data, versions)
    if pairs is not None:
        detail = "; ".join("committed %r, here %r" % (a.strip(), b.strip()) for a, b in pairs)
        print("%s: only the recorded source version differs (%s)" % (path, detail))
        _report("version", path, detail)
        return 0
    why = "is missing" if committed is None else \
        "differs from the generator's output (%s)" % _first_difference(committed, data)
    print("%s %s" % (path, why), file=sys.stderr)
    _report("data", path, why)
    return 1


def cannot_check(path, why):
    """Says that path could not be compared here (why: what was out of reach) and
    records it; returns 0, since that is no difference."""
    print("%s: cannot check: %s" % (path or "-", why), file=sys.stderr)
    _report("cannot", path, why)
    return 0
