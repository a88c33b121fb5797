// The texts the properties dialog shows for an entry's file: when it was last changed and
// how large it is, or that it is not there.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace kantoria {

inline constexpr std::string_view kFileMissingText = "ファイルがありません。";

struct FileFacts {
    bool exists = false;
    std::string date;  // last modification, local time, "08/23/04 14:05:09"
    std::string size;  // "1234 ﾊﾞｲﾄ"
};

// "%d ﾊﾞｲﾄ" with the whole size: no digit grouping, no limit at 2 GiB.
std::string FormatFileSize(std::uintmax_t bytes);

// Month/day/two-digit year and the 24-hour time, as the classic runtime's "%c" writes them,
// whatever locale the program runs in; empty when the time cannot be converted.
std::string FormatModifiedTime(std::time_t when);

// Looks at the file at path (program text); a file that cannot be reached reads as missing,
// with kFileMissingText in both texts.
FileFacts DescribeFile(const std::string& path);

}  // namespace kantoria
