// The recent-file list of the File menu: the last catalogues opened or saved, newest first,
// kept in the settings section "Recent File List" as "File1" to "File4".
#pragma once

#include <string>
#include <vector>

#include "core/ports/settings_store.h"

namespace kantoria {

class RecentFileList {
  public:
    explicit RecentFileList(size_t capacity = 4) : capacity_(capacity) {}

    const std::vector<std::string>& Items() const { return items_; }
    bool Empty() const { return items_.empty(); }

    // Puts path first; an equal path further down moves up instead of appearing twice.
    void Add(const std::string& path);
    void Remove(size_t index);

    void ReadList(SettingsStore& settings);
    // Writes every slot; a slot without a file is written empty.
    void WriteList(SettingsStore& settings) const;

    // The menu text of item index: "&1 " and the path, with '&' doubled so that it shows.
    std::string MenuText(size_t index) const;

  private:
    size_t capacity_;
    std::vector<std::string> items_;
};

}  // namespace kantoria
