#include "cli/content_commands.h"

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>

#include "cli/catalogue_lock.h"
#include "cli/json_writer.h"
#include "core/catalogue/catalogue.h"
#include "core/content/content_index.h"
#include "core/text/find_fold.h"
#include "core/text/path_identity.h"
#include "core/text/path_split.h"
#include "core/text/text_codec.h"

namespace kantoria::cli {
namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
// How often a long index run says how far it is.
constexpr std::chrono::seconds kProgressEvery{5};

bool Load(Catalogue& doc, const std::string& path, std::ostream& err) {
    const Status status = doc.LoadCatalogue(path);
    if (!status) err << "kantoria-cli: cannot read " << path << ": " << status.reason() << "\n";
    return status.ok();
}

// An entry's document as the file system names it.
std::string DocumentPath(std::string_view entryPath, Encoding enc) {
    return ToSystemName(FileSystemText(entryPath, enc));
}

void WriteReport(const IndexReport& report, std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
    json.Key("indexed");
    json.Number(static_cast<std::int64_t>(report.indexed));
    json.Key("unchanged");
    json.Number(static_cast<std::int64_t>(report.unchanged));
    json.Key("removed");
    json.Number(static_cast<std::int64_t>(report.removed));
    json.Key("failed");
    json.BeginArray();
    for (const FailedFile& f : report.failed) {
        json.BeginObject();
        json.Key("path");
        json.String(FromSystemName(f.path));
        json.Key("reason");
        json.String(f.reason);
        json.EndObject();
    }
    json.EndArray();
    json.Key("unsupported");
    json.Number(static_cast<std::int64_t>(report.unsupported));
    json.Key("missing");
    json.Number(static_cast<std::int64_t>(report.missing));
    json.Key("seconds");
    json.Decimal(static_cast<double>(static_cast<std::int64_t>(report.seconds * 1000)) / 1000);
    json.EndObject();
}

// Says on err, every few seconds, how far the index run is.
IndexProgress ProgressTo(std::ostream& err) {
    auto last =
        std::make_shared<std::chrono::steady_clock::time_point>(std::chrono::steady_clock::now());
    return [&err, last](std::size_t done, std::size_t total) {
        const auto now = std::chrono::steady_clock::now();
        if (now - *last < kProgressEvery) return;
        *last = now;
        err << "kantoria-cli: indexed " << done << " of " << total << " documents\n";
    };
}

using ContentHits = std::vector<std::unordered_map<std::string, std::string>>;

struct Places {
    bool title = false, comment = false, path = false, content = false;
    const std::string* snippet = nullptr;  // around the first word found in the document
};

// Where the words stand in the entry: each may stand in another place, as in the find field.
// Nothing when some word stands nowhere.
std::optional<Places> PlacesOf(const Entry& e, Encoding enc, const std::vector<std::string>& words,
                               const ContentHits& hits) {
    const std::string title = FoldForFind(ToDisplayText(e.Title(), enc));
    const std::string comment = FoldForFind(ToDisplayText(e.Comment(), enc));
    const std::string path = FoldForFind(ToDisplayText(e.Path(), enc));
    const std::string document = DocumentPath(e.Path(), enc);
    Places places;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const bool inTitle = title.find(words[i]) != std::string::npos;
        const bool inComment = comment.find(words[i]) != std::string::npos;
        const bool inPath = path.find(words[i]) != std::string::npos;
        const auto hit = hits[i].find(document);
        const bool inContent = hit != hits[i].end();
        if (!inTitle && !inComment && !inPath && !inContent) return std::nullopt;
        places.title |= inTitle;
        places.comment |= inComment;
        places.path |= inPath;
        places.content |= inContent;
        if (inContent && !places.snippet) places.snippet = &hit->second;
    }
    return places;
}

void WritePlaces(JsonWriter& json, const Places& places) {
    json.Key("in");
    json.BeginArray();
    if (places.title) json.String("title");
    if (places.comment) json.String("comment");
    if (places.path) json.String("path");
    if (places.content) json.String("content");
    json.EndArray();
    if (places.snippet) {
        json.Key("snippet");
        json.String(*places.snippet);
    }
}

