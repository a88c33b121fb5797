// Running a program that reads untrusted input, under limits it cannot lift: a document made
// to exhaust memory, loop for ever or crash costs a bounded share of the machine and ends in
// an outcome the caller reads, never in the caller's own crash or hang.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kantoria {

struct RunLimits {
    std::uint64_t addressSpace = std::uint64_t{512} << 20;  // bytes; 0: no limit
    int cpuSeconds = 10;                                    // 0: no limit
    std::chrono::milliseconds wall{20000};
    std::size_t outputCap = std::size_t{9} << 20;  // more standard output stops the program
};

enum class RunEnd {
    Exited,     // code holds the exit status
    Signalled,  // code holds the signal that ended it
    TimedOut,   // the wall time ran out: killed, and left behind if it did not end at once
    TooMuchOutput,
    NotStarted,  // no program there, or the system could not start one (error holds why)
    Cancelled,   // the caller gave up waiting: killed at once and left behind
};

struct RunOutcome {
    RunEnd end = RunEnd::NotStarted;
    int code = 0;
    std::string output;     // standard output, at most the cap
    std::string errorLine;  // the first line of standard error
};

// Runs argv[0] with the arguments argv (no shell), standard input empty. Where the system
// cannot limit a child (Windows), answers NotStarted.
RunOutcome RunLimited(const std::vector<std::string>& argv, const RunLimits& limits);

// Whether the address-space limit is applied: not under AddressSanitizer, whose shadow memory
// alone exceeds any such limit.
bool AddressSpaceLimitApplies();

}  // namespace kantoria
