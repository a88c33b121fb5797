// How the commands that write a catalogue say that it had to leave code page 932: two keys in
// their JSON and one line on standard error. Nothing is asked; the switch is only reported.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "core/catalogue/catalogue.h"

namespace kantoria::cli {

// Adds "switchedToUtf8" and "undecodable" (entries whose bytes without a character became
// U+FFFD) to json and, for a switch, says so on err; planned for a run that writes nothing.
void ReportEncodingSwitch(const std::optional<EncodingSwitch>& change, const std::string& catalogue,
                          bool planned, nlohmann::ordered_json& json, std::ostream& err);

}  // namespace kantoria::cli
