// "Open this document with whatever the desktop associates with it."
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace wordloom {

/// Hands a URL to the program the desktop associates with it; false when none could be started.
using DocumentOpener = std::function<bool(const QUrl& url)>;

/// Replaces the desktop's opener (tests); an empty function puts the desktop's back.
void SetDocumentOpener(DocumentOpener opener);

/// Opens a local path (relative ones against `workingDir`) or a URL with its associated program.
/// An empty target opens nothing. Returns why the target could not be opened (a local file that is
/// not there, or no program to open it), as a text that names it; empty when it was handed over.
/// What the program does with it afterwards is not known here.
QString OpenDocument(const QString& target, const QString& workingDir = QString());

} // namespace wordloom
