#include <algorithm>
#include <optional>
#include <string>

#include "core/catalogue/catalogue_format.h"
#include "core/catalogue/morka2_doc.h"

namespace kantoria {
namespace {

constexpr size_t kFlushSize = 1 << 20;

// Encodes one line at a time and keeps track of whether the file will read back as written.
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
        if (enc_ == Encoding::Utf8) {
            // Without a byte-order mark only well-formed UTF-8 is read as UTF-8.
            if (escaped || !IsValidUtf8(bytes)) return false;
        } else if (enc_ == Encoding::Cp932 && escaped && !ReadsBack(bytes, line)) {
            return false;
        }
        // UTF-8 with a byte-order mark is the last resort and carries whatever it is given.
        if (enc_ == Encoding::Cp932) TrackUtf8Lookalike(bytes);
        return true;
    }

    // A code page 932 file that happens to be well-formed, non-ASCII UTF-8 would be read as
    // UTF-8.
    bool Finish() const { return !(enc_ == Encoding::Cp932 && allUtf8_ && anyNonAscii_); }

  private:
    // Raw bytes written back may join their neighbours into another character.
    bool ReadsBack(std::string_view bytes, std::string_view line) {
        check_.clear();
        Decode(enc_, bytes, check_);
        return check_ == line;
    }

    void TrackUtf8Lookalike(std::string_view bytes) {
        if (!allUtf8_) return;
        if (!HasNonAscii(bytes)) return;
        anyNonAscii_ = true;
        allUtf8_ = IsValidUtf8(bytes);
    }

    Encoding enc_;
    std::string check_;
    bool allUtf8_ = true;
    bool anyNonAscii_ = false;
};

void AppendHeader(std::string& line, std::string_view key, std::string_view value) {
    line.assign(key);
    line += '=';
    line += value;
}

// Whether a code page 932 file can hold text exactly.
bool FitsCp932(std::string_view text) {
    std::string bytes;
    bool escaped = false;
    if (!EncodeCp932(text, bytes, &escaped)) return false;
    if (!escaped) return true;
    std::string back;
    DecodeCp932(bytes, back);
    return back == text;
}

std::optional<EncodingSwitch> FindCp932Misfit(const EntryList& entries) {
    for (const CDocEntry& entry : entries)
        if (!FitsCp932(entry.m_strPath)) return EncodingSwitch{entry.m_strPath, true};
    for (const CDocEntry& entry : entries)
        if (!FitsCp932(entry.m_strTitle) || !FitsCp932(entry.m_strComment))
            return EncodingSwitch{entry.m_strPath, false};
    return std::nullopt;
}

}  // namespace

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
    const std::pair<std::string_view, std::string> header[] = {
        {kKeySelected, doc.m_strSelected},
        {kKeyLastHolder, doc.m_strLastHolder},
        {kKeyTitleWidth, std::to_string(doc.m_nTitleWidth)},
        {kKeyCommentWidth, std::to_string(doc.m_nCommentWidth)},
        {kKeyPathWidth, std::to_string(doc.m_nPathWidth)},
    };
    for (const auto& [key, value] : header) {
        AppendHeader(line, key, value);
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
    if (!encoder.Finish()) return notExact;
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
        if (m_encoding == Encoding::Cp932 && enc == Encoding::Utf8Bom)
            lastSaveSwitch_ = FindCp932Misfit(m_EntryList);
        m_encoding = enc;
        return status;
    }
}

}  // namespace kantoria
