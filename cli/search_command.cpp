#include "cli/search_command.h"

#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/catalogue_lock.h"
#include "cli/encoding_report.h"
#include "core/catalogue/catalogue.h"
#include "core/os/system_path.h"
#include "core/search/auto_search.h"
#include "core/text/text_codec.h"

namespace kantoria::cli {
namespace {

namespace fs = std::filesystem;

struct SearchArgs {
    std::string catalogue;
    std::string folder;
    std::string extension;  // empty: every file
    bool subFolders = true;
    std::chrono::milliseconds wait = kDefaultLockWait;
};

// Answers an error text, empty when the arguments are good.
std::string Parse(std::vector<std::string> args, SearchArgs& parsed) {
    if (std::string problem = TakeWaitOption(args, parsed.wait); !problem.empty()) return problem;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--no-subfolders") {
            parsed.subFolders = false;
        } else if (args[i] == "--ext") {
            if (++i == args.size()) return "--ext needs an extension such as .doc";
            parsed.extension = args[i];
            if (parsed.extension.size() < 2 || parsed.extension[0] != '.')
                return "--ext takes an extension with its dot, such as .doc";
        } else if (args[i].rfind("--", 0) == 0) {
            return "unknown option '" + args[i] + "'";
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) return "search takes a catalogue and a folder";
    parsed.catalogue = positional[0];
    parsed.folder = positional[1];
    return "";
}

// Entries hold full paths, so a path named relative to the working directory is made absolute.
std::string FullPath(const std::string& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(SystemPath(path), ec);
    return ec ? path : PathText(absolute.lexically_normal());
}

void PrintResult(const AutoSearch& search, const Catalogue& doc, const std::string& catalogue,
                 std::ostream& out, std::ostream& err) {
    nlohmann::ordered_json json;
    json["found"] = search.found;
    json["skipped"] = nlohmann::ordered_json::array();
    for (const std::string& path : search.skipped) json["skipped"].push_back(ToDisplayText(path));
    json["unreadable"] = nlohmann::ordered_json::array();
    for (const SkippedFolder& f : search.unlistable)
        json["unreadable"].push_back(
            {{"folder", ToDisplayText(f.folder)}, {"reason", f.why.reason()}});
    ReportEncodingSwitch(doc.LastSaveSwitch(), catalogue, false, json, err);
    out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

}  // namespace

int SearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::unique_ptr<FolderLister> lister = MakeSystemFolderLister();
    return SearchCommand(args, out, err, *lister);
}

int SearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  FolderLister& lister) {
    SearchArgs parsed;
    if (const std::string problem = Parse(args, parsed); !problem.empty()) {
        err << "kantoria-cli: " << problem << " (see kantoria-cli --help)\n";
        return 2;
    }
    std::error_code ec;
    if (!fs::is_directory(SystemPath(parsed.folder), ec)) {
        err << "kantoria-cli: no such folder: " << parsed.folder << "\n";
        return 1;
    }
    // Held from reading to writing, so that two searches into one catalogue take turns.
    const std::unique_ptr<FileLock> lock = LockCatalogue(parsed.catalogue, parsed.wait, err);
    if (!lock) return 1;
    Catalogue doc;
    doc.StampFile(parsed.catalogue);
    if (fs::exists(SystemPath(parsed.catalogue), ec)) {
        const Status status = doc.LoadCatalogue(parsed.catalogue);
        if (!status) {
            err << "kantoria-cli: cannot read " << parsed.catalogue << ": " << status.reason()
                << "\n";
            return 1;
        }
    }
    AutoSearch search(doc, lister);
    search.subFolders = parsed.subFolders;
    search.useExt = !parsed.extension.empty();
    search.extension = parsed.extension;
    search.catalogue = FullPath(parsed.catalogue);
    // Without a listener, folders that cannot be listed are skipped and reported.
    search.ScanFolder(FullPath(parsed.folder), nullptr);
    Status status = doc.CheckUnchangedOnDisk(parsed.catalogue);
    if (status) status = doc.SaveCatalogue(parsed.catalogue);
    if (!status) {
        err << "kantoria-cli: cannot write " << parsed.catalogue << ": " << status.reason() << "\n";
        return 1;
    }
    PrintResult(search, doc, parsed.catalogue, out, err);
    return 0;
}

}  // namespace kantoria::cli
