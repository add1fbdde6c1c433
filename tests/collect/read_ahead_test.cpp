// Collect with the files read and parsed ahead on a worker thread: the table, the where-used rows,
// the host's calls and the summary must come out as when every file is read on the calling
// thread, also with broken files, failed lines, refused records and a cancel in the middle.
#include "collect/collect_command.h"
#include "collect/form_collector.h"
#include "collect/unit_collector.h"

#include "collect_fixture.h"
#include "support/project_generator.h"

#include <algorithm>

namespace wordloom {
namespace {

using TextList = std::vector<std::string>;
using Kind = RecordingHost::Kind;

// Everything one collect run leaves behind, as text to compare.
struct RunResult {
    std::string records;
    std::string occurrences;
    std::string reviews;
    TextList files; ///< with where-used rows, in the order written
    TextList events;
    TextList progress;
    std::string summary;
};

void ExpectSame(const RunResult& actual, const RunResult& expected) {
    EXPECT_EQ(actual.records, expected.records);
    EXPECT_EQ(actual.occurrences, expected.occurrences);
    EXPECT_EQ(actual.reviews, expected.reviews);
    EXPECT_EQ(actual.files, expected.files);
    EXPECT_EQ(actual.events, expected.events);
    EXPECT_EQ(actual.progress, expected.progress);
    EXPECT_EQ(actual.summary, expected.summary);
}

class ReadAheadCollect : public ::testing::Test {
protected:
    void SetUp() override {
        GeneratorOptions options;
        options.forms = 40;
        options.units = 40;
        options.binaryEvery = 3;
        m_project = GenerateProject(m_folder.Path() + "/project", options);
        // Broken files among the generated ones, failed lines, a unit in UTF-8 and texts that
        // get "don't translate" proposals.
        m_folder.Write("project/Broken1.dfm", "not a form at all");
        m_folder.Write("project/Broken2.dfm", std::string("TPF0\x05TForm", 10));
        m_folder.Write("project/Lines.dfm",
                       "object Form1: TForm1\r\n  Caption = 'broken\r\n  Hint = 'Fine'\r\n"
                       "  Caption = 'SELECT * FROM Customers'\r\nend\r\n");
        m_folder.Write("project/Lines.pas", "a := 'ok'; b := 'bad;\r\nc := 'C:\\Temp\\out.txt';\r\n");
        m_folder.Write("project/Utf8.pas", "\xEF\xBB\xBFs := 'Gr\xC3\xBC\xC3\x9F"
                                           "e';\r\n");
    }

    ProjectSettings Settings() const {
        ProjectSettings settings;
        settings.projectPath = m_project.projectPath;
        settings.language = "English";
        settings.translation = "German";
        settings.includePas = true;
        return settings;
    }

    // One run into a fresh table (`schema` empty: the shipped one).
    RunResult Run(std::size_t readAhead, RecordingHost host, const std::string& schema = {}) {
        auto file =
            schema.empty() ? std::make_unique<test::TableFile>() : std::make_unique<test::TableFile>(schema);
        CollectState state;
        CollectSummary summary;
        {
            StringsTable table(file->Path());
            summary = RunCollectCommand(table, Settings(), host, state, readAhead);
        }
        RunResult result;
        // Record ids follow the commits, and those the clock (also with one thread): in key order.
        result.records =
            file->Query("SELECT group_concat(r, '|') FROM (SELECT English || ':' || Project || ':' || "
                        "SpFront || ':' || SpEnd AS r FROM strings ORDER BY English)");
        result.occurrences = file->Query(
            "SELECT group_concat(r, '|') FROM (SELECT rowid || ':' || file || ':' || line || ':' || "
            "path || ':' || property || ':' || text AS r FROM occurrence ORDER BY rowid)");
        result.reviews =
            file->Query("SELECT group_concat(r, '|') FROM (SELECT text || ':' || target || ':' || "
                        "state || ':' || note AS r FROM review ORDER BY rowid)");
        std::string files =
            file->Query("SELECT group_concat(file, '|') FROM (SELECT file, min(rowid) AS first "
                        "FROM occurrence GROUP BY file ORDER BY first)");
        for (std::size_t start = 0; !files.empty() && start <= files.size();) {
            const std::size_t end = std::min(files.find('|', start), files.size());
            result.files.push_back(files.substr(start, end - start));
            start = end + 1;
        }
        for (const RecordingHost::Event& event : host.Events()) {
            std::string line = std::to_string(static_cast<int>(event.kind)) + ":" + event.text;
            for (const std::string& item : event.items) {
                line += "\n  " + item;
            }
            result.events.push_back(line + (event.flag ? " on" : ""));
        }
        for (const RecordingHost::ProgressStep& step : host.ProgressSteps()) {
            result.progress.push_back(std::to_string(step.done) + "/" + std::to_string(step.total) + " " +
                                      step.current);
        }
        result.summary = std::to_string(summary.filesRead) + " files, " + std::to_string(summary.textsAdded) +
                         " added, failed " + std::to_string(summary.failed) + " " + summary.failure +
                         ", cancelled " + std::to_string(summary.cancelled) + ", line " +
                         std::to_string(state.lineCount);
        for (const std::string& skipped : summary.skippedFiles) {
            result.summary += "; skipped " + skipped;
        }
        for (const LineFailure& failure : summary.lineFailures) {
            result.summary += "; " + failure.path + ":" + std::to_string(failure.line) + ":" + failure.text;
        }
        return result;
    }

