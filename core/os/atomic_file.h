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

// Whether name, a file in the same folder as a file named targetName, is a temporary file
// that saving targetName makes (or a killed save left behind). The one rule for telling them,
// kept beside the code that names them.
bool IsTemporaryOf(std::string_view targetName, std::string_view name);

class AtomicFile final : public ByteSink {
  public:
    // Opens a temporary file beside target (beside the final target when target is a symbolic
    // link). Answers nullptr with the reason in status when that is not possible.
    static std::unique_ptr<AtomicFile> Create(const std::string& target, Status& status);

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
    std::string tempPath_;
    std::string finalPath_;
    Status status_ = Status::Ok();
    bool committed_ = false;
};

}  // namespace kantoria
