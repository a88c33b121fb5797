// Shown once a save is done: see core/app/encoding_notice.h.
#pragma once

#include "core/catalogue/morka2_doc.h"
#include "ui/seams/message_box.h"

namespace kantoria {

// Call after each successful save of doc (Save, Save As, and the writes before Open, New, a
// hand-over, Refresh and the end): tells the user when that save had to write the catalogue as
// UTF-8 instead of code page 932. A save that kept the encoding shows nothing, and once the
// catalogue is UTF-8 no later save switches again, so the user is told once.
void TellEncodingSwitch(MessageBoxes& messages, const CMORKA2Doc& doc);

}  // namespace kantoria
