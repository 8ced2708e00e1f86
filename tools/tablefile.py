"""Shared by the table generators: write a generated file, or with --check only
compare it with what is committed."""
import sys


def write_or_check(path, text, argv=None):
    """Rewrites path with text (a str, written as UTF-8, or bytes, written as they are);
    with "--check" in argv returns 1 when the file's bytes differ."""
    argv = sys.argv if argv is None else argv
    data = text if isinstance(text, bytes) else text.encode("utf-8")
    if "--check" in argv:
        with open(path, "rb") as f:
            if f.read() != data:
                print("%s differs from the generator's output" % path, file=sys.stderr)
                return 1
        return 0
    with open(path, "wb") as f:
        f.write(data)
    return 0
