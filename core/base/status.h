// The outcome of anything the program asks of the world outside it: reading or writing a file,
// listing a folder, handing a file to the desktop, opening or saving the catalogue. A failure
// carries a code the caller can branch on and the system's own words for what happened.
#pragma once

#include <string>
#include <utility>

namespace kantoria {

enum class StatusCode {
    Ok,
    NotFound,          // no such file or folder
    NotRegularFile,    // a folder where a file was wanted
    SpecialFile,       // a device, named pipe or socket where a file was wanted
    PermissionDenied,  // the user may not read or write it
    ReadOnly,          // the file system is mounted read-only
    DiskFull,          // no space or quota left
    TooLarge,          // more than memory or the file system can hold
    ChangedOnDisk,     // another program changed the file since it was read
    Busy,              // another program holds the file's lock
    NotEncodable,      // text the chosen encoding cannot carry exactly
    NoProgram,         // nothing on this system opens it
    Other,
};

class [[nodiscard]] Status {
  public:
    static Status Ok() { return Status(); }
    static Status Failed(StatusCode code, std::string reason) {
        return Status(code, std::move(reason));
    }
    // The code and the system's wording for an errno value.
    static Status FromErrno(int error);

    bool ok() const { return code_ == StatusCode::Ok; }
    explicit operator bool() const { return ok(); }
    StatusCode code() const { return code_; }
    // The system's words for the failure; empty on success.
    const std::string& reason() const { return reason_; }

  private:
    Status() = default;
    Status(StatusCode code, std::string reason) : code_(code), reason_(std::move(reason)) {}
    StatusCode code_ = StatusCode::Ok;
    std::string reason_;
};

}  // namespace kantoria
