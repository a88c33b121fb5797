#include "core/text/text_codec.h"

#include <algorithm>
#include <array>
#include <memory>

namespace kantoria {
namespace {

struct Cp932Twin {
    unsigned short code;  // lead << 8 | trail
    unsigned short character;
};

// Generated from glibc's iconv by tools/gen_cp932_table and checked in.
#include "core/text/cp932_table.inc"

constexpr char32_t kInvalid = 0xFFFFFFFF;

bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

int LeadIndex(unsigned char lead) {
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
}

// The single bytes that are neither ASCII, half-width katakana nor a lead byte, as Windows
// decodes them (and encodes those characters back to them); 0 for any other byte.
char32_t LoneByteToUnicode(unsigned char b) {
    switch (b) {
        case 0x80:
            return 0x0080;
        case 0xA0:
            return 0xF8F0;
        case 0xFD:
        case 0xFE:
        case 0xFF:
            return 0xF8F1 + static_cast<char32_t>(b - 0xFD);
        default:
            return 0;
    }
}

char32_t DoubleByteToUnicode(unsigned char lead, unsigned char trail) {
    const unsigned short u = kCp932DoubleByte[LeadIndex(lead) * 189 + (trail - 0x40)];
    return u == 0 ? kInvalid : u;
}

// The character Windows decodes a twin code to (a code the encoder never writes because its
// character has a canonical code), or 0 for any other code.
char32_t TwinToUnicode(unsigned char lead, unsigned char trail) {
    const unsigned short code = static_cast<unsigned short>(lead << 8 | trail);
    const auto* end = std::end(kCp932Twins);
    const auto* it =
        std::lower_bound(std::begin(kCp932Twins), end, code,
                         [](const Cp932Twin& t, unsigned short c) { return t.code < c; });
    return it != end && it->code == code ? it->character : 0;
}

// Code point (BMP) -> code page 932 code: single bytes as 0x00A1..0x00DF, double bytes as
// lead << 8 | trail; 0 where there is none.
class ReverseTable {
  public:
    ReverseTable() : codes_(std::make_unique<std::array<unsigned short, 0x10000>>()) {
        codes_->fill(0);
        for (unsigned b = 0xA1; b <= 0xDF; ++b)
            (*codes_)[0xFF61 + (b - 0xA1)] = static_cast<unsigned short>(b);
        for (unsigned b : {0x80u, 0xA0u, 0xFDu, 0xFEu, 0xFFu})
            (*codes_)[LoneByteToUnicode(static_cast<unsigned char>(b))] =
                static_cast<unsigned short>(b);
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F) continue;
                const char32_t u = DoubleByteToUnicode(static_cast<unsigned char>(lead),
                                                       static_cast<unsigned char>(trail));
                if (u != kInvalid) (*codes_)[u] = static_cast<unsigned short>(lead << 8 | trail);
            }
        }
    }
    unsigned short operator[](char32_t u) const { return u < 0x10000 ? (*codes_)[u] : 0; }

  private:
    std::unique_ptr<std::array<unsigned short, 0x10000>> codes_;
};

const ReverseTable& Reverse() {
    static const ReverseTable table;
    return table;
}

