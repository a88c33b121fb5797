// Conversions between the bytes of a catalogue file and the UTF-8 text the program holds.
//
// Every byte sequence survives decode followed by encode unchanged. A byte that cannot be
// decoded is held as an "escape": the lone surrogate U+DC00 + byte, written in the UTF-8 form
// ED B0..B3 xx. Real text never contains lone surrogates, so the encoders can recognise an
// escape and write the original byte back. The second byte of an unassigned double-byte code
// is escaped too, even when it is ASCII: a '\' there is no path separator. The five single
// bytes code page 932 leaves without a character (80, A0, FD, FE, FF) are read as the
// characters Windows gives them (U+0080, U+F8F0..U+F8F3) and written back as the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kantoria {

enum class Encoding {
    Cp932,    // Shift-JIS as Windows writes it (code page 932), the catalogue's native form
    Utf8,     // UTF-8 without a byte-order mark
    Utf8Bom,  // UTF-8 with a byte-order mark
};

// "cp932", "utf-8", "utf-8-bom".
std::string_view EncodingName(Encoding enc);

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Appends the escape of one raw byte to out.
void AppendEscape(std::string& out, unsigned char byte);

// When text[pos..] starts with an escape, returns true and stores the raw byte.
inline bool ReadEscape(std::string_view text, size_t pos, unsigned char& byte) {
    if (pos + 2 >= text.size() || static_cast<unsigned char>(text[pos]) != 0xED) return false;
    const auto b1 = static_cast<unsigned char>(text[pos + 1]);
    const auto b2 = static_cast<unsigned char>(text[pos + 2]);
    if (b1 < 0xB0 || b1 > 0xB3 || (b2 & 0xC0) != 0x80) return false;
    byte = static_cast<unsigned char>(((b1 & 0x03) << 6) | (b2 & 0x3F));
    return true;
}

// Length of the character that starts text at pos, at least 1 and at most what is left: a UTF-8
// sequence, an escape, or in code page 932 an escaped lead byte with the escaped trail byte the
// decoder paired it with (the two bytes of one unassigned double-byte code).
size_t CharLengthAt(std::string_view text, size_t pos, Encoding enc);

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// True when some byte is outside ASCII.
bool HasNonAscii(std::string_view bytes);

// Appends the UTF-8 form of the code point c.
void AppendUtf8(std::string& out, char32_t c);

// Decoders append to out. Both carry undecodable bytes as escapes.
void DecodeCp932(std::string_view bytes, std::string& out);
void DecodeUtf8(std::string_view bytes, std::string& out);

// Encoders append to out. EncodeCp932 answers false when some character has no code page 932
// form (out then holds a partial result). Both write escapes back as their raw bytes; when
// escapes were written, *wroteEscape is set so the caller can check the result reads back.
bool EncodeCp932(std::string_view text, std::string& out, bool* wroteEscape = nullptr);
void EncodeUtf8(std::string_view text, std::string& out, bool* wroteEscape = nullptr);

// Decodes in the given encoding (a byte-order mark is not expected in bytes).
void Decode(Encoding enc, std::string_view bytes, std::string& out);

// Replaces each escape by U+FFFD, for showing text where raw bytes cannot go.
std::string ToDisplayText(std::string_view text);

// Text of a catalogue in enc as the user sees it. In code page 932, a pair of escapes that holds
// a twin code (a second code of a character: ED40 and FA5C are both 纊) shows as the character
// Windows decodes it to; every other escape shows as U+FFFD. The stored text keeps the bytes:
// identity and order go by them.
std::string ToDisplayText(std::string_view text, Encoding enc);

// ToDisplayText(text, enc), and whether some escape in text became U+FFFD: the text as a file in
// UTF-8 holds what a code page 932 catalogue showed.
std::string ToShownText(std::string_view text, Encoding enc, bool& undecodable);

// A path of a catalogue in enc as the file system spells it: in code page 932 a twin code held
// as escapes becomes its character, as Windows names the file; other escapes stay raw bytes.
std::string FileSystemText(std::string_view path, Encoding enc);

// A key whose byte order is the order of text's code page 932 bytes: escapes count as their raw
// bytes, and characters code page 932 cannot hold come after everything else, by code point.
std::string Cp932OrderKey(std::string_view text);

// Converts a file name as the system delivers it (UTF-8 on POSIX, possibly malformed; WTF-8
// made from UTF-16 on Windows) to program text, and back.
std::string FromSystemName(std::string_view bytes);
std::string ToSystemName(std::string_view text);

}  // namespace kantoria
