// The namespace on real temporary folders: parsing and comparing paths, binding, the desktop and
// Computer, attributes, special folders, drive roots.
#include "shell/core/shell_namespace.h"

#include "shell_core/shell_test_home.h"

#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>

using namespace wordloom::shell;

namespace {

QStringList Names(const ShellFolder& folder) {
    QStringList names;
    std::unique_ptr<FolderEnumerator> enumerator = folder.EnumObjects();
    if (!enumerator)
        return names;
    while (OptIDList item = enumerator->Next())
        names.append(DisplayNameOf(folder.ID().Appended(*item)));
    return names;
}

IDList Parse(const QString& path) {
    const OptIDList list = IDListFromName(nullptr, path);
    if (!list)
        qFatal("cannot parse %s", qPrintable(path));
    return *list;
}

} // namespace

class ShellNamespaceTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_home = std::make_unique<ShellTestHome>(); }
    void cleanup() { m_home.reset(); }

    void pathsParseThroughComputerAndTheLongestMountPoint() {
        const QString file = m_home->MakeFile(QStringLiteral("a/b/c.txt"));
        const IDList list = Parse(file);
        const std::vector<ItemView> items = list.Items();
        QCOMPARE(items[0].kind, ItemKind::Computer);
        QCOMPARE(items[1].kind, ItemKind::Volume);
        // The volume is the longest mount point that holds the path.
        const QByteArray bytes = QFile::encodeName(file);
        QByteArray expected;
        for (const Volume& volume : ShellContext::Instance().Volumes()) {
            const bool holds =
                volume.mountPoint == "/" || bytes.startsWith(QByteArray(volume.mountPoint + "/"));
            if (holds && volume.mountPoint.size() > expected.size())
                expected = volume.mountPoint;
        }
        QCOMPARE(QByteArray(items[1].name.data(), qsizetype(items[1].name.size())), expected);
        QCOMPARE(items.back().kind, ItemKind::File);
        QCOMPARE(items[items.size() - 2].kind, ItemKind::Dir);
        QCOMPARE(QFile::decodeName(PathFromIDList(list)), file);
    }

    void parsingNormalisesAndRefusesWhatIsNotThere() {
        const QString dir = m_home->MakeDir(QStringLiteral("x/y"));
        QCOMPARE(Parse(dir + QStringLiteral("/")), Parse(dir));
        QCOMPARE(Parse(m_home->Root() + QStringLiteral("//x/./y/../y")), Parse(dir));
        QVERIFY(!IDListFromName(nullptr, dir + QStringLiteral("/missing")));
        QVERIFY(!IDListFromName(nullptr, QString()));
        // Relative names are parsed inside a folder.
        m_home->MakeFile(QStringLiteral("x/y/z.pas"));
        const std::shared_ptr<ShellFolder> folder = BindToFolder(Parse(dir));
        QVERIFY(folder);
        const OptIDList relative = IDListFromName(folder.get(), QStringLiteral("z.pas"));
        QVERIFY(relative);
        QCOMPARE(relative->ItemCount(), 1);
        QCOMPARE(*ConcatIDLists(folder->ID(), relative), Parse(dir + QStringLiteral("/z.pas")));
        QVERIFY(!IDListFromName(folder.get(), QStringLiteral("..")));
        QVERIFY(!IDListFromName(folder.get(), QStringLiteral("nothing")));
    }

    void compareOrdersFoldersFirstThenNaturalCaseInsensitive() {
        const QString dir = m_home->MakeDir(QStringLiteral("cmp"));
        m_home->MakeDir(QStringLiteral("cmp/zeta"));
        for (const char* name : {"file2", "file10", "apple", "Banana", "banana"})
            m_home->MakeFile(QStringLiteral("cmp/") + QLatin1String(name));
        auto id = [&](const char* name) { return Parse(dir + u'/' + QLatin1String(name)); };
        QVERIFY(CompareIDs(id("zeta"), id("apple")) < 0); // folders before files
        QVERIFY(CompareIDs(id("apple"), id("zeta")) > 0);
        QVERIFY(CompareIDs(id("file2"), id("file10")) < 0);   // natural order
        QVERIFY(CompareIDs(id("apple"), id("Banana")) < 0);   // letter case ignored
        QVERIFY(CompareIDs(id("Banana"), id("banana")) != 0); // but different names never equal
        QCOMPARE(CompareIDs(id("Banana"), id("banana")), -CompareIDs(id("banana"), id("Banana")));
        QCOMPARE(CompareIDs(id("apple"), id("apple")), 0);
        QVERIFY(CompareIDs(Parse(dir), id("apple")) < 0); // a folder before its contents
        // Virtual folders come first on the desktop, "/" first among volumes.
        QVERIFY(CompareIDs(IDList::Item(ItemKind::Computer, {}), IDList::Item(ItemKind::Home, {})) < 0);
        const IDList computer = IDList::Item(ItemKind::Computer, {});
        QVERIFY(CompareIDs(computer.Appended(ItemKind::Volume, "/"),
                           computer.Appended(ItemKind::Volume, "/a")) < 0);
    }

    void bindingNeedsAFolder() {
        const QString file = m_home->MakeFile(QStringLiteral("bind/f.txt"));
        QVERIFY(BindToFolder(Parse(m_home->Root() + QStringLiteral("/bind"))));
        QVERIFY(!BindToFolder(Parse(file)));
        QVERIFY(BindToFolder(IDList())); // the desktop
        QVERIFY(BindToFolder(IDList::Item(ItemKind::Computer, {})));
        QVERIFY(BindToFolder(IDList::Item(ItemKind::Trash, {})));
        QVERIFY(!BindToFolder(IDList::Item(ItemKind::Volume, "/")));
    }

    void desktopListsVirtualFoldersThenItsEntries() {
        m_home->MakeFile(QStringLiteral("home/Desktop/note.txt"));
        const QStringList names = Names(*ShellContext::Instance().DesktopFolder());
        QCOMPARE(names,
                 (QStringList{QStringLiteral("Computer"), QStringLiteral("Home"), QStringLiteral("Trash"),
                              QStringLiteral("Network"), QStringLiteral("note.txt")}));
        // A desktop entry is a file-system object with the desktop folder's path.
        const OptIDList note = IDListFromName(nullptr, QStringLiteral("note.txt"));
        QVERIFY(note);
        QCOMPARE(QFile::decodeName(PathFromIDList(*note)), m_home->Desktop() + QStringLiteral("/note.txt"));
        QCOMPARE(DisplayNameOf(IDList()), QStringLiteral("Desktop"));
    }

    void desktopFolderThatIsHomeAddsNoEntries() {
        m_home->MakeFile(QStringLiteral("home/stray.txt"));
        m_home->WriteUserDirs(QStringLiteral("$HOME/"));
        QCOMPARE(Names(*ShellContext::Instance().DesktopFolder()).size(), 4);
        QVERIFY(ShellContext::Instance().DesktopPath().isEmpty());
        QVERIFY(!SpecialFolderLocation(SF_DESKTOPDIRECTORY));
    }

    void computerListsRootFirst() {
        const std::shared_ptr<ShellFolder> computer = BindToFolder(IDList::Item(ItemKind::Computer, {}));
        std::unique_ptr<FolderEnumerator> enumerator = computer->EnumObjects();
        const OptIDList first = enumerator->Next();
        QVERIFY(first);
        QCOMPARE(first->LastItem().kind, ItemKind::Volume);
        QCOMPARE(std::string(first->LastItem().name), std::string("/"));
        QCOMPARE(PathFromIDList(computer->ID().Appended(*first)), QByteArray("/"));
        const std::uint32_t attributes = computer->GetAttributesOf(*first, 0xFFFFFFFF);
        QVERIFY(attributes & Sfgao::Folder);
        QVERIFY(attributes & Sfgao::FileSystem);
        for (const Volume& volume : ShellContext::Instance().Volumes()) {
            QVERIFY((volume.fsType != "proc" && volume.fsType != "tmpfs" && volume.fsType != "overlay") ||
                    volume.mountPoint == "/");
        }
        QVERIFY(PathFromIDList(IDList::Item(ItemKind::Computer, {})).isEmpty());
        const QString rootLabel = ShellContext::Instance().Volumes().front().label;
        QCOMPARE(DisplayNameOf(computer->ID().Appended(*first)),
                 rootLabel.isEmpty() ? QStringLiteral("File System") : rootLabel);
        QCOMPARE(DisplayNameOf(computer->ID()), QStringLiteral("Computer"));
    }

    void attributesOfFiles() {
        const QString dir = m_home->MakeDir(QStringLiteral("attr"));
        m_home->MakeFile(QStringLiteral("attr/plain.txt"));
        m_home->MakeFile(QStringLiteral("attr/.dotted"));
        m_home->MakeFile(QStringLiteral("attr/listed.txt"));
        m_home->MakeFile(QStringLiteral("attr/.hidden"), "listed.txt\nnot-there\n");
        m_home->MakeDir(QStringLiteral("attr/empty"));
        m_home->MakeDir(QStringLiteral("attr/parent/child"));
        QVERIFY(QFile::link(dir + QStringLiteral("/parent"), dir + QStringLiteral("/dirlink")));
        QVERIFY(QFile::link(dir + QStringLiteral("/plain.txt"), dir + QStringLiteral("/filelink")));
        const std::shared_ptr<ShellFolder> folder = BindToFolder(Parse(dir));
        auto attributes = [&](const char* name) {
            const OptIDList item = IDListFromName(folder.get(), QLatin1String(name));
            return item ? folder->GetAttributesOf(*item, 0xFFFFFFFF) : 0u;
        };
        QVERIFY(attributes("plain.txt") & Sfgao::FileSystem);
        QVERIFY(!(attributes("plain.txt") & (Sfgao::Folder | Sfgao::Hidden | Sfgao::Link)));
        QVERIFY(attributes(".dotted") & Sfgao::Hidden);
        QVERIFY(attributes("listed.txt") & Sfgao::Hidden);
        QVERIFY(attributes("parent") & Sfgao::Folder);
        QVERIFY(attributes("parent") & Sfgao::HasSubfolder);
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(dir + QStringLiteral("/empty")).constData(), &st), 0);
        // Where the file system counts subfolders in the link count, an empty folder has none.
        QCOMPARE(bool(attributes("empty") & Sfgao::HasSubfolder), st.st_nlink != 2);
        QVERIFY(attributes("dirlink") & Sfgao::Link);
        QVERIFY(attributes("dirlink") & Sfgao::Folder);
        QVERIFY(attributes("filelink") & Sfgao::Link);
        QVERIFY(!(attributes("filelink") & Sfgao::Folder));
        QVERIFY(attributes("plain.txt") & Sfgao::CanRename);
        QVERIFY(attributes("plain.txt") & Sfgao::CanDelete);
        // Only what the mask asks for comes back.
        const OptIDList plain = IDListFromName(folder.get(), QStringLiteral("plain.txt"));
        QCOMPARE(folder->GetAttributesOf(*plain, Sfgao::Folder), 0u);
    }

    void readOnlyFolderForbidsRenameAndDelete() {
        if (::geteuid() == 0)
            QSKIP("root may write into any folder");
        const QString dir = m_home->MakeDir(QStringLiteral("locked"));
        m_home->MakeFile(QStringLiteral("locked/f"));
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));
        const std::shared_ptr<ShellFolder> folder = BindToFolder(Parse(dir));
        const OptIDList item = IDListFromName(folder.get(), QStringLiteral("f"));
        QCOMPARE(folder->GetAttributesOf(*item, Sfgao::CanRename | Sfgao::CanDelete), 0u);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void renameNeverReplacesAnotherFile() {
        const QString dir = m_home->MakeDir(QStringLiteral("ren"));
        m_home->MakeFile(QStringLiteral("ren/a"), "first");
        m_home->MakeFile(QStringLiteral("ren/b"), "second");
        const std::shared_ptr<ShellFolder> folder = BindToFolder(Parse(dir));
        QString error;
        QVERIFY(!folder->SetNameOf(*IDListFromName(folder.get(), QStringLiteral("a")), QStringLiteral("b"),
                                   &error));
        QVERIFY(!error.isEmpty());
        QFile b(dir + QStringLiteral("/b"));
        QVERIFY(b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), QByteArray("second"));
        QVERIFY(!folder->SetNameOf(*IDListFromName(folder.get(), QStringLiteral("a")), QStringLiteral("x/y"),
                                   &error));
        const OptIDList renamed = folder->SetNameOf(*IDListFromName(folder.get(), QStringLiteral("a")),
                                                    QStringLiteral("c"), &error);
        QVERIFY(renamed);
        QVERIFY(QFile::exists(dir + QStringLiteral("/c")));
        QVERIFY(!QFile::exists(dir + QStringLiteral("/a")));
    }

    void specialFolderNumbersInOrder() {
        const int numbers[kShellFolderKindCount] = {0x11, 0x0A, 0x03, 0x00, 0x10, 0x11, 0x14, 0x13, 0x12,
                                                    0x05, 0x04, 0x02, 0x08, 0x09, 0x0B, 0x07, 0x15, 0x06,
                                                    0x16, 0x18, 0x19, 0x1A, 0x1B, 0x1F, 0x20, 0x21, 0x22};
        for (int kind = 0; kind < kShellFolderKindCount; ++kind)
            QCOMPARE(SpecialFolderNumber(TVelShellFolder(kind)), numbers[kind]);
        QCOMPARE(int(SF_HISTORY), 26);
    }

    void specialFoldersMapToUserFolders() {
        QCOMPARE(SpecialFolderIndex(IDList::Item(ItemKind::Computer, {})), SF_DRIVES);
        QCOMPARE(SpecialFolderIndex(IDList()), SF_DESKTOP);
        QCOMPARE(SpecialFolderIndex(IDList::Item(ItemKind::Trash, {})), SF_BITBUCKET);
        QCOMPARE(SpecialFolderIndex(IDList::Item(ItemKind::Network, {})), SF_NETWORK);
        QCOMPARE(SpecialFolderIndex(Parse(m_home->Documents())), SF_PERSONAL);
        QCOMPARE(SpecialFolderIndex(Parse(m_home->Desktop())), SF_DESKTOPDIRECTORY);
        QCOMPARE(SpecialFolderIndex(Parse(m_home->Home() + QStringLiteral("/Templates"))), SF_TEMPLATES);
        QCOMPARE(SpecialFolderIndex(Parse(m_home->MakeDir(QStringLiteral("plain")))), SF_FILESYSTEMFOLDER);
        QVERIFY(!SpecialFolderLocation(SF_CONTROLS));
        QVERIFY(!SpecialFolderLocation(SF_PRINTERS));
        QVERIFY(!SpecialFolderLocation(SF_COOKIES));
        QVERIFY(!SpecialFolderLocation(SF_STARTUP)); // no autostart folder in the test's config
        m_home->MakeDir(QStringLiteral("config/autostart"));
        ShellContext::Instance().Refresh();
        QCOMPARE(SpecialFolderIndex(*SpecialFolderLocation(SF_STARTUP)), SF_STARTUP);
        QCOMPARE(SpecialFolderLocation(SF_FILESYSTEMFOLDER), SpecialFolderLocation(SF_DRIVES));
    }

    void trashShowsItsFiles() {
        m_home->MakeFile(QStringLiteral("data/Trash/files/old.txt"));
        const std::shared_ptr<ShellFolder> trash = BindToFolder(IDList::Item(ItemKind::Trash, {}));
        QCOMPARE(Names(*trash), QStringList{QStringLiteral("old.txt")});
        QVERIFY(PathFromIDList(trash->ID()).isEmpty());
    }

    void driveRootsAndExistence() {
        QVERIFY(IsDriveRoot(QStringLiteral("/")));
        for (const Volume& volume : ShellContext::Instance().Volumes()) {
            QVERIFY(IsDriveRoot(QFile::decodeName(volume.mountPoint)));
            QVERIFY(IsDriveRoot(QFile::decodeName(volume.mountPoint) + QStringLiteral("/")) ||
                    volume.mountPoint == "/");
        }
        QVERIFY(!IsDriveRoot(m_home->Root()));
        QVERIFY(!IsDriveRoot(QString()));
        const QString file = m_home->MakeFile(QStringLiteral("exists"));
        QVERIFY(ObjectExists(file));
        QVERIFY(!ObjectExists(file + QStringLiteral("-not")));
        QVERIFY(QFile::link(file + QStringLiteral("-gone"), m_home->Root() + QStringLiteral("/dangling")));
        QVERIFY(ObjectExists(m_home->Root() + QStringLiteral("/dangling")));
        QVERIFY(ObjectExists(QStringLiteral("/")));
    }

private:
    std::unique_ptr<ShellTestHome> m_home;
};

QTEST_GUILESS_MAIN(ShellNamespaceTest)
#include "shell_namespace_test.moc"
