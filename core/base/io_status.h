// The outcome of a file operation, with the system's reason when it failed.
#pragma once

#include <string>
#include <utility>

namespace kantoria {

class IoStatus {
  public:
    static IoStatus Ok() { return IoStatus(); }
    static IoStatus Failed(std::string reason) { return IoStatus(std::move(reason)); }
    // The system's wording for an errno value.
    static IoStatus FromErrno(int error);

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const std::string& reason() const { return reason_; }

  private:
    IoStatus() = default;
    explicit IoStatus(std::string reason) : ok_(false), reason_(std::move(reason)) {}
    bool ok_ = true;
    std::string reason_;
};

}  // namespace kantoria
