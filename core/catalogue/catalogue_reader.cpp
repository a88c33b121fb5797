#include <algorithm>
#include <cerrno>
#include <iterator>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/catalogue_format.h"
#include "core/os/file_read.h"
#include "core/text/text_number.h"

namespace kantoria {
namespace {

// When line starts with key, stores what follows the key and one further character. That
// character is whole: the second byte of a double-byte code must not begin the value.
bool MatchKey(std::string_view line, std::string_view key, Encoding enc, std::string_view& value) {
    if (line.substr(0, key.size()) != key) return false;
    value = line.substr(key.size());
    if (!value.empty()) value.remove_prefix(CharLengthAt(value, 0, enc));
    return true;
}

bool ReadHeaderLine(Catalogue& doc, std::string_view line) {
    const Encoding enc = doc.FileEncoding();
    std::string_view value;
    if (MatchKey(line, kKeySelected, enc, value)) {
        doc.SetSelectedTitle(std::string(value));
    } else if (MatchKey(line, kKeyLastHolder, enc, value)) {
        doc.SetLastHolder(std::string(value));
    } else if (MatchKey(line, kKeyTitleWidth, enc, value)) {
        doc.SetTitleWidth(ParseLeadingInt(value));
    } else if (MatchKey(line, kKeyCommentWidth, enc, value)) {
        doc.SetCommentWidth(ParseLeadingInt(value));
    } else if (MatchKey(line, kKeyPathWidth, enc, value)) {
        doc.SetPathWidth(ParseLeadingInt(value));
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

void ReadEntryLine(Catalogue& doc, std::string_view line) {
    std::string_view path, rest, title, comment;
    SplitAtTab(line, path, rest);
    SplitAtTab(rest, title, comment);
    if (comment.find('\t') == std::string_view::npos) {
        doc.Entries().Append(path, title, comment);
        return;
    }
    std::string commentText(comment);
    std::replace(commentText.begin(), commentText.end(), '\t', '\n');
    doc.Entries().Append(path, title, commentText);
}

void ReadLine(Catalogue& doc, std::string_view line) {
    if (!ReadHeaderLine(doc, line)) ReadEntryLine(doc, line);
}

// Learns a file's encoding from its bytes as they arrive in pieces, so that the file need
// not be held whole: whether it starts with a byte-order mark, holds anything but ASCII,
// and is well-formed UTF-8 throughout (a sequence may be cut between two pieces).
class EncodingSniffer {
  public:
    void Feed(std::string_view piece) {
        if (head_.size() < kUtf8Bom.size())
            head_.append(piece.substr(0, kUtf8Bom.size() - head_.size()));
        lineFeeds_ += static_cast<size_t>(std::count(piece.begin(), piece.end(), '\n'));
        if (!nonAscii_) nonAscii_ = HasNonAscii(piece);
        if (valid_) CheckUtf8(piece);
    }

    Encoding Finish(size_t& bodyStart) const {
        bodyStart = 0;
        if (head_ == kUtf8Bom) {
            bodyStart = kUtf8Bom.size();
            return Encoding::Utf8Bom;
        }
        return nonAscii_ && valid_ && pending_.empty() ? Encoding::Utf8 : Encoding::Cp932;
    }

    size_t LineFeeds() const { return lineFeeds_; }
    bool NonAscii() const { return nonAscii_; }
    // No byte so far breaks UTF-8 (a sequence may still be open at the end).
    bool ValidSoFar() const { return valid_; }

  private:
    // Bytes at the end of text that begin a sequence still waiting for its continuation.
    static size_t OpenTail(std::string_view text) {
        const size_t stop = text.size() > 3 ? text.size() - 3 : 0;
        for (size_t i = text.size(); i > stop; --i) {
            const auto b = static_cast<unsigned char>(text[i - 1]);
            if (b < 0x80) return 0;
            if (b < 0xC0) continue;
            const size_t need = b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF8 ? 4 : 0;
            const size_t have = text.size() - (i - 1);
            return have < need ? have : 0;
        }
        return 0;
    }

    // Validates text, keeping an unfinished sequence at its end for the next piece.
    void CheckPart(std::string_view text) {
        const size_t open = OpenTail(text);
        if (!IsValidUtf8(text.substr(0, text.size() - open))) valid_ = false;
        pending_.assign(text.substr(text.size() - open));
    }

    void CheckUtf8(std::string_view piece) {
        size_t cont = 0;
        while (cont < piece.size() && cont < 3 &&
               (static_cast<unsigned char>(piece[cont]) & 0xC0) == 0x80)
            ++cont;
        if (!pending_.empty() || cont > 0) {
            std::string joined = pending_;
            joined.append(piece.substr(0, cont));
            piece.remove_prefix(cont);
            if (piece.empty()) return CheckPart(joined);
            if (!IsValidUtf8(joined)) valid_ = false;
        }
        CheckPart(piece);
    }

    std::string head_;
    std::string pending_;
    bool nonAscii_ = false;
    bool valid_ = true;
    size_t lineFeeds_ = 0;
};

// Cuts pieces of a file into lines (LF ends a line; a CR before it belongs to the line end)
// and reads each into the document, in the encoding set last.
class LineReader {
  public:
    LineReader(Catalogue& doc, Encoding enc, size_t skip) : doc_(doc), enc_(enc), skip_(skip) {}

    void SetEncoding(Encoding enc) { enc_ = enc; }

    void Feed(std::string_view piece) {
        const size_t skipped = std::min(skip_, piece.size());
        piece.remove_prefix(skipped);
        skip_ -= skipped;
        while (!piece.empty()) {
            const size_t lf = piece.find('\n');
            if (lf == std::string_view::npos) {
                carry_.append(piece);
                return;
            }
            std::string_view line = piece.substr(0, lf);
            if (!carry_.empty()) line = carry_.append(line);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            Emit(line);
            carry_.clear();
            piece.remove_prefix(lf + 1);
        }
    }

    // The text after the last LF is a line as it stands, a CR at its end included.
    void Finish() {
        if (!carry_.empty()) Emit(carry_);
        carry_.clear();
    }

  private:
    // Well-formed UTF-8 is already program text; everything else is decoded line by line
    // (LF is never part of a multi-byte character in either encoding).
    void Emit(std::string_view line) {
        if (enc_ != Encoding::Utf8) {
            decoded_.clear();
            Decode(enc_, line, decoded_);
            line = decoded_;
        }
        ReadLine(doc_, line);
    }

    Catalogue& doc_;
    Encoding enc_;
    size_t skip_;
    std::string carry_;
    std::string decoded_;
};

// Reads a file's lines while its encoding is still being learnt, so that the file is read
// once. Until the first non-ASCII byte both encodings read the same text; from there the
// bytes seen so far decide, and only a file that looks like UTF-8 and later proves not to be
// has to be read again (answered by Finish).
class OnePassReader {
  public:
    OnePassReader(Catalogue& doc, uint64_t sizeHint) : doc_(doc), sizeHint_(sizeHint) {}

    void Feed(std::string_view piece) {
        sniffer_.Feed(piece);
        if (!reader_) {
            // Whether the file begins with a byte-order mark takes its first three bytes.
            head_.append(piece);
            if (head_.size() < kUtf8Bom.size()) return;
            Start();
            piece = head_;
        }
        Settle();
        reader_->Feed(piece);
        head_.clear();
    }

    // Ends the reading; answers false when the lines were read as UTF-8 but the file is not.
    bool Finish() {
        if (!reader_) {
            Start();
            Settle();
            reader_->Feed(head_);
        }
        size_t bodyStart;
        const Encoding final = sniffer_.Finish(bodyStart);
        // A file that ends inside a UTF-8 sequence is no UTF-8 file; its last line must not
        // be read before that is known.
        if (final != Encoding::Utf8 && readAsUtf8_) return false;
        reader_->SetEncoding(final == Encoding::Utf8 || !sniffer_.NonAscii() ? Encoding::Utf8
                                                                             : final);
        doc_.SetFileEncoding(final);
        reader_->Finish();
        return true;
    }

  private:
    // Once the first bytes tell whether the file starts with a byte-order mark.
    void Start() {
        size_t bodyStart = 0;
        if (sniffer_.Finish(bodyStart) != Encoding::Utf8Bom) bodyStart = 0;
        // The first piece's lines tell about how many the file holds.
        const size_t lines = sniffer_.LineFeeds() + 1;
        const size_t firstPiece = head_.size();
        if (firstPiece > 0 && sizeHint_ > firstPiece)
            doc_.Entries().Reserve(
                doc_.Entries().size() +
                static_cast<size_t>(static_cast<double>(lines) * static_cast<double>(sizeHint_) /
                                    static_cast<double>(firstPiece)));
        else
            doc_.Entries().Reserve(doc_.Entries().size() + lines);
        reader_.emplace(doc_, Encoding::Utf8, bodyStart);
    }

    // The encoding the lines fed so far are read in: ASCII reads alike in both (taken without
    // decoding), and the answer for an ASCII file is code page 932.
    void Settle() {
        size_t bodyStart;
        Encoding enc = sniffer_.Finish(bodyStart);
        if (enc == Encoding::Cp932 && sniffer_.NonAscii() && sniffer_.ValidSoFar()) {
            enc = Encoding::Utf8;  // unless a later byte says otherwise
            readAsUtf8_ = true;
        }
        doc_.SetFileEncoding(enc);
        reader_->SetEncoding(enc == Encoding::Cp932 && !sniffer_.NonAscii() ? Encoding::Utf8 : enc);
        if (enc == Encoding::Utf8) readAsUtf8_ = true;
    }

    Catalogue& doc_;
    uint64_t sizeHint_;
    EncodingSniffer sniffer_;
    std::optional<LineReader> reader_;
    std::string head_;         // the first bytes, until there are three
    bool readAsUtf8_ = false;  // some line was read as UTF-8
};

constexpr size_t kPieceSize = size_t{1} << 20;

}  // namespace

Encoding DetectEncoding(std::string_view bytes, size_t& bodyStart) {
    EncodingSniffer sniffer;
    sniffer.Feed(bytes);
    return sniffer.Finish(bodyStart);
}

void ReadCatalogue(Catalogue& doc, std::string_view bytes) {
    EncodingSniffer sniffer;
    sniffer.Feed(bytes);
    size_t bodyStart;
    doc.SetFileEncoding(sniffer.Finish(bodyStart));
    doc.Entries().Reserve(doc.Entries().size() + sniffer.LineFeeds() + 1);
    LineReader reader(doc, doc.FileEncoding(), bodyStart);
    reader.Feed(bytes);
    reader.Finish();
}

namespace {

// What the lines of a file may set besides the entries: put back before a second reading.
struct HeaderValues {
    explicit HeaderValues(const Catalogue& doc)
        : selected(doc.SelectedTitle()),
          lastHolder(doc.LastHolder()),
          titleWidth(doc.TitleWidth()),
          commentWidth(doc.CommentWidth()),
          pathWidth(doc.PathWidth()) {}
    void PutBack(Catalogue& doc) const {
        doc.SetSelectedTitle(selected);
        doc.SetLastHolder(lastHolder);
        doc.SetTitleWidth(titleWidth);
        doc.SetCommentWidth(commentWidth);
        doc.SetPathWidth(pathWidth);
    }
    std::string selected, lastHolder;
    int titleWidth, commentWidth, pathWidth;
};

// Drops the entries appended after the first `kept`.
void DropEntriesAfter(EntryList& entries, size_t kept) {
    if (kept == 0) return entries.Clear();
    std::vector<EntryRef> appended;
    auto it = entries.begin();
    std::advance(it, static_cast<std::ptrdiff_t>(kept));
    for (; it != entries.end(); ++it) appended.push_back(&*it);
    entries.RemoveMany(appended);
}

}  // namespace

// The file is read once, a piece at a time, its lines read as they come: holding a large
// catalogue's bytes and its entries at the same time would need far more memory than the
// entries alone. A file that looked like UTF-8 until late is read a second time; both
// readings take the one file opened, so a writer replacing it meanwhile cannot mix the old
// file's lines with the new one's.
Status ReadCataloguePieces(Catalogue& doc, const PieceSource& source, uint64_t sizeHint) {
    const HeaderValues before(doc);
    const size_t kept = doc.Entries().size();
    {
        OnePassReader reader(doc, sizeHint);
        const Status status = source([&reader](std::string_view p) { reader.Feed(p); });
        if (!status) return status;
        if (reader.Finish()) return Status::Ok();
    }
    DropEntriesAfter(doc.Entries(), kept);
    before.PutBack(doc);
    // The bytes are known now not to be UTF-8; an ASCII start settles nothing, so the second
    // reading decodes every line as code page 932 from the start.
    doc.SetFileEncoding(Encoding::Cp932);
    LineReader reader(doc, Encoding::Cp932, 0);
    const Status status = source([&reader](std::string_view p) { reader.Feed(p); });
    if (status) reader.Finish();
    return status;
}

Status ReadCatalogueFile(Catalogue& doc, const ReadableFile& file, size_t pieceSize) {
    return ReadCataloguePieces(
        doc,
        [&file, pieceSize](const std::function<void(std::string_view)>& consume) {
            return file.ReadInPieces(pieceSize, consume);
        },
        file.Size());
}

Status ReadCatalogueFile(Catalogue& doc, const std::string& systemPath, size_t pieceSize) {
    ReadableFile file;
    if (Status opened = file.Open(systemPath); !opened) return opened;
    return ReadCatalogueFile(doc, file, pieceSize);
}

Status Catalogue::LoadCatalogue(const std::string& path) {
    ReadableFile file;
    const Status opened = file.Open(ToSystemName(path));
    if (!opened) {
        StampFile(path);
        entries_.Clear();
        lastHolderFolder_.reset();
        lastSaveSwitch_.reset();
        return opened;
    }
    return LoadCatalogue(file, path);
}

Status Catalogue::LoadCatalogue(const ReadableFile& file, const std::string& path) {
    // What the open found: a change while the file is read shows as a change later.
    stampedPath_ = path;
    stamp_ = file.Stamp();
    entries_.Clear();
    // A new file's stored label path designates its holder afresh.
    lastHolderFolder_.reset();
    lastSaveSwitch_.reset();
    try {
        const Status status = ReadCatalogueFile(*this, file, kPieceSize);
        if (!status) entries_.Clear();
        return status;
    } catch (const std::bad_alloc&) {
        // A file too large for memory is unreadable, not a crash.
        entries_.Clear();
        return Status::FromErrno(ENOMEM);
    }
}

void Catalogue::StampFile(const std::string& path) {
    stampedPath_ = path;
    stamp_ = StampOf(ToSystemName(path));
}

Status Catalogue::CheckUnchangedOnDisk(const std::string& path) const {
    if (path != stampedPath_) return Status::Ok();
    // A file gone from the path holds nobody's work that a write could replace.
    const FileStamp now = StampOf(ToSystemName(path));
    if (!now.exists || now == stamp_) return Status::Ok();
    return Status::Failed(StatusCode::ChangedOnDisk, "changed by another program");
}

}  // namespace kantoria
