#!/usr/bin/env python3
"""Peak resident memory of the web items on the largest page a fetch keeps.

A server on 127.0.0.1 (in this script) answers every request with 8 MiB of line breaks;
services.ini in a temporary configuration folder points every web key at it. Each item
then runs once through orvex-calc under GNU time (/usr/bin/time, Debian's `time`), and its
peak resident size is printed beside that of item 0 on "1+1", the program's own footprint.

Usage: bench/page_memory.py [PATH-TO-orvex-calc]   (default build/orvex-calc)
"""
import http.server
import os
import subprocess
import sys
import tempfile
import threading

PAGE = b"\n" * (8 << 20)
ITEMS = [(0, "1+1"), (27, "北京"), (28, "13800138000"), (29, "1.2.3.4"), (35, "2013011"),
         (45, "100,美元,人民币"), (46, "example.com"), (50, "12345")]
KEYS = ["weather", "mobile", "ip", "currency", "domain", "presence", "lottery"]


class Pages(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(PAGE)))
        self.end_headers()
        self.wfile.write(PAGE)

    def log_message(self, *args):
        pass


def peak_kib(command, env):
    # GNU time starts the program from its own small process: a child of this interpreter
    # would count the interpreter's memory in its peak.
    out = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, env=env,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    return int(out.stderr.strip().splitlines()[-1])


def main():
    calc = sys.argv[1] if len(sys.argv) > 1 else "build/orvex-calc"
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Pages)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    with tempfile.TemporaryDirectory() as home:
        os.makedirs(os.path.join(home, "orvex"))
        with open(os.path.join(home, "orvex", "services.ini"), "w") as f:
            base = "http://127.0.0.1:%d" % server.server_address[1]
            f.write("[services]\n" + "".join("%s=%s\n" % (k, base) for k in KEYS))
        env = dict(os.environ, XDG_CONFIG_HOME=home)
        print("8 MiB page of line breaks; peak resident size of orvex-calc")
        for item, text in ITEMS:
            print("item %2d: %7.1f MiB" % (item, peak_kib([calc, str(item), text], env) / 1024))
    server.shutdown()


if __name__ == "__main__":
    main()
