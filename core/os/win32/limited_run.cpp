#include "core/os/limited_run.h"

namespace kantoria {

// Windows would need a job object per document; the content index is not built there.
RunOutcome RunLimited(const std::vector<std::string>&, const RunLimits&) {
    RunOutcome outcome;
    outcome.errorLine = "not available on this system";
    return outcome;
}

bool AddressSpaceLimitApplies() {
    return false;
}

}  // namespace kantoria
