// TVelShellList's commands on real temporary folders and their reports (delete, cut, paste, rename), drag
// and drop between two lists and onto folder items, the right-button drop menu and the context menus.
#include "shell/controls/shell_list.h"

#include "shell/core/file_clipboard.h"
#include "shell/core/shell_link.h"
#include "shell/forms/form_reader.h"
#include "shell_controls/shell_list_support.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <unistd.h>

using namespace wordloom::shell;
using namespace shell_list_support;

class ShellListCommandsTest : public QObject, ShellListFixture {
    Q_OBJECT
private slots:
    void initTestCase() { PrepareTestCase(); }
    void init() {
        MakeWorkFolder();
        m_reports.clear();
    }
    void cleanup() { RemoveWorkFolder(); }

    void deleteThreeReportsOnce() {
        TVelShellList list;
        list.Browser()->Hooks().Confirm = [](QWidget*, const QString&, const QString&) { return true; };
        list.SetPath(m_dir);
        list.OnOperation = [&](QObject* sender, TVelShellOperations operation, const QStringList& files,
                               const QString& destination) {
            QCOMPARE(sender, &list);
            m_reports.append({operation, files, destination, list.ItemCount()});
            QVERIFY(!Captions(list).contains(QStringLiteral("alpha.txt")));
        };
        for (const char* name : {"alpha.txt", "beta.pas", "gamma9.txt"})
            list.SetSelected(IndexOfCaption(list, QString::fromLatin1(name)), true);
        list.show();
        list.View()->setFocus();
        QTest::keyClick(list.View(), Qt::Key_Delete);
        QCOMPARE(m_reports.size(), 1);
        QCOMPARE(int(m_reports[0].operation), 0x0C0);
        QCOMPARE(m_reports[0].files,
                 (QStringList{m_dir + QStringLiteral("alpha.txt"), m_dir + QStringLiteral("beta.pas"),
                              m_dir + QStringLiteral("gamma9.txt")}));
        QCOMPARE(m_reports[0].destination, QString());
        QCOMPARE(m_reports[0].itemsAtReport, 2); // gone before the handler ran
        QCOMPARE(Captions(list), (QStringList{QStringLiteral("folder"), QStringLiteral("gamma10.txt")}));
        QVERIFY(!QFile::exists(m_dir + QStringLiteral("alpha.txt")));
        QVERIFY(QFile::exists(m_home->TrashFiles() + QStringLiteral("/alpha.txt")));
    }

    void declinedDeleteReportsNothing() {
        TVelShellList list;
        list.Browser()->Hooks().Confirm = [](QWidget*, const QString&, const QString&) { return false; };
        list.SetPath(m_dir);
        RecordReports(list, m_reports);
        list.SetSelected(IndexOfCaption(list, QStringLiteral("alpha.txt")), true);
        list.SetSelected(IndexOfCaption(list, QStringLiteral("beta.pas")), true);
        QVERIFY(!list.ExecuteCommand(QStringLiteral("delete")));
        QVERIFY(m_reports.isEmpty());
        QCOMPARE(list.ItemCount(), 5);
        QVERIFY(QFile::exists(m_dir + QStringLiteral("alpha.txt")));
        // Read-only: the key does nothing.
        list.Browser()->Hooks().Confirm = [](QWidget*, const QString&, const QString&) { return true; };
        list.SetReadOnly(true);
        list.show();
        QTest::keyClick(list.View(), Qt::Key_Delete);
        QVERIFY(m_reports.isEmpty());
        QVERIFY(QFile::exists(m_dir + QStringLiteral("alpha.txt")));
    }

