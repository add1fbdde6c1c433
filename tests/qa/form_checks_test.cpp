// The checks that read forms: accelerator keys shared by neighbours, captions too wide for their
// control. A fake measure makes the widths exact; the Qt measure has its own test.
#include "qa/form_check_run.h"
#include "qa/form_checks.h"
#include "qa/form_layout.h"
#include "qa/run_checks.h"

#include "forms/code_page.h"
#include "forms/form_stream.h"
#include "support/corpus.h"
#include "support/file_read.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wordloom::qa {
namespace {

using test::CaptionRecord;
using test::RunFormCheck;

// 6 pixels a character, whatever the font; remembers the fonts asked for.
class FakeMeasure final : public TextMeasure {
public:
    double TextWidth(std::string_view utf8, const FontDescription& font) override {
        fonts.push_back(font);
        double width = 0;
        for (unsigned char c : utf8)
            width += (c & 0xC0) == 0x80 ? 0 : 6;
        return width;
    }
    std::vector<FontDescription> fonts;
};

constexpr const char* kMainForm = R"(object MainForm: TMainForm
  Caption = 'Demo'
  Font.Charset = DEFAULT_CHARSET
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  PixelsPerInch = 96
  object Panel1: TPanel
    Width = 300
    Caption = ''
    object CloseButton: TButton
      Width = 75
      Caption = '&Close'
    end
    object SaveButton: TButton
      Width = 75
      Caption = '&Save'
    end
    object SaveAsLabel: TLabel
      Caption = 'Sa&ve as'
    end
    object GoButton: TButton
      Width = 50
      Caption = 'Go'
    end
    object WideGoButton: TButton
      Width = 100
      Caption = 'Go on'
    end
  end
  object Panel2: TPanel
    Width = 300
    object SendButton: TButton
      Width = 75
      Caption = '&Send'
    end
    object PrintButton: TButton
      Width = 75
      Caption = '&Print'
    end
    object PreviewButton: TButton
      Width = 75
      Caption = '&Preview'
    end
  end
  object AutoLabel: TLabel
    Caption = 'Name:'
  end
  object FixedLabel: TLabel
    AutoSize = False
    Width = 40
    Caption = 'Name:'
  end
  object WrappedLabel: TLabel
    AutoSize = False
    WordWrap = True
    Width = 40
    Caption = 'Name:'
  end
  object RememberBox: TCheckBox
    Width = 100
    Caption = 'Remember'
  end
  object ToolBar1: TToolBar
    object NewTool: TToolButton
      Width = 23
      Caption = 'New'
    end
  end
  object CancelButton: TButton
    Width = 40
    Caption = 'Cancel'
  end
  object MainMenu1: TMainMenu
    object FileMenu: TMenuItem
      Caption = '&File'
      object OpenItem: TMenuItem
        Caption = '&Open'
      end
      object FindItem: TMenuItem
        Caption = '&Find'
      end
      object SaveItem: TMenuItem
        Caption = '&Save'
      end
    end
    object EditMenu: TMenuItem
      Caption = '&Edit'
    end
  end
end
)";

class FormChecksTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir.Write("main.dfm", kMainForm); }
    static CaptionRecord Record(std::string source, std::string translation, std::string path) {
        return {std::move(source), std::move(translation), {{"main.dfm", std::move(path)}}};
    }
    TempDir m_dir;
    FakeMeasure m_measure;
};

std::vector<std::string> Texts(const std::vector<Finding>& findings) {
    std::vector<std::string> texts;
    for (const Finding& finding : findings)
        texts.push_back(finding.text);
    std::sort(texts.begin(), texts.end());
    return texts;
}

