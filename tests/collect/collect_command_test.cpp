#include "collect/collect_command.h"

#include "collect_fixture.h"

#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <thread>

namespace wordloom {
namespace {

using TextList = std::vector<std::string>;
using Kind = RecordingHost::Kind;

class CollectCommand : public CollectFixture {
protected:
    ProjectSettings Settings(const std::string& projectFile = "Demo.App.dpr") const {
        ProjectSettings settings;
        settings.projectPath = project.Write(projectFile, "program Demo;\r\n");
        settings.language = "English";
        settings.translation = "German";
        return settings;
    }

    CollectSummary Run(bool includePas = true) {
        ProjectSettings settings = Settings();
        settings.includePas = includePas;
        return RunAndNote(settings);
    }

    CollectSummary RunAndNote(const ProjectSettings& settings) {
        const CollectSummary summary = RunCollectCommand(*table, settings, host, state);
        m_indexAfterRun = table->IndexField();
        m_recNoAfterRun = table->RecNo();
        return summary;
    }

    /// The closing steps ran, in their order, and left the window as it was.
    void ExpectClosed() {
        std::vector<Kind> kinds;
        for (const auto& event : host.Events()) {
            kinds.push_back(event.kind);
        }
        // A failure that ended the command, and the report of what was left out, are shown after
        // the closing steps.
        if (!kinds.empty() && kinds.back() == Kind::Error) {
            kinds.pop_back();
        }
        if (!kinds.empty() && kinds.back() == Kind::Report) {
            kinds.pop_back();
        }
        ASSERT_GE(kinds.size(), 3u);
        EXPECT_EQ(kinds[kinds.size() - 3], Kind::ApplyProjectFilter);
        EXPECT_EQ(kinds[kinds.size() - 2], Kind::SetViewAttached);
        EXPECT_EQ(kinds.back(), Kind::BusyCursor);
        EXPECT_TRUE(host.ViewAttached());
        EXPECT_FALSE(host.Busy());
        EXPECT_EQ(m_indexAfterRun, "German");
        EXPECT_EQ(m_recNoAfterRun, 0);
    }

    /// Distinct texts among the committed records.
    std::string DistinctCount() const { return QueryTable("SELECT count(DISTINCT English) FROM strings"); }

private:
    std::string m_indexAfterRun;
    int m_recNoAfterRun = -1;

protected:
};

TEST_F(CollectCommand, FormsFirstThenUnitsWithStatusTexts) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = ' Shared '\r\nend\r\n");
    project.Write("MAIN.PAS", "s := 'Shared';\r\nt := 'Only unit';\r\n");
    project.Write("Sub/Deep.dfm", "object Form2: TForm2\r\n  Caption = 'Too deep'\r\nend\r\n");
    project.Write("Notes.txt", "'Not a source'");
    const CollectSummary summary = Run();
    EXPECT_FALSE(summary.failed);
    EXPECT_EQ(summary.filesRead, 2);
    EXPECT_EQ(summary.textsAdded, 2);
    EXPECT_EQ(host.StatusTexts(), (TextList{"Parsing Main.dfm ...", "Parsing MAIN.PAS ...", "Finished"}));
    EXPECT_EQ(host.Count(Kind::ProcessPendingEvents), 1);
    EXPECT_TRUE(host.Messages().empty());
    const auto records = Records();
    EXPECT_EQ(records.at("Shared"), (FiledText{1, 1, "Demo"})); // the form came first
    EXPECT_EQ(records.at("Only unit"), (FiledText{0, 0, "Demo"}));
    EXPECT_EQ(records.size(), 2u);
    ExpectClosed();
}

TEST_F(CollectCommand, NoFormsMeansNothingIsRead) {
    project.Write("Unit1.pas", "s := 'Never read';\r\n");
    const CollectSummary summary = Run();
    EXPECT_FALSE(summary.failed);
    EXPECT_EQ(host.Messages(), (TextList{"No Forms found!"}));
    EXPECT_TRUE(host.StatusTexts().empty());
    EXPECT_TRUE(Texts().empty());
    ExpectClosed();
}

TEST_F(CollectCommand, FormsWithoutUnits) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Form text'\r\nend\r\n");
    Run();
    EXPECT_EQ(host.Messages(), (TextList{"No Pascal Files found!"}));
    EXPECT_EQ(host.StatusTexts(), (TextList{"Parsing Main.dfm ...", "Finished"}));
    EXPECT_EQ(Texts(), (TextList{"Form text"}));
}

TEST_F(CollectCommand, UnitsLeftOutWhenNotIncluded) {
    project.Write("Main.dfm", "object Form1: TForm1\r\nend\r\n");
    project.Write("Unit1.pas", "s := 'Unit text';\r\n");
    Run(false);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(host.StatusTexts(), (TextList{"Parsing Main.dfm ...", "Finished"}));
    EXPECT_TRUE(Texts().empty());
}

