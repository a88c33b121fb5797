// Small builders for the read-only fields and pictures the dialogs share.
#pragma once

#include <QString>

#include <string>

#include "ui/dialogs/program_icon.h"

class QLabel;
class QPlainTextEdit;
class QWidget;

namespace kantoria {

inline constexpr int kDialogIconSize = 32;

// Gives a read-only field the window's background, as read-only fields have on every
// desktop, so that nobody tries to type into it.
void ShowAsReadOnly(QWidget* field);

// A borderless, read-only text that wraps anywhere (a path has no blanks to wrap at) and
// takes no focus, so that Tab passes it by.
QPlainTextEdit* NewWrappingField(QWidget* parent, int lines);

// A label that shows a 32 x 32 picture, empty until one is set.
QLabel* NewIconLabel(QWidget* parent);

// Puts the picture of the program that opens file into label, or clears it. A QIcon owns its
// pictures, so nothing is left to release when the dialog closes.
void ShowProgramIcon(QLabel* label, const ProgramIconLookup& programIcon, const std::string& file);

}  // namespace kantoria
