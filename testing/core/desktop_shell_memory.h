// A desktop that records what it was asked to open and answers as told: for tests.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/ports/desktop_shell.h"

namespace kantoria {

class RecordingDesktopShell final : public DesktopShell {
  public:
    // Calls naming one of these paths fail.
    std::set<std::string, std::less<>> failing;
    std::vector<std::string> openedFolders;
    std::vector<std::string> openedFiles;
    std::vector<std::string> openedUrls;

    Status OpenFolder(std::string_view folder) override {
        openedFolders.emplace_back(folder);
        return Answer(folder);
    }
    Status OpenFile(std::string_view file) override {
        openedFiles.emplace_back(file);
        return Answer(file);
    }
    Status OpenUrl(std::string_view url) override {
        openedUrls.emplace_back(url);
        return Answer(url);
    }

  private:
    Status Answer(std::string_view path) const {
        if (failing.count(path))
            return Status::Failed(StatusCode::NoProgram, "refused by the test");
        return Status::Ok();
    }
};

}  // namespace kantoria
