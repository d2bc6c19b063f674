#pragma once

#include <functional>
#include <memory>

#include "cad/automation.h"
#include "cad/cadole.h"
#include "commands/controls.h"
#include "support/platform.h"

namespace navisaz {

// What every command works with: the surface's controls, the desktop's services, and the table
// of running hosts its adapters connect through.
struct CommandContext {
    SurfaceControls& controls;
    Platform& platform;
    HostLocator& hosts;

    std::unique_ptr<tacad> CreateAdapter() const { return tacad::Create(platform, hosts); }
};

// Runs one command; a failure it lets through is shown in the default error display (its
// message in a message box) and the program goes on.
void RunGuarded(Platform& platform, const std::function<void()>& command);

}  // namespace navisaz
