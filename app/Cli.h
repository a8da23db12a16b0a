#pragma once

#include "model/Design.h"

#include <QString>

namespace vanecraft {

// What the main window would show for a loaded design, as "label: value" lines.
QString ShowText(const AppState& state);

// The whole program: parses the command line, then runs headless or opens the window.
int RunVanecraft(int argc, char** argv);

} // namespace vanecraft
