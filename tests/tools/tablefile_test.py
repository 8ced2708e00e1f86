#!/usr/bin/env python3
"""How a generator's --check tells a table's states apart (tools/tablefile.py): the same
bytes, only a recorded source version changed, or the data changed; and what it reports
for scripts/check-data."""
import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import tablefile  # noqa: E402

COMMITTED = "// made from unicode-data 15.0.0-1\nconst int T[] = {1, 2, 3};\n"


class WriteOrCheck(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.table = os.path.join(self.folder.name, "table.cpp")
        self.report = os.path.join(self.folder.name, "report")
        with open(self.table, "w", encoding="utf-8") as f:
            f.write(COMMITTED)
        os.environ[tablefile.REPORT] = self.report

    def tearDown(self):
        del os.environ[tablefile.REPORT]
        self.folder.cleanup()

    def reported(self):
        with open(self.report, encoding="utf-8") as f:
            return [line.split("\t")[0] for line in f]

    def test_states(self):
        cases = [
            # made, versions the generator names, exit status, state
            (COMMITTED, ("15.0.0-1",), 0, "same"),
            (COMMITTED.replace("15.0.0-1", "15.1.0-1"), ("15.1.0-1",), 0, "version"),
            # A version line that changed but is not named as one is data.
            (COMMITTED.replace("15.0.0-1", "15.1.0-1"), (), 1, "data"),
            (COMMITTED.replace("15.0.0-1", "15.1.0-1").replace("3}", "4}"), ("15.1.0-1",), 1,
             "data"),
            (COMMITTED + "\n", ("15.0.0-1",), 1, "data"),
            (COMMITTED.encode("utf-8") + b"\0", ("15.0.0-1",), 1, "data"),
        ]
        for made, versions, status, state in cases:
            with self.subTest(made=made, versions=versions):
                open(self.report, "w").close()
                got = tablefile.write_or_check(self.table, made, ["gen", "--check"], versions)
                self.assertEqual((got, self.reported()), (status, [state]))
        with open(self.table, encoding="utf-8") as f:
            self.assertEqual(f.read(), COMMITTED)  # --check never writes

    def test_missing_file_and_writing(self):
        os.remove(self.table)
        self.assertEqual(tablefile.write_or_check(self.table, COMMITTED, ["gen", "--check"]), 1)
        self.assertEqual(tablefile.write_or_check(self.table, COMMITTED, ["gen"]), 0)
        self.assertEqual(tablefile.write_or_check(self.table, COMMITTED, ["gen", "--check"]), 0)
        self.assertEqual(tablefile.cannot_check(self.table, "no registry"), 0)
        self.assertEqual(self.reported(), ["data", "same", "cannot"])


if __name__ == "__main__":
    unittest.main()
