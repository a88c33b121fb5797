#include "cli/missing_command.h"

#include <unordered_map>

#include "cli/json_writer.h"
#include "core/catalogue/catalogue.h"
#include "core/text/text_codec.h"

namespace kantoria::cli {

int MissingCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   std::shared_ptr<PathProbe> probe, PresenceCheckLimits limits) {
    if (args.size() != 1) {
        err << "kantoria-cli: missing takes one catalogue (see kantoria-cli --help)\n";
        return 2;
    }
    Catalogue doc;
    if (const Status status = doc.LoadCatalogue(args[0]); !status) {
        err << "kantoria-cli: cannot read " << args[0] << ": " << status.reason() << "\n";
        return 1;
    }
    // Each path is looked at once, however many entries share it, and as the file system
    // spells it (a code page 932 twin code as its character).
    std::unordered_map<std::string, Presence> presence;
    std::vector<std::string> paths;
    auto systemPath = [&](std::string_view path) {
        return FileSystemText(path, doc.FileEncoding());
    };
    for (const Entry& e : doc.Entries())
        if (std::string path = systemPath(e.Path());
            presence.emplace(path, Presence::Unknown).second)
            paths.push_back(std::move(path));
    {
        PresenceChecker checker(std::move(probe), limits);
        checker.Enqueue(std::move(paths));
        checker.WaitUntilIdle();
        for (PresenceResult& r : checker.TakeResults()) presence[r.path] = r.presence;
    }
    JsonWriter json(out);
    json.BeginObject();
    json.Key("checked");
    json.Number(static_cast<std::int64_t>(doc.Entries().size()));
    // Entries whose file is missing, then those the file system did not answer for.
    for (const Presence listed : {Presence::Missing, Presence::Unknown}) {
        json.Key(listed == Presence::Missing ? "missing" : "unknown");
        json.BeginArray();
        for (const Entry& e : doc.Entries()) {
            if (presence[systemPath(e.Path())] != listed) continue;
            json.BeginObject();
            json.Key("title");
            json.String(ToDisplayText(e.Title(), doc.FileEncoding()));
            json.Key("path");
            json.String(ToDisplayText(e.Path(), doc.FileEncoding()));
            json.EndObject();
        }
        json.EndArray();
    }
    json.EndObject();
    return 0;
}

}  // namespace kantoria::cli
