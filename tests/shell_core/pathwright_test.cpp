// TPathwright on real temporary folders: opening folders, current objects, enumeration with filters,
// hidden and FileSystemOnly rules, rename, commands (trash, clipboard), the context menu protocol,
// detail columns, icons and the folder monitor.
#include "shell/core/pathwright.h"

#include "shell/core/dir_mon.h"
#include "shell/core/file_clipboard.h"
#include "shell/core/properties_dialog.h"
#include "shell/core/system_image_list.h"
#include "shell_core/shell_test_home.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTest>

#include <sys/time.h>
#include <utime.h>

using namespace wordloom::shell;

namespace {

QStringList Enumerate(TPathwright& pathwright) {
    QStringList names;
    while (pathwright.NextObject())
        names.append(pathwright.GetObjectName().isEmpty() ? pathwright.DisplayName()
                                                          : pathwright.GetObjectName());
    names.sort();
    return names;
}

QString ErrorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const EPathwrightError& error) {
        return error.Message();
    }
    return QString();
}

QAction* ActionWithVerb(QMenu& menu, const QString& verb) {
    for (QAction* action : menu.actions()) {
        if (action->data().toString() == verb)
            return action;
    }
    return nullptr;
}

} // namespace

class PathwrightTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init() {
        m_home = std::make_unique<ShellTestHome>();
        m_dir = m_home->MakeDir(QStringLiteral("work"));
        m_home->MakeFile(QStringLiteral("work/a.txt"), "a");
        m_home->MakeFile(QStringLiteral("work/B.TXT"), "b");
        m_home->MakeFile(QStringLiteral("work/c.pas"), "c");
        m_home->MakeFile(QStringLiteral("work/.secret"));
        m_home->MakeFile(QStringLiteral("work/listed.log"));
        m_home->MakeFile(QStringLiteral("work/.hidden"), "listed.log\n");
        m_home->MakeDir(QStringLiteral("work/sub.pas.d"));
        m_home->MakeFile(QStringLiteral("work/sub.pas.d/inner.txt"), "inner");
    }
    void cleanup() {
        QGuiApplication::clipboard()->clear();
        m_home.reset();
    }

    void startsInComputer() {
        TPathwright pathwright;
        QCOMPARE(pathwright.Folder(), QString());
        QCOMPARE(pathwright.GetFilter(), QStringLiteral("*"));
        QVERIFY(pathwright.MultiObjects().isEmpty());
        QVERIFY(!pathwright.GetObjectIDList());
        QVERIFY(!pathwright.Monitor());
        QCOMPARE(pathwright.FolderSpecialIndex(), SF_DRIVES);
        QCOMPARE(pathwright.Version(), QStringLiteral("TPathwright V2.3"));
        pathwright.setProperty("Version", QStringLiteral("other"));
        QCOMPARE(pathwright.property("Version").toString(), QStringLiteral("TPathwright V2.3"));
        QVERIFY(pathwright.NextObject());
        QCOMPARE(pathwright.GetObjectName(), QStringLiteral("/"));
    }

    void setFolderAddsTheSlashAndKeepsTheOldFolderOnFailure() {
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        QCOMPARE(pathwright.Folder(), m_dir + u'/');
        const QString missing = m_dir + QStringLiteral("/nothing");
        QCOMPARE(ErrorText([&] { pathwright.SetFolder(missing); }),
                 QStringLiteral("Cannot Find Folder: ") + missing);
        QCOMPARE(pathwright.Folder(), m_dir + u'/');
        // A file parses but is no folder: nothing changes either.
        QCOMPARE(ErrorText([&] { pathwright.SetFolder(m_dir + QStringLiteral("/a.txt")); }),
                 QStringLiteral("Pathwright.SetFolderIDList: Desktop.BindToObject: Could not get Folder"));
        QCOMPARE(pathwright.Folder(), m_dir + u'/');
        QVERIFY(pathwright.GetFolderIDList());
        QCOMPARE(QFile::decodeName(PathFromIDList(*pathwright.GetFolderIDList())), m_dir);
        pathwright.SetFolder(QString());
        QCOMPARE(pathwright.Folder(), QString());
    }

    void sameFolderTextDoesNothing() {
        TPathwright pathwright;
        pathwright.SetFolder(m_dir + u'/');
        QVERIFY(pathwright.NextObject());
        const OptIDList first = pathwright.GetObjectIDList();
        pathwright.SetFolder(m_dir + u'/'); // the enumeration goes on
        QVERIFY(pathwright.GetObjectIDList() == first);
        int rest = 0;
        while (pathwright.NextObject())
            ++rest;
        QCOMPARE(rest, 6); // seven objects in all
    }

    void enumerationYieldsHiddenObjectsToo() {
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        QCOMPARE(Enumerate(pathwright),
                 (QStringList{QStringLiteral(".hidden"), QStringLiteral(".secret"), QStringLiteral("B.TXT"),
                              QStringLiteral("a.txt"), QStringLiteral("c.pas"), QStringLiteral("listed.log"),
                              QStringLiteral("sub.pas.d")}));
        pathwright.SetObjectName(QStringLiteral(".secret"));
        QVERIFY(pathwright.IsHidden());
        pathwright.SetObjectName(QStringLiteral("listed.log"));
        QVERIFY(pathwright.IsHidden());
        pathwright.SetObjectName(QStringLiteral("a.txt"));
        QVERIFY(!pathwright.IsHidden());
        QVERIFY(!pathwright.IsFolder());
        pathwright.SetObjectName(QStringLiteral("sub.pas.d"));
        QVERIFY(pathwright.IsFolder());
    }

    void filterRules() {
        TPathwright pathwright;
        pathwright.SetFilter(QStringLiteral("*.txt;*.pas"));
        QCOMPARE(pathwright.GetFilter(), QStringLiteral("*.txt;*.pas"));
        pathwright.SetFilter(QString());
        QCOMPARE(pathwright.GetFilter(), QStringLiteral("*"));
        pathwright.SetFilter(QStringLiteral("*.txt;"));
        QCOMPARE(pathwright.GetFilter(), QStringLiteral("*.txt"));
        pathwright.SetFilter(QStringLiteral("a;;b"));
        QCOMPARE(pathwright.GetFilter(), QStringLiteral("a;;b"));

        pathwright.SetFolder(m_dir);
        pathwright.SetFilter(QStringLiteral("*.txt"));
        // Folders always pass; the extension matches in any letter case.
        QCOMPARE(Enumerate(pathwright), (QStringList{QStringLiteral("B.TXT"), QStringLiteral("a.txt"),
                                                     QStringLiteral("sub.pas.d")}));
        pathwright.SetFilter(QStringLiteral("*.txt;c.*"));
        QCOMPARE(Enumerate(pathwright), (QStringList{QStringLiteral("B.TXT"), QStringLiteral("a.txt"),
                                                     QStringLiteral("c.pas"), QStringLiteral("sub.pas.d")}));
        pathwright.SetFilter(QStringLiteral("?.pas"));
        pathwright.SetObjectName(QStringLiteral("c.pas"));
        QVERIFY(pathwright.MatchesFilter());
        pathwright.SetObjectName(QStringLiteral("a.txt"));
        QVERIFY(!pathwright.MatchesFilter());
    }

    void fileSystemOnlyOnTheDesktopAndInComputer() {
        m_home->MakeFile(QStringLiteral("home/Desktop/on-desktop.txt"));
        TPathwright pathwright;
        pathwright.SetFileSystemOnly(true);
        pathwright.SetFolderIDList(IDList());
        QStringList names;
        while (pathwright.NextObject())
            names.append(pathwright.DisplayName());
        QCOMPARE(names, (QStringList{QStringLiteral("Computer"), QStringLiteral("Home"),
                                     QStringLiteral("Network"), QStringLiteral("on-desktop.txt")}));
        pathwright.SetFileSystemOnly(false);
        int all = 0;
        while (pathwright.NextObject())
            ++all;
        QCOMPARE(all, 5); // the trash too
        pathwright.SetFileSystemOnly(true);
        pathwright.SetSpecialFolder(SF_DRIVES);
        QVERIFY(pathwright.NextObject());
        QCOMPARE(pathwright.GetObjectName(), QStringLiteral("/"));
    }

    void objectNamesAndPaths() {
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("a.txt"));
        QCOMPARE(pathwright.GetObjectName(), QStringLiteral("a.txt"));
        QCOMPARE(pathwright.DisplayName(), QStringLiteral("a.txt"));
        QCOMPARE(pathwright.property("ObjectName").toString(), QStringLiteral("a.txt"));
        // A folder path with its slash: the parent opens with the folder current.
        pathwright.SetObjectName(m_dir + QStringLiteral("/sub.pas.d/"));
        QCOMPARE(pathwright.Folder(), m_dir + u'/');
        QCOMPARE(pathwright.GetObjectName(), QStringLiteral("sub.pas.d"));
        pathwright.SetObjectName(m_dir + QStringLiteral("/sub.pas.d/inner.txt"));
        QCOMPARE(pathwright.Folder(), m_dir + QStringLiteral("/sub.pas.d/"));
        QCOMPARE(pathwright.GetObjectName(), QStringLiteral("inner.txt"));
        // A drive root opens Computer with the volume current.
        pathwright.SetObjectName(QStringLiteral("/"));
        QCOMPARE(pathwright.Folder(), QString());
        QCOMPARE(pathwright.FolderSpecialIndex(), SF_DRIVES);
        QCOMPARE(pathwright.GetObjectName(), QStringLiteral("/"));
        pathwright.SetObjectName(QString());
        QVERIFY(!pathwright.GetObjectIDList());
        QCOMPARE(pathwright.GetObjectName(), QString());
    }

    void searchByDisplayNameAndTheNotFoundText() {
        TPathwright pathwright;
        pathwright.SetFolderIDList(IDList());
        pathwright.SetObjectName(QStringLiteral("Computer"));
        QCOMPARE(pathwright.ObjectSpecialIndex(), SF_DRIVES);
        QCOMPARE(pathwright.GetObjectName(), QString()); // a virtual object has no file name
        pathwright.SetFolder(m_dir);
        QCOMPARE(ErrorText([&] { pathwright.SetObjectName(QStringLiteral("none.txt")); }),
                 QStringLiteral("Error! Cannot find Object \"none.txt\" in Folder \"") + m_dir +
                     QStringLiteral("/\""));
        QVERIFY(!pathwright.GetObjectIDList());
        // The search left no enumeration behind.
        QVERIFY(pathwright.NextObject());
    }

    void movingUpAndDown() {
        TPathwright pathwright;
        pathwright.SetFolder(m_dir + QStringLiteral("/sub.pas.d"));
        QVERIFY(pathwright.SelectFolderInParent());
        QCOMPARE(pathwright.Folder(), m_dir + u'/');
        QCOMPARE(pathwright.GetObjectName(), QStringLiteral("sub.pas.d"));
        QVERIFY(pathwright.EnterObject());
        QCOMPARE(pathwright.Folder(), m_dir + QStringLiteral("/sub.pas.d/"));
        QVERIFY(!pathwright.GetObjectIDList());
        pathwright.SetObjectName(QStringLiteral("inner.txt"));
        QVERIFY(!pathwright.EnterObject());
        pathwright.SetFolderIDList(IDList());
        QVERIFY(pathwright.SelectFolderInParent());
        QVERIFY(pathwright.GetFolderIDList()->IsDesktop());
        QVERIFY(pathwright.GetObjectIDList()->IsDesktop());
    }

    void specialFolders() {
        TPathwright pathwright;
        QVERIFY(pathwright.SetSpecialFolder(SF_PERSONAL));
        QCOMPARE(pathwright.Folder(), m_home->Documents() + u'/');
        QCOMPARE(pathwright.FolderSpecialIndex(), SF_PERSONAL);
        QVERIFY(!pathwright.SetSpecialFolder(SF_CONTROLS));
        QCOMPARE(pathwright.Folder(), m_home->Documents() + u'/');
        QVERIFY(pathwright.SetSpecialFolder(SF_BITBUCKET));
        QCOMPARE(pathwright.Folder(), QString());
        QVERIFY(pathwright.SetSpecialFolder(SF_DESKTOP));
        QCOMPARE(pathwright.Folder(), m_home->Desktop() + u'/');
    }

    void renameObject() {
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("a.txt"));
        QVERIFY(pathwright.CanRename());
        QString name = QStringLiteral("renamed.txt");
        pathwright.RenameObject(name);
        QCOMPARE(name, QStringLiteral("renamed.txt"));
        QCOMPARE(pathwright.GetObjectName(), QStringLiteral("renamed.txt"));
        QVERIFY(QFile::exists(m_dir + QStringLiteral("/renamed.txt")));
        // Onto an existing name: nothing is replaced, the name comes back unchanged.
        name = QStringLiteral("c.pas");
        pathwright.RenameObject(name);
        QCOMPARE(name, QStringLiteral("renamed.txt"));
        QFile c(m_dir + QStringLiteral("/c.pas"));
        QVERIFY(c.open(QIODevice::ReadOnly));
        QCOMPARE(c.readAll(), QByteArray("c"));
    }

    void linkTargetFolder() {
        QVERIFY(QFile::link(m_dir + QStringLiteral("/sub.pas.d"), m_dir + QStringLiteral("/to-sub")));
        QVERIFY(QFile::link(m_dir + QStringLiteral("/a.txt"), m_dir + QStringLiteral("/to-a")));
        QVERIFY(QFile::link(m_dir + QStringLiteral("/loop2"), m_dir + QStringLiteral("/loop1")));
        QVERIFY(QFile::link(m_dir + QStringLiteral("/loop1"), m_dir + QStringLiteral("/loop2")));
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("to-sub"));
        QVERIFY(pathwright.IsLink());
        QCOMPARE(pathwright.LinkTargetFolder(),
                 QFileInfo(m_dir + QStringLiteral("/sub.pas.d")).canonicalFilePath());
        pathwright.SetObjectName(QStringLiteral("to-a"));
        QCOMPARE(pathwright.LinkTargetFolder(), QString());
        pathwright.SetObjectName(QStringLiteral("loop1"));
        QVERIFY(pathwright.IsLink());
        QCOMPARE(pathwright.LinkTargetFolder(), QString());
        pathwright.SetObjectName(QStringLiteral("c.pas"));
        QCOMPARE(pathwright.LinkTargetFolder(), QString());
        QCOMPARE(pathwright.NetworkName(), QString());
    }

    void deleteGoesToTheTrashAfterConfirmation() {
        TPathwright pathwright;
        QStringList questions;
        bool answer = false;
        pathwright.Hooks().Confirm = [&](QWidget*, const QString&, const QString& text) {
            questions.append(text);
            return answer;
        };
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("a.txt"));
        QVERIFY(!pathwright.InvokeCommand(QStringLiteral("delete")));
        QVERIFY(QFile::exists(m_dir + QStringLiteral("/a.txt")));
        QCOMPARE(questions,
                 QStringList{QStringLiteral("Are you sure you want to move \"a.txt\" to the Trash?")});
        answer = true;
        QVERIFY(pathwright.InvokeCommand(QStringLiteral("DELETE")));
        QVERIFY(!QFile::exists(m_dir + QStringLiteral("/a.txt")));
        QVERIFY(QFile::exists(m_home->TrashFiles() + QStringLiteral("/a.txt")));
        QCOMPARE(pathwright.GetObjectName(), QStringLiteral("a.txt")); // the current object stays
    }

    void deleteMakesAMissingTrashAndWritesNowhereElse() {
        // No data folder yet, and a working folder that must stay empty.
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home->Root() + QStringLiteral("/fresh/share")));
        QTemporaryDir workingFolder;
        const QString saved = QDir::currentPath();
        QVERIFY(QDir::setCurrent(workingFolder.path()));
        struct Back {
            QString folder;
            ~Back() { QDir::setCurrent(folder); }
        } back{saved};
        TPathwright pathwright;
        QStringList errors;
        pathwright.Hooks().Confirm = [](QWidget*, const QString&, const QString&) { return true; };
        pathwright.Hooks().ShowError = [&](QWidget*, const QString&, const QString& text) {
            errors.append(text);
        };
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("a.txt"));
        QVERIFY(pathwright.InvokeCommand(QStringLiteral("delete")));
        const QString trash = m_home->Root() + QStringLiteral("/fresh/share/Trash");
        QVERIFY(QFile::exists(trash + QStringLiteral("/files/a.txt")));
        QVERIFY(QFile::exists(trash + QStringLiteral("/info/a.txt.trashinfo")));
        QVERIFY(errors.isEmpty());
        // A trash that cannot be made: the file stays and the user is told why.
        m_home->MakeFile(QStringLiteral("blocker"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home->Root() + QStringLiteral("/blocker/share")));
        pathwright.SetObjectName(QStringLiteral("c.pas"));
        QVERIFY(!pathwright.InvokeCommand(QStringLiteral("delete")));
        QVERIFY(QFile::exists(m_dir + QStringLiteral("/c.pas")));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith(QStringLiteral("Cannot move \"c.pas\" to the Trash: ")),
                 qPrintable(errors[0]));
        QCOMPARE(QDir(workingFolder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void deleteInTheTrashIsForGood() {
        TPathwright pathwright;
        QString question;
        pathwright.Hooks().Confirm = [&](QWidget*, const QString&, const QString& text) {
            question = text;
            return true;
        };
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("a.txt"));
        QVERIFY(pathwright.InvokeCommand(QStringLiteral("delete")));
        const QString info = m_home->Root() + QStringLiteral("/data/Trash/info/a.txt.trashinfo");
        QVERIFY(QFile::exists(info));
        QVERIFY(pathwright.SetSpecialFolder(SF_BITBUCKET));
        pathwright.SetObjectName(QStringLiteral("a.txt"));
        QVERIFY(pathwright.InvokeCommand(QStringLiteral("delete")));
        QCOMPARE(question, QStringLiteral("Are you sure you want to permanently delete \"a.txt\"?"));
        QVERIFY(!QFile::exists(m_home->TrashFiles() + QStringLiteral("/a.txt")));
        QVERIFY(!QFile::exists(info));
        QVERIFY(!pathwright.NextObject()); // the trash is empty again
    }

    void deleteSeveralObjects() {
        TPathwright pathwright;
        pathwright.Hooks().Confirm = [](QWidget*, const QString&, const QString& text) {
            return text == QStringLiteral("Are you sure you want to move these 2 items to the Trash?");
        };
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("c.pas"));
        pathwright.MultiObjects() = {QStringLiteral("a.txt"), QStringLiteral("B.TXT")};
        QVERIFY(pathwright.InvokeCommand(QStringLiteral("delete")));
        QVERIFY(pathwright.MultiObjects().isEmpty());
        QCOMPARE(pathwright.GetObjectName(), QStringLiteral("c.pas"));
        QVERIFY(!QFile::exists(m_dir + QStringLiteral("/a.txt")));
        QVERIFY(!QFile::exists(m_dir + QStringLiteral("/B.TXT")));
        QVERIFY(QFile::exists(m_dir + QStringLiteral("/c.pas")));
    }

    void missingMultiObjectRaisesAndKeepsTheCurrentObject() {
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("c.pas"));
        pathwright.MultiObjects() = {QStringLiteral("a.txt"), QStringLiteral("gone")};
        std::vector<IDList> lists;
        QVERIFY(ErrorText([&] {
                    pathwright.MultiObjectIDLists(lists);
                }).startsWith(QStringLiteral("Error! Cannot find Object \"gone\"")));
        QCOMPARE(pathwright.GetObjectName(), QStringLiteral("c.pas"));
    }

    void commandsNeedAnObject() {
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        QVERIFY(!pathwright.InvokeCommand(QStringLiteral("copy")));
        pathwright.SetObjectName(QStringLiteral("a.txt"));
        QVERIFY(!pathwright.InvokeCommand(QStringLiteral("no-such-verb")));
        QVERIFY(!pathwright.InvokeCommand(QStringLiteral("rename"))); // no OnRename
        int renames = 0;
        pathwright.OnRename = [&](QObject* sender) {
            QCOMPARE(sender, &pathwright);
            ++renames;
        };
        QVERIFY(pathwright.InvokeCommand(QStringLiteral("rename")));
        QCOMPARE(renames, 1);
    }

    void propertiesShowOurOwnDialog() {
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("c.pas"));
        QVERIFY(pathwright.InvokeCommand(QStringLiteral("properties")));
        TVelPropertiesDialog* dialog = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<TVelPropertiesDialog*>(widget); found && found->isVisible())
                dialog = found;
        QVERIFY(dialog);
        QCOMPARE(dialog->FieldText(QStringLiteral("Name")), QStringLiteral("c.pas"));
        QCOMPARE(dialog->FieldText(QStringLiteral("Location")), m_dir);
        QCOMPARE(dialog->FieldText(QStringLiteral("Size")), QStringLiteral("1 byte"));
        QCOMPARE(dialog->FieldText(QStringLiteral("Permissions")).size(), 9);
        if (!qEnvironmentVariableIsEmpty("WORDLOOM_SCREENSHOTS"))
            dialog->grab().save(qEnvironmentVariable("WORDLOOM_SCREENSHOTS") +
                                QStringLiteral("/properties.png"));
        dialog->close();
        QTRY_VERIFY(QApplication::topLevelWidgets().indexOf(dialog) < 0);
    }

    void deleteNeedsTheCanDeleteBit() {
        TPathwright pathwright;
        int asked = 0;
        pathwright.Hooks().Confirm = [&](QWidget*, const QString&, const QString&) { return ++asked > 0; };
        pathwright.SetFolderIDList(IDList());
        pathwright.SetObjectName(QStringLiteral("Computer"));
        QVERIFY(!pathwright.InvokeCommand(QStringLiteral("delete")));
        QCOMPARE(asked, 0);
    }

    void defaultOpensDocumentsButNotFolders() {
        TPathwright pathwright;
        QList<QUrl> opened;
        pathwright.Hooks().OpenUrl = [&](const QUrl& url) {
            opened.append(url);
            return true;
        };
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("sub.pas.d"));
        QVERIFY(pathwright.InvokeCommand(QString()));
        QVERIFY(opened.isEmpty());
        pathwright.SetObjectName(QStringLiteral("c.pas"));
        QVERIFY(pathwright.InvokeCommand(QString()));
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(m_dir + QStringLiteral("/c.pas"))});
    }

    void copyAndPasteThroughTheClipboard() {
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("a.txt"));
        QVERIFY(pathwright.InvokeCommand(QStringLiteral("copy")));
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data->hasFormat(QStringLiteral("x-special/gnome-copied-files")));
        QCOMPARE(data->data(QStringLiteral("x-special/gnome-copied-files")),
                 QByteArray("copy\n") + QUrl::fromLocalFile(m_dir + QStringLiteral("/a.txt")).toEncoded());
        QVERIFY(!data->hasFormat(QStringLiteral("application/x-kde-cutselection")));
        pathwright.SetObjectName(QStringLiteral("sub.pas.d"));
        QVERIFY(pathwright.InvokeCommand(QStringLiteral("paste")));
        QVERIFY(QFile::exists(m_dir + QStringLiteral("/sub.pas.d/a.txt")));
        QVERIFY(QFile::exists(m_dir + QStringLiteral("/a.txt")));
        // Pasting again does not overwrite: a copy beside it.
        QVERIFY(pathwright.InvokeCommand(QStringLiteral("paste")));
        QVERIFY(QFile::exists(m_dir + QStringLiteral("/sub.pas.d/a (copy).txt")));
    }

    void cutAndPasteMoves() {
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("c.pas"));
        QVERIFY(pathwright.InvokeCommand(QStringLiteral("cut")));
        QCOMPARE(
            QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("application/x-kde-cutselection")),
            QByteArray("1"));
        pathwright.SetObjectName(QStringLiteral("sub.pas.d"));
        QVERIFY(pathwright.InvokeCommand(QStringLiteral("paste")));
        QVERIFY(QFile::exists(m_dir + QStringLiteral("/sub.pas.d/c.pas")));
        QVERIFY(!QFile::exists(m_dir + QStringLiteral("/c.pas")));
    }

    void folderIsNeverPastedIntoItself() {
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("sub.pas.d"));
        QVERIFY(pathwright.InvokeCommand(QStringLiteral("copy")));
        QVERIFY(!pathwright.InvokeCommand(QStringLiteral("paste")));
        QVERIFY(!QFile::exists(m_dir + QStringLiteral("/sub.pas.d/sub.pas.d")));
    }

    void clipboardFormatsReadBack() {
        const QList<QUrl> urls = {QUrl::fromLocalFile(QStringLiteral("/tmp/a b")),
                                  QUrl::fromLocalFile(QStringLiteral("/tmp/c"))};
        std::unique_ptr<QMimeData> data(MakeFileListMimeData(urls, true));
        bool cut = false;
        QCOMPARE(FileListFromMimeData(data.get(), &cut), urls);
        QVERIFY(cut);
        QMimeData kdeOnly;
        kdeOnly.setUrls(urls);
        kdeOnly.setData(QStringLiteral("application/x-kde-cutselection"), "1");
        QCOMPARE(FileListFromMimeData(&kdeOnly, &cut), urls);
        QVERIFY(cut);
        QMimeData plain;
        plain.setUrls(urls);
        QCOMPARE(FileListFromMimeData(&plain, &cut), urls);
        QVERIFY(!cut);
        QVERIFY(FileListFromMimeData(nullptr, &cut).isEmpty());
    }

    void contextMenuProtocol() {
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        pathwright.Hooks().Confirm = [](QWidget*, const QString&, const QString&) { return true; };
        QString pick;
        QStringList seenVerbs;
        pathwright.Hooks().ExecMenu = [&](QMenu& menu, const QPoint&) -> QAction* {
            if (!qEnvironmentVariableIsEmpty("WORDLOOM_SCREENSHOTS"))
                menu.grab().save(qEnvironmentVariable("WORDLOOM_SCREENSHOTS") +
                                 QStringLiteral("/context_menu.png"));
            seenVerbs.clear();
            for (QAction* action : menu.actions())
                if (!action->data().toString().isEmpty())
                    seenVerbs.append(action->data().toString());
            if (pick.isEmpty())
                return nullptr;
            QAction* action = ActionWithVerb(menu, pick);
            if (!action) {
                for (QAction* item : menu.actions())
                    if (item->objectName() == pick)
                        action = item;
            }
            if (action)
                action->trigger();
            return action;
        };
        QString verb = QStringLiteral("stale");
        pathwright.SetObjectName(QStringLiteral("a.txt"));
        pathwright.ShowContextMenu(QPoint(), nullptr, verb); // cancelled
        QCOMPARE(verb, QString());
        QVERIFY(!seenVerbs.contains(QStringLiteral("rename"))); // no OnRename: no rename entry

        // Read-only without a select handler: delete, cut and paste do nothing.
        pathwright.SetReadOnly(true);
        pick = QStringLiteral("delete");
        pathwright.ShowContextMenu(QPoint(), nullptr, verb);
        QCOMPARE(verb, QString());
        QVERIFY(QFile::exists(m_dir + QStringLiteral("/a.txt")));
        pick = QStringLiteral("copy");
        pathwright.ShowContextMenu(QPoint(), nullptr, verb);
        QCOMPARE(verb, QStringLiteral("copy"));

        // A select handler decides, whatever ReadOnly says.
        QStringList offered;
        pathwright.OnContextMenuSelect = [&](const QString& command, bool& execute) {
            offered.append(command);
            execute = false;
        };
        pick = QStringLiteral("copy");
        pathwright.ShowContextMenu(QPoint(), nullptr, verb);
        QCOMPARE(verb, QString());
        QCOMPARE(offered, QStringList{QStringLiteral("copy")});
        pathwright.OnContextMenuSelect = [](const QString&, bool&) {};
        pick = QStringLiteral("delete");
        pathwright.ShowContextMenu(QPoint(), nullptr, verb);
        QCOMPARE(verb, QStringLiteral("delete"));
        QVERIFY(!QFile::exists(m_dir + QStringLiteral("/a.txt")));

        // OnRename takes over the rename entry.
        int renames = 0;
        pathwright.OnRename = [&](QObject*) { ++renames; };
        pathwright.SetObjectName(QStringLiteral("c.pas"));
        pick = QStringLiteral("rename");
        pathwright.ShowContextMenu(QPoint(), nullptr, verb);
        QCOMPARE(verb, QStringLiteral("rename"));
        QCOMPARE(renames, 1);
        QVERIFY(QFile::exists(m_dir + QStringLiteral("/c.pas")));

        // The caller's items come after ours and run their own handlers.
        QMenu extra;
        QAction* mine = extra.addAction(QStringLiteral("Mine"));
        mine->setObjectName(QStringLiteral("MineItem"));
        mine->setCheckable(true);
        QMenu* sub = extra.addMenu(QStringLiteral("More"));
        sub->addAction(QStringLiteral("Deeper"));
        int clicks = 0;
        connect(mine, &QAction::triggered, this, [&] { ++clicks; });
        pick = QStringLiteral("MineItem2");
        pathwright.ShowContextMenu(QPoint(), &extra, verb);
        QCOMPARE(verb, QString());
        QCOMPARE(clicks, 1);
        QCOMPARE(seenVerbs.last(), QStringLiteral("properties"));

        // MultiObjects are consumed.
        pathwright.MultiObjects() = {QStringLiteral("B.TXT")};
        pick.clear();
        pathwright.ShowContextMenu(QPoint(), nullptr, verb);
        QVERIFY(pathwright.MultiObjects().isEmpty());
        QCOMPARE(pathwright.GetObjectName(), QStringLiteral("c.pas"));
    }

    void cloneMenuItemCopiesTheItem() {
        QAction source(QStringLiteral("&Source"));
        source.setObjectName(QStringLiteral("Item"));
        source.setShortcut(QKeySequence(QStringLiteral("Ctrl+K")));
        source.setCheckable(true);
        source.setChecked(true);
        source.setEnabled(false);
        source.setData(42);
        QObject owner;
        QAction* clone = TPathwright::CloneMenuItem(&source, &owner);
        QCOMPARE(clone->objectName(), QStringLiteral("Item2"));
        QCOMPARE(clone->text(), source.text());
        QCOMPARE(clone->shortcut(), source.shortcut());
        QVERIFY(clone->isChecked());
        QVERIFY(!clone->isEnabled());
        QCOMPARE(clone->data().toInt(), 42);
        QCOMPARE(clone->parent(), &owner);
    }

    void detailColumns() {
        m_home->MakeFile(QStringLiteral("sizes/empty.txt"));
        m_home->MakeFile(QStringLiteral("sizes/one.txt"), "x");
        m_home->MakeFile(QStringLiteral("sizes/mid.txt"), QByteArray(1600, 'x'));
        m_home->MakeFile(QStringLiteral("sizes/big.bin"), QByteArray(5000000, 'x'));
        TPathwright pathwright;
        pathwright.SetFolder(m_home->Root() + QStringLiteral("/sizes"));
        QVERIFY(!pathwright.HasDetails());
        const QStringList headers = {QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Type"),
                                     QStringLiteral("Changed")};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(pathwright.DetailText(i, true), headers[i]);
        QCOMPARE(pathwright.DetailText(4, true), QString());
        int width = 0;
        QCOMPARE(pathwright.ColumnInfo(0, width), TColumnAlignment::taLeftJustify);
        QCOMPARE(width, 150);
        QCOMPARE(pathwright.ColumnInfo(1, width), TColumnAlignment::taRightJustify);
        QCOMPARE(width, 60);
        QCOMPARE(pathwright.ColumnInfo(2, width), TColumnAlignment::taLeftJustify);
        QCOMPARE(width, 120);
        QCOMPARE(pathwright.ColumnInfo(3, width), TColumnAlignment::taLeftJustify);
        QCOMPARE(width, 100);

        auto size = [&](const char* name) {
            pathwright.SetObjectName(QLatin1String(name));
            return pathwright.DetailText(1, false);
        };
        QCOMPARE(size("empty.txt"), QStringLiteral("0 KB"));
        QCOMPARE(size("one.txt"), QStringLiteral("1 KB"));
        QCOMPARE(size("mid.txt"), QStringLiteral("2 KB"));
        QCOMPARE(size("big.bin"), QStringLiteral("4,883 KB"));
        pathwright.SetObjectName(QStringLiteral("one.txt"));
        QCOMPARE(pathwright.DetailText(0, false), QStringLiteral("one.txt"));
        QCOMPARE(pathwright.DetailText(2, false), QStringLiteral("plain text document"));
        QCOMPARE(pathwright.DetailText(7, false), QString());

        // The change time in the locale's short date and time.
        const QString file = m_home->Root() + QStringLiteral("/sizes/one.txt");
        const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
        struct utimbuf times = {time_t(when.toSecsSinceEpoch()), time_t(when.toSecsSinceEpoch())};
        QCOMPARE(::utime(QFile::encodeName(file).constData(), &times), 0);
        pathwright.SetObjectName(QStringLiteral("mid.txt")); // a new object drops the cached find data
        pathwright.SetObjectName(QStringLiteral("one.txt"));
        QCOMPARE(pathwright.DetailText(3, false), QStringLiteral("3/5/24 2:07 PM"));
        QCOMPARE(TPathwright::FileTimeText(QDateTime::fromSecsSinceEpoch(0)), QString());
        QCOMPARE(TPathwright::FileTimeText(QDateTime()), QString());

        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("sub.pas.d"));
        QCOMPARE(pathwright.DetailText(1, false), QString());
        QCOMPARE(pathwright.DetailText(2, false), QStringLiteral("folder"));
        // Virtual objects have no find data.
        pathwright.SetFolderIDList(IDList());
        pathwright.SetObjectName(QStringLiteral("Computer"));
        QCOMPARE(pathwright.DetailText(0, false), QStringLiteral("Computer"));
        QCOMPARE(pathwright.DetailText(1, false), QString());
    }

    void linksTakeTheTypeOfTheirTarget() {
        const auto link = [this](const char* target, const char* name) {
            QVERIFY(QFile::link(QLatin1String(target), m_dir + u'/' + QLatin1String(name)));
        };
        link("c.pas", "notes");
        link("notes", "chain");
        link("missing.txt", "broken.pas");
        link("loop", "loop");
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("c.pas"));
        const QString pascal = pathwright.DetailText(2, false);
        const int pascalIcon = pathwright.GetIconNumber();
        for (const char* name : {"notes", "chain"}) {
            pathwright.SetObjectName(QLatin1String(name));
            QCOMPARE(pathwright.DetailText(2, false), pascal);
            QCOMPARE(pathwright.GetIconNumber(), pascalIcon);
        }
        // Links that lead nowhere keep the link type, whatever their own name says.
        const QString linkType = QMimeDatabase().mimeTypeForName(QStringLiteral("inode/symlink")).comment();
        QVERIFY(!linkType.isEmpty() && linkType != pascal);
        for (const char* name : {"broken.pas", "loop"}) {
            pathwright.SetObjectName(QLatin1String(name));
            QCOMPARE(pathwright.DetailText(2, false), linkType);
            QVERIFY(pathwright.GetIconNumber() != pascalIcon);
        }
    }

    void iconNumbers() {
        m_home->MakeFile(QStringLiteral("work/other.txt"));
        TPathwright pathwright;
        pathwright.SetFolder(m_dir);
        pathwright.SetObjectName(QStringLiteral("a.txt"));
        const int text = pathwright.GetIconNumber();
        pathwright.SetObjectName(QStringLiteral("other.txt"));
        QCOMPARE(pathwright.GetIconNumber(), text);
        pathwright.SetObjectName(QStringLiteral("sub.pas.d"));
        const int folder = pathwright.GetIconNumber();
        QVERIFY(folder != text);
        QVERIFY(pathwright.GetSelectedIconNumber() != folder);
        QCOMPARE(pathwright.property("IconNumber").toInt(), folder);
        QVERIFY(pathwright.DesktopIconNumber() != folder);
        QCOMPARE(pathwright.DesktopName(), QStringLiteral("Desktop"));

        TVelSystemImageList small;
        TVelSystemImageList large;
        int changes = 0;
        large.OnChange = [&](QObject* sender) {
            QCOMPARE(sender, &large);
            ++changes;
        };
        QCOMPARE(large.IconSize(), 16);
        large.SetSize(TVelSystemImageList::si_large);
        QCOMPARE(large.IconSize(), 32);
        QCOMPARE(changes, 1);
        QCOMPARE(small.Count(), large.Count());
        QVERIFY(small.Count() > folder);
        QCOMPARE(small.Pixmap(folder).width() <= 16, true);
        QCOMPARE(large.Pixmap(folder).width() > 16 || large.Pixmap(folder).isNull(), true);
        // A private copy keeps the icons it had; a shared list follows the registry.
        TVelSystemImageList copy;
        copy.SetShareImages(false);
        QVERIFY(!copy.IsPrivateCopy()); // the new setting governs the next attachment
        copy.SetSize(TVelSystemImageList::si_small);
        QVERIFY(copy.IsPrivateCopy());
        const int frozen = copy.Count();
        m_home->MakeFile(QStringLiteral("work/new-kind.pdf"));
        pathwright.SetObjectName(QStringLiteral("new-kind.pdf"));
        const int pdf = pathwright.GetIconNumber();
        QVERIFY(pdf >= frozen);
        QCOMPARE(copy.Count(), frozen);
        QVERIFY(small.Count() > pdf);
    }

    void fileChangeMonitor() {
        TPathwright pathwright;
        int changes = 0;
        pathwright.SetOnFileChange([&](QObject* sender) {
            QCOMPARE(sender, &pathwright);
            ++changes;
        });
        QVERIFY(pathwright.Monitor());
        QVERIFY(!pathwright.Monitor()->Running()); // Computer has no path: idle
        QCOMPARE(pathwright.Monitor()->FilterBits(), std::uint32_t(0x3));
        pathwright.SetFolder(m_dir);
        QVERIFY(pathwright.Monitor()->Running());
        QCOMPARE(pathwright.Monitor()->Directory(), m_dir);
        m_home->MakeFile(QStringLiteral("work/created.txt"));
        QTRY_VERIFY(changes > 0);
        pathwright.SetOnFileChange(nullptr);
        QVERIFY(!pathwright.Monitor());
    }

private:
    std::unique_ptr<ShellTestHome> m_home;
    QString m_dir;
};

QTEST_MAIN(PathwrightTest)
#include "pathwright_test.moc"
