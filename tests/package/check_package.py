#!/usr/bin/env python3
"""Builds the Debian package from a build folder and checks it as a user's machine meets it.

    check_package.py BUILD_DIR SOURCE_DIR VERSION [PACKAGE_VERSION]

VERSION is the program's; PACKAGE_VERSION the package's, which carries the Debian release
it is built for (4.0~deb13); it defaults to VERSION.

The package is made with cpack into a temporary folder and then checked: its control
fields, that every program, data file, manual page, desktop entry, icon and metainfo is
where it belongs (and nothing from the build tree is inside), lintian's verdict, the
desktop entry and metainfo validators, the manual pages rendered without warnings, the
item list of the manual pages against orvex-calc --list, the manual page's examples run
with the packaged orvex-calc, both programs started from the unpacked package, and apt's
view of whether its dependencies can be met. A check whose tool is not installed is
skipped with a note; every other failure is listed and fails the run.
"""
import gzip
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)
    return ok


def have(tool):
    if shutil.which(tool):
        return True
    print("SKIPPED: %s is not installed (scripts/setup-deps installs it)" % tool)
    return False


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


def utf8_env(**extra):
    env = dict(os.environ, LC_ALL="C.UTF-8", LANG="C.UTF-8")
    env.pop("ORVEX_DATA_DIR", None)  # the packaged programs find their data themselves
    env.update(extra)
    return env


def build_package(build_dir, out_dir):
    r = run(["cpack", "-G", "DEB", "-B", out_dir], cwd=build_dir)
    if not check(r.returncode == 0, "cpack: " + r.stdout[-2000:] + r.stderr[-2000:]):
        sys.exit(1)
    debs = [f for f in os.listdir(out_dir) if f.endswith(".deb")]
    check(len(debs) == 1, "cpack made one .deb, not %s" % debs)
    return os.path.join(out_dir, debs[0])


def check_control(deb, version):
    """The control fields; version is the package's."""
    arch = run(["dpkg", "--print-architecture"]).stdout.strip()
    check(os.path.basename(deb) == "orvex_%s_%s.deb" % (version, arch),
          "package file name " + os.path.basename(deb))
    fields = {}
    for name in ("Package", "Version", "Architecture", "Depends", "Recommends", "Section",
                 "Maintainer", "Description"):
        fields[name] = run(["dpkg-deb", "-f", deb, name]).stdout.strip()
    check(fields["Package"] == "orvex", "Package: " + fields["Package"])
    check(fields["Version"] == version, "Version: %s, not %s" % (fields["Version"], version))
    check(fields["Architecture"] == arch, "Architecture: " + fields["Architecture"])
    depends = {d.strip().split(" ")[0] for d in fields["Depends"].split(",")}
    # From the linked libraries (shlibdeps) and from what is read at run time. Debian 13
    # renamed some libraries for 64-bit time (libcurl4t64, libqt6core6t64); either name
    # is the library.
    for package in ("libc6", "libstdc++6", "libqt6widgets6", "libqt6gui6", "libqt6core6",
                    "libcurl4", "libopencc1.1", "libopencc-data", "fonts-noto-cjk"):
        check(package in depends or package + "t64" in depends,
              "Depends lacks %s: %s" % (package, fields["Depends"]))
    check("xdg-utils" in fields["Recommends"], "Recommends: " + fields["Recommends"])
    check(fields["Description"].count("\n") >= 3, "the description has no long text")


