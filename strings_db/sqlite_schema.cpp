// The strings table's schema as the SQLite file declares it: fields, indexes, storage rules.
#include "base/ui_text.h"
#include "strings_db/sqlite_backend.h"
#include "strings_db/sqlite_shared.h"

#include <algorithm>

namespace wordloom {

namespace {

using namespace sqlite_shared;

/// Declared types that give a column text affinity make it an alpha field.
FieldKind KindOf(std::string declared) {
    std::transform(declared.begin(), declared.end(), declared.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (const char* word : {"CHAR", "CLOB", "TEXT"}) {
        if (declared.find(word) != std::string::npos) {
            return FieldKind::Alpha;
        }
    }
    return FieldKind::Integer;
}

} // namespace

void SqliteBackend::LoadFields() {
    StmtPtr stmt = Prepare("PRAGMA table_info(" + Quote(kTable) + ")");
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        std::string declared = Text(stmt.get(), 2);
        m_fields.push_back({Text(stmt.get(), 1), KindOf(declared)});
        m_defaults.push_back(sqlite3_column_type(stmt.get(), 4) == SQLITE_NULL ? std::string()
                                                                               : Text(stmt.get(), 4));
    }
    if (rc != SQLITE_DONE) {
        throw DbError(sqlite3_errmsg(m_db.get()));
    }
}

void SqliteBackend::LoadIndexes() {
    StmtPtr list = Prepare("SELECT name FROM sqlite_master WHERE type = 'index' AND "
                           "tbl_name = ?1 COLLATE NOCASE ORDER BY name");
    sqlite3_bind_text(list.get(), 1, kTable, -1, SQLITE_STATIC);
    while (sqlite3_step(list.get()) == SQLITE_ROW) {
        SchemaIndex index;
        index.def.name = Text(list.get(), 0);
        StmtPtr info = Prepare("PRAGMA index_xinfo(" + Quote(index.def.name) + ")");
        while (sqlite3_step(info.get()) == SQLITE_ROW) {
            if (sqlite3_column_int(info.get(), 5) == 0) {
                continue; // the row id that every index entry carries
            }
            int column = sqlite3_column_int(info.get(), 1);
            if (column < 0) {
                index.usable = false;
                continue;
            }
            index.def.parts.push_back({column, Text(info.get(), 4), sqlite3_column_int(info.get(), 3) != 0});
        }
        m_indexes.push_back(std::move(index));
    }
}

void SqliteBackend::LoadStorageRules() {
    m_hasDefaults =
        std::any_of(m_defaults.begin(), m_defaults.end(), [](const std::string& d) { return !d.empty(); });
    bool plain = true;
    StmtPtr info = Prepare("PRAGMA table_info(" + Quote(kTable) + ")");
    while (sqlite3_step(info.get()) == SQLITE_ROW) {
        // The engine's affinity rules, in its order of precedence.
        std::string declared = Text(info.get(), 2);
        std::transform(declared.begin(), declared.end(), declared.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        auto has = [&](const char* word) { return declared.find(word) != std::string::npos; };
        bool integer = has("INT");
        bool text = !integer && (has("CHAR") || has("CLOB") || has("TEXT"));
        bool blob = !integer && !text && (declared.empty() || has("BLOB"));
        bool real = !integer && !text && !blob && (has("REAL") || has("FLOA") || has("DOUB"));
        m_keepsText.push_back(text || blob ? 1 : 0);
        m_keepsInteger.push_back(real || text ? 0 : 1);
        if (sqlite3_column_int(info.get(), 5) != 0) {
            plain = false; // a key column may take the record id in place of a NULL
        }
    }
    StmtPtr triggers = Prepare("SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND "
                               "tbl_name = ?1 COLLATE NOCASE");
    sqlite3_bind_text(triggers.get(), 1, kTable, -1, SQLITE_STATIC);
    if (sqlite3_step(triggers.get()) != SQLITE_ROW || sqlite3_column_int(triggers.get(), 0) != 0) {
        plain = false;
    }
    StmtPtr encoding = Prepare("PRAGMA encoding");
    if (sqlite3_step(encoding.get()) != SQLITE_ROW || Text(encoding.get(), 0) != "UTF-8") {
        plain = false;
    }
    m_plainStorage = plain && m_keepsText.size() == m_fields.size();
}

bool SqliteBackend::StoresAsGiven(const Row& row) const {
    if (!m_plainStorage || row.size() != m_fields.size()) {
        return false;
    }
    for (std::size_t i = 0; i < row.size(); ++i) {
        switch (row[i].type) {
        case Value::Type::Null:
            break;
        case Value::Type::Text:
            if (!m_keepsText[i]) {
                return false;
            }
            break;
        case Value::Type::Integer:
            if (!m_keepsInteger[i]) {
                return false;
            }
            break;
        case Value::Type::Real:
            return false;
        }
    }
    return true;
}

IndexDef SqliteBackend::IndexByName(const std::string& name) const {
    for (const SchemaIndex& index : m_indexes) {
        if (SameName(index.def.name, name) && index.usable) {
            return index.def;
        }
    }
    throw DbError(FillIn(WL_TR("StringsTable", "Index not found: %1"), {name}));
}

IndexDef SqliteBackend::IndexOnField(int column) const {
    // Several indexes may cover the field alone (English and English2): the one named after the
    // field wins, then a case-sensitive one.
    const std::string& field = m_fields.at(static_cast<std::size_t>(column)).name;
    const SchemaIndex* best = nullptr;
    int bestRank = 0;
    for (const SchemaIndex& index : m_indexes) {
        if (!index.usable || index.def.parts.size() != 1 || index.def.parts[0].column != column) {
            continue;
        }
        int rank = SameName(index.def.name, field)                    ? 3
                   : SameName(index.def.parts[0].collation, "BINARY") ? 2
                                                                      : 1;
        if (rank > bestRank) {
            best = &index;
            bestRank = rank;
        }
    }
    if (!best) {
        throw DbError(FillIn(WL_TR("StringsTable", "Index not found: %1"), {field}));
    }
    return best->def;
}

} // namespace wordloom
