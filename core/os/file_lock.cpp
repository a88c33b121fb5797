#include "core/os/file_lock.h"

#include "core/os/save_names.h"

namespace kantoria {

bool IsLockFileFailure(const Status& status) {
    return !status && status.reason().starts_with(kLockFileWords);
}

bool IsLockFileOf(std::string_view targetName, std::string_view name) {
    return name.size() == 1 + targetName.size() + kLockSuffix.size() && name[0] == '.' &&
           name.substr(1, targetName.size()) == targetName && name.ends_with(kLockSuffix);
}

Status LockHeldElsewhere() {
    return Status::Failed(StatusCode::Busy, "another program is writing it");
}

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& systemPath, Status& status) {
    return AcquireBefore(systemPath, status, std::nullopt);
}

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& systemPath, Status& status,
                                            std::chrono::milliseconds patience) {
    return AcquireBefore(systemPath, status, std::chrono::steady_clock::now() + patience);
}

std::unique_ptr<FileLock> FileLock::Make(int fd, std::string path) {
    return std::unique_ptr<FileLock>(new FileLock(fd, std::move(path)));
}

}  // namespace kantoria
