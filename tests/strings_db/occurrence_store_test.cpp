// The occurrence rows a file's collect replaces: a project without rows is written without the
// per-file searches, which must never leave a file's earlier rows beside its new ones. And side
// tables first made inside a transaction that is rolled back.
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace wordloom {
namespace {

using test::TableFile;
using Texts_ = std::vector<std::string>;

std::vector<Occurrence> Rows(const std::string& file, std::initializer_list<std::string> texts) {
    std::vector<Occurrence> rows;
    int line = 0;
    for (const std::string& text : texts) {
        rows.push_back({"Demo", file, ++line, "Form1.Label1", "Caption", "English", text});
    }
    return rows;
}

std::vector<std::string> Texts(StringsTable& table, const std::string& file) {
    std::vector<std::string> texts;
    for (const Occurrence& row : table.Side().FileOccurrences("Demo", file)) {
        texts.push_back(row.text);
    }
    return texts;
}

TEST(OccurrenceStore, AFileWrittenAgainIsReplacedAlsoInAProjectThatHadNoRows) {
    TableFile file;
    StringsTable table(file.Path());
    table.Side().ReplaceFileOccurrences("Demo", "Main.dfm", Rows("Main.dfm", {"Open", "Close"}));
    table.Side().ReplaceFileOccurrences("Demo", "Other.pas", Rows("Other.pas", {"Save"}));
    table.Side().ReplaceFileOccurrences("Demo", "Main.dfm", Rows("Main.dfm", {"Quit"}));
    EXPECT_EQ(Texts(table, "Main.dfm"), (Texts_{"Quit"}));
    EXPECT_EQ(Texts(table, "Other.pas"), (Texts_{"Save"}));
    EXPECT_EQ(table.Side().DropFilesExcept("Demo", {"Main.dfm"}), 1);
    EXPECT_EQ(file.Query("SELECT count(*) FROM occurrence"), "1");
    // Another project beside it: each keeps its own.
    table.Side().ReplaceFileOccurrences("Other", "Main.dfm",
                                        {{"Other", "Main.dfm", 1, "F", "Caption", "English", "X"}});
    table.Side().ReplaceFileOccurrences("Demo", "Main.dfm", Rows("Main.dfm", {"Open"}));
    EXPECT_EQ(Texts(table, "Main.dfm"), (Texts_{"Open"}));
    EXPECT_EQ(file.Query("SELECT count(*) FROM occurrence WHERE project = 'Other'"), "1");
}

TEST(OccurrenceStore, RowsRolledBackOrWrittenByAnotherConnectionAreStillReplaced) {
    TableFile file;
    StringsTable table(file.Path());
    table.Side().ReplaceFileOccurrences("Demo", "Other.dfm", {}); // the side tables made
    table.BeginTransaction();
    table.Side().ReplaceFileOccurrences("Demo", "Main.dfm", Rows("Main.dfm", {"Open"}));
    table.Rollback();
    table.Side().ReplaceFileOccurrences("Demo", "Main.dfm", Rows("Main.dfm", {"Close"}));
    EXPECT_EQ(Texts(table, "Main.dfm"), (Texts_{"Close"}));

    // Dropped, then the drop rolled back: the rows are back and a new write replaces them.
    table.BeginTransaction();
    table.Side().ReplaceFileOccurrences("Demo", "Main.dfm", {});
    table.Rollback();
    table.Side().ReplaceFileOccurrences("Demo", "Main.dfm", Rows("Main.dfm", {"Save"}));
    EXPECT_EQ(Texts(table, "Main.dfm"), (Texts_{"Save"}));

    // A file this connection never wrote, given rows by another program meanwhile.
    StringsTable other(file.Path());
    other.Side().ReplaceFileOccurrences("Demo", "Unit1.pas", Rows("Unit1.pas", {"A", "B"}));
    table.Side().ReplaceFileOccurrences("Demo", "Unit1.pas", Rows("Unit1.pas", {"C"}));
    EXPECT_EQ(Texts(table, "Unit1.pas"), (Texts_{"C"}));

    // The same when the project had no rows at all when this connection first wrote to it.
    TableFile fresh;
    StringsTable first(fresh.Path());
    StringsTable second(fresh.Path());
    first.Side().ReplaceFileOccurrences("Demo", "Main.dfm", Rows("Main.dfm", {"Open"}));
    second.Side().ReplaceFileOccurrences("Demo", "Unit1.pas", Rows("Unit1.pas", {"A", "B"}));
    first.Side().ReplaceFileOccurrences("Demo", "Unit1.pas", Rows("Unit1.pas", {"C"}));
    EXPECT_EQ(Texts(first, "Unit1.pas"), (Texts_{"C"}));
}

TEST(OccurrenceStore, SideTablesMadeInATransactionRolledBackAreMadeAgain) {
    TableFile file;
    StringsTable table(file.Path());
    table.BeginTransaction();
    table.Side().ReplaceFileOccurrences("Demo", "Main.dfm", Rows("Main.dfm", {"Open"}));
    table.Side().AddUserWord("English", "Wordloom");
    table.Rollback();
    EXPECT_EQ(file.Query("SELECT count(*) FROM sqlite_master WHERE name = 'occurrence'"), "0");
    table.Side().ReplaceFileOccurrences("Demo", "Main.dfm", Rows("Main.dfm", {"Close"}));
    table.Side().AddUserWord("English", "Wordloom");
    EXPECT_EQ(Texts(table, "Main.dfm"), (Texts_{"Close"}));
    EXPECT_EQ(table.Side().UserWords("English"), (Texts_{"Wordloom"}));
}

} // namespace
} // namespace wordloom
