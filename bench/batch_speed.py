#!/usr/bin/env python3
"""orvex-calc --batch against bc -l, side by side in one run.

1. 200,000 lines of item 0, the expressions (i%97+i%13)*7/19 for i = 0..199999 written
   out, through `orvex-calc --batch`, and the same 200,000 expressions through `bc -l`.
2. A mix of every offline item (one line each in turn, the example of its prompt), 200,000
   lines through `orvex-calc --batch`.

Each figure is the best wall time of three runs, output discarded.
Usage: bench/batch_speed.py [PATH-TO-orvex-calc]   (default build/orvex-calc)
"""
import os
import subprocess
import sys
import tempfile
import time

LINES = 200_000
RUNS = 3

# The offline items and an input for each, as their prompts show. Left out: the items
# that ask the network (17, 26-29, 35, 45, 46, 50, 56), item 16 (it counts the processor's
# clock for half a second by design) and item 40 (it walks a folder on disk).
MIX = {
    0: "(2+3)*7/19", 1: "2009-1-1", 2: "235323.22", 3: "235323.22", 4: "110101199003071234",
    5: "洛杉矶", 6: "氢氧化钠", 7: "2009-1-1 2008-5-10", 8: "2009-1-1 -5", 9: "2009-1-1",
    10: "1990-1-1", 11: "2009-1-1", 12: "丫", 13: "乂", 14: "c", 15: "", 18: "头发", 19: "頭髮",
    20: "2010-8-1 20:40#2010-7-20 10:30", 21: "/", 22: "/", 23: "", 24: "四川成都",
    25: "四川成都 湖北武汉", 30: "2000-3-1", 31: "172", 32: "牛肉*500", 33: "72", 34: "张三+李四",
    36: "110101199003071234", 37: "110101199003071234", 38: "国家", 39: "中华人民共和国",
    41: "100,米,厘米", 42: "100,平方米,平方厘米", 43: "100,立方米,立方厘米", 44: "100,克,千克",
    47: "ａｂｃ", 48: "张三，李四", 49: "张三，李四", 51: "", 52: "%E4%B8%AD", 53: "中文",
    54: "%D6%D0", 55: "中文",
}


def best_time(cmd, path):
    best = None
    for _ in range(RUNS):
        with open(path, "rb") as src:
            start = time.perf_counter()
            subprocess.run(cmd, stdin=src, stdout=subprocess.DEVNULL, check=True)
            elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def write(folder, name, lines):
    path = os.path.join(folder, name)
    with open(path, "w", encoding="utf-8") as f:
        f.writelines(line + "\n" for line in lines)
    return path


def main():
    calc = sys.argv[1] if len(sys.argv) > 1 else "build/orvex-calc"
    exprs = [f"({i % 97}+{i % 13})*7/19" for i in range(LINES)]
    items = sorted(MIX)
    with tempfile.TemporaryDirectory() as folder:
        calc_in = write(folder, "item0.txt", ["0\t" + e for e in exprs])
        bc_in = write(folder, "item0.bc", exprs)
        mix_in = write(folder, "mix.txt",
                       [f"{items[i % len(items)]}\t{MIX[items[i % len(items)]]}" for i in range(LINES)])
        t_calc = best_time([calc, "--batch"], calc_in)
        t_bc = best_time(["bc", "-l"], bc_in)
        t_mix = best_time([calc, "--batch"], mix_in)
    print(f"item 0, {LINES} lines: orvex-calc --batch {t_calc:.3f} s ({LINES / t_calc:,.0f} lines/s), "
          f"bc -l {t_bc:.3f} s ({LINES / t_bc:,.0f} lines/s); orvex-calc takes "
          f"{t_calc / t_bc:.2f} of bc's time")
    print(f"mix of {len(items)} offline items, {LINES} lines: {t_mix:.3f} s "
          f"({LINES / t_mix:,.0f} lines/s; goal 500,000)")


if __name__ == "__main__":
    main()