    static RecordingHost Answering(std::initializer_list<FileFailureAnswer> answers, int cancelAfter = -1) {
        RecordingHost host;
        host.skipAnswers = answers;
        host.cancelAfterProgress = cancelAfter;
        return host;
    }

    TempDir m_folder;
    GeneratedProject m_project;
};

TEST_F(ReadAheadCollect, SameOutcomeAsReadingEachFileWhenItsTurnComes) {
    const RunResult alone = Run(0, Answering({FileFailureAnswer::Skip, FileFailureAnswer::Skip}));
    // The run itself is sound: both broken forms skipped, the rest filed, every kind of row written.
    EXPECT_NE(alone.summary.find("83 files"), std::string::npos) << alone.summary;
    EXPECT_NE(alone.summary.find("skipped Broken1.dfm: Invalid stream format"), std::string::npos);
    EXPECT_NE(alone.summary.find("skipped Broken2.dfm"), std::string::npos);
    EXPECT_NE(alone.summary.find("Lines.pas:1:'bad;"), std::string::npos) << alone.summary;
    EXPECT_NE(alone.records.find("|Grüße:"), std::string::npos);
    EXPECT_NE(alone.reviews.find("SELECT * FROM Customers:German:"), std::string::npos) << alone.reviews;
    EXPECT_FALSE(alone.occurrences.empty());
    for (std::size_t readAhead : {1u, 4u}) {
        SCOPED_TRACE("read ahead " + std::to_string(readAhead));
        ExpectSame(Run(readAhead, Answering({FileFailureAnswer::Skip, FileFailureAnswer::Skip})), alone);
    }
}

TEST_F(ReadAheadCollect, BrokenFileStopsTheRunWhereItIsFiled) {
    // Files after the broken one were already read by the worker; none of them is filed.
    const RunResult alone = Run(0, Answering({FileFailureAnswer::Stop}));
    EXPECT_NE(alone.summary.find("failed 1 Invalid stream format"), std::string::npos) << alone.summary;
    ExpectSame(Run(4, Answering({FileFailureAnswer::Stop})), alone);
}

TEST_F(ReadAheadCollect, CancelFilesNothingAfterIt) {
    const RunResult alone = Run(0, Answering({FileFailureAnswer::SkipAll}, 10));
    const RunResult ahead = Run(4, Answering({FileFailureAnswer::SkipAll}, 10));
    ExpectSame(ahead, alone);
    // Ten files began, no more: their rows only.
    EXPECT_NE(ahead.summary.find("cancelled 1"), std::string::npos) << ahead.summary;
    EXPECT_EQ(ahead.progress.size(), 10u);
    TextList begun;
    for (const std::string& progress : ahead.progress) {
        begun.push_back(progress.substr(progress.find(' ') + 1));
    }
    ASSERT_FALSE(ahead.files.empty());
    for (const std::string& file : ahead.files) {
        EXPECT_NE(std::find(begun.begin(), begun.end(), file), begun.end()) << file;
    }
}

TEST_F(ReadAheadCollect, RefusedRecordsReportedAsWhenReadOnTheCallingThread) {
    const std::string refusing =
        "CREATE TABLE strings (English TEXT CHECK (English NOT IN ('Fine', 'ok')), German TEXT, "
        "Project TEXT, SpFront INTEGER, SpEnd INTEGER); "
        "CREATE INDEX English ON strings (English); CREATE INDEX German ON strings (German);";
    const RunResult alone = Run(0, Answering({FileFailureAnswer::SkipAll}), refusing);
    EXPECT_NE(alone.summary.find("Lines.dfm:3:Hint = 'Fine'"), std::string::npos) << alone.summary;
    ExpectSame(Run(4, Answering({FileFailureAnswer::SkipAll}), refusing), alone);
}

TEST_F(ReadAheadCollect, TextsNotFiledAreOfferedAgainWhenMetLater) {
    // A trigger keeps the table from holding records back: each is refused as it is posted. A
    // refused text, and one passed over with the rest of its line, are tried again when met again.
    const std::string refusing =
        test::TableFile::ShippedSchema() +
        "; CREATE TRIGGER refuse BEFORE INSERT ON strings WHEN NEW.English = 'Refused' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END;";
    m_folder.Write("project/Zone.pas", "a := 'Refused' + 'Passed over';\r\nb := 'Passed over';\r\n"
                                       "c := 'Refused';\r\n");
    const RunResult ahead = Run(4, Answering({FileFailureAnswer::SkipAll}), refusing);
    EXPECT_NE(ahead.records.find("|Passed over:"), std::string::npos);
    EXPECT_EQ(ahead.records.find("|Refused:"), std::string::npos);
    EXPECT_NE(ahead.summary.find("Zone.pas:1:a := 'Refused' + 'Passed over';"), std::string::npos)
        << ahead.summary;
    EXPECT_NE(ahead.summary.find("Zone.pas:3:c := 'Refused';"), std::string::npos) << ahead.summary;
    ExpectSame(Run(0, Answering({FileFailureAnswer::SkipAll}), refusing), ahead);
}

// A record refused as it is posted (no batch): on a unit line the literals after it are passed
// over and the line is reported once; in a form only the refused value's line is reported.
class RefusedOnPost : public CollectFixture {
protected:
    void SetUp() override {
        table = std::make_unique<StringsTable>(m_refusing.Path());
        table->SetIndexFieldNames("English");
    }
    test::TableFile m_refusing{
        "CREATE TABLE strings (English TEXT CHECK (English <> 'Refused'), German TEXT, "
        "Project TEXT, SpFront INTEGER, SpEnd INTEGER); "
        "CREATE INDEX English ON strings (English); CREATE INDEX German ON strings (German);"};
};

TEST_F(RefusedOnPost, UnitLineEndsAtTheRefusedLiteral) {
    const std::string path = project.Write("Unit1.pas", "a := 'First' + 'Refused' + 'Skipped' + 'open;\r\n"
                                                        "b := 'Next';\r\n");
    CollectContext context = Context();
    CollectUnitFile(context, path);
    EXPECT_EQ(Texts(), (TextList{"First", "Next"}));
    ASSERT_EQ(context.lineFailures.size(), 1u);
    EXPECT_EQ(context.lineFailures[0].line, 1);
    EXPECT_EQ(context.lineFailures[0].text, "a := 'First' + 'Refused' + 'Skipped' + 'open;");
    // Where used: the texts offered up to the refused one.
    ASSERT_EQ(context.occurrences.size(), 3u);
    EXPECT_EQ(context.occurrences[1].text, "Refused");
    EXPECT_EQ(context.occurrences[2].text, "Next");
    EXPECT_EQ(context.occurrences[2].line, 2);
    EXPECT_EQ(state.lineCount, 2);
}

TEST_F(RefusedOnPost, FormGoesOnAfterTheRefusedValue) {
    const std::string path = project.Write(
        "Main.dfm",
        "object Form1: TForm1\r\n  Caption = 'Refused'\r\n  Hint = 'After'\r\n  Caption = 'open\r\nend\r\n");
    CollectContext context = Context();
    CollectFormFile(context, path);
    EXPECT_EQ(Texts(), (TextList{"After"}));
    ASSERT_EQ(context.lineFailures.size(), 2u);
    EXPECT_EQ(context.lineFailures[0].line, 2);
    EXPECT_EQ(context.lineFailures[0].text, "Caption = 'Refused'");
    EXPECT_EQ(context.lineFailures[1].line, 4);
    EXPECT_EQ(context.occurrences.size(), 2u);
}

} // namespace
} // namespace wordloom
