#pragma once

// Every click and change handler of the command surface by its control's name, as the frame and
// the headless runner call them.

#include <optional>
#include <string>

#include "commands/command_context.h"

namespace navisaz {

// Runs the handler of the control (a click for buttons, a change for Edit2), with the control's
// caption where the handler needs it; false when the name is no control with a handler here.
bool RunHandler(const std::u16string& control, const CommandContext& context);

// The names of the controls that have handlers here, in the order of the surface's pages.
const std::vector<std::u16string>& HandlerControlNames();

}  // namespace navisaz
