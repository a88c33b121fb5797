// A file's stamp from what stat or fstat found.
#pragma once

#include <sys/stat.h>

#include "core/os/file_stamp.h"

namespace kantoria {

inline FileStamp StampOfStat(const struct stat& st) {
    return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

}  // namespace kantoria
