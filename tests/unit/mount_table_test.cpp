#include "core/os/mount_table.h"

#include <gtest/gtest.h>

namespace kantoria {
namespace {

// Nested and stacked mounts, a point with escaped spaces and backslash, optional fields.
constexpr std::string_view kMountInfo =
    "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
    "21 26 0:20 / /proc rw,relatime shared:5 - proc proc rw\n"
    "23 26 0:6 / /dev rw - devtmpfs devtmpfs rw\n"
    "25 23 0:23 / /dev/pts rw - devpts devpts rw\n"
    "40 26 0:40 / /mnt/a rw - nfs4 srv:/a rw\n"
    "41 26 0:41 / /mnt/ab rw - ext4 /dev/vdb rw\n"
    "42 26 0:42 / /mnt/My\\040Disk\\134x rw master:1 shared:2 - vfat /dev/sdb1 rw\n"
    "50 40 0:50 / /mnt/a/deep rw - tmpfs tmpfs rw\n"
    "51 40 0:51 / /mnt/a/deep rw - fuse.sshfs host: rw\n"
    "broken line\n"
    "60 26 0:60 / relative rw - ext4 x rw\n";

TEST(MountTable, FindsTheMountByTheLongestWholeComponentPrefix) {
    const MountTable table = MountTable::Parse(kMountInfo);
    const struct {
        std::string_view path;
        int id;
    } cases[] = {
        {"/home/u/a.txt", 26},   {"/", 26},
        {"/proc", 21},                              // the mount point itself
        {"/proc/1/fdinfo", 21},  {"/procs/x", 26},  // not a component prefix
        {"/dev/pts/0", 25},      {"/dev/ptsx", 23},
        {"/mnt/a/b", 40},        {"/mnt/ab/b", 41},
        {"/mnt/a/", 40},         {"//mnt/./a//deep/f", 51},  // the topmost of two stacked mounts
        {"/mnt/a/deeper", 40},   {"/mnt/My Disk\\x/f.doc", 42},
        {"/mnt/My Disk", 26},    {"relative/proc", -1},
        {"C:\\Docs\\a.txt", -1}, {"", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(table.Find(c.path).id, c.id) << c.path;
    EXPECT_EQ(table.Find("/mnt/My Disk\\x").point, "/mnt/My Disk\\x");
    EXPECT_EQ(table.Find("/mnt/a/deep").type, "fuse.sshfs");
    EXPECT_EQ(MountTable().Find("/proc").id, -1);
}

TEST(MountTable, KnowsTheVirtualFileSystemsOfThisMachine) {
    EXPECT_TRUE(IsVirtualFileSystem("cgroup2"));
    EXPECT_FALSE(IsVirtualFileSystem("tmpfs"));
    EXPECT_FALSE(IsVirtualFileSystem("fuse.sshfs"));
#ifdef __linux__
    const MountTable system = ReadSystemMountTable();
    EXPECT_TRUE(IsVirtualFileSystem(system.Find("/proc/self").type));
    EXPECT_FALSE(system.Find("/").type.empty());
#endif
}

}  // namespace
}  // namespace kantoria
