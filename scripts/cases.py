#!/usr/bin/env python3
"""The end-to-end cases of tests/data/e2e, run by hand.

  cases.py diff [CASE...]     what each case leaves that its expected files do not say
  cases.py update CASE...     take what the converter leaves as the case's expected files

An update is a decision: read the diff first, and say why in the commit.
`diff --pages-only-breaks` also checks, for every page that changed, that
only its line breaks moved (the text with every CR LF taken out is the same).
"""
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CASES = os.path.join(ROOT, "tests", "data", "e2e")
CONVERT = os.environ.get("ZAVIO_CONVERT", os.path.join(ROOT, "build", "src", "cli", "zavio-convert"))


def arguments(case):
    with open(os.path.join(CASES, case, "args"), encoding="utf-8") as f:
        lines = f.read().splitlines()
    args = lines[0].split() if lines else []
    return args + [line for line in lines[1:] if line]


def files_below(folder):
    found = {}
    for top, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(top, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, folder)] = f.read()
    return found


def run(case):
    work = tempfile.mkdtemp(prefix="zavio-case-")
    root = os.path.join(work, "root")
    shutil.copytree(os.path.join(CASES, case, "input"), root, symlinks=True)
    done = subprocess.run([CONVERT] + arguments(case), cwd=root, capture_output=True)
    out = done.stdout.decode("utf-8").replace(root, "{ROOT}")
    err = done.stderr.decode("utf-8").replace(root, "{ROOT}")
    return work, root, done.returncode, out, err


def diff(case, only_breaks):
    work, root, status, out, err = run(case)
    try:
        problems = []
        folder = os.path.join(CASES, case)
        with open(os.path.join(folder, "expected.exit")) as f:
            if int(f.read()) != status:
                problems.append("exit %d" % status)
        with open(os.path.join(folder, "expected.stderr"), encoding="utf-8") as f:
            if f.read() != err:
                problems.append("stderr:\n" + err)
        actual, expected = files_below(root), files_below(os.path.join(folder, "expected"))
        for name in sorted(set(actual) | set(expected)):
            if name not in expected:
                problems.append("unexpected " + name)
            elif name not in actual:
                problems.append("missing " + name)
            elif actual[name] != expected[name]:
                kept = actual[name].replace(b"\r\n", b"") == expected[name].replace(b"\r\n", b"")
                if not (only_breaks and kept):
                    problems.append("differs " + name + (" (line breaks only)" if kept else ""))
        for line in problems:
            print("%s: %s" % (case, line))
        return not problems
    finally:
        shutil.rmtree(work)


def update(case):
    work, root, status, out, err = run(case)
    try:
        folder = os.path.join(CASES, case)
        inputs = files_below(os.path.join(folder, "input"))
        expected = os.path.join(folder, "expected")
        shutil.rmtree(expected, ignore_errors=True)
        for name, data in files_below(root).items():
            path = os.path.join(expected, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            source = name if inputs.get(name) == data else next((n for n, d in inputs.items() if d == data), None)
            if source is not None:
                # A source as it came in (moved, perhaps under a new name): a
                # link to the input file, not a second copy.
                os.symlink(os.path.relpath(os.path.join(folder, "input", source), os.path.dirname(path)), path)
            else:
                with open(path, "wb") as f:
                    f.write(data)
        with open(os.path.join(folder, "expected.exit"), "w") as f:
            f.write("%d\n" % status)
        with open(os.path.join(folder, "expected.stderr"), "w", encoding="utf-8") as f:
            f.write(err)
        if os.path.exists(os.path.join(folder, "expected.stdout")):
            with open(os.path.join(folder, "expected.stdout"), "w", encoding="utf-8") as f:
                f.write(out)
    finally:
        shutil.rmtree(work)


def main():
    if len(sys.argv) < 2 or sys.argv[1] not in ("diff", "update"):
        print(__doc__)
        return 2
    options = [a for a in sys.argv[2:] if a.startswith("--")]
    cases = [a for a in sys.argv[2:] if not a.startswith("--")] or sorted(
        c for c in os.listdir(CASES) if os.path.isdir(os.path.join(CASES, c)))
    if sys.argv[1] == "update":
        for case in cases:
            update(case)
        return 0
    clean = [diff(case, "--pages-only-breaks" in options) for case in cases]
    return 0 if all(clean) else 1


if __name__ == "__main__":
    sys.exit(main())
