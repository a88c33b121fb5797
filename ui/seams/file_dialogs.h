// The open and save file dialogs and the folder picker through one seam, so that tests choose
// the answers. The dialogs filter on catalogue files and propose the catalogue extension.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kantoria {

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // The file chosen to open, or nothing when the user cancels.
    virtual std::optional<std::string> GetOpenFileName() = 0;
    // The path to save to, starting from proposed; nothing when the user cancels.
    virtual std::optional<std::string> GetSaveFileName(std::string_view proposed) = 0;
    // Any file to register as an entry, starting from start (empty: the usual folder);
    // nothing when the user cancels.
    virtual std::optional<std::string> GetEntryFileName(std::string_view start) = 0;
    // A folder, starting from start; nothing when the user cancels.
    virtual std::optional<std::string> BrowseForFolder(std::string_view caption,
                                                       std::string_view start) = 0;
    // A spreadsheet file to export to, starting from proposed; nothing when the user cancels.
    virtual std::optional<std::string> GetExportFileName(std::string_view proposed) = 0;
    // A spreadsheet file to import; nothing when the user cancels.
    virtual std::optional<std::string> GetImportFileName() = 0;
};

class QtFileDialogs final : public FileDialogs {
  public:
    std::optional<std::string> GetOpenFileName() override;
    std::optional<std::string> GetSaveFileName(std::string_view proposed) override;
    std::optional<std::string> GetEntryFileName(std::string_view start) override;
    std::optional<std::string> BrowseForFolder(std::string_view caption,
                                               std::string_view start) override;
    std::optional<std::string> GetExportFileName(std::string_view proposed) override;
    std::optional<std::string> GetImportFileName() override;
};

}  // namespace kantoria
