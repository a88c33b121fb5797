#include "core/os/mount_table.h"

namespace kantoria {

// Windows keeps no table of this kind: every path lies on the unknown mount, which the
// presence checker bounds as one.
MountTable ReadSystemMountTable() {
    return {};
}

}  // namespace kantoria
