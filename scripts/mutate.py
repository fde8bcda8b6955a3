#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Mutation sample: change one line the way a slip of the hand would, rebuild,
run the tests that should notice, and say whether they did.

    scripts/mutate.py [options] FILE:LINE[:KIND] ...
    scripts/mutate.py [options] --list SAMPLE.txt

Each FILE:LINE names a line of the source tree (FILE relative to the tree's
top or absolute, LINE counted from 1). KIND picks the slip; without it the
first one that applies to the line, in this order:

    flip    a comparison flipped at its edge: < and <=, > and >=, == and !=
            (the first comparison operator of the line)
    num     the first number of the line, plus one (num-1: minus one; a
            number with decimals changes in its whole part)
    bool    true and false swapped, or && and || (the first on the line)
    code    a two-letter command code in quotes changed ("FA" -> "FB":
            the second letter moved on by one)
    swap    the two branches of `c ? x : y` exchanged
    drop    the line left out (commented away)

KIND@N applies the slip to the N-th place of the line that takes it
(flip@2: the second comparison; num@3: the third number).

A line of the list file holds one mutant, with optional fields:

    FILE:LINE[:KIND]  [TARGETS=t1,t2]  [TESTS=ctest-regex]   # comment

Options:
    --build DIR       the configured build folder (default build/release)
    --targets T,...   what to rebuild (default: all)
    --tests REGEX     the ctest pattern to run (default: every test)
                      (a CMake regular expression: no \\w or \\d, use [A-Za-z0-9_];
                      cases of a parameterised suite are named Prefix/Suite.Case/Name,
                      so a suite is matched by '^([A-Za-z0-9_]+/)?Suite\\.')
    --timeout S       seconds for the build and for the tests (default 600)
    --dry-run         only show each changed line

For each mutant it prints the line before and after and one of:
    caught     the build passed and a test failed
    survived   the build passed and every test passed: look at it; either a
               test is missing or the change means nothing to anyone
    no build   the change does not compile (not counted)
    same       the slip does not apply to the line (not counted)
and at the end how many were tried and caught.

The file is always given back exactly as it was (also on an error, Ctrl+C or
a termination) and the mutant's targets are built again at once, so that
between two mutants and afterwards the build folder holds the real program
(shared libraries included). Nothing else should run from that build folder
while the sample runs.

Example (the simulator's lowest frequency):

    scripts/mutate.py --targets qxsim_range_test --tests 'LowestFrequency' \\
        sim/src/commands_radio.cpp:70:flip sim/src/receive_bands.cpp:22:num
"""

import argparse
import os
import re
import shlex
import signal
import subprocess
import sys
import time

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

COMPARISONS = [("<=", "<"), (">=", ">"), ("==", "!="), ("!=", "=="), ("<", "<="), (">", ">=")]


def _quote_mask(line, digit_separators):
    """Positions of `line` that are code (True), not text in quotes. With
    `digit_separators`, a ' after a letter or digit (1'000) opens no quote."""
    mask, quote, i = [], None, 0
    while i < len(line):
        c = line[i]
        if quote:
            mask.append(False)
            if c == "\\" and i + 1 < len(line):
                mask.append(False)
                i += 1
            elif c == quote:
                quote = None
        elif c in "\"'" and not (digit_separators and c == "'" and i > 0 and line[i - 1].isalnum()):
            quote = c
            mask.append(False)
        else:
            mask.append(True)
        i += 1
    return mask


def _code_part(line):
    """The line without a trailing // comment (text in quotes kept)."""
    for i, code in enumerate(_quote_mask(line, digit_separators=False)):
        if code and line.startswith("//", i):
            return line[:i]
    return line


def _outside_quotes(line):
    """Positions of `line` that are code, not text in quotes."""
    return _quote_mask(line, digit_separators=True)


def flip(line, nth=1):
    code = _code_part(line)
    mask = _outside_quotes(code)
    i = 0
    while i < len(code):
        if mask[i]:
            for old, new in COMPARISONS:
                if code.startswith(old, i):
                    # not part of <<, >>, ->, <=> or a template's <...>
                    before = code[i - 1] if i > 0 else " "
                    after = code[i + len(old)] if i + len(old) < len(code) else " "
                    if old in ("<", ">") and (before in "<>-" or after in "<>=" or
                                              (before.isalnum() and after.isalnum()) or
                                              re.match(r"[A-Za-z_:]", before) and old == "<"):
                        break
                    nth -= 1
                    if nth > 0:
                        i += len(old) - 1
                        break
                    return line[:i] + new + line[i + len(old):]
        i += 1
    return line


