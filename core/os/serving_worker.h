// A program kept running to serve requests one at a time (serve_frame.h), so that a stream of
// small jobs does not pay for starting a program each time, under the same limits a program
// run once per job has (limited_run.h):
// - wall time: each request has its own deadline; a worker that misses it is killed, left
//   behind (never waited for) and replaced by a fresh one for the next request;
// - processor time: before each request the worker's limit is set to what it has used plus
//   the per-request allowance, so that no request inherits a budget spent by the ones before;
//   a worker whose hard limit is near (or after requestsPerWorker requests, which also bounds
//   whatever its libraries leak) is replaced instead;
// - address space: per worker, as for one run;
// - output: an answer longer than the cap is refused and the worker replaced.
// A worker that crashes costs only the request it was serving. Where the system cannot limit a
// child (Windows), every answer is NotStarted.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/os/limited_run.h"

namespace kantoria {

class ServingWorker {
  public:
    // argv: the program and the arguments that make it serve (no shell). Nothing starts yet.
    ServingWorker(std::vector<std::string> argv, const RunLimits& limits,
                  int requestsPerWorker = 250);
    // A running worker is killed and left behind: never waited for.
    ~ServingWorker();
    ServingWorker(const ServingWorker&) = delete;
    ServingWorker& operator=(const ServingWorker&) = delete;

    // Serves one request, starting a worker when none runs. The answer comes as one run's
    // would: Exited with the answer's code, its text as output and its reason as errorLine.
    // cancelled, when given, is asked every few hundredths of a second while waiting: when it
    // answers true the worker is killed at once and the outcome is Cancelled.
    RunOutcome Ask(std::string_view request, const std::function<bool()>& cancelled = {});

    // How many workers were started so far.
    int starts() const { return starts_; }

    struct Process;

  private:
    std::vector<std::string> argv_;
    RunLimits limits_;
    int requestsPerWorker_;
    int starts_ = 0;
    std::unique_ptr<Process> process_;
};

}  // namespace kantoria
