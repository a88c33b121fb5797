#include "core/app/recent_files.h"

#include <algorithm>

#include "core/resources/string_table.h"

namespace kantoria {
namespace {

std::string ValueName(size_t index) {
    return FormatString(IDS_VALUE_RECENT_FORMAT, {std::to_string(index + 1)});
}

}  // namespace

void RecentFileList::Add(const std::string& path) {
    if (path.empty()) return;
    items_.erase(std::remove(items_.begin(), items_.end(), path), items_.end());
    items_.insert(items_.begin(), path);
    if (items_.size() > capacity_) items_.resize(capacity_);
}

void RecentFileList::Remove(size_t index) {
    if (index < items_.size()) items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

void RecentFileList::ReadList(SettingsStore& settings) {
    items_.clear();
    for (size_t i = 0; i < capacity_; ++i) {
        std::string path =
            settings.GetProfileString(LoadString(IDS_SECTION_RECENT), ValueName(i), "");
        if (!path.empty() && std::find(items_.begin(), items_.end(), path) == items_.end())
            items_.push_back(std::move(path));
    }
}

void RecentFileList::WriteList(SettingsStore& settings) const {
    for (size_t i = 0; i < capacity_; ++i) {
        settings.WriteProfileString(LoadString(IDS_SECTION_RECENT), ValueName(i),
                                    i < items_.size() ? items_[i] : std::string());
    }
}

std::string RecentFileList::MenuText(size_t index) const {
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (char c : items_.at(index)) {
        if (c == '&') text += '&';
        text += c;
    }
    return text;
}

}  // namespace kantoria
