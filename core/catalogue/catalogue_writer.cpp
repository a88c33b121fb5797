#include <algorithm>
#include <optional>
#include <string>
#include <tuple>

#include "core/catalogue/catalogue_format.h"
#include "core/catalogue/morka2_doc.h"

namespace kantoria {
namespace {

constexpr size_t kFlushSize = 1 << 20;

// Encodes one line at a time and checks that the file will read back as written.
class LineEncoder {
  public:
    explicit LineEncoder(Encoding enc) : enc_(enc) {}

    // Appends the encoded line to out; false when the line cannot be written exactly.
    bool Encode(std::string_view line, std::string& out) {
        const size_t start = out.size();
        bool escaped = false;
        if (enc_ == Encoding::Cp932) {
            if (!EncodeCp932(line, out, &escaped)) return false;
        } else {
            EncodeUtf8(line, out, &escaped);
        }
        const std::string_view bytes(out.data() + start, out.size() - start);
        // Without a byte-order mark only well-formed UTF-8 is read as UTF-8.
        if (enc_ == Encoding::Utf8 && (escaped || !IsValidUtf8(bytes))) return false;
        // Raw bytes written back may join their neighbours into another character, in UTF-8
        // with a byte-order mark too: the last resort carries only what reads back.
        return !escaped || ReadsBack(bytes, line);
    }

  private:
    bool ReadsBack(std::string_view bytes, std::string_view line) {
        check_.clear();
        Decode(enc_, bytes, check_);
        return check_ == line;
    }

    Encoding enc_;
    std::string check_;
};

// Whether text written in code page 932 is plain ASCII (kAscii), well-formed UTF-8 with
// something else (kUtf8), or neither (kOther); text that has no code page 932 form counts as
// kOther, as such a save leaves code page 932 anyway.
enum class Cp932Shape { kAscii, kUtf8, kOther };

Cp932Shape ShapeOf(std::string_view text, std::string& scratch) {
    if (!HasNonAscii(text)) return Cp932Shape::kAscii;
    scratch.clear();
    if (!EncodeCp932(text, scratch)) return Cp932Shape::kOther;
    return IsValidUtf8(scratch) ? Cp932Shape::kUtf8 : Cp932Shape::kOther;
}

// A code page 932 file whose bytes are all well-formed UTF-8, not all ASCII, would be read as
// UTF-8. Lines are joined by ASCII, so each text can be judged alone; the first text that is
// not UTF-8 settles it, which in a Japanese catalogue is usually the first one.
bool Cp932WouldReadAsUtf8(const CMORKA2Doc& doc) {
    std::string scratch;
    bool nonAscii = false;
    auto judge = [&](std::string_view text) {
        const Cp932Shape shape = ShapeOf(text, scratch);
        if (shape == Cp932Shape::kUtf8) nonAscii = true;
        return shape != Cp932Shape::kOther;
    };
    if (!judge(doc.m_strSelected) || !judge(doc.m_strLastHolder)) return false;
    for (const CDocEntry& entry : doc.m_EntryList)
        if (!judge(entry.m_strPath) || !judge(entry.m_strTitle) || !judge(entry.m_strComment))
            return false;
    return nonAscii;
}

// Written after the key of one width line instead of "=" when a code page 932 file would
// otherwise read as UTF-8: a one-byte character (half-width "｡") that is never UTF-8 after an
// ASCII letter. Readers skip whatever single character follows a key, so the value is the same.
constexpr std::string_view kCp932Mark = "｡";

void AppendHeader(std::string& line, std::string_view key, std::string_view separator,
                  std::string_view value) {
    line.assign(key);
    line += separator;
    line += value;
}

std::optional<EncodingSwitch> FindCp932Misfit(const EntryList& entries) {
    for (const CDocEntry& entry : entries)
        if (!FitsCp932(entry.m_strPath)) return EncodingSwitch{std::string(entry.m_strPath), true};
    for (const CDocEntry& entry : entries)
        if (!FitsCp932(entry.m_strTitle) || !FitsCp932(entry.m_strComment))
            return EncodingSwitch{std::string(entry.m_strPath), false};
    return std::nullopt;
}

}  // namespace

bool FitsCp932(std::string_view text) {
    std::string bytes;
    bool escaped = false;
    if (!EncodeCp932(text, bytes, &escaped)) return false;
    if (!escaped) return true;
    std::string back;
    DecodeCp932(bytes, back);
    return back == text;
}

Status WriteCatalogue(const CMORKA2Doc& doc, Encoding enc, ByteSink& sink) {
    const Status notExact =
        Status::Failed(StatusCode::NotEncodable, "text that this encoding cannot carry");
    LineEncoder encoder(enc);
    std::string out;
    out.reserve(kFlushSize + (1 << 16));
    if (enc == Encoding::Utf8Bom) out += kUtf8Bom;
    std::string line;
    auto emit = [&]() -> Status {
        if (!encoder.Encode(line, out)) return notExact;
        out += "\r\n";
        if (out.size() >= kFlushSize) {
            if (!sink.Write(out)) return sink.status();
            out.clear();
        }
        return Status::Ok();
    };
    const std::string_view widthSeparator =
        enc == Encoding::Cp932 && Cp932WouldReadAsUtf8(doc) ? kCp932Mark : "=";
    const std::tuple<std::string_view, std::string_view, std::string> header[] = {
        {kKeySelected, "=", doc.m_strSelected},
        {kKeyLastHolder, "=", doc.m_strLastHolder},
        {kKeyTitleWidth, widthSeparator, std::to_string(doc.m_nTitleWidth)},
        {kKeyCommentWidth, "=", std::to_string(doc.m_nCommentWidth)},
        {kKeyPathWidth, "=", std::to_string(doc.m_nPathWidth)},
    };
    for (const auto& [key, separator, value] : header) {
        AppendHeader(line, key, separator, value);
        if (Status status = emit(); !status) return status;
    }
    for (const CDocEntry& entry : doc.m_EntryList) {
        line.assign(entry.m_strPath);
        line += '\t';
        line += entry.m_strTitle;
        line += '\t';
        const size_t commentStart = line.size();
        line += entry.m_strComment;
        std::replace(line.begin() + static_cast<std::ptrdiff_t>(commentStart), line.end(), '\n',
                     '\t');
        if (Status status = emit(); !status) return status;
    }
    if (!out.empty() && !sink.Write(out)) return sink.status();
    return Status::Ok();
}

Status CMORKA2Doc::SaveCatalogue(const std::string& path) {
    // Text that the catalogue's own encoding cannot carry exactly is written as UTF-8 with a
    // byte-order mark instead, which carries everything.
    lastSaveSwitch_.reset();
    for (Encoding enc = m_encoding;; enc = Encoding::Utf8Bom) {
        Status status = Status::Ok();
        std::unique_ptr<AtomicFile> file = AtomicFile::Create(ToSystemName(path), status);
        if (!file) return status;
        status = WriteCatalogue(*this, enc, *file);
        if (status.code() == StatusCode::NotEncodable && enc != Encoding::Utf8Bom) continue;
        if (!status) return status;
        status = file->Commit();
        if (!status) return status;
        StampFile(path);
        if (m_encoding == Encoding::Cp932 && enc == Encoding::Utf8Bom)
            lastSaveSwitch_ = FindCp932Misfit(m_EntryList);
        m_encoding = enc;
        return status;
    }
}

}  // namespace kantoria