# Where every file of the package belongs: path, file type (f file, l link, d folder),
# mode for files, link target for links.
def expected_entries(source_dir):
    entries = {
        "usr/bin/orvex": ("l", "../lib/orvex/orvex"),
        "usr/bin/orvex-calc": ("l", "../lib/orvex/orvex-calc"),
        "usr/lib/orvex/orvex": ("f", "rwxr-xr-x"),
        "usr/lib/orvex/orvex-calc": ("f", "rwxr-xr-x"),
        "usr/lib/orvex/modules/orvex-phone.so": ("f", "rw-r--r--"),
        "usr/lib/orvex/modules/orvex-net.so": ("f", "rw-r--r--"),
        "usr/lib/orvex/modules/orvex-opencc.so": ("f", "rw-r--r--"),
        "usr/lib/orvex/modules/orvex-atspi.so": ("f", "rw-r--r--"),
        "usr/share/applications/orvex.desktop": ("f", "rw-r--r--"),
        "usr/share/icons/hicolor/scalable/apps/orvex.svg": ("f", "rw-r--r--"),
        "usr/share/metainfo/com.vorlan.orvex.metainfo.xml": ("f", "rw-r--r--"),
        "usr/share/man/man1/orvex.1.gz": ("f", "rw-r--r--"),
        "usr/share/man/man1/orvex-calc.1.gz": ("f", "rw-r--r--"),
        "usr/share/doc/orvex/copyright": ("f", "rw-r--r--"),
        "usr/share/doc/orvex/changelog.gz": ("f", "rw-r--r--"),
    }
    for name in os.listdir(os.path.join(source_dir, "data")):
        entries["usr/lib/orvex/" + name] = ("f", "rw-r--r--")
    return entries


def check_contents(deb, source_dir):
    listing = run(["dpkg-deb", "-c", deb]).stdout.splitlines()
    seen = {}
    for line in listing:
        parts = line.split(None, 5)
        mode, owner, path = parts[0], parts[1], parts[5]
        check(owner == "root/root", "owner of %s: %s" % (path, owner))
        target = None
        if " -> " in path:
            path, target = path.split(" -> ", 1)
        path = path[2:].rstrip("/")  # "./usr/bin/" -> "usr/bin"
        if mode[0] == "d":
            continue
        seen[path] = ("l", target) if mode[0] == "l" else ("f", mode[1:])
    expected = expected_entries(source_dir)
    for path, want in sorted(expected.items()):
        check(seen.get(path) == want, "%s: %s in the package, expected %s"
              % (path, seen.get(path), want))
    for path in sorted(set(seen) - set(expected)):
        check(False, "unexpected file in the package: " + path)


def check_no_build_paths(root, build_dir, source_dir):
    needles = {os.path.realpath(build_dir).encode(), os.path.realpath(source_dir).encode()}
    for folder, _, files in os.walk(root):
        for name in files:
            path = os.path.join(folder, name)
            if os.path.islink(path):
                continue
            with open(path, "rb") as f:
                data = f.read()
            if path.endswith(".gz"):
                data = gzip.decompress(data)
            for needle in needles:
                check(needle not in data, "%s holds the build path %s"
                      % (os.path.relpath(path, root), needle.decode()))


def check_lintian(deb):
    if not have("lintian"):
        return
    r = run(["lintian", "--fail-on", "error", "--display-info", deb])
    print(r.stdout, end="")
    errors = [l for l in r.stdout.splitlines() if l.startswith("E:")]
    check(r.returncode == 0 and not errors, "lintian reports errors:\n" + "\n".join(errors))


def check_validators(root):
    desktop = os.path.join(root, "usr/share/applications/orvex.desktop")
    if have("desktop-file-validate"):
        r = run(["desktop-file-validate", desktop])
        check(r.returncode == 0 and not r.stdout.strip(), "desktop-file-validate: " + r.stdout)
    with open(desktop, encoding="utf-8") as f:
        entry = dict(l.rstrip("\n").split("=", 1) for l in f if "=" in l)
    # The menu starts the program the package puts on the path, with its icon.
    for key in ("Name", "Name[zh_CN]", "Comment", "Comment[zh_CN]"):
        check(entry.get(key), "the desktop entry has no " + key)
    check(entry.get("Exec", "").split()[0] == "orvex", "Exec=" + entry.get("Exec", ""))
    check(os.path.islink(os.path.join(root, "usr/bin", entry.get("TryExec", "-"))),
          "TryExec names no program in usr/bin")
    check(os.path.exists(os.path.join(root, "usr/share/icons/hicolor/scalable/apps",
                                      entry.get("Icon", "-") + ".svg")), "no icon for Icon=")
    for category in ("Utility", "Calculator"):
        check(category in entry.get("Categories", "").split(";"), "Categories lacks " + category)

    metainfo = os.path.join(root, "usr/share/metainfo/com.vorlan.orvex.metainfo.xml")
    if have("appstreamcli"):
        r = run(["appstreamcli", "validate", "--no-net", metainfo])
        check(r.returncode == 0, "appstreamcli validate:\n" + r.stdout + r.stderr)


