#include "cli/missing_command.h"

#include <nlohmann/json.hpp>
#include <unordered_map>

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
    // Each path is looked at once, however many entries share it.
    std::unordered_map<std::string, Presence> presence;
    std::vector<std::string> paths;
    for (const CDocEntry& e : doc.m_EntryList)
        if (presence.emplace(e.m_strPath, Presence::Unknown).second) paths.push_back(e.m_strPath);
    {
        PresenceChecker checker(std::move(probe), limits);
        checker.Enqueue(std::move(paths));
        checker.WaitUntilIdle();
        for (PresenceResult& r : checker.TakeResults()) presence[r.path] = r.presence;
    }
    using Json = nlohmann::ordered_json;
    Json missing = Json::array();
    Json unknown = Json::array();
    for (const CDocEntry& e : doc.m_EntryList) {
        const Presence p = presence[e.m_strPath];
        if (p == Presence::Present) continue;
        (p == Presence::Missing ? missing : unknown)
            .push_back({{"title", ToDisplayText(e.m_strTitle, doc.m_encoding)},
                        {"path", ToDisplayText(e.m_strPath, doc.m_encoding)}});
    }
    Json json;
    json["checked"] = doc.m_EntryList.size();
    json["missing"] = std::move(missing);
    json["unknown"] = std::move(unknown);
    out << json.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
    return 0;
}

}  // namespace kantoria::cli
