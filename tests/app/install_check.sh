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
  share/doc/kantoria/changelog.gz share/kantoria/samples/samples.tsv
  libexec/kantoria/kantoria-make-sample)
# The man pages are made by running the programs, which a sanitizer build does not do.
man_pages=false
command -v help2man >/dev/null && ! grep -q '^KANTORIA_SANITIZE:BOOL=ON$' "$build/CMakeCache.txt" &&
  man_pages=true
$man_pages && files+=(share/man/man1/kantoria.1.gz share/man/man1/kantoria-cli.1.gz)
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
if $man_pages; then
  zcat "$prefix/share/man/man1/kantoria.1.gz" | grep -qF "kantoria $version" || fail "man page"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/kantoria.desktop" || fail "desktop entry"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix"/share/metainfo/*.xml >/dev/null || fail "metainfo"
fi
# The installed window's first start for a user without a catalogue: it opens the sample, made
# in the user's data folder with every document there, and writes no file-type registration
# into the home (the package's own desktop entry and MIME package do that).
home=$prefix/home
mkdir -p "$home"
HOME=$home XDG_DATA_HOME= XDG_CONFIG_HOME= QT_QPA_PLATFORM=offscreen timeout 5 \
  "$prefix/bin/kantoria" >/dev/null 2>&1 && fail "kantoria ended by itself"
sample=$home/.local/share/kantoria/サンプル.ZNL
"$prefix/bin/kantoria-cli" missing "$sample" | grep -q '"missing": \[\]' || fail "first-run sample"
grep -qF "$sample" "$home/.config/Velmoor/MORKA2.conf" || fail "the sample was not the one opened"
[ -z "$(find "$home" -name 'kantoria.desktop' -o -name 'kantoria.xml' -o -name 'kantoria.png')" ] ||
  fail "an installed program registered itself in the home"
echo "installed"
