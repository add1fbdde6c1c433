// A fresh strings table file for one test, made from the shipped schema (data/strings.sql).
#pragma once

#include "common/temp_dir.h"

#include <fstream>
#include <sqlite3.h>
#include <sstream>
#include <stdexcept>
#include <string>

namespace wordloom {

/// Creates `name` in the folder from the shipped schema and returns its path.
inline std::string CreateTableFile(const TempDir& dir, const std::string& name = "strings.db") {
    std::ifstream in(std::string(WORDLOOM_SOURCE_DIR) + "/data/strings.sql");
    if (!in) {
        throw std::runtime_error("data/strings.sql not found");
    }
    std::stringstream schema;
    schema << in.rdbuf();
    const std::string path = dir.Path() + "/" + name;
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create " + path);
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(db, schema.str().c_str(), nullptr, nullptr, &error);
    const std::string message = error != nullptr ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        throw std::runtime_error("schema failed: " + message);
    }
    return path;
}

} // namespace wordloom