TEST(AcceleratorKeyTest, FirstSingleMarkUpperCase) {
    EXPECT_EQ(AcceleratorKey("&Open"), U'O');
    EXPECT_EQ(AcceleratorKey("Sa&ve as"), U'V');
    EXPECT_EQ(AcceleratorKey("Save && Exit"), 0u);
    EXPECT_EQ(AcceleratorKey("Save && E&xit"), U'X');
    EXPECT_EQ(AcceleratorKey("Ö&ffnen"), U'F');
    EXPECT_EQ(AcceleratorKey("&über"), U'Ü');
    EXPECT_EQ(AcceleratorKey("&файл"), U'Ф');
    EXPECT_EQ(AcceleratorKey("Trailing&"), 0u);
}

TEST_F(FormChecksTest, SiblingsSharingAKeyInTheTranslationClash) {
    const auto run = RunFormCheck(
        "accelerator-clash", m_dir.Path(),
        {Record("&Close", "&Schließen", "MainForm.Panel1.CloseButton"),
         {"&Save",
          "&Speichern",
          {{"main.dfm", "MainForm.Panel1.SaveButton"}, {"main.dfm", "MainForm.MainMenu1.FileMenu.SaveItem"}}},
         // Another parent: no clash with the two above.
         Record("&Send", "&Senden", "MainForm.Panel2.SendButton")},
        &m_measure);
    ASSERT_EQ(Texts(run.findings), (std::vector<std::string>{"&Close", "&Save"}));
    for (const Finding& finding : run.findings) {
        EXPECT_EQ(finding.check, "accelerator-clash");
        EXPECT_EQ(finding.severity, Severity::Warning);
        EXPECT_EQ(finding.target, "German");
        EXPECT_NE(finding.message.find("Alt+S"), std::string::npos) << finding.message;
        EXPECT_NE(finding.message.find("main.dfm"), std::string::npos) << finding.message;
        EXPECT_FALSE(finding.hint.empty());
    }
    EXPECT_NE(run.findings[0].message.find("MainForm.Panel1."), std::string::npos);
    EXPECT_TRUE(run.notices.empty());
}

TEST_F(FormChecksTest, NeighbourOutsideTheRunCountsWithItsTableTranslation) {
    // "Sa&ve as" is not in the run; its translation in the table chooses S too.
    const auto run = RunFormCheck("accelerator-clash", m_dir.Path(),
                                  {Record("&Save", "&Speichern", "MainForm.Panel1.SaveButton")}, &m_measure,
                                  {{"Sa&ve as", "&Sichern unter"}});
    ASSERT_EQ(run.findings.size(), 1u);
    EXPECT_NE(run.findings[0].message.find("\"Sichern unter\" (MainForm.Panel1.SaveAsLabel)"),
              std::string::npos)
        << run.findings[0].message;
    // Without that translation it shows "Save as" with V: no clash.
    EXPECT_TRUE(RunFormCheck("accelerator-clash", m_dir.Path(),
                             {Record("&Save", "&Speichern", "MainForm.Panel1.SaveButton")}, &m_measure)
                    .findings.empty());
}

TEST_F(FormChecksTest, MenuItemsOfOneLevelClashButNotAcrossLevels) {
    const auto run = RunFormCheck("accelerator-clash", m_dir.Path(),
                                  {Record("&Open", "Ö&ffnen", "MainForm.MainMenu1.FileMenu.OpenItem"),
                                   Record("&Find", "&Finden", "MainForm.MainMenu1.FileMenu.FindItem"),
                                   // The top level: "&Datei" against "&Bearbeiten", and F of the
                                   // items one level down does not count.
                                   Record("&File", "&Format", "MainForm.MainMenu1.FileMenu"),
                                   Record("&Edit", "&Bearbeiten", "MainForm.MainMenu1.EditMenu")},
                                  &m_measure);
    EXPECT_EQ(Texts(run.findings), (std::vector<std::string>{"&Find", "&Open"}));
}

TEST_F(FormChecksTest, ClashTheSourceAlreadyHadIsNotReported) {
    // &Print and &Preview share P in the form itself.
    const auto run = RunFormCheck("accelerator-clash", m_dir.Path(),
                                  {Record("&Print", "&Drucken", "MainForm.Panel2.PrintButton"),
                                   Record("&Preview", "&Druckvorschau", "MainForm.Panel2.PreviewButton")},
                                  &m_measure);
    EXPECT_TRUE(run.findings.empty());
}

