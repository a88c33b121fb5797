#include "core/base/io_status.h"

#include <system_error>

namespace kantoria {

IoStatus IoStatus::FromErrno(int error) {
    return Failed(std::generic_category().message(error));
}

}  // namespace kantoria
