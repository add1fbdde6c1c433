// The user's language for the windows: Qt's translators for the user's locale and the engine's texts
// routed through the same catalogue.
#pragma once

#include <QLocale>
#include <QString>

namespace wordloom {

/// Loads wordloom_<lang>.qm for the locale (its uiLanguages: LANGUAGE, LC_ALL, LC_MESSAGES, LANG)
/// from `directory`, or, when that is empty, from the program's folder and then the installed data
/// folder (share/wordloom beside the programs' bin); adds Qt's own qtbase_<lang>.qm where installed, and
/// routes the engine's texts through QCoreApplication::translate. Needs the application object. Returns false
/// when no catalogue for the locale was found: the source texts are shown then.
bool InstallUiLanguage(const QLocale& locale = QLocale(), const QString& directory = {});

} // namespace wordloom
