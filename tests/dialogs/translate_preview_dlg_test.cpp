// The translation preview as the user meets it: the files, each one's diff, the texts left over.
#include "dialogs/translate_preview_dlg.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace wordloom;

class TranslatePreviewDlgTest : public QObject {
    Q_OBJECT

private slots:
    void showsEachFilesDiffAndTheFilesThatStay() {
        TranslatePreviewDlg dialog({{QStringLiteral("Main.dfm"), 2, QStringLiteral("-  Caption = 'Open'\n")},
                                    {QStringLiteral("Main.pas"), 1, QStringLiteral("-S := 'Open';\n")}},
                                   {QStringLiteral("Quiet.pas")},
                                   {QStringLiteral("Nobody"), QStringLiteral("Later")});
        QCOMPARE(dialog.Files()->count(), 3);
        QCOMPARE(dialog.Files()->item(0)->text(), QStringLiteral("Main.dfm (2 texts)"));
        QCOMPARE(dialog.Files()->item(2)->text(), QStringLiteral("Quiet.pas (unchanged)"));
        // The first changed file is shown at once; picking another shows its own change.
        QCOMPARE(dialog.Diff()->toPlainText(), QStringLiteral("-  Caption = 'Open'\n"));
        dialog.Files()->setCurrentRow(1);
        QCOMPARE(dialog.Diff()->toPlainText(), QStringLiteral("-S := 'Open';\n"));
        dialog.Files()->setCurrentRow(2);
        QCOMPARE(dialog.Diff()->toPlainText(), QStringLiteral("No change."));
        QCOMPARE(dialog.Untranslated()->count(), 2);
        QVERIFY(dialog.ContinueButton()->isEnabled());
        if (!qEnvironmentVariableIsEmpty("WORDLOOM_SCREENSHOTS")) {
            dialog.Files()->setCurrentRow(0);
            dialog.show();
            dialog.grab().save(qEnvironmentVariable("WORDLOOM_SCREENSHOTS") + QStringLiteral("/preview.png"));
        }
    }

    void nothingToChangeCannotGoOn() {
        TranslatePreviewDlg dialog({}, {QStringLiteral("Quiet.pas")}, {});
        QVERIFY(!dialog.ContinueButton()->isEnabled());
        QCOMPARE(dialog.Diff()->toPlainText(), QString());
        // Accepting the dialog is the only way on; a cancel says no.
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TranslatePreviewDlgTest)
#include "translate_preview_dlg_test.moc"
