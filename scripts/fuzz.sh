#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, build-fuzz/) and runs each over its seed
# corpus for SECONDS (default 3: a smoke run). New inputs go to
# build-fuzz/corpus/, crashes to build-fuzz/findings/; a line per target
# reports its executions, and each run's are added to build-fuzz/executions.tsv
# (date, target, executions, seconds), so totals can be kept across runs.
# FUZZ_FLAGS adds libFuzzer options (e.g. -max_len=1024). Exit status 1 when any
# target found a crash.
#   [FUZZ_FLAGS=...] scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-3}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_custom_dictionary fuzz_main_dictionary fuzz_lexicon_loader fuzz_verdict fuzz_parse_engine
           fuzz_lexicon_verdicts fuzz_settings fuzz_word_check_index fuzz_rtf_reader fuzz_letter_model
           fuzz_text_decoder fuzz_pipe_protocol)
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVURI_FUZZ=ON \
  -DTOVURI_BUILD_TESTS=OFF -DTOVURI_BUILD_BENCH=OFF -DTOVURI_BUILD_APP=OFF >/dev/null
build_targets=()
for target in "${targets[@]}"; do build_targets+=(--target "$target"); done
cmake --build build-fuzz -j"$(nproc)" "${build_targets[@]}" >/dev/null
read -r -a extra_flags <<<"${FUZZ_FLAGS:-}"
failed=0
for target in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$target"
  findings="build-fuzz/findings/$target"
  mkdir -p "$corpus" "$findings"
  log="build-fuzz/$target.log"
  # The shared seeds are read, never written; what the run adds stays in build-fuzz.
  if nice -n 10 "build-fuzz/bin/$target" "$corpus" "fuzz/corpus/$target" -max_total_time="$seconds" \
      -timeout=60 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" "${extra_flags[@]}" >"$log" 2>&1; then
    status="no finding"
  else
    status="FINDING (see $log and $findings)"
    failed=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  echo "$target: ${runs:-0} executions in ${seconds}s, $status"
  printf '%s\t%s\t%s\t%s\n' "$(date -u +%FT%TZ)" "$target" "${runs:-0}" "$seconds" >>build-fuzz/executions.tsv
done
exit $failed
