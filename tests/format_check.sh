#!/usr/bin/env bash
# Fails when a C++ file of the repository is not formatted as .clang-format says.
set -euo pipefail
cd "$1"
command -v clang-format >/dev/null || { echo "clang-format not installed"; exit 77; }
git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run -Werror
echo "all C++ files formatted"
