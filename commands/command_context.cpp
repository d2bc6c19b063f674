#include "commands/command_context.h"

#include "cad/names.h"

namespace navisaz {

void RunGuarded(Platform& platform, const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        platform.ShowError(Widen(error.what()));
    }
}

}  // namespace navisaz
