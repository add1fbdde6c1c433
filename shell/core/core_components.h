// The shell core's component classes, as form files know them.
#pragma once

namespace wordloom::shell {

// Registers TDirMon, TVelShellLink, TPathwright and TVelSystemImageList with the form reader; later
// calls do nothing. Each of these classes' own sources calls it while the program starts, so a
// program that links any of them (a static library links only what is referenced) can name all of
// them in form files.
void RegisterShellCoreComponents();

} // namespace wordloom::shell
