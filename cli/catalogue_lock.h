// The lock that every command writing a catalogue holds from its read to its write: taken or
// the command fails, and never waited for without end or without a word.
#pragma once

#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/os/file_lock.h"

namespace kantoria::cli {

// How long a writing command waits for another writer before it gives up as busy.
inline constexpr std::chrono::milliseconds kDefaultLockWait{10000};
// How long it waits before it says that it is waiting.
inline constexpr std::chrono::milliseconds kQuietLockWait{1000};

// Takes "--wait SECONDS" out of args into wait. Answers an error text, empty when the option is
// absent or good.
std::string TakeWaitOption(std::vector<std::string>& args, std::chrono::milliseconds& wait);

// The lock on catalogue, waiting at most wait and saying so on err after kQuietLockWait; nullptr
// once the failure is told on err in one line.
std::unique_ptr<FileLock> LockCatalogue(const std::string& catalogue,
                                        std::chrono::milliseconds wait, std::ostream& err);

}  // namespace kantoria::cli