TEST_F(CollectCommand, SecondRunAddsNothing) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Once'\r\n  Hint = 'Twice'\r\nend\r\n");
    project.Write("Unit1.pas", "s := 'Thrice';\r\n");
    EXPECT_EQ(Run().textsAdded, 3);
    EXPECT_EQ(CommittedCount(), "3");
    const auto first = Records();
    const CollectSummary again = Run();
    EXPECT_EQ(again.textsAdded, 0);
    EXPECT_EQ(again.filesRead, 2);
    EXPECT_EQ(Records(), first);
}

TEST_F(CollectCommand, FileThatCannotBeReadEndsTheCommandAndKeepsWhatWasFiled) {
    // Every file but the broken one files a text; the broken one stops the command wherever the
    // directory order puts it, and texts of files before it stay filed.
    project.Write("A.dfm", "object FormA: TFormA\r\n  Caption = 'From A'\r\nend\r\n");
    project.Write("B.dfm", "not a form at all");
    project.Write("C.dfm", "object FormC: TFormC\r\n  Caption = 'From C'\r\nend\r\n");
    project.Write("Unit1.pas", "s := 'Unit text';\r\n");
    const CollectSummary summary = Run();
    EXPECT_TRUE(summary.failed);
    EXPECT_EQ(summary.failure, "Invalid stream format");
    EXPECT_EQ(host.Errors(), (TextList{"Invalid stream format"}));
    const TextList status = host.StatusTexts();
    EXPECT_EQ(std::count(status.begin(), status.end(), "Finished"), 0);
    const int formsBefore =
        static_cast<int>(std::find(status.begin(), status.end(), "Parsing B.dfm ...") - status.begin());
    EXPECT_EQ(summary.filesRead, formsBefore);
    EXPECT_EQ(summary.textsAdded, formsBefore);
    EXPECT_EQ(static_cast<int>(Texts().size()), formsBefore);
    EXPECT_EQ(CommittedCount(), std::to_string(formsBefore));
    const TextList texts = Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Unit text"), 0);
    ExpectClosed();
}

TEST_F(CollectCommand, ParsingErrorsAreListedOnceWhenTheCommandEnds) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'broken\r\n  Hint = 'Fine'\r\nend\r\n");
    project.Write("Unit1.pas", "a := 'ok';\r\nb := 'bad;\r\nc := 'also bad;\r\n");
    const CollectSummary summary = Run();
    EXPECT_FALSE(summary.failed);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(Texts(), (TextList{"Fine", "ok"}));
    EXPECT_TRUE(host.Errors().empty());
    ASSERT_EQ(host.Count(Kind::Report), 1);
    EXPECT_EQ(host.ReportItems(),
              (TextList{"Main.dfm Line 2: Parsing error when parsing String: Caption = 'broken",
                        "Unit1.pas Line 2: Parsing error when parsing String: 'bad;",
                        "Unit1.pas Line 3: Parsing error when parsing String: 'also bad;"}));
    EXPECT_EQ(summary.lineFailures.size(), 3u);
    ExpectClosed();
}

TEST_F(CollectCommand, RecordRefusedWhenItsBatchIsStoredIsReportedForItsLine) {
    // New records are stored after their file was read; the refusal still names its own line,
    // in line order among the parsing errors.
    test::TableFile refusing(
        "CREATE TABLE strings (English TEXT CHECK (English <> 'Refused'), German TEXT, "
        "Project TEXT, SpFront INTEGER, SpEnd INTEGER); "
        "CREATE INDEX English ON strings (English); CREATE INDEX German ON strings (German);");
    table = std::make_unique<StringsTable>(refusing.Path());
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Fine'\r\n  Hint = ' Refused'\r\n"
                              "  Caption = 'broken\r\n  Hint = 'Other'\r\nend\r\n");
    project.Write("Unit1.pas", "s := 'Refused';\r\nt := 'Last';\r\n");
    const CollectSummary summary = Run();
    EXPECT_FALSE(summary.failed) << summary.failure;
    EXPECT_EQ(host.ReportItems(),
              (TextList{"Main.dfm Line 3: Parsing error when parsing String: Hint = ' Refused'",
                        "Main.dfm Line 4: Parsing error when parsing String: Caption = 'broken"}));
    EXPECT_EQ(summary.textsAdded, 3);
    EXPECT_EQ(refusing.Query("SELECT group_concat(English, ',') FROM (SELECT English FROM strings ORDER BY "
                             "English)"),
              "Fine,Last,Other");
    table.reset();
}

