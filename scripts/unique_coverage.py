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

# Profiles by test function: <file>@<suite>.<name>; instances of TEST_P are Prefix/Suite.Name/param.
groups = collections.defaultdict(list)
for p in os.listdir(profdir):
    if "@" not in p: continue
    file, test = p[:-len(".profraw")].split("@", 1)
    file = file.replace("_", "/")  # undone below by matching
    suite, _, name = test.partition(".")
    suite = suite.split("_")[-1] if "_" in suite else suite  # Prefix/Suite became Prefix_Suite
    name = name.split("_")[0] if "_" in name and suite != test else name
    groups[(p.split("@")[0], suite, name)].append(os.path.join(profdir, p))

def key_of(g):
    fsafe, suite, name = g
    for (rel, s, n) in functions:
        if rel.replace("/", "_") == fsafe and s == suite and (n == name or name.startswith(n)):
            return (rel, s, n)
    return (fsafe, suite, name)

merged = collections.defaultdict(list)
for g, files in groups.items():
    merged[key_of(g)].extend(files)

def export(item):
    key, files = item
    tag = re.sub(r"[^\w.]", "_", "@".join(key))
    data = os.path.join(out, tag + ".profdata"); cov = os.path.join(out, tag + ".json")
    if not os.path.exists(cov):
        subprocess.run(["llvm-profdata", "merge", "-sparse", "-o", data] + files, check=True)
        r = subprocess.run(["llvm-cov", "export", "-format=lcov", "-instr-profile", data, binary,
                            "-ignore-filename-regex", "^(?!" + re.escape(root) + "/arcline/)"],
                           check=True, capture_output=True, text=True)
        covered = set(); src = None
        for line in r.stdout.split("\n"):
            if line.startswith("SF:"): src = os.path.relpath(line[3:], root)
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
removable = []
for k in sorted(cover, key=lambda k: -size(k)):
    if all(count[i] >= 2 for i in cover[k]):
        removable.append(k)
        count.subtract(cover[k])
report = {"removable": [[*k, size(k)] for k in removable],
          "unique": {"@".join(k): [i for i in cover[k] if count[i] == 1] for k in cover if k not in removable}}
json.dump(report, open(os.path.join(out, "report.json"), "w"), indent=1)
print(f"removable without losing a line or branch side: {len(removable)} functions, "
      f"{sum(size(k) for k in removable)} lines")
for k in removable: print(f"  {size(k):4d}  {k[0]}  {k[1]}.{k[2]}")