    void cutMarksAndReportsWhenGone() {
        TVelShellList list;
        list.SetPath(m_dir);
        RecordReports(list, m_reports);
        const int alpha = IndexOfCaption(list, QStringLiteral("alpha.txt"));
        list.SetSelected(alpha, true);
        list.show();
        QTest::keyClick(list.View(), Qt::Key_X, Qt::ControlModifier);
        QVERIFY(list.ItemCut(alpha));
        QVERIFY(list.ItemDimmed(alpha));
        bool cut = false;
        const OptFileList onClipboard = ClipboardFiles(&cut);
        QVERIFY(onClipboard && cut);
        QCOMPARE(*onClipboard, QStringList{m_dir + QStringLiteral("alpha.txt")});
        // Pasted elsewhere: the next re-read reports the cut item gone.
        QVERIFY(
            QFile::rename(m_dir + QStringLiteral("alpha.txt"), m_dir + QStringLiteral("folder/alpha.txt")));
        list.Resync();
        QCOMPARE(m_reports.size(), 1);
        QCOMPARE(int(m_reports[0].operation), 0x090);
        QCOMPARE(m_reports[0].files, QStringList{m_dir + QStringLiteral("alpha.txt")});
        QVERIFY(!Captions(list).contains(QStringLiteral("alpha.txt")));
        // A file that goes without having been cut is not reported.
        QFile::remove(m_dir + QStringLiteral("beta.pas"));
        list.Resync();
        QCOMPARE(m_reports.size(), 1);
        QVERIFY(!Captions(list).contains(QStringLiteral("beta.pas")));
    }

