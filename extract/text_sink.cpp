#include "extract/text_sink.h"

#include "core/text/text_codec.h"

namespace kantoria {

void TextSink::Add(std::string_view text) {
    if (full_ || text.empty()) return;
    if (IsValidUtf8(text) && text.find('\0') == std::string_view::npos) return AddValid(text);
    std::string decoded;
    DecodeUtf8(text, decoded);
    std::string clean = ToDisplayText(decoded);
    for (char& c : clean)
        if (c == '\0') c = ' ';
    AddValid(clean);
}

void TextSink::AddValid(std::string_view text) {
    if (text_.size() + text.size() <= cap_) {
        text_.append(text);
        return;
    }
    size_t cut = cap_ - text_.size();
    // Back to the first byte of the character the cap falls in.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text_.append(text.substr(0, cut));
    full_ = truncated_ = true;
}

void TextSink::EndLine() {
    if (!AtLineStart()) {
        if (text_.back() == ' ') text_.pop_back();
        Add("\n");
    }
}

void TextSink::Space() {
    if (!AtLineStart() && text_.back() != ' ' && text_.back() != '\t') Add(" ");
}

}  // namespace kantoria
