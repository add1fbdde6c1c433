// Where the workbench finds its strings table, its readme and its installed data, and what its
// command line asks for.
#pragma once

#include <QString>
#include <QStringList>

namespace wordloom {

/// Everything the table lookup depends on, gathered once so it can be given in full by a test.
struct TableSources {
    QString option;               ///< --db FILE; empty when not given
    QString setting;              ///< the setting "Database"; empty when not set
    QString workingFolder;        ///< where ./strings.db is looked for
    QString userDataFolder;       ///< $XDG_DATA_HOME/wordloom: the per-user table's folder
    QStringList installedFolders; ///< installed data folders; the first holding strings.db serves
};

/// The table to open, and which rule chose it.
struct TableLocation {
    enum class Source { Option, Setting, WorkingFolder, UserTable, None };
    QString path; ///< absolute; empty with Source::None
    Source source = Source::None;
    QString error; ///< why nothing was found or the per-user copy could not be made
};

/// The order: the option, the setting, ./strings.db when it exists, then the per-user table, which
/// is copied from the installed empty table when it does not exist yet. Installed files are only
/// read. A named file (option or setting) is returned even when missing: opening it then fails
/// with the start-up's own message rather than silently falling back to another table.
TableLocation LocateStringsTable(const TableSources& sources);

/// The sources of this process: the settings store, the current folder, XDG_DATA_HOME, and the
/// data folder installed beside the program (then XDG_DATA_DIRS).
TableSources CurrentTableSources(const QString& option);

/// The installed data folders for this program, nearest first: `<bin>/../share/wordloom`, then
/// each XDG data folder's `wordloom`.
QStringList InstalledDataFolders();

/// Readme.txt: beside the program (the build folder), else in an installed data folder; the path
/// beside the program when there is none (opening it then passes silently).
QString ReadmePath(const QString& programFolder, const QStringList& dataFolders);

/// What the workbench's command line asks for.
struct WorkbenchArguments {
    QString database;  ///< --db FILE
    bool help = false; ///< --help / -h
    bool version = false;
    QString error; ///< an unknown option or a missing value
};
WorkbenchArguments ParseWorkbenchArguments(const QStringList& arguments);
/// The text of --help.
QString WorkbenchUsage();

} // namespace wordloom
