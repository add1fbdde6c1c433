// The parts the shell controls share: file lists from drag and clipboard data, first-item comparison,
// the drag-source rules, auto-scroll margins and pacing, the folder drop target and the link member.
#include "shell/controls/shell_control_common.h"

#include "shell/controls/drag_operations.h"
#include "shell/core/file_clipboard.h"
#include "shell/core/shell_link.h"
#include "shell_core/shell_test_home.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>

using namespace wordloom::shell;

namespace {

class LinkedWidget : public QWidget, public TVelShellControl {
public:
    LinkedWidget() : TVelShellControl(this) {}
    bool Setup() { return FirstWindowSetup(); }
};

} // namespace

class ShellControlCommonTest : public QObject {
    Q_OBJECT
private slots:
    void operationValues() {
        QCOMPARE(int(TVelShellOperations(TVelShellOperation::opDelete | TVelShellOperation::opRemoved)),
                 0x0C0);
        QCOMPARE(int(TVelShellOperations(TVelShellOperation::opPaste | TVelShellOperation::opClipboard)),
                 0x120);
        QCOMPARE(int(TVelShellOperations(TVelShellOperation::opCutDone | TVelShellOperation::opRemoved)),
                 0x090);
        QCOMPARE(int(TVelShellOperations(TVelShellOperation::opMove | TVelShellOperation::opDragSource |
                                         TVelShellOperation::opRemoved)),
                 0x086);
        QCOMPARE(int(TVelShellOperations(TVelShellOperation::opCopy | TVelShellOperation::opDropTarget)),
                 0x009);
        QCOMPARE(int(TVelShellOperations(TVelShellOperation::opRename)), 0x200);
    }

    void filesFromDataObjects() {
        QVERIFY(!FilesFromDataObject(nullptr));
        QMimeData empty;
        QVERIFY(!FilesFromDataObject(&empty));
        // Another file manager's cut: the marker and the files.
        QMimeData gnome;
        gnome.setData(QStringLiteral("x-special/gnome-copied-files"),
                      "cut\nfile:///tmp/a%20b\nfile:///tmp/c");
        bool cut = false;
        const OptFileList files = FilesFromDataObject(&gnome, &cut);
        QVERIFY(files);
        QCOMPARE(*files, (QStringList{QStringLiteral("/tmp/a b"), QStringLiteral("/tmp/c")}));
        QVERIFY(cut);
        // A plain uri list.
        std::unique_ptr<QMimeData> uris(MakeFileListMimeData(
            {QUrl::fromLocalFile(QStringLiteral("/tmp/x")), QUrl::fromLocalFile(QStringLiteral("/tmp/y"))},
            false));
        QCOMPARE(*FilesFromDataObject(uris.get(), &cut),
                 (QStringList{QStringLiteral("/tmp/x"), QStringLiteral("/tmp/y")}));
        QVERIFY(!cut);
        // The clipboard.
        QGuiApplication::clipboard()->clear();
        QVERIFY(!ClipboardFiles());
        QGuiApplication::clipboard()->setMimeData(
            MakeFileListMimeData({QUrl::fromLocalFile(QStringLiteral("/tmp/clip"))}, true));
        QCOMPARE(*ClipboardFiles(&cut), QStringList{QStringLiteral("/tmp/clip")});
        QVERIFY(cut);
        QGuiApplication::clipboard()->clear();
    }

    void firstItemsEqual() {
        const IDList a = IDList::Item(ItemKind::Dir, "home").Appended(ItemKind::File, "x");
        const IDList b = IDList::Item(ItemKind::Dir, "home").Appended(ItemKind::File, "other");
        const IDList c = IDList::Item(ItemKind::Dir, "homo");
        const IDList d = IDList::Item(ItemKind::Dir, "homes");
        QVERIFY(FirstItemsEqual(a, b));
        QVERIFY(!FirstItemsEqual(a, c)); // same size, other bytes
        QVERIFY(!FirstItemsEqual(a, d)); // other size
        QVERIFY(FirstItemsEqual(IDList(), IDList()));
        QVERIFY(!FirstItemsEqual(a, std::nullopt));
    }

