#include "cli/json_writer.h"

#include <nlohmann/json.hpp>

namespace kantoria::cli {
namespace {

constexpr std::size_t kFlushAt = 1 << 16;
constexpr int kIndent = 2;

// Length of the well-formed UTF-8 sequence at the start of s (RFC 3629: no overlong forms, no
// surrogates, nothing above U+10FFFF), 0 when it is malformed.
std::size_t WellFormedLength(std::string_view s) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = at(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < length || at(1) < low || at(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (at(i) < 0x80 || at(i) > 0xBF) return 0;
    return length;
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::size_t start = out.size();
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = WellFormedLength(text.substr(i));
            if (length == 0) {
                // Where nlohmann resumes after a malformed sequence is its own rule: it writes
                // the whole string, rarely enough not to matter.
                out.resize(start);
                out += nlohmann::json(std::string(text))
                           .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
                return;
            }
            out.append(text.data() + i, length);
            i += length;
            continue;
        }
        ++i;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (c < 0x20) {
                    const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
                    out.append(escape, sizeof escape);
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
}

JsonWriter::~JsonWriter() {
    buffer_ += '\n';
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    out_.flush();
}

void JsonWriter::Key(std::string_view key) {
    NewItem();
    AppendJsonString(buffer_, key);
    buffer_ += ": ";
    afterKey_ = true;
}

void JsonWriter::String(std::string_view text) {
    BeforeValue();
    AppendJsonString(buffer_, text);
    FlushIfFull();
}

void JsonWriter::Number(std::int64_t number) {
    BeforeValue();
    buffer_ += std::to_string(number);
}

void JsonWriter::Decimal(double number) {
    BeforeValue();
    buffer_ += nlohmann::json(number).dump();
}

void JsonWriter::Null() {
    BeforeValue();
    buffer_ += "null";
}

void JsonWriter::BeforeValue() {
    if (afterKey_)
        afterKey_ = false;
    else if (!levelHasItems_.empty())
        NewItem();
}

// Each item of a non-empty array or object stands on its own line, indented by its depth.
void JsonWriter::NewItem() {
    buffer_ += levelHasItems_.back() ? ",\n" : "\n";
    levelHasItems_.back() = true;
    buffer_.append(levelHasItems_.size() * kIndent, ' ');
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    buffer_ += bracket;
    levelHasItems_.push_back(false);
}

// An empty array or object closes on its own line's end: "[]", "{}".
void JsonWriter::Close(char bracket) {
    const bool hadItems = levelHasItems_.back();
    levelHasItems_.pop_back();
    if (hadItems) {
        buffer_ += '\n';
        buffer_.append(levelHasItems_.size() * kIndent, ' ');
    }
    buffer_ += bracket;
    FlushIfFull();
}

void JsonWriter::FlushIfFull() {
    if (buffer_.size() < kFlushAt) return;
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

}  // namespace kantoria::cli
