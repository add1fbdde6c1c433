// A project folder, a real table file and a recording host for collector and command tests.
#pragma once

#include "base/project.h"
#include "collect/collect_context.h"
#include "strings_db/strings_table.h"
#include "support/recording_host.h"
#include "support/table_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace wordloom {

struct FiledText {
    long long spFront;
    long long spEnd;
    std::string project;
    friend bool operator==(const FiledText& a, const FiledText& b) {
        return a.spFront == b.spFront && a.spEnd == b.spEnd && a.project == b.project;
    }
};

class CollectFixture : public ::testing::Test {
protected:
    void SetUp() override {
        table = std::make_unique<StringsTable>(m_tableFile.Path());
        table->SetIndexFieldNames("English");
    }
    void TearDown() override {
        table.reset(); // before the table's folder goes
    }

    CollectContext Context(int charset = 1) {
        return CollectContext{
            *table, host, "English", "Demo", DefaultProperties(), CodePage::ForCharset(charset), state};
    }

    /// Every record: English text -> counts and project.
    std::map<std::string, FiledText> Records() {
        std::map<std::string, FiledText> records;
        table->SetFiltered(false);
        for (table->First(); !table->Eof(); table->Next()) {
            records[table->FieldAsString("English")] = {table->FieldAsInteger("SpFront"),
                                                        table->FieldAsInteger("SpEnd"),
                                                        table->FieldAsString("Project")};
        }
        return records;
    }

    /// Only the texts, in order.
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const auto& [text, filed] : Records()) {
            texts.push_back(text);
        }
        return texts;
    }

    TempDir project;
    RecordingHost host;
    CollectState state;
    std::unique_ptr<StringsTable> table;

    const std::string& TablePath() const { return m_tableFile.Path(); }

    /// The number of records another connection sees: what was committed.
    std::string CommittedCount() const { return m_tableFile.Query("SELECT count(*) FROM strings"); }
    std::string QueryTable(const std::string& sql) const { return m_tableFile.Query(sql); }

private:
    test::TableFile m_tableFile;
};

} // namespace wordloom
