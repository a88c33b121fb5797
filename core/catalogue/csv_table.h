// Comma-separated values as spreadsheets exchange them: fields holding a comma, a quote, CR or
// LF are quoted with their quotes doubled, and records end in CR LF. The reader is lenient the
// way spreadsheets are: LF alone ends a record too, blank lines are skipped, records may have
// any number of fields, and a quote left open runs to the end of the text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kantoria {

// Appends one record: fields joined by commas, ended by CR LF.
void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields);

struct CsvRecord {
    // The spreadsheet row the record is, from 1: a line break inside a quoted field does not
    // start a row, a blank line is a row of its own.
    int row = 0;
    std::vector<std::string> fields;
    // Its last field opened a quote that the text never closes: it holds the rest of the text,
    // and no record follows.
    bool unclosedQuote = false;
};

// The records of text, which holds no byte-order mark.
std::vector<CsvRecord> ParseCsv(std::string_view text);

}  // namespace kantoria
