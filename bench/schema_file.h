// A table file with the shipped schema and no records, in a temporary folder of its own.
#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>
#include <string>

namespace wordloom::bench {

class SchemaFile {
public:
    SchemaFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "wordloom-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("no temporary folder");
        folder = pattern;
        path = (folder / "strings.db").string();
        std::ifstream in(std::string(WORDLOOM_SOURCE_DIR) + "/data/strings.sql");
        std::stringstream schema;
        schema << in.rdbuf();
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        char* message = nullptr;
        const int rc = sqlite3_exec(db, schema.str().c_str(), nullptr, nullptr, &message);
        const std::string text = message ? message : "";
        sqlite3_free(message);
        sqlite3_close(db);
        if (rc != SQLITE_OK)
            throw std::runtime_error("the schema: " + text);
    }
    ~SchemaFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    SchemaFile(const SchemaFile&) = delete;
    SchemaFile& operator=(const SchemaFile&) = delete;

    std::filesystem::path folder;
    std::string path;
};

} // namespace wordloom::bench