def num(line, delta=1, nth=1):
    code = _code_part(line)
    mask = _outside_quotes(code)
    for m in re.finditer(r"(?<![\w.'])(\d[\d']*)(\.\d+)?(?![\w.'])", code):
        if not mask[m.start()]:
            continue
        value = int(m.group(1).replace("'", "")) + delta
        if value < 0:
            continue
        nth -= 1
        if nth > 0:
            continue
        return line[:m.start()] + str(value) + (m.group(2) or "") + line[m.end():]
    return line


def boolean(line, nth=1):
    code = _code_part(line)
    mask = _outside_quotes(code)
    swaps = {"true": "false", "false": "true", "&&": "||", "||": "&&"}
    for m in re.finditer(r"\btrue\b|\bfalse\b|&&|\|\|", code):
        if mask[m.start()]:
            nth -= 1
            if nth == 0:
                return line[:m.start()] + swaps[m.group(0)] + line[m.end():]
    return line


def code_letter(line, nth=1):
    for m in re.finditer(r'"([A-Z])([A-Z])"', line):
        nth -= 1
        if nth > 0:
            continue
        second = chr((ord(m.group(2)) - ord("A") + 1) % 26 + ord("A"))
        return line[:m.start()] + '"' + m.group(1) + second + '"' + line[m.end():]
    return line


def swap_branches(line, nth=1):
    """`c ? x : y` becomes `c ? y : x` (spaces around ? and : expected)."""
    start = 0
    while True:
        q = line.find(" ? ", start)
        if q < 0:
            return line
        colon = line.find(" : ", q + 3)
        if colon < 0:
            return line
        first = line[q + 3:colon]
        depth, end = 0, colon + 3
        while end < len(line):
            c = line[end]
            if c in "([{":
                depth += 1
            elif c in ")]}":
                if depth == 0:
                    break
                depth -= 1
            elif c in ",;" and depth == 0:
                break
            end += 1
        second = line[colon + 3:end].rstrip()
        end = colon + 3 + len(second)
        nth -= 1
        if nth == 0 and first != second and "?" not in first and "?" not in second:
            return line[:q + 3] + second + " : " + first + line[end:]
        start = q + 3


def drop(line, nth=1):
    stripped = line.strip()
    if not stripped or stripped.startswith("//"):
        return line
    indent = line[: len(line) - len(line.lstrip())]
    return indent + "// (mutant: line left out) " + stripped.replace("*/", "* /") + "\n"


KINDS = {
    "flip": flip,
    "num": lambda l, n=1: num(l, 1, n),
    "num-1": lambda l, n=1: num(l, -1, n),
    "bool": boolean,
    "code": code_letter,
    "swap": swap_branches,
    "drop": drop,
}
AUTO_ORDER = ["flip", "num", "bool", "code", "swap", "drop"]


def mutate(line, kind):
    """`kind` may name the n-th place of the line: "flip@2" flips its second
    comparison."""
    if kind:
        name, _, nth = kind.partition("@")
        return KINDS[name](line, int(nth) if nth else 1), kind
    for k in AUTO_ORDER:
        changed = KINDS[k](line)
        if changed != line:
            return changed, k
    return line, "none"


class Restorer:
    """Keeps the original bytes of a file and puts them back."""

    def __init__(self):
        self.path = None
        self.data = None

    def keep(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        self.path = path

    def restore(self):
        if self.path is not None:
            with open(self.path, "wb") as f:
                f.write(self.data)
            self.path = None


def run(cmd, timeout, log):
    start = time.monotonic()
    try:
        p = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout, cwd=TOP)
        out, code = p.stdout.decode(errors="replace"), p.returncode
    except subprocess.TimeoutExpired as e:
        out, code = (e.stdout or b"").decode(errors="replace") + "\n(timed out)", -1
    if log:
        log.write("$ " + " ".join(shlex.quote(c) for c in cmd) + "\n" + out + "\n")
    return code, out, time.monotonic() - start


def build(args, log):
    cmd = ["cmake", "--build", args.build, "-j", str(args.jobs)]
    for t in args.target_list:
        cmd += ["--target", t]
    return run(cmd, args.timeout, log)


