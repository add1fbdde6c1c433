// A project folder, a real table file and a recording host for collector and command tests.
#pragma once

#include "collect/collect_context.h"
#include "common/recording_host.h"
#include "common/table_file.h"
#include "common/temp_dir.h"
#include "strings_db/strings_table.h"

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
        m_tableDir = std::make_unique<TempDir>();
        table = std::make_unique<StringsTable>(CreateTableFile(*m_tableDir));
        table->SetIndexFieldNames("English");
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

private:
    std::unique_ptr<TempDir> m_tableDir;
};

} // namespace wordloom
