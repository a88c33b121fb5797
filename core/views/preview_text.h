// What the preview pane decides without widgets: which way a document is shown, how much of
// its text, and where the find field's words stand in that text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kantoria {

enum class PreviewKind {
    Pdf,    // pages drawn
    Image,  // the picture, fitted to the pane
    Text,   // the document's text, read by the extraction program
};

// By the path's extension, case aside; imageSuffixes are the picture formats that can be read
// ("png", "jpg", ...), in lower case.
PreviewKind PreviewKindOf(std::string_view path, const std::vector<std::string>& imageSuffixes);

// A document's text as the pane is handed it: the text, or why there is none.
struct PreviewText {
    bool ok = false;
    std::string text;    // UTF-8
    std::string reason;  // when !ok
};

// Where the pane's text comes from: called off the UI thread with the file's path as the file
// system spells it, so it must be safe to call from any thread.
using PreviewTextSource = std::function<PreviewText(const std::string& systemPath)>;

// The most text the pane shows; more is cut at a character and marked.
inline constexpr std::size_t kPreviewTextLimit = std::size_t{256} << 10;

// text as the pane shows it: line ends as "\n" (a text view counts "\r\n" as one place), cut to
// at most limit bytes at a character boundary, with "…" on a line of its own where something
// was cut.
std::string PreviewShownText(std::string text, std::size_t limit = kPreviewTextLimit);

// Bytes [begin, end) of a shown text.
struct TextRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

// A text folded once for finding (FoldForFind), with the way back to the text's own bytes, so
// that the find field's words can be marked wherever the list's find would see them: case,
// width and kana aside.
class FoldedText {
  public:
    explicit FoldedText(std::string_view text);

    // Every place a word stands, as whole characters of the text, sorted and joined where they
    // touch; at most `most` of them. words are folded already (FindWords).
    std::vector<TextRange> Ranges(const std::vector<std::string>& words,
                                  std::size_t most = 1000) const;

  private:
    std::size_t ClusterAt(std::size_t foldedAt) const;

    std::size_t size_ = 0;
    std::string folded_;
    // Where each run of characters that folds on its own (a letter and its sound marks) starts,
    // in the folded text and in the text.
    std::vector<std::uint32_t> foldedStarts_;
    std::vector<std::uint32_t> starts_;
};

}  // namespace kantoria
