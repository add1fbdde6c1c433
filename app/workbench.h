// Program start of the workbench.
#pragma once

#include <QIcon>

namespace wordloom {

/// Initialises the application titled "Wordloom", creates the workbench window, the about box and
/// the options dialog, and runs the event loop until the window closes. Reads no command line.
int RunWorkbench(int& argc, char** argv);

/// The application's icon: the theme's dictionary icon, or a drawn one where the theme has none.
QIcon WorkbenchIcon();

} // namespace wordloom
