#!/usr/bin/env bash
# Prints the size of the tests against the product code, in non-blank
# lines: everything under tests/ except binary fixtures, against the
# product's C++ sources outside tests/, fuzz/ and bench/.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  files() { git ls-files "$@"; }
else
  files() { find "$@" -type f 2>/dev/null | sed 's|^\./||'; }
fi
count() { xargs -r cat | grep -cv '^[[:space:]]*$' || true; }
tests=$(files tests | grep -vE '\.(vrn|png|bin)$' | count)
product=$(files . | grep -E '\.(cpp|h)$' | grep -vE '^(tests|fuzz|bench)/' | grep -v '^build' | count)
awk -v t="$tests" -v p="$product" \
  'BEGIN { printf "tests: %d non-blank lines against %d of product code, ratio %.3f\n", t, p, t / p }'
