#include "core/os/helper_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace kantoria {
namespace {

using Clock = std::chrono::steady_clock;

// An answer larger than this is taken for a broken helper.
constexpr std::uint32_t kLargestAnswer = 256u << 20;

std::mutex leftBehindMutex;
// Helpers left behind whose objects are gone, to be reaped once they end.
std::vector<pid_t> leftBehind;

// Whether pid has ended, reaping it if so. A pid that is no child of ours any more (reaped
// elsewhere, or SIGCHLD ignored) has ended too.
bool Reap(pid_t pid) {
    for (;;) {
        const pid_t got = ::waitpid(pid, nullptr, WNOHANG);
        if (got == pid) return true;
        if (got == 0) return false;
        if (errno != EINTR) return true;
    }
}

// The child's side: plain blocking transfers on fd 0.
bool ReadAll(char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::read(0, data, size);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        data += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool WriteAll(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t done = ::send(0, data, size, MSG_NOSIGNAL);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

[[noreturn]] void ServeInChild(int socket, const HelperProcess::Serve& serve) {
    // Nothing else the program has open stays open here: a helper stuck for hours must not
    // hold a catalogue's lock, nor the pipe someone reads the program's output from.
    if (socket != 0 && ::dup2(socket, 0) != 0) ::_exit(1);
    if (::close_range(1, ~0u, 0) != 0) {
        const long most = std::min(::sysconf(_SC_OPEN_MAX), 65536L);
        for (int fd = 1; fd < most; ++fd) ::close(fd);
    }
    try {
        for (;;) {
            std::uint32_t size = 0;
            if (!ReadAll(reinterpret_cast<char*>(&size), sizeof size)) ::_exit(0);
            std::string request(size, '\0');
            if (!ReadAll(request.data(), size)) ::_exit(0);
            const std::string answer = serve(request);
            const auto answerSize = static_cast<std::uint32_t>(answer.size());
            if (!WriteAll(reinterpret_cast<const char*>(&answerSize), sizeof answerSize) ||
                !WriteAll(answer.data(), answer.size()))
                ::_exit(0);
        }
    } catch (...) {
        ::_exit(1);
    }
}

// The parent's side: moves size bytes, waiting for the helper no later than deadline.
bool Transfer(int socket, char* data, std::size_t size, bool sending, Clock::time_point deadline) {
    while (size > 0) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd ready{socket, static_cast<short>(sending ? POLLOUT : POLLIN), 0};
        const int polled =
            ::poll(&ready, 1, static_cast<int>(std::clamp<long long>(left, 0, 1 << 30)));
        if (polled < 0 && errno == EINTR) continue;
        if (polled <= 0) return false;
        const ssize_t done = sending ? ::send(socket, data, size, MSG_NOSIGNAL | MSG_DONTWAIT)
                                     : ::recv(socket, data, size, MSG_DONTWAIT);
        if (done < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (done <= 0) return false;
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

}  // namespace

std::unique_ptr<HelperProcess> HelperProcess::Start(const Serve& serve) {
    (void)HelpersLeftBehind();
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) return nullptr;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(sockets[0]);
        ServeInChild(sockets[1], serve);
    }
    ::close(sockets[1]);
    if (pid < 0) {
        ::close(sockets[0]);
        return nullptr;
    }
    return std::unique_ptr<HelperProcess>(new HelperProcess(pid, sockets[0]));
}

HelperProcess::~HelperProcess() {
    if (!leftBehind_) {
        // Idle, waiting for a request: it ends at once. Should it not, it is left behind.
        LeaveBehind();
        for (int i = 0; i < 200; ++i) {
            if (Reap(pid_)) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    } else if (ended_ || Reap(pid_)) {
        return;
    }
    const std::lock_guard lock(leftBehindMutex);
    leftBehind.push_back(pid_);
}

std::optional<std::string> HelperProcess::Ask(std::string_view request,
                                              std::chrono::steady_clock::time_point deadline) {
    if (leftBehind_ || request.size() > kLargestAnswer) return std::nullopt;
    std::string message(sizeof(std::uint32_t), '\0');
    const auto size = static_cast<std::uint32_t>(request.size());
    std::copy_n(reinterpret_cast<const char*>(&size), sizeof size, message.begin());
    message += request;
    std::uint32_t answerSize = 0;
    std::string answer;
    const bool answered =
        Transfer(socket_, message.data(), message.size(), true, deadline) &&
        Transfer(socket_, reinterpret_cast<char*>(&answerSize), sizeof answerSize, false,
                 deadline) &&
        answerSize <= kLargestAnswer &&
        (answer.resize(answerSize), Transfer(socket_, answer.data(), answerSize, false, deadline));
    if (!answered) {
        LeaveBehind();
        return std::nullopt;
    }
    return answer;
}

bool HelperProcess::Stuck() {
    if (!leftBehind_ || ended_) return false;
    ended_ = Reap(pid_);
    return !ended_;
}

void HelperProcess::LeaveBehind() {
    // Killing cannot free a process the kernel holds in a file system, but it ends the helper
    // the moment the file system lets go.
    ::kill(pid_, SIGKILL);
    ::close(socket_);
    leftBehind_ = true;
}

int HelpersLeftBehind() {
    const std::lock_guard lock(leftBehindMutex);
    std::erase_if(leftBehind, Reap);
    return static_cast<int>(leftBehind.size());
}

void LeaveChildBehind(int pid) {
    ::kill(pid, SIGKILL);
    if (Reap(pid)) return;
    const std::lock_guard lock(leftBehindMutex);
    leftBehind.push_back(pid);
}

}  // namespace kantoria
