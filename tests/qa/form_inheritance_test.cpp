// Inherited forms and embedded frames completed from the project's other forms: the root class read
// from a form's first bytes, the ancestor class from the unit, the trees laid over each other.
#include "qa/form_check_run.h"
#include "qa/form_files.h"
#include "qa/form_inheritance.h"
#include "qa/form_layout.h"

#include "forms/code_page.h"
#include "forms/form_stream.h"
#include "support/corpus.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wordloom::qa {
namespace {

using test::CaptionRecord;
using test::RunFormCheck;

TEST(FormInheritanceTest, RootOfTextAndBinaryForms) {
    const std::string text = "inherited Form2: TForm2\r\n  Caption = 'x'\r\nend\r\n";
    std::optional<FormRoot> root = ReadFormRoot(text);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->name, "Form2");
    EXPECT_EQ(root->className, "TForm2");
    EXPECT_TRUE(root->inherited);
    root = ReadFormRoot(TextToBinaryForm(text).substr(0, 60)); // the head of a binary form does
    ASSERT_TRUE(root);
    EXPECT_EQ(root->className, "TForm2");
    EXPECT_TRUE(root->inherited);
    root = ReadFormRoot("OBJECT TUnnamed\nend\n");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->className, "TUnnamed");
    EXPECT_FALSE(root->inherited);
    EXPECT_FALSE(ReadFormRoot("unit Unit1;"));
    EXPECT_FALSE(ReadFormRoot(std::string("\xFF\x0A\x00", 3)));
}

TEST(FormInheritanceTest, AncestorClassFromTheUnit) {
    const std::string unit = "unit Unit2;\n"
                             "{ TForm2 = class(TCommented) }\n"
                             "(* TForm2 = class(TOld) *)\n"
                             "// TForm2 = class(TLine)\n"
                             "const S = 'TForm2 = class(TQuoted)';\n"
                             "type\n"
                             "  TOther = class(TForm)\n"
                             "  end;\n"
                             "  tform2 = CLASS ( Base.TForm1 {$IFDEF X}, IFoo{$ENDIF})\n";
    EXPECT_EQ(AncestorClass(unit, "TForm2"), "TForm1");
    EXPECT_EQ(AncestorClass(unit, "TOther"), "TForm");
    EXPECT_EQ(AncestorClass(unit, "TMissing"), "");
    EXPECT_EQ(AncestorClass("type TForm2 = class(", "TForm2"), "");
    EXPECT_EQ(ProjectUnitPaths("program P;\nuses\n  Forms,\n  Unit1 in '..\\common\\Unit1.pas' {Form1},\n"
                               "  Unit2 in 'Unit2.pas' {Form2};\n// X in 'no.pas'\nbegin end."),
              (std::vector<std::string>{"../common/Unit1.pas", "Unit2.pas"}));
}

