// Where a catalogue's content index lives: in the user's cache, never beside the catalogue
// (whose folder may be shared with other programs and other systems). One folder per
// catalogue, named by a hash of its absolute path and holding a file that names that path, so
// that a folder found there can be told to belong to the catalogue.
#pragma once

#include <string>

#include "core/base/status.h"

namespace kantoria {

struct IndexFolder {
    std::string folder;     // the catalogue's folder in the cache (system path)
    std::string database;   // the Xapian database inside it
    std::string catalogue;  // the catalogue's absolute path (system path)
};

// The index folder of the catalogue at systemPath under cacheRoot (empty: $XDG_CACHE_HOME, or
// ~/.cache).
IndexFolder IndexFolderOf(const std::string& systemPath, const std::string& cacheRoot = {});

// Whether the folder's naming file names its catalogue. A folder without one is foreign.
bool NamesCatalogue(const IndexFolder& index);
// Makes the folder and its naming file.
Status MakeIndexFolder(const IndexFolder& index);
// Moves a damaged or foreign folder out of the way (beside it, with ".set-aside-TIME" added)
// and answers where it went, empty when it could not be moved.
std::string SetAside(const IndexFolder& index);

}  // namespace kantoria
