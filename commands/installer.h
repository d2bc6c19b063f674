#pragma once

// Installing the program's support files into the host: fonts, shapes, line types and lisp
// programs copied into its support folder and loaded, and the IPT font installer started.

#include "commands/command_context.h"

namespace navisaz {

void Button4Click(const CommandContext& context);   // support-file installer
void Button19Click(const CommandContext& context);  // IPT font installer

// The load expression for a lisp file, or nullopt for a name that could change the expression
// (a double quote, a backslash, a parenthesis or a control character): such a file is not loaded.
std::optional<std::u16string> LispLoadCommand(const std::u16string& fileName);

// Shown, with the file's name, for a lisp file that is not loaded because of its name.
inline constexpr const char16_t* UnsafeLispNameMessage = u"فايل ليسپ به خاطر نامش بارگذاري نشد: ";

// Loads every line type of the host's own acad.lin and answers the rest of the command with Enter.
inline constexpr const char16_t* LoadAllLinetypesCommand =
    u"(command \"_.-linetype\" \"_load\" \"*\" \"acad.lin\")(while (eq 1 (logand 1 (getvar "
    u"'cmdactive))) (command \"\")) ";

}  // namespace navisaz
