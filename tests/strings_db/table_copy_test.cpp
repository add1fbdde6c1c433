// A whole table copied between databases: SQLite -> PostgreSQL -> SQLite gives back every value
// (an empty text apart from NULL) and every side-table row; a copy that fails half-way leaves the
// target as it was.
#include "strings_db/postgres_backend.h"
#include "strings_db/run_journal.h"
#include "strings_db/sqlite_backend.h"
#include "strings_db/strings_table.h"
#include "strings_db/table_copy.h"
#include "support/test_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace wordloom {
namespace {

using test::Backend;
using test::TestTable;

std::unique_ptr<StringsTableBackend> OpenBackend(const std::string& location) {
    if (IsPostgresAddress(location)) {
        return std::make_unique<PostgresBackend>(location, OpenMode::ReadOnly);
    }
    return std::make_unique<SqliteBackend>(location, OpenMode::ReadOnly);
}

std::string Shown(const Value& value) {
    switch (value.type) {
    case Value::Type::Null:
        return "NULL";
    case Value::Type::Integer:
        return std::to_string(value.integer);
    case Value::Type::Real:
        return "real " + std::to_string(value.real);
    case Value::Type::Text:
        return "'" + value.text + "'";
    }
    return "?";
}

/// Every record (in record order, each value with its kind) and every side-table row of a table.
/// Rows of the tables without an order of their own are sorted.
std::vector<std::string> Dump(const std::string& location) {
    auto backend = OpenBackend(location);
    std::vector<std::string> lines;
    std::vector<int> columns(backend->Fields().size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        columns[i] = static_cast<int>(i);
    }
    backend->ScanColumns(IndexDef{}, columns, [&](const RowView& row) {
        std::string line = "strings:";
        for (std::size_t i = 0; i < columns.size(); ++i) {
            line += " " + backend->Fields()[i].name + "=" + Shown(row.Column(i));
        }
        lines.push_back(line);
    });
    for (const SideTableDef& table : CopiedSideTables()) {
        const std::size_t first = lines.size();
        backend->Side().ScanSideTable(table, [&](const std::vector<std::string>& row) {
            std::string line = std::string(table.name) + ":";
            for (const std::string& value : row) {
                line += " [" + value + "]";
            }
            lines.push_back(line);
        });
        if (table.name == "review" || table.name.starts_with("qa_")) {
            std::sort(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end());
        }
    }
    return lines;
}

bool HasServer() {
    return test::NoServerReason().empty();
}

/// Records with empty texts and NULLs side by side, quotes, separators and non-ASCII letters, and
/// rows in every side table.
void Fill(const TestTable& file) {
    file.Exec(
        "INSERT INTO strings (\"English\", \"German\", \"French\", \"Project\", \"SpFront\", \"SpEnd\") "
        "VALUES ('Open', '', NULL, 'A;B', 0, NULL), ('Close', NULL, '', '', NULL, 2), "
        "('It''s \"done\"', 'Fertig; ja', 'Fini', 'O''Neil', 1, 1), ('Größe {x}', 'Größe', NULL, "
        "NULL, 3, 0)");
    StringsTable table(file.Path());
    SideStore& side = table.Side();
    side.ReplaceFileOccurrences("A", "Main.dfm",
                                {{"A", "Main.dfm", 12, "Form1.OpenButton", "Caption", "English", "Open"},
                                 {"A", "Main.dfm", 3, "Form1", "Caption", "English", "Close"}});
    side.ReplaceFileOccurrences("A", "Unit1.pas",
                                {{"A", "Unit1.pas", 40, "Unit1", "", "English", "It's \"done\""}});
    side.SetReview({"English", "Open", "German", ReviewState::Reviewed, "checked by Eva", 1700000000});
    side.SetReview(
        {"English", "Close", "German", ReviewState::DontTranslate, "dont_translate:rule", 1700000001});
    side.SetDismissal({"English", "Open", "German", "identical", "", 1700000002});
    side.AddUserWord("German", "Projektdetailz");
    side.AddUserWord("German", "{x}");
    auto journal = IsPostgresAddress(file.Path()) ? OpenPostgresRunJournal(file.Path())
                                                  : OpenSqliteRunJournal(file.Path());
    const std::int64_t first =
        journal->BeginRun("/p/a.dpr", "German", {{"Main.dfm", ".bak/Main.dfm", "aa", "bb"}});
    journal->SetState(first, run_state::kDone);
    const std::int64_t second = journal->BeginRun(
        "/p/a.dpr", "French", {{"Main.dfm", ".bak2/Main.dfm", "bb", "cc"}, {"U.pas", "", "1", "2"}});
    journal->Remove(first); // ids with a gap, as a journal has after undos
    journal->SetState(second, run_state::kUndone);
}

class TableCopy : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        if (GetParam() == Backend::Postgres && !HasServer()) {
            GTEST_SKIP() << test::NoServerReason();
        }
    }
};

