#include <algorithm>
#include <cerrno>
#include <new>
#include <string>

#include "catalogue/catalogue_format.h"
#include "catalogue/morka2_doc.h"
#include "platform/file_read.h"
#include "platform/text_number.h"

namespace kantoria {
namespace {

// Length of the character that starts text (a UTF-8 sequence or an escape), at least 1.
size_t CharLength(std::string_view text) {
    unsigned char raw;
    if (ReadEscape(text, 0, raw)) return 3;
    const auto b = static_cast<unsigned char>(text[0]);
    size_t len = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    return std::min(len, text.size());
}

// When line starts with key, stores what follows the key and one further character.
bool MatchKey(std::string_view line, std::string_view key, std::string_view& value) {
    if (line.substr(0, key.size()) != key) return false;
    value = line.substr(key.size());
    if (!value.empty()) value.remove_prefix(CharLength(value));
    return true;
}

bool ReadHeaderLine(CMORKA2Doc& doc, std::string_view line) {
    std::string_view value;
    if (MatchKey(line, kKeySelected, value)) {
        doc.m_strSelected.assign(value);
    } else if (MatchKey(line, kKeyLastHolder, value)) {
        doc.m_strLastHolder.assign(value);
    } else if (MatchKey(line, kKeyTitleWidth, value)) {
        doc.m_nTitleWidth = ParseLeadingInt(value);
    } else if (MatchKey(line, kKeyCommentWidth, value)) {
        doc.m_nCommentWidth = ParseLeadingInt(value);
    } else if (MatchKey(line, kKeyPathWidth, value)) {
        doc.m_nPathWidth = ParseLeadingInt(value);
    } else {
        return false;
    }
    return true;
}

// Before the first TAB, and after it; both are the whole text when there is no TAB.
void SplitAtTab(std::string_view text, std::string_view& before, std::string_view& after) {
    const size_t tab = text.find('\t');
    if (tab == std::string_view::npos) {
        before = after = text;
    } else {
        before = text.substr(0, tab);
        after = text.substr(tab + 1);
    }
}

void ReadEntryLine(CMORKA2Doc& doc, std::string_view line) {
    std::string_view path, rest, title, comment;
    SplitAtTab(line, path, rest);
    SplitAtTab(rest, title, comment);
    std::string commentText(comment);
    std::replace(commentText.begin(), commentText.end(), '\t', '\n');
    doc.m_EntryList.Append(std::string(path), std::string(title), std::move(commentText));
}

void ReadLine(CMORKA2Doc& doc, std::string_view line) {
    if (!ReadHeaderLine(doc, line)) ReadEntryLine(doc, line);
}

}  // namespace

Encoding DetectEncoding(std::string_view bytes, size_t& bodyStart) {
    bodyStart = 0;
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        bodyStart = kUtf8Bom.size();
        return Encoding::Utf8Bom;
    }
    if (HasNonAscii(bytes) && IsValidUtf8(bytes)) return Encoding::Utf8;
    return Encoding::Cp932;
}

void ReadCatalogue(CMORKA2Doc& doc, std::string_view bytes) {
    size_t bodyStart;
    const Encoding enc = DetectEncoding(bytes, bodyStart);
    doc.m_encoding = enc;
    bytes.remove_prefix(bodyStart);
    doc.m_EntryList.Reserve(doc.m_EntryList.size() +
                            static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    // Well-formed UTF-8 is already program text; everything else is decoded line by line
    // (LF is never part of a multi-byte character in either encoding).
    const bool decode = enc != Encoding::Utf8;
    std::string decoded;
    while (!bytes.empty()) {
        const size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (decode) {
            decoded.clear();
            Decode(enc, line, decoded);
            line = decoded;
        }
        ReadLine(doc, line);
    }
}

IoStatus CMORKA2Doc::LoadCatalogue(const std::string& path) {
    m_EntryList.Clear();
    // A new file's stored label path designates its holder afresh.
    m_strLastHolderFolder.reset();
    std::string bytes;
    IoStatus status = ReadWholeFile(ToSystemName(path), bytes);
    if (!status) return status;
    try {
        ReadCatalogue(*this, bytes);
    } catch (const std::bad_alloc&) {
        // A file too large for memory is unreadable, not a crash.
        m_EntryList.Clear();
        return IoStatus::FromErrno(ENOMEM);
    }
    return status;
}

}  // namespace kantoria
