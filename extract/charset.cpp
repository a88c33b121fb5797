#include "extract/charset.h"

#include <iconv.h>
#include <uchardet/uchardet.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "core/text/text_codec.h"

namespace kantoria {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    std::replace(out.begin(), out.end(), '_', '-');
    return out;
}

bool IsCp932Name(const std::string& upper) {
    return upper == "SHIFT-JIS" || upper == "SHIFTJIS" || upper == "SJIS" || upper == "X-SJIS" ||
           upper == "CP932" || upper == "WINDOWS-31J" || upper == "MS-KANJI" ||
           upper == "CSSHIFTJIS" || upper == "MS932";
}

// Seven-bit bytes with the escapes that switch ISO-2022-JP into JIS X 0208.
bool LooksIso2022Jp(std::string_view bytes) {
    return bytes.find("\x1B$B") != std::string_view::npos ||
           bytes.find("\x1B$@") != std::string_view::npos ||
           bytes.find("\x1B(J") != std::string_view::npos;
}

std::string Cp932ToUtf8(std::string_view bytes, bool& clean) {
    std::string decoded;
    DecodeCp932(bytes, decoded);
    bool undecodable = false;
    std::string shown = ToShownText(decoded, Encoding::Cp932, undecodable);
    clean = !undecodable;
    return shown;
}

// The detector's statistics settle long before this much text; past it, it would cost more
// CPU than all the rest of the extraction.
constexpr size_t kDetectorSample = size_t{4} << 20;

std::string Uchardet(std::string_view bytes) {
    bytes = bytes.substr(0, kDetectorSample);
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(
        uchardet_new(), uchardet_delete);
    if (!detector) return {};
    if (uchardet_handle_data(detector.get(), bytes.data(), bytes.size()) != 0) return {};
    uchardet_data_end(detector.get());
    const char* name = uchardet_get_charset(detector.get());
    return name ? Upper(name) : std::string();
}

bool IconvKnows(const std::string& charset) {
    const iconv_t cd = iconv_open("UTF-8", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    iconv_close(cd);
    return true;
}

// Converts through iconv; a byte that does not decode becomes U+FFFD and decoding goes on
// after it; an incomplete character at the end is dropped.
bool IconvToUtf8(std::string_view bytes, const std::string& charset, std::string& out) {
    const iconv_t cd = iconv_open("UTF-8", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char buffer[16384];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t n = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (n != static_cast<size_t>(-1) || error == E2BIG) continue;
        if (error != EILSEQ) break;
        out.append(kReplacement);
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return true;
}

}  // namespace

std::string_view BomCharset(std::string_view bytes, size_t& bomLength) {
    bomLength = 0;
    if (bytes.starts_with(kUtf8Bom)) return bomLength = 3, "UTF-8";
    if (bytes.starts_with("\xFF\xFE")) return bomLength = 2, "UTF-16LE";
    if (bytes.starts_with("\xFE\xFF")) return bomLength = 2, "UTF-16BE";
    return {};
}

std::string DetectCharset(std::string_view bytes) {
    if (!HasNonAscii(bytes)) return LooksIso2022Jp(bytes) ? "ISO-2022-JP" : "UTF-8";
    if (IsValidUtf8(bytes)) return "UTF-8";
    const std::string guess = Uchardet(bytes);
    if (guess == "EUC-JP" || IsCp932Name(guess)) return IsCp932Name(guess) ? "CP932" : guess;
    bool clean = false;
    Cp932ToUtf8(bytes, clean);
    if (clean) return "CP932";
    if (!guess.empty() && guess != "ASCII" && IconvKnows(guess)) return guess;
    return "CP932";
}

std::string ToUtf8(std::string_view bytes, std::string_view charset) {
    const std::string name = Upper(charset);
    bool clean = false;
    if (IsCp932Name(name)) return Cp932ToUtf8(bytes, clean);
    if (name == "UTF-8" || name == "UTF8" || name == "US-ASCII" || name == "ASCII") {
        if (IsValidUtf8(bytes)) return std::string(bytes);
        std::string decoded;
        DecodeUtf8(bytes, decoded);
        return ToDisplayText(decoded);
    }
    std::string out;
    if (!IconvToUtf8(bytes, name, out)) return ToUtf8(bytes, DetectCharset(bytes));
    return out;
}

std::string DecodeText(std::string_view bytes) {
    size_t bom = 0;
    const std::string_view named = BomCharset(bytes, bom);
    const std::string_view rest = bytes.substr(bom);
    return ToUtf8(rest, named.empty() ? DetectCharset(rest) : std::string(named));
}

}  // namespace kantoria
