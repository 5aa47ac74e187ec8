#!/usr/bin/env bash
# Builds the whole tree with a sanitizer and runs the test suite under it:
#   scripts/sanitize.sh address,undefined   (build-asan/)
#   scripts/sanitize.sh thread [CTEST_ARGS...]   (build-tsan/)
# Any report fails the test that meets it. Findings inside system libraries
# that are not instrumented are suppressed in tests/sanitizers/, each with
# its reason.
set -euo pipefail
cd "$(dirname "$0")/.."
sanitizer="${1:?address,undefined or thread}"
shift
case "$sanitizer" in
  address,undefined) build=build-asan ;;
  thread) build=build-tsan ;;
  *) echo "sanitize.sh: address,undefined or thread; got $sanitizer" >&2; exit 2 ;;
esac
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVURI_SANITIZE="$sanitizer" \
  -DTOVURI_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
suppressions="$PWD/tests/sanitizers"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# die_after_fork=0: tests start programs (QProcess, fork+exec) from threaded processes.
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:die_after_fork=0:suppressions=$suppressions/tsan.supp"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
