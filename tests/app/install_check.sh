#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the programs and everything a desktop
# and a Debian package expect beside them arrive, valid and naming the programs' one version.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "install: $*"; exit 1; }
files=(bin/kantoria bin/kantoria-cli share/kantoria/help/index.html
  share/kantoria/examples/MORKA.ZNL share/applications/kantoria.desktop
  share/mime/packages/kantoria.xml share/icons/hicolor/scalable/apps/kantoria.svg
  share/metainfo/org.example.kantoria.Kantoria.metainfo.xml
  share/bash-completion/completions/kantoria-cli share/doc/kantoria/copyright
  share/doc/kantoria/changelog.gz)
command -v help2man >/dev/null && files+=(share/man/man1/kantoria.1.gz share/man/man1/kantoria-cli.1.gz)
for f in "${files[@]}"; do [ -s "$prefix/$f" ] || fail "not installed: $f"; done
[ -x "$prefix/bin/kantoria" ] || fail "kantoria is not executable"
grep -q '^Exec=kantoria %f$' "$prefix/share/applications/kantoria.desktop" || fail "Exec line"

# Each icon is drawn at the size its folder names.
for size in 16 22 24 32 48 64 128 256; do
  file "$prefix/share/icons/hicolor/${size}x${size}/apps/kantoria.png" |
    grep -q "PNG image data, $size x $size," || fail "icon ${size}x${size} has another size"
done

# The changelog, the metadata and the man page carry the version the programs answer.
version=$("$prefix/bin/kantoria-cli" --version | cut -d' ' -f2)
zcat "$prefix/share/doc/kantoria/changelog.gz" | head -n 1 | grep -qF "kantoria ($version)" ||
  fail "changelog is not of version $version"
grep -qF "<release version=\"$version\"" "$prefix"/share/metainfo/*.xml || fail "metainfo version"
if command -v help2man >/dev/null; then
  zcat "$prefix/share/man/man1/kantoria.1.gz" | grep -qF "kantoria $version" || fail "man page"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/kantoria.desktop" || fail "desktop entry"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix"/share/metainfo/*.xml >/dev/null || fail "metainfo"
fi
echo "installed"
