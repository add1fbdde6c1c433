// TVelShellTree on real temporary folders: the roots, walking down with SelectedFolder, lazy filling,
// refreshing after changes made outside, the delayed link notices, rename, delete, keys, the settings
// that rebuild, and the auto-expand of a drag resting on a node.
#include "shell/controls/shell_tree.h"

#include "shell/core/file_clipboard.h"
#include "shell_core/shell_test_home.h"

#include <QApplication>
#include <QClipboard>
#include <QDragMoveEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace wordloom::shell;

namespace {

// A control on the link that records the folders it is told about.
class LinkListener : public QObject {
public:
    QList<QByteArray> folders;
    int selectAll = 0;
    int refresh = 0;
    bool event(QEvent* event) override {
        if (const TShellLinkEvent* notice = TShellLinkEvent::From(event)) {
            if (notice->Message() == TShellLinkMessage::SLM_FOLDERCHANGED && notice->Folder())
                folders.append(notice->Folder()->Bytes());
            else if (notice->Message() == TShellLinkMessage::SLM_SELECTALL)
                ++selectAll;
            else if (notice->Message() == TShellLinkMessage::SLM_REFRESH)
                ++refresh;
            return true;
        }
        return QObject::event(event);
    }
    QString LastPath() const {
        if (folders.isEmpty())
            return QStringLiteral("<none>");
        const OptIDList id = IDList::FromBytes(folders.last());
        return id ? QFile::decodeName(PathFromIDList(*id)) : QStringLiteral("<bad>");
    }
};

struct Report {
    TVelShellOperations operation;
    QStringList files;
    QString destination;
};

QStringList ChildTexts(QTreeWidgetItem* node) {
    QStringList texts;
    for (int i = 0; node && i < node->childCount(); ++i)
        texts.append(node->child(i)->text(0));
    return texts;
}

} // namespace

class ShellTreeTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_home = std::make_unique<ShellTestHome>();
        m_root = m_home->MakeDir(QStringLiteral("root"));
        m_home->MakeDir(QStringLiteral("root/bravo/inner/deepest"));
        m_home->MakeDir(QStringLiteral("root/alpha"));
        m_home->MakeDir(QStringLiteral("root/Charlie10"));
        m_home->MakeDir(QStringLiteral("root/Charlie9"));
        m_home->MakeDir(QStringLiteral("root/.hidden"));
        m_home->MakeFile(QStringLiteral("root/file.txt"), "x");
    }
    void cleanup() {
        QGuiApplication::clipboard()->clear();
        m_home.reset();
    }

    void versionAndDefaults() {
        TVelShellTree tree;
        QCOMPARE(tree.Version(), QStringLiteral("TVelShellTree V2.3"));
        tree.SetVersion(QStringLiteral("other"));
        QCOMPARE(tree.Version(), QStringLiteral("TVelShellTree V2.3"));
        QCOMPARE(tree.topLevelItemCount(), 0); // empty until RootedAt is set
        QCOMPARE(tree.RootedAt(), SF_DESKTOP);
        QVERIFY(tree.ShowHidden());
        QVERIFY(tree.ShowNetHood());
        QVERIFY(!tree.ShowFiles());
        QVERIFY(!tree.OleDragDrop());
        QVERIFY(tree.ShellContextMenu());
        QCOMPARE(tree.Filter(), QStringLiteral("*"));
        QCOMPARE(tree.size(), QSize(150, 200));
    }

    void desktopRootIsExpandedWithItsFirstChildSelected() {
        TVelShellTree tree;
        tree.SetRootedAt(SF_DESKTOP);
        TVelShellTreeNode* root = tree.RootNode();
        QVERIFY(root);
        QCOMPARE(root->text(0), QStringLiteral("Desktop"));
        QVERIFY(root->isExpanded());
        const QStringList children = ChildTexts(root);
        QVERIFY(children.contains(QStringLiteral("Computer")));
        QVERIFY(children.contains(QStringLiteral("Network")));
        QCOMPARE(tree.Selected(), TVelShellTree::NodeOf(root->child(0)));
        QCOMPARE(tree.Selected()->text(0), QStringLiteral("Computer"));
        // Computer is not filled before it opens.
        QCOMPARE(tree.Selected()->childCount(), 0);
        QCOMPARE(tree.Selected()->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        // The empty text selects Computer.
        tree.SetSelectedFolder(m_root);
        tree.SetSelectedFolder(QString());
        QCOMPARE(tree.Selected()->text(0), QStringLiteral("Computer"));
        QCOMPARE(tree.SpecialFolder(), SF_DRIVES);
    }

    void selectedFolderWalksDownFromTheDesktop() {
        TVelShellTree tree;
        tree.SetRootedAt(SF_DESKTOP);
        const QString target = m_root + QStringLiteral("/bravo/inner");
        tree.SetSelectedFolder(target);
        QCOMPARE(tree.SelectedFolder(), target + u'/');
        QCOMPARE(tree.NodePath(tree.Selected()), target);
        QCOMPARE(tree.Selected()->text(0), QStringLiteral("inner"));
        // The way down went through Computer and the root volume.
        QTreeWidgetItem* step = tree.Selected();
        QStringList chain;
        while (step) {
            chain.prepend(step->text(0));
            QVERIFY(step == tree.Selected() || step->isExpanded());
            step = step->parent();
        }
        QCOMPARE(chain.mid(0, 2), (QStringList{QStringLiteral("Desktop"), QStringLiteral("Computer")}));
        // Nodes off the way stay unfilled; "inner" itself is not opened.
        QCOMPARE(tree.Selected()->childCount(), 0);
        QCOMPARE(tree.SpecialFolder(), SF_FILESYSTEMFOLDER);

        // A path that cannot be reached is an error naming it, and the selection stays.
        try {
            tree.SetSelectedFolder(m_root + QStringLiteral("/nowhere"));
            QFAIL("no error");
        } catch (const EPathwrightError& e) {
            QCOMPARE(e.Message(),
                     QStringLiteral("Cannot Find Folder: ") + m_root + QStringLiteral("/nowhere"));
        }
        QCOMPARE(tree.SelectedFolder(), target + u'/');
    }

    void directoryRootFillsLazilyAndSortsLikeTheNamespace() {
        TVelShellTree tree;
        tree.SetRootedAtFileSystemFolder(m_root);
        QCOMPARE(tree.RootedAt(), SF_FILESYSTEMFOLDER);
        TVelShellTreeNode* root = tree.RootNode();
        QCOMPARE(root->text(0), QStringLiteral("root"));
        // Folders only, hidden ones too, in natural order; the first child selected.
        QCOMPARE(ChildTexts(root),
                 (QStringList{QStringLiteral(".hidden"), QStringLiteral("alpha"), QStringLiteral("bravo"),
                              QStringLiteral("Charlie9"), QStringLiteral("Charlie10")}));
        QCOMPARE(tree.Selected()->text(0), QStringLiteral(".hidden"));
        QVERIFY(tree.Selected()->dimmed); // hidden ones are drawn dimmed
        TVelShellTreeNode* bravo = TVelShellTree::ChildByText(root, QStringLiteral("bravo"));
        TVelShellTreeNode* alpha = TVelShellTree::ChildByText(root, QStringLiteral("alpha"));
        QCOMPARE(bravo->childCount(), 0);
        QCOMPARE(bravo->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        QCOMPARE(alpha->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
        // Opening fills, once.
        bravo->setExpanded(true);
        QCOMPARE(ChildTexts(bravo), QStringList{QStringLiteral("inner")});
        bravo->setExpanded(false);
        bravo->setExpanded(true);
        QCOMPARE(bravo->childCount(), 1);

        // The relative part of a path below a directory root is walked from the root.
        tree.SetSelectedFolder(m_root + QStringLiteral("/bravo/inner/deepest/"));
        QCOMPARE(tree.Selected()->text(0), QStringLiteral("deepest"));
        QCOMPARE(tree.SelectedFolder(), m_root + QStringLiteral("/bravo/inner/deepest/"));

        // Hidden folders can be left out; the selection survives the rebuild.
        tree.SetShowHidden(false);
        QVERIFY(!ChildTexts(tree.RootNode()).contains(QStringLiteral(".hidden")));
        QCOMPARE(tree.SelectedFolder(), m_root + QStringLiteral("/bravo/inner/deepest/"));

        // A special folder as root forgets the directory.
        tree.SetRootedAt(SF_DESKTOP);
        QCOMPARE(tree.RootedAtFileSystemFolder(), QString());
        // A text that is no directory is only stored.
        tree.SetRootedAtFileSystemFolder(m_root + QStringLiteral("/file.txt"));
        QCOMPARE(tree.RootedAt(), SF_DESKTOP);
        QCOMPARE(tree.RootedAtFileSystemFolder(), m_root + QStringLiteral("/file.txt"));
    }

    void computerRootSelectsItsSecondChild() {
        TVelShellTree tree;
        tree.SetRootedAt(SF_DRIVES);
        QCOMPARE(tree.RootNode()->text(0), QStringLiteral("Computer"));
        if (tree.RootNode()->childCount() < 2)
            QSKIP("this machine shows one volume only");
        QCOMPARE(tree.Selected(), TVelShellTree::NodeOf(tree.RootNode()->child(1)));
    }

    void emptyDirectoryRootIsComputer() {
        TVelShellTree tree;
        tree.SetRootedAt(SF_FILESYSTEMFOLDER);
        QCOMPARE(tree.RootNode()->text(0), QStringLiteral("Computer"));
    }

    void networkCanBeLeftOut() {
        TVelShellTree tree;
        tree.SetRootedAt(SF_DESKTOP);
        tree.SetSelectedFolder(m_root + QStringLiteral("/alpha"));
        QVERIFY(ChildTexts(tree.RootNode()).contains(QStringLiteral("Network")));
        tree.SetShowNetHood(false);
        QVERIFY(!ChildTexts(tree.RootNode()).contains(QStringLiteral("Network")));
        QCOMPARE(tree.SelectedFolder(), m_root + QStringLiteral("/alpha/"));
    }

    void showFilesMakesLeavesAndButtonsOnEveryFolder() {
        TVelShellTree tree;
        tree.SetRootedAtFileSystemFolder(m_root);
        tree.SetShowFiles(true);
        TVelShellTreeNode* root = tree.RootNode();
        QVERIFY(ChildTexts(root).contains(QStringLiteral("file.txt")));
        TVelShellTreeNode* file = TVelShellTree::ChildByText(root, QStringLiteral("file.txt"));
        TVelShellTreeNode* alpha = TVelShellTree::ChildByText(root, QStringLiteral("alpha"));
        QCOMPARE(file->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
        QCOMPARE(alpha->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator); // empty, still a folder
        // The filter passes folders and names that match.
        tree.SetFilter(QStringLiteral("*.pas"));
        QVERIFY(!ChildTexts(tree.RootNode()).contains(QStringLiteral("file.txt")));
        QVERIFY(ChildTexts(tree.RootNode()).contains(QStringLiteral("alpha")));
    }

    void refreshFollowsChangesMadeOutside() {
        TVelShellTree tree;
        tree.SetRootedAtFileSystemFolder(m_root);
        TVelShellTreeNode* bravo = TVelShellTree::ChildByText(tree.RootNode(), QStringLiteral("bravo"));
        tree.ExpandNode(bravo);
        QVERIFY(QDir(m_root).mkdir(QStringLiteral("delta")));
        QVERIFY(QDir(m_root + QStringLiteral("/bravo")).mkdir(QStringLiteral("again")));
        QVERIFY(QDir(m_root + QStringLiteral("/alpha")).removeRecursively());
        tree.RefreshAll();
        const QStringList children = ChildTexts(tree.RootNode());
        // Sorted again after the addition; the opened node was refreshed too.
        QCOMPARE(children,
                 (QStringList{QStringLiteral(".hidden"), QStringLiteral("bravo"), QStringLiteral("Charlie9"),
                              QStringLiteral("Charlie10"), QStringLiteral("delta")}));
        QCOMPARE(ChildTexts(bravo), (QStringList{QStringLiteral("again"), QStringLiteral("inner")}));

        // RefreshSelection acts on the selected node only.
        tree.Select(bravo);
        QVERIFY(QDir(m_root + QStringLiteral("/bravo/again")).removeRecursively());
        QVERIFY(QDir(m_root).mkdir(QStringLiteral("echo")));
        tree.RefreshSelection();
        QCOMPARE(ChildTexts(bravo), QStringList{QStringLiteral("inner")});
        QVERIFY(!ChildTexts(tree.RootNode()).contains(QStringLiteral("echo")));

        // SLM_CONTENTSCHANGED refreshes the selection, SLM_REFRESH everything.
        TVelShellLink link;
        tree.SetShellLink(&link);
        link.RefreshLinked(nullptr);
        QVERIFY(ChildTexts(tree.RootNode()).contains(QStringLiteral("echo")));
    }

    void linkNoticesWaitForTheUserToPause() {
        TVelShellLink link;
        LinkListener listener;
        TVelShellTree tree;
        tree.SetRootedAtFileSystemFolder(m_root);
        link.AddControl(&listener);
        tree.SetShellLink(&link);
        tree.NotifyDelays().click = 30;
        tree.NotifyDelays().key = 200;
        tree.resize(300, 400);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));

        // A click: told after the click delay, not at once.
        TVelShellTreeNode* bravo = TVelShellTree::ChildByText(tree.RootNode(), QStringLiteral("bravo"));
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(bravo).center());
        QCOMPARE(tree.Selected(), bravo);
        QVERIFY(listener.folders.isEmpty());
        QCOMPARE(tree.NotifyTimer()->interval(), 30);
        QTRY_COMPARE(listener.LastPath(), m_root + QStringLiteral("/bravo"));
        QCOMPARE(listener.folders.size(), 1);

        // Keys: the longer delay; several keys in a row make one notice.
        QTest::keyClick(tree.viewport(), Qt::Key_Down);
        QTest::keyClick(tree.viewport(), Qt::Key_Down);
        QCOMPARE(tree.NotifyTimer()->interval(), 200);
        QCOMPARE(listener.folders.size(), 1);
        QTRY_COMPARE(listener.folders.size(), 2);
        QCOMPARE(listener.LastPath(), tree.NodePath(tree.Selected()));
        QTest::qWait(250);
        QCOMPARE(listener.folders.size(), 2);

        // SelectIDList tells at once.
        tree.SetSelectedFolder(m_root + QStringLiteral("/alpha"));
        QCOMPARE(listener.folders.size(), 3);
        QCOMPARE(listener.LastPath(), m_root + QStringLiteral("/alpha"));
        QTest::qWait(60);
        QCOMPARE(listener.folders.size(), 3); // and only once

        // The parent button's step waits for the click delay.
        tree.SelectParent();
        QCOMPARE(tree.Selected(), tree.RootNode());
        QCOMPARE(listener.folders.size(), 3);
        QTRY_COMPARE(listener.LastPath(), m_root);

        // A notice from the link selects the node without answering.
        const OptIDList inner = IDListFromName(nullptr, m_root + QStringLiteral("/bravo/inner"));
        link.FolderChanged(&listener, *inner);
        QCOMPARE(tree.SelectedFolder(), m_root + QStringLiteral("/bravo/inner/"));
        QTest::qWait(60);
        QCOMPARE(listener.folders.size(), 4);

        // Ctrl+A selects all in the linked controls.
        QTest::keyClick(tree.viewport(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(listener.selectAll, 1);
        // F5 refreshes and tells the others to refresh.
        QTest::keyClick(tree.viewport(), Qt::Key_F5);
        QCOMPARE(listener.refresh, 1);
    }

    void renameRenamesTheFolderAndReportsIt() {
        TVelShellLink link;
        LinkListener listener;
        link.AddControl(&listener);
        TVelShellTree tree;
        tree.SetRootedAtFileSystemFolder(m_root);
        tree.SetShellLink(&link);
        QList<Report> reports;
        tree.OnOperation = [&reports](QObject*, TVelShellOperations operation, const QStringList& files,
                                      const QString& destination) {
            reports.append({operation, files, destination});
        };
        TVelShellTreeNode* bravo = TVelShellTree::ChildByText(tree.RootNode(), QStringLiteral("bravo"));
        tree.ExpandNode(bravo);
        QVERIFY(tree.CanEditNode(bravo));
        QVERIFY(tree.NodeEdited(bravo, QStringLiteral("bravissimo")));
        QVERIFY(QFileInfo(m_root + QStringLiteral("/bravissimo")).isDir());
        QVERIFY(!QFileInfo::exists(m_root + QStringLiteral("/bravo")));
        QCOMPARE(bravo->text(0), QStringLiteral("bravissimo"));
        QCOMPARE(tree.NodePath(bravo), m_root + QStringLiteral("/bravissimo"));
        QCOMPARE(reports.size(), 1);
        QCOMPARE(int(reports[0].operation), 0x200);
        QCOMPARE(reports[0].files, QStringList{m_root + QStringLiteral("/bravo")});
        QCOMPARE(reports[0].destination, QStringLiteral("bravissimo"));
        QCOMPARE(listener.LastPath(), m_root + QStringLiteral("/bravissimo"));
        // Its children live on under the new name.
        QCOMPARE(tree.NodePath(TVelShellTree::NodeOf(bravo->child(0))),
                 m_root + QStringLiteral("/bravissimo/inner"));

        // In-place editing through F2 goes the same way.
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        tree.Select(bravo);
        QTest::keyClick(tree.viewport(), Qt::Key_F2);
        auto* editor = tree.findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("b2"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(QFileInfo(m_root + QStringLiteral("/b2")).isDir());
        QCOMPARE(bravo->text(0), QStringLiteral("b2"));

        // A new name takes its sorted place among the siblings; the node stays selected and open.
        const auto childTexts = [&tree] {
            QStringList texts;
            for (int i = 0; i < tree.RootNode()->childCount(); ++i)
                texts.append(tree.RootNode()->child(i)->text(0));
            return texts;
        };
        QCOMPARE(childTexts().indexOf(QStringLiteral("b2")),
                 childTexts().indexOf(QStringLiteral("alpha")) + 1);
        tree.ExpandNode(bravo);
        QVERIFY(bravo->isExpanded());
        QTest::keyClick(tree.viewport(), Qt::Key_F2);
        editor = tree.findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("zulu"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(childTexts().last(), QStringLiteral("zulu"));
        QCOMPARE(tree.Selected(), bravo);
        QVERIFY(bravo->isSelected());
        QVERIFY(bravo->isExpanded());
        QCOMPARE(listener.LastPath(), m_root + QStringLiteral("/zulu"));
        QVERIFY(tree.NodeEdited(bravo, QStringLiteral("Charlie95")));
        QCOMPARE(childTexts().mid(childTexts().indexOf(QStringLiteral("Charlie9")), 3),
                 (QStringList{QStringLiteral("Charlie9"), QStringLiteral("Charlie10"),
                              QStringLiteral("Charlie95")}));
        QCOMPARE(tree.Selected(), bravo);

        // Read-only trees do not edit.
        tree.SetReadOnly(true);
        QVERIFY(!tree.CanEditNode(bravo));
    }

    void deleteRemovesTheNodeAndTellsAtOnce() {
        TVelShellLink link;
        LinkListener listener;
        link.AddControl(&listener);
        TVelShellTree tree;
        tree.SetRootedAtFileSystemFolder(m_root);
        tree.SetShellLink(&link);
        tree.NotifyDelays().click = 5000;
        tree.Browser()->Hooks().Confirm = [](QWidget*, const QString&, const QString&) { return true; };
        QList<Report> reports;
        tree.OnOperation = [&reports](QObject*, TVelShellOperations operation, const QStringList& files,
                                      const QString& destination) {
            reports.append({operation, files, destination});
        };
        TVelShellTreeNode* alpha = TVelShellTree::ChildByText(tree.RootNode(), QStringLiteral("alpha"));
        tree.Select(alpha);
        listener.folders.clear();
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        QTest::keyClick(tree.viewport(), Qt::Key_Delete);
        QVERIFY(!QFileInfo::exists(m_root + QStringLiteral("/alpha")));
        QVERIFY(!ChildTexts(tree.RootNode()).contains(QStringLiteral("alpha")));
        QCOMPARE(reports.size(), 1);
        QCOMPARE(int(reports[0].operation), 0x0C0);
        QCOMPARE(reports[0].files, QStringList{m_root + QStringLiteral("/alpha/")});
        QCOMPARE(reports[0].destination, QString());
        // The new selection was told at once, not after a delay.
        QCOMPARE(listener.folders.size(), 1);
        QCOMPARE(listener.LastPath(), tree.NodePath(tree.Selected()));

        // A declined delete changes nothing and reports nothing.
        tree.Browser()->Hooks().Confirm = [](QWidget*, const QString&, const QString&) { return false; };
        TVelShellTreeNode* bravo = TVelShellTree::ChildByText(tree.RootNode(), QStringLiteral("bravo"));
        tree.Select(bravo);
        QVERIFY(!tree.ExecuteCommand(QStringLiteral("delete")));
        QVERIFY(ChildTexts(tree.RootNode()).contains(QStringLiteral("bravo")));
        QCOMPARE(reports.size(), 1);
    }

    void copyAndPasteThroughTheClipboard() {
        TVelShellTree tree;
        tree.SetRootedAtFileSystemFolder(m_root);
        TVelShellTreeNode* alpha = TVelShellTree::ChildByText(tree.RootNode(), QStringLiteral("alpha"));
        TVelShellTreeNode* bravo = TVelShellTree::ChildByText(tree.RootNode(), QStringLiteral("bravo"));
        QList<Report> reports;
        tree.OnOperation = [&reports](QObject*, TVelShellOperations operation, const QStringList& files,
                                      const QString& destination) {
            reports.append({operation, files, destination});
        };
        tree.Select(alpha);
        QVERIFY(tree.ExecuteCommand(QStringLiteral("copy")));
        tree.Select(bravo);
        tree.ExpandNode(bravo);
        QVERIFY(tree.ExecuteCommand(QStringLiteral("paste")));
        QVERIFY(QFileInfo(m_root + QStringLiteral("/bravo/alpha")).isDir());
        QVERIFY(ChildTexts(bravo).contains(QStringLiteral("alpha")));
        QCOMPARE(reports.size(), 1);
        QCOMPARE(int(reports[0].operation), 0x120);
        QCOMPARE(reports[0].files, QStringList{m_root + QStringLiteral("/alpha")});
        QCOMPARE(reports[0].destination, m_root + QStringLiteral("/bravo/"));
        // Cut marks the node; once pasted elsewhere, refreshing the selection drops it from its old place.
        tree.Select(alpha);
        QVERIFY(tree.ExecuteCommand(QStringLiteral("cut")));
        QVERIFY(alpha->cut);
        QVERIFY(alpha->dimmed);
        TVelShellTreeNode* charlie = TVelShellTree::ChildByText(tree.RootNode(), QStringLiteral("Charlie9"));
        tree.Select(charlie);
        tree.ExpandNode(charlie);
        QVERIFY(tree.ExecuteCommand(QStringLiteral("paste")));
        QVERIFY(QFileInfo(m_root + QStringLiteral("/Charlie9/alpha")).isDir());
        QVERIFY(!QFileInfo::exists(m_root + QStringLiteral("/alpha")));
        QVERIFY(!ChildTexts(tree.RootNode()).contains(QStringLiteral("alpha")));
        QVERIFY(ChildTexts(charlie).contains(QStringLiteral("alpha")));
    }

    void aDragRestingOnANodeOpensItAfterTwoSeconds() {
        TVelShellTree tree;
        qint64 now = 1000;
        tree.ControlHooks().TickCount = [&now] { return now; };
        tree.SetRootedAtFileSystemFolder(m_root);
        tree.SetOleDragDrop(true);
        tree.resize(300, 400);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        TVelShellTreeNode* bravo = TVelShellTree::ChildByText(tree.RootNode(), QStringLiteral("bravo"));
        const QString file = m_home->MakeFile(QStringLiteral("outside.txt"), "o");
        std::unique_ptr<QMimeData> data(MakeFileListMimeData({QUrl::fromLocalFile(file)}, false));
        const QPoint point = tree.visualItemRect(bravo).center();
        QDragEnterEvent enter(point, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(tree.viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(point, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(tree.viewport(), &move);
        QCOMPARE(tree.HoverNode(), bravo);
        QVERIFY(bravo->dropHighlighted);
        QVERIFY(move.isAccepted());
        QVERIFY(!bravo->isExpanded());
        now += 1500;
        QDragMoveEvent again(point, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                             Qt::NoModifier);
        QCoreApplication::sendEvent(tree.viewport(), &again);
        QVERIFY(!bravo->isExpanded());
        now += 600;
        QDragMoveEvent late(point, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(tree.viewport(), &late);
        QVERIFY(bravo->isExpanded());

        // Dropping copies into the node's folder (Ctrl) and reports it.
        QList<Report> reports;
        tree.OnOperation = [&reports](QObject*, TVelShellOperations operation, const QStringList& files,
                                      const QString& destination) {
            reports.append({operation, files, destination});
        };
        QDragMoveEvent copy(point, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                            Qt::ControlModifier);
        QCoreApplication::sendEvent(tree.viewport(), &copy);
        QCOMPARE(copy.dropAction(), Qt::CopyAction);
        QDropEvent drop(QPointF(point), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::NoButton,
                        Qt::ControlModifier);
        QCoreApplication::sendEvent(tree.viewport(), &drop);
        QVERIFY(QFileInfo::exists(m_root + QStringLiteral("/bravo/outside.txt")));
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(reports.size(), 1);
        QCOMPARE(int(reports[0].operation), 0x009);
        QCOMPARE(reports[0].destination, m_root + QStringLiteral("/bravo"));
        QVERIFY(!tree.HoverNode());
        QVERIFY(!bravo->dropHighlighted);
    }

    void theRootIsNeverDragged() {
        TVelShellTree tree;
        tree.SetRootedAtFileSystemFolder(m_root);
        int drags = 0;
        tree.ControlHooks().ExecDrag = [&drags](QDrag&, Qt::DropActions, Qt::DropAction) {
            ++drags;
            return Qt::CopyAction;
        };
        QCOMPARE(tree.StartDrag(tree.RootNode(), MK_LBUTTON), Qt::IgnoreAction);
        QCOMPARE(drags, 0);
        QList<Report> reports;
        tree.OnOperation = [&reports](QObject*, TVelShellOperations operation, const QStringList& files,
                                      const QString& destination) {
            reports.append({operation, files, destination});
        };
        TVelShellTreeNode* alpha = TVelShellTree::ChildByText(tree.RootNode(), QStringLiteral("alpha"));
        QCOMPARE(tree.StartDrag(alpha, MK_LBUTTON), Qt::CopyAction);
        QCOMPARE(drags, 1);
        QCOMPARE(tree.DragButton(), 0);
        QCOMPARE(reports.size(), 1);
        QCOMPARE(int(reports[0].operation), 0x005);
        QCOMPARE(reports[0].files, QStringList{m_root + QStringLiteral("/alpha")});
    }

private:
    std::unique_ptr<ShellTestHome> m_home;
    QString m_root;
};

QTEST_MAIN(ShellTreeTest)
#include "shell_tree_test.moc"
