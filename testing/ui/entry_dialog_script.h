// A dialog runner for tests: the entry dialog is answered from a script, typing into its
// fields and pressing OK or Cancel; any other dialog is recorded and cancelled.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/os/environment.h"
#include "ui/dialogs/entry_dialog.h"
#include "ui/seams/dialog_runner.h"

namespace kantoria::test {

struct Typed {
    std::string title;
    std::string comment;
};

// What an entry dialog showed when it opened.
struct ShownEntry {
    std::string file, title, comment;
    bool operator==(const ShownEntry&) const = default;
};

class EntryDialogScript final : public DialogRunner {
  public:
    std::deque<std::optional<Typed>> answers;  // nothing or an empty script: Cancel
    std::vector<ShownEntry> shown;
    std::vector<QDialog*> others;  // valid only while the dialog runs

    int DoModal(QDialog& dialog) override {
        auto* entry = qobject_cast<EntryDialog*>(&dialog);
        if (entry == nullptr) {
            others.push_back(&dialog);
            if (onOther) onOther(dialog);
            return QDialog::Rejected;
        }
        auto* title = entry->findChild<QLineEdit*>(QStringLiteral("title"));
        auto* comment = entry->findChild<QPlainTextEdit*>(QStringLiteral("comment"));
        shown.push_back(
            {entry->file, title->text().toStdString(), comment->toPlainText().toStdString()});
        std::optional<Typed> answer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        if (!answer) return QDialog::Rejected;
        title->setText(QString::fromStdString(answer->title));
        comment->setPlainText(QString::fromStdString(answer->comment));
        entry->accept();
        return entry->result();
    }
    std::function<void(QDialog&)> onOther;
};

class NoVariables final : public Environment {
  public:
    std::optional<std::string> Get(std::string_view) const override { return std::nullopt; }
};

}  // namespace kantoria::test
