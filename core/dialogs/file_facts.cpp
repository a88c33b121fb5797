#include "core/dialogs/file_facts.h"

#include <chrono>
#include <filesystem>

#include "core/os/system_path.h"
#include "core/resources/string_table.h"
#include "core/text/text_codec.h"

namespace kantoria {
namespace {

std::tm* LocalTime(std::time_t when, std::tm& out) {
#if defined(_WIN32)
    return localtime_s(&out, &when) == 0 ? &out : nullptr;
#else
    return localtime_r(&when, &out);
#endif
}

}  // namespace

std::string FormatFileSize(std::uintmax_t bytes) {
    return FormatString(IDS_FILE_SIZE, {std::to_string(bytes)});
}

std::string FormatModifiedTime(std::time_t when) {
    std::tm local{};
    if (!LocalTime(when, local)) return {};
    // The format is spelled out: "%c" itself follows the locale the GUI toolkit sets.
    char text[128];
    const size_t n = std::strftime(text, sizeof text, "%m/%d/%y %H:%M:%S", &local);
    return std::string(text, n);
}

FileFacts DescribeFile(const std::string& path) {
    namespace fs = std::filesystem;
    FileFacts facts;
    std::error_code error;
    const fs::path file = SystemPath(path);
    const fs::file_status status = fs::status(file, error);
    if (error || !fs::exists(status)) {
        facts.date = facts.size = std::string(kFileMissingText);
        return facts;
    }
    facts.exists = true;
    const std::uintmax_t size = fs::is_regular_file(status) ? fs::file_size(file, error) : 0;
    facts.size = FormatFileSize(error ? 0 : size);
    const fs::file_time_type changed = fs::last_write_time(file, error);
    if (!error) {
        const auto system = std::chrono::file_clock::to_sys(changed);
        facts.date = FormatModifiedTime(std::chrono::system_clock::to_time_t(system));
    }
    return facts;
}

}  // namespace kantoria
