#include "ui/app/encoding_notice.h"

#include "core/app/encoding_notice.h"

namespace kantoria {

void TellEncodingSwitch(MessageBoxes& messages, Catalogue& doc) {
    if (!doc.LastSaveSwitch()) return;
    // The user agreed before the write; the views show the texts memory took from it.
    if (!doc.AsksBeforeSwitch()) {
        if (const std::optional<std::string> notice = EncodingSwitchNotice(doc))
            AskUser(messages, *notice, MbButtons::Ok, MbIcon::Information);
    }
    doc.SaveSwitchTold();
    doc.UpdateAllViews(nullptr);
}

void AskBeforeEncodingSwitch(MessageBoxes& messages, Catalogue& doc) {
    doc.SetSwitchApproval([&messages](const EncodingSwitch& change) {
        return AskUser(messages, EncodingSwitchQuestion(change), MbButtons::SaveUtf8Cancel,
                       MbIcon::Question) == MbAnswer::SaveUtf8;
    });
}

}  // namespace kantoria