// Length of the well-formed UTF-8 sequence at bytes[pos], or 0 when there is none; stores the
// code point.
size_t Utf8SequenceAt(std::string_view bytes, size_t pos, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(bytes[pos]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    size_t len;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, min = 0x80, cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, min = 0x800, cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, min = 0x10000, cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (pos + len > bytes.size()) return 0;
    for (size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(bytes[pos + i]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

// Like Utf8SequenceAt, but also accepts the escapes the program itself makes.
size_t TextSequenceAt(std::string_view text, size_t pos, char32_t& cp, bool& escape) {
    unsigned char raw;
    if (ReadEscape(text, pos, raw)) {
        escape = true;
        cp = raw;
        return 3;
    }
    escape = false;
    return Utf8SequenceAt(text, pos, cp);
}

}  // namespace

void AppendUtf8(std::string& out, char32_t u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (u >> 18));
        out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

std::string_view EncodingName(Encoding enc) {
    switch (enc) {
        case Encoding::Cp932:
            return "cp932";
        case Encoding::Utf8:
            return "utf-8";
        case Encoding::Utf8Bom:
            return "utf-8-bom";
    }
    return "cp932";
}

void AppendEscape(std::string& out, unsigned char byte) {
    const char32_t cp = 0xDC00 + byte;
    out += static_cast<char>(0xED);
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
}

size_t CharLengthAt(std::string_view text, size_t pos, Encoding enc) {
    unsigned char raw, trail;
    if (ReadEscape(text, pos, raw)) {
        const bool pair = enc == Encoding::Cp932 && IsLeadByte(raw) &&
                          ReadEscape(text, pos + 3, trail) && IsTrailByte(trail);
        return pair ? 6 : 3;
    }
    const auto b = static_cast<unsigned char>(text[pos]);
    const size_t len = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    return std::min(len, text.size() - pos);
}

bool IsValidUtf8(std::string_view bytes) {
    size_t pos = 0;
    char32_t cp;
    while (pos < bytes.size()) {
        // Skip ASCII runs quickly: they are most of a catalogue.
        while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) < 0x80) ++pos;
        if (pos == bytes.size()) break;
        const size_t len = Utf8SequenceAt(bytes, pos, cp);
        if (len == 0) return false;
        pos += len;
    }
    return true;
}

bool HasNonAscii(std::string_view bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

void DecodeCp932(std::string_view bytes, std::string& out) {
    out.reserve(out.size() + bytes.size() + bytes.size() / 2);
    const size_t n = bytes.size();
    for (size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else if (b >= 0xA1 && b <= 0xDF) {
            AppendUtf8(out, 0xFF61 + static_cast<char32_t>(b - 0xA1));
        } else if (IsLeadByte(b) && i + 1 < n &&
                   IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            // A lead byte with a trail byte is one character even when code page 932 leaves
            // it unassigned: its second byte (maybe '\' or '|') must never stand alone.
            const auto t = static_cast<unsigned char>(bytes[i + 1]);
            const char32_t u = DoubleByteToUnicode(b, t);
            if (u != kInvalid) {
                AppendUtf8(out, u);
            } else {
                AppendEscape(out, b);
                AppendEscape(out, t);
            }
            ++i;
        } else if (const char32_t u = LoneByteToUnicode(b)) {
            AppendUtf8(out, u);
        } else {
            AppendEscape(out, b);
        }
    }
}

void DecodeUtf8(std::string_view bytes, std::string& out) {
    out.reserve(out.size() + bytes.size());
    size_t pos = 0;
    char32_t cp;
    while (pos < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[pos]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++pos;
            continue;
        }
        const size_t len = Utf8SequenceAt(bytes, pos, cp);
        if (len == 0) {
            AppendEscape(out, b);
            ++pos;
        } else {
            out.append(bytes.data() + pos, len);
            pos += len;
        }
    }
}

bool EncodeCp932(std::string_view text, std::string& out, bool* wroteEscape) {
    const ReverseTable& reverse = Reverse();
    out.reserve(out.size() + text.size());
    size_t pos = 0;
    char32_t cp;
    bool escape;
    while (pos < text.size()) {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++pos;
            continue;
        }
        const size_t len = TextSequenceAt(text, pos, cp, escape);
        if (len == 0) return false;
        pos += len;
        if (escape) {
            out += static_cast<char>(cp);
            if (wroteEscape) *wroteEscape = true;
            continue;
        }
        const unsigned short code = reverse[cp];
        if (code == 0) return false;
        if (code > 0xFF) out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }
    return true;
}

void EncodeUtf8(std::string_view text, std::string& out, bool* wroteEscape) {
    out.reserve(out.size() + text.size());
    size_t pos = 0;
    unsigned char raw;
    while (pos < text.size()) {
        if (ReadEscape(text, pos, raw)) {
            out += static_cast<char>(raw);
            if (wroteEscape) *wroteEscape = true;
            pos += 3;
        } else {
            out += text[pos++];
        }
    }
}

void Decode(Encoding enc, std::string_view bytes, std::string& out) {
    if (enc == Encoding::Cp932)
        DecodeCp932(bytes, out);
    else
        DecodeUtf8(bytes, out);
}

std::string ToDisplayText(std::string_view text) {
    return ToDisplayText(text, Encoding::Utf8);
}

