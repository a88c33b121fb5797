// The mounted file systems, and which of them a path lies on, found without touching the
// path: asking a file system that no longer answers which mount it is would hang the asker.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kantoria {

struct Mount {
    int id = -1;        // -1: the unknown mount (no table, or a path no mount holds)
    std::string point;  // where it is mounted, program text
    std::string type;   // the file system's type, as "ext4", "nfs4", "proc"
};

class MountTable {
  public:
    // A table that knows no mount: every path lies on the unknown mount.
    MountTable() = default;
    // Reads the Linux mountinfo format; lines it cannot read are left out.
    static MountTable Parse(std::string_view mountinfo);

    // The mount whose point is the longest leading run of whole components of path, the one
    // mounted last where several are stacked on one point. Only absolute paths lie on a
    // mount; ".", repeated and trailing separators are ignored, links are not followed.
    const Mount& Find(std::string_view path) const;
    bool Empty() const { return mounts_.empty(); }

  private:
    std::vector<Mount> mounts_;  // longest point first; stacked ones topmost first
};

// The table of the system the program runs on, read afresh: empty where the system keeps
// none that can be read.
MountTable ReadSystemMountTable();

// Whether a file system of this type shows the kernel's own state (processes, devices,
// control groups, automount points) rather than files a user keeps: a search never enters it.
bool IsVirtualFileSystem(std::string_view type);

}  // namespace kantoria
