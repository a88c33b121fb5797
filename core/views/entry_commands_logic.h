// What the entry list's commands decide without a window: the program's own clipboard, which
// keeps an entry's title, comment and path (the system clipboard is never used), and removing
// an entry from the catalogue, which never touches its file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/icons/rebuild_icons.h"
#include "core/ports/entry_editor.h"

namespace kantoria {

// Cut and copy both keep all three texts, overwriting what was kept before.
void CopyToClipboard(Catalogue& doc, EntryRef entry);
// Nothing to paste while no title is kept.
bool ClipboardEmpty(const Catalogue& doc);
// What the entry dialog proposes when the kept entry is pasted onto file.
EntryFields PasteProposal(const Catalogue& doc, std::string file);

enum class AfterRemoval {
    RefreshList,     // the holder still lists other entries
    UpdateAllViews,  // the entry was the only one shown: its holder may be gone from the tree
};

// Removes entry from the catalogue and rebuilds holders and icons. shown is how many entries
// the list shows, the removed one included. the selected title keeps the removed title.
AfterRemoval RemoveEntry(Catalogue& doc, EntryRef entry, std::size_t shown,
                         const IconServices& icons);

// What removing several entries did: the entries with their former places, for taking it back.
struct Removal {
    std::vector<PlacedEntry> removed;
    AfterRemoval after = AfterRemoval::RefreshList;
};

// Removes entries from the catalogue at once and rebuilds holders and icons once, however many
// there are. shown is how many entries the list shows, the removed ones included.
Removal RemoveEntries(Catalogue& doc, const std::vector<EntryRef>& entries, std::size_t shown,
                      const IconServices& icons);

// Whether a file or folder is at path (program text).
bool PathExists(const std::string& path);

// The question asked before an entry is deleted.
std::string DeleteQuestion(const std::string& title);
// The question asked before several entries are deleted together.
std::string DeleteManyQuestion(std::size_t count);

// Opening more files than this at once asks first.
inline constexpr std::size_t kOpenWithoutAsking = 10;
// The question asked before count files are opened at once.
std::string OpenManyQuestion(std::size_t count);
// The folders of entries' files, each once (by the path rule), in the order first met.
std::vector<std::string> DistinctFolders(const std::vector<EntryRef>& entries);

}  // namespace kantoria
