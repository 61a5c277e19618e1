#!/usr/bin/env bash
# Prints the size of the test suite against the code it tests: non-blank lines of C++ (comments included)
# under tests/ against arcline/ (the library) plus tools/ (the arcline program). The project keeps tests at
# about a quarter to a third of the code, at most 35 %. Prints, never fails: CI shows the figure.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat | grep -cv '^[[:space:]]*$' || true; }
tests=$(count tests)
library=$(count arcline)
tools=$(count tools)
code=$((library + tools))
echo "test/code ratio: tests ${tests} lines, code ${code} lines (library ${library}, tools ${tools}):" \
  "$((100 * tests / code)).$(((1000 * tests / code) % 10)) % (at most 35 %)"
