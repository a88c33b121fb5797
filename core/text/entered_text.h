// Text that enters a title or a comment from outside the catalogue: typed or pasted in the entry
// dialog, renamed in place in the list, or taken from a file name by the automatic search.
// Paths never pass through here: a path is kept exactly as the file system spells it.
#pragma once

#include <string>
#include <string_view>

#include "core/text/text_codec.h"

namespace kantoria {

// The text as a catalogue in enc stores it. In code page 932, the signs that input methods and
// fonts on Linux give in their JIS form are stored as code page 932 spells them, as a Windows
// input method types them: 〜 U+301C as ～ U+FF5E, − U+2212 as － U+FF0D, ‖ U+2016 as ∥ U+2225,
// — U+2014 as ― U+2015, ¢ £ ¬ as ￠ ￡ ￢. Otherwise one of them would make the whole file UTF-8,
// which the Windows program cannot read. A UTF-8 catalogue keeps the text as it is.
std::string EnteredText(std::string_view text, Encoding enc);

// What to store for a field that the screen showed as ToDisplayText(stored, enc) and handed back as
// shown: the start and the end the user left as they were shown keep their stored bytes, so that
// bytes the screen can only show as U+FFFD, or as the character of a twin code, keep their code;
// what lies between is what was typed. All as EnteredText stores it.
std::string TextFromScreen(std::string_view shown, std::string_view stored, Encoding enc);

}  // namespace kantoria
