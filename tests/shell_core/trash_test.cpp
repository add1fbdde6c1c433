// The trash on real temporary folders: a missing home trash made where it belongs (and nothing written
// anywhere else, the working folder least of all), its records, names already taken, long names,
// failures that leave the file where it was, and the trash of another volume.
#include "shell/core/trash.h"

#include "shell_core/shell_test_home.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace wordloom::shell;

namespace {

int Mode(const QString& path) {
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

QList<QByteArray> RecordLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().split('\n');
}

// Sorted by their bytes.
QStringList Entries(const QString& dir) {
    QStringList entries = QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    entries.sort();
    return entries;
}

} // namespace

class TrashTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_home = std::make_unique<ShellTestHome>();
        m_workingFolder = std::make_unique<QTemporaryDir>();
        m_savedWorkingFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_workingFolder->path()));
    }
    void cleanup() {
        QDir::setCurrent(m_savedWorkingFolder);
        // Whatever happened, nothing went into the working folder.
        QCOMPARE(Entries(m_workingFolder->path()), QStringList());
        m_workingFolder.reset();
        m_home.reset();
    }

    void missingTrashIsMadeWithItsParents_data() {
        QTest::addColumn<bool>("viaHome");
        QTest::newRow("data folder missing") << false;
        QTest::newRow("home without .local/share") << true;
    }
    void missingTrashIsMadeWithItsParents() {
        QFETCH(bool, viaHome);
        const QString root = m_home->Root();
        QString trash;
        QStringList madeFolders;
        if (viaHome) {
            qputenv("HOME", QFile::encodeName(root + QStringLiteral("/newhome")));
            qunsetenv("XDG_DATA_HOME");
            trash = root + QStringLiteral("/newhome/.local/share/Trash");
            madeFolders = {root + QStringLiteral("/newhome/.local"),
                           root + QStringLiteral("/newhome/.local/share")};
        } else {
            qputenv("XDG_DATA_HOME", QFile::encodeName(root + QStringLiteral("/new/data")));
            trash = root + QStringLiteral("/new/data/Trash");
            madeFolders = {root + QStringLiteral("/new"), root + QStringLiteral("/new/data")};
        }
        const QString name = QStringLiteral("a b%\u00e4.txt");
        const QString file = m_home->MakeFile(QStringLiteral("work/") + name, "content");
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        QByteArray trashedAs;
        QString error;
        QVERIFY2(MoveToTrash(QFile::encodeName(file), &error, &trashedAs), qPrintable(error));
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(QFile::decodeName(trashedAs), trash + QStringLiteral("/files/") + name);
        QFile moved(QFile::decodeName(trashedAs));
        QVERIFY(moved.open(QIODevice::ReadOnly));
        QCOMPARE(moved.readAll(), QByteArray("content"));
        madeFolders << trash << trash + QStringLiteral("/files") << trash + QStringLiteral("/info");
        for (const QString& folder : std::as_const(madeFolders))
            QVERIFY2(Mode(folder) == 0700, qPrintable(folder));

        const QList<QByteArray> lines =
            RecordLines(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
        QCOMPARE(lines.size(), 4); // three lines and the final line break
        QCOMPARE(lines[0], QByteArray("[Trash Info]"));
        QVERIFY2(lines[1].endsWith("/work/a%20b%25%C3%A4.txt"), lines[1].constData());
        QCOMPARE(QFile::decodeName(QByteArray::fromPercentEncoding(lines[1].mid(5))),
                 QFileInfo(m_home->Root()).canonicalFilePath() + QStringLiteral("/work/") + name);
        QVERIFY(lines[1].startsWith("Path=/"));
        QVERIFY(QRegularExpression(QStringLiteral("^DeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d$"))
                    .match(QString::fromLatin1(lines[2]))
                    .hasMatch());
        const QDateTime deleted = QDateTime::fromString(QString::fromLatin1(lines[2].mid(13)),
                                                        QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
        QVERIFY(deleted >= before && deleted <= QDateTime::currentDateTime());
        QVERIFY(lines[3].isEmpty());
    }

    void takenNamesGetNamesOfTheirOwn() {
        const QString trash = m_home->Root() + QStringLiteral("/data/Trash");
        QByteArray trashedAs;
        QVERIFY(MoveToTrash(QFile::encodeName(m_home->MakeFile(QStringLiteral("work/a.txt"), "first"))));
        // A file without its record holds a name too.
        m_home->MakeFile(QStringLiteral("data/Trash/files/a.2.txt"), "orphan");
        const QString second = m_home->MakeFile(QStringLiteral("other/a.txt"), "second");
        QVERIFY(MoveToTrash(QFile::encodeName(second), nullptr, &trashedAs));
        QCOMPARE(QFile::decodeName(trashedAs), trash + QStringLiteral("/files/a.3.txt"));
        QCOMPARE(Entries(trash + QStringLiteral("/info")),
                 (QStringList{QStringLiteral("a.3.txt.trashinfo"), QStringLiteral("a.txt.trashinfo")}));
        QVERIFY(RecordLines(trash + QStringLiteral("/info/a.3.txt.trashinfo"))[1].endsWith("/other/a.txt"));
        QFile orphan(trash + QStringLiteral("/files/a.2.txt"));
        QVERIFY(orphan.open(QIODevice::ReadOnly));
        QCOMPARE(orphan.readAll(), QByteArray("orphan"));

        // Names without an extension, hidden names and folders with their contents.
        for (const QString& relative : {QStringLiteral("other/README"), QStringLiteral("work/README"),
                                        QStringLiteral("other/.profile"), QStringLiteral("work/.profile")})
            QVERIFY(MoveToTrash(QFile::encodeName(m_home->MakeFile(relative))));
        m_home->MakeFile(QStringLiteral("work/folder/inner.txt"), "inner");
        QVERIFY(MoveToTrash(QFile::encodeName(m_home->Root() + QStringLiteral("/work/folder/"))));
        QCOMPARE(Entries(trash + QStringLiteral("/files")),
                 (QStringList{QStringLiteral(".profile"), QStringLiteral(".profile.2"),
                              QStringLiteral("README"), QStringLiteral("README.2"), QStringLiteral("a.2.txt"),
                              QStringLiteral("a.3.txt"), QStringLiteral("a.txt"), QStringLiteral("folder")}));
        QVERIFY(QFileInfo::exists(trash + QStringLiteral("/files/folder/inner.txt")));
        QVERIFY(QFileInfo::exists(trash + QStringLiteral("/info/folder.trashinfo")));
    }

    void longNamesAreShortenedToFitTheRecord() {
        // 250 bytes: the name fits the file system, its record's name would not.
        const QString name = QString(123, QChar(0xe4)) + QStringLiteral(".txt");
        QCOMPARE(QFile::encodeName(name).size(), 250);
        QByteArray trashedAs;
        QString error;
        QVERIFY2(MoveToTrash(QFile::encodeName(m_home->MakeFile(QStringLiteral("work/") + name)), &error,
                             &trashedAs),
                 qPrintable(error));
        const QByteArray inTrash = trashedAs.mid(trashedAs.lastIndexOf('/') + 1);
        QVERIFY(inTrash.size() + 10 <= NAME_MAX);
        QVERIFY(inTrash.endsWith(".txt"));
        // Cut between characters, not inside one.
        QCOMPARE(QFile::encodeName(QFile::decodeName(inTrash)), inTrash);
        QVERIFY(QFileInfo::exists(m_home->Root() + QStringLiteral("/data/Trash/info/") +
                                  QFile::decodeName(inTrash) + QStringLiteral(".trashinfo")));
    }

    void failuresLeaveTheFileAndNoRecord() {
        const QString file = m_home->MakeFile(QStringLiteral("work/keep.txt"), "keep");
        QString error;
        // A trash that cannot be made: a file stands where a folder would have to be.
        m_home->MakeFile(QStringLiteral("blocker"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home->Root() + QStringLiteral("/blocker/data")));
        QVERIFY(!MoveToTrash(QFile::encodeName(file), &error));
        QVERIFY2(error.contains(QStringLiteral("Not a directory")), qPrintable(error));
        QVERIFY(QFileInfo::exists(file));

        // A record that cannot be written.
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home->Root() + QStringLiteral("/data")));
        m_home->MakeDir(QStringLiteral("data/Trash/files"));
        m_home->MakeFile(QStringLiteral("data/Trash/info"));
        error.clear();
        QVERIFY(!MoveToTrash(QFile::encodeName(file), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(Entries(m_home->Root() + QStringLiteral("/data/Trash/files")), QStringList());

        // A move that fails (a folder into its own trash) takes its record back.
        QFile::remove(m_home->Root() + QStringLiteral("/data/Trash/info"));
        error.clear();
        QVERIFY(!MoveToTrash(QFile::encodeName(m_home->Root() + QStringLiteral("/data")), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(Entries(m_home->Root() + QStringLiteral("/data/Trash/info")), QStringList());

        // What names no object of its own.
        for (const QByteArray& bad : {QByteArray("keep.txt"), QByteArray("/"), QByteArray("work/.."),
                                      QFile::encodeName(m_home->Root() + QStringLiteral("/work/missing"))}) {
            error.clear();
            QVERIFY2(!MoveToTrash(bad, &error), bad.constData());
            QVERIFY(!error.isEmpty());
        }
        QVERIFY(QFileInfo::exists(file));
    }

    void otherVolumeUsesItsOwnTrash() {
        // /dev/shm is a memory file system of its own where it exists.
        struct stat shm;
        struct stat home;
        if (::stat("/dev/shm", &shm) != 0 || ::access("/dev/shm", W_OK) != 0 ||
            ::stat(QFile::encodeName(m_home->Root()).constData(), &home) != 0 || shm.st_dev == home.st_dev)
            QSKIP("no writable second volume at /dev/shm");
        const QString trash = QStringLiteral("/dev/shm/.Trash-%1").arg(::getuid());
        const bool trashExisted = QFileInfo::exists(trash);
        QTemporaryDir volumeDir(QStringLiteral("/dev/shm/wordloom-trash-XXXXXX"));
        QVERIFY(volumeDir.isValid());
        const QString file = volumeDir.path() + QStringLiteral("/on-volume.txt");
        QFile create(file);
        QVERIFY(create.open(QIODevice::WriteOnly));
        create.close();
        QByteArray trashedAs;
        QString error;
        const bool moved = MoveToTrash(QFile::encodeName(file), &error, &trashedAs);
        const QString record = trash + QStringLiteral("/info/") +
                               QFileInfo(QFile::decodeName(trashedAs)).fileName() +
                               QStringLiteral(".trashinfo");
        const QList<QByteArray> lines = RecordLines(record);
        // Leave the volume as it was before checking.
        QFile::remove(QFile::decodeName(trashedAs));
        QFile::remove(record);
        if (!trashExisted)
            QDir(trash).removeRecursively();
        QVERIFY2(moved, qPrintable(error));
        QCOMPARE(QFileInfo(QFile::decodeName(trashedAs)).path(), trash + QStringLiteral("/files"));
        QCOMPARE(lines.value(1), "Path=" + QFile::encodeName(volumeDir.path().mid(9)) + "/on-volume.txt");
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(!QFileInfo::exists(m_home->Root() + QStringLiteral("/data/Trash/files/on-volume.txt")));
    }

private:
    std::unique_ptr<ShellTestHome> m_home;
    std::unique_ptr<QTemporaryDir> m_workingFolder;
    QString m_savedWorkingFolder;
};

QTEST_GUILESS_MAIN(TrashTest)
#include "trash_test.moc"
