// Message boxes through one seam, so that tests answer them. Every box is captioned with the
// product title; an OK or OK/Cancel box that names no icon shows the exclamation icon.
#pragma once

#include <string_view>

namespace kantoria {

// Besides the system's sets, the choices for a file another program changed since it was read:
// Reload / Overwrite / SaveAs / Cancel, and when leaving it Discard / Overwrite / SaveAs / Cancel;
// for going on without a write that failed: Yes / No / SaveAs; and for a folder a search cannot
// read: Yes (skip it) / SkipAll (it and every later one) / No (stop).
enum class MbButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
    RetryCancel,
    ChangedFile,
    LeavingChangedFile,
    SaveUtf8Cancel,
    GoOnUnsaved,
    UnreadableFolder
};
enum class MbIcon { None, Exclamation, Information, Question, Stop };
enum class MbAnswer {
    Ok,
    Cancel,
    Yes,
    No,
    Retry,
    Reload,
    Overwrite,
    SaveAs,
    Discard,
    SaveUtf8,
    SkipAll
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Shows text with exactly these buttons and icon and answers the button pressed.
    virtual MbAnswer Show(std::string_view text, MbButtons buttons, MbIcon icon) = 0;
};

// The icon a box shows: the exclamation icon for an OK or OK/Cancel box that names none.
MbIcon EffectiveIcon(MbButtons buttons, MbIcon icon);
// What Enter answers: the box's default button. A choice that loses work is never the default.
MbAnswer EnterAnswer(MbButtons buttons);

inline MbAnswer AskUser(MessageBoxes& boxes, std::string_view text,
                        MbButtons buttons = MbButtons::Ok, MbIcon icon = MbIcon::None) {
    return boxes.Show(text, buttons, EffectiveIcon(buttons, icon));
}

// The desktop's message box, modal to the active window.
class QtMessageBoxes final : public MessageBoxes {
  public:
    MbAnswer Show(std::string_view text, MbButtons buttons, MbIcon icon) override;
};

}  // namespace kantoria
