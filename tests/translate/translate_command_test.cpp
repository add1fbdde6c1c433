#include "support/pascal_text.h"
#include "translate/translate_fixture.h"
#include "translate/translation_lookup.h"

#include <fstream>
#include <map>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wordloom {
namespace {

using Kind = RecordingHost::Kind;

const std::string kMainForm = "object MainForm: TMainForm\r\n"
                              "  Left = 10\r\n"
                              "  Caption = 'Open file'\r\n"
                              "  object Label1: TLabel\r\n"
                              "    Caption = ' Name: '\r\n"
                              "    Hint = 'Don'#39't save'\r\n"
                              "  end\r\n"
                              "  object List: TListBox\r\n"
                              "    Items.Strings = (\r\n"
                              "      'Red'\r\n"
                              "      'Green')\r\n"
                              "  end\r\n"
                              "end\r\n";

const std::string kUnit = "unit Main;\r\n"
                          "  // don't touch\r\n"
                          "const S = 'Open file'; T = ' Name: ' + 'Red';\r\n"
                          "  Q = 'Unknown text';   \r\n"
                          "end.";

class TranslateCommandTest : public TranslateFixture {
protected:
    void SetUp() override {
        TranslateFixture::SetUp();
        Add("Open file", "Datei \xc3\xb6"
                         "ffnen");
        Add(" Name: ", "Nom :");
        Add("Don't save", "Nicht's speichern");
        Add("Green", "Gr\xc3\xbcn");
        Add("Red", ""); // collected, not yet translated
    }
};

TEST_F(TranslateCommandTest, TranslatesFormsAndUnitsWithBackups) {
    Write("Main.dfm", kMainForm);
    Write("Main.pas", kUnit);
    const TranslateSummary summary = Run();

    EXPECT_TRUE(summary.confirmed);
    EXPECT_FALSE(summary.failed) << summary.failure;
    EXPECT_EQ(summary.formFilesTranslated, 1);
    EXPECT_EQ(summary.unitFilesTranslated, 1);
    EXPECT_EQ(
        host.Texts(Kind::Question),
        std::vector<std::string>{"Please make sure the Project " + settings.projectPath +
                                 " is not loaded in the Delphi IDE and that its current laguage really is "
                                 "English. It is recommended that you run Wordloom only on a copy of the "
                                 "project files."});
    // The form comes back in the binary form, its values translated, everything else as it was.
    const std::string form = Read("Main.dfm");
    ASSERT_FALSE(IsTextForm(form));
    EXPECT_EQ(BinaryFormToText(form), "object MainForm: TMainForm\r\n"
                                      "  Left = 10\r\n"
                                      "  Caption = 'Datei \xf6"
                                      "ffnen'\r\n"
                                      "  object Label1: TLabel\r\n"
                                      "    Caption = ' Nom : '\r\n"
                                      "    Hint = 'Nicht'#39's speichern'\r\n"
                                      "  end\r\n"
                                      "  object List: TListBox\r\n"
                                      "    Items.Strings = (\r\n"
                                      "      'Red'\r\n"
                                      "      'Gr\xfcn')\r\n"
                                      "  end\r\n"
                                      "end\r\n");
    EXPECT_EQ(Read("Main.pas"), "unit Main;\r\n"
                                "  // don't touch\r\n"
                                "const S = 'Datei \xf6"
                                "ffnen'; T = ' Nom : ' + 'Red';\r\n"
                                "  Q = 'Unknown text';   \r\n"
                                "end.\r\n");
    EXPECT_EQ(Read("Main.~df"), kMainForm);
    EXPECT_EQ(Read("Main.~pa"), kUnit);
    EXPECT_EQ(summary.textsReplaced, 6);

    EXPECT_EQ(host.StatusTexts(), (std::vector<std::string>{"Translating Main.dfm ...", "Finished",
                                                            "Translating Main.pas ...", "Finished"}));
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_TRUE(host.Errors().empty());
    EXPECT_FALSE(host.Busy());
    EXPECT_TRUE(host.ViewAttached());
    EXPECT_EQ(host.Count(Kind::ApplyProjectFilter), 1);
    EXPECT_EQ(host.Clipboard(), "unit Main;\r\n  // don't touch\r\nconst S = 'Datei öffnen'; T = ' Nom : ' + "
                                "'Red';\r\n  Q = 'Unknown text';   \r\nend.\r\n");
    // The table is left unfiltered and ordered by the project language.
    EXPECT_EQ(table->IndexField(), "English");
}

TEST_F(TranslateCommandTest, CancelChangesNothing) {
    Write("Main.dfm", kMainForm);
    Write("Main.pas", kUnit);
    host.answer = false;
    const TranslateSummary summary = Run();
    EXPECT_FALSE(summary.confirmed);
    EXPECT_EQ(Read("Main.dfm"), kMainForm);
    EXPECT_EQ(Read("Main.pas"), kUnit);
    EXPECT_FALSE(Exists(File("Main.~df")));
    EXPECT_EQ(host.Count(Kind::SetViewAttached), 0);
    EXPECT_EQ(host.Events().size(), 1u);
}

TEST_F(TranslateCommandTest, NoFormsStillTranslatesUnits) {
    Write("Main.pas", kUnit);
    const TranslateSummary summary = Run();
    EXPECT_EQ(host.Messages(), std::vector<std::string>{"No .DFM Files found!"});
    EXPECT_EQ(summary.unitFilesTranslated, 1);
    EXPECT_NE(Read("Main.pas"), kUnit);
}

TEST_F(TranslateCommandTest, NoUnitsIsSaidWhenTheyAreIncluded) {
    Write("Main.dfm", kMainForm);
    Run();
    EXPECT_EQ(host.Messages(), std::vector<std::string>{"No Pascal Files found!"});
    host.Clear();
    settings.includePas = false;
    Run();
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(TranslateCommandTest, UnitsAreLeftOutWithoutIncludePas) {
    Write("Main.dfm", kMainForm);
    Write("Main.pas", kUnit);
    settings.includePas = false;
    Run();
    EXPECT_EQ(Read("Main.pas"), kUnit);
    EXPECT_FALSE(Exists(File("Main.~pa")));
}

TEST_F(TranslateCommandTest, AFailingFormStopsTheRunBeforeAnyFileIsTouched) {
    for (const char* name : {"A.dfm", "B.dfm", "C.dfm"})
        Write(name, kMainForm);
    // The pass takes the files in the order the directory yields them.
    const std::vector<std::string> order = ListFiles(project.Path(), "*.dfm");
    ASSERT_EQ(order.size(), 3u);
    Write(order[1], "garbage that is no form");
    Write("Main.pas", kUnit);
    const TranslateSummary summary = Run();

    EXPECT_TRUE(summary.failed);
    EXPECT_EQ(summary.formFilesTranslated, 0);
    EXPECT_EQ(host.Messages(), std::vector<std::string>{
                                   File(order[1]) + " Line 0: Parsing error when parsing String: \r\n\"\"\r\n"
                                                    "(Invalid stream format)"});
    for (const std::string& name : order) {
        EXPECT_EQ(Read(name), name == order[1] ? "garbage that is no form" : kMainForm) << name;
        EXPECT_FALSE(Exists(BackupPath(File(name)))) << name;
    }
    // Nothing is written, so the unit pass does not run; the status keeps the failed file's name.
    EXPECT_EQ(summary.unitFilesTranslated, 0);
    EXPECT_EQ(Read("Main.pas"), kUnit);
    const std::vector<std::string> status = host.StatusTexts();
    EXPECT_EQ(status.back(), "Translating " + order[1] + " ...");
    EXPECT_FALSE(host.Busy());
    EXPECT_TRUE(host.ViewAttached());
}

TEST_F(TranslateCommandTest, ABackupIsAFileOfItsOwn) {
    const std::string failing = Write("Bad.dfm", "garbage that is no form");
    const std::string unit = Write("Main.pas", kUnit);
    Run();
    // A form that fails is not replaced, so it gets no backup: least of all a second name for
    // itself, which an edit of the form would change too.
    EXPECT_FALSE(Exists(File("Bad.~df")));
    EXPECT_EQ(std::filesystem::hard_link_count(failing), 1u);
    std::filesystem::remove(failing);
    Run();
    // A replaced file's backup keeps the old content whatever happens to the file in place.
    EXPECT_EQ(std::filesystem::hard_link_count(unit), 1u);
    std::ofstream(unit, std::ios::binary | std::ios::in | std::ios::out) << "edited";
    EXPECT_EQ(Read("Main.pas").substr(0, 6), "edited");
    EXPECT_EQ(Read("Main.~pa"), kUnit);
}

TEST_F(TranslateCommandTest, AFailedConversionNamesTheLastLine) {
    // "Top =" without a value cannot be converted to the binary form.
    const std::string broken = "object F: TF\r\n  Caption = 'Open file'\r\n  Top =\r\n  Left = 1\r\nend";
    Write("F.dfm", broken);
    settings.includePas = false;
    Run();
    ASSERT_EQ(host.Messages().size(), 1u);
    const std::string message = host.Messages()[0];
    EXPECT_EQ(
        message.rfind(File("F.dfm") + " Line 5: Parsing error when parsing String: \r\n\"end\"\r\n(", 0), 0u)
        << message;
    EXPECT_EQ(Read("F.dfm"), broken);
    EXPECT_EQ(host.Clipboard().rfind("object F: TF\r\nCaption = 'Datei öffnen'", 0), 0u);
}

TEST_F(TranslateCommandTest, AReadOnlyFileFailsLikeALockedOne) {
    const std::string path = Write("Main.pas", kUnit);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const TranslateSummary summary = Run();
    EXPECT_TRUE(summary.failed);
    EXPECT_EQ(host.Errors(), std::vector<std::string>{"Cannot open file " + path});
    EXPECT_EQ(Read("Main.pas"), kUnit);
    EXPECT_FALSE(Exists(File("Main.~pa")));

    host.Clear();
    const std::string form = Write("Main.dfm", kMainForm);
    ASSERT_EQ(::chmod(form.c_str(), 0444), 0);
    Run();
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_NE(host.Messages()[0].find("(Cannot open file " + form + ")"), std::string::npos);
    EXPECT_EQ(Read("Main.dfm"), kMainForm);
}

TEST_F(TranslateCommandTest, AFileLockedByAnotherProcessFails) {
    const std::string form = Write("Main.dfm", kMainForm);
    const std::string unit = Write("Main.pas", kUnit);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    int readyFds[2];
    ASSERT_EQ(::pipe(readyFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(unit.c_str(), O_RDONLY);
        const int formFd = ::open(form.c_str(), O_RDONLY);
        const bool locked =
            fd >= 0 && formFd >= 0 && ::flock(fd, LOCK_EX) == 0 && ::flock(formFd, LOCK_SH) == 0;
        const char state = locked ? 'L' : 'x';
        [[maybe_unused]] ssize_t ignored = ::write(readyFds[1], &state, 1);
        char done;
        ignored = ::read(pipeFds[0], &done, 1); // hold the locks until the parent is through
        ::_exit(0);
    }
    char state = 0;
    ASSERT_EQ(::read(readyFds[0], &state, 1), 1);
    ASSERT_EQ(state, 'L');
    const TranslateSummary summary = Run();
    [[maybe_unused]] ssize_t ignored = ::write(pipeFds[1], "x", 1);
    ::waitpid(child, nullptr, 0);
    for (int fd : {pipeFds[0], pipeFds[1], readyFds[0], readyFds[1]})
        ::close(fd);

    EXPECT_TRUE(summary.failed);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_NE(host.Messages()[0].find("(Cannot open file " + form + ")"), std::string::npos);
    // The run stopped at the form: the unit was never reached.
    EXPECT_TRUE(host.Errors().empty());
    EXPECT_EQ(Read("Main.dfm"), kMainForm);
    EXPECT_EQ(Read("Main.pas"), kUnit);
}

TEST_F(TranslateCommandTest, ABinaryFormWithNothingTranslatedKeepsItsBytes) {
    const std::string binary = TextToBinaryForm("object F: TF\r\n"
                                                "  Caption = 'Not in the table'\r\n"
                                                "  Hint = 'Gr'#246'e'#13#10'x'\r\n"
                                                "  Items.Strings = (\r\n    'Red'\r\n    #25171#24320)\r\n"
                                                "  Text = 'Red' +\r\n    ' and more'\r\n"
                                                "end\r\n");
    Write("F.dfm", binary);
    settings.includePas = false;
    const TranslateSummary summary = Run();
    EXPECT_FALSE(summary.failed) << summary.failure;
    EXPECT_EQ(Read("F.dfm"), binary);
    EXPECT_FALSE(Exists(File("F.~df")));
}

TEST_F(TranslateCommandTest, Utf8UnitsKeepTheirMarkAndEncoding) {
    Add("Close", "Schlie\xc3\x9f"
                 "en");
    Write("Bom.pas", "\xef\xbb\xbfS := 'Close';\n");
    Write("Ansi.pas", "S := 'Close';\n");
    Run();
    EXPECT_EQ(Read("Bom.pas"), "\xef\xbb\xbfS := 'Schlie\xc3\x9f"
                               "en';\n");
    EXPECT_EQ(Read("Ansi.pas"), "S := 'Schlie\xdf"
                                "en';\n");
}

TEST_F(TranslateCommandTest, KeysAreDecodedWithTheSourceCharacterSet) {
    Add("\xd0\x97\xd0\xb0\xd0\xba\xd1\x80\xd1\x8b\xd1\x82\xd1\x8c", "Close"); // "Закрыть"
    Write("Ru.pas", "S := '\xc7\xe0\xea\xf0\xfb\xf2\xfc';\r\n");              // the same in CP1251
    settings.sourceCharset = 204;
    Run();
    EXPECT_EQ(Read("Ru.pas"), "S := 'Close';\r\n");
}

TEST_F(TranslateCommandTest, AUnitTranslationTheCodePageCannotHoldFailsThatUnit) {
    Add("Cancel", "\xd0\x9e\xd1\x82\xd0\xbc\xd0\xb5\xd0\xbd\xd0\xb0"); // "Отмена", not in Windows-1252
    const std::string unit = "S := 'Cancel';\r\n";
    const std::string path = Write("Main.pas", unit);
    const TranslateSummary summary = Run();
    EXPECT_TRUE(summary.failed);
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_EQ(host.Errors()[0].rfind(path + ": ", 0), 0u) << host.Errors()[0];
    EXPECT_EQ(Read("Main.pas"), unit);
}

TEST_F(TranslateCommandTest, AFormTranslationTheCodePageCannotHoldIsWrittenWide) {
    Add("Cancel", "\xd0\x9e\xd1\x82\xd0\xbc\xd0\xb5\xd0\xbd\xd0\xb0 !");
    Write("F.dfm", "object F: TF\r\n  Caption = 'Cancel'\r\nend\r\n");
    settings.includePas = false;
    const TranslateSummary summary = Run();
    EXPECT_FALSE(summary.failed) << summary.failure;
    EXPECT_EQ(FormText("F.dfm"), "object F: TF\r\n  Caption = #1054#1090#1084#1077#1085#1072' !'\r\nend\r\n");
    // With a Cyrillic target the same translation is a narrow string again.
    Write("F.dfm", "object F: TF\r\n  Caption = 'Cancel'\r\nend\r\n");
    settings.targetCharset = 204;
    Run();
    EXPECT_EQ(FormText("F.dfm"), "object F: TF\r\n  Caption = '\xce\xf2\xec\xe5\xed\xe0 !'\r\nend\r\n");
}

TEST_F(TranslateCommandTest, LongDoubleByteValuesAreCutBetweenCharacters) {
    const std::string kana = FortyKana(true);
    settings.includePas = false;
    settings.sourceCharset = 128;
    settings.targetCharset = 128;
    // The clipboard shows the rewritten text form: a translation laid out anew, then a value of a
    // binary form as converted.
    const std::string expected = "object F: TF\r\nCaption =\r\n'a" + kana.substr(0, 31 * 3) + "' +\r\n'" +
                                 kana.substr(31 * 3) + "'\r\nend\r\n";
    Add("Open", "a" + kana);
    Write("F.dfm", "object F: TF\r\n  Caption = 'Open'\r\nend\r\n");
    TranslateSummary summary = Run();
    ASSERT_FALSE(summary.failed) << summary.failure;
    EXPECT_EQ(host.Clipboard(), expected);
    Write("F.dfm", TextToBinaryForm("object F: TF\r\n  Caption = 'a" + FortyKana(false) + "'\r\nend\r\n"));
    summary = Run();
    ASSERT_FALSE(summary.failed) << summary.failure;
    EXPECT_EQ(host.Clipboard(), expected);
}

TEST_F(TranslateCommandTest, AWideValueWithoutWideCharactersFailsTheForm) {
    Add("Coffee", "caf\xc3\xa9"); // é is not in Windows-1251 and below U+0100
    const std::string form = "object F: TF\r\n  Caption = 'Coffee'\r\nend\r\n";
    Write("F.dfm", form);
    settings.includePas = false;
    settings.targetCharset = 204;
    const TranslateSummary summary = Run();
    EXPECT_TRUE(summary.failed);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_NE(host.Messages()[0].find(" Line 2: "), std::string::npos) << host.Messages()[0];
    EXPECT_EQ(Read("F.dfm"), form);
}

TEST_F(TranslateCommandTest, RefusesBeforeAskingWhenItCannotStart) {
    Write("Main.pas", kUnit);
    const std::string dpr = settings.projectPath;
    const std::string missing = File("elsewhere/Demo.dpr");
    struct Case {
        std::string projectPath, language, translation, refusal;
    };
    for (const Case& c : std::vector<Case>{
             {missing, "English", "German", "The project file " + missing + " could not be found."},
             {"", "English", "German", "No project file is given."},
             // Translating to Project replaced every text by the project's name.
             {dpr, "English", "Project", "\"Project\" is not a language of the strings table."},
             {dpr, "SpFront", "German", "\"SpFront\" is not a language of the strings table."},
             {dpr, "English", "SpEnd", "\"SpEnd\" is not a language of the strings table."},
             {dpr, "English", "Klingon", "\"Klingon\" is not a language of the strings table."}}) {
        host.Clear();
        settings.projectPath = c.projectPath;
        settings.language = c.language;
        settings.translation = c.translation;
        const TranslateSummary summary = Run();
        EXPECT_TRUE(summary.failed);
        EXPECT_FALSE(summary.confirmed);
        EXPECT_EQ(summary.failure, c.refusal);
        // Nothing asked, nothing else shown, nothing touched.
        ASSERT_EQ(host.Events().size(), 1u) << c.refusal;
        EXPECT_EQ(host.Errors(), std::vector<std::string>{c.refusal});
        EXPECT_EQ(Read("Main.pas"), kUnit);
        EXPECT_FALSE(Exists(File("Main.~pa")));
    }
}

TEST_F(TranslateCommandTest, ASecondRunOverwritesTheBackups) {
    Write("Main.pas", kUnit);
    Run();
    const std::string first = Read("Main.pas");
    Add("Unknown text", "Unbekannter Text");
    Run();
    EXPECT_EQ(Read("Main.~pa"), first);
    EXPECT_NE(Read("Main.pas").find("'Unbekannter Text'"), std::string::npos);
}

TEST_F(TranslateCommandTest, AFailedBackupLeavesTheFileAlone) {
    Write("Main.pas", kUnit);
    std::filesystem::create_directory(File("Main.~pa"));
    const TranslateSummary summary = Run();
    EXPECT_TRUE(summary.failed);
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_NE(host.Errors()[0].find("Main.~pa"), std::string::npos);
    EXPECT_EQ(Read("Main.pas"), kUnit);
}

TEST_F(TranslateCommandTest, FilterIsSwitchedOffSoOtherProjectsTranslationsServe) {
    table->SetFilter("Project = 'Other'");
    table->SetFiltered(true);
    Write("Main.pas", "S := 'Open file';\r\n");
    Run();
    EXPECT_EQ(Read("Main.pas"), "S := 'Datei \xf6"
                                "ffnen';\r\n");
    EXPECT_FALSE(table->Filtered());
}

} // namespace
} // namespace wordloom

namespace wordloom {
namespace {

int g_hookCalls = 0;
int g_crashAt = 0;

void CountingHook(ReplaceStep, const std::string&) {
    if (++g_hookCalls == g_crashAt)
        ::_exit(7); // dies like a killed process: no unwinding, no clean-up
}

/// Runs the command in a child process that is killed at replacement step `crashAt`; true when it
/// died there.
bool RunKilledAt(const std::string& tablePath, const ProjectSettings& settings, int crashAt) {
    const pid_t child = ::fork();
    if (child == 0) {
        StringsTable childTable(tablePath, OpenMode::ReadOnly);
        RecordingHost childHost;
        g_hookCalls = 0;
        g_crashAt = crashAt;
        SetReplaceHookForTesting(CountingHook);
        RunTranslateCommand(childTable, settings, childHost);
        ::_exit(0);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 7;
}

TEST_F(TranslateCommandTest, ACrashAtAnyMomentLeavesEveryFileOldOrNewWithItsBackup) {
    const std::map<std::string, std::string> originals = {
        {"Main.dfm", kMainForm},
        {"Bin.dfm", TextToBinaryForm("object B: TB\r\n  Caption = 'Green'\r\nend\r\n")},
        {"Main.pas", kUnit},
        {"Other.pas", "S := 'Green';\n"}};
    // What a complete run gives, and how many steps it takes.
    TempDir reference;
    for (const auto& [name, content] : originals)
        reference.Write(name, content);
    ProjectSettings referenceSettings = settings;
    referenceSettings.projectPath = reference.Write("Demo.dpr", "program Demo;\r\n");
    RecordingHost referenceHost;
    g_hookCalls = 0;
    g_crashAt = -1;
    SetReplaceHookForTesting(CountingHook);
    RunTranslateCommand(*table, referenceSettings, referenceHost);
    SetReplaceHookForTesting(nullptr);
    const int steps = g_hookCalls;
    ASSERT_GT(steps, 8);
    std::map<std::string, std::string> translated;
    for (const auto& [name, content] : originals) {
        translated[name] = ReadBytes(reference.Path() + "/" + name);
        ASSERT_NE(translated[name], content) << name;
    }

    for (int crashAt = 1; crashAt <= steps; ++crashAt) {
        for (const auto& [name, content] : originals) {
            Write(name, content);
            std::filesystem::remove(BackupPath(File(name)));
        }
        ASSERT_TRUE(RunKilledAt(tablePath, settings, crashAt)) << "step " << crashAt;
        for (const auto& [name, content] : originals) {
            const std::string now = Read(name);
            if (now == content)
                continue;
            EXPECT_EQ(now, translated[name]) << name << " after a crash at step " << crashAt;
            EXPECT_EQ(ReadBytes(BackupPath(File(name))), content)
                << name << " after a crash at step " << crashAt;
        }
    }
}

TEST_F(TranslateCommandTest, TheNextRunRemovesWhatAKilledRunLeftBehind) {
    Write("Main.dfm", kMainForm);
    Write("Main.pas", kUnit);
    const auto ours = [this] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(project.Path())) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".wordloom-") && name != ".wordloom-notes")
                names.push_back(name);
        }
        return names;
    };
    // Killed with the form's new content half written: its backup and its temporary file exist.
    ASSERT_TRUE(RunKilledAt(tablePath, settings, 3));
    ASSERT_EQ(ours().size(), 2u);
    Write(".wordloom-notes", "the user's own");

    const TranslateSummary summary = Run();
    EXPECT_FALSE(summary.failed) << summary.failure;
    EXPECT_EQ(ours(), std::vector<std::string>{});
    EXPECT_EQ(Read(".wordloom-notes"), "the user's own");
    EXPECT_EQ(Read("Main.~df"), kMainForm);
}

} // namespace
} // namespace wordloom

