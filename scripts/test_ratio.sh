#!/usr/bin/env bash
# Prints the size of the test suite against the code it tests: non-blank lines of C++ (comments included)
# under tests/ against arcline/ (the library) plus tools/ (the arcline program). The project keeps tests at
# about a quarter to a third of the code, at most 35 %. A second line counts the Python beside them too (the
# test data generators and the DXF oracle under tests/, the program's fuzz script under tools/). Prints,
# never fails: CI shows the figure.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  local names=(-name '*.cpp' -o -name '*.h')
  [[ "$1" == all ]] && names+=(-o -name '*.py')
  shift
  find "$@" -type f \( "${names[@]}" \) -print0 | xargs -0 cat | grep -cv '^[[:space:]]*$' || true
}
ratio() { echo "$((100 * $1 / $2)).$(((1000 * $1 / $2) % 10)) %"; }
tests=$(count cpp tests)
library=$(count cpp arcline)
tools=$(count cpp tools)
code=$((library + tools))
echo "test/code ratio: tests ${tests} lines, code ${code} lines (library ${library}, tools ${tools}):" \
  "$(ratio "$tests" "$code") (at most 35 %)"
all_tests=$(count all tests)
all_code=$(($(count all arcline) + $(count all tools)))
echo "with Python: tests ${all_tests} lines, code ${all_code} lines: $(ratio "$all_tests" "$all_code")"
