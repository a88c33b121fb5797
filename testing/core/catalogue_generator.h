// The large catalogue the benchmarks measure: Japanese titles, comments (some with line breaks)
// and C:\ paths in about one folder per 50 entries, from a fixed seed, so every run and every
// benchmark sees the same file. The deep shape spreads the same kind of entries over a tree
// like /usr after a search: deep, and with most holders' parent folders holding no entries.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/text/text_codec.h"

namespace kantoria::test {

// Bump when the generated content changes, so that older files are not reused.
inline constexpr int kGeneratorVersion = 1;
inline constexpr std::uint64_t kSeed = 0x4B414E544F524941ULL;

enum class CatalogueShape { Flat, Deep };

// The file name a generated catalogue is kept under, so later runs reuse it.
inline std::string GeneratedCatalogueName(std::size_t entries, std::size_t folders,
                                          CatalogueShape shape = CatalogueShape::Flat) {
    return "catalogue-" + std::to_string(entries) + "x" + std::to_string(folders) +
           (shape == CatalogueShape::Deep ? "-deep" : "") + "-v" +
           std::to_string(kGeneratorVersion) + ".ZNL";
}

// SplitMix64: the same sequence with every compiler and library, unlike the standard
// distributions.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // A number in [lo, hi]; the modulo bias does not matter here.
    std::size_t Between(std::size_t lo, std::size_t hi) { return lo + Next() % (hi - lo + 1); }
    bool Percent(unsigned p) { return Next() % 100 < p; }

  private:
    std::uint64_t state_;
};

enum class Script { Kanji, Hiragana, Katakana, HalfKana, Digits };

// Relative weights of the scripts a word is written in.
struct ScriptMix {
    unsigned kanji, hiragana, katakana, halfKana, digits;
};
inline constexpr ScriptMix kTextMix{40, 25, 20, 7, 8};
inline constexpr ScriptMix kFolderMix{50, 10, 20, 5, 15};
inline constexpr ScriptMix kFileMix{40, 15, 20, 8, 17};

inline Script PickScript(const ScriptMix& m, Rng& rng) {
    std::size_t r = rng.Between(0, m.kanji + m.hiragana + m.katakana + m.halfKana + m.digits - 1);
    if (r < m.kanji) return Script::Kanji;
    r -= m.kanji;
    if (r < m.hiragana) return Script::Hiragana;
    r -= m.hiragana;
    if (r < m.katakana) return Script::Katakana;
    r -= m.katakana;
    if (r < m.halfKana) return Script::HalfKana;
    return Script::Digits;
}

// Appends one character in code page 932. Every code drawn here is assigned, so the text
// decodes without escapes and encodes back to the same bytes.
inline void AppendChar(std::string& out, Script script, Rng& rng) {
    switch (script) {
        case Script::Kanji: {
            // The first level of the double-byte set: leads 89..97 are fully assigned. About one
            // trail in 188 is 5C, the byte that also spells '\'.
            auto trail = static_cast<unsigned>(0x40 + rng.Between(0, 187));
            if (trail >= 0x7F) ++trail;
            out += static_cast<char>(0x89 + rng.Between(0, 0x97 - 0x89));
            out += static_cast<char>(trail);
            break;
        }
        case Script::Hiragana:
            out += '\x82';
            out += static_cast<char>(0x9F + rng.Between(0, 0xF1 - 0x9F));
            break;
        case Script::Katakana: {
            if (rng.Percent(8)) {
                out += "\x81\x5B";  // the long vowel mark
                break;
            }
            auto trail = static_cast<unsigned>(0x40 + rng.Between(0, 85));
            if (trail >= 0x7F) ++trail;
            out += '\x83';
            out += static_cast<char>(trail);
            break;
        }
        case Script::HalfKana:
            out += static_cast<char>(0xA6 + rng.Between(0, 0xDF - 0xA6));
            break;
        case Script::Digits:
            out += static_cast<char>('0' + rng.Between(0, 9));
            break;
    }
}

