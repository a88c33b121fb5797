#!/usr/bin/env bash
# The layering check must name every kind of crossing in a small tree, and pass the same tree
# once the crossings are gone.
set -euo pipefail
check=$(cd "$(dirname "$0")" && pwd)/layering_check.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cd "$tree"
mkdir -p core/text core/os core/views core/search platform/qt ui/views ui/frame ui/seams cli testing/core testing/ui tests/unit

write() { printf '%s\n' "${@:2}" >"$1"; }
write core/text/a.h '#include "core/text/b.h"' '#include "ui/views/v.h"' '#include <QString>'
write core/text/b.cpp '#include "cp932_table.inc"' '#include "testing/core/fake.h"'
write platform/qt/p.cpp '#include "core/text/a.h"' '#include "ui/views/v.h"' '#include <QIcon>'
write ui/views/v.h '#include "platform/qt/p.h"' '#include "app/x.h"'
write cli/c.cpp '#include "platform/system_file_types.h"' '#include "platform/qt/qt_text.h"' \
    '#include <glib.h>'
write testing/core/fake.h '#include "core/text/a.h"' '#include "ui/seams/m.h"'
write testing/ui/s.h '#include "ui/seams/m.h"' '#include "testing/core/fake.h"'
write tests/unit/t.cpp '#include "testing/ui/s.h"' '#include "cli/c.h"' '#include <QTest>'
# The rooms' order, and the spellings that once slipped past the check.
write core/os/o.h '#include "core/text/a.h"' '#include "core/views/w.h"' '#include <core/views/w.h>' \
    '#include "../text/a.h"' '#include <qstring.h>' '#include <QtCore/QString>'
write core/views/w.h '#include "core/os/o.h"' '#include "core/search/s.h"'
write ui/views/v2.h '#include "ui/seams/m.h"' '#include "ui/frame/f.h"'

expected=(
    'core/text/a.h:2: includes "ui/views/v.h"'
    'core/text/a.h:3: includes <QString>'
    'core/text/b.cpp:2: includes "testing/core/fake.h"'
    'platform/qt/p.cpp:2: includes "ui/views/v.h"'
    'ui/views/v.h:2: includes "app/x.h"'
    'cli/c.cpp:2: includes "platform/qt/qt_text.h"'
    'cli/c.cpp:3: includes <glib.h>'
    'testing/core/fake.h:2: includes "ui/seams/m.h"'
    'core/os/o.h:2: includes "core/views/w.h" (core/views is not below core/os)'
    'core/os/o.h:3: includes "core/views/w.h" (core/views is not below core/os)'
    'core/os/o.h:4: includes "../text/a.h"'
    'core/os/o.h:5: includes <qstring.h>'
    'core/os/o.h:6: includes <QtCore/QString>'
    'core/views/w.h:2: includes "core/search/s.h" (core/search is not below core/views)'
    'ui/views/v2.h:2: includes "ui/frame/f.h" (ui/frame is not below ui/views)'
)
if output=$("$check" "$tree"); then
    echo "the check passed a tree with crossings"
    exit 1
fi
status=0
for line in "${expected[@]}"; do
    grep -qF "$line" <<<"$output" || { echo "not reported: $line"; status=1; }
done
reported=$(grep -c ': includes ' <<<"$output")
[ "$reported" -eq ${#expected[@]} ] || { echo "reported $reported, expected ${#expected[@]}:"; echo "$output"; status=1; }

# Without the crossings the same tree passes.
sed -i '/ui\/views\/v.h\|QString\|testing\/core/d' core/text/a.h core/text/b.cpp
sed -i '/ui\/views/d' platform/qt/p.cpp
sed -i '/app\/x.h/d' ui/views/v.h
sed -i '/qt_text\|glib/d' cli/c.cpp
sed -i '/ui\/seams/d' testing/core/fake.h
sed -i '/views\|\.\.\|qstring\|QtCore/d' core/os/o.h
sed -i '/core\/search/d' core/views/w.h
sed -i '/ui\/frame/d' ui/views/v2.h
"$check" "$tree" >/dev/null || { echo "the check failed a tree without crossings"; "$check" "$tree"; status=1; }
[ $status -eq 0 ] && echo "the layering check finds every crossing"
exit $status
