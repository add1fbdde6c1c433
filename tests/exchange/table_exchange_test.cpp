#include "exchange/po_format.h"
#include "exchange/table_exchange.h"
#include "strings_db/strings_table.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace wordloom::exchange {
namespace {

class TableExchange : public ::testing::Test {
protected:
    void SetUp() override {
        m_file.Exec("INSERT INTO strings (English, German, Project, SpFront, SpEnd) VALUES "
                    "('Open', 'Öffnen', 'Demo', 0, 0),"
                    "('Close', '', 'Demo;Other', 2, 1),"
                    "('Line one\r\nLine two', '', 'Other', 0, 0),"
                    "('Save', 'Sichern', 'Other', 0, 0),"
                    "('Save', 'Speichern', 'Demo', 0, 0),"
                    "('Quit', 'Beenden', 'Demo', 0, 0)");
    }
    std::string German(const std::string& english) const {
        return m_file.Query("SELECT German FROM strings WHERE English = '" + english +
                            "' ORDER BY rowid LIMIT 1");
    }
    Catalog Incoming(std::vector<std::pair<std::string, std::string>> texts,
                     UnitState state = UnitState::Translated) {
        Catalog catalog;
        for (auto& [source, target] : texts)
            catalog.units.push_back({source, target, state, 0, 0, {}, {}});
        return catalog;
    }