inline std::size_t WordLength(Script script, Rng& rng) {
    switch (script) {
        case Script::Kanji:
            return rng.Between(1, 4);
        case Script::Hiragana:
            return rng.Between(1, 5);
        case Script::Katakana:
        case Script::HalfKana:
            return rng.Between(2, 6);
        case Script::Digits:
            return rng.Between(1, 4);
    }
    return 1;
}

// Appends chars characters of words in mixed scripts; punctuate adds the odd comma or stop.
inline void AppendText(std::string& out, std::size_t chars, const ScriptMix& mix, bool punctuate,
                       Rng& rng) {
    std::size_t written = 0;
    while (written < chars) {
        if (punctuate && written > 0 && rng.Percent(12)) {
            out += rng.Percent(60) ? "\x81\x41" : "\x81\x42";
            ++written;
            continue;
        }
        const Script script = PickScript(mix, rng);
        const std::size_t len = std::min(WordLength(script, rng), chars - written);
        for (std::size_t i = 0; i < len; ++i) AppendChar(out, script, rng);
        written += len;
    }
}

inline std::string Decoded(std::string_view cp932) {
    std::string text;
    DecodeCp932(cp932, text);
    return text;
}

// Folders as a random tree under C:\, each spelled with its trailing separator, in program
// text.
inline std::vector<std::string> MakeFolders(std::size_t count, Rng& rng) {
    std::vector<std::string> folders;
    std::vector<int> depth;
    std::unordered_set<std::string> seen;
    folders.reserve(count);
    while (folders.size() < count) {
        std::string path = "C:\\";
        int d = 1;
        if (!folders.empty() && !rng.Percent(3)) {
            const std::size_t parent = rng.Between(0, folders.size() - 1);
            if (depth[parent] < 5) {
                path = folders[parent];
                d = depth[parent] + 1;
            }
        }
        std::string name;
        AppendText(name, rng.Between(2, 8), kFolderMix, false, rng);
        path += Decoded(name);
        path += '\\';
        if (!seen.insert(path).second) continue;
        folders.push_back(std::move(path));
        depth.push_back(d);
    }
    return folders;
}

// A /usr-like tree of holder folders under C:\, about one in thirteen a top-level holder (no
// other holder's folder contains theirs) below a skeleton of folders that hold no entries. The
// rest grow under earlier holders, mostly through a folder of their own that holds no entries,
// as LC_MESSAGES lies under a locale: a holder tree with thousands of roots, up to 9 deep.
inline std::vector<std::string> MakeDeepFolders(std::size_t count, Rng& rng) {
    constexpr int kMaxDepth = 9;
    constexpr int kSkeletonDepth = 4;
    // About 7,700 top-level holders for 99,000 in all.
    const std::size_t topLevel = std::max<std::size_t>(1, count * 78 / 1000);
    const std::size_t skeletonCount = std::max<std::size_t>(1, topLevel / 12);
    std::unordered_set<std::string> seen;
    auto newFolder = [&](const std::string& parent) {
        for (;;) {
            std::string name;
            AppendText(name, rng.Between(2, 8), kFolderMix, false, rng);
            std::string path = parent + Decoded(name) + '\\';
            if (seen.insert(path).second) return path;
        }
    };
    // The skeleton: folders that hold no entries, up to kSkeletonDepth below C:\.
    std::vector<std::string> skeleton;
    std::vector<int> skeletonDepth;
    while (skeleton.size() < skeletonCount) {
        std::size_t parent = skeleton.size();
        if (!skeleton.empty() && !rng.Percent(5)) parent = rng.Between(0, skeleton.size() - 1);
        if (parent < skeleton.size() && skeletonDepth[parent] >= kSkeletonDepth) continue;
        skeleton.push_back(newFolder(parent < skeleton.size() ? skeleton[parent] : "C:\\"));
        skeletonDepth.push_back(parent < skeleton.size() - 1 ? skeletonDepth[parent] + 1 : 1);
    }
    std::vector<std::string> folders;
    std::vector<int> depth;
    folders.reserve(count);
    while (folders.size() < std::min(topLevel, count)) {
        const std::size_t parent = rng.Between(0, skeleton.size() - 1);
        folders.push_back(newFolder(skeleton[parent]));
        depth.push_back(skeletonDepth[parent] + 1);
    }
    while (folders.size() < count) {
        const std::size_t parent = rng.Between(0, folders.size() - 1);
        const bool between = rng.Percent(60);
        const int d = depth[parent] + (between ? 2 : 1);
        if (d > kMaxDepth) continue;
        const std::string& under = folders[parent];
        folders.push_back(newFolder(between ? newFolder(under) : under));
        depth.push_back(d);
    }
    return folders;
}

