#!/usr/bin/env bash
# Fails when the checked-in code page 932 table differs from what the generator makes of this
# machine's iconv now.
set -euo pipefail
generator=${1:?usage: cp932_table_check.sh GENERATOR CHECKED_IN_TABLE}
checked_in=${2:?usage: cp932_table_check.sh GENERATOR CHECKED_IN_TABLE}
fresh=$(mktemp)
trap 'rm -f "$fresh"' EXIT
"$generator" "$fresh"
if ! cmp -s "$fresh" "$checked_in"; then
    diff "$checked_in" "$fresh" | head -20
    echo "$checked_in differs from the generator's output: regenerate it with $generator"
    exit 1
fi
echo "the code page 932 table matches iconv"
