// TShellForm loaded from its shipped form file on a temporary home: the layout, the three controls on
// one folder, the link between them, the tool bar and menu handlers. With WORDLOOM_SCREENSHOT_DIR set,
// the window is saved there as shell_form.png.
#include "shell/controls/shell_combo.h"
#include "shell/controls/shell_list.h"
#include "shell/controls/shell_tree.h"
#include "shell/demo/form_controls.h"
#include "shell/demo/shell_form.h"
#include "shell/forms/form_reader.h"
#include "shell_core/shell_test_home.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace wordloom::shell;

namespace {

QString EntryPath(TVelShellCombo* combo) {
    const std::optional<TVelComboItem> item = combo->Entry(combo->currentIndex());
    if (!item || !item->idList)
        return QString();
    return QFile::decodeName(PathFromIDList(*item->idList));
}

TSpeedButton* Button(TShellForm& form, const char* name) {
    return form.findChild<TSpeedButton*>(QString::fromLatin1(name));
}

QAction* MenuAction(TShellForm& form, const char* name) {
    auto* item = form.findChild<TMenuItem*>(QString::fromLatin1(name));
    return item ? item->Action() : nullptr;
}

} // namespace

class ShellFormTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_home = std::make_unique<ShellTestHome>();
        m_home->MakeDir(QStringLiteral("home/Projects/alpha"));
        m_home->MakeDir(QStringLiteral("home/Projects/beta"));
        m_home->MakeFile(QStringLiteral("home/notes.txt"), "some notes");
        m_home->MakeFile(QStringLiteral("home/Projects/alpha/main.pas"), "unit Main;");
    }
    void cleanup() { m_home.reset(); }

    void formTextNamesTheStartFolder() {
        const std::string text = TShellForm::FormText(QStringLiteral("/srv/it's/x"));
        QVERIFY(text.find("SelectedFolder = '/srv/it''s/x/'") != std::string::npos);
        QVERIFY(text.find("Path = '/srv/it''s/x/'") != std::string::npos);
        QVERIFY(text.find("$HOME") == std::string::npos);
        const std::string wide = TShellForm::FormText(QString::fromUtf8("/tmp/Gr\u00f6\u00dfe"));
        QVERIFY(wide.find("'/tmp/Gr'#246#223'e/'") != std::string::npos);
    }

    // The enumerated properties go back out with the same identifiers the form file gives them.
    void enumeratedPropertiesWriteTheirFormTexts() {
        TShellForm form(nullptr, m_home->Home());
        const std::string text = WriteFormText(&form);
        for (const char* expected : {"Align = alTop", "Align = alLeft", "Align = alClient",
                                     "Align = alBottom", "DragMode = dmAutomatic", "BevelInner = bvRaised",
                                     "BevelOuter = bvLowered", "Layout = blGlyphRight"})
            QVERIFY2(text.find(expected) != std::string::npos, expected);
    }

    // A special-folder kind goes back out as the identifier a form file gives it.
    void rootedAtWritesItsFormText() {
        TShellForm form(nullptr, m_home->Home());
        QVERIFY(WriteFormText(&form).find("RootedAt = SF_DESKTOP\r\n") != std::string::npos);
        form.ShellTree()->SetRootedAt(SF_DRIVES);
        QVERIFY(WriteFormText(&form).find("RootedAt = SF_DRIVES\r\n") != std::string::npos);
    }

    void loadsTheLayoutFromTheFormFile() {
        TShellForm form(nullptr, m_home->Home());
        QCOMPARE(form.windowTitle(), QStringLiteral("Demo for Pathwright Components"));
        QCOMPARE(form.size(), QSize(572, 451));
        QCOMPARE(form.pos(), QPoint(193, 106));
        QVERIFY(form.ShellTree());
        QVERIFY(form.ShellListView());
        QVERIFY(form.VelShellCombo1());
        QVERIFY(form.VelShellLink());
        // All three on the one link.
        QCOMPARE(form.ShellTree()->ShellLink(), form.VelShellLink());
        QCOMPARE(form.ShellListView()->ShellLink(), form.VelShellLink());
        QCOMPARE(form.VelShellCombo1()->ShellLink(), form.VelShellLink());
        QCOMPARE(form.VelShellLink()->Controls().size(), 3);
        // Settings the form file gives.
        QCOMPARE(form.ShellTree()->RootedAt(), SF_DESKTOP);
        QVERIFY(form.ShellTree()->OleDragDrop());
        QVERIFY(!form.ShellTree()->ShowRoot());
        QCOMPARE(form.ShellTree()->indentation(), 19);
        QVERIFY(form.ShellTree()->PopupMenu());
        QCOMPARE(form.ShellListView()->BackgroundPopupMenu(), form.ShellTree()->PopupMenu());
        QCOMPARE(form.ShellListView()->ViewStyle(), TVelShellList::TViewStyle::vsReport);
        QVERIFY(form.ShellListView()->OnOperation.Assigned());
        QVERIFY(form.ShellListView()->OnContextMenuSelect().Assigned());
        QCOMPARE(form.VelShellCombo1()->ItemHeight(), 16);
        // The menus.
        QCOMPARE(form.MenuBar()->actions().size(), 2);
        QCOMPARE(form.MenuBar()->actions()[0]->text(), QStringLiteral("&File"));
        QCOMPARE(form.MenuBar()->actions()[1]->text(), QStringLiteral("&Help"));
        QCOMPARE(MenuAction(form, "FullExpand1")->text(), QStringLiteral("Full &Expand"));
        QCOMPARE(MenuAction(form, "FullCollapse1")->text(), QStringLiteral("Full &Collapse"));
        QCOMPARE(form.HomePage(), QStringLiteral("https://www.wordloom.example/pathwright/"));

        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCoreApplication::processEvents();
        // Panel on top, status bar at the bottom, tree left of the splitter, list in the rest.
        auto* panel = form.findChild<TPanel*>(QStringLiteral("Panel1"));
        auto* status = form.StatusBar1();
        auto* splitter = form.findChild<TSplitter*>(QStringLiteral("Splitter1"));
        const int barBottom = form.MenuBar()->geometry().bottom() + 1;
        QCOMPARE(panel->geometry(), QRect(0, barBottom, 572, 30));
        QCOMPARE(status->geometry(), QRect(0, 451 - 20, 572, 20));
        QCOMPARE(form.ShellTree()->geometry(), QRect(0, barBottom + 30, 181, 451 - 20 - barBottom - 30));
        QCOMPARE(splitter->geometry().left(), 181);
        QCOMPARE(form.ShellListView()->geometry().left(), 185);
        QCOMPARE(form.ShellListView()->geometry().right(), 571);
        QCOMPARE(form.VelShellCombo1()->geometry(), QRect(6, 4, 166, 22));

        // Dragging the splitter widens the tree and narrows the list.
        splitter->MoveBy(40);
        QCOMPARE(form.ShellTree()->width(), 221);
        QCOMPARE(form.ShellListView()->geometry().left(), 225);

        if (const QByteArray dir = qgetenv("WORDLOOM_SCREENSHOT_DIR"); !dir.isEmpty()) {
            splitter->MoveBy(-40);
            form.ShellListView()->SetSelected(0, true);
            QVERIFY(form.grab().save(QFile::decodeName(dir) + QStringLiteral("/shell_form.png")));
            form.VelShellCombo1()->showPopup();
            QCoreApplication::processEvents();
            QWidget* popup = form.VelShellCombo1()->view()->window();
            QVERIFY(popup->grab().save(QFile::decodeName(dir) + QStringLiteral("/shell_combo_popup.png")));
            form.VelShellCombo1()->hidePopup();
        }
    }

    void allThreeShowTheStartFolder() {
        TShellForm form(nullptr, m_home->Home());
        const QString home = m_home->Home() + u'/';
        QCOMPARE(form.ShellTree()->SelectedFolder(), home);
        QCOMPARE(form.ShellListView()->Path(), home);
        QCOMPARE(EntryPath(form.VelShellCombo1()), m_home->Home());
        QCOMPARE(form.VelShellCombo1()->currentText(), QStringLiteral("home"));
        QVERIFY(!form.VelShellCombo1()->Entry(form.VelShellCombo1()->currentIndex())->permanent);
        QStringList captions;
        for (int i = 0; i < form.ShellListView()->ItemCount(); ++i)
            captions.append(form.ShellListView()->ItemCaption(i));
        QVERIFY(captions.contains(QStringLiteral("Projects")));
        QVERIFY(captions.contains(QStringLiteral("notes.txt")));
    }

    void aTreeClickMovesListAndComboAfterTheClickDelay() {
        TShellForm form(nullptr, m_home->Home());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TVelShellTree* tree = form.ShellTree();
        tree->NotifyDelays().click = 10;
        TVelShellTreeNode* home = tree->Selected();
        tree->ExpandNode(home);
        TVelShellTreeNode* projects = TVelShellTree::ChildByText(home, QStringLiteral("Projects"));
        QVERIFY(projects);
        tree->scrollToItem(projects);
        // Deep nodes lie to the right: scroll so that the node's text is in view.
        QScrollBar* sideways = tree->horizontalScrollBar();
        sideways->setValue(sideways->value() + tree->visualItemRect(projects).left() - 5);
        const QRect rect = tree->visualItemRect(projects);
        const QPoint point(rect.left() + 10, rect.center().y());
        QVERIFY(tree->viewport()->rect().contains(point));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(tree->Selected(), projects);
        // Not at once: only after the click delay.
        QCOMPARE(form.ShellListView()->Path(), m_home->Home() + u'/');
        QTRY_COMPARE(form.ShellListView()->Path(), m_home->Home() + QStringLiteral("/Projects/"));
        QCOMPARE(EntryPath(form.VelShellCombo1()), m_home->Home() + QStringLiteral("/Projects"));

        // A folder opened in the list selects its node in the tree and its entry in the combo box at once.
        TVelShellList* list = form.ShellListView();
        int alpha = -1;
        for (int i = 0; i < list->ItemCount(); ++i)
            if (list->ItemCaption(i) == QLatin1String("alpha"))
                alpha = i;
        QVERIFY(alpha >= 0);
        list->SetSelected(alpha, true);
        QVERIFY(list->ExecuteCommand(QStringLiteral("open")));
        QCOMPARE(tree->SelectedFolder(), m_home->Home() + QStringLiteral("/Projects/alpha/"));
        QCOMPARE(EntryPath(form.VelShellCombo1()), m_home->Home() + QStringLiteral("/Projects/alpha"));

        // The parent button goes up one folder; the list follows after the click delay.
        Button(form, "ParentButton")->click();
        QCOMPARE(tree->SelectedFolder(), m_home->Home() + QStringLiteral("/Projects/"));
        QTRY_COMPARE(list->Path(), m_home->Home() + QStringLiteral("/Projects/"));
    }

    void viewButtonsAreARadioGroup() {
        TShellForm form(nullptr, m_home->Home());
        TSpeedButton* report = Button(form, "SpeedButton4");
        TSpeedButton* small = Button(form, "SpeedButton2");
        QVERIFY(report->Down());
        QVERIFY(!small->Down());
        small->click();
        QCOMPARE(form.ShellListView()->ViewStyle(), TVelShellList::TViewStyle::vsSmallIcon);
        QVERIFY(small->Down());
        QVERIFY(!report->Down());
        // Clicking the down button again keeps it down.
        small->click();
        QVERIFY(small->Down());
        Button(form, "SpeedButton1")->click();
        QCOMPARE(form.ShellListView()->ViewStyle(), TVelShellList::TViewStyle::vsIcon);
        Button(form, "SpeedButton3")->click();
        QCOMPARE(form.ShellListView()->ViewStyle(), TVelShellList::TViewStyle::vsList);
        report->click();
        QCOMPARE(form.ShellListView()->ViewStyle(), TVelShellList::TViewStyle::vsReport);
    }

    void networkButtonShowsTheNodePath() {
        TShellForm form(nullptr, m_home->Home());
        QStringList messages;
        form.UiHooks().Message = [&messages](QWidget*, const QString& text) { messages.append(text); };
        Button(form, "SpeedButton5")->click();
        QCOMPARE(messages, QStringList{m_home->Home()});
        // My Computer has no path: an empty message.
        form.ShellTree()->SetSpecialFolder(SF_DRIVES);
        Button(form, "SpeedButton5")->click();
        QCOMPARE(messages.last(), QString());
        // A volume root keeps its "/".
        form.ShellTree()->SetSelectedFolder(QStringLiteral("/"));
        Button(form, "SpeedButton5")->click();
        QCOMPARE(messages.last(), QStringLiteral("/"));
    }

    void aboutStatusBarAndExit() {
        TShellForm form(nullptr, m_home->Home());
        QString caption;
        QString text;
        form.UiHooks().About = [&](QWidget*, const QString& c, const QString& t) {
            caption = c;
            text = t;
        };
        QList<QUrl> opened;
        form.UiHooks().OpenUrl = [&opened](const QUrl& url) {
            opened.append(url);
            return true;
        };
        MenuAction(form, "About1")->trigger();
        QCOMPARE(caption, QStringLiteral("About Advanced Sample for Pathwright components"));
        QCOMPARE(text, QStringLiteral("Advanced Sample for Pathwright components\nAdvanced sample for "
                                      "TPathwright\nMore info at: https://www.wordloom.example/pathwright/"));
        QTest::mouseClick(form.StatusBar1(), Qt::LeftButton, {}, QPoint(20, 10));
        QTest::mouseDClick(form.StatusBar1(), Qt::LeftButton, {}, QPoint(20, 10));
        QVERIFY(opened.size() >= 2);
        QCOMPARE(opened.front(), QUrl(QStringLiteral("https://www.wordloom.example/pathwright/")));
        form.show();
        QVERIFY(form.isVisible());
        MenuAction(form, "Exit1")->trigger();
        QVERIFY(!form.isVisible());
    }

    void fullExpandAndCollapseActOnTheSelectedNode() {
        TShellForm form(nullptr, m_home->Home());
        TVelShellTree* tree = form.ShellTree();
        tree->SetSelectedFolder(m_home->Home() + QStringLiteral("/Projects/"));
        TVelShellTreeNode* projects = tree->Selected();
        QVERIFY(!projects->isExpanded());
        MenuAction(form, "FullExpand1")->trigger();
        QVERIFY(projects->isExpanded());
        TVelShellTreeNode* alpha = TVelShellTree::ChildByText(projects, QStringLiteral("alpha"));
        QVERIFY(alpha);
        QVERIFY(alpha->isExpanded());
        MenuAction(form, "FullCollapse1")->trigger();
        QVERIFY(!projects->isExpanded());
        QVERIFY(!alpha->isExpanded());
    }

    void contextMenusCarryTheTreePopup() {
        TShellForm form(nullptr, m_home->Home());
        TVelShellTree* tree = form.ShellTree();
        tree->SetSelectedFolder(m_home->Home() + QStringLiteral("/Projects/"));
        TVelShellTreeNode* projects = tree->Selected();
        QStringList shown;
        // The tree's shell menu: the shell's commands, then the pop-up's; picking "Full Expand" runs it.
        tree->Browser()->Hooks().ExecMenu = [&shown](QMenu& menu, const QPoint&) -> QAction* {
            QAction* expand = nullptr;
            for (QAction* action : menu.actions()) {
                shown.append(action->isSeparator() ? QStringLiteral("-") : action->text());
                if (action->text() == QLatin1String("Full &Expand"))
                    expand = action;
            }
            if (expand)
                expand->trigger();
            return expand;
        };
        QString verb;
        tree->ShowNodeMenu(QPoint(10, 10), verb);
        QVERIFY(shown.size() > 3);
        QCOMPARE(shown.front(), QStringLiteral("&Open"));
        QVERIFY(shown.contains(QStringLiteral("&Delete")));
        // The form's items set apart from the shell's.
        QCOMPARE(shown.mid(shown.size() - 4),
                 (QStringList{QStringLiteral("P&roperties"), QStringLiteral("-"),
                              QStringLiteral("Full &Expand"), QStringLiteral("Full &Collapse")}));
        QVERIFY(projects->isExpanded());
        QVERIFY(TVelShellTree::ChildByText(projects, QStringLiteral("alpha"))->isExpanded());
        QCOMPARE(verb, QString());

        // The list's background menu is the same pop-up and acts on the tree's node.
        QStringList background;
        form.ShellListView()->ControlHooks().ExecMenu = [&background](QMenu& menu,
                                                                      const QPoint&) -> QAction* {
            for (QAction* action : menu.actions())
                background.append(action->text());
            QAction* collapse = menu.actions().value(1);
            if (collapse)
                collapse->trigger();
            return collapse;
        };
        QVERIFY(form.ShellListView()->ShowBackgroundMenu(QPoint(10, 10)));
        QCOMPARE(background, (QStringList{QStringLiteral("Full &Expand"), QStringLiteral("Full &Collapse")}));
        QVERIFY(!projects->isExpanded());
    }

    void deleteButtonActsOnTheFocusedControl() {
        TShellForm form(nullptr, m_home->Home());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.ShellTree()->Browser()->Hooks().Confirm = [](QWidget*, const QString&, const QString&) {
            return true;
        };
        form.ShellTree()->SetSelectedFolder(m_home->Home() + QStringLiteral("/Projects/beta/"));
        // Nothing has the focus: nothing happens.
        QApplication::setActiveWindow(&form);
        form.setFocus();
        Button(form, "DeleteButton")->click();
        QVERIFY(QFileInfo::exists(m_home->Home() + QStringLiteral("/Projects/beta")));
        form.ShellTree()->setFocus();
        QTRY_VERIFY(form.ShellTree()->hasFocus());
        Button(form, "DeleteButton")->click();
        QVERIFY(!QFileInfo::exists(m_home->Home() + QStringLiteral("/Projects/beta")));
        // The node went with its folder; the list followed the new selection at once.
        QVERIFY(form.ShellTree()->SelectedFolder().startsWith(m_home->Home() + QStringLiteral("/Projects/")));
        QVERIFY(!form.ShellTree()->SelectedFolder().contains(QStringLiteral("beta")));
        QCOMPARE(form.ShellListView()->Path(), form.ShellTree()->SelectedFolder());
    }

private:
    std::unique_ptr<ShellTestHome> m_home;
};

QTEST_MAIN(ShellFormTest)
#include "shell_form_test.moc"
