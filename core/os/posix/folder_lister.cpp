#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
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
            items.push_back({FromSystemName(entry->d_name), IsFolder(*entry, dir.get())});
        }
        if (errno != 0) return Status::FromErrno(errno);
        return Status::Ok();
    }

    char Separator() const override { return '/'; }

  private:
    // Links are followed: a link to a folder is walked like the folder.
    static bool IsFolder(const dirent& entry, DIR* dir) {
        if (entry.d_type == DT_DIR) return true;
        if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
        struct stat st {};
        return ::fstatat(::dirfd(dir), entry.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
    }
};

}  // namespace

std::unique_ptr<FolderLister> MakeSystemFolderLister() {
    return std::make_unique<PosixFolderLister>();
}

}  // namespace kantoria
