#include <algorithm>
#include <optional>
#include <string>
#include <tuple>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/catalogue_format.h"

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
bool Cp932WouldReadAsUtf8(const Catalogue& doc) {
    std::string scratch;
    bool nonAscii = false;
    auto judge = [&](std::string_view text) {
        const Cp932Shape shape = ShapeOf(text, scratch);
        if (shape == Cp932Shape::kUtf8) nonAscii = true;
        return shape != Cp932Shape::kOther;
    };
    if (!judge(doc.SelectedTitle()) || !judge(doc.LastHolder())) return false;
    for (const Entry& entry : doc.Entries())
        if (!judge(entry.Path()) || !judge(entry.Title()) || !judge(entry.Comment())) return false;
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

std::optional<EncodingSwitch> FindCp932Misfit(const Catalogue& doc) {
    for (const Entry& entry : doc.Entries())
        if (!FitsCp932(entry.Path()))
            return EncodingSwitch{std::string(entry.Path()), true, std::string(entry.Path())};
    for (const Entry& entry : doc.Entries())
        for (const std::string_view text : {entry.Title(), entry.Comment()})
            if (!FitsCp932(text))
                return EncodingSwitch{std::string(entry.Path()), false, std::string(text)};
    for (const std::string_view text : {doc.SelectedTitle(), doc.LastHolder()})
        if (!FitsCp932(text)) return EncodingSwitch{std::string(), false, std::string(text)};
    return std::nullopt;
}

// Whether showing text puts U+FFFD where bytes no character stands for lie.
bool ShowsUndecodable(std::string_view text) {
    if (text.find('\xED') == std::string_view::npos) return false;  // no escape at all
    bool undecodable = false;
    ToShownText(text, Encoding::Cp932, undecodable);
    return undecodable;
}

}  // namespace

std::optional<EncodingSwitch> PlanEncodingSwitch(const Catalogue& doc) {
    if (doc.FileEncoding() != Encoding::Cp932) return std::nullopt;
    std::optional<EncodingSwitch> change = FindCp932Misfit(doc);
    if (!change) return change;
    for (const Entry& entry : doc.Entries())
        if (ShowsUndecodable(entry.Path()) || ShowsUndecodable(entry.Title()) ||
            ShowsUndecodable(entry.Comment()))
            ++change->undecodable;
    return change;
}

bool FitsCp932(std::string_view text) {
    std::string bytes;
    bool escaped = false;
    if (!EncodeCp932(text, bytes, &escaped)) return false;
    if (!escaped) return true;
    std::string back;
    DecodeCp932(bytes, back);
    return back == text;
}

Status WriteCatalogue(const Catalogue& doc, Encoding enc, ByteSink& sink) {
    const Status notExact =
        Status::Failed(StatusCode::NotEncodable, "text that this encoding cannot carry");
    LineEncoder encoder(enc);
    std::string out;
    out.reserve(kFlushSize + (1 << 16));
    if (enc == Encoding::Utf8Bom) out += kUtf8Bom;
    std::string line;
    // Code page 932 bytes mean nothing in UTF-8: such a file holds what the window showed.
    const bool shown = doc.FileEncoding() == Encoding::Cp932 && enc != Encoding::Cp932;
    bool undecodable = false;
    auto emit = [&]() -> Status {
        if (shown) line = ToShownText(line, Encoding::Cp932, undecodable);
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
        {kKeySelected, "=", doc.SelectedTitle()},
        {kKeyLastHolder, "=", doc.LastHolder()},
        {kKeyTitleWidth, widthSeparator, std::to_string(doc.TitleWidth())},
        {kKeyCommentWidth, "=", std::to_string(doc.CommentWidth())},
        {kKeyPathWidth, "=", std::to_string(doc.PathWidth())},
    };
    for (const auto& [key, separator, value] : header) {
        AppendHeader(line, key, separator, value);
        if (Status status = emit(); !status) return status;
    }
    for (const Entry& entry : doc.Entries()) {
        line.assign(entry.Path());
        line += '\t';
        line += entry.Title();
        line += '\t';
        const size_t commentStart = line.size();
        line += entry.Comment();
        std::replace(line.begin() + static_cast<std::ptrdiff_t>(commentStart), line.end(), '\n',
                     '\t');
        if (Status status = emit(); !status) return status;
    }
    if (!out.empty() && !sink.Write(out)) return sink.status();
    return Status::Ok();
}

Status Catalogue::SaveCatalogue(const std::string& path) {
    // Text that the catalogue's own encoding cannot carry exactly is written as UTF-8 with a
    // byte-order mark instead, which carries everything.
    lastSaveSwitch_.reset();
    switchRefused_ = false;
    auto writeAs = [&](Encoding enc) {
        Status status = Status::Ok();
        std::unique_ptr<AtomicFile> file = AtomicFile::Create(ToSystemName(path), status);
        if (!file) return status;
        status = WriteCatalogue(*this, enc, *file);
        return status ? file->Commit() : status;
    };
    Encoding enc = encoding_;
    Status status = writeAs(enc);
    std::optional<EncodingSwitch> leaving;
    if (status.code() == StatusCode::NotEncodable && enc != Encoding::Utf8Bom) {
        if (encoding_ == Encoding::Cp932) {
            leaving = PlanEncodingSwitch(*this).value_or(EncodingSwitch{});
            if (approveSwitch_ && !approveSwitch_(*leaving)) {
                switchRefused_ = true;
                return Status::Failed(StatusCode::NotEncodable,
                                      "the catalogue was kept in code page 932");
            }
        }
        enc = Encoding::Utf8Bom;
        status = writeAs(enc);
    }
    if (!status) return status;
    StampFile(path);
    if (leaving) {
        TakeShownTexts();
        lastSaveSwitch_ = std::move(leaving);
    }
    encoding_ = enc;
    return status;
}

void Catalogue::TakeShownTexts() {
    bool undecodable = false;
    auto shown = [&](std::string_view text) {
        return ToShownText(text, Encoding::Cp932, undecodable);
    };
    bool moved = false;
    for (const Entry& entry : entries_) {
        // Only escapes change, and each begins with ED.
        if (std::string path = shown(entry.Path()); path != entry.Path()) {
            entries_.SetPath(&entry, path);
            moved = true;
        }
        if (std::string title = shown(entry.Title()); title != entry.Title())
            entries_.SetTitle(&entry, title);
        if (std::string comment = shown(entry.Comment()); comment != entry.Comment())
            entries_.SetComment(&entry, comment);
    }
    for (std::string* text :
         {&selectedTitle_, &lastHolder_, &clipTitle_, &clipComment_, &clipPath_})
        *text = shown(*text);
    if (lastHolderFolder_) lastHolderFolder_ = shown(*lastHolderFolder_);
    if (moved) RebuildHolders();
}

}  // namespace kantoria