def metainfo_facts(root):
    tree = ET.parse(os.path.join(root, "usr/share/metainfo/com.vorlan.orvex.metainfo.xml"))
    lang = "{http://www.w3.org/XML/1998/namespace}lang"
    c = tree.getroot()
    return {
        "release": c.find("releases/release").get("version"),
        "summaries": {s.get(lang, "en") for s in c.findall("summary")},
        "paragraphs": {p.get(lang, "en") for p in c.findall("description/p")},
        "launchable": c.find("launchable").text,
        "screenshot": c.find("screenshots/screenshot/image"),
    }


def render(page, width):
    env = utf8_env(MANWIDTH=str(width))
    return run(["man", "--warnings", "-l", page], env=env)


def check_man_pages(root):
    if not have("man"):
        return {}
    texts = {}
    for name in ("orvex", "orvex-calc"):
        page = os.path.join(root, "usr/share/man/man1/%s.1.gz" % name)
        r = render(page, 80)
        check(r.returncode == 0 and r.stderr == "",
              "man -l %s.1 warns:\n%s" % (name, r.stderr))
        texts[name] = render(page, 400).stdout
    return texts


# The items as the manual page shows them: index, label and the prompt's lines, as
# orvex-calc --list prints them (a line break inside a prompt as "\r").
def items_of_page(text):
    section = text.split("\nITEMS\n", 1)[1].split("\nCONFIGURATION\n", 1)[0]
    items, current = [], None
    for line in section.splitlines():
        m = re.match(r"^ {7}(-?\d+) +(\S.*)$", line)
        if m:
            current = [m.group(1), m.group(2), []]
            items.append(current)
        elif current and line.strip():
            current[2].append(line.strip())
    return ["%s\t%s\t%s" % (i, label, "\\r".join(prompt)) for i, label, prompt in items]


def check_items_and_examples(root, texts):
    calc = os.path.join(root, "usr/bin/orvex-calc")
    listing = run([calc, "--list"], env=utf8_env()).stdout.splitlines()
    check(len(listing) == 57, "orvex-calc --list printed %d items" % len(listing))
    for name, text in texts.items():
        shown = items_of_page(text)
        check(shown == listing, "the items of %s.1 differ from orvex-calc --list:\n%s" % (
            name, "\n".join(l for l in set(shown) ^ set(listing))))

    # Every example of orvex-calc.1 that runs one item: the lines after it are its
    # output, a "提示: " line a message on standard error.
    if "orvex-calc" not in texts:
        return
    examples = texts["orvex-calc"].split("\nEXAMPLES\n", 1)[1].split("\nSEE ALSO\n", 1)[0]
    blocks = re.split(r"^ +\$ ", examples, flags=re.M)[1:]
    ran = 0
    for block in blocks:
        lines = [l.strip() for l in block.strip().splitlines()]
        command, expected = lines[0], lines[1:]
        if "|" in command:
            continue
        args = shlex.split(command)
        r = run([calc] + args[1:], env=utf8_env(TZ="Asia/Shanghai"))
        out = [l for l in expected if not l.startswith("提示: ")]
        err = [l for l in expected if l.startswith("提示: ")]
        check(r.stdout.splitlines() == out and r.stderr.splitlines() == err,
              "example %s: printed %r %r" % (command, r.stdout, r.stderr))
        ran += 1
    check(ran >= 5, "only %d examples ran" % ran)


