#include "app/table_location.h"

#include "strings_db/postgres_backend.h"

#include "wordloom_build_info.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace wordloom {

namespace {

const QString TableName = QStringLiteral("strings.db");

/// Copies the installed table into the per-user folder in one step: a cut-off copy never stands
/// under the final name, and the installed file is opened for reading only.
bool CopyTable(const QString& from, const QString& to, QString& error) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        error = QCoreApplication::translate("TableLocation", "cannot read %1: %2")
                    .arg(from, source.errorString());
        return false;
    }
    if (!QDir().mkpath(QFileInfo(to).path())) {
        error = QCoreApplication::translate("TableLocation", "cannot make the folder %1")
                    .arg(QFileInfo(to).path());
        return false;
    }
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly) || target.write(source.readAll()) < 0 || !target.commit()) {
        error =
            QCoreApplication::translate("TableLocation", "cannot write %1: %2").arg(to, target.errorString());
        return false;
    }
    // The installed file may be read-only for everyone; the user's copy is theirs to write.
    QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                  QFileDevice::ReadOther);
    return true;
}

} // namespace

TableLocation LocateStringsTable(const TableSources& sources) {
    const QDir working(sources.workingFolder);
    // A database address is no path: it goes to the table as it was given.
    const auto located = [&working](const QString& given) {
        return IsPostgresAddress(given.toStdString()) ? given
                                                      : QDir::cleanPath(working.absoluteFilePath(given));
    };
    if (!sources.option.isEmpty()) {
        return {located(sources.option), TableLocation::Source::Option, {}};
    }
    if (!sources.setting.isEmpty()) {
        return {located(sources.setting), TableLocation::Source::Setting, {}};
    }
    if (QFileInfo::exists(working.absoluteFilePath(TableName))) {
        return {
            QDir::cleanPath(working.absoluteFilePath(TableName)), TableLocation::Source::WorkingFolder, {}};
    }
    if (sources.userDataFolder.isEmpty()) {
        return {{},
                TableLocation::Source::None,
                QCoreApplication::translate("TableLocation", "no per-user data folder")};
    }
    const QString userTable = QDir::cleanPath(QDir(sources.userDataFolder).absoluteFilePath(TableName));
    if (QFileInfo::exists(userTable)) {
        return {userTable, TableLocation::Source::UserTable, {}};
    }
    for (const QString& folder : sources.installedFolders) {
        const QString installed = QDir(folder).absoluteFilePath(TableName);
        if (!QFileInfo(installed).isFile()) {
            continue;
        }
        QString error;
        if (!CopyTable(installed, userTable, error)) {
            return {{}, TableLocation::Source::None, error};
        }
        return {userTable, TableLocation::Source::UserTable, {}};
    }
    return {
        {},
        TableLocation::Source::None,
        QCoreApplication::translate("TableLocation", "no strings.db in %1, in %2, nor an installed one in %3")
            .arg(sources.workingFolder, sources.userDataFolder,
                 sources.installedFolders.join(QStringLiteral(", ")))};
}

QStringList InstalledDataFolders() {
    QStringList folders;
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (!programFolder.isEmpty()) {
        folders << QDir::cleanPath(programFolder + QLatin1Char('/') + QStringLiteral(WORDLOOM_DATA_FROM_BIN));
    }
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        // The per-user data folder is where the copy goes, never where the template comes from.
        const QString folder = QDir::cleanPath(data + QStringLiteral("/wordloom"));
        if (data != userData && !folders.contains(folder)) {
            folders << folder;
        }
    }
    return folders;
}

TableSources CurrentTableSources(const QString& option) {
    TableSources sources;
    sources.option = option;
    const QSettings settings(QStringLiteral("VEL Software"), QStringLiteral("Wordloom"));
    sources.setting = settings.value(QStringLiteral("Database")).toString().trimmed();
    sources.workingFolder = QDir::currentPath();
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!userData.isEmpty()) {
        sources.userDataFolder = userData + QStringLiteral("/wordloom");
    }
    sources.installedFolders = InstalledDataFolders();
    return sources;
}

QString ReadmePath(const QString& programFolder, const QStringList& dataFolders) {
    const QString beside = QDir(programFolder).absoluteFilePath(QStringLiteral("Readme.txt"));
    if (QFileInfo::exists(beside)) {
        return beside;
    }
    for (const QString& folder : dataFolders) {
        const QString installed = QDir(folder).absoluteFilePath(QStringLiteral("Readme.txt"));
        if (QFileInfo::exists(installed)) {
            return installed;
        }
    }
    return beside;
}

WorkbenchArguments ParseWorkbenchArguments(const QStringList& arguments) {
    WorkbenchArguments parsed;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            parsed.help = true;
        } else if (argument == QStringLiteral("--version")) {
            parsed.version = true;
        } else if (argument == QStringLiteral("--db")) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty()) {
                parsed.error = QCoreApplication::translate("TableLocation", "--db needs a file");
                return parsed;
            }
            parsed.database = arguments.at(++i);
        } else if (argument.startsWith(QStringLiteral("--db="))) {
            parsed.database = argument.mid(5);
            if (parsed.database.isEmpty()) {
                parsed.error = QCoreApplication::translate("TableLocation", "--db needs a file");
                return parsed;
            }
        } else {
            parsed.error =
                QCoreApplication::translate("TableLocation", "unexpected argument %1").arg(argument);
            return parsed;
        }
    }
    return parsed;
}

QString WorkbenchUsage() {
    // Asked before the application exists (--help), it stays English: no catalogue is loaded then.
    return QCoreApplication::translate(
        "TableLocation", "Usage: wordloom [--db FILE]\n"
                         "\n"
                         "  --db FILE   the strings table to open; without it: the setting Database,\n"
                         "              then ./strings.db when it exists, then the per-user table\n"
                         "              (copied from the installed empty table on first start);\n"
                         "              postgresql://user@host/database opens a team table\n"
                         "  --version   print the version and end\n"
                         "  --help      print this help and end\n");
}

} // namespace wordloom