// Three levels: TForm3 = class(TForm2), TForm2 = class(TForm1); a frame embedded in the first.
class InheritedForms : public ::testing::Test {
protected:
    void SetUp() override {
        project.Write("Unit1.pas", "unit Unit1;\ntype\n  TForm1 = class(TForm)\n  end;\n");
        project.Write("Unit1.dfm", "object Form1: TForm1\n"
                                   "  Font.Height = -11\n"
                                   "  Font.Name = 'Tahoma'\n"
                                   "  PixelsPerInch = 120\n"
                                   "  object Panel1: TPanel\n"
                                   "    Width = 400\n"
                                   "    object OpenButton: TButton\n"
                                   "      Width = 75\n"
                                   "      Caption = '&Open'\n"
                                   "    end\n"
                                   "    object OkButton: TButton\n"
                                   "      Width = 75\n"
                                   "      Caption = 'OK'\n"
                                   "    end\n"
                                   "  end\n"
                                   "  inline Frame11: TFrame1\n"
                                   "  end\n"
                                   "end\n");
        project.Write("Frame1.pas", "unit Frame1;\ntype\n  TFrame1 = class(TFrame)\n  end;\n");
        project.Write("Frame1.dfm", "object Frame1: TFrame1\n"
                                    "  object FrameButton: TButton\n"
                                    "    Width = 50\n"
                                    "    Caption = 'Frame'\n"
                                    "  end\n"
                                    "end\n");
        project.Write("Unit2.pas", "unit Unit2;\ntype\n  TForm2 = class(TForm1)\n  end;\n");
        // Binary: the ancestor is found whatever form the descendant is stored in.
        project.Write("Unit2.dfm", TextToBinaryForm("inherited Form2: TForm2\n"
                                                    "  inherited Panel1: TPanel\n"
                                                    "    inherited OpenButton: TButton\n"
                                                    "      Width = 40\n"
                                                    "    end\n"
                                                    "    inherited OkButton: TButton\n"
                                                    "      Caption = 'Accept'\n"
                                                    "    end\n"
                                                    "    object SaveButton: TButton\n"
                                                    "      Width = 75\n"
                                                    "      Caption = '&Save'\n"
                                                    "    end\n"
                                                    "  end\n"
                                                    "end\n"));
        project.Write("unit3.PAS", "unit Unit3;\ntype\n  TForm3 = class(Unit2.TForm2)\n  end;\n");
        project.Write("Unit3.dfm", "inherited Form3: TForm3\n"
                                   "  inherited Panel1: TPanel\n"
                                   "    inherited SaveButton: TButton\n"
                                   "      Caption = '&Store'\n"
                                   "    end\n"
                                   "  end\n"
                                   "end\n");
    }
    FormFiles Forms() { return FormFiles({{"Demo", project.Path()}}, CodePage::ForCharset(1)); }
    static const FormComponent& At(const FormLayout& layout, const std::string& path) {
        const int index = layout.Find(path);
        EXPECT_GE(index, 0) << path;
        static const FormComponent kNone;
        return index < 0 ? kNone : layout.Components()[std::size_t(index)];
    }

    TempDir project;
};

TEST_F(InheritedForms, TreesAreLaidOverTheAncestors) {
    FormFiles forms = Forms();
    const FormLayout* two = forms.Layout("Demo", "Unit2.dfm");
    ASSERT_TRUE(two);
    EXPECT_EQ(two->PixelsPerInch(), 120);
    EXPECT_EQ(At(*two, "Form2.Panel1.OpenButton").width, 40);        // overridden
    EXPECT_EQ(At(*two, "Form2.Panel1.OpenButton").caption, "&Open"); // inherited unchanged
    EXPECT_EQ(At(*two, "Form2.Panel1.OkButton").width, 75);          // inherited
    EXPECT_EQ(At(*two, "Form2.Panel1.OkButton").caption, "Accept");  // overridden
    EXPECT_EQ(At(*two, "Form2.Frame11.FrameButton").width, 50);      // from the frame's form
    EXPECT_EQ(two->Font(two->Find("Form2.Panel1.OkButton")).name, "Tahoma");
    const int save = two->Find("Form2.Panel1.SaveButton");
    ASSERT_GE(save, 0);
    EXPECT_EQ(two->Components()[std::size_t(save)].parent, two->Find("Form2.Panel1"));
    EXPECT_GT(save, two->Find("Form2.Panel1.OkButton")); // its own controls follow the inherited ones

    const FormLayout* three = forms.Layout("Demo", "Unit3.dfm");
    ASSERT_TRUE(three);
    EXPECT_EQ(At(*three, "Form3.Panel1.OpenButton").width, 40);
    EXPECT_EQ(At(*three, "Form3.Panel1.SaveButton").width, 75);
    EXPECT_EQ(At(*three, "Form3.Panel1.SaveButton").caption, "&Store");
    EXPECT_TRUE(forms.MissingAncestors().empty());
    // Each form read whole once, however often it is an ancestor.
    EXPECT_EQ(forms.FilesRead(), 4);
    EXPECT_EQ(forms.Descendants("Demo", "Unit1.dfm"), (std::vector<std::string>{"Unit2.dfm", "Unit3.dfm"}));
    EXPECT_TRUE(forms.Descendants("Demo", "Unit3.dfm").empty());
    FormFiles slashed({{"Demo", project.Path() + "/"}}, CodePage::ForCharset(1));
    EXPECT_EQ(slashed.Descendants("Demo", "Unit2.dfm"), (std::vector<std::string>{"Unit3.dfm"}));
}

