// Message boxes for tests: every box is recorded, and answers come from a script (OK when the
// script has run out).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/seams/message_box.h"

namespace kantoria {

struct ShownBox {
    std::string text;
    MbButtons buttons;
    MbIcon icon;
};

class ScriptedMessageBoxes final : public MessageBoxes {
  public:
    std::vector<ShownBox> shown;
    std::deque<MbAnswer> answers;
    MbAnswer Show(std::string_view text, MbButtons buttons, MbIcon icon) override {
        shown.push_back({std::string(text), buttons, icon});
        if (answers.empty()) return MbAnswer::Ok;
        const MbAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace kantoria
