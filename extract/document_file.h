// The document's file: opened without ever waiting on something that is not a regular file,
// read once, and checked afterwards to be the file it was when it was opened.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "extract/extract_result.h"

namespace kantoria {

class DocumentFile {
  public:
    DocumentFile() = default;
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;
    ~DocumentFile();

    // Opens path for reading; a folder, device, pipe or socket is refused (NotRegular) before
    // any read, and a pipe's open does not wait for a writer.
    Extracted Open(const std::string& path);
    // Replaces out with the file's first bytes, at most limit of them; cut tells whether the
    // file held more.
    Extracted Read(std::uint64_t limit, std::string& out, bool& cut) const;
    // Changed when the file at path is no longer the one opened, or changed size or time.
    Extracted CheckUnchanged() const;

    int fd() const { return fd_; }
    std::uint64_t Size() const { return static_cast<std::uint64_t>(opened_.st_size); }

  private:
    std::string path_;
    int fd_ = -1;
    struct stat opened_ {};
};

}  // namespace kantoria
