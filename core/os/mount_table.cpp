#include "core/os/mount_table.h"

#include <algorithm>
#include <array>

#include "core/text/text_codec.h"

namespace kantoria {
namespace {

// The next whitespace-separated field of a mountinfo line, or empty at its end.
std::string_view NextField(std::string_view& line) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        line = {};
        return {};
    }
    line.remove_prefix(start);
    const std::size_t end = std::min(line.find(' '), line.size());
    const std::string_view field = line.substr(0, end);
    line.remove_prefix(end);
    return field;
}

// The kernel writes space, tab, newline and backslash in a mount point as \ and three octal
// digits.
std::string Unescape(std::string_view field) {
    std::string bytes;
    bytes.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool octal = field[i] == '\\' && i + 3 < field.size() &&
                           std::all_of(field.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                       field.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                                       [](char c) { return c >= '0' && c <= '7'; });
        if (octal) {
            bytes += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                       (field[i + 3] - '0'));
            i += 3;
        } else {
            bytes += field[i];
        }
    }
    return bytes;
}

bool ParseLine(std::string_view line, Mount& mount) {
    const std::string_view id = NextField(line);
    NextField(line);  // the parent
    NextField(line);  // major:minor
    NextField(line);  // the root within its file system
    const std::string_view point = NextField(line);
    // Options, then optional fields up to the lone "-", then the type.
    std::string_view field;
    do field = NextField(line);
    while (!field.empty() && field != "-");
    const std::string_view type = NextField(line);
    if (id.empty() || point.empty() || point.front() != '/' || type.empty()) return false;
    int number = 0;
    for (const char c : id) {
        if (c < '0' || c > '9' || number > 100'000'000) return false;
        number = number * 10 + (c - '0');
    }
    mount = {number, FromSystemName(Unescape(point)), std::string(type)};
    return true;
}

// The next component of path from at, "." and empty ones skipped; empty at the end.
std::string_view NextComponent(std::string_view path, std::size_t& at) {
    while (at < path.size()) {
        const std::size_t end = std::min(path.find('/', at), path.size());
        const std::string_view component = path.substr(at, end - at);
        at = end + 1;
        if (!component.empty() && component != ".") return component;
    }
    return {};
}

bool LiesUnder(std::string_view point, std::string_view path) {
    std::size_t inPoint = 0, inPath = 0;
    for (;;) {
        const std::string_view want = NextComponent(point, inPoint);
        if (want.empty()) return true;
        if (NextComponent(path, inPath) != want) return false;
    }
}

}  // namespace

MountTable MountTable::Parse(std::string_view mountinfo) {
    MountTable table;
    while (!mountinfo.empty()) {
        const std::size_t end = std::min(mountinfo.find('\n'), mountinfo.size());
        if (Mount mount; ParseLine(mountinfo.substr(0, end), mount))
            table.mounts_.push_back(std::move(mount));
        mountinfo.remove_prefix(std::min(end + 1, mountinfo.size()));
    }
    // Later lines are mounted later: reversed, a stable sort puts the topmost of a stack first.
    std::reverse(table.mounts_.begin(), table.mounts_.end());
    std::stable_sort(
        table.mounts_.begin(), table.mounts_.end(),
        [](const Mount& a, const Mount& b) { return a.point.size() > b.point.size(); });
    return table;
}

const Mount& MountTable::Find(std::string_view path) const {
    static const Mount unknown;
    if (path.empty() || path.front() != '/') return unknown;
    for (const Mount& mount : mounts_)
        if (LiesUnder(mount.point, path)) return mount;
    return unknown;
}

bool IsVirtualFileSystem(std::string_view type) {
    static constexpr std::array<std::string_view, 18> kVirtual = {
        "proc",    "sysfs",   "devtmpfs",   "devpts",      "cgroup",   "cgroup2",
        "debugfs", "tracefs", "securityfs", "pstore",      "bpf",      "configfs",
        "fusectl", "mqueue",  "hugetlbfs",  "binfmt_misc", "efivarfs", "autofs"};
    return std::find(kVirtual.begin(), kVirtual.end(), type) != kVirtual.end();
}

}  // namespace kantoria
