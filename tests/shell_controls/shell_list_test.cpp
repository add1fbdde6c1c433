// TVelShellList on real temporary folders: filling, columns, sorting, hidden files, overlays, re-reading
// after outside changes, the link between lists, opening objects, loading from a form file and the views.
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

namespace {

// A form with handlers for its list's events.
class TListForm : public QWidget, public TComponentState {
    Q_OBJECT
public:
    TListForm() : TComponentState(this) {}
    Q_INVOKABLE void ShellListViewOperation(QObject* sender, TVelShellOperations operation,
                                            const QStringList& files, const QString& destination) {
        reports.append({operation, files, destination, -1});
        senders.append(sender);
    }
    Q_INVOKABLE void ShellListViewPopulated(QObject* sender) { populated.append(sender); }
    QList<Report> reports;
    QList<QObject*> senders;
    QList<QObject*> populated;
};

} // namespace

class ShellListTest : public QObject, ShellListFixture {
    Q_OBJECT
private slots:
    void initTestCase() { PrepareTestCase(); }
    void init() { MakeWorkFolder(); }
    void cleanup() { RemoveWorkFolder(); }

    void newListShowsComputer() {
        TVelShellList list;
        QCOMPARE(list.ItemCount(), 0); // nothing before the window exists
        list.show();
        QCOMPARE(list.Path(), QString());
        QCOMPARE(list.SpecialFolder(), SF_DRIVES);
        QVERIFY(list.ItemCount() >= 1);
        QVERIFY(Captions(list).contains(QStringLiteral("File System")));
        QCOMPARE(list.Version(), QStringLiteral("TVelShellList V2.3"));
        list.SetVersion(QStringLiteral("other"));
        QCOMPARE(list.Version(), QStringLiteral("TVelShellList V2.3"));
        QCOMPARE(list.ViewStyle(), TVelShellList::TViewStyle::vsReport);
        QVERIFY(list.MultiSelect());
        QVERIFY(list.Details() && list.ShowHidden() && list.ShellContextMenu() && !list.OleDragDrop());
    }

    void populateAndColumns() {
        TVelShellList list;
        int created = 0;
        int populated = 0;
        list.OnCreateColumns = [&](QObject*) {
            ++created;
            QCOMPARE(list.ItemCount(), 0); // columns come before the items
        };
        list.OnPopulated = [&](QObject*) { populated = list.ItemCount(); };
        list.SetPath(m_dir);
        QCOMPARE(list.Path(), m_dir);
        QCOMPARE(created, 1);
        QCOMPARE(populated, 5);
        // Folders first, then names in natural order.
        QCOMPARE(Captions(list), (QStringList{QStringLiteral("folder"), QStringLiteral("alpha.txt"),
                                              QStringLiteral("beta.pas"), QStringLiteral("gamma9.txt"),
                                              QStringLiteral("gamma10.txt")}));
        QCOMPARE(list.ColumnCount(), 4);
        QCOMPARE(list.ColumnCaption(0), QStringLiteral("Name"));
        QCOMPARE(list.ColumnCaption(1), QStringLiteral("Size"));
        QCOMPARE(list.ColumnCaption(2), QStringLiteral("Type"));
        QCOMPARE(list.ColumnCaption(3), QStringLiteral("Changed"));
        QCOMPARE(list.ColumnWidth(0), 150);
        QVERIFY(list.ColumnWidth(1) >= 60);
        const int alpha = IndexOfCaption(list, QStringLiteral("alpha.txt"));
        QCOMPARE(list.ItemText(alpha, 1), QStringLiteral("3 KB"));
        QCOMPARE(list.ItemText(IndexOfCaption(list, QStringLiteral("folder")), 1), QString());
        QVERIFY(!list.ItemText(alpha, 2).isEmpty());
        QCOMPARE(list.SpecialFolder(), SF_FILESYSTEMFOLDER);
        // A missing folder at run time: the caller gets the error and nothing changes.
        try {
            list.SetPath(m_dir + QStringLiteral("missing"));
            QFAIL("no error");
        } catch (const EPathwrightError& error) {
            QCOMPARE(error.Message(),
                     QStringLiteral("Cannot Find Folder: ") + m_dir + QStringLiteral("missing"));
        }
        QCOMPARE(list.Path(), m_dir);
        QCOMPARE(list.ItemCount(), 5);
    }

