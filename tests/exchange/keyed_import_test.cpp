// The import's keyed pass: each translation reaches the one record the plan compared it with, and
// a record that changed after the plan stops the whole import.
#include "exchange/side_details.h"
#include "exchange/table_exchange.h"
#include "strings_db/strings_table.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace wordloom::exchange {
namespace {

class KeyedImport : public ::testing::Test {
protected:
    std::string German(const std::string& where) const {
        return m_file.Query("SELECT coalesce(German, '<null>') FROM strings WHERE " + where);
    }
    static Catalog Incoming(std::vector<std::pair<std::string, std::string>> texts) {
        Catalog catalog;
        for (auto& [source, target] : texts)
            catalog.units.push_back({source, target, UnitState::Translated, 0, 0, {}, {}});
        return catalog;
    }

    test::TableFile m_file;
    PlainDetails m_details;
    const ImportOptions m_options{"English", "German", ConflictChoice::Theirs, true, "Demo"};
};

TEST_F(KeyedImport, WritesTheRecordOfTheExactTextEvenUnderAnIndexThatIgnoresCase) {
    // Only the case-blind index is left on English: a key search there finds "Open" for "open".
    m_file.Exec("DROP INDEX English");
    m_file.Exec("INSERT INTO strings (English, German) VALUES ('Open', 'Öffnen'), ('open', NULL), "
                "('OPEN', 'ÖFFNEN')");
    StringsTable table(m_file.Path());
    const ImportPlan plan =
        PlanImport(table, Incoming({{"open", "öffnen"}, {"OPEN", "AUF"}}), m_options, m_details);
    ASSERT_EQ(plan.items.size(), 2u);
    EXPECT_EQ(plan.items[0].kind, ImportKind::New);
    EXPECT_EQ(plan.items[1].kind, ImportKind::Conflict);
    const ImportResult result = ApplyImport(table, plan, m_options, m_details);
    EXPECT_EQ(result.written, 2u);
    EXPECT_EQ(German("English = 'Open'"), "Öffnen");
    EXPECT_EQ(German("English = 'open'"), "öffnen");
    EXPECT_EQ(German("English = 'OPEN'"), "AUF");
}

TEST_F(KeyedImport, WritesTheFirstOfRecordsWithOneTextAndTheFirstOfUnitsWithOneSource) {
    m_file.Exec(
        "INSERT INTO strings (English, German) VALUES ('Close', NULL), ('Close', NULL), ('Save', '')");
    StringsTable table(m_file.Path());
    const ImportPlan plan = PlanImport(table,
                                       Incoming({{"Close", "Schließen"},
                                                 {"Brand new", "Neu"},
                                                 {" Close", "Zumachen"},
                                                 {"Save", "Sichern"},
                                                 {"Brand new ", "Anders"}}),
                                       m_options, m_details);
    ASSERT_EQ(plan.items.size(), 3u);
    const ImportResult result = ApplyImport(table, plan, m_options, m_details);
    EXPECT_EQ(result.written, 2u);
    EXPECT_EQ(result.added, 1u);
    EXPECT_EQ(German("English = 'Brand new'"), "Neu");
    EXPECT_EQ(German("rowid = 1"), "Schließen");
    EXPECT_EQ(German("rowid = 2"), "<null>"); // as the key search of the table would leave it
    EXPECT_EQ(German("English = 'Save'"), "Sichern");
    // The cursor reads what was written, not what it had read before.
    table.SetIndexFieldNames("English");
    ASSERT_TRUE(table.FindKey("Save"));
    EXPECT_EQ(table.FieldAsString("German"), "Sichern");
}

TEST_F(KeyedImport, ARecordEditedOrRemovedAfterThePlanStopsTheWholeImport) {
    m_file.Exec(
        "INSERT INTO strings (English, German) VALUES ('Close', NULL), ('Open', NULL), ('Quit', 'Ende')");
    StringsTable table(m_file.Path());
    const Catalog incoming =
        Incoming({{"Close", "Schließen"}, {"Open", "Öffnen"}, {"Quit", "Beenden"}, {"Brand new", "Neu"}});
    const ImportPlan plan = PlanImport(table, incoming, m_options, m_details);
    ASSERT_EQ(plan.items.size(), 4u);

    // A translator typed one in meanwhile: the import does not overwrite it, nor write the rest.
    m_file.Exec("UPDATE strings SET German = 'Aufmachen' WHERE English = 'Open'");
    try {
        ApplyImport(table, plan, m_options, m_details);
        ADD_FAILURE() << "an import over a changed record went through";
    } catch (const DbError& error) {
        EXPECT_NE(std::string(error.what()).find("\"Open\""), std::string::npos) << error.what();
    }
    EXPECT_EQ(German("English = 'Close'"), "<null>");
    EXPECT_EQ(German("English = 'Open'"), "Aufmachen");
    EXPECT_EQ(German("English = 'Quit'"), "Ende");
    EXPECT_EQ(m_file.Query("SELECT count(*) FROM strings WHERE English = 'Brand new'"), "0");
    EXPECT_EQ(table.State(), TableState::Browse);
    EXPECT_FALSE(table.InTransaction());

    m_file.Exec("UPDATE strings SET German = NULL WHERE English = 'Open'");
    m_file.Exec("DELETE FROM strings WHERE English = 'Quit'");
    EXPECT_THROW(ApplyImport(table, plan, m_options, m_details), DbError);
    EXPECT_EQ(German("English = 'Close'"), "<null>");

    // Planned again, it goes through.
    const ImportResult result =
        ApplyImport(table, PlanImport(table, incoming, m_options, m_details), m_options, m_details);
    EXPECT_EQ(result.written, 2u);
    EXPECT_EQ(result.added, 2u);
    EXPECT_EQ(German("English = 'Quit'"), "Beenden");
}

TEST_F(KeyedImport, StatesReadOnceFollowWhatTheImportStored) {
    m_file.Exec("INSERT INTO strings (English, German, Project) VALUES ('Close', NULL, 'Demo'), "
                "('Open', 'Öffnen', 'Demo')");
    StringsTable table(m_file.Path());
    table.Side().SetReview({"English", "Open", "German", ReviewState::Reviewed, "checked by Ann", 0});
    SideDetails details(table, "English");
    Catalog incoming = Incoming({{"Close", "Schließen"}, {"Open", "Öffnen"}});
    incoming.units[1].state = UnitState::Suggested;
    const ImportPlan plan = PlanImport(table, incoming, m_options, details);
    ASSERT_EQ(plan.items.size(), 2u);
    EXPECT_EQ(plan.items[1].kind, ImportKind::Changed);
    ApplyImport(table, plan, m_options, details);
    // The same details export what was stored; the note stays with its state.
    const Catalog out = CatalogFromTable(table, {"English", "German", "", ExportScope::All}, details);
    ASSERT_EQ(out.units.size(), 2u);
    EXPECT_EQ(out.units[0].state, UnitState::Translated);
    EXPECT_EQ(out.units[1].state, UnitState::Suggested);
    EXPECT_EQ(out.units[1].notes, std::vector<std::string>{"checked by Ann"});
    EXPECT_EQ(SideDetails(table, "English").State("German", "Open"), UnitState::Suggested);
}

} // namespace
} // namespace wordloom::exchange
