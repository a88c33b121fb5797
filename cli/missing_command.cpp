#include "cli/missing_command.h"

#include <unordered_map>

#include "cli/json_writer.h"
#include "core/catalogue/morka2_doc.h"
#include "core/text/text_codec.h"

namespace kantoria::cli {

int MissingCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   std::shared_ptr<PathProbe> probe, PresenceCheckLimits limits) {
    if (args.size() != 1) {
        err << "kantoria-cli: missing takes one catalogue (see kantoria-cli --help)\n";
        return 2;
    }
    CMORKA2Doc doc;
    if (const Status status = doc.LoadCatalogue(args[0]); !status) {
        err << "kantoria-cli: cannot read " << args[0] << ": " << status.reason() << "\n";
        return 1;
    }
    // Each path is looked at once, however many entries share it, and as the file system
    // spells it (a code page 932 twin code as its character).
    std::unordered_map<std::string, Presence> presence;
    std::vector<std::string> paths;
    auto systemPath = [&](std::string_view path) { return FileSystemText(path, doc.m_encoding); };
    for (const CDocEntry& e : doc.m_EntryList)
        if (std::string path = systemPath(e.m_strPath);
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
    json.Number(static_cast<std::int64_t>(doc.m_EntryList.size()));
    // Entries whose file is missing, then those the file system did not answer for.
    for (const Presence listed : {Presence::Missing, Presence::Unknown}) {
        json.Key(listed == Presence::Missing ? "missing" : "unknown");
        json.BeginArray();
        for (const CDocEntry& e : doc.m_EntryList) {
            if (presence[systemPath(e.m_strPath)] != listed) continue;
            json.BeginObject();
            json.Key("title");
            json.String(ToDisplayText(e.m_strTitle, doc.m_encoding));
            json.Key("path");
            json.String(ToDisplayText(e.m_strPath, doc.m_encoding));
            json.EndObject();
        }
        json.EndArray();
    }
    json.EndObject();
    return 0;
}

}  // namespace kantoria::cli