namespace wordloom {
namespace {

class TranslationLookupTest : public TranslateFixture {};

TEST_F(TranslationLookupTest, KeySearchesAndTheTableWalkGiveTheSameAnswers) {
    for (int i = 0; i < 40; ++i)
        Add("Text number " + std::to_string(i), i % 3 == 0 ? "" : "Text Nummer " + std::to_string(i));
    Add("  Padded ", "Gepolstert");
    table->SetFiltered(false);
    table->SetIndexFieldNames("English");
    TranslationLookup lookup(*table, "German");
    // Forty-one records: the first five distinct searches are key searches, then the table is read.
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 40; ++i) {
            const TranslatedText* found = lookup.Find("Text number " + std::to_string(i));
            if (i % 3 == 0) {
                EXPECT_EQ(found, nullptr) << i;
            } else {
                ASSERT_NE(found, nullptr) << i;
                EXPECT_EQ(found->text, "Text Nummer " + std::to_string(i));
            }
        }
        EXPECT_EQ(lookup.Find("Not there"), nullptr);
        const TranslatedText* padded = lookup.Find("Padded");
        ASSERT_NE(padded, nullptr);
        EXPECT_EQ(padded->spFront, 2);
        EXPECT_EQ(padded->spEnd, 1);
    }
}

TEST_F(TranslationLookupTest, TheTableIsReadWholeOnceTheSearchesSoFarForeseeEnoughOfThem) {
    for (int i = 0; i < 80; ++i)
        Add("Text number " + std::to_string(i), i == 7 ? "" : "Text Nummer " + std::to_string(i));
    table->SetFiltered(false);
    table->SetIndexFieldNames("English");
    TranslationLookup lookup(*table, "German");
    lookup.Forecast(40, 80);
    EXPECT_FALSE(lookup.Preloaded()) << "nothing was sought yet";
    ASSERT_NE(lookup.Find("Text number 1"), nullptr);
    EXPECT_EQ(lookup.Find("Text number 7"), nullptr);
    // Eighty records are read whole after ten searches; two searches in sixteen files foresee
    // five in forty files, ten in eighty.
    lookup.Forecast(15, 1000);
    EXPECT_FALSE(lookup.Preloaded()) << "too few files to tell";
    lookup.Forecast(16, 40);
    EXPECT_FALSE(lookup.Preloaded());
    lookup.Forecast(16, 80);
    EXPECT_TRUE(lookup.Preloaded());
    const TranslatedText* sought = lookup.Find("Text number 1");
    const TranslatedText* read = lookup.Find("Text number 79");
    ASSERT_NE(sought, nullptr);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(sought->text, "Text Nummer 1");
    EXPECT_EQ(read->text, "Text Nummer 79");
    EXPECT_EQ(lookup.Find("Text number 7"), nullptr);
    EXPECT_EQ(lookup.Find("Text number 80"), nullptr);
}

