#include "cli/csv_commands.h"

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/catalogue_lock.h"
#include "cli/encoding_report.h"
#include "core/catalogue/catalogue.h"
#include "core/catalogue/catalogue_csv.h"
#include "core/os/atomic_file.h"
#include "core/os/file_read.h"
#include "core/os/system_path.h"
#include "core/text/text_codec.h"

namespace kantoria::cli {
namespace {

namespace fs = std::filesystem;

int Usage(std::ostream& err, const std::string& what) {
    err << "kantoria-cli: " << what << " (see kantoria-cli --help)\n";
    return 2;
}

int Failed(std::ostream& err, const std::string& what, const std::string& path, const Status& why) {
    err << "kantoria-cli: cannot " << what << " " << path << ": " << why.reason() << "\n";
    return 1;
}

std::string Dump(const nlohmann::ordered_json& json) {
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace

int ExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) return Usage(err, "export takes a catalogue and an output path");
    Catalogue doc;
    if (const Status status = doc.LoadCatalogue(args[0]); !status)
        return Failed(err, "read", args[0], status);
    doc.RebuildHolders();
    const CsvExport exported = ExportCsv(doc);
    Status status = Status::Ok();
    const std::unique_ptr<AtomicFile> file = AtomicFile::Create(ToSystemName(args[1]), status);
    if (file) {
        file->Write(exported.bytes);
        status = file->status();
        if (status) status = file->Commit();
    }
    if (!status) return Failed(err, "write", args[1], status);
    nlohmann::ordered_json json;
    json["exported"] = doc.Entries().size();
    json["undecodable"] = exported.entriesWithUndecodable;
    out << Dump(json);
    return 0;
}

int ImportCommand(const std::vector<std::string>& given, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = given;
    std::chrono::milliseconds wait = kDefaultLockWait;
    if (const std::string problem = TakeWaitOption(args, wait); !problem.empty())
        return Usage(err, problem);
    if (args.size() != 2) return Usage(err, "import takes a catalogue and a CSV file");
    const std::string& catalogue = args[0];
    std::string bytes;
    if (const Status status = ReadWholeFile(ToSystemName(args[1]), bytes); !status)
        return Failed(err, "read", args[1], status);
    // Held from reading to writing, so that a search or another import into the catalogue
    // takes its turn rather than being overwritten.
    const std::unique_ptr<FileLock> lock = LockCatalogue(catalogue, wait, err);
    if (!lock) return 1;
    Catalogue doc;
    doc.StampFile(catalogue);
    std::error_code ec;
    if (fs::exists(SystemPath(catalogue), ec)) {
        if (const Status status = doc.LoadCatalogue(catalogue); !status)
            return Failed(err, "read", catalogue, status);
    }
    const CsvImport imported = ImportCsv(doc, bytes);
    if (!imported.headerFound) {
        err << "kantoria-cli: " << args[1]
            << " has no header naming the path, title and comment columns\n";
        return 1;
    }
    Status status = doc.CheckUnchangedOnDisk(catalogue);
    if (status) status = doc.SaveCatalogue(catalogue);
    if (!status) return Failed(err, "write", catalogue, status);
    nlohmann::ordered_json json;
    json["added"] = imported.added.size();
    json["skipped"] = nlohmann::ordered_json::array();
    for (const CsvSkippedRow& row : imported.skipped) {
        // "line" keeps its name for the scripts that read it; it counts spreadsheet rows.
        json["skipped"].push_back({{"line", row.row},
                                   {"path", ToDisplayText(row.path)},
                                   {"reason", std::string(CsvSkipName(row.reason))}});
        if (row.reason == CsvSkip::UnclosedQuote)
            err << "kantoria-cli: " << args[1] << ": unclosed quote from row " << row.row
                << "; the rest of the file was not read\n";
    }
    ReportEncodingSwitch(doc.LastSaveSwitch(), catalogue, false, json, err);
    out << Dump(json);
    return 0;
}

}  // namespace kantoria::cli
