// Writing a file so that a failure at any point leaves the previous file as it was: the bytes
// go to a temporary file beside the target, which is synced and then renamed over it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/base/status.h"

namespace kantoria {

// Where a writer puts its bytes.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // False once writing has failed; later calls keep failing.
    virtual bool Write(std::string_view bytes) = 0;
    // Ok, or why writing failed.
    virtual const Status& status() const = 0;
};

class AtomicFile final : public ByteSink {
  public:
    // Where the bytes wait until Commit: a file without a name where the file system allows
    // it, so that a writer killed half way leaves nothing behind; otherwise a named file
    // beside the target, locked while it is written, which a later save removes once its
    // writer is gone.
    enum class Temp { Anonymous, Named };

    // Opens a temporary file beside target (beside the final target when target is a symbolic
    // link). Refuses, answering nullptr with the reason in status, where writing the target in
    // place would fail: a folder, device, pipe or socket, or a file the user may not write.
    static std::unique_ptr<AtomicFile> Create(const std::string& target, Status& status,
                                              Temp temp = Temp::Anonymous);

    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // Removes the temporary file unless Commit succeeded.
    ~AtomicFile() override;

    bool Write(std::string_view bytes) override;
    // The first write failure, or Ok.
    const Status& status() const override { return status_; }
    // Syncs the temporary file, gives it the target's permissions and renames it over the
    // target. On failure the target is untouched.
    Status Commit();

  private:
    AtomicFile(int fd, std::string tempPath, std::string finalPath);
    void Discard();

    int fd_;
    std::string tempPath_;  // empty while the temporary file has no name
    std::string finalPath_;
    Status status_ = Status::Ok();
    bool committed_ = false;
};

// Whether name is that of a temporary file a save of the file named target makes beside it
// while it writes, or a killed save left behind (target is a file name without its folder).
// The one rule for telling them, kept beside the code that names them.
bool IsSaveTempName(std::string_view name, std::string_view target);

}  // namespace kantoria
