#include "cli/relocate_command.h"

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/catalogue_lock.h"
#include "cli/encoding_report.h"
#include "core/catalogue/catalogue.h"
#include "core/catalogue/catalogue_format.h"
#include "core/text/text_codec.h"
#include "core/views/holder_relocation.h"

namespace kantoria::cli {
namespace {

struct RelocateArgs {
    std::string catalogue;
    std::string from;
    std::string to;
    bool dryRun = false;
    std::chrono::milliseconds wait = kDefaultLockWait;
};

// Answers an error text, empty when the arguments are good.
std::string Parse(std::vector<std::string> args, RelocateArgs& parsed) {
    if (std::string problem = TakeWaitOption(args, parsed.wait); !problem.empty()) return problem;
    std::vector<std::string> positional;
    for (const std::string& arg : args) {
        if (arg == "--dry-run") {
            parsed.dryRun = true;
        } else if (arg.rfind("--", 0) == 0) {
            return "unknown option '" + arg + "'";
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 3) return "relocate takes a catalogue, a folder and its new place";
    parsed.catalogue = positional[0];
    // Entries hold program text; what the shell hands over is a system name.
    parsed.from = FromSystemName(positional[1]);
    parsed.to = FromSystemName(positional[2]);
    if (parsed.from.empty() || parsed.to.empty()) return "relocate needs two folders, not empty";
    return "";
}

// Why no path may begin with the folder given, as the catalogue file would misread it.
const char* FaultWords(PathFault fault) {
    switch (fault) {
        case PathFault::TabOrBreak:
            return "a path with a tab or a line break cannot be stored";
        case PathFault::Nul:
            return "a path with a NUL cannot be stored";
        case PathFault::HeaderKey:
            return "a path beginning with SELECTED, LASTHOLDER, TITLEWIDTH, COMMENTWIDTH or "
                   "PATHWIDTH would be read back as a header line";
        case PathFault::None:
            break;
    }
    return "";
}

void PrintResult(const RelocationPlan& plan, Encoding enc, std::ostream& out,
                 const std::function<void(nlohmann::ordered_json&)>& addEncoding) {
    nlohmann::ordered_json json;
    json["moved"] = plan.moves.size();
    json["conflicts"] = nlohmann::ordered_json::array();
    for (const RelocationMove& c : plan.conflicts)
        json["conflicts"].push_back({{"title", ToDisplayText(c.entry->Title(), enc)},
                                     {"path", ToDisplayText(c.entry->Path(), enc)},
                                     {"to", ToDisplayText(c.to, enc)}});
    addEncoding(json);
    out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

}  // namespace

int RelocateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    RelocateArgs parsed;
    if (const std::string problem = Parse(args, parsed); !problem.empty()) {
        err << "kantoria-cli: " << problem << " (see kantoria-cli --help)\n";
        return 2;
    }
    // Held from reading to writing, so that no other writer slips in between. A dry run only
    // reads.
    std::unique_ptr<FileLock> lock;
    if (!parsed.dryRun && !(lock = LockCatalogue(parsed.catalogue, parsed.wait, err))) return 1;
    Catalogue doc;
    if (const Status status = doc.LoadCatalogue(parsed.catalogue); !status) {
        err << "kantoria-cli: cannot read " << parsed.catalogue << ": " << status.reason() << "\n";
        return 1;
    }
    doc.RebuildHolders();
    // What will exist on disk is the window's question; the output does not carry it.
    const RelocationPlan plan = PlanRelocation(doc, parsed.from, parsed.to, nullptr);
    if (plan.fault != PathFault::None) {
        err << "kantoria-cli: cannot relocate to " << parsed.to << ": " << FaultWords(plan.fault)
            << "\n";
        return 1;
    }
    // The file's encoding before any save, for the texts printed.
    const Encoding enc = doc.FileEncoding();
    std::optional<EncodingSwitch> change;
    if (!plan.moves.empty()) {
        ApplyRelocation(doc, plan);
        // A dry run says what the write would do to the file's encoding, as the write says it.
        if (parsed.dryRun) {
            change = PlanEncodingSwitch(doc);
        } else {
            Status status = doc.CheckUnchangedOnDisk(parsed.catalogue);
            if (status) status = doc.SaveCatalogue(parsed.catalogue);
            if (!status) {
                err << "kantoria-cli: cannot write " << parsed.catalogue << ": " << status.reason()
                    << "\n";
                return 1;
            }
            change = doc.LastSaveSwitch();
        }
    }
    PrintResult(plan, enc, out, [&](nlohmann::ordered_json& json) {
        ReportEncodingSwitch(change, parsed.catalogue, parsed.dryRun, json, err);
    });
    return 0;
}

}  // namespace kantoria::cli
