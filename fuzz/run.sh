#!/bin/sh
# Runs every fuzzer of the fuzz build for a bounded time each.
# Usage: fuzz/run.sh BUILD_DIR SECONDS [TARGET...]
# The seed corpus of each target is gathered into BUILD_DIR/seeds/<target>
# from the test fixtures, the examples, the shared corpus beside the
# project and the saved crash inputs; what the fuzzer finds new goes to
# BUILD_DIR/corpus/<target>, crashes to BUILD_DIR/artifacts/<target>, the
# output to BUILD_DIR/logs/<target>.log.  Exits non-zero on a finding.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
seconds=$2
shift 2
targets=${*:-ibs pkg ebd cbs idx}
shared="$root/../shared/corpus"
maxlen=${FUZZ_MAX_LEN:-16384}

# seed TARGET FILE...: copies the readable files into the target's seeds
seed() {
  dir="$build/seeds/$1"
  shift
  for f in "$@"; do
    [ -f "$f" ] && cp "$f" "$dir/"
  done
}

status=0
for t in $targets; do
  rm -rf "$build/seeds/$t"
  mkdir -p "$build/seeds/$t" "$build/corpus/$t" "$build/artifacts/$t" "$build/logs"
  case $t in
    ibs|pkg|ebd)
      seed "$t" "$root"/tests/data/*."$t" "$root"/examples/*."$t" "$shared"/*."$t" ;;
    cbs)
      # The saved compiled model and those of the single-component files at
      # hand, written by the tool (files with errors give none).
      seed cbs "$root"/tests/data/cbs/*.cbs
      for f in "$root"/examples/*.ibs "$root"/tests/data/*.ibs "$shared"/*.ibs; do
        [ -f "$f" ] && "$build/tavelin" compile "$f" -o "$build/seeds/cbs/$(basename "$f" .ibs).cbs" \
          > /dev/null 2>&1
      done ;;
    idx)
      # The saved seeds and an index of the test fixtures written by the tool.
      seed idx "$root"/fuzz/seeds/idx/*
      "$build/tavelin" index "$root/tests/data" > "$build/seeds/idx/data.idx" 2>/dev/null ;;
  esac
  seed "$t" "$root"/fuzz/crashes/"$t"/*
  echo "fuzz_$t: $seconds s"
  "$build/fuzz_$t" "$build/corpus/$t" "$build/seeds/$t" -dict="$root/fuzz/ibis.dict" \
    -max_total_time="$seconds" -max_len="$maxlen" -timeout=20 -rss_limit_mb=2048 \
    -jobs=1 -workers=1 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$t/" > "$build/logs/$t.log" 2>&1
  rc=$?
  # With -jobs the fuzzer's own output goes to fuzz-0.log in the current directory.
  [ -f fuzz-0.log ] && mv fuzz-0.log "$build/logs/$t.log"
  grep -aE "INITED|DONE|^Done|stat::|SUMMARY|ERROR" "$build/logs/$t.log"
  [ $rc -ne 0 ] && status=1
done
exit $status
