#include "extract/zip_reader.h"

#include <zip.h>

#include <algorithm>

namespace kantoria {
namespace {

constexpr size_t kPiece = 64 * 1024;

// What may be inflated from one archive in all, counting every member read.
std::uint64_t TotalCap(const ExtractLimits& limits) {
    return limits.maxMember * 4;
}

bool OverRatio(std::uint64_t inflated, std::uint64_t compressed, const ExtractLimits& limits) {
    return inflated > kRatioFloor &&
           inflated / std::max<std::uint64_t>(compressed, 1) >= limits.maxRatio;
}

}  // namespace

ZipReader::~ZipReader() {
    if (archive_) zip_discard(archive_);
}

Extracted ZipReader::Open(std::string_view bytes) {
    if (!bytes.starts_with("PK")) return Extracted::Fail("not a ZIP archive");
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source) {
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!archive_) zip_source_free(source);
    }
    const bool inconsistent = zip_error_code_zip(&error) == ZIP_ER_NOZIP;
    zip_error_fini(&error);
    if (!archive_)
        return Extracted::Fail(inconsistent ? "not a ZIP archive" : "damaged ZIP archive");
    return Extracted::Fine();
}

std::vector<std::string> ZipReader::Names() const {
    std::vector<std::string> names;
    const zip_int64_t count = archive_ ? zip_get_num_entries(archive_, 0) : 0;
    for (zip_int64_t i = 0; i < count; ++i)
        if (const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), 0))
            names.emplace_back(name);
    return names;
}

bool ZipReader::Has(const std::string& name) const {
    return archive_ && zip_name_locate(archive_, name.c_str(), 0) >= 0;
}

Extracted ZipReader::Read(const std::string& name, std::string& out) {
    out.clear();
    const zip_int64_t index = archive_ ? zip_name_locate(archive_, name.c_str(), 0) : -1;
    zip_stat_t st;
    zip_stat_init(&st);
    if (index < 0 || zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) != 0)
        return Extracted::Fail("zip member missing: " + name);
    if (st.valid & ZIP_STAT_ENCRYPTION_METHOD && st.encryption_method != ZIP_EM_NONE)
        return Extracted::Fail("encrypted document");
    const std::uint64_t compressed = st.valid & ZIP_STAT_COMP_SIZE ? st.comp_size : 0;
    // What the header claims is checked first, to spare inflating a member it already condemns.
    if (st.valid & ZIP_STAT_SIZE) {
        if (st.size > limits_.maxMember) return Extracted::Fail("zip member too large");
        if (OverRatio(st.size, compressed, limits_))
            return Extracted::Fail("zip member compressed too far");
    }
    return ReadIndex(static_cast<std::uint64_t>(index), compressed, out);
}

Extracted ZipReader::ReadIndex(std::uint64_t index, std::uint64_t compressed, std::string& out) {
    zip_file_t* file = zip_fopen_index(archive_, index, 0);
    if (!file) return Extracted::Fail("damaged ZIP member");
    Extracted result;
    char piece[kPiece];
    for (;;) {
        const zip_int64_t n = zip_fread(file, piece, sizeof piece);
        if (n < 0) {
            result = Extracted::Fail("damaged ZIP member");
            break;
        }
        if (n == 0) break;
        out.append(piece, static_cast<size_t>(n));
        inflatedInAll_ += static_cast<std::uint64_t>(n);
        if (out.size() > limits_.maxMember) {
            result = Extracted::Fail("zip member too large");
        } else if (OverRatio(out.size(), compressed, limits_)) {
            result = Extracted::Fail("zip member compressed too far");
        } else if (inflatedInAll_ > TotalCap(limits_)) {
            result = Extracted::Fail("zip contents too large");
        }
        if (!result.ok()) break;
    }
    zip_fclose(file);
    if (!result.ok()) out.clear();
    return result;
}

}  // namespace kantoria
