// The prompter of the running program: a modal message box captioned "Kantoria".
#pragma once

#include "app/prompter.h"

class QWidget;

namespace kantoria {

class MessageBoxPrompter final : public Prompter {
  public:
    // parent: the window the boxes are modal to; may be null.
    explicit MessageBoxPrompter(QWidget* parent) : parent_(parent) {}
    MessageAnswer ShowMessage(std::string_view text, MessageButtons buttons,
                              MessageIcon icon) override;

  private:
    QWidget* parent_;  // not owned
};

}  // namespace kantoria