    void dragSourceRules() {
        QCOMPARE(QueryContinueDrag(false, MK_LBUTTON, MK_LBUTTON), TDragContinue::Continue);
        QCOMPARE(QueryContinueDrag(false, 0, MK_LBUTTON), TDragContinue::Drop);
        QCOMPARE(QueryContinueDrag(false, MK_LBUTTON | MK_RBUTTON, MK_LBUTTON), TDragContinue::Cancel);
        QCOMPARE(QueryContinueDrag(false, MK_RBUTTON, MK_LBUTTON), TDragContinue::Cancel);
        QCOMPARE(QueryContinueDrag(true, MK_LBUTTON, MK_LBUTTON), TDragContinue::Cancel);
        QCOMPARE(QueryContinueDrag(false, MK_RBUTTON | MK_CONTROL, MK_RBUTTON), TDragContinue::Continue);
        QCOMPARE(QueryContinueDrag(false, MK_MBUTTON | MK_RBUTTON, MK_RBUTTON), TDragContinue::Cancel);
        QCOMPARE(KeyStateOf(Qt::LeftButton | Qt::MiddleButton, Qt::ShiftModifier),
                 MK_LBUTTON | MK_MBUTTON | MK_SHIFT);
        QCOMPARE(ButtonMaskOf(Qt::RightButton), MK_RBUTTON);
    }

