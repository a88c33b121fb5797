#include "core/views/holder_relocation.h"

#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/catalogue/catalogue_format.h"
#include "core/resources/string_table.h"
#include "core/text/path_identity.h"
#include "core/text/path_split.h"
#include "core/views/holder_tree_logic.h"
#include "core/views/shown_holder.h"

namespace kantoria {
namespace {

// In a "/" path a backslash is part of a name; everywhere else both separate.
bool Separates(std::string_view path, char c) {
    return IsSeparatorIn(path, c);
}

// path without its trailing separators. The root "/" becomes empty: every "/" path continues
// it with a separator.
std::string_view WithoutTrailing(std::string_view path) {
    while (!path.empty() && Separates(path, path.back())) path.remove_suffix(1);
    return path;
}

// The separator that paths below folder are written with: the last one it spells, a trailing
// one included; '/' for a "/" path, else '\' when it spells none (C:, a share's name).
char SeparatorOf(std::string_view folder) {
    if (IsCaseSensitivePath(folder)) return '/';
    const std::size_t last = folder.find_last_of("\\/");
    return last == std::string_view::npos ? '\\' : folder[last];
}

}  // namespace

std::optional<std::string> RelocatedPath(std::string_view path, std::string_view from,
                                         std::string_view to) {
    const std::string_view base = WithoutTrailing(from);
    // Neither from nor to may be empty: "" would hold everything or nothing sensible.
    if (from.empty() || to.empty()) return std::nullopt;
    if (!PathIsWithin(path, base)) return std::nullopt;
    // The root "/" holds only "/" paths, and a drive or folder only what continues it.
    if (base.empty() && !IsCaseSensitivePath(path)) return std::nullopt;
    if (path.size() > base.size() && !Separates(path, path[base.size()])) return std::nullopt;
    const std::string_view newBase = WithoutTrailing(to);
    const char separator = SeparatorOf(to);
    std::string moved(newBase);
    for (char c : path.substr(base.size())) moved += Separates(path, c) ? separator : c;
    if (moved.empty()) moved += separator;  // the folder itself, moved to the root "/"
    return moved;
}

RelocationPlan PlanRelocation(const Catalogue& doc, std::string_view from, std::string_view to,
                              const ExistsCheck& exists) {
    RelocationPlan plan;
    plan.from = from;
    plan.to = to;
    // Every new path begins with to (without its trailing separators, which no fault involves).
    plan.fault = PathFaultOf(to);
    if (plan.fault != PathFault::None) return plan;
    struct Candidate {
        RelocationMove move;
        std::string oldKey;
        std::string newKey;
        bool conflict = false;
    };
    std::vector<Candidate> candidates;
    std::unordered_set<std::string> staying;  // the path keys of entries that keep their path
    for (const Entry& entry : doc.Entries()) {
        std::optional<std::string> moved = RelocatedPath(entry.Path(), from, to);
        // A path spelled exactly as before (the folder chosen is the one it was) is no move.
        if (!moved || *moved == entry.Path()) {
            staying.insert(PathKey(entry.Path()));
            continue;
        }
        std::string newKey = PathKey(*moved);
        candidates.push_back(
            {{&entry, std::move(*moved)}, PathKey(entry.Path()), std::move(newKey), false});
    }
    // The first path to claim a new path gets it; an entry that cannot move keeps its old path,
    // which in turn takes that path from whoever claimed it, and so on.
    std::unordered_map<std::string_view, std::string_view> claimedBy;  // new key -> old key
    std::unordered_map<std::string_view, std::vector<std::size_t>> claimants;
    std::vector<std::string_view> freed;  // old keys of entries found unable to move
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        Candidate& c = candidates[i];
        const auto [claim, first] = claimedBy.emplace(c.newKey, c.oldKey);
        if (staying.count(c.newKey) != 0 || (!first && claim->second != c.oldKey)) {
            c.conflict = true;
            freed.push_back(c.oldKey);
        } else {
            claimants[c.newKey].push_back(i);
        }
    }
    while (!freed.empty()) {
        const std::string_view key = freed.back();
        freed.pop_back();
        if (!staying.emplace(key).second) continue;
        const auto it = claimants.find(key);
        if (it == claimants.end()) continue;
        for (std::size_t i : it->second) {
            Candidate& c = candidates[i];
            if (c.conflict || c.oldKey == key) continue;
            c.conflict = true;
            freed.push_back(c.oldKey);
        }
    }
    const bool cp932 = doc.FileEncoding() == Encoding::Cp932;
    for (Candidate& c : candidates) {
        if (c.conflict) {
            plan.conflicts.push_back(std::move(c.move));
            continue;
        }
        if (exists && exists(FileSystemText(c.move.to, doc.FileEncoding()))) ++plan.existing;
        if (cp932 && !plan.becomesUtf8 && !FitsCp932(c.move.to)) plan.becomesUtf8 = true;
        plan.moves.push_back(std::move(c.move));
    }
    return plan;
}

std::string RelocationQuestion(const RelocationPlan& plan, Encoding enc) {
    const std::string from = ToDisplayText(plan.from, enc);
    const std::string to = ToDisplayText(plan.to, enc);
    if (plan.fault != PathFault::None)
        return FormatString(IDS_RELOCATE_NOT_STORABLE, {from, to, PathFaultText(plan.fault)});
    std::string text =
        plan.moves.empty()
            ? FormatString(IDS_RELOCATE_NOTHING, {from, to})
            : FormatString(IDS_RELOCATE_MOVES, {from, to, std::to_string(plan.moves.size()),
                                                std::to_string(plan.existing)});
    if (plan.becomesUtf8) {
        text += "\n\n";
        text += LoadString(IDS_RELOCATE_UTF8);
    }
    if (!plan.conflicts.empty()) {
        text += "\n\n";
        text += FormatString(IDS_RELOCATE_CONFLICTS, {std::to_string(plan.conflicts.size())});
        for (std::size_t i = 0; i < plan.conflicts.size() && i < kListedConflicts; ++i) {
            const RelocationMove& c = plan.conflicts[i];
            text += "\n";
            text += FormatString(IDS_RELOCATE_CONFLICT,
                                 {ToDisplayText(c.entry->Title(), enc), ToDisplayText(c.to, enc)});
        }
        if (plan.conflicts.size() > kListedConflicts) {
            text += "\n";
            text += FormatString(IDS_RELOCATE_MORE,
                                 {std::to_string(plan.conflicts.size() - kListedConflicts)});
        }
    }
    if (!plan.moves.empty()) {
        text += "\n\n";
        text += LoadString(IDS_RELOCATE_QUESTION);
    }
    return text;
}

void ApplyRelocation(Catalogue& doc, const RelocationPlan& plan) {
    std::optional<std::string> shownFolder;
    {
        const HolderTree before = HolderTree::Build(doc.Holders());
        const int shown = ShownHolder(before, doc);
        if (shown != kNoHolderNode) shownFolder = before.node(shown).folder;
    }
    for (const RelocationMove& move : plan.moves) doc.Entries().SetPath(move.entry, move.to);
    doc.RebuildHolders();
    if (!shownFolder) return;
    const HolderTree after = HolderTree::Build(doc.Holders());
    int node = kNoHolderNode;
    if (const std::optional<std::string> moved = RelocatedPath(*shownFolder, plan.from, plan.to))
        node = after.FindByFolder(*moved);
    // Entries that could not move keep the holder where it was.
    if (node == kNoHolderNode) node = after.FindByFolder(*shownFolder);
    if (node != kNoHolderNode) ChooseHolder(doc, after, node);
}

}  // namespace kantoria
