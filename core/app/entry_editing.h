// Registering, updating and pasting an entry through the entry dialog. The dialog comes back
// with what the user typed, without a message, while the title is empty or borne by another
// entry; a title the catalogue file cannot hold is refused with a reason, and a path it cannot
// hold with its reason before the dialog shows. Cancel changes nothing. Every accepted change ends
// with all views updated.
#pragma once

#include <string>

#include "core/catalogue/catalogue.h"
#include "core/icons/rebuild_icons.h"
#include "core/ports/entry_editor.h"

namespace kantoria {

// Edits the entry already registered under path (compared without regard to case) or else
// registers path as a new entry, which becomes the selected title. True when the catalogue
// changed.
bool AddFile(Catalogue& doc, const std::string& path, EntryEditor& editor,
             const IconServices& icons);

// Updates entry's title and comment. Its title may stay as it is; the selected title is left alone.
bool EditEntry(Catalogue& doc, EntryRef entry, EntryEditor& editor);

// Registers path as a new entry, proposing fields' title and comment; the selected title is left
// alone. The same path may be registered more than once under different titles.
bool AddEntryAs(Catalogue& doc, EntryFields fields, EntryEditor& editor, const IconServices& icons);

}  // namespace kantoria
