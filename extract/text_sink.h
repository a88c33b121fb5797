// The text of a document as it is gathered: UTF-8, lines for paragraphs, cells and slides, and
// never more than the cap, cut where a character ends.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kantoria {

class TextSink {
  public:
    explicit TextSink(size_t cap) : cap_(cap) {}

    // Appends text; invalid UTF-8 becomes U+FFFD and NUL a space. Past the cap nothing is
    // added and the text counts as truncated.
    void Add(std::string_view text);
    // Ends the current line, unless it is empty.
    void EndLine();
    // A space between words, unless the line is empty or already ends in one.
    void Space();

    bool Full() const { return full_; }
    bool Truncated() const { return truncated_; }
    bool AtLineStart() const { return text_.empty() || text_.back() == '\n'; }
    const std::string& Text() const { return text_; }

  private:
    void AddValid(std::string_view text);

    size_t cap_;
    std::string text_;
    bool full_ = false;
    bool truncated_ = false;
};

}  // namespace kantoria