TEST_P(TableCopy, ThereAndBackGivesAnIdenticalTable) {
    TestTable source(Backend::Sqlite);
    TestTable middle(GetParam());
    TestTable back(Backend::Sqlite);
    Fill(source);
    const std::vector<std::string> original = Dump(source.Path());
    ASSERT_EQ(std::count_if(original.begin(), original.end(),
                            [](const std::string& line) { return line.starts_with("strings:"); }),
              4);
    ASSERT_EQ(original.size(), 4u + 3 + 2 + 1 + 2 + 1 + 2);

    const TableCopyCounts there = CopyTable(source.Path(), middle.Path());
    EXPECT_EQ(there.records, 4);
    EXPECT_EQ(there.sideRows, 11);
    EXPECT_EQ(Dump(middle.Path()), original);
    const TableCopyCounts home = CopyTable(middle.Path(), back.Path());
    EXPECT_EQ(home.records, 4);
    EXPECT_EQ(Dump(back.Path()), original);

    // What was copied is what the program reads there: the journal keeps its run ids, and a new run
    // comes after them.
    StringsTable copied(middle.Path());
    EXPECT_EQ(copied.Side().Occurrences("English", "Open").size(), 1u);
    EXPECT_EQ(copied.Side().UserWords("German"), (std::vector<std::string>{"Projektdetailz", "{x}"}));
    int dismissals = 0;
    copied.Side().ScanDismissals("English", "German", [&](const QaDismissal& d) {
        EXPECT_EQ(d.check, "identical");
        ++dismissals;
    });
    EXPECT_EQ(dismissals, 1);
    auto journal = IsPostgresAddress(middle.Path()) ? OpenPostgresRunJournal(middle.Path())
                                                    : OpenSqliteRunJournal(middle.Path());
    const std::vector<RunRecord> runs = journal->Runs("");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].id, 2);
    EXPECT_EQ(runs[0].state, run_state::kUndone);
    EXPECT_EQ(journal->Files(2).size(), 2u);
    EXPECT_GT(journal->BeginRun("/p/a.dpr", "German", {}), 2);
}

TEST_P(TableCopy, AFailureHalfWayLeavesTheTargetAsItWas) {
    const bool onServer = GetParam() == Backend::Postgres;
    for (const char* refused : {"record", "side row", "zero byte"}) {
        SCOPED_TRACE(refused);
        if (std::string(refused) == "zero byte" && !onServer) {
            continue; // SQLite keeps it
        }
        TestTable source(Backend::Sqlite);
        TestTable target(GetParam());
        Fill(source);
        if (std::string(refused) == "record") {
            source.Exec("INSERT INTO strings (\"English\") VALUES ('Refused'), ('After')");
            target.Exec(onServer
                            ? "ALTER TABLE strings ADD CONSTRAINT refuse CHECK (\"English\" <> 'Refused')"
                            : "CREATE TRIGGER refuse BEFORE INSERT ON strings WHEN NEW.English = 'Refused' "
                              "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        } else if (std::string(refused) == "zero byte") {
            // The server cannot hold it: refused, never cut short.
            source.Exec("INSERT INTO strings (\"English\") VALUES (CAST(X'4F4B00626164' AS TEXT))");
        } else if (onServer) {
            // Every record goes in first: the refused review must take them back out.
            target.Exec("ALTER TABLE review ADD CONSTRAINT refuse CHECK (state <> 'dont_translate')");
        } else {
            StringsTable made(target.Path());
            made.Side().ClearReview("", "", ""); // makes the side tables
            target.Exec("CREATE TRIGGER refuse BEFORE INSERT ON review WHEN NEW.state = 'dont_translate' "
                        "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        }
        EXPECT_THROW(CopyTable(source.Path(), target.Path()), DbError);
        const std::vector<std::string> left = Dump(target.Path());
        EXPECT_TRUE(left.empty()) << left.front();
    }
}

TEST_P(TableCopy, ATargetHoldingOnlySideRowsIsNotAddedTo) {
    TestTable source(Backend::Sqlite);
    TestTable target(GetParam());
    Fill(source);
    StringsTable(target.Path()).Side().AddUserWord("German", "Eigenes");
    try {
        CopyTable(source.Path(), target.Path());
        ADD_FAILURE() << "copied into a table holding a word list";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("qa_word"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Dump(target.Path()), std::vector<std::string>{"qa_word: [German] [Eigenes]"});
}

// A team table made before it kept dismissals and word lists: read-only it reads them as empty,
// writable it gets their tables on first use.
TEST(TeamTableQuality, AnOlderTableGetsTheQualityTablesOnFirstUse) {
    if (!HasServer()) {
        GTEST_SKIP() << test::NoServerReason();
    }
    TestTable older(Backend::Postgres);
    older.Exec("DROP TABLE qa_dismissal; DROP TABLE qa_word");
    {
        StringsTable reading(older.Path(), OpenMode::ReadOnly);
        EXPECT_TRUE(reading.Side().UserWords("German").empty());
        EXPECT_THROW(reading.Side().AddUserWord("German", "Wort"), DbError);
    }
    StringsTable table(older.Path());
    table.Side().AddUserWord("German", "Wort");
    table.Side().AddUserWord("German", "Wort");
    table.Side().AddUserWord("German", "Ähre");
    table.Side().AddUserWord("German", "Zebra");
    table.Side().RemoveUserWord("German", "Zebra");
    EXPECT_EQ(table.Side().UserWords("German"), (std::vector<std::string>{"Wort", "Ähre"}));
    table.Side().SetDismissal({"English", "Open", "German", "identical", "Open", 5});
    table.Side().SetDismissal({"English", "Open", "German", "identical", "Offen", 6});
    table.Side().SetDismissal({"English", "Open", "German", "length", "Offen", 7});
    table.Side().ClearDismissal("English", "Open", "German", "length");
    std::vector<std::string> kept;
    table.Side().ScanDismissals("English", "German", [&](const QaDismissal& d) {
        kept.push_back(d.check + "=" + d.translation + "@" + std::to_string(d.changedAt));
    });
    EXPECT_EQ(kept, std::vector<std::string>{"identical=Offen@6"});
}

INSTANTIATE_TEST_SUITE_P(Backends, TableCopy, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         test::BackendName());

} // namespace
} // namespace wordloom
