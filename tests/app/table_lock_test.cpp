// The strings table shared with another program while the workbench holds it open: nothing in the
// window may open the table's files itself, since closing any descriptor of a file drops every
// lock this process holds on it, and the other program then takes the table for its own.
#include "app/main_form.h"
#include "strings_db/strings_table.h"
#include "workbench_fixture.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

/// The POSIX locks this process holds on a file, as /proc/locks lists them.
QStringList LocksHeldOn(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return {};
    }
    const QString inode = QStringLiteral(":%1 ").arg(static_cast<qulonglong>(info.st_ino));
    const QString pid = QStringLiteral(" %1 ").arg(::getpid());
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList held;
    for (const QByteArray& line : locks.readAll().split('\n')) {
        const QString text = QString::fromLatin1(line);
        if (text.contains(QStringLiteral("POSIX")) && text.contains(pid) && text.contains(inode)) {
            held << text.section(QLatin1Char(':'), 1).simplified();
        }
    }
    return held;
}

/// A one-form project whose form holds `caption`.
QString WriteProject(const WorkFolder& folder, const QString& name, const QString& caption) {
    QDir(folder.Path()).mkpath(name);
    const QString dpr = folder.Path(name + QLatin1Char('/') + name + QStringLiteral(".dpr"));
    QFile project(dpr);
    if (!project.open(QIODevice::WriteOnly)) {
        return {};
    }
    project.write("program " + name.toLatin1() + ";\r\nbegin\r\nend.\r\n");
    QFile form(folder.Path(name + QStringLiteral("/Main.dfm")));
    if (!form.open(QIODevice::WriteOnly)) {
        return {};
    }
    form.write("object MainForm: TMainForm\r\n  Caption = '" + caption.toLatin1() + "'\r\nend\r\n");
    return dpr;
}

/// Another program filing a project's texts into the same table, to its end.
void CollectInAnotherProcess(const QString& dpr) {
    QProcess cli;
    cli.start(QStringLiteral(WORDLOOM_BINARY_DIR "/cli/wordloom-cli"),
              {QStringLiteral("collect"), dpr, QStringLiteral("--db"), QStringLiteral("strings.db")});
    QVERIFY2(cli.waitForFinished(30000), qPrintable(cli.errorString()));
    QVERIFY2(cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0,
             cli.readAllStandardError().constData());
}

/// The first column of each row of a query, run through a connection of its own.
QStringList Query(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    QStringList rows;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        rows << QString::fromUtf8(sqlite3_errmsg(db));
    } else {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
            rows << QString::fromUtf8(sqlite3_errmsg(db));
        }
        int rc = SQLITE_DONE;
        while (stmt != nullptr && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            rows << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        }
        if (rc != SQLITE_DONE) {
            rows << QString::fromUtf8(sqlite3_errmsg(db));
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return rows;
}

} // namespace

class TableLockTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Wordloom")); }

    void projectDialogOverTheTableFolderKeepsTheTableLocked() {
        WorkFolder folder;
        const QString projectA = WriteProject(folder, QStringLiteral("A"), QStringLiteral("Text from A"));
        const QString projectB = WriteProject(folder, QStringLiteral("B"), QStringLiteral("Text from B"));
        const QString db = folder.Path(QStringLiteral("strings.db"));
        {
            Workbench bench;
            bench.Show();
            StringsTable& table = *bench.form.StringTable();
            const auto write = [&table](const char* text) {
                table.Insert();
                table.SetField("English", text);
                table.Post();
            };
            write("Written before the dialog");
            const QStringList dbLocks = LocksHeldOn(db);
            const QStringList shmLocks = LocksHeldOn(db + QStringLiteral("-shm"));
            QVERIFY2(!dbLocks.isEmpty() && !shmLocks.isEmpty(), "the open table holds no locks to keep");

            // First start: the dialog opens on the current folder, beside the table and its WAL.
            bool loaded = false;
            WhenModal<QFileDialog>([&](QFileDialog* dialog) {
                auto* model = dialog->findChild<QFileSystemModel*>();
                // The files the filter hides are listed greyed, so that the test can see when
                // the model has asked about each one's icon and type.
                if (model != nullptr) {
                    model->setNameFilterDisables(true);
                }
                const auto typed = [&](const QString& name) {
                    return !model->index(folder.Path(name), 2).data().toString().isEmpty();
                };
                for (int waited = 0; model != nullptr && !loaded && waited < 10000; waited += 10) {
                    loaded = typed(QStringLiteral("strings.db")) && typed(QStringLiteral("strings.db-wal")) &&
                             typed(QStringLiteral("strings.db-shm"));
                    QTest::qWait(10);
                }
                dialog->reject();
            });
            QTest::mouseClick(bench.form.Ui().chooseProjectButton, Qt::LeftButton);
            QVERIFY(loaded);
            QCOMPARE(LocksHeldOn(db), dbLocks);
            QCOMPARE(LocksHeldOn(db + QStringLiteral("-shm")), shmLocks);

            CollectInAnotherProcess(projectA);
            write("Typed between the two runs");
            CollectInAnotherProcess(projectB);
            write("Typed after the second run");
        }
        QCOMPARE(Query(db, "PRAGMA integrity_check"), QStringList{QStringLiteral("ok")});
        QCOMPARE(Query(db, "SELECT English FROM strings ORDER BY English"),
                 (QStringList{QStringLiteral("Text from A"), QStringLiteral("Text from B"),
                              QStringLiteral("Typed after the second run"),
                              QStringLiteral("Typed between the two runs"),
                              QStringLiteral("Written before the dialog")}));
    }
};

QTEST_MAIN(TableLockTest)
#include "table_lock_test.moc"