class CollectSkipping : public CollectCommand {
protected:
    void SetUp() override {
        CollectCommand::SetUp();
        project.Write("A.dfm", "object FormA: TFormA\r\n  Caption = 'From A'\r\nend\r\n");
        project.Write("B.dfm", "not a form at all");
        project.Write("C.dfm", "object FormC: TFormC\r\n  Caption = 'From C'\r\nend\r\n");
        project.Write("D.dfm", "damaged too");
        project.Write("Unit1.pas", "s := 'Unit text';\r\n");
    }
    /// The broken forms in the order the command meets them.
    TextList Broken() const {
        TextList broken;
        for (const std::string& status : host.StatusTexts()) {
            if (status == "Parsing B.dfm ..." || status == "Parsing D.dfm ...") {
                broken.push_back(status.substr(8, 5));
            }
        }
        return broken;
    }
};

TEST_F(CollectSkipping, SkipGoesOnAndAsksAgainForTheNextFile) {
    host.skipAnswers = {FileFailureAnswer::Skip, FileFailureAnswer::Skip};
    const CollectSummary summary = Run();
    EXPECT_FALSE(summary.failed);
    const TextList broken = Broken();
    ASSERT_EQ(broken.size(), 2u);
    EXPECT_EQ(host.Texts(Kind::AskSkipFile),
              (TextList{broken[0] + ": Invalid stream format", broken[1] + ": Invalid stream format"}));
    EXPECT_EQ(summary.skippedFiles,
              (TextList{broken[0] + ": Invalid stream format", broken[1] + ": Invalid stream format"}));
    EXPECT_EQ(host.ReportItems(), (TextList{"Skipped " + broken[0] + ": Invalid stream format",
                                            "Skipped " + broken[1] + ": Invalid stream format"}));
    EXPECT_EQ(summary.filesRead, 3);
    EXPECT_EQ(Texts(), (TextList{"From A", "From C", "Unit text"}));
    EXPECT_EQ(CommittedCount(), "3");
    EXPECT_TRUE(host.Errors().empty());
    ExpectClosed();
}

TEST_F(CollectSkipping, SkipAllAsksOnce) {
    host.skipAnswers = {FileFailureAnswer::SkipAll};
    const CollectSummary summary = Run();
    EXPECT_FALSE(summary.failed);
    EXPECT_EQ(host.Count(Kind::AskSkipFile), 1);
    EXPECT_EQ(summary.skippedFiles.size(), 2u);
    EXPECT_EQ(Texts(), (TextList{"From A", "From C", "Unit text"}));
    EXPECT_EQ(host.StatusTexts().back(), "Finished");
}

TEST_F(CollectSkipping, StopEndsTheCommandAsBefore) {
    host.skipAnswers = {FileFailureAnswer::Stop};
    const CollectSummary summary = Run();
    EXPECT_TRUE(summary.failed);
    EXPECT_EQ(host.Count(Kind::AskSkipFile), 1);
    EXPECT_TRUE(summary.skippedFiles.empty());
    EXPECT_EQ(host.Errors(), (TextList{"Invalid stream format"}));
    const TextList texts = Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Unit text"), 0);
    ExpectClosed();
}

TEST_F(CollectCommand, RefusesBeforeAnythingWhenItCannotStart) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Text'\r\nend\r\n");
    const std::string dpr = project.Write("Demo.dpr", "program Demo;\r\n");
    const std::string missing = project.Path() + "/elsewhere/Demo.dpr";
    struct Case {
        std::string projectPath, language, refusal;
    };
    for (const Case& c :
         std::vector<Case>{// A missing project file said "No Forms found!" (or read the root folder).
                           {missing, "English", "The project file " + missing + " could not be found."},
                           {"", "English", "No project file is given."},
                           {dpr, "Project", "\"Project\" is not a language of the strings table."},
                           {dpr, "SpEnd", "\"SpEnd\" is not a language of the strings table."},
                           {dpr, "Klingon", "\"Klingon\" is not a language of the strings table."}}) {
        host.Clear();
        ProjectSettings settings;
        settings.projectPath = c.projectPath;
        settings.language = c.language;
        settings.translation = "German";
        const CollectSummary summary = RunCollectCommand(*table, settings, host, state);
        EXPECT_TRUE(summary.failed);
        EXPECT_EQ(summary.failure, c.refusal);
        ASSERT_EQ(host.Events().size(), 1u) << c.refusal;
        EXPECT_EQ(host.Errors(), TextList{c.refusal});
        EXPECT_EQ(summary.filesRead, 0);
        EXPECT_TRUE(Texts().empty());
    }
}

// Another program's connection to the table file, holding a write transaction while it lives.
class WriteHolder {
public:
    explicit WriteHolder(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
            sqlite3_exec(m_db, "BEGIN IMMEDIATE; INSERT INTO strings (English) VALUES ('Held');", nullptr,
                         nullptr, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << "cannot hold the table: " << sqlite3_errmsg(m_db);
        }
    }
    ~WriteHolder() { sqlite3_close(m_db); }
    WriteHolder(const WriteHolder&) = delete;
    WriteHolder& operator=(const WriteHolder&) = delete;
    void Commit() { EXPECT_EQ(sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK); }

private:
    sqlite3* m_db = nullptr;
};

