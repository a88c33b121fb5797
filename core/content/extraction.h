// One document's text, from the separate extraction program run under limits: whatever a
// hostile document does to that program, the indexer gets an outcome with a reason.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "core/os/limited_run.h"
#include "core/os/serving_worker.h"

namespace kantoria {

// The most text kept of one document.
inline constexpr std::size_t kTextLimit = std::size_t{8} << 20;

enum class Extracted {
    Text,
    Unsupported,  // a kind of document the program cannot read (reason says why)
    Failed,       // reason says why
};

struct ExtractionResult {
    Extracted kind = Extracted::Failed;
    std::string text;
    std::string reason;
};

// The text of the file at systemPath through the program at extractor. A file that changed
// while it was read is tried once more.
ExtractionResult ExtractText(const std::string& extractor, const std::string& systemPath,
                             const RunLimits& limits);

// The extraction program kept running to read one document after another, under the same
// limits per document as a run of its own (serving_worker.h): a document that crashes it,
// exhausts a limit or floods it costs only itself. Not shared between threads.
class ExtractionWorker {
  public:
    ExtractionWorker(const std::string& extractor, const RunLimits& limits);
    // As ExtractText. When cancelled answers true the worker is killed at once and the result
    // (Failed) says the reading was stopped: it tells nothing about the document.
    ExtractionResult Extract(const std::string& systemPath,
                             const std::function<bool()>& cancelled = {});
    int starts() const { return worker_.starts(); }

  private:
    RunLimits limits_;
    ServingWorker worker_;
};

// The outcome of one run, read as the extraction program's exit codes say.
ExtractionResult ReadExtractorOutcome(RunOutcome outcome, const RunLimits& limits);

// The extraction program beside the running program, or the one KANTORIA_EXTRACT names.
std::string DefaultExtractor();

}  // namespace kantoria