TEST_F(InheritedForms, MissingOrLoopingAncestorsLeaveTheFormAsItIs) {
    project.Write("Unit4.pas", "type TForm4 = class(TForm5) end;");
    project.Write("Unit4.dfm",
                  "inherited Form4: TForm4\n  inherited B: TButton\n    Caption = 'Go'\n  end\nend\n");
    project.Write("Unit5.pas", "type TForm5 = class(TForm4) end;");
    project.Write("Unit5.dfm", "inherited Form5: TForm5\nend\n");
    project.Write("Unit6.dfm", "inherited Form6: TForm6\nend\n"); // no unit
    FormFiles forms = Forms();
    const FormLayout* four = forms.Layout("Demo", "Unit4.dfm");
    ASSERT_TRUE(four);
    EXPECT_FALSE(At(*four, "Form4.B").width);
    EXPECT_TRUE(forms.Layout("Demo", "Unit6.dfm"));
    const auto& missing = forms.MissingAncestors();
    // The loop is cut where it closes: Form5 is left without its ancestor.
    ASSERT_EQ(missing.size(), 2u);
    EXPECT_EQ(missing[0].forClass, "TForm5");
    EXPECT_EQ(missing[0].ancestorClass, "TForm4");
    EXPECT_EQ(missing[1].forClass, "TForm6");
    EXPECT_EQ(missing[1].ancestorClass, "");
    EXPECT_TRUE(forms.Failures().empty());
}

// The base form kept in a folder of its own, which the project file names.
TEST(FormInheritanceProjectTest, AncestorInAFolderTheProjectFileNames) {
    TempDir root;
    root.Write("shared/BaseForm.pas", "unit BaseForm;\ntype TBaseForm = class(TForm) end;\n");
    root.Write("shared/BaseForm.dfm", "object BaseForm: TBaseForm\n"
                                      "  object HelpButton: TButton\n"
                                      "    Width = 75\n"
                                      "    Caption = '&Help'\n"
                                      "  end\n"
                                      "end\n");
    root.Write("app/Main.pas", "unit Main;\ntype TMainForm = class(TBaseForm) end;\n");
    root.Write("app/Main.dfm", "inherited MainForm: TMainForm\nend\n");
    root.Write("app/Demo.dpr", "program Demo;\nuses\n  BaseForm in '..\\shared\\BaseForm.pas' {BaseForm},\n"
                               "  Main in 'Main.pas' {MainForm};\nbegin\nend.\n");
    const std::unique_ptr<FormFiles> forms = FormFiles::ForProject(root.Path() + "/app/Demo.dpr", 1);
    const FormLayout* main = forms->Layout("Demo", "Main.dfm");
    ASSERT_TRUE(main);
    const int help = main->Find("MainForm.HelpButton");
    ASSERT_GE(help, 0);
    EXPECT_EQ(main->Components()[std::size_t(help)].width, 75);
    EXPECT_TRUE(forms->MissingAncestors().empty());
    // Without the project file's word the base form is not found, and that is said.
    FormFiles alone({{"Demo", root.Path() + "/app"}}, CodePage::ForCharset(1));
    ASSERT_TRUE(alone.Layout("Demo", "Main.dfm"));
    ASSERT_EQ(alone.MissingAncestors().size(), 1u);
    EXPECT_EQ(alone.MissingAncestors()[0].ancestorClass, "TBaseForm");
}

// 6 pixels a character.
class FakeMeasure final : public TextMeasure {
public:
    double TextWidth(std::string_view utf8, const FontDescription&) override {
        return 6.0 * double(utf8.size());
    }
};

