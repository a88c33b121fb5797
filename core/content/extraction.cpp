#include "core/content/extraction.h"

#include <signal.h>

#include <cstdlib>
#include <filesystem>

namespace kantoria {
namespace {

// The extraction program's exit codes.
constexpr int kExitText = 0;
constexpr int kExitUnsupported = 10;
constexpr int kExitFailed = 11;
constexpr int kExitNotRegular = 12;
constexpr int kExitChanged = 13;

ExtractionResult Failed(std::string reason) {
    return {Extracted::Failed, {}, std::move(reason)};
}

std::string SignalReason(int signal, const RunLimits& limits) {
#ifdef SIGXCPU
    if (signal == SIGXCPU || signal == SIGKILL)
        return "stopped after " + std::to_string(limits.cpuSeconds) + " s of processor time";
#endif
    if (signal == SIGABRT) return "the extraction stopped (out of memory or a fault)";
    return "the extraction crashed (signal " + std::to_string(signal) + ")";
}

std::string ExitReason(const RunOutcome& outcome, std::string_view fallback) {
    return outcome.errorLine.empty() ? std::string(fallback) : outcome.errorLine;
}

}  // namespace

ExtractionResult ReadExtractorOutcome(RunOutcome outcome, const RunLimits& limits) {
    switch (outcome.end) {
        case RunEnd::NotStarted:
            return Failed("the extraction program could not start: " + outcome.errorLine);
        case RunEnd::Cancelled:
            return Failed("the reading was stopped");
        case RunEnd::TimedOut:
            return Failed("no text after " + std::to_string(limits.wall.count() / 1000) + " s");
        case RunEnd::TooMuchOutput:
            return Failed("the extraction gave more text than its limit");
        case RunEnd::Signalled:
            return Failed(SignalReason(outcome.code, limits));
        case RunEnd::Exited:
            break;
    }
    switch (outcome.code) {
        case kExitText:
            return {Extracted::Text, std::move(outcome.output), {}};
        case kExitUnsupported:
            return {Extracted::Unsupported, {}, ExitReason(outcome, "not a kind of document read")};
        case kExitNotRegular:
            return Failed("not a regular file");
        case kExitChanged:
            return Failed("changed while it was read");
        case kExitFailed:
            return Failed(ExitReason(outcome, "the extraction failed"));
        default:
            return Failed("the extraction ended with status " + std::to_string(outcome.code));
    }
}

ExtractionResult ExtractText(const std::string& extractor, const std::string& systemPath,
                             const RunLimits& limits) {
    // The program stops at its own text limit, a little below the cap on what is read back.
    // A path is never taken for an option.
    const std::string path = systemPath.starts_with('-') ? "./" + systemPath : systemPath;
    const std::vector<std::string> argv = {extractor, "--max-text", std::to_string(kTextLimit),
                                           path};
    RunOutcome outcome = RunLimited(argv, limits);
    if (outcome.end == RunEnd::Exited && outcome.code == kExitChanged)
        outcome = RunLimited(argv, limits);
    return ReadExtractorOutcome(std::move(outcome), limits);
}

ExtractionWorker::ExtractionWorker(const std::string& extractor, const RunLimits& limits)
    : limits_(limits),
      worker_({extractor, "--serve", "--max-text", std::to_string(kTextLimit)}, limits) {}

ExtractionResult ExtractionWorker::Extract(const std::string& systemPath,
                                           const std::function<bool()>& cancelled) {
    RunOutcome outcome = worker_.Ask(systemPath, cancelled);
    if (outcome.end == RunEnd::Exited && outcome.code == kExitChanged)
        outcome = worker_.Ask(systemPath, cancelled);
    return ReadExtractorOutcome(std::move(outcome), limits_);
}

std::string DefaultExtractor() {
    if (const char* named = std::getenv("KANTORIA_EXTRACT"); named && *named) return named;
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "kantoria-extract";
    // Beside the program in a build folder; installed, a private helper of the package.
    const std::filesystem::path beside = self.parent_path() / "kantoria-extract";
    const std::filesystem::path installed =
        self.parent_path().parent_path() / "libexec" / "kantoria" / "kantoria-extract";
    if (!std::filesystem::exists(beside, error) && std::filesystem::exists(installed, error))
        return installed.string();
    return beside.string();
}

}  // namespace kantoria
