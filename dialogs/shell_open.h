// "Open this document with whatever the desktop associates with it."
#pragma once

#include <QString>

namespace wordloom {

/// Opens a local path (relative ones against `workingDir`) or a URL with its associated program.
/// The result is not reported: a missing document passes silently, as the desktop decides.
void OpenDocument(const QString& target, const QString& workingDir = QString());

} // namespace wordloom
