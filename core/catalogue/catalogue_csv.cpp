#include "core/catalogue/catalogue_csv.h"

#include <unordered_map>

#include "core/catalogue/catalogue_format.h"
#include "core/catalogue/csv_table.h"
#include "core/catalogue/storable_field.h"
#include "core/catalogue/unique_title.h"
#include "core/text/entered_text.h"
#include "core/text/path_identity.h"
#include "core/text/path_split.h"
#include "core/text/text_fold.h"

namespace kantoria {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

bool NeedsGuard(std::string_view field) {
    return !field.empty() && std::string_view("=+-@'").find(field[0]) != std::string_view::npos;
}

std::string Guarded(std::string text) {
    if (NeedsGuard(text)) text.insert(0, 1, '\'');
    return text;
}

std::string Unguarded(std::string text) {
    if (text.size() >= 2 && text[0] == '\'' && NeedsGuard(std::string_view(text).substr(1)))
        text.erase(0, 1);
    return text;
}

size_t CountReplacements(std::string_view text) {
    size_t count = 0;
    for (size_t at = text.find(kReplacement); at != std::string_view::npos;
         at = text.find(kReplacement, at + kReplacement.size()))
        ++count;
    return count;
}

// The text as a spreadsheet gets it; sets undecodable when bytes became U+FFFD.
std::string ForSheet(std::string_view text, Encoding enc, bool& undecodable) {
    std::string shown = ToDisplayText(text, enc);
    if (CountReplacements(shown) != CountReplacements(text)) undecodable = true;
    return Guarded(std::move(shown));
}

// A comment's line breaks in any of the three forms, as the catalogue holds them.
std::string CommentFromSheet(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

int ColumnOf(const std::vector<std::string>& header, std::string_view japanese,
             std::string_view english) {
    for (size_t i = 0; i < header.size(); ++i) {
        if (header[i] == japanese || EqualsNoCase(header[i], english)) return static_cast<int>(i);
    }
    return -1;
}

std::string FieldAt(const std::vector<std::string>& fields, int column) {
    return column < static_cast<int>(fields.size()) ? fields[static_cast<size_t>(column)]
                                                    : std::string();
}

}  // namespace

CsvExport ExportCsv(const Catalogue& doc) {
    // An entry's holder as the tree spells it: the folder of the first entry that yields it.
    std::unordered_map<std::string_view, const std::string*, PathHash, PathEqual> holders;
    for (const Holder& h : doc.Holders()) holders.emplace(h.folder, &h.folder);
    CsvExport result;
    result.bytes = kUtf8Bom;
    AppendCsvRecord(result.bytes, {"タイトル", "コメント", "Path", "ホルダー"});
    const Encoding enc = doc.FileEncoding();
    for (const Entry& e : doc.Entries()) {
        const std::string_view folder = FolderOf(e.Path());
        const auto holder = holders.find(folder);
        const std::string_view holderText =
            holder == holders.end() ? folder : std::string_view(*holder->second);
        bool undecodable = false;
        AppendCsvRecord(
            result.bytes,
            {ForSheet(e.Title(), enc, undecodable), ForSheet(e.Comment(), enc, undecodable),
             ForSheet(e.Path(), enc, undecodable), ForSheet(holderText, enc, undecodable)});
        if (undecodable) ++result.entriesWithUndecodable;
    }
    return result;
}

std::string_view CsvSkipName(CsvSkip reason) {
    switch (reason) {
        case CsvSkip::NoPath:
            return "no path";
        case CsvSkip::Registered:
            return "already registered";
        case CsvSkip::NotStorable:
            return "tab or line break in path or title";
        case CsvSkip::NulInPath:
            return "NUL in path";
        case CsvSkip::HeaderKeyPath:
            return "path begins with a header key";
        case CsvSkip::UnclosedQuote:
            return "unclosed quote";
    }
    return "";
}

CsvImport ImportCsv(Catalogue& doc, std::string_view bytes) {
    size_t bodyStart = 0;
    const Encoding enc = DetectEncoding(bytes, bodyStart);
    std::string text;
    Decode(enc, bytes.substr(bodyStart), text);
    const std::vector<CsvRecord> records = ParseCsv(text);

    CsvImport result;
    if (records.empty()) return result;
    const std::vector<std::string>& header = records.front().fields;
    const int pathColumn = ColumnOf(header, "Path", "path");
    const int titleColumn = ColumnOf(header, "タイトル", "title");
    const int commentColumn = ColumnOf(header, "コメント", "comment");
    if (pathColumn < 0 || titleColumn < 0 || commentColumn < 0) return result;
    result.headerFound = true;

    UniqueTitles titles;
    for (size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& row = records[r];
        std::string path = Unguarded(FieldAt(row.fields, pathColumn));
        const auto skip = [&](CsvSkip reason) {
            result.skipped.push_back({row.row, path, reason});
        };
        if (row.unclosedQuote) {
            // Where the open cell was meant to end cannot be told: nothing of it is taken.
            if (pathColumn + 1 >= static_cast<int>(row.fields.size())) path.clear();
            skip(CsvSkip::UnclosedQuote);
            continue;
        }
        if (path.empty()) {
            skip(CsvSkip::NoPath);
            continue;
        }
        std::string title =
            EnteredText(Unguarded(FieldAt(row.fields, titleColumn)), doc.FileEncoding());
        if (title.empty()) title = EnteredText(SplitPath(path).name, doc.FileEncoding());
        const PathFault fault = PathFaultOf(path);
        if (fault == PathFault::TabOrBreak || !IsStorableField(title)) {
            skip(CsvSkip::NotStorable);
            continue;
        }
        if (fault != PathFault::None) {
            skip(fault == PathFault::Nul ? CsvSkip::NulInPath : CsvSkip::HeaderKeyPath);
            continue;
        }
        if (doc.Entries().FindByPath(path)) {
            skip(CsvSkip::Registered);
            continue;
        }
        std::string comment = EnteredText(
            CommentFromSheet(Unguarded(FieldAt(row.fields, commentColumn))), doc.FileEncoding());
        title = titles.For(doc.Entries(), title);
        result.added.push_back(
            doc.Entries().Append(std::move(path), std::move(title), std::move(comment)));
    }
    return result;
}

}  // namespace kantoria
