#include "ui/app/encoding_notice.h"

#include "core/app/encoding_notice.h"

namespace kantoria {

void TellEncodingSwitch(MessageBoxes& messages, CMORKA2Doc& doc) {
    if (const std::optional<std::string> notice = EncodingSwitchNotice(doc))
        AfxMessageBox(messages, *notice, MbButtons::Ok, MbIcon::Information);
    doc.SaveSwitchTold();
}

}  // namespace kantoria
