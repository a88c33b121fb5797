#include "core/catalogue/unique_title.h"

#include "core/text/text_fold.h"

namespace kantoria {

std::string UniqueTitles::For(const EntryList& entries, std::string_view name) {
    if (!entries.FindByTitle(name)) return std::string(name);
    int& counter = nextCounter_[FoldCase(name)];
    if (counter == 0) counter = 1;
    for (;; ++counter) {
        std::string candidate = std::string(name) + std::to_string(counter);
        if (!entries.FindByTitle(candidate)) {
            ++counter;
            return candidate;
        }
    }
}

}  // namespace kantoria
