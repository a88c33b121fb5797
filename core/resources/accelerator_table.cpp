#include "core/resources/accelerator_table.h"

#include <array>

#include "core/resources/command_ids.h"

namespace kantoria {
namespace {

constexpr std::array kAccelerators = std::to_array<Accelerator>({
    {"Ctrl+A", ID_ENTRY_ADD},   {"Ctrl+C", ID_EDIT_COPY},
    {"Ctrl+Ins", ID_EDIT_COPY}, {"Ctrl+E", ID_ENTRY_EXPLORER},
    {"Ctrl+N", ID_FILE_NEW},    {"Ctrl+O", ID_FILE_OPEN},
    {"Ctrl+P", ID_FILE_PRINT},  {"Ctrl+R", ID_ENTRY_OPEN},
    {"Ctrl+S", ID_FILE_SAVE},   {"Ctrl+U", ID_ENTRY_UPDATE},
    {"Ctrl+V", ID_EDIT_PASTE},  {"Shift+Ins", ID_EDIT_PASTE},
    {"Ctrl+X", ID_EDIT_CUT},    {"Shift+Del", ID_EDIT_CUT},
    {"Ctrl+Z", ID_EDIT_UNDO},   {"Alt+Backspace", ID_EDIT_UNDO},
    {"Ctrl+Y", ID_EDIT_REDO},   {"Ctrl+Shift+Z", ID_EDIT_REDO},
    {"F6", ID_NEXT_PANE},       {"Shift+F6", ID_PREV_PANE},
});

constexpr std::array kToolbar = {
    ID_FILE_NEW,       ID_FILE_OPEN,      ID_FILE_SAVE,  0,
    ID_EDIT_CUT,       ID_EDIT_COPY,      ID_EDIT_PASTE, 0,
    ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST,  ID_VIEW_DETAILS,
};

}  // namespace

std::span<const Accelerator> MainAccelerators() {
    return kAccelerators;
}

std::span<const int> MainToolbarButtons() {
    return kToolbar;
}

}  // namespace kantoria
