// Reading environment variables through a seam, so that tests need not change the process's
// own environment.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kantoria {

class Environment {
  public:
    virtual ~Environment() = default;
    // The variable's value, or nothing when it is not set.
    virtual std::optional<std::string> Get(std::string_view name) const = 0;
};

// The environment of the running process.
class ProcessEnvironment final : public Environment {
  public:
    std::optional<std::string> Get(std::string_view name) const override;
};

}  // namespace kantoria
