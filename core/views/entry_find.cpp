#include "core/views/entry_find.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <utility>

#include "core/resources/string_table.h"
#include "core/text/find_fold.h"
#include "core/text/text_codec.h"
#include "core/text/text_fold.h"

namespace kantoria {
namespace {

constexpr char kFieldEnd = '\0';  // no word holds a control character (FindWords)

// Text as the user sees it: a twin code shows as its character, so it is found as one. Every
// escape starts with 0xED, so text without one needs no conversion.
void AppendFolded(std::string& out, std::string_view text, Encoding enc) {
    if (text.find('\xED') == std::string_view::npos)
        out += FoldForFind(text);
    else
        out += FoldForFind(ToDisplayText(text, enc));
    out += kFieldEnd;
}

bool Holds(std::string_view key, const std::string& word) {
    return memmem(key.data(), key.size(), word.data(), word.size()) != nullptr;
}

}  // namespace

std::vector<POSITION> InListOrder(std::vector<POSITION> entries) {
    std::vector<std::pair<std::string, POSITION>> keyed;
    keyed.reserve(entries.size());
    for (POSITION e : entries) keyed.emplace_back(DisplayOrderKey(e->m_strTitle), e);
    // Picked entries come in catalogue order, so a stable sort keeps equal titles in it.
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i) entries[i] = keyed[i].second;
    return entries;
}

EntryChoice ChooseEntriesWhere(std::function<bool(const CDocEntry&)> keep,
                               std::function<std::string(std::size_t count)> status) {
    EntryChoice choice;
    choice.pick = [keep = std::move(keep)](const CMORKA2Doc& doc) {
        std::vector<POSITION> rows;
        for (const CDocEntry& entry : doc.m_EntryList)
            if (keep(entry)) rows.push_back(&entry);
        return InListOrder(std::move(rows));
    };
    choice.status = std::move(status);
    return choice;
}

void FindIndex::Update(const EntryList& entries, Encoding enc) {
    if (list_ == &entries && revision_ == entries.Revision() && encoding_ == enc) return;
    list_ = &entries;
    revision_ = entries.Revision();
    encoding_ = enc;
    keys_.clear();
    starts_.clear();
    entries_.clear();
    rank_.clear();
    starts_.reserve(entries.size() + 1);
    entries_.reserve(entries.size());
    for (const CDocEntry& entry : entries) {
        starts_.push_back(keys_.size());
        entries_.push_back(&entry);
        AppendFolded(keys_, entry.m_strTitle, enc);
        AppendFolded(keys_, entry.m_strComment, enc);
        AppendFolded(keys_, entry.m_strPath, enc);
    }
    starts_.push_back(keys_.size());
}

std::vector<std::uint32_t> FindIndex::Matching(const std::vector<std::string>& words) const {
    std::vector<std::uint32_t> hits;
    if (words.empty() || entries_.empty()) return hits;
    // One pass over all keys for the longest word, the likeliest to be rare; the others are
    // looked for only in the keys it hit.
    const auto longest =
        std::max_element(words.begin(), words.end(),
                         [](const auto& a, const auto& b) { return a.size() < b.size(); });
    const char* const base = keys_.data();
    std::size_t from = 0;
    while (from < keys_.size()) {
        const void* at = memmem(base + from, keys_.size() - from, longest->data(), longest->size());
        if (at == nullptr) break;
        const auto offset = static_cast<std::size_t>(static_cast<const char*>(at) - base);
        const auto next = std::upper_bound(starts_.begin(), starts_.end(), offset);
        const auto index = static_cast<std::size_t>(next - starts_.begin()) - 1;
        const std::string_view key(base + starts_[index], *next - starts_[index]);
        if (std::all_of(words.begin(), words.end(),
                        [&](const std::string& w) { return &w == &*longest || Holds(key, w); }))
            hits.push_back(static_cast<std::uint32_t>(index));
        from = *next;
    }
    return hits;
}

std::vector<POSITION> FindIndex::Find(const std::vector<std::string>& words) const {
    std::vector<POSITION> rows;
    for (std::uint32_t i : Matching(words)) rows.push_back(entries_[i]);
    return rows;
}

std::vector<POSITION> FindIndex::FindInListOrder(const std::vector<std::string>& words) {
    std::vector<std::uint32_t> hits = Matching(words);
    if (rank_.empty() && !entries_.empty()) {
        const std::vector<POSITION> ordered = InListOrder(entries_);
        // entries_ is in catalogue order, which is Id order: find each entry's index by Id.
        rank_.resize(entries_.size());
        for (std::size_t r = 0; r < ordered.size(); ++r) {
            const auto it =
                std::lower_bound(entries_.begin(), entries_.end(), ordered[r],
                                 [](POSITION a, POSITION b) { return a->Id() < b->Id(); });
            rank_[static_cast<std::size_t>(it - entries_.begin())] = static_cast<std::uint32_t>(r);
        }
    }
    std::sort(hits.begin(), hits.end(),
              [this](std::uint32_t a, std::uint32_t b) { return rank_[a] < rank_[b]; });
    std::vector<POSITION> rows;
    rows.reserve(hits.size());
    for (std::uint32_t i : hits) rows.push_back(entries_[i]);
    return rows;
}

std::vector<POSITION> FindEntries(const EntryList& entries, Encoding enc, std::string_view text) {
    FindIndex index;
    index.Update(entries, enc);
    return index.Find(FindWords(text));
}

EntryChoice FindChoice(std::string_view text, std::shared_ptr<FindIndex> index) {
    EntryChoice choice;
    choice.pick = [words = FindWords(text), index = std::move(index)](const CMORKA2Doc& doc) {
        index->Update(doc.m_EntryList, doc.m_encoding);
        return index->FindInListOrder(words);
    };
    choice.status = [](std::size_t count) {
        return FormatString(IDS_FIND_COUNT, {std::to_string(count)});
    };
    return choice;
}

}  // namespace kantoria
