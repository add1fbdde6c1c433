// Collects the real projects of the shared corpus twice and checks what must hold for any project.
#include "base/errors.h"
#include "collect/form_collector.h"
#include "collect/unit_collector.h"

#include "collect_fixture.h"
#include "support/corpus.h"

#include <algorithm>
#include <filesystem>

namespace wordloom {
namespace {

namespace fs = std::filesystem;

class CountingHost : public CommandHost {
public:
    void Message(const std::string& text) override {
        ++messages;
        lastMessage = text;
    }
    bool Question(const std::string&) override { return true; }
    void Error(const std::string&) override { ++messages; }
    FileFailureAnswer AskSkipFile(const std::string&) override { return FileFailureAnswer::Stop; }
    void Report(const std::string&, const std::vector<std::string>&) override { ++messages; }
    void StatusText(const std::string&) override {}
    void BusyCursor(bool) override {}
    void ProcessPendingEvents() override {}
    void SetClipboardText(const std::string& text) override { clipboardBytes += text.size(); }
    void SetViewAttached(bool) override {}
    void ApplyProjectFilter() override {}
    int messages = 0;
    std::string lastMessage;
    std::size_t clipboardBytes = 0;
};

struct RunResult {
    int records = 0;
    int messages = 0;
    std::vector<std::string> failedFiles;
};

class CorpusCollect : public ::testing::TestWithParam<std::pair<const char*, int>> {
protected:
    void SetUp() override {
        if (const std::string missing = test::CorpusMissing(GetParam().first); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
        for (const fs::path& path : test::CorpusFiles({".dfm"}, GetParam().first)) {
            m_forms.push_back(path.string());
        }
        for (const fs::path& path : test::CorpusFiles({".pas"}, GetParam().first)) {
            m_units.push_back(path.string());
        }
        table = std::make_unique<StringsTable>(m_tableFile.Path());
    }
    void TearDown() override {
        table.reset(); // before the table's folder goes
    }

    RunResult Run() {
        CountingHost host;
        m_state = CollectState{};
        CollectContext context{
            *table, host, "English", "Corpus", DefaultProperties(), CodePage::ForCharset(GetParam().second),
            m_state};
        RunResult result;
        table->SetFiltered(false);
        table->SetIndexFieldNames("English");
        const int before = table->RecordCount();
        const auto collect = [&](const std::string& path, auto collector) {
            StringsTable::Transaction transaction(*table);
            try {
                collector(context, path);
            } catch (const EngineError& error) {
                result.failedFiles.push_back(path + ": " + error.what());
            }
            transaction.Commit();
        };
        for (const std::string& path : m_forms) {
            collect(path, CollectFormFile);
        }
        for (const std::string& path : m_units) {
            collect(path, CollectUnitFile);
        }
        result.records = table->RecordCount() - before;
        result.messages = host.messages + static_cast<int>(context.lineFailures.size());
        return result;
    }

    std::unique_ptr<StringsTable> table;

private:
    std::vector<std::string> m_forms;
    std::vector<std::string> m_units;
    test::TableFile m_tableFile;
    CollectState m_state;
};

TEST_P(CorpusCollect, CollectsEveryFileAndIsStableOnASecondRun) {
    const RunResult first = Run();
    EXPECT_TRUE(first.failedFiles.empty())
        << first.failedFiles.size() << " files failed, first: " << first.failedFiles.front();
    EXPECT_GT(first.records, 0);
    // Every line of these projects is sound Pascal: read with Pascal's comment rules, none fails.
    EXPECT_EQ(first.messages, 0);

    table->SetFiltered(false);
    int checked = 0;
    for (table->First(); !table->Eof(); table->Next()) {
        const std::string text = table->FieldAsString("English");
        ASSERT_GE(text.size(), 2u);
        ASSERT_GT(static_cast<unsigned char>(text.front()), 32) << "[" << text << "]";
        ASSERT_GT(static_cast<unsigned char>(text.back()), 32) << "[" << text << "]";
        std::size_t pos = 0;
        char32_t c;
        while (pos < text.size()) {
            ASSERT_TRUE(NextUtf8(text, pos, c)) << "not UTF-8: [" << text << "]";
        }
        ASSERT_GE(table->FieldAsInteger("SpFront"), 0);
        ASSERT_GE(table->FieldAsInteger("SpEnd"), 0);
        ++checked;
    }
    EXPECT_EQ(checked, first.records);

    const RunResult second = Run();
    EXPECT_EQ(second.records, 0);
    EXPECT_EQ(second.messages, first.messages);
    EXPECT_EQ(second.failedFiles, first.failedFiles);
    std::printf("%s: %d records, %d parsing messages\n", GetParam().first, first.records, first.messages);
}

INSTANTIATE_TEST_SUITE_P(Projects, CorpusCollect,
                         ::testing::Values(std::make_pair("DelphiForFUN", 1), std::make_pair("HeidiSQL", 1),
                                           std::make_pair("cnwizards", 134)),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.first); });

} // namespace
} // namespace wordloom
