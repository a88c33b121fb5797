// A prompter for tests: records every message and answers from a script, or with the first
// button when the script has run out.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/prompter.h"

namespace kantoria {

class ScriptedPrompter final : public Prompter {
  public:
    struct Shown {
        std::string text;
        MessageButtons buttons;
        MessageIcon icon;
    };
    std::deque<MessageAnswer> answers;
    std::vector<Shown> shown;

    MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons,
                              MessageIcon icon) override {
        shown.push_back({std::string(text), buttons, icon});
        if (answers.empty()) return FirstButton(buttons);
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

  private:
    static MessageAnswer FirstButton(MessageButtons buttons) {
        return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel
                   ? MessageAnswer::Ok
                   : MessageAnswer::Yes;
    }
};

}  // namespace kantoria
