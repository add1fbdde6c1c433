// A project folder, a real strings table file and a recording host for Translate tests.
#pragma once

#include "base/source_file.h"
#include "forms/form_stream.h"
#include "strings_db/strings_table.h"
#include "support/file_read.h"
#include "support/recording_host.h"
#include "support/table_file.h"
#include "support/temp_dir.h"
#include "translate/file_replace.h"
#include "translate/translate_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace wordloom {

inline bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

class TranslateFixture : public ::testing::Test {
protected:
    void SetUp() override {
        tablePath = m_tableFile.Path();
        table = std::make_unique<StringsTable>(tablePath);
        settings.projectPath = project.Write("Demo.dpr", "program Demo;\r\n");
        settings.language = "English";
        settings.translation = "German";
    }

    /// Files `english` (raw, blanks included) and gives it `german` as translation.
    void Add(const std::string& english, const std::string& german) {
        AddString(*table, "English", english, "Demo");
        table->SetFiltered(false);
        table->SetIndexFieldNames("English");
        const std::string_view key = Trimmed(english);
        ASSERT_TRUE(table->FindKey(std::string(key))) << english;
        table->Edit();
        table->SetField("German", german);
        table->Post();
    }

    static std::string_view Trimmed(std::string_view text) {
        while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32)
            text.remove_prefix(1);
        while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
            text.remove_suffix(1);
        return text;
    }

    TranslateSummary Run() { return RunTranslateCommand(*table, settings, host); }

    std::string File(const std::string& name) const { return project.Path() + "/" + name; }
    std::string Write(const std::string& name, const std::string& content) {
        return project.Write(name, content);
    }
    std::string Read(const std::string& name) const { return ReadBytes(File(name)); }
    /// The text form of a form file as it stands now.
    std::string FormText(const std::string& name) const {
        const std::string bytes = Read(name);
        return IsTextForm(bytes) ? bytes : BinaryFormToText(bytes);
    }

    TempDir project;
    RecordingHost host;
    ProjectSettings settings;
    std::string tablePath;
    std::unique_ptr<StringsTable> table;

private:
    test::TableFile m_tableFile;
};

} // namespace wordloom
