#include "cli/cli_commands.h"

#include <memory>
#include <string_view>
#include <unordered_map>

#include "cli/catalogue_lock.h"
#include "cli/content_commands.h"
#include "cli/csv_commands.h"
#include "cli/json_writer.h"
#include "cli/missing_command.h"
#include "cli/relocate_command.h"
#include "cli/search_command.h"
#include "cli/types_command.h"
#include "cli/views_command.h"
#include "core/catalogue/catalogue.h"
#include "core/text/path_identity.h"
#include "core/text/path_split.h"
#include "core/text/text_codec.h"
#include "core/views/entry_find.h"

namespace kantoria::cli {
namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

constexpr const char* kUsageText =
    "Usage: kantoria-cli COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  dump CATALOGUE       print the catalogue as one JSON object\n"
    "  copy CATALOGUE OUT [--wait SECONDS]\n"
    "                       read CATALOGUE and write it to OUT with the catalogue writer\n"
    "  search CATALOGUE FOLDER [--ext .EXT] [--no-subfolders] [--wait SECONDS]\n"
    "                       register every file under FOLDER that CATALOGUE lacks, then save\n"
    "                       CATALOGUE (created when missing); prints what was found as JSON\n"
    "  tree [--folders] CATALOGUE\n"
    "                       print the holder tree as JSON: the top-level items in display\n"
    "                       order, each with its label, folder and children; --folders adds\n"
    "                       the grey folder nodes the window shows (\"holder\": false)\n"
    "  list CATALOGUE [--holder LABELPATH]\n"
    "                       print the holder that LABELPATH (default: the catalogue's\n"
    "                       LASTHOLDER) designates and its entries in display order as JSON\n"
    "  find CATALOGUE TEXT  print the entries whose title, comment or path hold every word of\n"
    "                       TEXT (without regard to case, width or hiragana and katakana) in\n"
    "                       catalogue order as JSON, each with the folder of its holder\n"
    "  find --content CATALOGUE TEXT\n"
    "                       the same, also finding the words in the documents' text as the\n"
    "                       content index holds it (made by index); each match says where the\n"
    "                       words stand (\"in\") and, for the text, shows a \"snippet\"\n"
    "  index CATALOGUE [--wait SECONDS]\n"
    "                       bring the content index of CATALOGUE up to date (in\n"
    "                       $XDG_CACHE_HOME/kantoria/index): documents new or changed since\n"
    "                       are read, those gone are dropped; prints counts and failures as\n"
    "                       JSON. A second index run on the same catalogue waits at most\n"
    "                       SECONDS (default 10), then fails as busy\n"
    "  relocate CATALOGUE FROM TO [--dry-run] [--wait SECONDS]\n"
    "                       give every entry in folder FROM and below the path it has in TO\n"
    "                       (the rest in TO's separators), then save CATALOGUE; an entry whose\n"
    "                       new path another entry holds stays and is listed; prints JSON\n"
    "  missing CATALOGUE    print how many entries were checked and those whose file or folder\n"
    "                       is not there as JSON; entries the file system did not answer for\n"
    "                       within 2 s are listed under \"unknown\"\n"
    "  export CATALOGUE OUT.csv\n"
    "                       write the entries to OUT.csv for spreadsheets (UTF-8 with a BOM;\n"
    "                       title, comment, path, holder); prints how many as JSON\n"
    "  import CATALOGUE IN.csv [--wait SECONDS]\n"
    "                       register each row of IN.csv (columns path, title and comment, or\n"
    "                       their Japanese names) as a new entry, then save CATALOGUE (created\n"
    "                       when missing); prints {\"added\": n, \"skipped\": [...]} as JSON\n"
    "  types                list the file types of the automatic search's extension box,\n"
    "                       marking the line chosen when the dialog opens with '*'\n"
    "  --help               show this text\n"
    "  --version            show the version\n"
    "\n"
    "copy, search, relocate and import lock the catalogue they write (a file .NAME.lock beside\n"
    "it) from reading to writing. While another program holds that lock they wait, saying so\n"
    "after a second, at most SECONDS (default 10), then fail as busy. A catalogue that cannot\n"
    "be locked is not written.\n";

// Catalogue text for JSON, as the window shows it: a twin code of code page 932 as the
// character Windows decodes it to, other bytes the catalogue could not decode as U+FFFD.
std::string Display(std::string_view text, Encoding enc) {
    return ToDisplayText(text, enc);
}

int UsageError(std::ostream& err, const std::string& what) {
    err << "kantoria-cli: " << what << " (see kantoria-cli --help)\n";
    return kUsage;
}

bool Load(Catalogue& doc, const std::string& path, std::ostream& err) {
    const Status status = doc.LoadCatalogue(path);
    if (!status) err << "kantoria-cli: cannot read " << path << ": " << status.reason() << "\n";
    return status.ok();
}

int Dump(const std::string& path, std::ostream& out, std::ostream& err) {
    Catalogue doc;
    if (!Load(doc, path, err)) return kFailed;
    doc.RebuildHolders();
    const Encoding enc = doc.FileEncoding();
    JsonWriter json(out);
    json.BeginObject();
    json.Key("encoding");
    json.String(EncodingName(enc));
    json.Key("selected");
    json.String(Display(doc.SelectedTitle(), enc));
    json.Key("lastHolder");
    json.String(Display(doc.LastHolder(), enc));
    json.Key("titleWidth");
    json.Number(doc.TitleWidth());
    json.Key("commentWidth");
    json.Number(doc.CommentWidth());
    json.Key("pathWidth");
    json.Number(doc.PathWidth());
    json.Key("entries");
    json.BeginArray();
    for (const Entry& e : doc.Entries()) {
        json.BeginObject();
        json.Key("path");
        json.String(Display(e.Path(), enc));
        json.Key("title");
        json.String(Display(e.Title(), enc));
        json.Key("comment");
        json.String(Display(e.Comment(), enc));
        json.EndObject();
    }
    json.EndArray();
    json.Key("holders");
    json.BeginArray();
    for (const Holder& h : doc.Holders()) json.String(Display(h.folder, enc));
    json.EndArray();
    json.EndObject();
    return kOk;
}

int Copy(const std::string& from, const std::string& to, std::chrono::milliseconds wait,
         std::ostream& err) {
    Catalogue doc;
    if (!Load(doc, from, err)) return kFailed;
    // A search writing the same catalogue meanwhile then notices the copy rather than lose it.
    const std::unique_ptr<FileLock> lock = LockCatalogue(to, wait, err);
    if (!lock) return kFailed;
    const Status status = doc.SaveCatalogue(to);
    if (!status) {
        err << "kantoria-cli: cannot write " << to << ": " << status.reason() << "\n";
        return kFailed;
    }
    return kOk;
}

int Find(const std::string& path, const std::string& text, std::ostream& out, std::ostream& err) {
    Catalogue doc;
    if (!Load(doc, path, err)) return kFailed;
    doc.RebuildHolders();
    // An entry's holder as the tree spells it: the folder of the first entry that yields it.
    std::unordered_map<std::string_view, const std::string*, PathHash, PathEqual> holders;
    for (const Holder& h : doc.Holders()) holders.emplace(h.folder, &h.folder);
    JsonWriter json(out);
    json.BeginObject();
    json.Key("matches");
    json.BeginArray();
    for (EntryRef e : FindEntries(doc.Entries(), doc.FileEncoding(), FromSystemName(text))) {
        const auto holder = holders.find(FolderOf(e->Path()));
        const std::string folder = holder == holders.end() ? std::string() : *holder->second;
        json.BeginObject();
        json.Key("title");
        json.String(Display(e->Title(), doc.FileEncoding()));
        json.Key("comment");
        json.String(Display(e->Comment(), doc.FileEncoding()));
        json.Key("path");
        json.String(Display(e->Path(), doc.FileEncoding()));
        json.Key("holder");
        json.String(Display(folder, doc.FileEncoding()));
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return kOk;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return UsageError(err, "no command given");
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        out << kUsageText;
        return kOk;
    }
    if (command == "--version") {
        out << "kantoria-cli " KANTORIA_VERSION "\n";
        return kOk;
    }
    if (command == "dump") {
        if (args.size() != 2) return UsageError(err, "dump takes one catalogue");
        return Dump(args[1], out, err);
    }
    if (command == "copy") {
        std::vector<std::string> rest(args.begin() + 1, args.end());
        std::chrono::milliseconds wait = kDefaultLockWait;
        if (const std::string problem = TakeWaitOption(rest, wait); !problem.empty())
            return UsageError(err, problem);
        if (rest.size() != 2) return UsageError(err, "copy takes a catalogue and an output path");
        return Copy(rest[0], rest[1], wait, err);
    }
    if (command == "index") return IndexCommand({args.begin() + 1, args.end()}, out, err);
    if (command == "find" && args.size() > 1 && args[1] == "--content")
        return ContentFindCommand({args.begin() + 2, args.end()}, out, err);
    if (command == "find") {
        if (args.size() != 3) return UsageError(err, "find takes a catalogue and a text");
        return Find(args[1], args[2], out, err);
    }
    if (command == "search") return SearchCommand({args.begin() + 1, args.end()}, out, err);
    if (command == "relocate") return RelocateCommand({args.begin() + 1, args.end()}, out, err);
    if (command == "missing") return MissingCommand({args.begin() + 1, args.end()}, out, err);
    if (command == "export") return ExportCommand({args.begin() + 1, args.end()}, out, err);
    if (command == "import") return ImportCommand({args.begin() + 1, args.end()}, out, err);
    if (command == "types") return RunTypes(args, out, err);
    if (command == "tree") return TreeCommand({args.begin() + 1, args.end()}, out, err);
    if (command == "list") return ListCommand({args.begin() + 1, args.end()}, out, err);
    return UsageError(err, "unknown command '" + command + "'");
}

}  // namespace kantoria::cli
