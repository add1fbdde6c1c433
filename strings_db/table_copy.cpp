#include "strings_db/table_copy.h"

#include "base/ui_text.h"
#include "strings_db/postgres_backend.h"
#include "strings_db/sqlite_backend.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

namespace wordloom {

namespace {

std::unique_ptr<StringsTableBackend> Open(const std::string& location, OpenMode mode) {
    if (IsPostgresAddress(location)) {
        return std::make_unique<PostgresBackend>(location, mode);
    }
    return std::make_unique<SqliteBackend>(location, mode);
}

std::string Shown(const std::string& location) {
    return IsPostgresAddress(location) ? ShownAddress(location) : location;
}

bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

/// For each field of the target, the source column it is filled from (-1: none, it keeps its
/// default). Throws when a field of the source has no place in the target.
std::vector<int> MatchFields(const std::vector<FieldDef>& source, const std::vector<FieldDef>& target,
                             const std::string& to) {
    std::vector<int> from(target.size(), -1);
    for (std::size_t s = 0; s < source.size(); ++s) {
        auto found = std::find_if(target.begin(), target.end(),
                                  [&](const FieldDef& f) { return SameName(f.name, source[s].name); });
        if (found == target.end()) {
            throw DbError(FillIn(WL_TR("StringsTable", "%1 has no field %2: its texts would be lost"),
                                 {Shown(to), source[s].name}));
        }
        from[static_cast<std::size_t>(found - target.begin())] = static_cast<int>(s);
    }
    return from;
}

std::vector<std::vector<std::optional<std::string>>> AsTexts(const std::vector<Row>& rows) {
    std::vector<std::vector<std::optional<std::string>>> texts(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (const Value& value : rows[r]) {
            switch (value.type) {
            case Value::Type::Null:
                texts[r].emplace_back();
                break;
            case Value::Type::Integer:
                texts[r].emplace_back(std::to_string(value.integer));
                break;
            case Value::Type::Real: {
                char buffer[40];
                std::snprintf(buffer, sizeof buffer, "%.17g", value.real);
                texts[r].emplace_back(buffer);
                break;
            }
            case Value::Type::Text:
                texts[r].emplace_back(value.text);
                break;
            }
        }
    }
    return texts;
}

// Rows travel in batches: one statement each on a server, and a bounded amount in memory.
constexpr std::size_t kBatch = 2000;

std::int64_t CopySideTable(SideStore& source, SideStore& target, const SideTableDef& table) {
    std::vector<std::vector<std::string>> batch;
    std::int64_t copied = 0;
    source.ScanSideTable(table, [&](const std::vector<std::string>& row) {
        batch.push_back(row);
        if (batch.size() == kBatch) {
            target.AppendSideRows(table, batch);
            copied += static_cast<std::int64_t>(batch.size());
            batch.clear();
        }
    });
    target.AppendSideRows(table, batch);
    return copied + static_cast<std::int64_t>(batch.size());
}

} // namespace

TableCopyCounts CopyTable(const std::string& from, const std::string& to) {
    auto source = Open(from, OpenMode::ReadOnly);
    auto target = Open(to, OpenMode::ReadWrite);
    if (target->ReadOnly()) {
        throw DbError(FillIn(WL_TR("StringsTable", "%1 cannot be written"), {Shown(to)}));
    }
    const std::vector<int> fromColumn = MatchFields(source->Fields(), target->Fields(), to);
    std::vector<int> columns(source->Fields().size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        columns[i] = static_cast<int>(i);
    }

    TableCopyCounts counts;
    target->Begin();
    try {
        // Checked inside the transaction, which keeps other writers out until it ends.
        if (!target->Empty()) {
            throw DbError(
                FillIn(WL_TR("StringsTable", "%1 holds records already: copy only into an empty table"),
                       {Shown(to)}));
        }
        for (const SideTableDef& table : CopiedSideTables()) {
            if (!target->Side().SideTableEmpty(table)) {
                throw DbError(FillIn(WL_TR("StringsTable", "%1 holds rows of the side table %2 already: copy "
                                                           "only into an empty table"),
                                     {Shown(to), std::string(table.name)}));
            }
        }
        const Row defaults = target->DefaultRow();
        std::vector<Row> batch;
        const auto flush = [&] {
            if (!target->Side().AppendRecords(AsTexts(batch))) {
                for (const Row& row : batch) {
                    target->InsertRow(row);
                }
            }
            counts.records += static_cast<std::int64_t>(batch.size());
            batch.clear();
        };
        source->ScanColumns(IndexDef{}, columns, [&](const RowView& view) {
            Row& row = batch.emplace_back(defaults);
            for (std::size_t t = 0; t < row.size(); ++t) {
                if (fromColumn[t] >= 0) {
                    row[t] = view.Column(static_cast<std::size_t>(fromColumn[t]));
                }
            }
            if (batch.size() == kBatch) {
                flush();
            }
        });
        flush();
        for (const SideTableDef& table : CopiedSideTables()) {
            counts.sideRows += CopySideTable(source->Side(), target->Side(), table);
        }
        target->Commit();
    } catch (...) {
        target->Rollback();
        throw;
    }
    return counts;
}

} // namespace wordloom
