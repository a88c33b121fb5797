// The limits of a child that reads untrusted input, set between fork and exec: only calls
// that are safe after a fork in a program with threads.
#pragma once

#include <sys/resource.h>

#include "core/os/limited_run.h"

namespace kantoria {

// Address space as limits say; processor time: the soft limit sends SIGXCPU, the hard one
// kills what ignores it. No core files.
inline void LimitChild(const RunLimits& limits, rlim_t cpuSoft, rlim_t cpuHard) {
    if (AddressSpaceLimitApplies() && limits.addressSpace > 0) {
        const rlimit memory{limits.addressSpace, limits.addressSpace};
        ::setrlimit(RLIMIT_AS, &memory);
    }
    if (limits.cpuSeconds > 0) {
        const rlimit cpu{cpuSoft, cpuHard};
        ::setrlimit(RLIMIT_CPU, &cpu);
    }
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
}

}  // namespace kantoria
