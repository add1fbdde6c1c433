// The workbench on a team table shared with another user: the other's posts appear in the grid
// on their own, without moving the cell or closing an open editor; two posts of the same record
// ask which text stays; a server that goes away leaves the typed edit marked in the grid, and it
// is posted when the server is back. The test runs its own throwaway server, so it can stop it.
#include "app/main_form.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "dialogs/adv_status_bar.h"
#include "dialogs/conflict_dlg.h"
#include "strings_db/postgres_backend.h"
#include "strings_db/strings_table.h"
#include "workbench_fixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

/// scripts/pg-cluster.sh: start prints the address; null when it failed (with the reason).
QString Cluster(const QString& action, const QString& dir, QString* failure = nullptr) {
    QProcess script;
    script.start(QStringLiteral(WORDLOOM_SOURCE_DIR "/scripts/pg-cluster.sh"), {action, dir});
    script.waitForFinished(120000);
    if (script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0) {
        if (failure) {
            *failure = QString::fromLocal8Bit(script.readAllStandardError());
        }
        return {};
    }
    const QString said = QString::fromUtf8(script.readAllStandardOutput()).trimmed();
    return said.isEmpty() ? QStringLiteral("done") : said;
}

/// The German text of the record whose English text is `english`, as the server holds it now.
std::string StoredGerman(const std::string& address, const std::string& english) {
    StringsTable table(address, OpenMode::ReadOnly);
    table.SetIndexFieldNames("English");
    return table.FindKey(english) ? table.FieldAsString("German") : std::string("(missing)");
}

/// Another user's post: `english`'s German text becomes `german`.
void PostAsBob(const std::string& address, const std::string& english, const std::string& german) {
    StringsTable bob(address);
    bob.SetIndexFieldNames("English");
    QVERIFY(bob.FindKey(english));
    bob.Edit();
    bob.SetField("German", german);
    bob.Post();
}

int RowOf(const QAbstractItemModel* model, const QString& english) {
    return static_cast<int>(GridColumn(model, 0).indexOf(english));
}

} // namespace

class LiveTableTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_server{QStringLiteral("/tmp/wl-live-XXXXXX")};
    std::string m_address;

    /// A window on the shared table holding Open and Save, the current cell on Save's German.
    struct Window {
        WorkFolder folder{false};
        Workbench bench;
        StringsGrid* grid() { return bench.form.Ui().dbGrid; }
        StringsGridModel* model() { return bench.form.GridModel(); }
        QString Status() {
            TAdvStatusBar* bar = bench.form.Ui().statusBar;
            return bar->PanelText(bar->PanelCount() - 1);
        }
    };
    std::unique_ptr<Window> Open() {
        {
            StringsTable setup(m_address);
            setup.SetFiltered(false);
            setup.SetIndexFieldNames("English");
            while (setup.RecordCount() > 0) {
                setup.First();
                setup.Delete();
            }
            AddRecords(setup, {{"Open", "Öffnen"}, {"Save", "Speichern"}});
        }
        auto window = std::make_unique<Window>();
        window->bench.form.SetTablePath(QString::fromStdString(m_address));
        window->bench.Show();
        const int save = RowOf(window->model(), QStringLiteral("Save"));
        window->grid()->setCurrentIndex(window->model()->index(save, 1));
        return window;
    }

