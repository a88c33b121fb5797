#include "core/catalogue/csv_table.h"

namespace kantoria {

void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        const std::string& field = fields[i];
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            out += field;
            continue;
        }
        out += '"';
        for (const char c : field) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    out += "\r\n";
}

std::vector<CsvRecord> ParseCsv(std::string_view text) {
    std::vector<CsvRecord> records;
    CsvRecord record;
    std::string field;
    int row = 1;
    bool quoted = false;      // inside a quoted field
    bool recordOpen = false;  // something of the current record has been read
    const auto endRecord = [&] {
        if (recordOpen) {
            record.fields.push_back(std::move(field));
            records.push_back(std::move(record));
        }
        record = CsvRecord();
        field.clear();
        recordOpen = false;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!recordOpen) record.row = row;
        if (c == '\n' || c == '\r') {
            // CR LF, a lone LF and a lone CR each count as one line break; only one outside
            // quotes ends a row.
            const bool crlf = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
            if (quoted) {
                field += crlf ? "\r\n" : std::string(1, c);
            } else {
                ++row;
                endRecord();
            }
            if (crlf) ++i;
            continue;
        }
        recordOpen = true;
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"' && field.empty()) {
            quoted = true;
        } else if (c == ',') {
            record.fields.push_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    record.unclosedQuote = quoted;
    endRecord();
    return records;
}

}  // namespace kantoria
