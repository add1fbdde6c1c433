// A whole strings table copied between two databases, SQLite or PostgreSQL either way: its records
// value for value (an empty text stays apart from a NULL) and its side tables row for row.
#pragma once

#include <cstdint>
#include <string>

namespace wordloom {

struct TableCopyCounts {
    std::int64_t records = 0;
    std::int64_t sideRows = 0; ///< rows of all side tables together
};

/// Copies the strings table at `from` (a file or an address) and its side tables into the table at
/// `to`, which must hold no record and no side-table row, in one transaction on `to`. Records go
/// in record order, each field under the target's spelling of its name. Throws DbError, `to`
/// unchanged, when it holds anything already, lacks a field of `from` or refuses a row.
TableCopyCounts CopyTable(const std::string& from, const std::string& to);

} // namespace wordloom
