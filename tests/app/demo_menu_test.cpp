// The about menu's "Demo of Pathwright Components": the demo window is made on first use, owned by the
// workbench window, shown without blocking, and the same window with its state comes back every time.
#include "shell/controls/shell_tree.h"
#include "shell/demo/shell_form.h"
#include "shell_core/shell_test_home.h"
#include "workbench_fixture.h"

#include <QTest>

using namespace wordloom;
using namespace wordloom::testing;
using namespace wordloom::shell;

class DemoMenuTest : public QObject {
    Q_OBJECT
private slots:
    void demoWindowIsMadeOnceAndShownWithoutBlocking() {
        ShellTestHome home;
        home.MakeDir(QStringLiteral("home/Projects"));
        WorkFolder folder;
        Workbench bench;
        bench.Show();
        QAction* entry = bench.form.Ui().demoofPathwrightComponents1;
        QVERIFY(entry);
        QCOMPARE(entry->text(), QStringLiteral("Demo of Pathwright Components"));
        QVERIFY(!bench.form.findChild<TShellForm*>());

        entry->trigger(); // returns: the window does not block
        auto* demo = bench.form.findChild<TShellForm*>();
        QVERIFY(demo);
        QCOMPARE(demo->parentWidget(), &bench.form);
        QVERIFY(demo->isWindow());
        QVERIFY(demo->isVisible());
        QVERIFY(!demo->isModal());
        QCOMPARE(demo->ShellTree()->SelectedFolder(), home.Home() + u'/');

        // Its state survives closing and opening again.
        demo->ShellTree()->SetSelectedFolder(home.Home() + QStringLiteral("/Projects"));
        demo->close();
        QVERIFY(!demo->isVisible());
        entry->trigger();
        QCOMPARE(bench.form.findChildren<TShellForm*>().size(), 1);
        QCOMPARE(bench.form.findChild<TShellForm*>(), demo);
        QVERIFY(demo->isVisible());
        QCOMPARE(demo->ShellTree()->SelectedFolder(), home.Home() + QStringLiteral("/Projects/"));
    }
};

QTEST_MAIN(DemoMenuTest)
#include "demo_menu_test.moc"
