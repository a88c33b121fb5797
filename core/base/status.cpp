#include "core/base/status.h"

#include <cerrno>
#include <system_error>

namespace kantoria {
namespace {

StatusCode CodeForErrno(int error) {
    switch (error) {
        case 0:
            return StatusCode::Other;  // a failure nobody explained is still a failure
        case ENOENT:
        case ENOTDIR:
            return StatusCode::NotFound;
        case EISDIR:
            return StatusCode::NotRegularFile;
        case EACCES:
        case EPERM:
            return StatusCode::PermissionDenied;
        case EROFS:
            return StatusCode::ReadOnly;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return StatusCode::DiskFull;
        case ENOMEM:
        case EFBIG:
            return StatusCode::TooLarge;
        default:
            return StatusCode::Other;
    }
}

}  // namespace

Status Status::FromErrno(int error) {
    return Failed(CodeForErrno(error), std::generic_category().message(error));
}

}  // namespace kantoria
