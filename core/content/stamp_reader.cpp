#include "core/content/stamp_reader.h"

#include <sys/stat.h>

#include <sstream>

namespace kantoria {
namespace {

std::string Encode(const DocumentStamp& stamp) {
    return std::to_string(static_cast<int>(stamp.kind)) + ' ' + std::to_string(stamp.size) + ' ' +
           std::to_string(stamp.modifiedNs) + ' ' + std::to_string(stamp.inode);
}

DocumentStamp Decode(const std::string& text) {
    std::istringstream in(text);
    int kind = 0;
    DocumentStamp stamp;
    in >> kind >> stamp.size >> stamp.modifiedNs >> stamp.inode;
    stamp.kind = in ? static_cast<DocumentStamp::Kind>(kind) : DocumentStamp::Kind::NotAnswering;
    return stamp;
}

}  // namespace

std::string DocumentStamp::Key() const {
    return std::to_string(size) + '/' + std::to_string(modifiedNs) + '/' + std::to_string(inode);
}

bool HungMounts::Hung(int mount) {
    const std::lock_guard lock(mutex_);
    return hung_.count(mount) > 0;
}

void HungMounts::MarkHung(int mount) {
    const std::lock_guard lock(mutex_);
    hung_.insert(mount);
}

DocumentStamp StampNow(const std::string& systemPath) {
    DocumentStamp stamp;
    struct stat st {};
    if (::stat(systemPath.c_str(), &st) != 0) return stamp;
    stamp.kind = S_ISREG(st.st_mode)   ? DocumentStamp::Kind::File
                 : S_ISDIR(st.st_mode) ? DocumentStamp::Kind::Folder
                                       : DocumentStamp::Kind::Other;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
#ifdef _WIN32
    stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtime) * 1000000000;
#else
    stamp.modifiedNs =
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#endif
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    return stamp;
}

DocumentStamp StampReader::Read(const std::string& systemPath) {
    const int mount = hung_->MountOf(systemPath);
    if (hung_->Hung(mount)) return {DocumentStamp::Kind::NotAnswering};
    if (!helper_) {
        helper_ = HelperProcess::Start(
            [](std::string_view path) { return Encode(StampNow(std::string(path))); });
        if (!helper_) return StampNow(systemPath);  // no helper processes here
    }
    const auto answer = helper_->Ask(systemPath, std::chrono::steady_clock::now() + patience_);
    if (answer) return Decode(*answer);
    helper_.reset();  // left behind; the next look starts another
    hung_->MarkHung(mount);
    return {DocumentStamp::Kind::NotAnswering};
}

}  // namespace kantoria
