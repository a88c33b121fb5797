// A child process that answers requests one at a time, for work that may block inside the
// kernel beyond the reach of any signal, as a look at a file system that no longer answers
// does. The caller waits for an answer at most until a deadline; a helper that overruns it is
// killed and left behind, never waited for, so that the program can always end. A helper
// left behind is reaped once it ends, and until then never becomes a zombie the program waits
// on.
//
// The child is a copy of the program as it was when the helper started: it runs the serving
// function it was given, with everything that function holds. Keep helpers for a round of
// work rather than for the program's life, so that the copy does not outlive what it copied.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kantoria {

class HelperProcess {
  public:
    using Serve = std::function<std::string(std::string_view request)>;

    // Starts a helper that answers each request with serve(request). Null where the system
    // has no such processes (Windows: callers look on their own threads there) or cannot
    // make one now.
    static std::unique_ptr<HelperProcess> Start(const Serve& serve);
    // An idle helper is ended; a busy or stuck one is killed and left behind.
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    // Sends request and waits for the answer until deadline. No answer (the deadline passed,
    // or the helper died): the helper is left behind and asked nothing more.
    std::optional<std::string> Ask(std::string_view request,
                                   std::chrono::steady_clock::time_point deadline);
    // Whether the helper was left behind and has not ended yet.
    bool Stuck();

  private:
    HelperProcess(int pid, int socket) : pid_(pid), socket_(socket) {}
    void LeaveBehind();

    int pid_;
    int socket_;
    bool leftBehind_ = false;
    bool ended_ = false;  // reaped
};

// The helpers left behind by helper objects already gone that are still running; reaps
// those that have ended.
int HelpersLeftBehind();

// Kills a child process of the program's own that may be held by the kernel, and leaves it
// behind as a stuck helper is: reaped once it ends, never waited for.
void LeaveChildBehind(int pid);

}  // namespace kantoria
