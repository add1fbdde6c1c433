// The session's undo stack: a posted cell edit, an insert, a delete and Delete Empty Strings are
// undone with Ctrl+Z and redone with Ctrl+Shift+Z, landing on their records whatever the grid's
// order or filter at that moment.
#include "app/main_form.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "strings_db/strings_table.h"
#include "workbench_fixture.h"

#include "app/full_text_panel.h"
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

struct UndoBench {
    explicit UndoBench(std::initializer_list<TextRecord> records) {
        bench.Show();
        AddRecords(table(), records);
        model()->Reload();
    }
    const MainFormUi& ui() const { return bench.form.Ui(); }
    StringsGridModel* model() const { return bench.form.GridModel(); }
    StringsGrid* grid() const { return ui().dbGrid; }
    StringsTable& table() const { return *bench.form.StringTable(); }
    /// The keys as the user presses them, in the grid of the active window.
    void Undo() { Press(Qt::ControlModifier); }
    void Redo() { Press(Qt::ControlModifier | Qt::ShiftModifier); }
    void Press(Qt::KeyboardModifiers modifiers) {
        bench.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&bench.form));
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_Z, modifiers);
    }
    QStringList Shown(int column) const { return GridColumn(model(), column); }

    Workbench bench;
};

} // namespace

class UndoTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Wordloom")); }

    void undoAfterAPostRestoresTheRecordAndRedoAppliesItAgain() {
        WorkFolder folder;
        UndoBench f({{"Close", ""}, {"Open", "Auf"}, {"Save", ""}});
        f.bench.form.activateWindow();
        f.grid()->setFocus();
        QVERIFY(!f.ui().undoAction->isEnabled());
        const QModelIndex open = f.model()->index(1, 1);
        f.grid()->setCurrentIndex(open);
        QVERIFY(f.model()->setData(open, QStringLiteral("Öffnen")));
        f.grid()->setCurrentIndex(f.model()->index(2, 1)); // leaving the row posts
        QCOMPARE(f.Shown(1), Texts({"", "Öffnen", ""}));
        QVERIFY(f.ui().undoAction->isEnabled());
        // Ordered otherwise meanwhile: the undo still finds the record.
        f.table().SetIndexName("German2");
        f.model()->Reload();
        f.Undo();
        f.table().SetIndexName("English2");
        f.model()->Reload();
        QCOMPARE(f.Shown(1), Texts({"", "Auf", ""}));
        QVERIFY(f.ui().redoAction->isEnabled());
        f.Redo();
        QCOMPARE(f.Shown(1), Texts({"", "Öffnen", ""}));
        QCOMPARE(f.bench.form.UndoStack()->count(), 1);
    }

    void undoOfARecordChangedSinceSaysSoAndKeepsBoth() {
        WorkFolder folder;
        UndoBench f({{"Close", ""}, {"Open", ""}});
        const QModelIndex open = f.model()->index(1, 1);
        f.grid()->setCurrentIndex(open);
        QVERIFY(f.model()->setData(open, QStringLiteral("Öffnen")));
        f.model()->Post();
        // Another program (or a command) changes the record behind the grid's back.
        f.table().SetRecNo(1);
        f.table().Edit();
        f.table().SetField("German", "Aufmachen");
        f.table().Post();
        BoxAnswerer boxes;
        f.Undo();
        QCOMPARE(boxes.seen.size(), 1);
        QCOMPARE(boxes.seen[0].icon, QMessageBox::Critical);
        QCOMPARE(f.Shown(1), Texts({"", "Aufmachen"}));
    }

    void insertAndDeleteAreUndone() {
        WorkFolder folder;
        UndoBench f({{"Close", "Schließen"}, {"Open", "Öffnen"}});
        f.grid()->setCurrentIndex(f.model()->index(1, 0));
        f.model()->Delete();
        QCOMPARE(f.Shown(0), Texts({"Close"}));
        f.Undo();
        QCOMPARE(f.Shown(0), Texts({"Close", "Open"}));
        QCOMPARE(f.Shown(1), Texts({"Schließen", "Öffnen"}));
        f.Redo();
        QCOMPARE(f.Shown(0), Texts({"Close"}));

        f.model()->Insert();
        QVERIFY(f.model()->setData(f.model()->index(0, 0), QStringLiteral("Add")));
        f.model()->Post();
        QCOMPARE(f.Shown(0), Texts({"Add", "Close"}));
        f.Undo();
        QCOMPARE(f.Shown(0), Texts({"Close"}));
        f.Undo();
        QCOMPARE(f.Shown(0), Texts({"Close", "Open"}));
    }

    void sourceColumnAsksOnceBeforeItsFirstEdit() {
        WorkFolder folder;
        UndoBench f({{"Close", ""}, {"Open", ""}});
        const auto editorOpens = [&](int row, int column) {
            f.grid()->setCurrentIndex(f.model()->index(row, column));
            f.grid()->edit(f.model()->index(row, column));
            QLineEdit* editor = nullptr;
            for (QLineEdit* child : f.grid()->viewport()->findChildren<QLineEdit*>()) {
                editor = child->isVisible() ? child : editor;
            }
            if (editor != nullptr) {
                QTest::keyClick(editor, Qt::Key_Escape);
            }
            return editor != nullptr;
        };
        {
            BoxAnswerer boxes({QMessageBox::Cancel});
            QVERIFY(editorOpens(1, 1)); // the translation asks nothing
            QCOMPARE(boxes.seen.size(), 0);
            QVERIFY(!editorOpens(0, 0));
            QCOMPARE(boxes.seen.size(), 1);
            QCOMPARE(boxes.seen[0].icon, QMessageBox::Warning);
            QVERIFY(boxes.seen[0].text.contains(QStringLiteral("English")));
        }
        {
            BoxAnswerer boxes({QMessageBox::Ok});
            QVERIFY(editorOpens(0, 0));
            QCOMPARE(boxes.seen.size(), 1);
        }
        BoxAnswerer boxes;
        QVERIFY(editorOpens(1, 0)); // once per session
        QCOMPARE(boxes.seen.size(), 0);
    }

    void fullTextPanelShowsLineBreaksAsLinesAndWritesThemBack() {
        WorkFolder folder;
        UndoBench f({{"Line one\r\nLine two", ""}, {"Open", ""}});
        f.ui().fullTextAction->trigger();
        QVERIFY(f.ui().fullText->isVisible());
        f.grid()->setCurrentIndex(f.model()->index(0, 0));
        QPlainTextEdit* editor = f.ui().fullText->Editor();
        QCOMPARE(editor->blockCount(), 2);
        QCOMPARE(editor->toPlainText(), QStringLiteral("Line one\nLine two"));
        f.grid()->setCurrentIndex(f.model()->index(0, 1));
        editor->setPlainText(QStringLiteral("Zeile eins\nZeile zwei"));
        f.ui().fullText->Apply();
        f.model()->Post();
        f.table().SetRecNo(0);
        QCOMPARE(QString::fromStdString(f.table().FieldAsString("German")),
                 QStringLiteral("Zeile eins\r\nZeile zwei"));
        f.Undo(); // the panel's edit is an edit like any other
        QCOMPARE(GridColumn(f.model(), 1), Texts({"", ""}));
    }

    void deleteEmptyStringsIsUndoneAsOneStep() {
        WorkFolder folder;
        UndoBench f({{"Close", ""}, {"Open", "Öffnen"}, {"Save", ""}, {"Quit", ""}});
        {
            BoxAnswerer boxes({QMessageBox::Ok});
            f.ui().deleteEmptyButton->click();
        }
        QCOMPARE(f.Shown(0), Texts({"Open"}));
        f.Undo();
        QCOMPARE(f.Shown(0), Texts({"Close", "Open", "Quit", "Save"}));
        QCOMPARE(f.table().RecordCount(), 4);
        f.Redo();
        QCOMPARE(f.Shown(0), Texts({"Open"}));
    }
};

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
