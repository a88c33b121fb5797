#!/usr/bin/env bash
# Fails when a test's name holds anything but letters, digits and _ . / - or when two listings
# of the same build differ: `ctest -R` and `--rerun-failed` must be able to name every test.
set -euo pipefail
ctest=${1:?usage: test_names_check.sh CTEST BUILD_DIR}
build=${2:?usage: test_names_check.sh CTEST BUILD_DIR}
names() { "$ctest" --test-dir "$build" -N | sed -n 's/^ *Test *#[0-9]*: //p'; }
first=$(names)
second=$(names)
[ "$first" = "$second" ] || { echo "two listings differ"; diff <(echo "$first") <(echo "$second"); exit 1; }
bad=$(grep -vE '^[A-Za-z0-9_./-]+$' <<<"$first" || true)
[ -z "$bad" ] || { echo "names that ctest -R cannot take:"; echo "$bad"; exit 1; }
echo "$(wc -l <<<"$first") test names, all plain and stable"
