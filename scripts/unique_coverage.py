#!/usr/bin/env python3
"""What each test function covers that no other test does (by hand; see scripts/unique_coverage.sh).

Reads the per-test clang profiles written by the instrumented suite (one .profraw per test, named
<test file>@<suite>.<name>), merges those of one test function (all instances of a parameterised test),
exports each function's covered lines and branch sides of arcline/, and reports for each test function
the lines and branch sides that only it covers. Then it removes, largest first, the functions whose every
line and branch side some remaining function also covers, and lists them: these tests can go without
lowering the suite's coverage (what they assert still has to be judged by reading them).
"""
import collections, concurrent.futures, json, os, re, subprocess, sys

root, build, profdir = sys.argv[1], sys.argv[2], sys.argv[3]
binary = os.path.join(build, "tests", "arcline_tests")
out = os.path.join(build, "unique")
os.makedirs(out, exist_ok=True)

# Test functions: the TEST macros of each file, with the lines each one spans.
test_re = re.compile(r"^(TEST|TEST_P|TEST_F|TYPED_TEST)\(\s*(\w+)\s*,\s*(\w+)\s*\)")
functions = {}  # (file, suite, name) -> lines of code
for dirpath, _, files in os.walk(os.path.join(root, "tests")):
    for f in files:
        if not f.endswith("_test.cpp"): continue
        path = os.path.join(dirpath, f); rel = os.path.relpath(path, os.path.join(root, "tests"))
        lines = open(path, encoding="utf-8").read().split("\n")
        starts = [(i, m.group(2), m.group(3)) for i, l in enumerate(lines) if (m := test_re.match(l))]
        for k, (i, suite, name) in enumerate(starts):
            end = starts[k + 1][0] if k + 1 < len(starts) else len(lines)
            functions[(rel, suite, name)] = sum(1 for l in lines[i:end] if l.strip())

# Profiles by test function: <file>@<suite>.<name>, where an instance of a parameterised test is
# Prefix/Suite.Name/param and a typed test's suite is Suite/index ('/' written as '_').
by_file = collections.defaultdict(list)
for (rel, s, n) in functions: by_file[rel.replace("/", "_")].append((rel, s, n))

def key_of(fsafe, test):
    suite, _, name = test.partition(".")
    for (rel, s, n) in by_file.get(fsafe, []):
        if (suite == s or suite.endswith("_" + s) or suite.startswith(s + "_")) and \
           (name == n or name.startswith(n + "_")):
            return (rel, s, n)
    return (fsafe, suite, name)

merged = collections.defaultdict(list)
for p in os.listdir(profdir):
    if "@" not in p: continue
    fsafe, test = p[:-len(".profraw")].split("@", 1)
    merged[key_of(fsafe, test)].append(os.path.join(profdir, p))

def export(item):
    key, files = item
    tag = re.sub(r"[^\w.]", "_", "@".join(key))
    data = os.path.join(out, tag + ".profdata"); cov = os.path.join(out, tag + ".json")
    if not os.path.exists(cov):
        subprocess.run(["llvm-profdata", "merge", "-sparse", "-o", data] + files, check=True)
        r = subprocess.run(["llvm-cov", "export", "-format=lcov", "-instr-profile", data, binary,
                            "-ignore-filename-regex", "^/usr/|/tests/|/build/"],
                           check=True, capture_output=True, text=True)
        covered = set(); src = None
        for line in r.stdout.split("\n"):
            if line.startswith("SF:"):
                src = os.path.relpath(line[3:], root)
                if not src.startswith(("arcline/", "tools/")): src = None
            elif src is None: continue
            elif line.startswith("DA:"):
                n, c = line[3:].split(",")[:2]
                if c != "0": covered.add(f"L {src}:{n}")
            elif line.startswith("BRDA:"):
                n, b, br, c = line[5:].split(",")
                if c not in ("0", "-"): covered.add(f"B {src}:{n}:{b}:{br}")
        json.dump(sorted(covered), open(cov, "w"))
        os.remove(data)
    return key, set(json.load(open(cov)))

with concurrent.futures.ThreadPoolExecutor(int(os.environ.get("JOBS", "2"))) as pool:
    cover = dict(pool.map(export, merged.items()))

count = collections.Counter()
for s in cover.values(): count.update(s)
print(f"test functions {len(cover)}; lines covered {sum(1 for k in count if k[0]=='L')}, "
      f"branch sides {sum(1 for k in count if k[0]=='B')}")
size = lambda k: functions.get(k, 0)
# Tests whose worth is not their coverage (outside oracles, random invariants, metamorphic runs, source
# rules, threads, hostile input, regressions) are never offered: PROTECT is a regular expression on
# "file suite.name".
protect = re.compile(os.environ.get("PROTECT", r"Random|Oracle|Geos|Clipper|Ezdxf|Morph|Metamorphic|Seeded|"
                     r"BruteForce|Sources\.|Umbrella|Threads|Hostile|Regression|NonFinite|Nan|Huge|Workload"))
removable = []
for k in sorted(cover, key=lambda k: -size(k)):
    if protect.search(f"{k[0]} {k[1]}.{k[2]}"): continue
    if all(count[i] >= 2 for i in cover[k]):
        removable.append(k)
        count.subtract(cover[k])
report = {"removable": [[*k, size(k)] for k in removable],
          "unique": {"@".join(k): [i for i in cover[k] if count[i] == 1] for k in cover if k not in removable}}
json.dump(report, open(os.path.join(out, "report.json"), "w"), indent=1)
print(f"removable without losing a line or branch side: {len(removable)} functions, "
      f"{sum(size(k) for k in removable)} lines")
for k in removable: print(f"  {size(k):4d}  {k[0]}  {k[1]}.{k[2]}")
few = sorted((k for k in cover if k not in removable and len(report["unique"]["@".join(k)]) <= 6),
             key=lambda k: -size(k))
print(f"kept for a few lines or branch sides of their own (at most 6): {len(few)} functions, "
      f"{sum(size(k) for k in few)} lines")
for k in few:
    print(f"  {size(k):4d}  {k[0]}  {k[1]}.{k[2]}: " + " ".join(sorted(report["unique"]["@".join(k)])))
