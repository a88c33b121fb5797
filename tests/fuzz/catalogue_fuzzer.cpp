// libFuzzer target: any bytes go through the catalogue reader, whole and in pieces of several
// sizes, which must read alike; what was read is written in its own encoding and in UTF-8, and
// each file written must read back to the same catalogue (code page 932 text in UTF-8 as it is
// shown). The
// codec must carry any bytes through decoding and encoding unchanged. A broken promise aborts,
// which the fuzzer reports with the input that broke it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/catalogue_format.h"
#include "core/text/text_codec.h"

namespace kantoria {
namespace {

class StringSink final : public ByteSink {
  public:
    bool Write(std::string_view bytes) override {
        bytes_.append(bytes);
        return true;
    }
    const Status& status() const override { return ok_; }
    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
    Status ok_ = Status::Ok();
};

[[noreturn]] void Broken(const char* promise) {
    std::fprintf(stderr, "broken: %s\n", promise);
    std::abort();
}

// Whether b holds a's catalogue; shown: b was written from a code page 932 a in UTF-8, which
// holds each text as it is shown.
bool SameCatalogue(const Catalogue& a, const Catalogue& b, bool shown = false) {
    bool undecodable = false;
    auto same = [&](std::string_view mine, std::string_view theirs) {
        return shown ? ToShownText(mine, Encoding::Cp932, undecodable) == theirs : mine == theirs;
    };
    if (!same(a.SelectedTitle(), b.SelectedTitle()) || !same(a.LastHolder(), b.LastHolder()) ||
        a.TitleWidth() != b.TitleWidth() || a.CommentWidth() != b.CommentWidth() ||
        a.PathWidth() != b.PathWidth() || a.Entries().size() != b.Entries().size())
        return false;
    auto other = b.Entries().begin();
    for (const Entry& entry : a.Entries()) {
        if (!same(entry.Path(), other->Path()) || !same(entry.Title(), other->Title()) ||
            !same(entry.Comment(), other->Comment()))
            return false;
        ++other;
    }
    return true;
}

void RoundTrip(std::string_view bytes) {
    Catalogue doc;
    ReadCatalogue(doc, bytes);
    doc.RebuildHolders();
    // A refusal costs the user nothing (the save fails and the old file stays); what must
    // never happen is a file written that reads back as another catalogue.
    for (const Encoding enc : {doc.FileEncoding(), Encoding::Utf8Bom}) {
        StringSink sink;
        if (!WriteCatalogue(doc, enc, sink)) continue;
        Catalogue back;
        ReadCatalogue(back, sink.bytes());
        if (!SameCatalogue(doc, back,
                           doc.FileEncoding() == Encoding::Cp932 && enc != Encoding::Cp932)) {
            std::fprintf(stderr, "written as %s\n", std::string(EncodingName(enc)).c_str());
            Broken("a written catalogue reads back the same");
        }
    }
}

// The file reader reads lines while it still learns the encoding; wherever its pieces cut the
// bytes, it must read what the whole bytes read.
void PiecesAgree(std::string_view bytes) {
    Catalogue whole;
    ReadCatalogue(whole, bytes);
    for (const size_t piece : {size_t{1}, size_t{7}, size_t{4096}}) {
        const PieceSource source = [&](const std::function<void(std::string_view)>& consume) {
            for (size_t at = 0; at < bytes.size(); at += piece) consume(bytes.substr(at, piece));
            return Status::Ok();
        };
        Catalogue doc;
        if (!ReadCataloguePieces(doc, source, bytes.size()) ||
            doc.FileEncoding() != whole.FileEncoding() || !SameCatalogue(doc, whole))
            Broken("a file read in pieces reads as its whole bytes");
    }
}

void CodecRoundTrip(std::string_view bytes) {
    std::string text, again;
    DecodeCp932(bytes, text);
    if (!EncodeCp932(text, again) || again != bytes)
        Broken("code page 932 bytes survive decoding and encoding");
    text.clear();
    again.clear();
    DecodeUtf8(bytes, text);
    EncodeUtf8(text, again);
    if (again != bytes) Broken("UTF-8 bytes survive decoding and encoding");
}

}  // namespace
}  // namespace kantoria

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kantoria::RoundTrip(bytes);
    kantoria::PiecesAgree(bytes);
    kantoria::CodecRoundTrip(bytes);
    return 0;
}