private slots:
    void initTestCase() {
        QString failure;
        const QString address = Cluster(QStringLiteral("start"), m_server.path(), &failure);
        if (address.isEmpty()) {
            QSKIP(qPrintable(QStringLiteral("no PostgreSQL server can be started here: ") + failure));
        }
        m_address = address.toStdString();
        CreatePostgresTable(m_address);
    }

    void cleanupTestCase() {
        if (!m_address.empty()) {
            Cluster(QStringLiteral("stop"), m_server.path());
        }
    }

    void othersPostsAppearWithoutMovingTheCellOrClosingAnEditor() {
        auto window = Open();
        StringsGridModel* model = window->model();
        PostAsBob(m_address, "Open", "Aufmachen");
        QTRY_COMPARE(GridColumn(model, 1).at(RowOf(model, QStringLiteral("Open"))),
                     QStringLiteral("Aufmachen"));
        QCOMPARE(window->grid()->currentIndex().row(), RowOf(model, QStringLiteral("Save")));
        QCOMPARE(window->grid()->currentIndex().column(), 1);

        // An open editor keeps what was typed while another post arrives.
        window->grid()->edit(window->grid()->currentIndex());
        auto* editor = window->grid()->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        editor->setText(QStringLiteral("Sichern"));
        PostAsBob(m_address, "Open", "Auf");
        QTest::qWait(1500); // several of the watch's ticks: none may reset the grid now
        QVERIFY(window->grid()->Editing());
        QCOMPARE(editor->text(), QStringLiteral("Sichern"));
        QCOMPARE(GridColumn(model, 1).at(RowOf(model, QStringLiteral("Open"))), QStringLiteral("Aufmachen"));

        // The edit is posted on leaving the row; then the waiting change is shown.
        QAbstractItemDelegate* delegate =
            window->grid()->itemDelegateForIndex(window->grid()->currentIndex());
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor);
        QCOMPARE(window->bench.form.StringTable()->FieldAsString("German"), std::string("Sichern"));
        model->MoveTo(RowOf(model, QStringLiteral("Open")));
        QCOMPARE(StoredGerman(m_address, "Save"), std::string("Sichern"));
        QTRY_COMPARE(GridColumn(model, 1).at(RowOf(model, QStringLiteral("Open"))), QStringLiteral("Auf"));
        QCOMPARE(GridColumn(model, 1).at(RowOf(model, QStringLiteral("Save"))), QStringLiteral("Sichern"));
    }

    void aConflictingPostAsksWhichTextStays() {
        auto window = Open();
        StringsGridModel* model = window->model();
        const int save = RowOf(model, QStringLiteral("Save"));
        const int open = RowOf(model, QStringLiteral("Open"));
        QString shownTheirs;
        QString shownMine;
        const auto choose = [&](const char* button) {
            WhenModal<TConflictDlg>([&, button](TConflictDlg* dialog) {
                shownTheirs =
                    dialog->findChild<QPlainTextEdit*>(QStringLiteral("TheirsGerman"))->toPlainText();
                shownMine = dialog->findChild<QPlainTextEdit*>(QStringLiteral("MineGerman"))->toPlainText();
                dialog->findChild<QPushButton*>(QString::fromLatin1(button))->click();
            });
        };

        // Keep mine: posted over theirs.
        QVERIFY(model->setData(model->index(save, 1), QStringLiteral("Sichern")));
        PostAsBob(m_address, "Save", "Bobs Speichern");
        choose("KeepMine");
        model->MoveTo(open);
        QCOMPARE(shownTheirs, QStringLiteral("Bobs Speichern"));
        QCOMPARE(shownMine, QStringLiteral("Sichern"));
        QCOMPARE(StoredGerman(m_address, "Save"), std::string("Sichern"));
        QCOMPARE(GridColumn(model, 1).at(RowOf(model, QStringLiteral("Save"))), QStringLiteral("Sichern"));

        // Take theirs: mine is dropped, theirs shown; the table was not written by this window.
        QVERIFY(
            model->setData(model->index(RowOf(model, QStringLiteral("Save")), 1), QStringLiteral("Ablegen")));
        PostAsBob(m_address, "Save", "Bobs zweites");
        choose("TakeTheirs");
        model->MoveTo(RowOf(model, QStringLiteral("Open")));
        QCOMPARE(shownMine, QStringLiteral("Ablegen"));
        QCOMPARE(StoredGerman(m_address, "Save"), std::string("Bobs zweites"));
        QCOMPARE(GridColumn(model, 1).at(RowOf(model, QStringLiteral("Save"))),
                 QStringLiteral("Bobs zweites"));
        QCOMPARE(window->bench.form.StringTable()->State(), TableState::Browse);
    }

    void anEditTheServerCannotTakeWaitsMarkedAndIsPostedWhenItIsBack() {
        auto window = Open();
        StringsGridModel* model = window->model();
        const int save = RowOf(model, QStringLiteral("Save"));
        QVERIFY(model->setData(model->index(save, 1), QStringLiteral("Sichern")));
        QVERIFY(!Cluster(QStringLiteral("stop"), m_server.path()).isNull());
        QTRY_VERIFY(window->Status().contains(QStringLiteral("cannot be reached")));
        {
            BoxAnswerer answerer; // the failed post is reported
            window->grid()->setCurrentIndex(model->index(RowOf(model, QStringLiteral("Open")), 1));
            QVERIFY(answerer.seen.size() == 1);
        }
        QVERIFY(model->Unsaved());
        QCOMPARE(model->CurrentRow(), save); // the grid stays on the typed record
        QCOMPARE(model->index(save, 1).data().toString(), QStringLiteral("Sichern"));
        QCOMPARE(model->headerData(save, Qt::Vertical, Qt::ToolTipRole).toString(),
                 QStringLiteral("Not saved: the server cannot be reached"));

        QVERIFY(!Cluster(QStringLiteral("start"), m_server.path()).isEmpty());
        QTRY_VERIFY(!model->Unsaved());
        QCOMPARE(StoredGerman(m_address, "Save"), std::string("Sichern"));
        QVERIFY(window->Status().contains(QStringLiteral("back")));
        QVERIFY(!model->headerData(save, Qt::Vertical, Qt::ToolTipRole)
                     .toString()
                     .contains(QStringLiteral("Not saved")));
    }
};

QTEST_MAIN(LiveTableTest)
#include "live_table_test.moc"
