// A prompter that answers from a script and remembers every message it was shown.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "dialogs/dialog_prompter.h"

namespace kantoria::test {

class ScriptedPrompter final : public DialogPrompter {
  public:
    std::vector<QString> messages;
    std::deque<Answer> answers;  // for questions; plain OK boxes need none
    std::deque<std::optional<QString>> folders;
    std::function<void()> onMessage;  // runs while a box would be up

    Answer Message(QWidget*, const QString& text, Buttons buttons, Icon) override {
        messages.push_back(text);
        if (onMessage) onMessage();
        if (buttons == Buttons::Ok) return Answer::Ok;
        EXPECT_FALSE(answers.empty()) << "unexpected question: " << text.toStdString();
        if (answers.empty()) return Answer::Cancel;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<QString> PickFolder(QWidget*, const QString& prompt) override {
        EXPECT_EQ(prompt, QStringLiteral("検索するﾎﾙﾀﾞ"));
        if (folders.empty()) return std::nullopt;
        std::optional<QString> folder = folders.front();
        folders.pop_front();
        return folder;
    }
};

}  // namespace kantoria::test
