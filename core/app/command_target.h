// Command routing: a command goes to the active view, then the document, then the main frame,
// then the application; the first that takes it handles it. A command that nothing on the
// route takes is disabled.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace kantoria {

struct CommandState {
    bool enabled = true;
    std::optional<bool> checked;  // set for commands shown with a check mark
    // Set for commands whose menu text and status prompt say what they would act on now (the
    // step that undo takes back); the menu keeps its key hint after the text.
    std::optional<std::string> text;
    std::optional<std::string> prompt;
};

class CommandTarget {
  public:
    virtual ~CommandTarget() = default;
    // True when this target handles id; state is then filled in for menus and toolbar.
    virtual bool QueryCommand(int id, CommandState& state) = 0;
    // Runs id, which QueryCommand said this target handles.
    virtual void RunCommand(int id) = 0;
};

// The first target on route that handles id, with its state; nullptr when none does.
inline CommandTarget* FindCommandHandler(std::span<CommandTarget* const> route, int id,
                                         CommandState& state) {
    for (CommandTarget* target : route) {
        state = CommandState{};
        if (target != nullptr && target->QueryCommand(id, state)) return target;
    }
    state = CommandState{};
    state.enabled = false;
    return nullptr;
}

}  // namespace kantoria
