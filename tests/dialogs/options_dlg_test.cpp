// The options dialog as the user meets it: its lists, what a pick changes, what reopening shows.
#include "dialogs/charset_table.h"
#include "dialogs/options_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <array>

using namespace wordloom;

namespace {

/// Two grid columns with a character set each, as the grid model keeps them.
class FakeColumns : public ColumnCharsets {
public:
    int ColumnCharset(int column) const override { return sets.at(static_cast<std::size_t>(column)); }
    void SetColumnCharset(int column, int charset) override {
        sets.at(static_cast<std::size_t>(column)) = charset;
    }
    std::array<int, 2> sets{1, 1};
};

void Pick(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
    emit combo->activated(index); // what a pick from the list sends
}

} // namespace

class OptionsDlgTest : public QObject {
    Q_OBJECT
private slots:
    void listsHoldTheFifteenItemsInOrder() {
        TOptionsDlg dialog;
        const QStringList expected{QStringLiteral("Default Charset"),
                                   QStringLiteral("Japanese Charset"),
                                   QStringLiteral("Korean (Wansung)"),
                                   QStringLiteral("Korean (Johab)"),
                                   QStringLiteral("Chinese Charset (Simplified)"),
                                   QStringLiteral("Chinese Charset (Traditional)"),
                                   QStringLiteral("Greek Charset"),
                                   QStringLiteral("Turkish Charset"),
                                   QStringLiteral("Vietnamese"),
                                   QStringLiteral("Hebrew Charset"),
                                   QStringLiteral("Ararbic Charset"),
                                   QStringLiteral("Baltic Charset"),
                                   QStringLiteral("Russian Charset"),
                                   QStringLiteral("Thai"),
                                   QStringLiteral("Eastern Europe Charset")};
        for (QComboBox* combo : {dialog.CharSetCombo1(), dialog.CharSetCombo2()}) {
            QStringList items;
            for (int i = 0; i < combo->count(); ++i) {
                items << combo->itemText(i);
            }
            QCOMPARE(items, expected);
            QVERIFY(!combo->isEditable());
        }
        const std::array<int, 15> sets{1,   128, 129, 130, 134, 136, 161, 162,
                                       163, 177, 178, 186, 204, 222, 238};
        for (std::size_t i = 0; i < sets.size(); ++i) {
            QCOMPARE(CharsetTable[i].charset, sets[i]);
        }
    }

    void dialogLooksAsDesigned() {
        TOptionsDlg dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Dialog"));
        QCOMPARE(dialog.size(), QSize(313, 213));
        QVERIFY(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!dialog.isModal());
        QCOMPARE(dialog.OKBtn()->text(), QStringLiteral("Close"));
        QVERIFY(dialog.OKBtn()->isDefault());
        QCOMPARE(dialog.CharSetCombo1()->geometry().topLeft(), QPoint(145, 25));
        QCOMPARE(dialog.CharSetCombo2()->geometry().topLeft(), QPoint(145, 57));
        QCOMPARE(dialog.CharSetCombo1()->width(), 145);
        // Below the bevel: how translated forms are stored, not ticked unless set.
        QVERIFY(!dialog.KeepTextForms());
        QVERIFY(dialog.KeepTextFormsBox()->geometry().top() >= 8 + 89);
        QVERIFY(dialog.EditorCommandEdit()->geometry().top() >=
                dialog.KeepTextFormsBox()->geometry().bottom());
        QVERIFY(dialog.OKBtn()->geometry().top() >= dialog.EditorCommandEdit()->geometry().bottom());
        QSignalSpy changed(&dialog, &TOptionsDlg::KeepTextFormsChanged);
        dialog.KeepTextFormsBox()->click();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toBool(), true);
        QVERIFY(dialog.KeepTextForms());
        dialog.SetKeepTextForms(false); // set from the stored setting: no signal
        QCOMPARE(changed.count(), 1);
    }

    void firstOpeningShowsDefaultCharsetInBothLists() {
        FakeColumns columns;
        TOptionsDlg dialog;
        dialog.SetColumns(&columns);
        dialog.ShowNonModal();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.CharSetCombo1()->currentText(), QStringLiteral("Default Charset"));
        QCOMPARE(dialog.CharSetCombo2()->currentText(), QStringLiteral("Default Charset"));
    }

    void pickingRussianSetsTheRightColumnAndSurvivesReopening() {
        FakeColumns columns;
        TOptionsDlg dialog;
        dialog.SetColumns(&columns);
        dialog.ShowNonModal();
        Pick(dialog.CharSetCombo2(), QStringLiteral("Russian Charset"));
        QCOMPARE(columns.sets[1], 204);
        QCOMPARE(columns.sets[0], 1);
        QTest::mouseClick(dialog.OKBtn(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        dialog.CharSetCombo2()->setCurrentIndex(0); // whatever the list showed, reopening reads the column
        dialog.ShowNonModal();
        QCOMPARE(dialog.CharSetCombo2()->currentText(), QStringLiteral("Russian Charset"));
    }

    void charsetOutsideTheTableKeepsTheSelection() {
        FakeColumns columns;
        TOptionsDlg dialog;
        dialog.SetColumns(&columns);
        dialog.ShowNonModal();
        dialog.close();
        columns.sets[0] = 77; // no entry has it
        dialog.ShowNonModal();
        QCOMPARE(dialog.CharSetCombo1()->currentText(), QStringLiteral("Default Charset"));
    }

    void showingAgainWhileOpenKeepsOneDialog() {
        FakeColumns columns;
        TOptionsDlg dialog;
        dialog.SetColumns(&columns);
        dialog.ShowNonModal();
        Pick(dialog.CharSetCombo1(), QStringLiteral("Greek Charset"));
        dialog.ShowNonModal();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.CharSetCombo1()->currentText(), QStringLiteral("Greek Charset"));
        QCOMPARE(columns.sets[0], 161);
    }

    void fontFollowsTheScriptWhereOneIsInstalled() {
        const QFont base(QStringLiteral("NoSuchFamilyAtAll"));
        QCOMPARE(FontForCharset(base, 1).family(), base.family());
        const QStringList cyrillic = QFontDatabase::families(QFontDatabase::Cyrillic);
        if (cyrillic.isEmpty()) {
            QSKIP("no font with Cyrillic installed");
        }
        const QFont font = FontForCharset(base, 204);
        QVERIFY(QFontDatabase::writingSystems(font.families().value(0)).contains(QFontDatabase::Cyrillic));
        QCOMPARE(CharsetIndex(204), 12);
        QCOMPARE(CharsetIndex(0), -1);
    }
};

QTEST_MAIN(OptionsDlgTest)
#include "options_dlg_test.moc"
