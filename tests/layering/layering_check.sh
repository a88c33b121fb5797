#!/usr/bin/env bash
# Fails when a source file includes across the layers: core <- platform <- ui <- app, with cli
# beside them on the core, and the stand-ins of testing/ reachable only from tests, benchmarks
# and tools. Includes are written from the repository root ("core/text/text_codec.h"), so the
# first folder of a quoted include names its layer. The core, the command line and the Qt-free
# stand-ins never include Qt, GLib or X11.
set -euo pipefail
root=${1:?usage: layering_check.sh REPOSITORY}
cd "$root"

# What each folder may include, by the leading folders of the included path.
allowed_for() {
    case "$1" in
        core/*) echo "core/" ;;
        platform/*) echo "core/ platform/" ;;
        ui/*) echo "core/ platform/ ui/" ;;
        app/*) echo "core/ platform/ ui/ app/" ;;
        # The desktop's file types exist only through Qt; nothing else of the platform.
        cli/*) echo "core/ cli/ platform/system_file_types.h" ;;
        # Documents to text: the core's codec and services, never Qt.
        extract/*) echo "core/ extract/" ;;
        testing/core/*) echo "core/ testing/core/" ;;
        testing/content/*) echo "core/ testing/content/" ;;
        testing/*) echo "core/ platform/ ui/ testing/" ;;
        tools/*) echo "core/ platform/ ui/ testing/" ;;
        tests/* | bench/*) echo "core/ platform/ ui/ app/ cli/ extract/ testing/ tests/" ;;
        *) echo "" ;;
    esac
}

# Folders whose files must compile without the desktop libraries.
desktop_free() {
    case "$1" in
        core/* | cli/* | extract/* | testing/core/* | testing/content/*) return 0 ;;
        *) return 1 ;;
    esac
}

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp')
else
    files=$(find . -type f \( -name '*.h' -o -name '*.cpp' \) | sed 's|^\./||' | sort)
fi

violations=0
report() {
    echo "$1: $2"
    violations=$((violations + 1))
}

for file in $files; do
    allowed=$(allowed_for "$file")
    while IFS=: read -r line text; do
        if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
            included=${BASH_REMATCH[1]}
            # The one generated file, found on the core's private include path.
            [[ $file == core/* && $included == *.inc && $included != */* ]] && continue
            ok=0
            for prefix in $allowed; do
                [[ $included == "$prefix"* ]] && ok=1 && break
            done
            [ $ok -eq 1 ] ||
                report "$file:$line" "includes \"$included\" (allowed: ${allowed:-nothing})"
        elif [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<((Q|gio/|glib|X11/)[^\>]*)\> ]]; then
            desktop_free "$file" && report "$file:$line" "includes <${BASH_REMATCH[1]}> without the desktop libraries"
        fi
    done < <(grep -n '#[[:space:]]*include' "$file" || true)
done

if [ $violations -ne 0 ]; then
    echo "$violations include(s) across the layers"
    exit 1
fi
echo "all includes follow the layers"