    test::TableFile m_file;
    PlainDetails m_details;
};

TEST_F(TableExchange, ExportsEachTextOnceInKeyOrderWithItsBlanks) {
    StringsTable table(m_file.Path());
    const Catalog all = CatalogFromTable(table, {"", "German", "", ExportScope::All}, m_details);
    EXPECT_EQ(all.sourceLanguage, "English");
    std::vector<std::string> sources;
    for (const Unit& unit : all.units)
        sources.push_back(unit.source);
    EXPECT_EQ(sources, (std::vector<std::string>{"Close", "Line one\r\nLine two", "Open", "Quit", "Save"}));
    EXPECT_EQ(all.units[0].spFront, 2);
    EXPECT_EQ(all.units[0].spEnd, 1);
    EXPECT_EQ(all.units[0].state, UnitState::New);
    EXPECT_EQ(all.units[2].state, UnitState::Translated);

    const Catalog untranslated =
        CatalogFromTable(table, {"", "German", "Demo", ExportScope::Untranslated}, m_details);
    ASSERT_EQ(untranslated.units.size(), 1u);
    EXPECT_EQ(untranslated.units[0].source, "Close");
    const Catalog other =
        CatalogFromTable(table, {"English", "German", "Other", ExportScope::All}, m_details);
    EXPECT_EQ(other.units.size(), 3u);
    EXPECT_THROW(CatalogFromTable(table, {"", "Klingon", "", ExportScope::All}, m_details), DbError);

    const Memory memory = MemoryFromTable(table, "", "");
    EXPECT_EQ(memory.languages.front(), "English");
    EXPECT_EQ(memory.rows.size(), 3u); // Close and the two lines have no translation
}

TEST_F(TableExchange, PlansNewConflictingUnknownAndUnchangedTexts) {
    StringsTable table(m_file.Path());
    const Catalog incoming = Incoming({{"  Close ", "Schließen"},
                                       {"Open", "Aufmachen"},
                                       {"Quit", "Beenden"},
                                       {"Line one\nLine two", "Zeile eins\nZeile zwei"},
                                       {"Brand new", "Ganz neu"},
                                       {"Save", ""}});
    const ImportPlan plan =
        PlanImport(table, incoming, {"", "German", ConflictChoice::Ours, false, ""}, m_details);
    ASSERT_EQ(plan.items.size(), 5u); // the unit without a translation brings nothing
    EXPECT_EQ(plan.items[0].kind, ImportKind::New);
    EXPECT_EQ(plan.items[0].source, "Close");
    EXPECT_EQ(plan.items[1].kind, ImportKind::Conflict);
    EXPECT_EQ(plan.items[1].ours, "Öffnen");
    EXPECT_FALSE(plan.items[1].take);
    EXPECT_EQ(plan.items[2].kind, ImportKind::Unchanged);
    EXPECT_EQ(plan.items[3].kind, ImportKind::New); // its line ends were changed by another tool
    EXPECT_EQ(plan.items[3].source, "Line one\r\nLine two");
    EXPECT_EQ(plan.items[3].theirs, "Zeile eins\r\nZeile zwei");
    EXPECT_EQ(plan.items[4].kind, ImportKind::Unknown);
    EXPECT_FALSE(plan.items[4].take);
    EXPECT_EQ(m_file.Query("SELECT count(*) FROM strings WHERE German <> ''"), "4"); // nothing written
}

TEST_F(TableExchange, AppliesWhatIsTakenAndKeepsConflictsUnlessTheirsAreChosen) {
    StringsTable table(m_file.Path());
    const Catalog incoming = Incoming(
        {{"Close", "Schließen"}, {"Open", "Aufmachen"}, {"Brand new", "Ganz neu"}}, UnitState::Suggested);
    ImportOptions options{"", "German", ConflictChoice::Ours, false, ""};
    ImportResult result =
        ApplyImport(table, PlanImport(table, incoming, options, m_details), options, m_details);
    EXPECT_EQ(result.written, 1u);
    EXPECT_EQ(result.added, 0u);
    EXPECT_EQ(German("Close"), "Schließen");
    EXPECT_EQ(German("Open"), "Öffnen");
    EXPECT_EQ(m_file.Query("SELECT count(*) FROM strings WHERE English = 'Brand new'"), "0");

    options.conflicts = ConflictChoice::Theirs;
    options.addUnknown = true;
    options.project = "Demo";
    result = ApplyImport(table, PlanImport(table, incoming, options, m_details), options, m_details);
    EXPECT_EQ(result.written, 1u);
    EXPECT_EQ(result.added, 1u);
    EXPECT_EQ(German("Open"), "Aufmachen");
    EXPECT_EQ(German("Brand new"), "Ganz neu");
    EXPECT_EQ(m_file.Query("SELECT Project FROM strings WHERE English = 'Brand new'"), "Demo");
}

// Stores states until the n-th, which fails.
class FailingDetails : public PlainDetails {
public:
    explicit FailingDetails(int failAt) : m_left(failAt) {}
    void StoreState(const std::string&, const std::string&, const std::string&, UnitState) override {
        if (--m_left == 0)
            throw DbError("the review table is full");
    }

private:
    int m_left;
};

TEST_F(TableExchange, AFailureHalfWayChangesNothing) {
    StringsTable table(m_file.Path());
    const Catalog incoming =
        Incoming({{"Close", "Schließen"}, {"Open", "Aufmachen"}, {"Brand new", "Ganz neu"}});
    const ImportOptions options{"", "German", ConflictChoice::Theirs, true, ""};
    FailingDetails failing(3);
    const ImportPlan plan = PlanImport(table, incoming, options, failing);
    EXPECT_THROW(ApplyImport(table, plan, options, failing), DbError);
    EXPECT_EQ(German("Close"), "");
    EXPECT_EQ(German("Open"), "Öffnen");
    EXPECT_EQ(m_file.Query("SELECT count(*) FROM strings"), "6");
    EXPECT_EQ(table.State(), TableState::Browse);
}

TEST_F(TableExchange, AnExportedFileImportsBackIntoAnEmptyTranslation) {
    std::string po;
    {
        StringsTable table(m_file.Path());
        Catalog catalog = CatalogFromTable(table, {"", "German", "", ExportScope::Untranslated}, m_details);
        for (Unit& unit : catalog.units)
            unit.target = "DE " + unit.source;
        po = WritePo(catalog);
    }
    m_file.Exec("UPDATE strings SET German = NULL WHERE English = 'Quit'");
    StringsTable table(m_file.Path());
    const ImportOptions options{"", "German", ConflictChoice::Ours, false, ""};
    const ImportPlan plan = PlanImport(table, ReadPo(po), options, m_details);
    EXPECT_EQ(plan.Count(ImportKind::New), 2u);
    ApplyImport(table, plan, options, m_details);
    EXPECT_EQ(German("Line one\r\nLine two"), "DE Line one\r\nLine two");
    EXPECT_EQ(German("Close"), "DE Close");
    EXPECT_EQ(German("Quit"), "");
}

} // namespace
} // namespace wordloom::exchange