    void renameReports0x200() {
        TVelShellList list;
        list.SetPath(m_dir);
        RecordReports(list, m_reports);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const int beta = IndexOfCaption(list, QStringLiteral("beta.pas"));
        list.SetSelected(beta, true);
        list.View()->setFocus();
        QTest::keyClick(list.View(), Qt::Key_F2);
        auto* editor =
            qobject_cast<QLineEdit*>(list.View()->indexWidget(list.View()->model()->index(beta, 0)));
        QVERIFY(editor);
        editor->setText(QStringLiteral("renamed.pas"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(m_reports.size(), 1); // the editor commits on the next turn of the event loop
        QCOMPARE(int(m_reports[0].operation), 0x200);
        QCOMPARE(m_reports[0].files, QStringList{m_dir + QStringLiteral("beta.pas")});
        QCOMPARE(m_reports[0].destination, QStringLiteral("renamed.pas"));
        // The renamed item moves to its sorted place, still selected, the editor gone.
        QCOMPARE(Captions(list), (QStringList{QStringLiteral("folder"), QStringLiteral("alpha.txt"),
                                              QStringLiteral("gamma9.txt"), QStringLiteral("gamma10.txt"),
                                              QStringLiteral("renamed.pas")}));
        const int renamed = 4;
        QCOMPARE(list.SelectedItems(), std::vector<int>{renamed});
        QTRY_VERIFY(!list.View()->indexWidget(list.View()->model()->index(renamed, 0)));
        QVERIFY(QFile::exists(m_dir + QStringLiteral("renamed.pas")));
        QCOMPARE(list.IndexOfIDList(IDList::Item(ItemKind::File, "renamed.pas")), renamed);
        // A name the file system refuses (taken): the caption stays and the rename is still reported.
        QVERIFY(!list.ItemEdited(renamed, QStringLiteral("renamed.pas")));
        QVERIFY(list.ItemEdited(renamed, QStringLiteral("alpha.txt")));
        QCOMPARE(m_reports.size(), 2);
        QCOMPARE(m_reports[1].destination, QStringLiteral("renamed.pas"));
        QCOMPARE(list.ItemCaption(renamed), QStringLiteral("renamed.pas"));
        QCOMPARE(QFile(m_dir + QStringLiteral("alpha.txt")).size(), 3000);
        // Read-only lists edit nothing.
        list.SetReadOnly(true);
        QVERIFY(!list.EditSelectedCaption());
    }

    void pasteFromClipboardFileList() {
        const QString outside = m_home->MakeFile(QStringLiteral("outside/pasted.txt"), "p");
        TVelShellList list;
        list.RefreshTimer()->setInterval(20);
        list.SetPath(m_dir);
        RecordReports(list, m_reports);
        list.show();
        // An empty clipboard: nothing is pasted and nothing reported.
        QTest::keyClick(list.View(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(m_reports.isEmpty());
        QGuiApplication::clipboard()->setMimeData(
            MakeFileListMimeData({QUrl::fromLocalFile(outside)}, false));
        QTest::keyClick(list.View(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_reports.size(), 1);
        QCOMPARE(int(m_reports[0].operation), 0x120);
        QCOMPARE(m_reports[0].files, QStringList{outside});
        QCOMPARE(m_reports[0].destination, m_dir);
        QVERIFY(QFile::exists(m_dir + QStringLiteral("pasted.txt")));
        QVERIFY(QFile::exists(outside)); // copied, not moved
        QTRY_VERIFY_WITH_TIMEOUT(Captions(list).contains(QStringLiteral("pasted.txt")), 3000);
        QCOMPARE(list.Path(), m_dir);
    }

    void dragAndDropBetweenTwoLists() {
        const QString other = m_home->MakeDir(QStringLiteral("other")) + u'/';
        TVelShellList source;
        TVelShellList target;
        source.SetOleDragDrop(true);
        target.SetOleDragDrop(true);
        source.SetPath(m_dir);
        target.SetPath(other);
        source.show();
        target.show();
        QVERIFY(QTest::qWaitForWindowExposed(&target));
        QList<Report> sourceReports;
        RecordReports(source, sourceReports);
        RecordReports(target, m_reports);
        Qt::KeyboardModifiers modifiers = Qt::ControlModifier;
        int buttonDuringDrag = 0;
        source.ControlHooks().ExecDrag = [&](QDrag& drag, Qt::DropActions allowed, Qt::DropAction) {
            buttonDuringDrag = source.DragButton();
            return DropOnto(target, drag.mimeData(), allowed,
                            QPoint(5, target.View()->viewport()->height() - 5), Qt::LeftButton, modifiers);
        };
        source.SetSelected(IndexOfCaption(source, QStringLiteral("alpha.txt")), true);
        source.SetSelected(IndexOfCaption(source, QStringLiteral("beta.pas")), true);
        // Ctrl: a copy.
        QCOMPARE(source.StartDrag(MK_LBUTTON), Qt::CopyAction);
        QCOMPARE(buttonDuringDrag, MK_LBUTTON);
        QCOMPARE(source.DragButton(), 0);
        const QStringList dragged{m_dir + QStringLiteral("alpha.txt"), m_dir + QStringLiteral("beta.pas")};
        QCOMPARE(sourceReports.size(), 1);
        QCOMPARE(int(sourceReports[0].operation), 0x005);
        QCOMPARE(sourceReports[0].files, dragged);
        QCOMPARE(sourceReports[0].destination, QString());
        QCOMPARE(m_reports.size(), 1);
        QCOMPARE(int(m_reports[0].operation), 0x009);
        QCOMPARE(m_reports[0].files, dragged);
        QCOMPARE(m_reports[0].destination, other);
        QVERIFY(QFile::exists(other + QStringLiteral("alpha.txt")) &&
                QFile::exists(m_dir + QStringLiteral("alpha.txt")));
        // No key on one volume: a move.
        source.SetSelected(IndexOfCaption(source, QStringLiteral("alpha.txt")), false);
        modifiers = Qt::NoModifier;
        QCOMPARE(source.StartDrag(MK_LBUTTON), Qt::MoveAction);
        QCOMPARE(int(sourceReports[1].operation), 0x086);
        QCOMPARE(int(m_reports[1].operation), 0x00A);
        QCOMPARE(m_reports[1].files, QStringList{m_dir + QStringLiteral("beta.pas")});
        QVERIFY(!QFile::exists(m_dir + QStringLiteral("beta.pas")));
        QVERIFY(QFile::exists(other + QStringLiteral("beta.pas")));
        // Alt: a link.
        source.SetSelected(IndexOfCaption(source, QStringLiteral("beta.pas")), false);
        source.SetSelected(IndexOfCaption(source, QStringLiteral("gamma9.txt")), true);
        modifiers = Qt::AltModifier;
        QCOMPARE(source.StartDrag(MK_LBUTTON), Qt::LinkAction);
        QCOMPARE(int(sourceReports[2].operation), 0x004);
        QCOMPARE(int(m_reports[2].operation), 0x008);
        QVERIFY(QFileInfo(other + QStringLiteral("gamma9.txt")).isSymLink());
    }

    void dropOntoFolderItemHighlightsIt() {
        TVelShellList list;
        list.SetOleDragDrop(true);
        list.SetPath(m_dir);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        RecordReports(list, m_reports);
        const QString outside = m_home->MakeFile(QStringLiteral("outside/one.txt"), "1");
        const QString outside2 = m_home->MakeFile(QStringLiteral("outside/two.txt"), "2");
        std::unique_ptr<QMimeData> data(
            MakeFileListMimeData({QUrl::fromLocalFile(outside), QUrl::fromLocalFile(outside2)}, false));
        const int folder = IndexOfCaption(list, QStringLiteral("folder"));
        const int file = IndexOfCaption(list, QStringLiteral("alpha.txt"));
        QWidget* viewport = list.View()->viewport();
        QDragEnterEvent enter(ItemCenter(list, file), Qt::CopyAction | Qt::MoveAction, data.get(),
                              Qt::LeftButton, Qt::ControlModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QDragMoveEvent overFolder(ItemCenter(list, folder), Qt::CopyAction | Qt::MoveAction, data.get(),
                                  Qt::LeftButton, Qt::ControlModifier);
        QCoreApplication::sendEvent(viewport, &overFolder);
        QVERIFY(overFolder.isAccepted());
        QVERIFY(list.ItemDropHighlighted(folder));
        // Away from it: the highlight goes; over a file the folder itself takes the drop.
        QDragMoveEvent overFile(ItemCenter(list, file), Qt::CopyAction | Qt::MoveAction, data.get(),
                                Qt::LeftButton, Qt::ControlModifier);
        QCoreApplication::sendEvent(viewport, &overFile);
        QVERIFY(!list.ItemDropHighlighted(folder));
        QVERIFY(overFile.isAccepted());
        QCOMPARE(DropOnto(list, data.get(), Qt::CopyAction | Qt::MoveAction, ItemCenter(list, folder),
                          Qt::LeftButton, Qt::ControlModifier),
                 Qt::CopyAction);
        QCOMPARE(m_reports.size(), 1);
        QCOMPARE(int(m_reports[0].operation), 0x009);
        QCOMPARE(m_reports[0].files, (QStringList{outside, outside2}));
        QCOMPARE(m_reports[0].destination, m_dir + QStringLiteral("folder"));
        QVERIFY(QFile::exists(m_dir + QStringLiteral("folder/one.txt")));
        QVERIFY(QFile::exists(m_dir + QStringLiteral("folder/two.txt")));
        QVERIFY(!list.ItemDropHighlighted(folder));
        // Read-only lists take nothing.
        list.SetReadOnly(true);
        QCOMPARE(DropOnto(list, data.get(), Qt::CopyAction, ItemCenter(list, folder), Qt::LeftButton),
                 Qt::IgnoreAction);
    }

    void dragNearTheEdgeScrollsEvery100ms() {
        for (int i = 0; i < 200; ++i)
            m_home->MakeFile(QStringLiteral("work/many/f%1.txt").arg(i), "x");
        TVelShellList list;
        list.SetOleDragDrop(true);
        list.resize(300, 200);
        list.SetPath(m_dir + QStringLiteral("many"));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        qint64 now = 1000;
        list.ControlHooks().TickCount = [&now] { return now; };
        auto* area = static_cast<QAbstractScrollArea*>(list.View());
        QScrollBar* bar = area->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        std::unique_ptr<QMimeData> data(
            MakeFileListMimeData({QUrl::fromLocalFile(m_dir + QStringLiteral("alpha.txt"))}, false));
        QWidget* viewport = list.View()->viewport();
        const QPoint nearBottom(100, viewport->height() - 5);
        QDragEnterEvent enter(nearBottom, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        const auto moveAt = [&](qint64 time) {
            now = time;
            QDragMoveEvent move(nearBottom, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &move);
        };
        moveAt(1050);
        QCOMPARE(bar->value(), 0);
        moveAt(1101);
        QCOMPARE(bar->value(), bar->singleStep());
        moveAt(1150);
        QCOMPARE(bar->value(), bar->singleStep());
        moveAt(1300);
        QCOMPARE(bar->value(), 2 * bar->singleStep());
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(viewport, &leave);
    }

    void ownFolderBackgroundAndRightButtonMenu() {
        TVelShellList list;
        list.SetOleDragDrop(true);
        list.SetPath(m_dir);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        RecordReports(list, m_reports);
        const QPoint background(5, list.View()->viewport()->height() - 5);
        QStringList menuTexts;
        QString choice = QStringLiteral("Cancel");
        list.ControlHooks().ExecMenu = [&](QMenu& menu, const QPoint&) -> QAction* {
            menuTexts.clear();
            for (QAction* action : menu.actions())
                if (!action->isSeparator())
                    menuTexts.append(action->text().remove(u'&'));
            QAction* chosen = ActionWithText(menu, choice);
            if (chosen)
                chosen->trigger();
            return chosen;
        };
        Qt::MouseButtons button = Qt::LeftButton;
        list.ControlHooks().ExecDrag = [&](QDrag& drag, Qt::DropActions allowed, Qt::DropAction) {
            return DropOnto(list, drag.mimeData(), allowed, background, button);
        };
        list.SetSelected(IndexOfCaption(list, QStringLiteral("alpha.txt")), true);
        // Left button onto the own folder's background: no drop.
        QCOMPARE(list.StartDrag(MK_LBUTTON), Qt::IgnoreAction);
        QVERIFY(m_reports.isEmpty());
        QVERIFY(menuTexts.isEmpty());
        // Right button: the drop menu; Cancel does nothing.
        button = Qt::RightButton;
        QCOMPARE(list.StartDrag(MK_RBUTTON), Qt::IgnoreAction);
        QCOMPARE(menuTexts, (QStringList{QStringLiteral("Copy Here"), QStringLiteral("Move Here"),
                                         QStringLiteral("Link Here"), QStringLiteral("Cancel")}));
        QVERIFY(m_reports.isEmpty());
        // Copy Here: a copy beside the original; reported by both ends (the same list).
        choice = QStringLiteral("Copy Here");
        QCOMPARE(list.StartDrag(MK_RBUTTON), Qt::CopyAction);
        QVERIFY(QFile::exists(m_dir + QStringLiteral("alpha (copy).txt")));
        QCOMPARE(m_reports.size(), 2);
        QCOMPARE(int(m_reports[0].operation), 0x009);
        QCOMPARE(int(m_reports[1].operation), 0x005);
    }

    void contextMenus() {
        TVelShellList list;
        list.Browser()->Hooks().Confirm = [](QWidget*, const QString&, const QString&) { return true; };
        list.SetPath(m_dir);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        RecordReports(list, m_reports);
        QMenu extra;
        bool extraRan = false;
        extra.addAction(QStringLiteral("Extra"), [&] { extraRan = true; });
        list.SetPopupMenu(&extra);
        QStringList verbs;
        QString pick;
        bool separatedExtra = false;
        list.Browser()->Hooks().ExecMenu = [&](QMenu& menu, const QPoint&) -> QAction* {
            verbs.clear();
            QAction* chosen = nullptr;
            const QList<QAction*> actions = menu.actions();
            separatedExtra = actions.size() >= 2 && actions[actions.size() - 2]->isSeparator();
            for (QAction* action : actions) {
                if (action->isSeparator())
                    continue;
                const QString verb = action->data().toString();
                verbs.append(verb.isEmpty() ? action->text() : verb);
                if ((verb.isEmpty() ? action->text() : verb) == pick && action->isEnabled())
                    chosen = action;
            }
            if (chosen)
                chosen->trigger();
            return chosen;
        };
        // A right click on an item: the shell menu with the list's own items after it.
        const int alpha = IndexOfCaption(list, QStringLiteral("alpha.txt"));
        pick = QStringLiteral("Extra");
        QTest::mouseClick(list.View()->viewport(), Qt::RightButton, {}, ItemCenter(list, alpha));
        QVERIFY(list.IsSelected(alpha));
        QVERIFY(verbs.contains(QStringLiteral("rename")));
        QCOMPARE(verbs.last(), QStringLiteral("Extra"));
        QVERIFY(separatedExtra); // as in the tree's menu
        QVERIFY(extraRan);
        QVERIFY(m_reports.isEmpty());
        // Cut through the menu marks the item.
        pick = QStringLiteral("cut");
        QTest::mouseClick(list.View()->viewport(), Qt::RightButton, {}, ItemCenter(list, alpha));
        QVERIFY(list.ItemCut(alpha));
        // Delete through the menu: reported and gone.
        pick = QStringLiteral("delete");
        QTest::mouseClick(list.View()->viewport(), Qt::RightButton, {}, ItemCenter(list, alpha));
        QCOMPARE(m_reports.size(), 1);
        QCOMPARE(int(m_reports[0].operation), 0x0C0);
        QCOMPARE(m_reports[0].files, QStringList{m_dir + QStringLiteral("alpha.txt")});
        QVERIFY(!Captions(list).contains(QStringLiteral("alpha.txt")));
        // Read-only: no rename, and delete does nothing.
        list.SetReadOnly(true);
        const int beta = IndexOfCaption(list, QStringLiteral("beta.pas"));
        QTest::mouseClick(list.View()->viewport(), Qt::RightButton, {}, ItemCenter(list, beta));
        QVERIFY(!verbs.contains(QStringLiteral("rename")));
        QCOMPARE(m_reports.size(), 1);
        QVERIFY(QFile::exists(m_dir + QStringLiteral("beta.pas")));
        // Shift+F10 opens it for the selection as well.
        verbs.clear();
        pick.clear();
        QTest::keyClick(list.View(), Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(verbs.contains(QStringLiteral("open")));
        // The background: the background menu, when there is one.
        QMenu background;
        background.addAction(QStringLiteral("Background item"));
        QStringList shown;
        list.ControlHooks().ExecMenu = [&](QMenu& menu, const QPoint&) -> QAction* {
            for (QAction* action : menu.actions())
                shown.append(action->text());
            return nullptr;
        };
        const QPoint empty(5, list.View()->viewport()->height() - 5);
        QTest::mouseClick(list.View()->viewport(), Qt::RightButton, {}, empty);
        QVERIFY(shown.isEmpty());
        QVERIFY(!list.ShowBackgroundMenu(QPoint()));
        list.SetBackgroundPopupMenu(&background);
        QTest::mouseClick(list.View()->viewport(), Qt::RightButton, {}, empty);
        QCOMPARE(shown, QStringList{QStringLiteral("Background item")});
    }

private:
    QList<Report> m_reports;
};

QTEST_MAIN(ShellListCommandsTest)
#include "shell_list_commands_test.moc"
