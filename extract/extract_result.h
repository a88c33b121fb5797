// What extracting one document came to, as the extraction program's exit code tells it.
#pragma once

#include <cstdint>
#include <string>

namespace kantoria {

enum class Outcome : int {
    Ok = 0,
    Unsupported = 10,  // a format this build cannot read (no reader, helper not installed)
    Failed = 11,       // damaged, encrypted, over a cap...
    NotRegular = 12,   // a folder, device, pipe or socket: never opened for reading
    Changed = 13,      // the file changed or vanished while it was read
};

struct Extracted {
    Outcome outcome = Outcome::Ok;
    std::string reason;  // one short English line, empty when Ok

    bool ok() const { return outcome == Outcome::Ok; }
    static Extracted Fine() { return {}; }
    static Extracted Fail(std::string why) { return {Outcome::Failed, std::move(why)}; }
    static Extracted Unsupported(std::string why) { return {Outcome::Unsupported, std::move(why)}; }
};

// The caps a document is read under; the indexer sets time and memory from outside.
struct ExtractLimits {
    std::uint64_t maxText = 8u << 20;     // bytes of text written
    std::uint64_t maxMember = 64u << 20;  // inflated bytes of one ZIP member
    std::uint64_t maxRatio = 100;         // inflated bytes per compressed byte of one member
};

}  // namespace kantoria
