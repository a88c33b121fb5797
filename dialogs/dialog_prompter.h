// The questions and pickers a dialog puts to the user, behind one seam so that tests script
// the answers and nothing in a test waits for a person.
#pragma once

#include <QString>

#include <memory>
#include <optional>

class QWidget;

namespace kantoria {

class DialogPrompter {
  public:
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class Icon { Exclamation, Question, Information };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~DialogPrompter() = default;
    // A message box captioned "Kantoria" over owner.
    virtual Answer Message(QWidget* owner, const QString& text, Buttons buttons, Icon icon) = 0;
    // A folder chosen by the user, or nothing when the picker was cancelled.
    virtual std::optional<QString> PickFolder(QWidget* owner, const QString& prompt) = 0;
};

// Message boxes and the folder picker of the desktop.
std::unique_ptr<DialogPrompter> MakeDesktopPrompter();

}  // namespace kantoria
