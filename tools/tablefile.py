"""Shared by the table generators: write a generated source file, or with --check only
compare it with what is committed."""
import sys


def write_or_check(path, text, argv=None):
    """Rewrites path with text; with "--check" in argv returns 1 when they differ."""
    argv = sys.argv if argv is None else argv
    if "--check" in argv:
        with open(path, encoding="utf-8") as f:
            if f.read() != text:
                print("%s differs from the generator's output" % path, file=sys.stderr)
                return 1
        return 0
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return 0