TEST_F(FormChecksTest, ButtonTooNarrowForItsTranslation) {
    // 75 - 2 * 5 = 65 pixels of room: "Weitergehen" takes 66, "Weiter" 36.
    const auto run = RunFormCheck("truncation", m_dir.Path(),
                                  {Record("Go", "Weitergehen", "MainForm.Panel1.GoButton"),
                                   Record("Go on", "Weitergehen", "MainForm.Panel1.WideGoButton"),
                                   Record("&Close", "&Schließen", "MainForm.Panel1.CloseButton")},
                                  &m_measure);
    ASSERT_EQ(run.findings.size(), 1u);
    const Finding& finding = run.findings[0];
    EXPECT_EQ(finding.text, "Go");
    EXPECT_EQ(finding.check, "truncation");
    // GoButton is 50 wide: 40 pixels of room, 66 taken.
    EXPECT_NE(finding.message.find("26 pixels"), std::string::npos) << finding.message;
    EXPECT_NE(finding.message.find("MainForm.Panel1.GoButton in main.dfm"), std::string::npos)
        << finding.message;
    EXPECT_NE(finding.message.find("40 pixels of room"), std::string::npos) << finding.message;
    EXPECT_NE(finding.message.find("Tahoma"), std::string::npos) << finding.message;
}

TEST_F(FormChecksTest, EachControlClassHasItsOwnRoom) {
    const auto run = RunFormCheck(
        "truncation", m_dir.Path(),
        {// Auto-sized: grows with its caption.
         Record("Name:", "Vollständiger Name:", "MainForm.AutoLabel"),
         // Word-wrapped: wraps instead.
         {"Name:",
          "Vollständiger Name:",
          {{"main.dfm", "MainForm.FixedLabel"}, {"main.dfm", "MainForm.WrappedLabel"}}},
         // A tool bar sizes its buttons.
         Record("New", "Neues Dokument", "MainForm.ToolBar1.NewTool"),
         // A menu is as wide as its widest item.
         Record("&Open", "Eine Datei zum Bearbeiten öffnen", "MainForm.MainMenu1.FileMenu.OpenItem"),
         // The box takes 17 of the 100 pixels: 13 characters (78) fit, 15 (90) do not.
         Record("Remember", "Merken Sie sich", "MainForm.RememberBox")},
        &m_measure);
    ASSERT_EQ(Texts(run.findings), (std::vector<std::string>{"Name:", "Remember"}));
    for (const Finding& finding : run.findings) {
        if (finding.text == "Name:") // the fixed label: its whole width, 40
            EXPECT_NE(finding.message.find("74 pixels"), std::string::npos) << finding.message;
        else
            EXPECT_NE(finding.message.find("7 pixels"), std::string::npos) << finding.message;
    }
    EXPECT_TRUE(RunFormCheck("truncation", m_dir.Path(),
                             {Record("Remember", "Merken Sie si", "MainForm.RememberBox")}, &m_measure)
                    .findings.empty());
}

TEST_F(FormChecksTest, SourceWiderThanItsRoomAsMeasuredScalesTheJudgement) {
    // "Cancel" takes 36 of 30 pixels here, yet the form shows it: the font used here is wider than
    // the form's, so a translation as wide as the text fits and a longer one is judged in scale.
    EXPECT_TRUE(RunFormCheck("truncation", m_dir.Path(),
                             {Record("Cancel", "Zurück", "MainForm.CancelButton")}, &m_measure)
                    .findings.empty());
    const auto run = RunFormCheck("truncation", m_dir.Path(),
                                  {Record("Cancel", "Abbrechen", "MainForm.CancelButton")}, &m_measure);
    ASSERT_EQ(run.findings.size(), 1u);
    EXPECT_NE(run.findings[0].message.find("15 pixels"), std::string::npos)
        << run.findings[0].message; // 54 * 30 / 36 - 30
}

