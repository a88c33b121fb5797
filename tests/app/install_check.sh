#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the program, its help, icon,
# desktop entry and MIME package arrive.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/kantoria bin/kantoria-cli share/kantoria/help/index.html \
         share/icons/hicolor/32x32/apps/kantoria.png share/applications/kantoria.desktop \
         share/mime/packages/kantoria.xml; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
[ -x "$prefix/bin/kantoria" ] || { echo "kantoria is not executable"; exit 1; }
grep -q '^Exec=kantoria %f$' "$prefix/share/applications/kantoria.desktop"
echo "installed"
