#!/usr/bin/env bash
# Runs one fuzz target over its seeds: ./fuzz/run-fuzzer.sh TARGET [SECONDS]
# TARGET is load_model, pack_json, run_program, text_readers or import_xmile. New inputs
# collect in build-fuzz/corpus/TARGET; crashes land in build-fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: fuzz/run-fuzzer.sh TARGET [SECONDS]}
seconds=${2:-240}
build=${BUILD_DIR:-build-fuzz}

extra=()
case "$target" in
  load_model)   seeds=(examples fuzz/seeds/models) ;;
  pack_json)    seeds=(examples fuzz/seeds/models) ;;
  run_program)  seeds=(fuzz/seeds/programs tests/interpreter/corpus); extra=(-dict=fuzz/program.dict) ;;
  text_readers) seeds=(fuzz/seeds/texts fuzz/seeds/programs); extra=(-dict=fuzz/program.dict) ;;
  import_xmile) seeds=(fuzz/seeds/xmile); extra=(-dict=fuzz/xmile.dict) ;;
  *) echo "unknown target: $target" >&2; exit 2 ;;
esac

mkdir -p "$build/corpus/$target" "$build/crashes"
exec "$build/fuzz/fuzz_$target" "$build/corpus/$target" "${seeds[@]}" \
  -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10 \
  -artifact_prefix="$build/crashes/${target}-" -print_final_stats=1 "${extra[@]}"