def check_programs(root, version):
    calc = os.path.join(root, "usr/bin/orvex-calc")
    window = os.path.join(root, "usr/bin/orvex")
    env = utf8_env(TZ="Asia/Shanghai")
    # Items that read the packaged data files, OpenCC's dictionaries and libphonenumber's
    # metadata and geocoding data.
    for args, want in (
        (["--version"], "orvex-calc " + version),
        (["36", "510104199003070015"], "四川省成都市锦江区"),
        (["38", "国"], "国字五笔为：lgyi"),
        (["39", "中国"], "zhōng guó"),
        (["18", "头发"], "頭髮"),
        (["12", "啊"], "10"),
        (["28", "13800138000"], "北京市 中国移动"),
        (["29", "202.96.128.86"], "中国 广东省 广州市 电信"),
    ):
        r = run([calc] + args, env=env)
        check(r.returncode == 0 and r.stdout == want + "\n",
              "packaged orvex-calc %s printed %r %r" % (" ".join(args), r.stdout, r.stderr))
    # The window answers these without a display.
    bare = {k: v for k, v in env.items()
            if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    r = run([window, "--version"], env=bare)
    check(r.returncode == 0 and r.stdout == "orvex %s\n" % version,
          "orvex --version printed %r" % r.stdout)
    r = run([window, "--help"], env=bare)
    check(r.returncode == 0 and r.stdout.startswith("Usage: orvex"), "orvex --help: %r" % r.stdout)
    r = run([window], env=bare)
    check(r.returncode == 1 and "no display" in r.stderr, "orvex without a display: %r" % r.stderr)
    r = run([window], env=dict(env, QT_QPA_PLATFORM="offscreen", ORVEX_STARTUP_REPORT="1",
                               XDG_CONFIG_HOME=tempfile.mkdtemp()), timeout=60)
    check(r.returncode == 0 and r.stdout.startswith("shown after"),
          "the packaged window did not start: %r %r" % (r.stdout, r.stderr))


def check_versions(root, build_dir, version, package_version, texts):
    facts = metainfo_facts(root)
    check(facts["release"] == version, "metainfo release " + facts["release"])
    for key in ("summaries", "paragraphs"):
        check({"en", "zh-CN"} <= facts[key], "metainfo %s in %s" % (key, facts[key]))
    check(facts["launchable"] == "orvex.desktop", "metainfo launchable " + facts["launchable"])
    shot = facts["screenshot"]
    check(shot is not None and shot.text.endswith("/orvex-%s.png" % version),
          "metainfo screenshot " + (shot.text if shot is not None else "missing"))
    # The picture the screenshot target takes must have the size the metainfo gives.
    picture = os.path.join(build_dir, "screenshots", "orvex-%s.png" % version)
    if shot is not None and os.path.exists(picture):
        with open(picture, "rb") as f:
            header = f.read(24)
        size = (str(int.from_bytes(header[16:20], "big")), str(int.from_bytes(header[20:24], "big")))
        check(size == (shot.get("width"), shot.get("height")),
              "the screenshot is %sx%s, the metainfo says %sx%s"
              % (size + (shot.get("width"), shot.get("height"))))
    for name, text in texts.items():
        check(("orvex " + version) in text.splitlines()[-1], "%s.1 footer: %s"
              % (name, text.splitlines()[-1]))
    with gzip.open(os.path.join(root, "usr/share/doc/orvex/changelog.gz"), "rt") as f:
        first = f.readline()
    check(first.startswith("orvex (%s) " % package_version), "changelog: " + first)


def check_apt(deb):
    if not have("apt-get"):
        return
    probe = run(["apt-cache", "policy", "libc6"]).stdout
    if "Candidate: (none)" in probe or "Candidate:" not in probe:
        print("SKIPPED: apt has no package lists (apt-get update), so it cannot judge Depends")
        return
    r = run(["apt-get", "install", "--simulate", "--no-install-recommends", deb])
    check(r.returncode == 0 and "Inst orvex" in r.stdout,
          "apt-get cannot install the package:\n" + r.stdout[-3000:] + r.stderr[-3000:])


def main():
    build_dir, source_dir, version = sys.argv[1:4]
    package_version = sys.argv[4] if len(sys.argv) > 4 else version
    work = tempfile.mkdtemp(prefix="orvex-package-")
    try:
        deb = build_package(build_dir, work)
        root = os.path.join(work, "root")
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
        check_control(deb, package_version)
        check_contents(deb, source_dir)
        check_no_build_paths(root, build_dir, source_dir)
        check_validators(root)
        texts = check_man_pages(root)
        check_items_and_examples(root, texts)
        check_versions(root, build_dir, version, package_version, texts)
        check_programs(root, version)
        check_lintian(deb)
        check_apt(deb)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if failures:
        print("%d package checks failed" % len(failures))
        return 1
    print("package checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
