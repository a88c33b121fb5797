// Moving a folder's entries to another folder: when the files of a holder moved on disk (or a
// catalogue made on Windows comes to Linux: C:\書類 → /home/u/書類), every entry in that folder
// and below takes the new folder's path. First a plan that changes nothing, so the user can be
// told what will happen; then the plan is applied.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/storable_field.h"

namespace kantoria {

// The path that path takes when the folder from moves to to, or nothing when path lies neither
// in from (at any depth) nor is from itself. from matches at a folder boundary only (C:\Doc holds
// C:\Doc\a but not C:\Docs\a) and compares as its kind of path compares (path_identity.h); a
// separator of either kind ends it, except in a "/" path where only '/' separates. The rest of
// the path takes to's separator. Trailing separators of from and to do not count.
std::optional<std::string> RelocatedPath(std::string_view path, std::string_view from,
                                         std::string_view to);

struct RelocationMove {
    EntryRef entry = nullptr;
    std::string to;  // the entry's new path
};

struct RelocationPlan {
    std::string from;
    std::string to;
    std::vector<RelocationMove> moves;      // in catalogue order
    std::vector<RelocationMove> conflicts;  // not moved: the new path is taken; catalogue order
    std::size_t existing = 0;               // moves whose new path exists on disk
    // A code page 932 catalogue that will have to be saved as UTF-8 for some new path.
    bool becomesUtf8 = false;
    // Why the catalogue could not hold the new paths, which all begin with to: nothing moves.
    PathFault fault = PathFault::None;
};

// Answers whether something stands at path (program text).
using ExistsCheck = std::function<bool(const std::string& path)>;

// What relocating from to to would do, changing nothing. An entry is a conflict when its new
// path is the path of an entry that does not move, or the new path of an entry that moves
// earlier in catalogue order from another path; entries that shared one path move together.
// A to that the catalogue file cannot hold at the start of a path moves nothing.
RelocationPlan PlanRelocation(const Catalogue& doc, std::string_view from, std::string_view to,
                              const ExistsCheck& exists);

// How many entries that stay a question lists by name.
inline constexpr std::size_t kListedConflicts = 20;

// What the user is asked before the plan is applied, as display text for a catalogue in enc:
// from where to where, how many paths change and how many of them will exist, a warning when
// the catalogue will become UTF-8, and the entries that stay (the first kListedConflicts, then
// how many more). Without moves it says there is nothing to change, or why nothing may.
std::string RelocationQuestion(const RelocationPlan& plan, Encoding enc);

// Gives the plan's moves their new paths (titles and comments stay) and rebuilds the holders.
// The shown holder follows its folder to where it moved. Icons are the caller's to rebuild.
// The views are not told.
void ApplyRelocation(Catalogue& doc, const RelocationPlan& plan);

}  // namespace kantoria
