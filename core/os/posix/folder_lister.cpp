#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "core/os/folder_lister.h"
#include "core/text/text_codec.h"

namespace kantoria {
namespace {

bool IsDots(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

class PosixFolderLister final : public FolderLister {
  public:
    Status List(const std::string& folder, std::vector<FolderItem>& items, FolderId& id) override {
        items.clear();
        const std::string systemFolder = ToSystemName(folder);
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(systemFolder.c_str()), &::closedir);
        if (!dir) return Status::FromErrno(errno);
        struct stat st {};
        if (::fstat(::dirfd(dir.get()), &st) != 0) return Status::FromErrno(errno);
        id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir.get());
            if (!entry) break;
            if (IsDots(entry->d_name)) continue;
            items.push_back(Describe(*entry, dir.get()));
        }
        if (errno != 0) return Status::FromErrno(errno);
        return Status::Ok();
    }

    Status ResolvePath(const std::string& path, std::string& resolved) override {
        const std::unique_ptr<char, void (*)(void*)> real(
            ::realpath(ToSystemName(path).c_str(), nullptr), &std::free);
        if (!real) return Status::FromErrno(errno);
        resolved = FromSystemName(real.get());
        return Status::Ok();
    }

    char Separator() const override { return '/'; }

  private:
    // Whether the item is a link and whether it is, or leads to, a folder. The kind comes from
    // the listing itself where the file system gives it, else from the item's status.
    static FolderItem Describe(const dirent& entry, DIR* dir) {
        FolderItem item;
        item.name = FromSystemName(entry.d_name);
        unsigned char type = entry.d_type;
        struct stat st {};
        if (type == DT_UNKNOWN &&
            ::fstatat(::dirfd(dir), entry.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
            type = S_ISLNK(st.st_mode) ? DT_LNK : S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
        item.isLink = type == DT_LNK;
        item.isFolder =
            type == DT_DIR || (item.isLink && ::fstatat(::dirfd(dir), entry.d_name, &st, 0) == 0 &&
                               S_ISDIR(st.st_mode));
        return item;
    }
};

}  // namespace

std::unique_ptr<FolderLister> MakeSystemFolderLister() {
    return std::make_unique<PosixFolderLister>();
}

}  // namespace kantoria
