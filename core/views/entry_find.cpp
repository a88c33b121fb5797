#include "core/views/entry_find.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <numeric>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/text/find_fold.h"
#include "core/text/text_codec.h"
#include "core/text/text_fold.h"

namespace kantoria {
namespace {

constexpr char kFieldEnd = '\0';
// no word holds a control character (FindWords)

// Text as the user sees it: a twin code shows as its character, so it is found as one. Every
// escape starts with 0xED, so text without one needs no conversion.
void AppendFolded(std::string& out, std::string_view text, Encoding enc) {
    if (text.find('\xED') == std::string_view::npos)
        AppendFoldedForFind(out, text);
    else
        AppendFoldedForFind(out, ToDisplayText(text, enc));
    out += kFieldEnd;
}

// memmem where the C library has it (glibc's is fast); the standard library's search elsewhere.
const char* FindBytes(const char* text, std::size_t size, const std::string& word) {
#ifdef _WIN32
    const std::size_t at = std::string_view(text, size).find(word);
    return at == std::string_view::npos ? nullptr : text + at;
#else
    return static_cast<const char*>(memmem(text, size, word.data(), word.size()));
#endif
}

// The first place in text where word stands, or null. Finding runs over the keys of the whole
// catalogue on every keystroke, so the scan looks at sixteen places at once where the machine
// can: a place is compared whole only when the word's first and last bytes both fit there.
const char* Search(const char* text, std::size_t size, const std::string& word) {
    const std::size_t n = word.size();
#if defined(__SSE2__)
    if (n >= 2 && size >= n + 16) {
        const __m128i first = _mm_set1_epi8(word.front());
        const __m128i last = _mm_set1_epi8(word.back());
        std::size_t i = 0;
        for (; i + n - 1 + 16 <= size; i += 16) {
            const auto* at = reinterpret_cast<const __m128i*>(text + i);
            const auto* atLast = reinterpret_cast<const __m128i*>(text + i + n - 1);
            unsigned mask = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(first, _mm_loadu_si128(at)),
                                                _mm_cmpeq_epi8(last, _mm_loadu_si128(atLast)))));
            while (mask != 0) {
                const auto bit = static_cast<std::size_t>(__builtin_ctz(mask));
                if (std::memcmp(text + i + bit + 1, word.data() + 1, n - 2) == 0)
                    return text + i + bit;
                mask &= mask - 1;
            }
        }
        return FindBytes(text + i, size - i, word);
    }
#endif
    return FindBytes(text, size, word);
}

bool Holds(std::string_view key, const std::string& word) {
    return Search(key.data(), key.size(), word) != nullptr;
}

}  // namespace

std::vector<EntryRef> InListOrder(std::vector<EntryRef> entries) {
    std::vector<std::pair<std::string, EntryRef>> keyed;
    keyed.reserve(entries.size());
    for (EntryRef e : entries) keyed.emplace_back(DisplayOrderKey(e->Title()), e);
    // Picked entries come in catalogue order, so a stable sort keeps equal titles in it.
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i) entries[i] = keyed[i].second;
    return entries;
}

void FindIndex::Update(const EntryList& entries, Encoding enc) {
    if (list_ == &entries && revision_ == entries.Revision() && encoding_ == enc) return;
    if (list_ == &entries && rewrite_ == entries.RewriteRevision() && encoding_ == enc &&
        entries_.size() <= entries.size()) {
        // Entries were only appended (a file added, a search's finds): their keys follow.
        auto first = entries.end();
        std::advance(first, -static_cast<std::ptrdiff_t>(entries.size() - entries_.size()));
        starts_.pop_back();
        AppendKeys(first, entries.end(), enc);
        revision_ = entries.Revision();
        order_.clear();
        byDocument_.clear();
        return;
    }
    list_ = &entries;
    revision_ = entries.Revision();
    rewrite_ = entries.RewriteRevision();
    encoding_ = enc;
    keys_.clear();
    starts_.clear();
    entries_.clear();
    order_.clear();
    byDocument_.clear();
    starts_.reserve(entries.size() + 1);
    entries_.reserve(entries.size());
    std::size_t bytes = 0;  // folding keeps about the length: one allocation for all keys
    for (const Entry& entry : entries)
        bytes += entry.Title().size() + entry.Comment().size() + entry.Path().size() + 3;
    keys_.reserve(bytes + bytes / 16);
    AppendKeys(entries.begin(), entries.end(), enc);
}

