#!/usr/bin/env python3
"""Mutation fuzz of the arcline program.

Mutates a small corpus of geometry files (record, picture, DXF) and debug documents with a fixed seed and
runs the program on every mutant. It fails on:
  - a crash, a sanitizer report or an exit code other than 0, 1 or 2;
  - a run that does not finish within the time limit (a hang);
  - a message on the error stream that is not "file:line: reason", "file: reason" (with "warning: " for
    warnings) or "arcline COMMAND: ...";
  - a fault (exit code 2) without a message naming the file;
  - output that is not valid JSON or XML, or not UTF-8;
  - a lost polyline: every 's' record line before the first fault of a record file must give a polyline.

Usage: fuzz_cli.py ARCLINE [--count N] [--seed S] [--timeout SECONDS] [CORPUS_FILE...]
With no corpus files, takes the examples and the program's test data of this repository.
"""

import argparse
import concurrent.futures
import glob
import json
import os
import random
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# Pieces that tend to break readers: numbers at the edges of double, non-finite values, other line ends,
# bytes that are not UTF-8, record letters and DXF group codes.
TOKENS = [b"1e308", b"-1.7976931348623157e308", b"1e-320", b"nan", b"inf", b"-0", b"1,5", b"0J", b"\r",
          b"\r\n", b"\n", b" ", b"\xff\xfe", b"\xc3(", b"s\n", b"e\n", b"a 1 1 0 2 0 0\n", b"p 0 0 0\n",
          b"-5", b"2147483648", b"999999999999", b"0\nLINE\n", b"42\n1e308\n", b"U", b"O\n"]


def mutate(data, rng):
    data = bytearray(data)
    for _ in range(rng.randint(1, 4)):
        if not data:
            data += rng.choice(TOKENS)
            continue
        at = rng.randrange(len(data))
        kind = rng.randrange(7)
        if kind == 0:
            data[at] = rng.randrange(256)
        elif kind == 1:
            del data[at:at + rng.randint(1, 8)]
        elif kind == 2:
            data[at:at] = rng.choice(TOKENS)
        elif kind == 3:  # repeat a line
            b = data.rfind(b"\n", 0, at)
            e = data.find(b"\n", at)
            if b >= 0 and e > b:
                data[e:e] = data[b:e] * rng.randint(1, 3)
        elif kind == 4:  # drop a line
            b = data.rfind(b"\n", 0, at)
            e = data.find(b"\n", at)
            if b >= 0 and e > b:
                del data[b:e]
        elif kind == 5:  # cut the file short
            del data[at:]
        else:  # replace a number by a token
            m = re.compile(rb"-?\d+(\.\d+)?(e-?\d+)?").search(bytes(data), at)
            if m:
                data[m.start():m.end()] = rng.choice(TOKENS[:10])
    return bytes(data)


MESSAGE = re.compile(r"^(?P<where>.+?)(:(?P<line>\d+))?: (?P<warning>warning: )?\S.*$")


def check_messages(err, name, code, problems):
    lines = err.splitlines()
    if code == 2 and not any(l.startswith(name + ":") and ": warning: " not in l for l in lines):
        problems.append("exit code 2 without a fault naming the file")
    for line in lines:
        if line.startswith("arcline "):
            continue
        m = MESSAGE.match(line)
        if not m or m.group("where") not in (name, "<stdin>", "<stdout>"):
            problems.append("message not 'file:line: reason': " + line)
    return lines


def first_fault_line(lines, name):
    for line in lines:
        m = MESSAGE.match(line)
        if m and m.group("where") == name and not m.group("warning") and m.group("line"):
            return int(m.group("line"))
    return None


def expected_polylines(text, fault_line):
    """'s' record lines before the fault line of a record file."""
    count = 0
    for number, line in enumerate(re.split(rb"\r\n|\r|\n", text), start=1):
        if fault_line is not None and number >= fault_line:
            break
        if line.strip() == b"s":
            count += 1
    return count


