#include "cli/catalogue_lock.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/text/text_codec.h"

namespace kantoria::cli {
namespace {

// A day is longer than anyone waits at a terminal, and keeps the milliseconds in range.
constexpr double kLongestWait = 86400;

}  // namespace

std::string TakeWaitOption(std::vector<std::string>& args, std::chrono::milliseconds& wait) {
    const auto option = std::find(args.begin(), args.end(), "--wait");
    if (option == args.end()) return "";
    if (option + 1 == args.end()) return "--wait needs a number of seconds";
    const std::string& text = *(option + 1);
    char* end = nullptr;
    const double seconds = text.empty() ? -1 : std::strtod(text.c_str(), &end);
    if (end == nullptr || *end != '\0' || !std::isfinite(seconds) || seconds < 0 ||
        seconds > kLongestWait)
        return "--wait takes a number of seconds from 0 to 86400, not '" + text + "'";
    wait = std::chrono::milliseconds(std::llround(seconds * 1000));
    args.erase(option, option + 2);
    return "";
}

std::unique_ptr<FileLock> LockCatalogue(const std::string& catalogue,
                                        std::chrono::milliseconds wait, std::ostream& err) {
    Status status = Status::Ok();
    const std::string systemPath = ToSystemName(catalogue);
    std::unique_ptr<FileLock> lock =
        FileLock::Acquire(systemPath, status, std::min(wait, kQuietLockWait));
    if (!lock && status.code() == StatusCode::Busy && wait > kQuietLockWait) {
        err << "kantoria-cli: waiting up to " << (wait.count() + 999) / 1000
            << " s for another program writing " << catalogue << "\n";
        err.flush();
        lock = FileLock::Acquire(systemPath, status, wait - kQuietLockWait);
    }
    if (!lock) {
        err << "kantoria-cli: cannot lock " << catalogue << ": "
            << (status.code() == StatusCode::Busy ? "busy: another program is writing it"
                                                  : status.reason())
            << "\n";
    }
    return lock;
}

}  // namespace kantoria::cli
