// A strings table file in a fresh temporary folder, made the way the build makes the shipped one
// (from data/strings.sql) or from a schema of the test's own.
#pragma once

#include "support/temp_dir.h"

#include <filesystem>
#include <string>

namespace wordloom::test {

class TableFile {
public:
    /// The shipped schema.
    TableFile();
    /// A schema given as SQL statements.
    explicit TableFile(const std::string& schemaSql);
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;

    const std::string& Path() const { return m_path; }
    const std::filesystem::path& Folder() const { return m_folder; }
    /// Runs SQL on the file through a connection of its own (to set a table up or check it
    /// behind the table class's back).
    void Exec(const std::string& sql) const;
    /// The first column of the first row of a query, as text ("" for NULL or no row).
    std::string Query(const std::string& sql) const;

    static std::string ShippedSchema();

private:
    TempDir m_dir;
    std::filesystem::path m_folder;
    std::string m_path;
};

} // namespace wordloom::test