TEST_F(TranslationLookupTest, AnswersAreKeptPerCodePagePairAndFailuresAreNot) {
    Add("Close", "Schlie\xc3\x9f"
                 "en");
    Add("Cancel", "\xd0\x9e\xd1\x82\xd0\xbc\xd0\xb5\xd0\xbd\xd0\xb0"); // not in Windows-1252
    table->SetFiltered(false);
    table->SetIndexFieldNames("English");
    TranslationLookup lookup(*table, "German");
    const CodePage& ansi = CodePage::ForCharset(0);
    const LiteralLookup inAnsi = UnitLiteralLookup(lookup, ansi, ansi);
    const LiteralLookup inUtf8 = UnitLiteralLookup(lookup, CodePage::Utf8(), CodePage::Utf8());
    for (int round = 0; round < 2; ++round) {
        const std::optional<TranslatedText> narrow = inAnsi("Close");
        ASSERT_TRUE(narrow) << round;
        EXPECT_EQ(narrow->text, "Schlie\xdf"
                                "en");
        const std::optional<TranslatedText> utf8 = inUtf8("Close");
        ASSERT_TRUE(utf8) << round;
        EXPECT_EQ(utf8->text, "Schlie\xc3\x9f"
                              "en");
        EXPECT_FALSE(inAnsi("Unknown"));
        // Every literal holding it fails its unit, not only the first.
        EXPECT_THROW(inAnsi("Cancel"), FileError) << round;
    }
    // The next unit's lookup gets the same answers.
    const std::optional<TranslatedText> again = UnitLiteralLookup(lookup, ansi, ansi)("Close");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->text, "Schlie\xdf"
                           "en");
}

TEST_F(TranslationLookupTest, NarrowAndWideValuesAreAnsweredApart) {
    Add("Co", "Ko");
    table->SetFiltered(false);
    table->SetIndexFieldNames("English");
    TranslationLookup lookup(*table, "German");
    const CodePage& ansi = CodePage::ForCharset(0);
    const FormValueLookup values = FormLookup(lookup, ansi, ansi);
    PascalString narrow;
    narrow.AppendBytes("Co");
    PascalString wide; // one character whose two bytes read "Co"
    wide.Widen();
    wide.AppendUnit(u'\u6F43');
    for (int round = 0; round < 2; ++round) {
        const std::optional<PascalString> translated = values(narrow);
        ASSERT_TRUE(translated) << round;
        EXPECT_EQ(translated->Narrow(), "Ko");
        EXPECT_FALSE(values(wide)) << round;
    }
}

} // namespace
} // namespace wordloom
