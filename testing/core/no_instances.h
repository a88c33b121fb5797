// Stand-ins for what a benchmarked window reaches outside the program: no other instances to
// talk to and no file types to register.
#pragma once

#include <string>
#include <vector>

#include "core/ports/file_type_registrar.h"
#include "core/ports/instance_directory.h"

namespace kantoria {

class NoInstances final : public InstanceDirectory {
  public:
    std::vector<RunningInstance> Others() override { return {}; }
    bool Restore(const RunningInstance&) override { return false; }
    bool HandOver(const RunningInstance&, const std::string&) override { return false; }
    bool Publish(InstanceHost&) override { return true; }
};

class NoRegistrar final : public FileTypeRegistrar {
  public:
    void RegisterShellFileTypes() override {}
};

}  // namespace kantoria
