#include "core/os/serving_worker.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "core/os/helper_process.h"
#include "core/os/posix/child_limits.h"
#include "core/os/serve_frame.h"

namespace kantoria {

using Clock = std::chrono::steady_clock;

struct ServingWorker::Process {
    pid_t pid = -1;
    int socket = -1;
    int served = 0;
    ~Process() {
        if (socket >= 0) ::close(socket);
        // Idle or stuck alike: killed, reaped once it ends, never waited for.
        if (pid > 0) LeaveChildBehind(pid);
    }
};

namespace {

using Process = ServingWorker::Process;

// The worker's hard limit on processor time, in per-request allowances: it bounds what a
// worker that ignores SIGXCPU can take, and how often a busy worker is replaced.
constexpr int kAllowancesPerWorker = 4;
// How often a caller's wish to give up is asked while waiting.
constexpr auto kSlice = std::chrono::milliseconds(40);
// A worker never ends on its own while asked: an exit without an answer counts as a fault,
// even an exit that says all went well.
constexpr int kNoAnswer = 255;

rlim_t CpuHardLimit(const RunLimits& limits) {
    return static_cast<rlim_t>(limits.cpuSeconds) * kAllowancesPerWorker + 1;
}

// The child's side: the socket is both its standard input and output.
[[noreturn]] void StartServer(char* const* argv, int socket, const RunLimits& limits) {
    const int nothing = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nothing < 0 || ::dup2(socket, 0) < 0 || ::dup2(socket, 1) < 0 || ::dup2(nothing, 2) < 0)
        ::_exit(127);
    ::close_range(3, ~0u, 0);
    LimitChild(limits, static_cast<rlim_t>(std::max(limits.cpuSeconds, 0)), CpuHardLimit(limits));
    ::execv(argv[0], argv);
    ::_exit(127);
}

std::unique_ptr<Process> Spawn(const std::vector<std::string>& argv, const RunLimits& limits,
                               std::string& error) {
    if (argv.empty() || ::access(argv[0].c_str(), X_OK) != 0) {
        error = argv.empty() ? "no program" : "no program at " + argv[0];
        return nullptr;
    }
    (void)HelpersLeftBehind();  // reaps the workers left behind that have ended since
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) {
        error = "cannot make a socket";
        return nullptr;
    }
    auto process = std::make_unique<Process>();
    process->socket = sockets[0];
    process->pid = ::fork();
    if (process->pid == 0) StartServer(args.data(), sockets[1], limits);
    ::close(sockets[1]);
    if (process->pid < 0) error = "cannot start a process";
    return process->pid < 0 ? nullptr : std::move(process);
}

// Gives the next request a whole allowance of processor time: the soft limit becomes what
// the worker has used, rounded up, plus the allowance. False when the hard limit leaves no
// room for that (or the limit cannot be set): the worker must be replaced.
bool GrantCpuAllowance(const Process& process, const RunLimits& limits) {
    if (limits.cpuSeconds <= 0) return true;
    clockid_t clock;
    timespec used{};
    if (::clock_getcpuclockid(process.pid, &clock) != 0 || ::clock_gettime(clock, &used) != 0)
        return false;
    const auto soft = static_cast<rlim_t>(used.tv_sec + 1 + limits.cpuSeconds);
    const rlim_t hard = CpuHardLimit(limits);
    if (soft >= hard) return false;
    const rlimit cpu{soft, hard};
    return ::prlimit(process.pid, RLIMIT_CPU, &cpu, nullptr) == 0;
}

