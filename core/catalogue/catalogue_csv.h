// The catalogue as a spreadsheet file and back: comma-separated values in UTF-8 with a
// byte-order mark, which spreadsheet programs open with Japanese text intact.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/catalogue.h"

namespace kantoria {

struct CsvExport {
    std::string bytes;
    // Entries with bytes the catalogue could not decode, written as U+FFFD.
    int entriesWithUndecodable = 0;
};

// Header タイトル,コメント,Path,ホルダー, then one row per entry in catalogue order. The holder
// column holds the folder the holder tree groups the entry under (the holders must be built).
// A field that begins with =, +, - or @ gets a leading apostrophe, so that a spreadsheet shows
// it rather than computing it; so does one that begins with an apostrophe, so that reading the
// file back can take every such apostrophe off again.
CsvExport ExportCsv(const Catalogue& doc);

enum class CsvSkip {
    NoPath,       // the row's path field is empty
    Registered,   // an entry already holds the path
    NotStorable,  // the path or title holds a tab or a line break
    NulInPath,
    HeaderKeyPath,  // the path begins as a header line does (SELECTED...)
    UnclosedQuote   // a quote opened in the row is never closed: the rest of the file is not read
};

// The English word for a reason, as the command line reports it.
std::string_view CsvSkipName(CsvSkip reason);

struct CsvSkippedRow {
    int row = 0;       // the spreadsheet row, from 1 (the header's): a multi-line cell is one row
    std::string path;  // empty when the open quote is in the path's own cell
    CsvSkip reason = CsvSkip::NoPath;
};

struct CsvImport {
    // False when the header lacks a path, title or comment column; nothing is added then.
    bool headerFound = false;
    std::vector<EntryRef> added;  // in the order appended, at the catalogue's end
    std::vector<CsvSkippedRow> skipped;
};

// Registers each row of bytes as a new entry appended to the catalogue. The header row names
// the columns (タイトル, コメント, Path or title, comment, path, without regard to case); other
// columns are ignored. bytes are UTF-8, with or without a byte-order mark, or code page 932,
// told apart as a catalogue file is. A title that another entry bears is numbered as the
// automatic search numbers it; an empty title becomes the file's name. Holders and icons are
// left to the caller.
CsvImport ImportCsv(Catalogue& doc, std::string_view bytes);

}  // namespace kantoria