// Builds the catalogue in a document and saves it: the file is then exactly what the writer
// makes of such a document, so a load followed by a save must give the same bytes back.
inline bool GenerateCatalogue(std::size_t entries, std::size_t folderCount, const std::string& file,
                              CatalogueShape shape = CatalogueShape::Flat) {
    Rng rng(kSeed);
    const std::vector<std::string> folders = shape == CatalogueShape::Deep
                                                 ? MakeDeepFolders(folderCount, rng)
                                                 : MakeFolders(folderCount, rng);
    // Entries come in runs from one folder, as when a folder's files are added together; each
    // folder is visited about twice.
    std::vector<std::size_t> order(folders.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    for (std::size_t i = order.size(); i > 1; --i)
        std::swap(order[i - 1], order[rng.Between(0, i - 1)]);
    const std::size_t meanRun = std::max<std::size_t>(1, entries / (2 * folders.size()));

    static constexpr const char* kExtensions[] = {".pdf",  ".doc", ".xls", ".txt", ".docx",
                                                  ".xlsx", ".jpg", ".lzh", ".zip", ".ppt"};
    Catalogue doc;
    doc.Entries().Reserve(entries);
    std::string bytes;
    for (std::size_t run = 0; doc.Entries().size() < entries; ++run) {
        const std::string& folder = folders[order[run % order.size()]];
        std::size_t n = std::min(rng.Between(1, 2 * meanRun - 1), entries - doc.Entries().size());
        for (; n > 0; --n) {
            bytes.clear();
            AppendText(bytes, rng.Between(4, 12), kFileMix, false, rng);
            std::string path = folder + Decoded(bytes) + kExtensions[rng.Between(0, 9)];

            bytes.clear();
            AppendText(bytes, rng.Between(10, 20), kTextMix, false, rng);
            std::string title = Decoded(bytes);

            bytes.clear();
            const std::size_t commentChars = rng.Between(20, 40);
            if (rng.Percent(15)) {
                const std::size_t first = rng.Between(5, commentChars - 5);
                AppendText(bytes, first, kTextMix, true, rng);
                bytes += '\n';
                AppendText(bytes, commentChars - first, kTextMix, true, rng);
            } else {
                AppendText(bytes, commentChars, kTextMix, true, rng);
            }
            doc.Entries().Append(std::move(path), std::move(title), Decoded(bytes));
        }
    }
    const Entry& middle =
        *std::next(doc.Entries().begin(), static_cast<std::ptrdiff_t>(entries / 2));
    doc.SetSelectedTitle(middle.Title());
    doc.SetLastHolder(folders[order[0]].substr(0, folders[order[0]].size() - 1));
    doc.SetFileEncoding(Encoding::Cp932);

    const Status status = doc.SaveCatalogue(file);
    if (!status) {
        std::fprintf(stderr, "error: cannot write %s: %s\n", file.c_str(), status.reason().c_str());
        return false;
    }
    if (doc.FileEncoding() != Encoding::Cp932) {
        std::fprintf(stderr, "error: the generated text does not fit code page 932\n");
        return false;
    }
    return true;
}

}  // namespace kantoria::test
