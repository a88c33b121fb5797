// What a document file is now (kind, size, modification time, inode), asked without ever
// letting a file system that does not answer hold the indexer: the look runs in a helper
// process with a deadline, and once a look on a mount has not come back, the other files of
// that mount are answered "not answering" without asking.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "core/os/helper_process.h"
#include "core/os/mount_table.h"

namespace kantoria {

struct DocumentStamp {
    enum class Kind { File, Folder, Other, Missing, NotAnswering } kind = Kind::Missing;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t inode = 0;
    // What the index keeps to tell a changed file: size, modification time and inode.
    std::string Key() const;
};

// The mounts found not answering, shared by the readers of one round of indexing.
class HungMounts {
  public:
    explicit HungMounts(std::shared_ptr<const MountTable> mounts) : mounts_(std::move(mounts)) {}
    int MountOf(const std::string& path) const { return mounts_->Find(path).id; }
    bool Hung(int mount);
    void MarkHung(int mount);

  private:
    std::shared_ptr<const MountTable> mounts_;
    std::mutex mutex_;
    std::set<int> hung_;
};

// One per worker thread.
class StampReader {
  public:
    StampReader(std::shared_ptr<HungMounts> hung, std::chrono::milliseconds patience)
        : hung_(std::move(hung)), patience_(patience) {}
    DocumentStamp Read(const std::string& systemPath);

  private:
    std::shared_ptr<HungMounts> hung_;
    std::chrono::milliseconds patience_;
    std::unique_ptr<HelperProcess> helper_;
};

// The stamp of systemPath, asked in the calling process (may block on a hung mount).
DocumentStamp StampNow(const std::string& systemPath);

}  // namespace kantoria
