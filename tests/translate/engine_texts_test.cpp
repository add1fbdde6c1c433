// The engine's failures reach the user in the user's language: with the German catalogue the build
// makes, a thrown message comes out German with the path or line filled in; without it, English.
#include "base/errors.h"
#include "base/file_io.h"
#include "base/ui_text.h"
#include "forms/form_stream.h"
#include "strings_db/strings_table.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace wordloom {
namespace {

/// What the call throws, or a note that it threw nothing.
std::string Thrown(const std::function<void()>& call) {
    try {
        call();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "(nothing thrown)";
}

class EngineTexts : public ::testing::Test {
protected:
    void TearDown() override { SetTextTranslator(nullptr); }

    TempDir m_dir;
    std::string m_missing = m_dir.Path() + "/none.dfm";
    std::string m_notATable = m_dir.Path() + "/notes.db";
};

TEST_F(EngineTexts, SpeakTheCatalogsLanguage) {
    WriteFileAtomically(m_notATable, std::string(4096, 'x'));
    const auto readMissing = [this] { ReadFileBytes(m_missing); };
    const auto badForm = [] { TextToBinaryForm("object A: TA\r\n  Left = 'x\r\nend\r\n"); };
    const auto badTable = [this] { StringsTable table(m_notATable); };

    EXPECT_EQ(Thrown(readMissing), "Cannot open file " + m_missing);
    EXPECT_EQ(Thrown(badForm), "Invalid string constant on line 2");
    const std::string english = Thrown(badTable);
    EXPECT_EQ(english.rfind("Cannot open the strings table " + m_notATable + ": ", 0), 0u) << english;

    ASSERT_TRUE(InstallTextCatalogue("de", {WORDLOOM_BINARY_DIR}));
    EXPECT_EQ(Thrown(readMissing), "Die Datei " + m_missing + " kann nicht geöffnet werden");
    // The message and the line both translated, the line number filled in after.
    EXPECT_EQ(Thrown(badForm), "Ungültige String-Konstante in Zeile 2");
    const std::string german = Thrown(badTable);
    EXPECT_EQ(german.rfind("Die Texttabelle " + m_notATable + " kann nicht geöffnet werden: ", 0), 0u)
        << german;
}

} // namespace
} // namespace wordloom
