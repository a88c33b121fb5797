// The program's questions and messages to the user, behind one seam so that tests script the
// answers. The real one is a message box captioned "Kantoria".
#pragma once

#include <string_view>

namespace kantoria {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
// Default: the exclamation mark on an OK or OK/Cancel box, otherwise no icon.
enum class MessageIcon { Default, Exclamation, Question, Information, Error };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons,
                                      MessageIcon icon) = 0;
};

}  // namespace kantoria