namespace {

// Text with each twin code held as escapes replaced by its character, and every other escape
// by U+FFFD (or kept, when keepUndecodable); *undecodable is set when some escape was not a twin.
std::string ResolveEscapes(std::string_view text, Encoding enc, bool keepUndecodable,
                           bool* undecodable) {
    const bool twins = enc == Encoding::Cp932;
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    unsigned char raw, trail;
    while (pos < text.size()) {
        if (!ReadEscape(text, pos, raw)) {
            out += text[pos++];
            continue;
        }
        // Escaped pairs are read left to right as the decoder paired them: a lead byte takes
        // the escaped byte after it.
        if (twins && IsLeadByte(raw) && ReadEscape(text, pos + 3, trail)) {
            if (const char32_t u = TwinToUnicode(raw, trail)) {
                AppendUtf8(out, u);
                pos += 6;
                continue;
            }
        }
        if (undecodable) *undecodable = true;
        if (keepUndecodable)
            out.append(text.substr(pos, 3));
        else
            out += "\xEF\xBF\xBD";
        pos += 3;
    }
    return out;
}

}  // namespace

std::string ToDisplayText(std::string_view text, Encoding enc) {
    return ResolveEscapes(text, enc, false, nullptr);
}

std::string ToShownText(std::string_view text, Encoding enc, bool& undecodable) {
    return ResolveEscapes(text, enc, false, &undecodable);
}

std::string FileSystemText(std::string_view path, Encoding enc) {
    if (enc != Encoding::Cp932) return std::string(path);
    return ResolveEscapes(path, enc, true, nullptr);
}

std::string Cp932OrderKey(std::string_view text) {
    const ReverseTable& reverse = Reverse();
    std::string key;
    key.reserve(text.size());
    size_t pos = 0;
    char32_t cp;
    bool escape;
    while (pos < text.size()) {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            key += static_cast<char>(b);
            ++pos;
            continue;
        }
        size_t len = TextSequenceAt(text, pos, cp, escape);
        unsigned short code = 0;
        if (len == 0) {
            // Not text the program makes; its bytes stand for themselves.
            len = 1;
            escape = true;
            cp = b;
        } else if (!escape) {
            code = reverse[cp];
        }
        pos += len;
        if (escape) {
            // 0xFF never starts a code, so it marks what sorts after every code: a raw 0xFF
            // first, then the characters without a code by code point.
            key += static_cast<char>(cp);
            if (cp == 0xFF) key += '\0';
        } else if (code != 0) {
            if (code > 0xFF) key += static_cast<char>(code >> 8);
            key += static_cast<char>(code & 0xFF);
            if (code == 0xFF) key += '\0';
        } else {
            key += '\xFF';
            key += '\x01';
            key += static_cast<char>(cp >> 16);
            key += static_cast<char>((cp >> 8) & 0xFF);
            key += static_cast<char>(cp & 0xFF);
        }
    }
    return key;
}

#ifdef _WIN32
// Windows names are UTF-16 and cross into the program as WTF-8 (core/os/win32/wide.h): a lone
// surrogate keeps its code unit in the three-byte form, which is also the form of an escape, so
// a name read from the system is already program text and goes back as it came.
std::string FromSystemName(std::string_view bytes) {
    std::string out;
    size_t start = 0;
    for (size_t i = 0; i + 2 < bytes.size(); ++i) {
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        const auto b2 = static_cast<unsigned char>(bytes[i + 2]);
        if (static_cast<unsigned char>(bytes[i]) != 0xED || b1 < 0xA0 || b1 > 0xBF ||
            (b2 & 0xC0) != 0x80)
            continue;
        DecodeUtf8(bytes.substr(start, i - start), out);
        out.append(bytes.substr(i, 3));
        start = i + 3;
        i += 2;
    }
    DecodeUtf8(bytes.substr(start), out);
    return out;
}

std::string ToSystemName(std::string_view text) {
    return std::string(text);
}
#else
std::string FromSystemName(std::string_view bytes) {
    std::string out;
    DecodeUtf8(bytes, out);
    return out;
}

std::string ToSystemName(std::string_view text) {
    std::string out;
    EncodeUtf8(text, out);
    return out;
}
#endif

}  // namespace kantoria
