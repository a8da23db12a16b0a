#pragma once

#include "model/Design.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace vanecraft {

// What the main window would show for a loaded design, as "label: value" lines.
QString ShowText(const AppState& state);

class frmMain;

// Opens the main window as a start from the desktop does, loading the design given (if any)
// through the Load path once the window is up.
std::unique_ptr<frmMain> StartMainWindow(const QStringList& designs);

// The whole program: parses the command line, then runs headless or opens the window.
int RunVanecraft(int argc, char** argv);

} // namespace vanecraft