def parse_list(path, args):
    mutants = []
    with open(path) as f:
        for raw in f:
            line = raw.split("#", 1)[0].strip()
            if not line:
                continue
            fields = line.split()
            m = {"where": fields[0], "targets": None, "tests": None}
            for extra in fields[1:]:
                key, _, value = extra.partition("=")
                if key == "TARGETS":
                    m["targets"] = [t for t in value.split(",") if t]
                elif key == "TESTS":
                    m["tests"] = value
            mutants.append(m)
    return mutants


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("mutants", nargs="*", help="FILE:LINE[:KIND]")
    ap.add_argument("--list")
    ap.add_argument("--build", default="build/release")
    ap.add_argument("--targets", default="")
    ap.add_argument("--tests", default="")
    ap.add_argument("--timeout", type=int, default=600)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--log", default="", help="append build and test output to this file")
    ap.add_argument("--dry-run", action="store_true")
    args = ap.parse_args()

    mutants = [{"where": s, "targets": None, "tests": None} for s in args.mutants]
    if args.list:
        mutants += parse_list(args.list, args)
    if not mutants:
        ap.error("no mutant given")

    restorer = Restorer()

    def on_signal(signum, _frame):
        restorer.restore()
        sys.stderr.write("\nstopped; the file is as it was (rebuilding its targets)\n")
        sys.exit(128 + signum)

    for s in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(s, on_signal)

    log = open(args.log, "a") if args.log else None
    results = []
    try:
        for m in mutants:
            parts = m["where"].split(":")
            if len(parts) < 2 or not parts[1].isdigit():
                print(f"{m['where']}: expected FILE:LINE[:KIND]")
                results.append("bad")
                continue
            path = parts[0] if os.path.isabs(parts[0]) else os.path.join(TOP, parts[0])
            lineno = int(parts[1])
            kind = parts[2] if len(parts) > 2 else None
            if kind and (kind.partition("@")[0] not in KINDS or not (kind.partition("@")[2] or "1").isdigit()):
                print(f"{m['where']}: unknown kind {kind} (one of {', '.join(KINDS)})")
                results.append("bad")
                continue
            with open(path) as f:
                lines = f.readlines()
            if not 1 <= lineno <= len(lines):
                print(f"{m['where']}: no such line")
                results.append("bad")
                continue
            before = lines[lineno - 1]
            after, used = mutate(before, kind)
            label = f"{parts[0]}:{lineno} [{used}]"
            print(f"--- {label}\n  - {before.strip()}\n  + {after.strip()}")
            if after == before:
                print("  => same (the slip does not apply)")
                results.append("same")
                continue
            if args.dry_run:
                results.append("dry")
                continue
            args.target_list = m["targets"] if m["targets"] is not None else \
                [t for t in args.targets.split(",") if t]
            tests = m["tests"] if m["tests"] is not None else args.tests
            restorer.keep(path)
            try:
                lines[lineno - 1] = after
                with open(path, "w") as f:
                    f.writelines(lines)
                code, out, took = build(args, log)
                if code != 0:
                    verdict = "no build"
                else:
                    cmd = ["ctest", "--test-dir", args.build, "--output-on-failure", "-j", str(args.jobs)]
                    if tests:
                        cmd += ["-R", tests]
                    tcode, tout, ttook = run(cmd, args.timeout, log)
                    if "No tests were found" in tout:
                        verdict = "no tests"
                    else:
                        verdict = "caught" if tcode != 0 else "survived"
                        failed = re.findall(r"^\s*\d+ - (\S+).*\((?:Failed|Timeout|SEGFAULT|Subprocess aborted|Exception)",
                                            tout, re.M)
                        if failed:
                            verdict += " by " + ", ".join(failed[:3]) + (" ..." if len(failed) > 3 else "")
                    took += ttook
            finally:
                restorer.restore()
                # Between two mutants the build folder holds the real program.
                build(args, log)
            print(f"  => {verdict} ({took:.0f} s)")
            results.append(verdict.split(" by ")[0])
    finally:
        restorer.restore()  # (each mutant's own block has put its file back and rebuilt)
        if log:
            log.close()

    counted = [r for r in results if r in ("caught", "survived")]
    caught = sum(1 for r in counted if r == "caught")
    print(f"\n{len(counted)} tried, {caught} caught, {len(counted) - caught} survived"
          + "".join(f", {results.count(r)} {r}" for r in ("no build", "same", "no tests", "bad") if results.count(r)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
