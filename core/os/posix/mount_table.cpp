#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "core/os/mount_table.h"

namespace kantoria {

MountTable ReadSystemMountTable() {
    // The kernel makes the text as it is read, so its size is only known at its end.
    const int fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    std::string text;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return MountTable::Parse(text);
}

}  // namespace kantoria
