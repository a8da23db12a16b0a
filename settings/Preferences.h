#pragma once

#include "model/Design.h"

namespace vanecraft {

// The paper and the scale check switch, kept in the per-user store beside the window's
// placement (not in the settings file, whose two lines stay as they are).
void ReadPreferences(AppState& state);
void WritePreferences(const AppState& state);

} // namespace vanecraft
