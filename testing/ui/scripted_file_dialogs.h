// File dialogs for tests: each answer comes from a script (cancelled when it has run out).
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/seams/file_dialogs.h"

namespace kantoria {

class ScriptedFileDialogs final : public FileDialogs {
  public:
    std::deque<std::optional<std::string>> answers;  // cancelled when empty
    std::vector<std::string> proposed;
    std::optional<std::string> GetOpenFileName() override { return Next(); }
    std::optional<std::string> GetSaveFileName(std::string_view name) override {
        proposed.emplace_back(name);
        return Next();
    }
    std::vector<std::string> entryStarts;
    std::optional<std::string> GetEntryFileName(std::string_view start) override {
        entryStarts.emplace_back(start);
        return Next();
    }
    std::vector<std::string> folderCaptions;
    std::optional<std::string> BrowseForFolder(std::string_view caption,
                                               std::string_view) override {
        folderCaptions.emplace_back(caption);
        return Next();
    }

    std::vector<std::string> exportProposals;
    std::optional<std::string> GetExportFileName(std::string_view name) override {
        exportProposals.emplace_back(name);
        return Next();
    }
    std::optional<std::string> GetImportFileName() override { return Next(); }

  private:
    std::optional<std::string> Next() {
        if (answers.empty()) return std::nullopt;
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace kantoria
