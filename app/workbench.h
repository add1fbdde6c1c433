// Program start of the workbench.
#pragma once

#include <QIcon>

namespace wordloom {

/// Initialises the application titled "Wordloom", creates the workbench window, the about box and
/// the options dialog, and runs the event loop until the window closes. Reads --db, --version
/// and --help (see WorkbenchUsage()).
int RunWorkbench(int& argc, char** argv);

/// The application's own icon, the one its menu entry shows, in every size it ships.
QIcon WorkbenchIcon();

} // namespace wordloom
