#include "core/app/instance_match.h"

#include <algorithm>

#include "core/resources/string_table.h"
#include "core/text/path_split.h"

namespace kantoria {
namespace {

std::optional<size_t> FindCaption(const std::vector<std::vector<std::string>>& captions,
                                  std::string_view wanted) {
    for (size_t i = 0; i < captions.size(); ++i) {
        if (std::find(captions[i].begin(), captions[i].end(), wanted) != captions[i].end())
            return i;
    }
    return std::nullopt;
}

}  // namespace

std::string_view CatalogueFileName(std::string_view path) {
    const size_t last = LastSeparatorIn(path);
    return last == std::string_view::npos ? path : path.substr(last + 1);
}

std::string FrameCaption(std::string_view documentPath) {
    std::string caption(documentPath.empty() ? LoadString(IDS_UNTITLED)
                                             : CatalogueFileName(documentPath));
    caption += " - ";
    caption += TemplateField(DocField::WindowTitle);
    return caption;
}

std::optional<size_t> FindInstanceHolding(std::string_view storedPath,
                                          const std::vector<std::vector<std::string>>& captions) {
    std::string own(CatalogueFileName(storedPath));
    own += " - ";
    own += LoadString(IDS_PRODUCT_TITLE);
    if (auto found = FindCaption(captions, own)) return found;
    return FindCaption(captions, LoadString(IDS_PRODUCT_TITLE));
}

}  // namespace kantoria
