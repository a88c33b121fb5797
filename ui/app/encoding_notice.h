// Shown once a save is done: see core/app/encoding_notice.h.
#pragma once

#include "core/catalogue/morka2_doc.h"
#include "ui/seams/message_box.h"

namespace kantoria {

// Call after each write of doc, or where one may have happened (Save, Save As, and the writes
// before Open, New, a hand-over, Refresh and the end): tells the user when the write had to
// store the catalogue as UTF-8 instead of code page 932, once.
void TellEncodingSwitch(MessageBoxes& messages, CMORKA2Doc& doc);

}  // namespace kantoria