void FindIndex::AppendKeys(EntryList::const_iterator first, EntryList::const_iterator last,
                           Encoding enc) {
    for (auto it = first; it != last; ++it) {
        starts_.push_back(keys_.size());
        entries_.push_back(&*it);
        AppendFolded(keys_, it->Title(), enc);
        AppendFolded(keys_, it->Comment(), enc);
        AppendFolded(keys_, it->Path(), enc);
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
    auto after = starts_.begin();  // hits come in order: each lookup starts past the last
    while (from < keys_.size()) {
        const char* at = Search(base + from, keys_.size() - from, *longest);
        if (at == nullptr) break;
        const auto offset = static_cast<std::size_t>(at - base);
        const auto next = std::upper_bound(after, starts_.end(), offset);
        after = next;
        const auto index = static_cast<std::size_t>(next - starts_.begin()) - 1;
        const std::string_view key(base + starts_[index], *next - starts_[index]);
        if (std::all_of(words.begin(), words.end(),
                        [&](const std::string& w) { return &w == &*longest || Holds(key, w); }))
            hits.push_back(static_cast<std::uint32_t>(index));
        from = *next;
    }
    return hits;
}

std::vector<EntryRef> FindIndex::Find(const std::vector<std::string>& words) const {
    std::vector<EntryRef> rows;
    for (std::uint32_t i : Matching(words)) rows.push_back(entries_[i]);
    return rows;
}

std::vector<EntryRef> FindIndex::FindInListOrder(const std::vector<std::string>& words) {
    return InOrder(Matching(words));
}

std::vector<EntryRef> FindIndex::FindInListOrder(const std::vector<std::string>& words,
                                                 const DocumentWords& documents,
                                                 FoundInText& foundInText) {
    std::vector<std::uint32_t> hits = Matching(words);
    if (!words.empty() && documents.perWord.size() == words.size())
        AddFoundInText(words, documents, hits, foundInText);
    return InOrder(std::move(hits));
}

// Only the documents the index named are looked at: their entries' keys settle the words the
// text did not hold, so a find costs the keys' pass and one lookup per document hit.
void FindIndex::AddFoundInText(const std::vector<std::string>& words,
                               const DocumentWords& documents, std::vector<std::uint32_t>& hits,
                               FoundInText& foundInText) {
    if (byDocument_.empty()) {
        for (std::size_t i = 0; i < entries_.size(); ++i)
            byDocument_[DocumentPath(entries_[i]->Path(), encoding_)].push_back(
                static_cast<std::uint32_t>(i));
    }
    std::vector<bool> taken(entries_.size());
    for (std::uint32_t i : hits) taken[i] = true;
    for (const DocumentHits& hitsOfWord : documents.perWord) {
        for (const auto& [document, snippet] : hitsOfWord) {
            const auto found = byDocument_.find(document);
            if (found == byDocument_.end()) continue;
            for (std::uint32_t i : found->second) {
                if (taken[i]) continue;
                const std::string* shown = TextOnlySnippet(i, document, words, documents);
                if (shown == nullptr) continue;
                taken[i] = true;
                hits.push_back(i);
                foundInText.emplace(entries_[i], *shown);
            }
        }
    }
}

// The snippet of the first word only the entry's document holds; null when the entry lacks
// a word.
const std::string* FindIndex::TextOnlySnippet(std::uint32_t i, const std::string& document,
                                              const std::vector<std::string>& words,
                                              const DocumentWords& documents) const {
    const std::string_view key(keys_.data() + starts_[i], starts_[i + 1] - starts_[i]);
    const std::string* shown = nullptr;
    for (std::size_t w = 0; w < words.size(); ++w) {
        if (Holds(key, words[w])) continue;
        const auto inText = documents.perWord[w].find(document);
        if (inText == documents.perWord[w].end()) return nullptr;
        if (shown == nullptr) shown = &inText->second;
    }
    return shown;
}

void FindIndex::FillSnippets(const std::vector<std::string>& words, const DocumentWords& documents,
                             FoundInText& foundInText) const {
    if (documents.perWord.size() != words.size()) return;
    for (const DocumentHits& hitsOfWord : documents.perWord) {
        for (const auto& [document, snippet] : hitsOfWord) {
            const auto found = byDocument_.find(document);
            if (found == byDocument_.end()) continue;
            for (std::uint32_t i : found->second) {
                const auto row = foundInText.find(entries_[i]);
                if (row == foundInText.end() || !row->second.empty()) continue;
                if (const std::string* shown = TextOnlySnippet(i, document, words, documents))
                    row->second = *shown;
            }
        }
    }
}

std::vector<EntryRef> FindIndex::InOrder(std::vector<std::uint32_t> hits) {
    std::vector<EntryRef> rows;
    rows.reserve(hits.size());
    if (hits.size() <= sortHitsUpTo_) {
        std::sort(hits.begin(), hits.end());  // catalogue order, which the sort keeps for ties
        for (std::uint32_t i : hits) rows.push_back(entries_[i]);
        return InListOrder(std::move(rows));
    }
    // Many hits: the order of all entries, kept until they change, and one walk through it.
    if (order_.empty()) {
        order_.resize(entries_.size());
        std::vector<std::string> keys(entries_.size());
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            order_[i] = static_cast<std::uint32_t>(i);
            keys[i] = DisplayOrderKey(entries_[i]->Title());
        }
        std::stable_sort(order_.begin(), order_.end(),
                         [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    }
    std::vector<bool> hit(entries_.size());
    for (std::uint32_t i : hits) hit[i] = true;
    for (std::uint32_t i : order_)
        if (hit[i]) rows.push_back(entries_[i]);
    return rows;
}

std::vector<EntryRef> FindEntries(const EntryList& entries, Encoding enc, std::string_view text) {
    FindIndex index;
    index.Update(entries, enc);
    return index.Find(FindWords(text));
}

}  // namespace kantoria
