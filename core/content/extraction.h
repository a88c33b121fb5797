// One document's text, from the separate extraction program run under limits: whatever a
// hostile document does to that program, the indexer gets an outcome with a reason.
#pragma once

#include <cstddef>
#include <string>

#include "core/os/limited_run.h"

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

// The outcome of one run, read as the extraction program's exit codes say.
ExtractionResult ReadExtractorOutcome(RunOutcome outcome, const RunLimits& limits);

// The extraction program beside the running program, or the one KANTORIA_EXTRACT names.
std::string DefaultExtractor();

}  // namespace kantoria
