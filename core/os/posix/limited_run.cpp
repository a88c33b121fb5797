#include "core/os/limited_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "core/os/helper_process.h"
#include "core/os/posix/child_limits.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KANTORIA_UNDER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KANTORIA_UNDER_ASAN 1
#endif

namespace kantoria {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kErrorKept = 4096;

// The child's side, between fork and exec: only calls that are safe after a fork in a program
// with threads.
[[noreturn]] void StartChild(char* const* argv, int out, int err, const RunLimits& limits) {
    const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (nothing < 0 || ::dup2(nothing, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
        ::_exit(127);
    ::close_range(3, ~0u, 0);
    // A second past the soft limit, the hard one kills what ignores SIGXCPU.
    const auto cpu = static_cast<rlim_t>(std::max(limits.cpuSeconds, 0));
    LimitChild(limits, cpu, cpu + 1);
    ::execv(argv[0], argv);
    ::_exit(127);
}

struct Pipes {
    int out[2] = {-1, -1};
    int err[2] = {-1, -1};
    ~Pipes() {
        for (const int fd : {out[0], out[1], err[0], err[1]})
            if (fd >= 0) ::close(fd);
    }
};

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Reads both pipes until they close, the output passes the cap or the deadline comes.
RunEnd Collect(Pipes& pipes, RunOutcome& outcome, const RunLimits& limits,
               Clock::time_point deadline) {
    std::string error;
    char buffer[65536];
    while (pipes.out[0] >= 0 || pipes.err[0] >= 0) {
        pollfd ready[2] = {{pipes.out[0], POLLIN, 0}, {pipes.err[0], POLLIN, 0}};
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return RunEnd::TimedOut;
        const int polled = ::poll(ready, 2, static_cast<int>(std::min<long long>(left, 1 << 30)));
        if (polled < 0 && errno != EINTR) return RunEnd::TimedOut;
        for (int i = 0; i < 2 && polled > 0; ++i) {
            if (ready[i].revents == 0) continue;
            int& fd = i == 0 ? pipes.out[0] : pipes.err[0];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) {
                CloseFd(fd);
                continue;
            }
            std::string& to = i == 0 ? outcome.output : error;
            const std::size_t room = (i == 0 ? limits.outputCap : kErrorKept) - to.size();
            to.append(buffer, std::min(room, static_cast<std::size_t>(got)));
            if (i == 0 && static_cast<std::size_t>(got) > room) return RunEnd::TooMuchOutput;
        }
    }
    outcome.errorLine = error.substr(0, error.find('\n'));
    return RunEnd::Exited;
}

// Waits for the child's end until the deadline; answers the raw wait status, or -1 when it
// had to be killed and left behind.
int WaitForEnd(pid_t pid, Clock::time_point deadline) {
    auto pause = std::chrono::microseconds(50);
    for (;;) {
        int status = 0;
        const pid_t got = ::waitpid(pid, &status, WNOHANG);
        if (got == pid) return status;
        if (got < 0 && errno != EINTR) return 0;
        if (Clock::now() >= deadline) {
            LeaveChildBehind(pid);
            return -1;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
}

}  // namespace

bool AddressSpaceLimitApplies() {
#ifdef KANTORIA_UNDER_ASAN
    return false;
#else
    return true;
#endif
}

RunOutcome RunLimited(const std::vector<std::string>& argv, const RunLimits& limits) {
    RunOutcome outcome;
    if (argv.empty() || ::access(argv[0].c_str(), X_OK) != 0) {
        outcome.errorLine = argv.empty() ? "no program" : "no program at " + argv[0];
        return outcome;
    }
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    Pipes pipes;
    if (::pipe2(pipes.out, O_CLOEXEC) != 0 || ::pipe2(pipes.err, O_CLOEXEC) != 0) {
        outcome.errorLine = "cannot make a pipe";
        return outcome;
    }
    const auto deadline = Clock::now() + limits.wall;
    const pid_t pid = ::fork();
    if (pid == 0) StartChild(args.data(), pipes.out[1], pipes.err[1], limits);
    CloseFd(pipes.out[1]);
    CloseFd(pipes.err[1]);
    if (pid < 0) {
        outcome.errorLine = "cannot start a process";
        return outcome;
    }
    outcome.end = Collect(pipes, outcome, limits, deadline);
    if (outcome.end != RunEnd::Exited) {
        // Killed at once: a child held by a file system that does not answer is left behind.
        LeaveChildBehind(pid);
        return outcome;
    }
    const int status = WaitForEnd(pid, deadline);
    if (status < 0) {
        outcome.end = RunEnd::TimedOut;
    } else if (WIFSIGNALED(status)) {
        outcome.end = RunEnd::Signalled;
        outcome.code = WTERMSIG(status);
    } else {
        outcome.code = WEXITSTATUS(status);
    }
    return outcome;
}

}  // namespace kantoria
