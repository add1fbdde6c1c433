// The truncation check with real font metrics: the Qt measure in the window, and the same measure as
// the module the command line loads (which starts Qt itself when no application runs).
#include "app/qt_text_measure.h"
#include "cli/text_measure_loader.h"
#include "qa/form_check_run.h"

#include "support/temp_dir.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QTest>

using namespace wordloom;

namespace {

constexpr const char* kForm = R"(object MainForm: TMainForm
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  object NarrowButton: TButton
    Width = 50
    Caption = 'Go'
  end
  object WideButton: TButton
    Width = 120
    Caption = 'Go on'
  end
  object AutoLabel: TLabel
    Caption = 'Name'
  end
end
)";

qa::FontDescription Font(double pixels, bool bold = false) {
    qa::FontDescription font;
    font.family = "MS Sans Serif";
    font.pixelSize = pixels;
    font.bold = bold;
    return font;
}

} // namespace

class QtTextMeasureTest : public QObject {
    Q_OBJECT

private slots:
    void WidthsFollowTextAndFont() {
        QtTextMeasure measure;
        const double go = measure.TextWidth("Go", Font(11));
        const double longer = measure.TextWidth("Go on and on", Font(11));
        QVERIFY(go > 5);
        QVERIFY(longer > 3 * go);
        // Twice the size, about twice the width (hinting moves a pixel or two).
        const double doubled = measure.TextWidth("Go on and on", Font(22));
        QVERIFY(doubled > 1.7 * longer && doubled < 2.3 * longer);
        QVERIFY(measure.TextWidth("Go on and on", Font(11, true)) >= longer);
        QCOMPARE(measure.TextWidth("", Font(11)), 0.0);
        // The family used is one the font database has.
        const std::string used = measure.UsedFamily(Font(11));
        QVERIFY(!used.empty());
        QVERIFY(QFontDatabase::families().contains(QString::fromStdString(used)));
    }

    void ButtonTooNarrowAndOneWideEnough() {
        TempDir dir;
        dir.Write("main.dfm", kForm);
        QtTextMeasure measure;
        const auto run = qa::test::RunFormCheck(
            "truncation", dir.Path(),
            {{"Go", "Weitergehen und so weiter", {{"main.dfm", "MainForm.NarrowButton"}}},
             {"Go on", "Weiter", {{"main.dfm", "MainForm.WideButton"}}},
             {"Name", "Vollständiger Name des Benutzers", {{"main.dfm", "MainForm.AutoLabel"}}}},
            &measure);
        QCOMPARE(run.findings.size(), std::size_t(1));
        QCOMPARE(run.findings[0].text, std::string("Go"));
        QVERIFY(run.notices.empty()); // measured, not estimated
        const double needed = measure.TextWidth("Weitergehen und so weiter", Font(11));
        const int over = int(std::ceil(needed - 40));
        QVERIFY2(run.findings[0].message.find(std::to_string(over) + " pixels too wide") != std::string::npos,
                 run.findings[0].message.c_str());
    }

    // The module wordloom-cli loads gives the same widths; a folder without it gives the estimate.
    void CommandLineModule() {
        cli::LoadedTextMeasure loaded = cli::LoadTextMeasure({WORDLOOM_BINARY_DIR "/cli"});
        QVERIFY(loaded.FromFonts());
        QtTextMeasure measure;
        QCOMPARE(loaded.Measure().TextWidth("Weitergehen", Font(11)),
                 measure.TextWidth("Weitergehen", Font(11)));
        QCOMPARE(loaded.Measure().UsedFamily(Font(11)), measure.UsedFamily(Font(11)));
        cli::LoadedTextMeasure missing = cli::LoadTextMeasure({WORDLOOM_BINARY_DIR "/no such folder"});
        QVERIFY(!missing.FromFonts());
        QVERIFY(missing.Measure().Estimated());
        QVERIFY(missing.Measure().TextWidth("Weitergehen", Font(11)) > 0);
    }
};

QTEST_MAIN(QtTextMeasureTest)
#include "qt_text_measure_test.moc"
