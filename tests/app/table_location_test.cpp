// Where the workbench finds its strings table and readme, and what its command line accepts: the
// order option, setting, ./strings.db, per-user copy of the installed table, with installed files
// only ever read.
#include "app/table_location.h"
#include "dialogs/adv_status_bar.h"
#include "workbench_fixture.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <sqlite3.h>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

QByteArray Digest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

bool Touch(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

/// Runs one statement on a table file behind the program's back.
bool Exec(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    const bool ok =
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

/// A fake installation: a working folder, a per-user data folder, and an installed data folder
/// holding the shipped empty table, read-only as a package leaves it.
struct Layout {
    Layout() {
        QDir(root.path()).mkpath(QStringLiteral("work"));
        QDir(root.path()).mkpath(QStringLiteral("share/wordloom"));
        installedTable = root.filePath(QStringLiteral("share/wordloom/strings.db"));
        QFile::copy(ShippedTable(), installedTable);
        QFile::setPermissions(installedTable,
                              QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        sources.workingFolder = root.filePath(QStringLiteral("work"));
        sources.userDataFolder = root.filePath(QStringLiteral("data-home/wordloom"));
        sources.installedFolders = {root.filePath(QStringLiteral("missing/wordloom")),
                                    root.filePath(QStringLiteral("share/wordloom"))};
    }
    QString UserTable() const { return sources.userDataFolder + QStringLiteral("/strings.db"); }

    QtTempDir root;
    QString installedTable;
    TableSources sources;
};

} // namespace

class TableLocationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Wordloom")); }

    void eachSourceWinsOverTheOnesAfterIt() {
        Layout layout;
        TableSources& sources = layout.sources;
        QVERIFY(Touch(sources.workingFolder + QStringLiteral("/strings.db")));
        sources.option = QStringLiteral("mine.db");
        sources.setting = QStringLiteral("/elsewhere/team.db");

        TableLocation found = LocateStringsTable(sources);
        QCOMPARE(found.source, TableLocation::Source::Option);
        QCOMPARE(found.path,
                 sources.workingFolder + QStringLiteral("/mine.db")); // taken from the working folder

        sources.option.clear();
        found = LocateStringsTable(sources);
        QCOMPARE(found.source, TableLocation::Source::Setting);
        QCOMPARE(found.path, QStringLiteral("/elsewhere/team.db"));

        sources.setting.clear();
        found = LocateStringsTable(sources);
        QCOMPARE(found.source, TableLocation::Source::WorkingFolder);
        QCOMPARE(found.path, sources.workingFolder + QStringLiteral("/strings.db"));
        // A named table that is missing is still the one to open: no silent fallback elsewhere.
        QVERIFY(!QFile::exists(layout.UserTable()));

        QVERIFY(QFile::remove(sources.workingFolder + QStringLiteral("/strings.db")));
        found = LocateStringsTable(sources);
        QCOMPARE(found.source, TableLocation::Source::UserTable);
        QCOMPARE(found.path, layout.UserTable());
        QVERIFY(found.error.isEmpty());
    }

    void databaseAddressIsTakenAsGivenNotAsAPath() {
        Layout layout;
        TableSources& sources = layout.sources;
        sources.setting = QStringLiteral("postgresql://team@db.example/strings");
        TableLocation found = LocateStringsTable(sources);
        QCOMPARE(found.source, TableLocation::Source::Setting);
        QCOMPARE(found.path, sources.setting);
        sources.option = QStringLiteral("postgres://me@/strings?host=/run/postgresql");
        found = LocateStringsTable(sources);
        QCOMPARE(found.source, TableLocation::Source::Option);
        QCOMPARE(found.path, sources.option);
        QVERIFY(!QFile::exists(layout.UserTable())); // nothing copied for it
    }

    void firstStartCopiesTheInstalledTableAndNeverWritesIt() {
        Layout layout;
        const QByteArray installedBefore = Digest(layout.installedTable);
        const QDateTime installedTime = QFileInfo(layout.installedTable).lastModified();
        QVERIFY(!installedBefore.isEmpty());

        const TableLocation found = LocateStringsTable(layout.sources);
        QCOMPARE(found.path, layout.UserTable());
        QCOMPARE(Digest(found.path), installedBefore);
        QVERIFY(QFileInfo(found.path).permissions().testFlag(QFileDevice::WriteOwner));
        QVERIFY(QDir(layout.sources.userDataFolder).entryList(QDir::Files | QDir::Hidden).size() == 1);

        // The user's translations go into the copy; the next start finds the copy, not a new one.
        QVERIFY(Exec(found.path, "INSERT INTO strings (English, German) VALUES ('Open', 'Öffnen')"));
        const QByteArray userTable = Digest(found.path);
        QCOMPARE(LocateStringsTable(layout.sources).path, layout.UserTable());
        QCOMPARE(Digest(layout.UserTable()), userTable);

        // The window started this way works on the copy and says so.
        WorkFolder folder(false);
        Workbench bench;
        bench.form.SetTablePath(found.path);
        bench.Show();
        QVERIFY(!bench.form.StartupFailed());
        auto* label = bench.form.findChild<QLabel*>(QStringLiteral("TablePath"));
        QVERIFY(label != nullptr);
        QVERIFY(label->toolTip().endsWith(found.path));
        QVERIFY(label->text().endsWith(QStringLiteral("strings.db")));
        QCOMPARE(bench.form.Ui().statusBar->PanelCount(), 2); // the progress panel stays the last one
        bench.form.close();

        QCOMPARE(Digest(layout.installedTable), installedBefore);
        QCOMPARE(QFileInfo(layout.installedTable).lastModified(), installedTime);
        QVERIFY(!QFile::exists(layout.installedTable + QStringLiteral("-journal")));
        QVERIFY(!QFile::exists(layout.installedTable + QStringLiteral("-wal")));
    }

    void nothingInstalledEndsWithTheStartUpMessage() {
        Layout layout;
        layout.sources.installedFolders = {layout.root.filePath(QStringLiteral("missing/wordloom"))};
        const TableLocation found = LocateStringsTable(layout.sources);
        QCOMPARE(found.source, TableLocation::Source::None);
        QVERIFY(found.path.isEmpty());
        QVERIFY(found.error.contains(layout.sources.workingFolder));
        QVERIFY(!QFile::exists(layout.UserTable())); // no empty file made up in its place

        WorkFolder folder(false);
        BoxAnswerer answerer;
        Workbench bench;
        bench.form.SetTablePath(found.path);
        bench.Show();
        QTRY_COMPARE(answerer.seen.size(), 1);
        QVERIFY(bench.form.StartupFailed());
        QVERIFY(answerer.seen.first().text.startsWith(
            QStringLiteral("Database for Strings could not be found.")));
    }

    void aPerUserFolderThatCannotBeMadeIsReported() {
        Layout layout;
        QVERIFY(Touch(layout.root.filePath(QStringLiteral("data-home")))); // a file where the folder goes
        const TableLocation found = LocateStringsTable(layout.sources);
        QVERIFY(found.path.isEmpty());
        QVERIFY(!found.error.isEmpty());
    }

    void theProcessSourcesFollowXdgAndTheSetting() {
        WorkFolder folder(false);
        const QByteArray previous = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", folder.Path(QStringLiteral("xdg")).toUtf8());
        {
            QSettings settings(QStringLiteral("VEL Software"), QStringLiteral("Wordloom"));
            settings.setValue(QStringLiteral("Database"), QStringLiteral(" /srv/team/strings.db "));
        }
        const TableSources sources = CurrentTableSources(QStringLiteral("given.db"));
        if (previous.isNull()) {
            qunsetenv("XDG_DATA_HOME");
        } else {
            qputenv("XDG_DATA_HOME", previous);
        }
        QCOMPARE(sources.option, QStringLiteral("given.db"));
        QCOMPARE(sources.setting, QStringLiteral("/srv/team/strings.db"));
        QCOMPARE(QFileInfo(sources.workingFolder).canonicalFilePath(),
                 QFileInfo(folder.Path()).canonicalFilePath());
        QCOMPARE(sources.userDataFolder, folder.Path(QStringLiteral("xdg/wordloom")));
        QVERIFY(!sources.installedFolders.isEmpty());
        QCOMPARE(sources.installedFolders.first(),
                 QDir::cleanPath(QApplication::applicationDirPath() + QStringLiteral("/../share/wordloom")));
        QVERIFY(!sources.installedFolders.contains(sources.userDataFolder)); // never a template for itself
    }

    void readmeBesideTheProgramThenInstalled() {
        QtTempDir root;
        const QString program = root.filePath(QStringLiteral("bin"));
        const QString data = root.filePath(QStringLiteral("share/wordloom"));
        QDir(root.path()).mkpath(QStringLiteral("bin"));
        QDir(root.path()).mkpath(QStringLiteral("share/wordloom"));
        const QStringList folders{root.filePath(QStringLiteral("nowhere")), data};
        QCOMPARE(ReadmePath(program, folders), program + QStringLiteral("/Readme.txt")); // none at all
        QVERIFY(Touch(data + QStringLiteral("/Readme.txt")));
        QCOMPARE(ReadmePath(program, folders), data + QStringLiteral("/Readme.txt"));
        QVERIFY(Touch(program + QStringLiteral("/Readme.txt")));
        QCOMPARE(ReadmePath(program, folders), program + QStringLiteral("/Readme.txt")); // the build folder
    }

    void commandLine() {
        const auto parse = [](QStringList words) {
            words.prepend(QStringLiteral("wordloom"));
            return ParseWorkbenchArguments(words);
        };
        QVERIFY(parse({}).database.isEmpty());
        QVERIFY(parse({}).error.isEmpty());
        QCOMPARE(parse({QStringLiteral("--db"), QStringLiteral("a b.db")}).database,
                 QStringLiteral("a b.db"));
        QCOMPARE(parse({QStringLiteral("--db=x.db")}).database, QStringLiteral("x.db"));
        QVERIFY(parse({QStringLiteral("--version")}).version);
        QVERIFY(parse({QStringLiteral("-h")}).help);
        QCOMPARE(parse({QStringLiteral("--db")}).error, QStringLiteral("--db needs a file"));
        QCOMPARE(parse({QStringLiteral("--db=")}).error, QStringLiteral("--db needs a file"));
        QVERIFY(parse({QStringLiteral("--frobnicate")}).error.contains(QStringLiteral("--frobnicate")));
        QVERIFY(!parse({QStringLiteral("Demo.dpr")}).error.isEmpty());
    }
};

QTEST_MAIN(TableLocationTest)
#include "table_location_test.moc"
