#include "core/os/helper_process.h"

namespace kantoria {

// Windows has no fork: the presence checker looks on its own threads there.
std::unique_ptr<HelperProcess> HelperProcess::Start(const Serve&) {
    return nullptr;
}

HelperProcess::~HelperProcess() = default;

std::optional<std::string> HelperProcess::Ask(std::string_view,
                                              std::chrono::steady_clock::time_point) {
    return std::nullopt;
}

bool HelperProcess::Stuck() {
    return false;
}

void HelperProcess::LeaveBehind() {}

int HelpersLeftBehind() {
    return 0;
}

void LeaveChildBehind(int) {}

}  // namespace kantoria
