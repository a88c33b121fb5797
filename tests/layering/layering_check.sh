#!/usr/bin/env bash
# Fails when a source file includes across the layers: core <- platform <- ui <- app, with cli
# beside them on the core, and the stand-ins of testing/ reachable only from tests, benchmarks
# and tools; or against the order of the rooms inside core/ and ui/ (room_of). Includes are written from the repository root ("core/text/text_codec.h"), so the
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

# The rooms inside a layer, in order: a room may include its own files and those of the rooms
# ranked below it, never a room of its own rank or above, so that no two rooms tie each other.
# Prints "room rank", nothing for a file outside the ordered layers.
room_of() {
    local room
    case "$1" in
        core/* | ui/*) room=$(cut -d/ -f1-2 <<<"$1") ;;
        *) return 0 ;;
    esac
    case "$room" in
        core/base | core/text | core/resources) echo "$room 0" ;;
        core/os) echo "$room 1" ;;
        core/ports) echo "$room 2" ;;
        core/catalogue) echo "$room 3" ;;
        core/icons | core/content) echo "$room 4" ;;
        core/search | core/dialogs | core/views) echo "$room 5" ;;
        core/app) echo "$room 6" ;;
        ui/seams) echo "$room 0" ;;
        ui/dialogs | ui/undo) echo "$room 1" ;;
        ui/views) echo "$room 2" ;;
        ui/frame) echo "$room 3" ;;
        ui/app) echo "$room 4" ;;
        *) echo "$room 9" ;;
    esac
}

# Why an include of included by file breaks the order of the rooms; nothing when it keeps it.
room_crossing() {
    local from to
    from=$(room_of "$1")
    to=$(room_of "$2")
    [ -n "$from" ] && [ -n "$to" ] || return 0
    read -r from_room from_rank <<<"$from"
    read -r to_room to_rank <<<"$to"
    [ "$from_room" = "$to_room" ] && return 0
    [ "${from_room%%/*}" = "${to_room%%/*}" ] || return 0
    if [ "$to_rank" -ge "$from_rank" ]; then
        echo "$to_room is not below $from_room"
    fi
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

# A project header, however it is spelled: quoted, or in angle brackets from the root.
project_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*(["<])((core|platform|ui|app|cli|extract|testing|tests|bench|tools)/[^">]+|[^">]*\.\.[^">]*|[^"/>]+\.inc)[">]'
# The desktop's headers in any spelling: <QString>, <QtCore/QString>, <qstring.h>, GLib, X11.
desktop_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*<((Q|q[a-z0-9_]*\.h|gio/|glib|gobject/|X11/|xcb/)[^>]*)>'

for file in $files; do
    allowed=$(allowed_for "$file")
    while IFS=: read -r line text; do
        if [[ $text =~ $project_include ]]; then
            included=${BASH_REMATCH[2]}
            if [[ $included == *..* ]]; then
                report "$file:$line" "includes \"$included\" (write includes from the repository root)"
                continue
            fi
            # The one generated file, found on the core's private include path.
            [[ $file == core/* && $included == *.inc && $included != */* ]] && continue
            ok=0
            for prefix in $allowed; do
                [[ $included == "$prefix"* ]] && ok=1 && break
            done
            if [ $ok -eq 0 ]; then
                report "$file:$line" "includes \"$included\" (allowed: ${allowed:-nothing})"
                continue
            fi
            why=$(room_crossing "$file" "$included")
            [ -z "$why" ] || report "$file:$line" "includes \"$included\" ($why)"
        elif [[ $text =~ $desktop_include ]]; then
            desktop_free "$file" && report "$file:$line" "includes <${BASH_REMATCH[1]}> without the desktop libraries"
        fi
    done < <(grep -n '#[[:space:]]*include' "$file" || true)
done

if [ $violations -ne 0 ]; then
    echo "$violations include(s) across the layers"
    exit 1
fi
echo "all includes follow the layers"
