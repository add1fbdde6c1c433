#include "i18n/ui_language.h"

#include "base/ui_text.h"
#include "wordloom_build_info.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace wordloom {

namespace {

std::string TranslateThroughQt(const char* context, const char* text) {
    return QCoreApplication::translate(context, text).toStdString();
}

/// A translator owned by the application, installed when its file was found.
bool InstallFrom(const QLocale& locale, const QString& name, const QStringList& directories) {
    for (const QString& directory : directories) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(locale, name, QStringLiteral("_"), directory)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
        delete translator;
    }
    return false;
}

} // namespace

bool InstallUiLanguage(const QLocale& locale, const QString& directory) {
    QStringList directories{directory};
    if (directory.isEmpty()) {
        const QString programDir = QCoreApplication::applicationDirPath();
        directories = {programDir, QDir::cleanPath(programDir + QStringLiteral("/" WORDLOOM_DATA_FROM_BIN))};
    }
    // Qt's own dialogs (file dialog, standard buttons); optional.
    InstallFrom(locale, QStringLiteral("qtbase"), {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
    SetTextTranslator(&TranslateThroughQt);
    return InstallFrom(locale, QStringLiteral("wordloom"), directories);
}

} // namespace wordloom
