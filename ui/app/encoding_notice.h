// Asked before a save leaves code page 932, and shown once one did: see
// core/app/encoding_notice.h.
#pragma once

#include "core/catalogue/catalogue.h"
#include "ui/seams/message_box.h"

namespace kantoria {

// Call after each write of doc, or where one may have happened (Save, Save As, and the writes
// before Open, New, a hand-over, Refresh and the end): tells the user when the write had to
// store the catalogue as UTF-8 instead of code page 932, once.
void TellEncodingSwitch(MessageBoxes& messages, Catalogue& doc);

// Lets every later save of doc ask before it turns the catalogue into UTF-8: "UTF-8 で保存"
// goes on, キャンセル writes nothing and leaves the changes unsaved.
void AskBeforeEncodingSwitch(MessageBoxes& messages, Catalogue& doc);

}  // namespace kantoria