// The entries every word finds, in catalogue order, as `find` lists them, with where the
// words stand.
void WriteContentMatches(Catalogue& doc, const std::vector<std::string>& words,
                         const ContentHits& hits, std::ostream& out) {
    doc.RebuildHolders();
    std::unordered_map<std::string_view, const std::string*, PathHash, PathEqual> holders;
    for (const Holder& h : doc.Holders()) holders.emplace(h.folder, &h.folder);
    const Encoding enc = doc.FileEncoding();
    JsonWriter json(out);
    json.BeginObject();
    json.Key("matches");
    json.BeginArray();
    for (const Entry& e : doc.Entries()) {
        const std::optional<Places> places =
            words.empty() ? std::nullopt : PlacesOf(e, enc, words, hits);
        if (!places) continue;
        const auto holder = holders.find(FolderOf(e.Path()));
        json.BeginObject();
        json.Key("title");
        json.String(ToDisplayText(e.Title(), enc));
        json.Key("comment");
        json.String(ToDisplayText(e.Comment(), enc));
        json.Key("path");
        json.String(ToDisplayText(e.Path(), enc));
        json.Key("holder");
        json.String(holder == holders.end() ? std::string() : ToDisplayText(*holder->second, enc));
        WritePlaces(json, *places);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

}  // namespace

int IndexCommand(std::vector<std::string> args, std::ostream& out, std::ostream& err) {
    IndexOptions options;
    if (const std::string problem = TakeWaitOption(args, options.lockPatience); !problem.empty()) {
        err << "kantoria-cli: " << problem << " (see kantoria-cli --help)\n";
        return kUsage;
    }
    if (args.size() != 1) {
        err << "kantoria-cli: index takes one catalogue (see kantoria-cli --help)\n";
        return kUsage;
    }
    Catalogue doc;
    if (!Load(doc, args[0], err)) return kFailed;
    std::vector<std::string> paths;
    for (const Entry& e : doc.Entries())
        paths.push_back(DocumentPath(e.Path(), doc.FileEncoding()));
    Status status = Status::Ok();
    std::string notice;
    const auto index = ContentIndex::OpenForUpdate(ToSystemName(args[0]), options, status, notice);
    if (!notice.empty()) err << "kantoria-cli: " << notice << "\n";
    if (!index) {
        if (status.code() == StatusCode::Busy)
            err << "kantoria-cli: another program is updating the index of " << args[0]
                << "; try again later\n";
        else
            err << "kantoria-cli: cannot open the index of " << args[0] << ": " << status.reason()
                << "\n";
        return kFailed;
    }
    const IndexReport report = index->Update(paths, ProgressTo(err));
    if (!report.status) {
        err << "kantoria-cli: the index could not be brought up to date (" << report.status.reason()
            << "); it still answers as of its last complete step\n";
        return kFailed;
    }
    WriteReport(report, out);
    return kOk;
}

int ContentFindCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) {
        err << "kantoria-cli: find --content takes a catalogue and a text (see kantoria-cli "
               "--help)\n";
        return kUsage;
    }
    Catalogue doc;
    if (!Load(doc, args[0], err)) return kFailed;
    Status status = Status::Ok();
    const auto index = ContentIndex::OpenForReading(ToSystemName(args[0]), {}, status);
    if (!index) {
        if (status.code() == StatusCode::NotFound)
            err << "kantoria-cli: " << args[0] << " has no content index yet; run kantoria-cli "
                << "index " << args[0] << " first\n";
        else
            err << "kantoria-cli: cannot read the index of " << args[0] << ": " << status.reason()
                << " (kantoria-cli index rebuilds it)\n";
        return kFailed;
    }
    const std::vector<std::string> words = FindWords(FromSystemName(args[1]));
    ContentHits inContent(words.size());
    for (std::size_t i = 0; i < words.size() && status; ++i)
        for (ContentHit& hit : index->FindWord(words[i], i + 1 == words.size(), status))
            inContent[i].emplace(std::move(hit.path), std::move(hit.snippet));
    if (!status) {
        err << "kantoria-cli: cannot read the index of " << args[0] << ": " << status.reason()
            << " (kantoria-cli index rebuilds it)\n";
        return kFailed;
    }
    WriteContentMatches(doc, words, inContent, out);
    return kOk;
}

}  // namespace kantoria::cli
