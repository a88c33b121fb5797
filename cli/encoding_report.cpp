#include "cli/encoding_report.h"

#include "core/text/text_codec.h"

namespace kantoria::cli {

void ReportEncodingSwitch(const std::optional<EncodingSwitch>& change, const std::string& catalogue,
                          bool planned, nlohmann::ordered_json& json, std::ostream& err) {
    json["switchedToUtf8"] = change.has_value();
    json["undecodable"] = change ? change->undecodable : 0;
    if (!change) return;
    err << "kantoria-cli: " << catalogue << (planned ? " would be" : " was")
        << " written as UTF-8 with a byte-order mark, as code page 932 cannot hold \""
        << ToDisplayText(change->text, Encoding::Cp932) << "\"";
    if (change->undecodable > 0)
        err << "; " << change->undecodable << " entries hold bytes without a character, "
            << (planned ? "to be written" : "written") << " as U+FFFD";
    err << "\n";
}

}  // namespace kantoria::cli