TEST_F(FormChecksTest, EstimatedWidthsSayWhatTheyAre) {
    const auto run =
        RunFormCheck("truncation", m_dir.Path(),
                     {Record("Go", "Weitergehen und so weiter", "MainForm.Panel1.GoButton")}, nullptr);
    EXPECT_EQ(run.findings.size(), 1u);
    ASSERT_EQ(run.notices.size(), 1u);
    EXPECT_NE(run.notices[0].find("estimated"), std::string::npos);
}

TEST_F(FormChecksTest, EveryFormIsReadOnceForTheWholeRun) {
    const std::vector<CaptionRecord> records{Record("&Close", "&Schließen", "MainForm.Panel1.CloseButton"),
                                             Record("&Save", "&Speichern", "MainForm.Panel1.SaveButton"),
                                             Record("Go", "Weitergehen", "MainForm.Panel1.GoButton"),
                                             Record("Remember", "Merken Sie sich", "MainForm.RememberBox")};
    for (const char* id : {"truncation", "accelerator-clash"}) {
        const auto run = RunFormCheck(id, m_dir.Path(), records, &m_measure);
        EXPECT_FALSE(run.findings.empty()) << id;
        EXPECT_EQ(run.forms->FilesRead(), 1) << id;
    }
}

TEST_F(FormChecksTest, UnreadableFormIsANoticeNotAFinding) {
    m_dir.Write("broken.dfm", "object Broken: TForm\n  Caption = 'unclosed\nend\n");
    const auto run = RunFormCheck(
        "truncation", m_dir.Path(),
        {{"Go", "Weitergehen", {{"broken.dfm", "Broken"}, {"missing.dfm", "Form1.Button1"}}}}, &m_measure);
    EXPECT_TRUE(run.findings.empty());
    ASSERT_EQ(run.notices.size(), 2u);
    EXPECT_NE(run.notices[0].find("broken.dfm"), std::string::npos) << run.notices[0];
    EXPECT_NE(run.notices[1].find("missing.dfm"), std::string::npos) << run.notices[1];
}

TEST_F(FormChecksTest, PlaceWhoseCaptionChangedSinceTheCollectIsLeftOut) {
    // The form now says "Go" where "Stop" was collected: the place no longer shows this text.
    EXPECT_TRUE(RunFormCheck("truncation", m_dir.Path(),
                             {Record("Stop", "Anhalten und weitergehen", "MainForm.Panel1.GoButton")},
                             &m_measure)
                    .findings.empty());
    // The save button shows "&Save" still, whatever the stale record's translation says.
    const auto run = RunFormCheck("accelerator-clash", m_dir.Path(),
                                  {Record("&Send", "&Ändern", "MainForm.Panel1.SaveButton"),
                                   Record("&Close", "&Schließen", "MainForm.Panel1.CloseButton")},
                                  &m_measure);
    ASSERT_EQ(Texts(run.findings), std::vector<std::string>{"&Close"});
    EXPECT_NE(run.findings[0].message.find("\"Save\" (MainForm.Panel1.SaveButton)"), std::string::npos)
        << run.findings[0].message;
}

// The window shows the checks one posted translation at a time; the neighbours' translations come
// from the table.
TEST_F(FormChecksTest, OnePostedTranslationAtATime) {
    FormFiles forms({{"Demo", m_dir.Path()}}, CodePage::ForCharset(1));
    CheckSetup setup;
    setup.sourceLang = "English";
    setup.targetLang = "German";
    setup.forms = &forms;
    setup.measure = &m_measure;
    setup.translationOf = [](std::string_view text) {
        return text == "&Close" ? std::string("&Schließen") : std::string();
    };
    Checker checker(CheckRegistry::Standard().Select({"accelerator-clash", "truncation"}), setup);
    const auto post = [&](const char* source, const char* translation, const char* path) {
        const std::vector<Occurrence> places{{"Demo", "main.dfm", 1, path, "Caption", "English", source}};
        return checker.Inspect(CheckContext{"English", "German", source, translation, places, std::nullopt});
    };
    const std::vector<Finding> saved = post("&Save", "&Speichern", "MainForm.Panel1.SaveButton");
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].check, "accelerator-clash");
    EXPECT_NE(saved[0].message.find("Schließen"), std::string::npos) << saved[0].message;
    // The next post is judged on its own: nothing of the first is reported again.
    const std::vector<Finding> go = post("Go", "Weitergehen", "MainForm.Panel1.GoButton");
    ASSERT_EQ(go.size(), 1u);
    EXPECT_EQ(go[0].check, "truncation");
    EXPECT_EQ(forms.FilesRead(), 1);
}

