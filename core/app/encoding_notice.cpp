#include "core/app/encoding_notice.h"

#include "core/resources/string_table.h"
#include "core/text/text_codec.h"

namespace kantoria {

std::optional<std::string> EncodingSwitchNotice(const Catalogue& doc) {
    const std::optional<EncodingSwitch>& change = doc.LastSaveSwitch();
    if (!change) return std::nullopt;
    return FormatString(change->byPath ? IDS_SAVED_AS_UTF8_PATH : IDS_SAVED_AS_UTF8_TEXT,
                        {ToDisplayText(change->path, Encoding::Cp932)});
}

std::string EncodingSwitchQuestion(const EncodingSwitch& change) {
    std::string text =
        FormatString(IDS_ASK_SAVE_AS_UTF8, {ToDisplayText(change.text, Encoding::Cp932)});
    if (change.undecodable > 0)
        text += "\n" + FormatString(IDS_ASK_UTF8_UNDECODABLE, {std::to_string(change.undecodable)});
    return text;
}

}  // namespace kantoria