    void runningDragCancelledByAnotherButton() {
        QWidget widget;
        {
            TDragButtonWatcher watcher(MK_LBUTTON);
            QMouseEvent sameButton(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                                   Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&widget, &sameButton);
            QVERIFY(!watcher.Cancelled());
            QMouseEvent otherButton(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::RightButton,
                                    Qt::LeftButton | Qt::RightButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&widget, &otherButton);
            QVERIFY(watcher.Cancelled());
        }
        TDragButtonWatcher escape(MK_RBUTTON);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &key);
        QVERIFY(escape.Cancelled());
    }

    void fileDragOffersAMoveFirstAndEndsCancelledOnEscape() {
        QWidget source;
        const QList<QUrl> urls{QUrl::fromLocalFile(QStringLiteral("/tmp/a b.txt")),
                               QUrl::fromLocalFile(QStringLiteral("/tmp/c.pas"))};
        TVelShellControlHooks hooks;
        QStringList draggedFiles;
        QList<Qt::DropAction> preferredActions;
        bool pressEscape = false;
        hooks.ExecDrag = [&](QDrag& drag, Qt::DropActions allowed, Qt::DropAction preferred) {
            draggedFiles = FilesFromDataObject(drag.mimeData()).value_or(QStringList());
            preferredActions.append(preferred);
            if (pressEscape) {
                QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QCoreApplication::sendEvent(&source, &key);
            }
            return (allowed & Qt::MoveAction) ? Qt::MoveAction : Qt::LinkAction;
        };
        const QStringList files{QStringLiteral("/tmp/a b.txt"), QStringLiteral("/tmp/c.pas")};
        const FileDragEnd moved = ExecFileDrag(
            &source, urls, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, QPixmap(), MK_LBUTTON, hooks);
        QCOMPARE(moved.effect, Qt::MoveAction);
        QCOMPARE(moved.files, std::optional<QStringList>(files));
        QCOMPARE(draggedFiles, files);
        const FileDragEnd linked =
            ExecFileDrag(&source, urls, Qt::CopyAction | Qt::LinkAction, QPixmap(), MK_LBUTTON, hooks);
        QCOMPARE(linked.effect, Qt::LinkAction);
        QCOMPARE(preferredActions, (QList<Qt::DropAction>{Qt::MoveAction, Qt::CopyAction}));
        // The target's answer does not count once the drag was cancelled; the files are still known.
        pressEscape = true;
        const FileDragEnd cancelled =
            ExecFileDrag(&source, urls, Qt::CopyAction | Qt::MoveAction, QPixmap(), MK_RBUTTON, hooks);
        QCOMPARE(cancelled.effect, Qt::IgnoreAction);
        QCOMPARE(cancelled.files, std::optional<QStringList>(files));
    }

    void autoScrollMargins() {
        QListWidget list;
        list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        list.resize(200, 150);
        for (int i = 0; i < 100; ++i)
            list.addItem(
                QStringLiteral("A rather long item text so that the list scrolls sideways %1").arg(i));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCoreApplication::processEvents();
        QScrollBar* horizontal = list.horizontalScrollBar();
        QScrollBar* vertical = list.verticalScrollBar();
        QVERIFY(horizontal->maximum() > 0 && vertical->maximum() > 0);
        horizontal->setValue(horizontal->maximum() / 2);
        vertical->setValue(vertical->maximum() / 2);
        const int middleY = list.viewport()->height() / 2;
        int before = horizontal->value();
        QVERIFY(before > 0);
        QVERIFY(AutoScroll(&list, QPoint(24, middleY)));
        QCOMPARE(horizontal->value(), std::max(0, before - horizontal->singleStep()));
        before = horizontal->value();
        QVERIFY(!AutoScroll(&list, QPoint(25, middleY)));
        QCOMPARE(horizontal->value(), before);
        const int width = list.viewport()->width();
        QVERIFY(AutoScroll(&list, QPoint(width - 24, middleY)));
        QCOMPARE(horizontal->value(), std::min(horizontal->maximum(), before + horizontal->singleStep()));
        QVERIFY(horizontal->value() > before);
        const int top = vertical->value();
        QVERIFY(AutoScroll(&list, QPoint(100, 19)));
        QCOMPARE(vertical->value(), top - vertical->singleStep());
        QVERIFY(!AutoScroll(&list, QPoint(100, 20)));
        // No sideways range: never sideways.
        QListWidget narrow;
        narrow.addItem(QStringLiteral("x"));
        narrow.resize(200, 150);
        narrow.show();
        QCOMPARE(narrow.horizontalScrollBar()->maximum(), 0);
        QVERIFY(!AutoScroll(&narrow, QPoint(1, 70)));

        TAutoScrollPacer pacer;
        pacer.Start(1000);
        QVERIFY(!pacer.Due(1050));
        QVERIFY(!pacer.Due(1100));
        QVERIFY(pacer.Due(1101));
        QVERIFY(!pacer.Due(1150));
        QVERIFY(pacer.Due(1202));
    }

    void folderDropTarget() {
        ShellTestHome home;
        const QString target = home.MakeDir(QStringLiteral("target"));
        const QString file = home.MakeFile(QStringLiteral("source/doc.txt"), "doc");
        const QString folder = home.MakeDir(QStringLiteral("source/sub"));
        std::unique_ptr<QMimeData> data(MakeFileListMimeData({QUrl::fromLocalFile(file)}, false));
        const Qt::DropActions all = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        TVelFolderDropTarget drop(target);
        QCOMPARE(drop.DragOver(data.get(), MK_LBUTTON, all), Qt::MoveAction); // one volume
        QCOMPARE(drop.DragOver(data.get(), MK_LBUTTON | MK_CONTROL, all), Qt::CopyAction);
        QCOMPARE(drop.DragOver(data.get(), MK_LBUTTON | MK_SHIFT, all), Qt::MoveAction);
        QCOMPARE(drop.DragOver(data.get(), MK_LBUTTON | MK_SHIFT | MK_CONTROL, all), Qt::LinkAction);
        QCOMPARE(drop.DragOver(data.get(), MK_LBUTTON, Qt::CopyAction), Qt::CopyAction);
        QCOMPARE(TVelFolderDropTarget(QString()).DragOver(data.get(), MK_LBUTTON, all), Qt::IgnoreAction);
        QMimeData none;
        QCOMPARE(drop.DragOver(&none, MK_LBUTTON, all), Qt::IgnoreAction);
        // A folder never goes into itself or below.
        std::unique_ptr<QMimeData> self(
            MakeFileListMimeData({QUrl::fromLocalFile(home.Root() + QStringLiteral("/source"))}, false));
        QCOMPARE(TVelFolderDropTarget(folder).DragOver(self.get(), MK_LBUTTON | MK_CONTROL, all),
                 Qt::IgnoreAction);

        // Right button: the menu decides.
        TVelShellControlHooks hooks;
        QStringList texts;
        QString choice;
        hooks.ExecMenu = [&](QMenu& menu, const QPoint&) -> QAction* {
            texts.clear();
            QAction* chosen = nullptr;
            for (QAction* action : menu.actions()) {
                if (action->isSeparator())
                    continue;
                texts.append(action->text());
                if (action->text().remove(u'&') == choice)
                    chosen = action;
            }
            if (menu.defaultAction())
                texts.append(QStringLiteral("default:") + menu.defaultAction()->text());
            return chosen;
        };
        choice = QStringLiteral("Cancel");
        QCOMPARE(drop.Drop(data.get(), MK_RBUTTON, all, QPoint(), hooks, nullptr), Qt::IgnoreAction);
        QCOMPARE(texts, (QStringList{QStringLiteral("&Copy Here"), QStringLiteral("&Move Here"),
                                     QStringLiteral("&Link Here"), QStringLiteral("Cancel"),
                                     QStringLiteral("default:&Move Here")}));
        QVERIFY(QFile::exists(file));
        QVERIFY(!QFile::exists(target + QStringLiteral("/doc.txt")));
        choice = QStringLiteral("Link Here");
        QCOMPARE(drop.Drop(data.get(), MK_RBUTTON, all, QPoint(), hooks, nullptr), Qt::LinkAction);
        QCOMPARE(QFileInfo(target + QStringLiteral("/doc.txt")).symLinkTarget(), file);
        // A second link gets a free name.
        QCOMPARE(drop.Drop(data.get(), MK_RBUTTON, all, QPoint(), hooks, nullptr), Qt::LinkAction);
        QVERIFY(QFileInfo(target + QStringLiteral("/doc.txt (link)")).isSymLink());
        choice = QStringLiteral("Move Here");
        QCOMPARE(drop.Drop(data.get(), MK_RBUTTON, all, QPoint(), hooks, nullptr), Qt::MoveAction);
        QVERIFY(!QFile::exists(file));
        QVERIFY(QFile::exists(target + QStringLiteral("/doc (copy).txt")));
        // Gone meanwhile: nothing to drop.
        QCOMPARE(drop.Drop(data.get(), MK_LBUTTON, all, QPoint(), hooks, nullptr), Qt::IgnoreAction);
    }

    void linkMemberAndFirstWindow() {
        auto* link = new TVelShellLink;
        LinkedWidget widget;
        QVERIFY(!widget.Initialised());
        QVERIFY(widget.Setup());
        QVERIFY(widget.Initialised());
        QVERIFY(!widget.Setup()); // once
        widget.SetShellLink(link);
        widget.SetShellLink(link);
        QCOMPARE(link->Controls(), QList<QObject*>{&widget});
        TVelShellLink other;
        widget.SetShellLink(&other);
        QVERIFY(link->Controls().isEmpty());
        QCOMPARE(other.Controls(), QList<QObject*>{&widget});
        widget.SetShellLink(link);
        delete link;
        QVERIFY(!widget.ShellLink());
        QVERIFY(other.Controls().isEmpty());
        QCOMPARE(widget.DragButton(), 0);
    }
};

QTEST_MAIN(ShellControlCommonTest)
#include "shell_control_common_test.moc"