class CollectIntoBusyTable : public CollectCommand {
protected:
    void SetUp() override {
        CollectCommand::SetUp();
        project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Form text'\r\nend\r\n");
        project.Write("Unit1.pas", "a := 'One';\r\nb := 'Two';\r\nc := 'Three';\r\n");
    }
};

TEST_F(CollectIntoBusyTable, TableHeldTooLongEndsTheCommandNamingTheTable) {
    EXPECT_EQ(Run().textsAdded, 4); // filed before the other program came
    project.Write("Unit2.pas", "d := 'Four';\r\n");
    table->SetBusyTimeout(100);
    WriteHolder holder(TablePath());
    const CollectSummary summary = Run();
    EXPECT_TRUE(summary.failed);
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_NE(host.Errors()[0].find(TablePath()), std::string::npos) << host.Errors()[0];
    EXPECT_NE(host.Errors()[0].find("in use by another program"), std::string::npos) << host.Errors()[0];
    EXPECT_EQ(host.Count(Kind::Report), 0); // no line is blamed for it
    const TextList status = host.StatusTexts();
    EXPECT_NE(std::find(status.begin(), status.end(),
                        "Waiting for the strings table: another program is writing to it ..."),
              status.end());
    EXPECT_EQ(CommittedCount(), "4");
    ExpectClosed();
}

TEST_F(CollectIntoBusyTable, WaitsForAnotherWriterAndFilesEveryTextOnce) {
    // The other program files one of the texts and commits while the command waits for it.
    std::optional<WriteHolder> holder(std::in_place, TablePath());
    struct CommittingHost : RecordingHost {
        std::optional<WriteHolder>* holder = nullptr;
        void StatusText(const std::string& text) override {
            RecordingHost::StatusText(text);
            if (text.starts_with("Waiting") && *holder) {
                (*holder)->Commit();
                holder->reset();
            }
        }
    } committing;
    committing.holder = &holder;
    const ProjectSettings settings = Settings("Demo.dpr");
    project.Write("Unit2.pas", "x := 'Held';\r\n");
    const CollectSummary summary = RunCollectCommand(*table, settings, committing, state);
    EXPECT_FALSE(summary.failed) << summary.failure;
    EXPECT_FALSE(holder.has_value()) << "the command never waited";
    EXPECT_TRUE(committing.ReportItems().empty());
    EXPECT_EQ(Texts(), (TextList{"Form text", "Held", "One", "Three", "Two"}));
    EXPECT_EQ(CommittedCount(), "5");
}

TEST_F(CollectIntoBusyTable, ConcurrentCommandsBothCompleteAndFileEveryTextOnce) {
    for (int i = 0; i < 40; ++i) {
        project.Write("Unit" + std::to_string(i) + "x.pas",
                      "a := 'Text " + std::to_string(i) + "';\r\nb := 'Shared';\r\n");
    }
    const ProjectSettings settings = Settings("Demo.dpr");
    const auto collect = [&](CollectSummary& summary, RecordingHost& runHost) {
        StringsTable own(TablePath());
        CollectState ownState;
        summary = RunCollectCommand(own, settings, runHost, ownState);
    };
    CollectSummary first, second;
    RecordingHost firstHost, secondHost;
    std::thread other([&] { collect(second, secondHost); });
    collect(first, firstHost);
    other.join();
    EXPECT_FALSE(first.failed) << first.failure;
    EXPECT_FALSE(second.failed) << second.failure;
    EXPECT_TRUE(firstHost.ReportItems().empty());
    EXPECT_TRUE(secondHost.ReportItems().empty());
    EXPECT_EQ(first.textsAdded + second.textsAdded, 45);
    EXPECT_EQ(CommittedCount(), "45");
    EXPECT_EQ(DistinctCount(), "45");
}

TEST_F(CollectCommand, ReadOnlyTableEndsWithOneMessageNotParsingErrors) {
    project.Write("Main.dfm", "object Form1: TForm1\r\n  Caption = 'Form text'\r\nend\r\n");
    project.Write("Unit1.pas", "a := 'One';\r\nb := 'Two';\r\n");
    table = std::make_unique<StringsTable>(TablePath(), OpenMode::ReadOnly);
    const CollectSummary summary = Run();
    EXPECT_TRUE(summary.failed);
    EXPECT_EQ(host.Errors(), (TextList{"The strings table " + TablePath() + " is read-only"}));
    EXPECT_EQ(host.Count(Kind::Report), 0);
    EXPECT_EQ(CommittedCount(), "0");
    ExpectClosed();
}

} // namespace
} // namespace wordloom