def run(cmd, timeout, stdin=None):
    try:
        p = subprocess.run(cmd, capture_output=True, timeout=timeout, input=stdin)
    except subprocess.TimeoutExpired:
        return None
    return p


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("arcline")
    ap.add_argument("corpus", nargs="*")
    ap.add_argument("--count", type=int, default=120)
    ap.add_argument("--seed", type=int, default=20261206)
    ap.add_argument("--timeout", type=float, default=20.0)
    args = ap.parse_args()

    corpus = args.corpus or sorted(
        glob.glob(os.path.join(ROOT, "examples", "*.txt")) +
        [f for f in glob.glob(os.path.join(ROOT, "tests", "data", "cli", "*")) if os.path.isfile(f)])
    seeds = [open(f, "rb").read() for f in corpus]
    rng = random.Random(args.seed)
    env = dict(os.environ)
    env.setdefault("ASAN_OPTIONS", "detect_leaks=1:abort_on_error=1")
    env.setdefault("UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1")
    failures = 0
    runs = 0
    with tempfile.TemporaryDirectory(prefix="arcline-fuzz-") as tmp:
        # One debug document among the seeds, made by the program itself.
        cdg = os.path.join(tmp, "seed.cdg")
        subprocess.run([args.arcline, "convert", os.path.join(ROOT, "examples", "pocket.txt"), cdg], check=True,
                       capture_output=True)
        seeds.append(open(cdg, "rb").read())
        # The second region of the Boolean runs: a square across the middle of the examples.
        region_b = os.path.join(tmp, "region_b.txt")
        with open(region_b, "w") as f:
            f.write("velGeometryIO 1\np -20 -20 0\np 30 -20 0\np 30 30 0\np -20 30 0\np -20 -20 0\ns\ne\n")
        # The mutants first (one random stream, so the set is fixed by the seed), then the runs, on every core.
        jobs = []
        for k in range(args.count):
            seed = seeds[k % len(seeds)]
            jobs.append((k, seed, mutate(seed, rng), rng.choice(["records", "dxf"])))

        def fuzz_one(job):
            k, seed, mutant, to = job
            report, failed, ran = [], 0, 0
            name = os.path.join(tmp, "m%d.txt" % k)
            with open(name, "wb") as f:
                f.write(mutant)
            is_cdg = mutant.startswith(b"CDG1") or seed.startswith(b"CDG1")
            commands = ([("cdg2svg", [args.arcline, "cdg2svg", name, "-o", "-"])] if is_cdg else [
                ("info", [args.arcline, "info", "--json", name]),
                ("svg", [args.arcline, "svg", name, "-o", "-", "--arrows", "--points"]),
                ("convert", [args.arcline, "convert", "--partial", name, "-", "--to", to]),
                ("sort", [args.arcline, "sort", name, "-o", name + ".sorted", "--json"]
                 + (["--even-odd"] if k % 2 else [])),
                ("nest", [args.arcline, "nest", "--json", name]),
                ("orient", [args.arcline, "orient", name, "-o", "-"]),
                ("boolean", [args.arcline, "boolean", ("union", "intersection", "difference", "xor")[k % 4], name,
                             region_b, "-o", name + ".bool", "--json"]),
                # The region offset, each polyline's, or the raw one; growing and shrinking in turn.
                ("offset", [args.arcline, "offset", name, ("-2", "3")[k % 2], "-o", name + ".off", "--json"]
                 + ([], ["--each"], ["--raw"], ["--each", "--sharp"], ["--chamfer", "1"])[k % 5]),
                # A coarse step: the examples pocket in a few levels.
                ("pocket", [args.arcline, "pocket", name, "20", "-o", name + ".pocket", "--json"]),
            ])
            for what, cmd in commands:
                ran += 1
                problems = []
                p = run(cmd, args.timeout)
                if p is None:
                    problems.append("no answer within %.0f s" % args.timeout)
                else:
                    err = p.stderr.decode("utf-8", "replace")
                    if p.returncode not in (0, 1, 2):
                        problems.append("exit code %d" % p.returncode)
                    if "Sanitizer" in err or "runtime error" in err:
                        problems.append("sanitizer report")
                    lines = check_messages(err, name, p.returncode, problems)
                    try:
                        out = p.stdout.decode("utf-8")
                    except UnicodeDecodeError:
                        out = None
                        if what != "convert":
                            problems.append("output is not UTF-8")
                    if what in ("sort", "nest", "boolean", "offset", "pocket") and out is not None and p.returncode in (0, 1):
                        try:
                            json.loads(out)
                        except ValueError as e:
                            problems.append("%s --json is not JSON: %s" % (what, e))
                    if what == "info" and out is not None:
                        try:
                            doc = json.loads(out)
                            if not mutant.lstrip().startswith((b"velGeometryIO", b"velPointFilterIO")):
                                pass
                            elif "polylines" in doc[0]:
                                want = expected_polylines(mutant, first_fault_line(lines, name))
                                if doc[0]["polylines"] < want:
                                    problems.append("lost polylines: %d read, %d 's' records before the fault"
                                                    % (doc[0]["polylines"], want))
                        except (ValueError, IndexError, KeyError) as e:
                            problems.append("info --json is not JSON: %s" % e)
                    if what in ("svg", "cdg2svg") and out is not None and p.returncode in (0, 2):
                        try:
                            ET.fromstring(p.stdout)
                        except ET.ParseError as e:
                            problems.append("not XML: %s" % e)
                if problems:
                    failed += 1
                    keep = os.path.join(os.getcwd(), "fuzz-failure-%d.bin" % k)
                    with open(keep, "wb") as f:
                        f.write(mutant)
                    report.append("FAIL %s on mutant %d (kept as %s):" % (what, k, keep))
                    report.extend("  " + problem for problem in problems[:5])
                    if p is not None:
                        report.append("  stderr: " + p.stderr.decode("utf-8", "replace")[:500])
            return report, failed, ran

        with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
            for report, failed, ran in pool.map(fuzz_one, jobs):
                for line in report:
                    print(line)
                failures += failed
                runs += ran
    print("fuzz: %d mutants of %d corpus files, %d runs of the program" % (args.count, len(seeds), runs))
    print("fuzz: %d passed, %d failed" % (runs - failures, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
