#!/usr/bin/env python3
"""How long each network look-up takes when the name servers never answer.

Runs itself again in new network and mount namespaces (`unshare -n -m`, so it needs root):
only the loopback link, three name servers on 127.0.0.2-4 that take every query (UDP and
TCP port 53) and never answer, /etc/resolv.conf replaced there by a bind mount naming them
(with RESOLV_OPTIONS as its options line), and services.ini pointing every key at the name
service.example. Then, all at once, each network item through orvex-calc and the update
check through build/bench/network_bench, each timed on the wall clock. Nothing leaves the
machine; the host's own /etc/resolv.conf is not touched.

Usage: bench/silent_dns.py [BUILD_DIR] [RESOLV_OPTIONS]
       e.g. bench/silent_dns.py build "options timeout:30 attempts:3"
"""
import os
import socket
import subprocess
import sys
import tempfile
import threading
import time

# Each network item with an input as its prompt shows.
ITEMS = [(26, "http://service.example/"), (27, "北京"), (28, "13800138000"), (29, "8.8.8.8"),
         (35, "2013011"), (45, "100,人民币,美元"), (46, "example.com"), (50, "10000"), (56, "")]
WEB_KEYS = ["weather", "mobile", "ip", "currency", "domain", "presence", "lottery", "site"]
SILENT = ["127.0.0.2", "127.0.0.3", "127.0.0.4"]


def silent_name_servers():
    """Sockets that take queries and never answer; kept open while the script runs."""
    sockets = []
    for address in SILENT:
        udp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        udp.bind((address, 53))
        tcp = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        tcp.bind((address, 53))
        tcp.listen(64)
        sockets += [udp, tcp]

        def drain(s=udp):  # reads every query, so none is refused
            while True:
                s.recv(4096)
        threading.Thread(target=drain, daemon=True).start()
    return sockets


def timed(label, command, env, results):
    start = time.monotonic()
    out = subprocess.run(command, env=env, capture_output=True, text=True)
    answer = " ".join(part.strip() for part in (out.stdout, out.stderr) if part.strip())
    results.append((label, time.monotonic() - start, answer))


def inside(build, options):
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    keep = silent_name_servers()
    work = tempfile.mkdtemp(prefix="orvex-silent-dns-")
    resolv = os.path.join(work, "resolv.conf")
    with open(resolv, "w") as f:
        f.write("".join("nameserver %s\n" % s for s in SILENT) + (options + "\n" if options else ""))
    subprocess.run(["mount", "--bind", resolv, "/etc/resolv.conf"], check=True)
    os.makedirs(os.path.join(work, "orvex"))
    with open(os.path.join(work, "orvex", "services.ini"), "w") as f:
        f.write("[services]\n" + "".join("%s=http://service.example:8123\n" % k for k in WEB_KEYS)
                + "time=service.example\n")
    env = dict(os.environ, XDG_CONFIG_HOME=work)
    print("resolv.conf: " + "; ".join(open("/etc/resolv.conf").read().split("\n")).strip("; "))
    results, threads = [], []
    for item, text in ITEMS:
        command = [os.path.join(build, "orvex-calc"), str(item), text]
        threads.append(threading.Thread(target=timed, args=("item %d" % item, command, env, results)))
    bench = [os.path.join(build, "bench", "network_bench"), "--benchmark_filter=UpdateCheck"]
    threads.append(threading.Thread(target=timed, args=("update check", bench, env, results)))
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    for label, seconds, answer in sorted(results, key=lambda r: r[0]):
        if label == "update check":
            answer = "(network_bench)" if "UpdateCheck" in answer else answer
        print("%-13s %7.2f s  %s" % (label, seconds, answer))
    del keep


if __name__ == "__main__":
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    options = sys.argv[2] if len(sys.argv) > 2 else ""
    if os.environ.get("ORVEX_SILENT_DNS_INSIDE"):
        inside(build, options)
    else:
        env = dict(os.environ, ORVEX_SILENT_DNS_INSIDE="1")
        sys.exit(subprocess.run(["unshare", "-n", "-m", sys.executable, os.path.abspath(__file__),
                                 build, options], env=env).returncode)
