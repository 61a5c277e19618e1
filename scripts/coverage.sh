#!/usr/bin/env bash
# Line and branch coverage of the library (arcline/) by the whole test suite: builds the `coverage` preset,
# runs the suite, prints gcovr's summary and writes build/coverage/coverage.txt (file by file) and
# summary.json. By hand, not in CI: an -O0 instrumented build is slow.
#   bash scripts/coverage.sh            # summary
#   bash scripts/coverage.sh --html     # also build/coverage/coverage.html, line by line
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset coverage >/dev/null
# Built afresh and without ccache: a counting object taken from the cache or left from an earlier build (a
# unity batch that no longer exists) brings notes that do not match the sources, and its zero counts.
export CCACHE_DISABLE=1
find build/coverage -name "*.gcno" -delete
cmake --build --preset coverage --target arcline_tests --clean-first
find build/coverage -name '*.gcda' -delete
ctest --preset coverage >/dev/null || { echo "tests failed: coverage not measured"; exit 1; }
extra=()
[[ "${1:-}" == "--html" ]] && extra=(--html-details build/coverage/coverage.html)
# The branches GCC adds for exception clean-up and unreachable code are not the programmer's: left out.
gcovr -r . --object-directory build/coverage --filter 'arcline/' --exclude-throw-branches \
  --exclude-unreachable-branches -j 2 --print-summary --txt build/coverage/coverage.txt \
  --json-summary build/coverage/summary.json "${extra[@]}"
