#include "core/app/entry_editing.h"

#include <functional>
#include <utility>

#include "core/catalogue/storable_field.h"
#include "core/resources/string_table.h"
#include "core/text/entered_text.h"

namespace kantoria {
namespace {

enum class Verdict { Accept, Again, Refuse };

// Runs the editor until it is cancelled or verdict accepts what was typed. What comes back is
// taken as the catalogue stores entered text.
bool EditUntilAccepted(const Catalogue& doc, EntryFields& fields, EntryEditor& editor,
                       const std::function<Verdict(const std::string& title)>& verdict) {
    for (;;) {
        fields.encoding = doc.FileEncoding();
        const EntryFields shown = fields;
        if (!editor.Edit(fields)) return false;
        fields.title = TextFromScreen(fields.title, shown.title, doc.FileEncoding());
        fields.comment = TextFromScreen(fields.comment, shown.comment, doc.FileEncoding());
        switch (verdict(fields.title)) {
            case Verdict::Accept:
                return true;
            case Verdict::Refuse:
                editor.Refuse(LoadString(IDS_TITLE_NOT_STORABLE));
                break;
            case Verdict::Again:
                break;
        }
    }
}

Verdict NewTitleVerdict(const Catalogue& doc, const std::string& title) {
    if (title.empty() || doc.TitleExists(title)) return Verdict::Again;
    return IsStorableField(title) ? Verdict::Accept : Verdict::Refuse;
}

// A path the catalogue file cannot hold is refused with its reason before the dialog shows.
bool RefusedPath(const Catalogue& doc, const std::string& path, EntryEditor& editor) {
    const PathFault fault = PathFaultOf(path);
    if (fault == PathFault::None) return false;
    editor.Refuse(FormatString(IDS_PATH_NOT_STORABLE,
                               {ToDisplayText(path, doc.FileEncoding()), PathFaultText(fault)}));
    return true;
}

void Register(Catalogue& doc, EntryFields fields, const IconServices& icons) {
    doc.Entries().Append(std::move(fields.file), std::move(fields.title),
                         std::move(fields.comment));
    doc.RebuildHolders();
    RebuildIcons(doc, icons);
}

}  // namespace

bool AddFile(Catalogue& doc, const std::string& path, EntryEditor& editor,
             const IconServices& icons) {
    if (const EntryRef registered = doc.Entries().FindByPath(path))
        return EditEntry(doc, registered, editor);
    if (RefusedPath(doc, path, editor)) return false;
    EntryFields fields{path, {}, {}};
    if (!EditUntilAccepted(doc, fields, editor,
                           [&](const std::string& title) { return NewTitleVerdict(doc, title); }))
        return false;
    doc.SetSelectedTitle(fields.title);
    Register(doc, std::move(fields), icons);
    doc.UpdateAllViews(nullptr);
    return true;
}

bool EditEntry(Catalogue& doc, EntryRef entry, EntryEditor& editor) {
    if (entry == nullptr) return false;
    EntryFields fields{std::string(entry->Path()), std::string(entry->Title()),
                       std::string(entry->Comment())};
    const auto verdict = [&](const std::string& title) {
        // Its own title is no obstacle, letter case counting.
        if (title == entry->Title()) return Verdict::Accept;
        return NewTitleVerdict(doc, title);
    };
    if (!EditUntilAccepted(doc, fields, editor, verdict)) return false;
    doc.Entries().SetTitle(entry, std::move(fields.title));
    doc.Entries().SetComment(entry, std::move(fields.comment));
    doc.UpdateAllViews(nullptr);
    return true;
}

bool AddEntryAs(Catalogue& doc, EntryFields fields, EntryEditor& editor,
                const IconServices& icons) {
    if (RefusedPath(doc, fields.file, editor)) return false;
    if (!EditUntilAccepted(doc, fields, editor,
                           [&](const std::string& title) { return NewTitleVerdict(doc, title); }))
        return false;
    Register(doc, std::move(fields), icons);
    doc.UpdateAllViews(nullptr);
    return true;
}

}  // namespace kantoria