    void textsOnlyForShownRows() {
        for (int i = 0; i < 300; ++i)
            m_home->MakeFile(QStringLiteral("work/many/f%1.txt").arg(i), "x");
        TVelShellList list;
        list.resize(400, 200);
        list.SetPath(m_dir + QStringLiteral("many"));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.View()->viewport()->repaint();
        QCOMPARE(list.ItemCount(), 300);
        int withTexts = 0;
        int withIcons = 0;
        for (const TVelShellListModel::Row& row : list.Model()->Rows()) {
            withTexts += row.textsKnown != 0;
            withIcons += row.image >= 0;
        }
        QVERIFY2(withTexts > 0 && withTexts < 30, qPrintable(QString::number(withTexts)));
        QVERIFY2(withIcons > 0 && withIcons < 30, qPrintable(QString::number(withIcons)));
        // What is shown is kept: asking again computes nothing new.
        const int last = list.ItemCount() - 1;
        QVERIFY(!(list.Model()->Rows()[std::size_t(last)].textsKnown & 2));
        QCOMPARE(list.ItemText(last, 1), QStringLiteral("1 KB"));
        QVERIFY(list.Model()->Rows()[std::size_t(last)].textsKnown & 2);
    }

    void sortingClicks() {
        TVelShellList list;
        list.SetPath(m_dir);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        auto* report = static_cast<QTreeView*>(list.View());
        QHeaderView* header = report->header();
        const auto clickHeader = [&](int column) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        };
        const QStringList bySize{QStringLiteral("folder"), QStringLiteral("gamma9.txt"),
                                 QStringLiteral("beta.pas"), QStringLiteral("alpha.txt"),
                                 QStringLiteral("gamma10.txt")};
        clickHeader(1);
        QCOMPARE(list.SortColumn(), 1);
        QVERIFY(!list.SortDescending());
        QCOMPARE(Captions(list), bySize);
        clickHeader(1);
        QVERIFY(list.SortDescending());
        QStringList reversed = bySize;
        std::reverse(reversed.begin(), reversed.end());
        QCOMPARE(Captions(list), reversed);
        clickHeader(1);
        QVERIFY(!list.SortDescending());
        QCOMPARE(Captions(list), bySize);
        // Another column: ascending.
        clickHeader(1);
        SetMTime(m_dir + QStringLiteral("alpha.txt"), 1000000000);
        SetMTime(m_dir + QStringLiteral("beta.pas"), 1100000000);
        SetMTime(m_dir + QStringLiteral("gamma9.txt"), 1200000000);
        SetMTime(m_dir + QStringLiteral("gamma10.txt"), 900000000);
        clickHeader(3);
        QCOMPARE(list.SortColumn(), 3);
        QVERIFY(!list.SortDescending());
        QCOMPARE(Captions(list), (QStringList{QStringLiteral("folder"), QStringLiteral("gamma10.txt"),
                                              QStringLiteral("alpha.txt"), QStringLiteral("beta.pas"),
                                              QStringLiteral("gamma9.txt")}));
        QCOMPARE(header->sortIndicatorSection(), 3);
        // Populate keeps column and direction.
        list.SortByColumn(3);
        QVERIFY(list.SortDescending());
        list.Populate();
        QCOMPARE(Captions(list).first(), QStringLiteral("gamma9.txt"));
    }

    void sortKeysAgreeWithTheNamespaceOrder() {
        const QStringList names{QStringLiteral("b"),    QStringLiteral("A10"), QStringLiteral("a9"),
                                QStringLiteral("a09x"), QStringLiteral("a9x"), QStringLiteral("Ä"),
                                QStringLiteral("z1"),   QStringLiteral("_x"),  QStringLiteral("007"),
                                QStringLiteral("7"),    QStringLiteral("a 1")};
        for (const QString& name : names)
            m_home->MakeFile(QStringLiteral("work/names/") + name);
        TVelShellList list;
        list.SetPath(m_dir + QStringLiteral("names"));
        QCOMPARE(list.ItemCount(), int(names.size()));
        for (int i = 0; i + 1 < list.ItemCount(); ++i) {
            const IDList& a = *list.ItemRecord(i).id;
            const IDList& b = *list.ItemRecord(i + 1).id;
            QVERIFY2(::CompareIDs(a, b) < 0,
                     qPrintable(list.ItemCaption(i) + QStringLiteral(" / ") + list.ItemCaption(i + 1)));
            QVERIFY(list.CompareIDs(0, a, b) < 0);
            QVERIFY(list.CompareIDs(0, b, a) > 0);
            QCOMPARE(list.CompareIDs(0, a, a), 0);
        }
    }

    void detailsOffAndOn() {
        TVelShellList list;
        list.SetPath(m_dir);
        list.SetDetails(false);
        QCOMPARE(list.ColumnCount(), 1);
        QCOMPARE(list.View()->model()->columnCount(), 1);
        QCOMPARE(list.ItemText(1, 1), QString());
        list.SetDetails(true);
        QCOMPARE(list.ColumnCount(), 4);
        QCOMPARE(list.ItemText(IndexOfCaption(list, QStringLiteral("alpha.txt")), 1), QStringLiteral("3 KB"));
    }

    void savedWidthsAcrossFileSystemFolders() {
        TVelShellList list;
        list.SetPath(m_dir);
        list.SetColumnWidth(1, 222);
        list.SetPath(m_dir + QStringLiteral("folder/"));
        QCOMPARE(list.ColumnWidth(1), 222);
        list.SetPath(QString()); // Computer: the shell's widths
        TVelShellList fresh;
        fresh.SetPath(m_dir);
        const int standard = fresh.ColumnWidth(1);
        QVERIFY(standard != 222);
        QCOMPARE(list.ColumnWidth(1), standard);
        list.SetPath(m_dir);
        QCOMPARE(list.ColumnWidth(1), standard);
    }

    void sizeAndChangedColumnsShowTheirValuesWhole() {
        // 1,234,567 KB without taking the room: a file with a hole.
        const QString big = m_dir + QStringLiteral("big.bin");
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(1234567) * 1024));
        file.close();
        SetMTime(big, QDateTime(QDate(2024, 12, 28), QTime(22, 58, 30)).toSecsSinceEpoch());
        TVelShellList list;
        list.resize(700, 240);
        list.SetPath(m_dir);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        SaveScreenshot(list, "shell_list_report_sizes.png");
        QAbstractItemView* view = list.View();
        const QFontMetrics metrics(view->font());
        const int textMargin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        const int row = IndexOfCaption(list, QStringLiteral("big.bin"));
        QCOMPARE(list.ItemText(row, 1), QStringLiteral("1,234,567 KB"));
        QVERIFY(view->visualRect(view->model()->index(row, 1)).width() - 2 * textMargin >=
                metrics.horizontalAdvance(QStringLiteral("1,234,567 KB")));
        for (int item = 0; item < list.ItemCount(); ++item) {
            for (int column : {1, 3}) {
                const QString text = list.ItemText(item, column);
                const QRect cell = view->visualRect(view->model()->index(item, column));
                QVERIFY2(cell.width() - 2 * textMargin >= metrics.horizontalAdvance(text), qPrintable(text));
            }
        }
    }

    void hiddenFilesAndOverlays() {
        m_home->MakeFile(QStringLiteral("work/.secret"), "s");
        QVERIFY(QFile::link(m_dir + QStringLiteral("alpha.txt"), m_dir + QStringLiteral("shortcut")));
        TVelShellList list;
        list.SetShowHidden(false);
        list.SetPath(m_dir);
        QVERIFY(!Captions(list).contains(QStringLiteral(".secret")));
        QVERIFY(Captions(list).contains(QStringLiteral("shortcut")));
        list.SetShowHidden(true);
        const int secret = IndexOfCaption(list, QStringLiteral(".secret"));
        QVERIFY(secret >= 0);
        QVERIFY(list.ItemDimmed(secret));
        QVERIFY(!list.ItemDimmed(IndexOfCaption(list, QStringLiteral("alpha.txt"))));
        QCOMPARE(list.ItemOverlay(IndexOfCaption(list, QStringLiteral("shortcut"))), 1);
        QCOMPARE(list.ItemOverlay(IndexOfCaption(list, QStringLiteral("alpha.txt"))), -1);
        // The drawn icon of a dimmed item differs from the plain one.
        const int plain = IndexOfCaption(list, QStringLiteral("beta.pas"));
        QVERIFY(!list.ItemPixmap(secret).isNull());
        QVERIFY(list.ItemImage(secret) >= 0);
        if (list.ItemImage(secret) == list.ItemImage(plain))
            QVERIFY(list.ItemPixmap(secret).toImage() != list.ItemPixmap(plain).toImage());
    }

    void filterAndAddItemHandler() {
        TVelShellList list;
        list.OnAddItem = [](TVelListItem& item, bool& canAdd) {
            QCOMPARE(item.SubItems.size(), 3); // details filled for the handler
            canAdd = !item.Caption.startsWith(u'b');
        };
        list.SetPath(m_dir);
        QVERIFY(!Captions(list).contains(QStringLiteral("beta.pas")));
        QCOMPARE(list.ItemCount(), 4);
        list.OnAddItem = nullptr;
        list.SetFilter(QStringLiteral("*.pas"));
        QCOMPARE(Captions(list), (QStringList{QStringLiteral("folder"), QStringLiteral("beta.pas")}));
        QCOMPARE(list.Filter(), QStringLiteral("*.pas"));
    }

    void fileFromOutsideAppearsKeepingSelection() {
        TVelShellList list;
        QCOMPARE(list.RefreshTimer()->interval(), 500);
        list.RefreshTimer()->setInterval(50);
        list.SetPath(m_dir);
        list.show();
        const int beta = IndexOfCaption(list, QStringLiteral("beta.pas"));
        list.SetSelected(beta, true);
        m_home->MakeFile(QStringLiteral("work/aaa-new.txt"), "n");
        QTRY_COMPARE_WITH_TIMEOUT(list.ItemCount(), 6, 3000);
        // The new item takes its sorted place; the selection stays with its item.
        QCOMPARE(list.ItemCaption(1), QStringLiteral("aaa-new.txt"));
        QCOMPARE(list.SelectedItems(), std::vector<int>{beta + 1});
        QCOMPARE(list.SelectedNames(), QStringList{QStringLiteral("beta.pas")});
    }

    void renamedAndNewItemsTakeTheirSortedPlaces() {
        m_home->MakeFile(QStringLiteral("work/sorted/a"));
        m_home->MakeFile(QStringLiteral("work/sorted/b"));
        TVelShellList list;
        list.RefreshTimer()->setInterval(20);
        list.SetPath(m_dir + QStringLiteral("sorted"));
        list.SetViewStyle(TVelShellList::TViewStyle::vsList);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCOMPARE(Captions(list), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        list.SetSelected(0, true);
        QVERIFY(list.ItemEdited(0, QStringLiteral("zz")));
        QCOMPARE(Captions(list), (QStringList{QStringLiteral("b"), QStringLiteral("zz")}));
        QCOMPARE(list.SelectedItems(), std::vector<int>{1});
        QCOMPARE(list.IndexOfIDList(IDList::Item(ItemKind::File, "zz")), 1);
        // Created from outside: between the two, and a long name gets the room it needs.
        const QString longName = QStringLiteral("c, a name much longer than any other in this folder");
        m_home->MakeFile(QStringLiteral("work/sorted/") + longName);
        QTRY_COMPARE_WITH_TIMEOUT(list.ItemCount(), 3, 3000);
        QCOMPARE(Captions(list), (QStringList{QStringLiteral("b"), longName, QStringLiteral("zz")}));
        QCOMPARE(list.SelectedNames(), QStringList{QStringLiteral("zz")});
        QCoreApplication::processEvents();
        QVERIFY(list.View()->visualRect(list.View()->model()->index(1, 0)).width() >
                QFontMetrics(list.View()->font()).horizontalAdvance(longName) + 16);
        // Descending order holds for newcomers too.
        list.SortByColumn(0);
        QVERIFY(list.SortDescending());
        m_home->MakeFile(QStringLiteral("work/sorted/aa"));
        QTRY_COMPARE_WITH_TIMEOUT(list.ItemCount(), 4, 3000);
        QCOMPARE(Captions(list),
                 (QStringList{QStringLiteral("zz"), longName, QStringLiteral("b"), QStringLiteral("aa")}));
    }

    void burstOfNoticesGivesOneResync() {
        TVelShellList list;
        list.SetPath(m_dir);
        int adds = 0;
        list.OnAddItem = [&](TVelListItem&, bool&) { ++adds; };
        list.RefreshTimer()->setInterval(60000); // only the test fires it
        list.ScheduleResync();
        list.ScheduleResync();
        QVERIFY(list.RefreshTimer()->isActive());
        m_home->MakeFile(QStringLiteral("work/one"));
        m_home->MakeFile(QStringLiteral("work/two"));
        QVERIFY(QMetaObject::invokeMethod(list.RefreshTimer(), "timeout", Qt::DirectConnection));
        QVERIFY(!list.RefreshTimer()->isActive());
        QCOMPARE(adds, 2);
        QCOMPARE(list.ItemCount(), 7);
    }

    void disabledListKeepsItems() {
        TVelShellList list;
        list.RefreshTimer()->setInterval(20);
        list.SetPath(m_dir);
        list.setEnabled(false);
        QVERIFY(!list.Populate());
        QFile::remove(m_dir + QStringLiteral("alpha.txt"));
        list.Resync();
        QCOMPARE(list.ItemCount(), 5);
        list.setEnabled(true);
        QVERIFY(list.Populate());
        QCOMPARE(list.ItemCount(), 4);
    }

    void linkMakesSecondListFollow() {
        TVelShellLink link;
        TVelShellList first;
        TVelShellList second;
        first.SetShellLink(&link);
        second.SetShellLink(&link);
        QCOMPARE(link.Controls().size(), 2);
        first.SetPath(m_dir);
        QCOMPARE(second.Path(), m_dir);
        QCOMPARE(second.ItemCount(), 5);
        // Opening a folder with a double click.
        first.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        const int folder = IndexOfCaption(first, QStringLiteral("folder"));
        first.SetSelected(folder, true);
        QTest::mouseDClick(first.View()->viewport(), Qt::LeftButton, {}, ItemCenter(first, folder));
        QCOMPARE(first.Path(), m_dir + QStringLiteral("folder/"));
        QCOMPARE(second.Path(), m_dir + QStringLiteral("folder/"));
        QCOMPARE(second.ItemCount(), 0);
        // Backspace: the parent, followed too.
        first.View()->setFocus();
        QTest::keyClick(first.View(), Qt::Key_Backspace);
        QCOMPARE(first.Path(), m_dir);
        QCOMPARE(second.Path(), m_dir);
        // Select all passes over; contents changes make the other re-read without passing on again.
        link.SelectAllItems(&first);
        QCOMPARE(int(second.SelectedItems().size()), second.ItemCount());
        m_home->MakeFile(QStringLiteral("work/late.txt"));
        link.ContentsChanged(&first);
        QVERIFY(Captions(second).contains(QStringLiteral("late.txt")));
        QVERIFY(!Captions(first).contains(QStringLiteral("late.txt")));
        // A link that is destroyed is forgotten.
        {
            auto* temporary = new TVelShellLink;
            second.SetShellLink(temporary);
            QCOMPARE(link.Controls().size(), 1);
            delete temporary;
        }
        QVERIFY(!second.ShellLink());
        first.SetPath(m_dir + QStringLiteral("folder/"));
        QCOMPARE(second.Path(), m_dir);
    }

    void linkedFolderThatCannotOpenLeavesListEmpty() {
        TVelShellList list;
        list.SetPath(m_dir);
        const IDList bogus = IDList::Item(ItemKind::File, "nothing-here");
        TShellLinkEvent event(TShellLinkMessage::SLM_FOLDERCHANGED, bogus);
        QCoreApplication::sendEvent(&list, &event);
        QCOMPARE(list.ItemCount(), 0);
        TShellLinkEvent nullList(TShellLinkMessage::SLM_FOLDERCHANGED, std::nullopt);
        QCoreApplication::sendEvent(&list, &nullList); // ignored
        QCOMPARE(list.ItemCount(), 0);
    }

    void openingDocumentsAndFolderLinks() {
        QVERIFY(QFile::link(m_dir + QStringLiteral("folder"), m_dir + QStringLiteral("to-folder")));
        TVelShellList list;
        QList<QUrl> opened;
        list.Browser()->Hooks().OpenUrl = [&](const QUrl& url) {
            opened.append(url);
            return true;
        };
        list.SetPath(m_dir);
        list.SetSelected(IndexOfCaption(list, QStringLiteral("beta.pas")), true);
        QVERIFY(list.ExecuteCommand(QStringLiteral("default")));
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(m_dir + QStringLiteral("beta.pas"))});
        QCOMPARE(list.Path(), m_dir);
        list.SetSelected(IndexOfCaption(list, QStringLiteral("beta.pas")), false);
        const int link = IndexOfCaption(list, QStringLiteral("to-folder"));
        list.SetSelected(link, true);
        QVERIFY(list.ExecuteCommand(QStringLiteral("open")));
        QCOMPARE(list.Path(), m_dir + QStringLiteral("to-folder/"));
        QVERIFY(opened.size() == 1);
        QVERIFY(!list.ExecuteCommand(QStringLiteral("open"))); // nothing selected
    }

    void parentsSpecialFoldersAndEnter() {
        TVelShellLink link;
        TVelShellList list;
        TVelShellList follower;
        list.SetShellLink(&link);
        follower.SetShellLink(&link);
        list.SetPath(QStringLiteral("/"));
        list.show();
        // Backspace in a drive root shows Computer, in Computer the desktop.
        QTest::keyClick(list.View(), Qt::Key_Backspace);
        QCOMPARE(list.Path(), QString());
        QCOMPARE(list.SpecialFolder(), SF_DRIVES);
        QCOMPARE(follower.SpecialFolder(), SF_DRIVES);
        QTest::keyClick(list.View(), Qt::Key_Backspace);
        QCOMPARE(list.SpecialFolder(), SF_DESKTOP);
        QVERIFY(Captions(list).contains(QStringLiteral("Computer")));
        QCOMPARE(follower.SpecialFolder(), SF_DESKTOP);
        // Enter opens the selected folder.
        list.SetSelected(IndexOfCaption(list, QStringLiteral("Home")), true);
        QTest::keyClick(list.View(), Qt::Key_Return);
        QCOMPARE(list.Path(), m_home->Home() + u'/');
        QCOMPARE(follower.Path(), m_home->Home() + u'/');
        // A special folder by kind; the followers follow.
        list.SetSpecialFolder(SF_PERSONAL);
        QCOMPARE(list.Path(), m_home->Documents() + u'/');
        QCOMPARE(list.SpecialFolder(), SF_PERSONAL);
        QCOMPARE(follower.Path(), m_home->Documents() + u'/');
        // FileSystemOnly leaves the virtual objects out.
        list.SetSpecialFolder(SF_DESKTOP);
        QVERIFY(Captions(list).contains(QStringLiteral("Trash")));
        list.SetFileSystemOnly(true);
        QVERIFY(list.FileSystemOnly());
        QVERIFY(!Captions(list).contains(QStringLiteral("Trash")));
    }

    void selectedNamesCacheAndApplying() {
        TVelShellList list;
        list.SetPath(m_dir);
        list.show();
        QVERIFY(list.SelectedNames().isEmpty());
        list.SetSelectedNames({QStringLiteral("gamma10.txt"), QStringLiteral("folder")});
        QCOMPARE(list.SelectedItems(),
                 (std::vector<int>{IndexOfCaption(list, QStringLiteral("folder")),
                                   IndexOfCaption(list, QStringLiteral("gamma10.txt"))}));
        QCOMPARE(list.SelectedNames(),
                 (QStringList{QStringLiteral("gamma10.txt"), QStringLiteral("folder")}));
        // A change of the selection drops the snapshot.
        list.SetSelected(IndexOfCaption(list, QStringLiteral("folder")), false);
        QCOMPARE(list.SelectedNames(), QStringList{QStringLiteral("gamma10.txt")});
        // A name with a path does not move the list elsewhere.
        list.SetSelectedNames({m_dir + QStringLiteral("folder/x")});
        QCOMPARE(list.Path(), m_dir);
        QVERIFY(list.SelectedItems().empty());
        list.SelectAll();
        QCOMPARE(int(list.SelectedItems().size()), 5);
    }

    void pathWhileLoadingReportsAndGoesOn() {
        TVelShellList list;
        QStringList messages;
        list.ControlHooks().ErrorMessage = [&](QWidget*, const QString& text) { messages.append(text); };
        list.BeginLoading();
        list.SetPath(m_dir + QStringLiteral("gone"));
        QCOMPARE(messages,
                 QStringList{QStringLiteral("Cannot find path: ") + m_dir + QStringLiteral("gone")});
        list.SetPath(m_dir);
        QCOMPARE(list.ItemCount(), 0); // no filling while loading
        list.SetDetails(false);
        list.Loaded();
        QCOMPARE(list.ItemCount(), 5);
        QCOMPARE(list.ColumnCount(), 1);
    }

    void loadsFromAFormFile() {
        const QString text = QStringLiteral("object Form1: TListForm\n"
                                            "  object ShellLink1: TVelShellLink\n"
                                            "  end\n"
                                            "  object ShellListView: TVelShellList\n"
                                            "    Details = False\n"
                                            "    Filter = '*.pas'\n"
                                            "    Path = '%1'\n"
                                            "    ShellLink = ShellLink1\n"
                                            "    ViewStyle = vsSmallIcon\n"
                                            "    OnOperation = ShellListViewOperation\n"
                                            "    OnPopulated = ShellListViewPopulated\n"
                                            "  end\n"
                                            "  object Other: TVelShellList\n"
                                            "    ShellLink = ShellLink1\n"
                                            "  end\n"
                                            "end\n")
                                 .arg(m_dir);
        TListForm form;
        ReadForm(&form, text.toStdString());
        auto* list = form.findChild<TVelShellList*>(QStringLiteral("ShellListView"));
        auto* other = form.findChild<TVelShellList*>(QStringLiteral("Other"));
        QVERIFY(list && other);
        QCOMPARE(list->Path(), m_dir);
        QVERIFY(!list->Details());
        QCOMPARE(list->ViewStyle(), TVelShellList::TViewStyle::vsSmallIcon);
        QCOMPARE(list->ShellLink(), form.findChild<TVelShellLink*>(QStringLiteral("ShellLink1")));
        // Filled once, after loading.
        QCOMPARE(form.populated, QList<QObject*>{list});
        QCOMPARE(Captions(*list), (QStringList{QStringLiteral("folder"), QStringLiteral("beta.pas")}));
        // The handler bound by name gets the reports.
        list->SetSelected(1, true);
        QVERIFY(list->ItemEdited(1, QStringLiteral("delta.pas")));
        QCOMPARE(form.reports.size(), 1);
        QCOMPARE(int(form.reports[0].operation), 0x200);
        QCOMPARE(form.senders, QList<QObject*>{list});
        // Written back: the published values, not Version.
        const QString written = QString::fromStdString(WriteFormText(&form));
        QVERIFY(written.contains(QStringLiteral("Details = False")));
        QVERIFY(written.contains(QStringLiteral("OnOperation = ShellListViewOperation")));
        QVERIFY(written.contains(QStringLiteral("ShellLink = ShellLink1")));
        QVERIFY(!written.contains(QStringLiteral("Version")));
    }

    void wholeNamesInIconAndListViews() {
        const QStringList names{QStringLiteral("a.txt"),
                                QStringLiteral("Quarterly report for the board, final version.dfm"),
                                QStringLiteral("AnExtraordinarilyLongUnitNameWithoutBlanks.pas"),
                                QStringLiteral("mid-sized name.txt")};
        for (const QString& name : names)
            m_home->MakeFile(QStringLiteral("work/long/") + name, "x");
        TVelShellList list;
        list.resize(640, 360);
        list.SetPath(m_dir + QStringLiteral("long"));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QAbstractItemView* view = list.View();
        const QFontMetrics metrics(view->font());
        const int textMargin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        int widest = 0;
        for (const QString& name : names)
            widest = std::max(widest, metrics.horizontalAdvance(name));
        const auto rectOf = [&list](int item) {
            return list.View()->visualRect(list.View()->model()->index(item, 0));
        };

        // Small icons and list: one line, as wide as the widest name needs.
        for (TVelShellList::TViewStyle style :
             {TVelShellList::TViewStyle::vsSmallIcon, TVelShellList::TViewStyle::vsList}) {
            list.SetViewStyle(style);
            view = list.View();
            QCoreApplication::processEvents();
            SaveScreenshot(list, style == TVelShellList::TViewStyle::vsList ? "shell_list_list.png"
                                                                            : "shell_list_small.png");
            for (int i = 0; i < list.ItemCount(); ++i) {
                QCOMPARE(list.ItemDisplayText(i), list.ItemCaption(i));
                QStyleOptionViewItem option;
                option.initFrom(view);
                option.rect = rectOf(i);
                option.text = list.ItemCaption(i);
                option.font = view->font();
                option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
                option.decorationSize = QSize(16, 16);
                option.decorationPosition = QStyleOptionViewItem::Left;
                option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
                const QRect text = view->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, view);
                QVERIFY2(text.width() - 2 * textMargin >= metrics.horizontalAdvance(list.ItemCaption(i)),
                         qPrintable(list.ItemCaption(i)));
            }
        }

        // Large icons: names wrap under the icon, within the item, and are shown whole.
        list.SetViewStyle(TVelShellList::TViewStyle::vsIcon);
        view = list.View();
        QCoreApplication::processEvents();
        SaveScreenshot(list, "shell_list_icons_long.png");
        for (int i = 0; i < list.ItemCount(); ++i) {
            const QString caption = list.ItemCaption(i);
            const QRect rect = rectOf(i);
            QVERIFY(rect.width() < widest);
            const QStringList lines = list.ItemDisplayText(i).split(QChar::LineSeparator);
            QCOMPARE(lines.join(QString()), caption);
            for (const QString& line : lines)
                QVERIFY2(metrics.horizontalAdvance(line.trimmed()) <= rect.width() - 2 * textMargin,
                         qPrintable(line));
            QVERIFY2(rect.height() >= 32 + int(lines.size()) * metrics.height(), qPrintable(caption));
            if (metrics.horizontalAdvance(caption) > rect.width())
                QVERIFY(lines.size() > 1);
        }
    }

    void viewStylesAndScreenshot() {
        TVelShellList list;
        list.resize(520, 200);
        list.SetPath(m_dir);
        QVERIFY(QFile::link(m_dir + QStringLiteral("alpha.txt"), m_dir + QStringLiteral("link-to-alpha")));
        m_home->MakeFile(QStringLiteral("work/.hidden-file"), "h");
        list.Populate();
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const QImage report = list.grab().toImage();
        QVERIFY(!report.isNull());
        if (const QByteArray dir = qgetenv("WORDLOOM_SCREENSHOT_DIR"); !dir.isEmpty())
            report.save(QFile::decodeName(dir) + QStringLiteral("/shell_list_report.png"));
        for (TVelShellList::TViewStyle style :
             {TVelShellList::TViewStyle::vsIcon, TVelShellList::TViewStyle::vsSmallIcon,
              TVelShellList::TViewStyle::vsList}) {
            list.SetViewStyle(style);
            QCOMPARE(list.ViewStyle(), style);
            QVERIFY(list.View()->isVisible());
            QCOMPARE(list.View()->model()->rowCount(), list.ItemCount());
            const QRect first = list.View()->visualRect(list.View()->model()->index(0, 0));
            QVERIFY(first.isValid());
            if (style == TVelShellList::TViewStyle::vsIcon) {
                QCOMPARE(list.ItemPixmap(0).height(), 32);
                if (const QByteArray dir = qgetenv("WORDLOOM_SCREENSHOT_DIR"); !dir.isEmpty())
                    list.grab().save(QFile::decodeName(dir) + QStringLiteral("/shell_list_icons.png"));
            } else {
                QCOMPARE(list.ItemPixmap(0).height(), 16);
            }
        }
    }
};

QTEST_MAIN(ShellListTest)
#include "shell_list_test.moc"