bool SendAll(int socket, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// Waits up to the deadline, a slice at a time, until ready() says yes or cancelled() does.
RunEnd WaitSlices(Clock::time_point deadline, const std::function<bool()>& cancelled,
                  const std::function<bool(std::chrono::milliseconds)>& ready) {
    for (;;) {
        if (cancelled && cancelled()) return RunEnd::Cancelled;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return RunEnd::TimedOut;
        if (ready(std::min(left, std::chrono::duration_cast<std::chrono::milliseconds>(kSlice))))
            return RunEnd::Exited;
    }
}

// The end of a worker that closed its side without answering.
RunEnd ReadEnd(const Process& process, RunOutcome& outcome, Clock::time_point deadline,
               const std::function<bool()>& cancelled) {
    int status = 0;
    const RunEnd end = WaitSlices(deadline, cancelled, [&](std::chrono::milliseconds pause) {
        const pid_t got = ::waitpid(process.pid, &status, WNOHANG);
        if (got == process.pid || (got < 0 && errno != EINTR)) return true;
        std::this_thread::sleep_for(std::min(pause, std::chrono::milliseconds(2)));
        return false;
    });
    if (end != RunEnd::Exited) return end;
    if (WIFSIGNALED(status)) {
        outcome.code = WTERMSIG(status);
        return RunEnd::Signalled;
    }
    outcome.code = WIFEXITED(status) && WEXITSTATUS(status) != 0 ? WEXITSTATUS(status) : kNoAnswer;
    return RunEnd::Exited;
}

RunEnd TakeAnswer(AnswerReader& reader, RunOutcome& outcome) {
    ServedAnswer& answer = reader.answer();
    outcome.code = answer.code;
    outcome.output = std::move(answer.text);
    outcome.errorLine = std::move(answer.reason);
    return RunEnd::Exited;
}

// Reads the answer to the request just sent. Anything but a whole answer leaves the worker
// unfit for another request.
RunEnd Receive(const Process& process, RunOutcome& outcome, const RunLimits& limits,
               const std::function<bool()>& cancelled, bool& fit) {
    const auto deadline = Clock::now() + limits.wall;
    AnswerReader reader(limits.outputCap);
    bool closed = false;
    char buffer[65536];
    const RunEnd waited = WaitSlices(deadline, cancelled, [&](std::chrono::milliseconds pause) {
        pollfd ready{process.socket, POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(pause.count())) <= 0) return false;
        const ssize_t got = ::read(process.socket, buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) return false;
        if (got <= 0) {
            closed = true;
            return true;
        }
        const auto state = reader.Feed({buffer, static_cast<std::size_t>(got)});
        return state != AnswerReader::State::Partial;
    });
    if (waited != RunEnd::Exited) return waited;
    if (closed) return ReadEnd(process, outcome, deadline, cancelled);
    switch (reader.state()) {
        case AnswerReader::State::Complete:
            fit = true;
            return TakeAnswer(reader, outcome);
        case AnswerReader::State::TooLong:
            return RunEnd::TooMuchOutput;
        default:
            outcome.code = kNoAnswer;
            return RunEnd::Exited;
    }
}

}  // namespace

ServingWorker::ServingWorker(std::vector<std::string> argv, const RunLimits& limits,
                             int requestsPerWorker)
    : argv_(std::move(argv)), limits_(limits), requestsPerWorker_(std::max(1, requestsPerWorker)) {}

ServingWorker::~ServingWorker() = default;

RunOutcome ServingWorker::Ask(std::string_view request, const std::function<bool()>& cancelled) {
    RunOutcome outcome;
    const std::optional<std::string> framed = FrameRequest(request);
    if (!framed) {
        outcome.errorLine = "a request holding a NUL";
        return outcome;
    }
    if (process_ &&
        (process_->served >= requestsPerWorker_ || !GrantCpuAllowance(*process_, limits_)))
        process_.reset();
    if (!process_) {
        process_ = Spawn(argv_, limits_, outcome.errorLine);
        if (!process_) return outcome;
        ++starts_;
    }
    ++process_->served;
    bool fit = false;
    // A worker that died before it read the request tells how when its answer is read.
    (void)SendAll(process_->socket, *framed);
    outcome.end = Receive(*process_, outcome, limits_, cancelled, fit);
    if (!fit) process_.reset();
    return outcome;
}

}  // namespace kantoria
