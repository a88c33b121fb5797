#include "core/os/serving_worker.h"

namespace kantoria {

struct ServingWorker::Process {};

// Windows would need a job object per worker; the content index is not built there.
ServingWorker::ServingWorker(std::vector<std::string> argv, const RunLimits& limits,
                             int requestsPerWorker)
    : argv_(std::move(argv)), limits_(limits), requestsPerWorker_(requestsPerWorker) {}

ServingWorker::~ServingWorker() = default;

RunOutcome ServingWorker::Ask(std::string_view, const std::function<bool()>&) {
    RunOutcome outcome;
    outcome.errorLine = "not available on this system";
    return outcome;
}

}  // namespace kantoria
