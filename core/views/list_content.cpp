#include "core/views/list_content.h"

#include "core/resources/string_table.h"
#include "core/text/find_fold.h"
#include "core/views/entry_list_logic.h"

namespace kantoria {

std::vector<EntryRef> ListRows::Rows(const Catalogue& doc, const ListContent& content,
                                     const IsMissing& missing) {
    foundInText_.clear();
    switch (content.kind) {
        case ListContent::Kind::Holder:
            return ListedEntries(doc, trees_);
        case ListContent::Kind::Find:
            findIndex_.Update(doc.Entries(), doc.FileEncoding());
            if (documents_ && documents_->findText == content.findText)
                return findIndex_.FindInListOrder(FindWords(content.findText), *documents_,
                                                  foundInText_);
            return findIndex_.FindInListOrder(FindWords(content.findText));
        case ListContent::Kind::Unreadable: {
            std::vector<EntryRef> rows;
            if (!unreadable_.empty())
                for (const Entry& entry : doc.Entries())
                    if (unreadable_.count(DocumentPath(entry.Path(), doc.FileEncoding())) != 0)
                        rows.push_back(&entry);
            return InListOrder(std::move(rows));
        }
        case ListContent::Kind::Missing: {
            std::vector<EntryRef> rows;
            for (const Entry& entry : doc.Entries())
                if (missing && missing(entry)) rows.push_back(&entry);
            return InListOrder(std::move(rows));
        }
    }
    return {};
}

void ListRows::SetDocumentWords(std::shared_ptr<const DocumentWords> words, bool textPartial) {
    documents_ = std::move(words);
    textPartial_ = textPartial;
}

void ListRows::FillSnippets(std::shared_ptr<const DocumentWords> words) {
    if (!documents_ || !words || words->findText != documents_->findText) return;
    documents_ = std::move(words);
    findIndex_.FillSnippets(FindWords(documents_->findText), *documents_, foundInText_);
}

std::string ListRows::Status(const ListContent& content, std::size_t count,
                             bool stillLooking) const {
    switch (content.kind) {
        case ListContent::Kind::Holder:
            return {};
        case ListContent::Kind::Find:
            return FormatString(
                documents_ && textPartial_ ? IDS_FIND_COUNT_PARTIAL : IDS_FIND_COUNT,
                {std::to_string(count)});
        case ListContent::Kind::Unreadable:
            return FormatString(IDS_UNREADABLE_COUNT, {std::to_string(count)});
        case ListContent::Kind::Missing:
            return FormatString(stillLooking ? IDS_MISSING_LOOKING : IDS_MISSING_COUNT,
                                {std::to_string(count)});
    }
    return {};
}

}  // namespace kantoria
