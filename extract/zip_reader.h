// Members of a ZIP archive held in memory, inflated under caps: no member beyond maxMember
// bytes, none inflating beyond maxRatio times its compressed size, and not more in all than a
// few members' worth. The caps are checked while inflating, so a header that understates a
// member's size does not get it past them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "extract/extract_result.h"

struct zip;

namespace kantoria {

class ZipReader {
  public:
    explicit ZipReader(const ExtractLimits& limits) : limits_(limits) {}
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;
    ~ZipReader();

    // Opens the archive in bytes, which must outlive the reader.
    Extracted Open(std::string_view bytes);
    // The members' names, in the archive's order.
    std::vector<std::string> Names() const;
    bool Has(const std::string& name) const;
    // Replaces out with the inflated member; fails for a missing, damaged or encrypted member
    // and for one over a cap.
    Extracted Read(const std::string& name, std::string& out);

  private:
    Extracted ReadIndex(std::uint64_t index, std::uint64_t compressed, std::string& out);

    ExtractLimits limits_;
    struct zip* archive_ = nullptr;
    std::uint64_t inflatedInAll_ = 0;
};

// Below this many inflated bytes a member's ratio is not held against it: small, repetitive
// XML parts legitimately compress very well.
inline constexpr std::uint64_t kRatioFloor = 1u << 20;

}  // namespace kantoria