TEST_F(InheritedForms, ChecksSeeWhatTheFormsInherit) {
    FakeMeasure measure;
    // Room: 40 - 2 * 5 * 1.25 = 27.5 in Form2 and Form3, 62.5 in Form1. "Öffnen" is 6 characters
    // (36 px): it fits the ancestor's button only.
    test::FormCheckRun run = RunFormCheck(
        "truncation", project.Path(),
        {CaptionRecord{"&Open", "Ö&ffnen", {{"Unit1.dfm", "Form1.Panel1.OpenButton"}}}}, &measure);
    ASSERT_EQ(run.findings.size(), 1u);
    EXPECT_NE(run.findings[0].message.find("Form2.Panel1.OpenButton in Unit2.dfm"), std::string::npos)
        << run.findings[0].message;
    EXPECT_NE(run.findings[0].message.find("Too wide in 2 places"), std::string::npos)
        << run.findings[0].message;
    // A caption the descendant sets is measured in the width it inherits.
    run = RunFormCheck(
        "truncation", project.Path(),
        {CaptionRecord{"Accept", "Akzeptieren und weiter", {{"Unit2.dfm", "Form2.Panel1.OkButton"}}}},
        &measure);
    ASSERT_EQ(run.findings.size(), 1u);
    EXPECT_NE(run.findings[0].message.find("62 pixels of room"), std::string::npos)
        << run.findings[0].message;

    // The descendant's own button shares its key with the inherited one as translated.
    run = RunFormCheck("accelerator-clash", project.Path(),
                       {CaptionRecord{"&Save", "&Fertig", {{"Unit2.dfm", "Form2.Panel1.SaveButton"}}}},
                       &measure, {{"&Open", "Ö&ffnen"}});
    ASSERT_EQ(run.findings.size(), 1u);
    EXPECT_NE(run.findings[0].message.find("Form2.Panel1.OpenButton"), std::string::npos)
        << run.findings[0].message;

    project.Write("Unit3.pas", "type TForm3 = class(TGone) end;");
    std::filesystem::remove(std::filesystem::path(project.Path()) / "unit3.PAS");
    run = RunFormCheck(
        "truncation", project.Path(),
        {CaptionRecord{"&Store", "&Speichern unter", {{"Unit3.dfm", "Form3.Panel1.SaveButton"}}}}, &measure);
    EXPECT_TRUE(run.findings.empty()); // its width is not known
    ASSERT_EQ(run.notices.size(), 1u);
    EXPECT_NE(run.notices[0].find("TGone"), std::string::npos) << run.notices[0];
}

// Real inherited forms: a chain of three in one folder whose first form inherits from a form in
// another folder.
TEST(FormInheritanceCorpusTest, RealChainsOfInheritedForms) {
    const std::filesystem::path folder = "cnwizards/Source/ProjectExtWizard";
    const std::filesystem::path base = "cnwizards/Source/MultiLang";
    if (const std::string missing =
            wordloom::test::CorpusMissing(folder) + wordloom::test::CorpusMissing(base);
        !missing.empty())
        GTEST_SKIP() << missing;
    {
        FormFiles forms({{"Demo", (wordloom::test::CorpusRoot() / folder).string()}},
                        CodePage::ForCharset(1));
        const FormLayout* frames = forms.Layout("Demo", "CnProjectFramesFrm.dfm");
        ASSERT_TRUE(frames);
        const int search = frames->Find("CnProjectFramesForm.pnlHeader.lblSearch");
        ASSERT_GE(search, 0);
        EXPECT_EQ(frames->Components()[std::size_t(search)].width, 24);
        EXPECT_EQ(frames->Components()[std::size_t(search)].caption, "&Find:");
        EXPECT_EQ(frames->Components()[std::size_t(frames->Find("CnProjectFramesForm.pnlHeader"))].width,
                  606);
        ASSERT_EQ(forms.MissingAncestors().size(), 1u); // the base form is in another folder
        EXPECT_EQ(forms.MissingAncestors()[0].ancestorClass, "TCnTranslateForm");
    }
    // Every inherited form of the corpus's folders, with the shared base form's folder searched.
    int inherited = 0;
    int completed = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(wordloom::test::CorpusRoot() / "cnwizards/Source")) {
        if (!entry.is_directory())
            continue;
        FormFiles forms({{"Demo", entry.path().string()}}, CodePage::ForCharset(1));
        forms.AddSearchFolder((wordloom::test::CorpusRoot() / base).string());
        for (const auto& file : std::filesystem::directory_iterator(entry.path())) {
            const std::string name = file.path().filename().string();
            if (!FormFiles::IsFormFile(name))
                continue;
            const std::size_t missingBefore = forms.MissingAncestors().size();
            const FormLayout* layout = forms.Layout("Demo", name);
            if (!layout || !layout->Inherited())
                continue;
            ++inherited;
            completed += forms.MissingAncestors().size() == missingBefore;
        }
    }
    EXPECT_GE(inherited, 100);
    EXPECT_GE(completed, inherited * 9 / 10) << completed << " of " << inherited;
}

} // namespace
} // namespace wordloom::qa