TEST(FormChecksSetupTest, WithoutFormsTheChecksSaySoAndFindNothing) {
    std::vector<std::string> notices;
    CheckSetup setup;
    setup.notices = &notices;
    for (const char* id : {"truncation", "accelerator-clash"}) {
        const CheckInfo* info = CheckRegistry::Standard().Find(id);
        ASSERT_NE(info, nullptr) << id;
        std::vector<Finding> findings;
        FindingSink sink(findings);
        auto check = info->make(setup, info->severity);
        const std::vector<Occurrence> places{
            {"Demo", "main.dfm", 1, "MainForm.Panel1.GoButton", "Caption", "English", "Go"}};
        CheckContext context{"English", "German", "Go", "Weitergehen", places, std::nullopt};
        check->Inspect(context, sink);
        check->Finish(sink);
        EXPECT_TRUE(findings.empty());
    }
    ASSERT_EQ(notices.size(), 1u); // said once for both
    EXPECT_NE(notices[0].find("project folder"), std::string::npos);
}

// A real form: HeidiSQL's search dialog. Its captions choose T, A, R, O, D, I and S; a translation
// giving "&Richtung" (Direction) and "E&rsetzen:" (Replace) both R makes them clash, and the check
// box of 73 pixels cannot hold "Ersetzen durch:".
TEST(FormChecksCorpusTest, HeidiSqlSearchDialog) {
    const std::filesystem::path form = "HeidiSQL/source/searchreplace.dfm";
    if (const std::string missing = wordloom::test::CorpusMissing(form); !missing.empty())
        GTEST_SKIP() << missing;
    TempDir dir;
    dir.Write("searchreplace.dfm", ReadBytes(wordloom::test::CorpusRoot() / form));
    const auto place = [](const char* name) {
        return std::vector<std::pair<std::string, std::string>>{
            {"searchreplace.dfm", std::string("frmSearchReplace.") + name}};
    };
    const std::vector<CaptionRecord> records{{"&Direction", "&Richtung", place("grpDirection")},
                                             {"&Replace:", "E&rsetzen durch:", place("chkReplace")},
                                             {"&Options", "&Optionen", place("grpOptions")},
                                             {"Replace &all", "&Alle", place("btnReplaceAll")}};
    FakeMeasure measure;
    const auto clashes = RunFormCheck("accelerator-clash", dir.Path(), records, &measure);
    EXPECT_EQ(Texts(clashes.findings), (std::vector<std::string>{"&Direction", "&Replace:"}));
    const auto truncated = RunFormCheck("truncation", dir.Path(), records, &measure);
    ASSERT_EQ(Texts(truncated.findings), (std::vector<std::string>{"&Replace:"}));
    // 73 - 17 = 56 pixels for 15 characters of 6.
    EXPECT_NE(truncated.findings[0].message.find("34 pixels"), std::string::npos)
        << truncated.findings[0].message;
    // The form's font, -12 Tahoma, reaches the check box.
    ASSERT_FALSE(measure.fonts.empty());
    EXPECT_EQ(measure.fonts.back().family, "Tahoma");
    EXPECT_EQ(measure.fonts.back().pixelSize, 12);
}

} // namespace
} // namespace wordloom::qa
