// What the strings-table suites share: helpers that go through the public interface, and the
// fixtures that run every test on each backend (SQLite; PostgreSQL when a test server is there).
#pragma once

#include "strings_db/strings_table.h"
#include "support/test_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace wordloom::table_test {

using test::Backend;
using test::TestTable;

/// Adds one record with the given English text and project, through the public interface.
inline void AddRecord(StringsTable& table, const std::string& english, const std::string& project = "P",
                      const std::string& german = "") {
    table.Insert();
    table.SetField("English", english);
    table.SetField("Project", project);
    if (!german.empty()) {
        table.SetField("German", german);
    }
    table.Post();
}

/// The view in its current order, read by walking it.
inline std::vector<std::string> Walk(StringsTable& table, const std::string& field = "English") {
    std::vector<std::string> values;
    for (table.First(); !table.Eof(); table.Next()) {
        values.push_back(table.FieldAsString(field));
    }
    return values;
}

inline std::vector<std::string> ViewByFieldAt(const StringsTable& table,
                                              const std::string& field = "English") {
    std::vector<std::string> values;
    for (int i = 0; i < table.RecordCount(); ++i) {
        values.push_back(table.FieldAt(i, field));
    }
    return values;
}

using Texts = std::vector<std::string>;

using test::OnBackend;

/// Five records that differ in letter case: b, B, a, A, c.
class StringsTableTest : public OnBackend {
protected:
    void SetUp() override {
        OnBackend::SetUp();
        if (IsSkipped()) {
            return;
        }
        table = std::make_unique<StringsTable>(file.Path());
        for (const char* text : {"b", "B", "a", "A", "c"}) {
            AddRecord(*table, text);
        }
    }
    std::unique_ptr<StringsTable> table;
};

class StringsTableFilterTest : public OnBackend {
protected:
    void SetUp() override {
        OnBackend::SetUp();
        if (IsSkipped()) {
            return;
        }
        table = std::make_unique<StringsTable>(file.Path());
        AddRecord(*table, "one", "A");
        AddRecord(*table, "two", "B");
        AddRecord(*table, "three", "a");
        AddRecord(*table, "four", "A;B");
        AddRecord(*table, "five", "O'Neil");
        AddRecord(*table, "six", "A");
        table->SetIndexFieldNames("English");
    }
    /// The workbench's project filter.
    void FilterProject(const std::string& name) {
        table->SetFilter("Project = '" + name + "'");
        table->SetFilterCaseInsensitive(true);
        table->SetFilterRecord([name](const StringsTable& t) {
            return t.FieldAsString("Project").find(name) != std::string::npos;
        });
        table->SetFiltered(true);
    }
    std::unique_ptr<StringsTable> table;
};

} // namespace wordloom::table_test
