#!/usr/bin/env bash
# What each test function covers that no other test does: a clang build (build/unique) whose suite writes one
# coverage profile per test, then scripts/unique_coverage.py's report (build/unique/unique/report.json and
# the listing on standard output). By hand, when deciding which tests the suite can do without; needs clang++,
# llvm-profdata and llvm-cov (Debian clang, llvm), about 7 GB of scratch space and 10 minutes on two cores.
#   bash scripts/unique_coverage.sh                 # build, run, report
#   PROTECT='regex' bash scripts/unique_coverage.sh # tests never offered for removal ("file suite.name")
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
export CCACHE_DISABLE=1
cmake -S . -B build/unique -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DBUILD_SHARED_LIBS=OFF \
  -DCMAKE_CXX_FLAGS="-O0 -fprofile-instr-generate -fcoverage-mapping -include $root/scripts/clang_source_location.h" \
  -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" -DARCLINE_BUILD_BENCH=OFF -DARCLINE_BUILD_EXAMPLES=OFF \
  -DARCLINE_TEST_INSTALL=OFF -DARCLINE_TEST_PER_TEST_PROFILE=ON >/dev/null
cmake --build build/unique --target arcline_tests -j2
rm -rf build/unique/prof build/unique/unique && mkdir -p build/unique/prof
# A failing test still writes its profile; the report is about coverage, the suite's verdict is ctest's.
(cd build/unique/tests && ARCLINE_PROFILE_DIR=$root/build/unique/prof \
  LLVM_PROFILE_FILE=$root/build/unique/prof/between.profraw ./arcline_tests >../suite.log 2>&1) || true
python3 scripts/unique_coverage.py "$root" build/unique build/unique/prof
rm -rf build/unique/prof
