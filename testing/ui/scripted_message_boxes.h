// Message boxes for tests: every box is recorded, and answers come from a script (OK when the
// script has run out; kEnter answers as the Enter key does).
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/seams/message_box.h"

namespace kantoria {

struct ShownBox {
    std::string text;
    MbButtons buttons;
    MbIcon icon;
};

// A scripted answer that presses Enter: the box's default button.
inline constexpr std::nullopt_t kEnter = std::nullopt;

class ScriptedMessageBoxes final : public MessageBoxes {
  public:
    std::vector<ShownBox> shown;
    std::deque<std::optional<MbAnswer>> answers;
    MbAnswer Show(std::string_view text, MbButtons buttons, MbIcon icon) override {
        shown.push_back({std::string(text), buttons, icon});
        if (answers.empty()) return MbAnswer::Ok;
        const std::optional<MbAnswer> answer = answers.front();
        answers.pop_front();
        return answer.value_or(EnterAnswer(buttons));
    }
};

}  // namespace kantoria
