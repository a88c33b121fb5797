#include "core/base/status.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <utility>

namespace kantoria {
namespace {

// The codes callers branch on, from the system's error numbers.
TEST(Status, ErrnoBecomesACodeAndTheSystemsWords) {
    const std::pair<int, StatusCode> table[] = {
        {ENOENT, StatusCode::NotFound},
        {ENOTDIR, StatusCode::NotFound},
        {EISDIR, StatusCode::NotRegularFile},
        {EACCES, StatusCode::PermissionDenied},
        {EPERM, StatusCode::PermissionDenied},
        {EROFS, StatusCode::ReadOnly},
        {ENOSPC, StatusCode::DiskFull},
#ifdef EDQUOT
        {EDQUOT, StatusCode::DiskFull},
#endif
        {ENOMEM, StatusCode::TooLarge},
        {EFBIG, StatusCode::TooLarge},
        {EIO, StatusCode::Other},
        {0, StatusCode::Other},
    };
    for (const auto& [error, code] : table) {
        const Status status = Status::FromErrno(error);
        EXPECT_FALSE(status.ok()) << error;
        EXPECT_EQ(status.code(), code) << error;
        EXPECT_FALSE(status.reason().empty()) << error;
    }
    EXPECT_TRUE(Status::Ok().ok());
    EXPECT_TRUE(Status::Ok().reason().empty());
}

}  // namespace
}  // namespace kantoria
