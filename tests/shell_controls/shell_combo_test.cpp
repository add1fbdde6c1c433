// TVelShellCombo on a temporary home: the skeleton, temporary entries following a linked list, picking
// entries, virtual folders through identifier lists, plain strings converted at their first drawing,
// and the drawing of indentation and the open-folder icon.
#include "shell/controls/shell_combo.h"

#include "shell/controls/shell_list.h"
#include "shell/core/system_image_list.h"
#include "shell_core/shell_test_home.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QTest>

using namespace wordloom::shell;

namespace {

struct EntryView {
    QString name;
    int level;
    bool permanent;
};

QList<EntryView> Entries(const TVelShellCombo& combo) {
    QList<EntryView> entries;
    for (int i = 0; i < combo.EntryCount(); ++i) {
        const std::optional<TVelComboItem> item = combo.Entry(i);
        entries.append(
            {item ? item->name : combo.itemText(i), item ? item->level : -1, item && item->permanent});
    }
    return entries;
}

int IndexOf(const TVelShellCombo& combo, const QString& name) {
    int level = 0;
    return combo.IndexOfName(name, level);
}

// A combo box after loading, the way a form builds it.
void Load(TVelShellCombo& combo) {
    combo.BeginLoading();
    combo.Loaded();
}

} // namespace

class ShellComboTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_home = std::make_unique<ShellTestHome>();
        m_home->MakeDir(QStringLiteral("home/Desktop/On the desktop"));
        m_home->MakeDir(QStringLiteral("home/work/one/two"));
    }
    void cleanup() { m_home.reset(); }

    void skeletonAfterLoading() {
        TVelShellCombo combo;
        QCOMPARE(combo.EntryCount(), 0);
        QCOMPARE(combo.Version(), QStringLiteral("TVelShellCombo V2.3"));
        QCOMPARE(combo.IndentStep, 10);
        Load(combo);
        const QList<EntryView> entries = Entries(combo);
        QVERIFY(entries.size() >= 5);
        QCOMPARE(entries[0].name, QStringLiteral("Desktop"));
        QCOMPARE(entries[0].level, 0);
        QCOMPARE(entries[1].name, QStringLiteral("Computer"));
        QCOMPARE(entries[1].level, 1);
        // The volumes of Computer directly after it, "/" first.
        QCOMPARE(entries[2].name, QStringLiteral("/"));
        QCOMPARE(entries[2].level, 2);
        QVERIFY(combo.Entry(2)->isDrive);
        int next = 3;
        while (next < entries.size() && entries[next].level == 2)
            ++next;
        // Then the other containers of the desktop, the desktop folder's own folders among them.
        QStringList rest;
        for (int i = next; i < entries.size(); ++i) {
            QCOMPARE(entries[i].level, 1);
            rest.append(entries[i].name);
        }
        QVERIFY(rest.contains(QStringLiteral("Trash")));
        QVERIFY(rest.contains(QStringLiteral("Network")));
        QVERIFY(rest.contains(QStringLiteral("On the desktop")));
        for (const EntryView& entry : entries)
            QVERIFY(entry.permanent);
        QCOMPARE(combo.currentIndex(), 1);
        // The desktop entry holds the desktop's list.
        QVERIFY(combo.Entry(0)->idList->IsDesktop());
    }

    void followsAListTwoLevelsBelowAVolumeRoot() {
        if (!QFileInfo(QStringLiteral("/usr/share")).isDir())
            QSKIP("no /usr/share on this machine");
        TVelShellLink link;
        TVelShellCombo combo;
        Load(combo);
        combo.SetShellLink(&link);
        const int skeleton = combo.EntryCount();
        TVelShellList list;
        list.SetShellLink(&link);
        list.SetPath(QStringLiteral("/usr/share/"));
        const int drive = IndexOf(combo, QStringLiteral("/"));
        QCOMPARE(combo.EntryCount(), skeleton + 2);
        QCOMPARE(combo.itemText(drive + 1), QStringLiteral("usr"));
        QCOMPARE(combo.itemText(drive + 2), QStringLiteral("share"));
        QCOMPARE(combo.Entry(drive + 1)->level, combo.Entry(drive)->level + 1);
        QCOMPARE(combo.Entry(drive + 2)->level, combo.Entry(drive)->level + 2);
        QVERIFY(!combo.Entry(drive + 1)->permanent);
        QVERIFY(!combo.Entry(drive + 2)->permanent);
        QCOMPARE(combo.currentIndex(), drive + 2);
        // The selected temporary entry shows the open-folder icon.
        TPathwright browser;
        browser.SetFolder(QStringLiteral("/usr/"));
        browser.SetObjectName(QStringLiteral("share"));
        QCOMPARE(combo.Entry(drive + 2)->iconIndex, browser.GetSelectedIconNumber());
        QCOMPARE(
            combo.Entry(drive + 1)->iconIndex,
            IconRegistry::Instance().IconIndexFor(*IDListFromName(nullptr, QStringLiteral("/usr")), false));

        // Another folder replaces the temporary entries.
        list.SetPath(m_home->Home() + QStringLiteral("/work/one/"));
        QCOMPARE(combo.itemText(combo.currentIndex()), QStringLiteral("one"));
        QCOMPARE(IndexOf(combo, QStringLiteral("usr")), -1);
        QCOMPARE(QFile::decodeName(PathFromIDList(*combo.Entry(combo.currentIndex())->idList)),
                 m_home->Home() + QStringLiteral("/work/one"));

        // Picking the desktop entry trims every temporary entry and sends the desktop to the list.
        combo.setCurrentIndex(0);
        emit combo.activated(0);
        QCOMPARE(combo.EntryCount(), skeleton);
        for (const EntryView& entry : Entries(combo))
            QVERIFY(entry.permanent);
        QVERIFY(list.Browser()->GetFolderIDList()->IsDesktop());
    }

    void selectPathOfAVolumeRootInsertsNothing() {
        TVelShellCombo combo;
        Load(combo);
        const int skeleton = combo.EntryCount();
        combo.SelectPath(QStringLiteral("/"));
        QCOMPARE(combo.EntryCount(), skeleton);
        QCOMPARE(combo.currentIndex(), IndexOf(combo, QStringLiteral("/")));
        // A path on no listed volume changes nothing; a missing folder is the browser's error.
        combo.SelectPath(QStringLiteral("relative/path"));
        QCOMPARE(combo.EntryCount(), skeleton);
        try {
            combo.SelectPath(m_home->Home() + QStringLiteral("/work/missing/deeper"));
            QFAIL("no error");
        } catch (const EPathwrightError& e) {
            QVERIFY(e.Message().startsWith(QStringLiteral("Error! Cannot find Object \"missing\"")));
        }
        // What was inserted before the failure stays.
        QVERIFY(IndexOf(combo, QStringLiteral("work")) > 0);
    }

    void virtualFoldersSelectTheirPermanentEntry() {
        TVelShellLink link;
        TVelShellCombo combo;
        Load(combo);
        combo.SetShellLink(&link);
        const int skeleton = combo.EntryCount();
        combo.SelectPath(m_home->Home() + QStringLiteral("/work"));
        QVERIFY(combo.EntryCount() > skeleton);
        link.FolderChanged(nullptr, IDList::Item(ItemKind::Trash, {}));
        QCOMPARE(combo.EntryCount(), skeleton);
        QCOMPARE(combo.currentText(), QStringLiteral("Trash"));
        link.FolderChanged(nullptr, IDList());
        QCOMPARE(combo.currentIndex(), 0);
        // A virtual folder below a permanent one is inserted through its list.
        m_home->MakeDir(QStringLiteral("data/Trash/files/kept"));
        combo.SelectIDList(IDList::Item(ItemKind::Trash, {}).Appended(ItemKind::Dir, "kept"));
        const int trash = IndexOf(combo, QStringLiteral("Trash"));
        QCOMPARE(combo.currentIndex(), trash + 1);
        QCOMPARE(combo.currentText(), QStringLiteral("kept"));
        QCOMPARE(combo.Entry(trash + 1)->level, 2);
        QVERIFY(!combo.Entry(trash + 1)->permanent);
        combo.TrimEntries(-1);
        QCOMPARE(combo.EntryCount(), skeleton);
    }

    void itemIndexTellsTheLinkButNotWhileLoading() {
        TVelShellLink link;
        TVelShellCombo combo;
        TVelShellList list;
        list.SetShellLink(&link);
        combo.SetShellLink(&link);
        Load(combo);
        list.SetPath(m_home->Home() + u'/');
        QCOMPARE(list.Path(), m_home->Home() + u'/');
        combo.SetItemIndex(IndexOf(combo, QStringLiteral("/")));
        QCOMPARE(list.Path(), QStringLiteral("/"));
        combo.BeginLoading();
        combo.SetItemIndex(1);
        QCOMPARE(list.Path(), QStringLiteral("/"));
        combo.TComponentState::Loaded();
    }

    void plainStringsAreConvertedAtTheFirstDrawing() {
        TVelShellCombo combo;
        combo.addItem(m_home->Home() + QStringLiteral("/work"));
        QVERIFY(!combo.Entry(0));
        combo.resize(200, 24);
        combo.grab();
        const std::optional<TVelComboItem> item = combo.Entry(0);
        QVERIFY(item);
        QVERIFY(item->permanent);
        QCOMPARE(item->level, 0);
        QCOMPARE(item->displayName, QStringLiteral("work"));
        QCOMPARE(item->name, m_home->Home() + QStringLiteral("/work"));
    }

    void contextMenuIsTheShellMenuOfTheSelectedEntry() {
        TVelShellCombo combo;
        Load(combo);
        combo.SelectPath(m_home->Home() + QStringLiteral("/work/one"));
        QStringList shown;
        QString object;
        combo.Browser()->Hooks().ExecMenu = [&](QMenu& menu, const QPoint&) -> QAction* {
            for (QAction* action : menu.actions())
                if (!action->isSeparator())
                    shown.append(action->text());
            object = combo.Browser()->GetObjectName();
            return nullptr;
        };
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QCoreApplication::sendEvent(&combo, &event);
        QVERIFY(shown.contains(QStringLiteral("&Open")));
        QVERIFY(shown.contains(QStringLiteral("P&roperties")));
        // The entry is the current object of its parent folder.
        QCOMPARE(object, QStringLiteral("one"));
        QCOMPARE(combo.Browser()->Folder(), m_home->Home() + QStringLiteral("/work/"));
    }

    void entriesAreIndentedByLevelInTheDropDownOnly() {
        TVelShellCombo combo;
        Load(combo);
        combo.SelectPath(m_home->Home() + QStringLiteral("/work/one"));
        const int selected = combo.currentIndex();
        const int level = combo.Entry(selected)->level;
        QVERIFY(level >= 3);
        // Where the icon begins: the first column with a painted pixel.
        const auto firstInk = [&combo, selected](bool indent) {
            QImage image(400, 18, QImage::Format_ARGB32);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                combo.DrawEntry(painter, image.rect(), selected, false, indent);
            }
            const QRgb background = image.pixel(0, 0);
            for (int x = 0; x < image.width(); ++x)
                for (int y = 0; y < image.height(); ++y)
                    if (image.pixel(x, y) != background)
                        return x;
            return -1;
        };
        const int plain = firstInk(false);
        const int indented = firstInk(true);
        QVERIFY(plain >= 0);
        QCOMPARE(indented - plain, level * 10);
    }

private:
    std::unique_ptr<ShellTestHome> m_home;
};

QTEST_MAIN(ShellComboTest)
#include "shell_combo_test.moc"
