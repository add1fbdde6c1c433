// The team table's schema as the server declares it: fields, indexes and their collations.
#include "base/ui_text.h"
#include "strings_db/postgres_shared.h"

#include <cstring>

namespace wordloom {

using namespace postgres_shared;

void PostgresBackend::LoadFields() {
    const std::string what = WL_TR("StringsTable", "Cannot read the strings table");
    Result exists = Run("SELECT to_regclass($1) IS NOT NULL, "
                        "(SELECT count(*) FROM pg_attribute WHERE attrelid = to_regclass($1) AND "
                        "attname IN ('id', 'version') AND NOT attisdropped)",
                        {kTable}, what);
    if (PQgetvalue(exists.get(), 0, 0)[0] != 't') {
        throw DbError(FillIn(WL_TR("StringsTable", "The database %1 holds no strings table"),
                             {ShownAddress(m_address)}));
    }
    if (std::strcmp(PQgetvalue(exists.get(), 0, 1), "2") != 0) {
        throw DbError(
            FillIn(WL_TR("StringsTable", "The strings table in %1 lacks the columns id and version of "
                                         "a team table (made by wordloom-cli db init)"),
                   {ShownAddress(m_address)}));
    }
    Result columns = Run("SELECT a.attname, t.typcategory, t.typname, pg_get_expr(d.adbin, d.adrelid) "
                         "FROM pg_attribute a JOIN pg_type t ON t.oid = a.atttypid "
                         "LEFT JOIN pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = a.attnum "
                         "WHERE a.attrelid = to_regclass($1) AND a.attnum > 0 AND NOT a.attisdropped "
                         "AND a.attname NOT IN ('id', 'version') ORDER BY a.attnum",
                         {kTable}, what);
    for (int i = 0; i < PQntuples(columns.get()); ++i) {
        const std::string category = PQgetvalue(columns.get(), i, 1);
        const std::string type = PQgetvalue(columns.get(), i, 2);
        ColumnType columnType = category == "S"                                        ? ColumnType::Text
                                : (type == "int2" || type == "int4" || type == "int8") ? ColumnType::Integer
                                : (type == "float4" || type == "float8" || category == "N")
                                    ? ColumnType::Real
                                    : ColumnType::Other;
        m_fields.push_back({PQgetvalue(columns.get(), i, 0),
                            columnType == ColumnType::Text ? FieldKind::Alpha : FieldKind::Integer});
        m_types.push_back(columnType);
        m_defaults.push_back(PQgetisnull(columns.get(), i, 3) ? std::string()
                                                              : PQgetvalue(columns.get(), i, 3));
        // Only text and whole numbers come back exactly as bound; a fixed-width or bounded text
        // type pads or trims.
        if ((columnType == ColumnType::Text && type != "text" && type != "varchar") ||
            columnType == ColumnType::Real || columnType == ColumnType::Other) {
            m_plainStorage = false;
        }
    }
    m_hasDefaults =
        std::any_of(m_defaults.begin(), m_defaults.end(), [](const std::string& d) { return !d.empty(); });
    // A row trigger that runs before the write may change what is stored.
    Result triggers =
        Run("SELECT count(*) FROM pg_trigger WHERE tgrelid = to_regclass($1) AND NOT tgisinternal "
            "AND (tgtype & 3) = 3",
            {kTable}, what);
    if (std::strcmp(PQgetvalue(triggers.get(), 0, 0), "0") != 0) {
        m_plainStorage = false;
    }
}

void PostgresBackend::LoadIndexes() {
    const std::string what = WL_TR("StringsTable", "Cannot read the strings table");
    Result parts =
        Run("SELECT i.relname, k.attnum, coalesce(a.attname, ''), coalesce(c.collname, ''), "
            "ix.indoption[k.ord - 1], "
            "ix.indpred IS NOT NULL, c.collprovider, c.collcollate, c.colliculocale, c.collisdeterministic, "
            "d.datlocprovider, d.datcollate, d.daticulocale "
            "FROM pg_index ix JOIN pg_class i ON i.oid = ix.indexrelid "
            "CROSS JOIN LATERAL unnest(ix.indkey::int2[]) WITH ORDINALITY k(attnum, ord) "
            "LEFT JOIN pg_attribute a ON a.attrelid = ix.indrelid AND a.attnum = k.attnum "
            "LEFT JOIN pg_collation c ON c.oid = ix.indcollation[k.ord - 1] "
            "JOIN pg_database d ON d.datname = current_database() "
            "WHERE ix.indrelid = to_regclass($1) ORDER BY i.relname, k.ord",
            {kTable}, what);
    bool idSeen = false;
    for (int r = 0; r < PQntuples(parts.get()); ++r) {
        const std::string name = PQgetvalue(parts.get(), r, 0);
        if (m_indexes.empty() || m_indexes.back().def.name != name) {
            m_indexes.push_back({IndexDef{name, {}}, PQgetvalue(parts.get(), r, 5)[0] != 't'});
            idSeen = false;
        }
        SchemaIndex& index = m_indexes.back();
        const std::string column = PQgetvalue(parts.get(), r, 2);
        if (column == "id") {
            idSeen = true; // the tie-break every order ends in
            continue;
        }
        auto field = std::find_if(m_fields.begin(), m_fields.end(),
                                  [&](const FieldDef& f) { return f.name == column; });
        if (field == m_fields.end() || idSeen) {
            index.usable = false; // an expression, the version, or a key after the record id
            continue;
        }
        OrderPart part;
        part.column = static_cast<int>(field - m_fields.begin());
        part.collation = PQgetvalue(parts.get(), r, 3);
        part.descending = (std::atoi(PQgetvalue(parts.get(), r, 4)) & 1) != 0;
        index.def.parts.push_back(part);
        if (part.collation.empty() || m_collators.count(part.collation)) {
            continue;
        }
        auto collator = std::make_unique<Collator>();
        std::string provider = PQgetvalue(parts.get(), r, 6);
        std::string collate = PQgetvalue(parts.get(), r, 7);
        std::string icuLocale = PQgetvalue(parts.get(), r, 8);
        collator->deterministic = PQgetvalue(parts.get(), r, 9)[0] != 'f';
        if (provider == "d") { // the database's own
            provider = PQgetvalue(parts.get(), r, 10);
            collate = PQgetvalue(parts.get(), r, 11);
            icuLocale = PQgetvalue(parts.get(), r, 12);
        }
        if (provider == "i") {
            UErrorCode status = U_ZERO_ERROR;
            collator->icu = ucol_open(icuLocale.c_str(), &status);
            if (U_FAILURE(status)) {
                throw DbError(FillIn(WL_TR("StringsTable", "The collation %1 (%2) is not known here"),
                                     {part.collation, icuLocale}));
            }
            collator->kind = Collator::Kind::Icu;
        } else if (collate != "C" && collate != "POSIX") {
            collator->libc = newlocale(LC_COLLATE_MASK, collate.c_str(), nullptr);
            if (!collator->libc) {
                throw DbError(FillIn(WL_TR("StringsTable", "The collation %1 (%2) is not known here"),
                                     {part.collation, collate}));
            }
            collator->kind = Collator::Kind::Libc;
        }
        m_collators.emplace(part.collation, std::move(collator));
    }
    // The primary key on the record id orders like no index at all.
    m_indexes.erase(std::remove_if(m_indexes.begin(), m_indexes.end(),
                                   [](const SchemaIndex& index) { return index.def.parts.empty(); }),
                    m_indexes.end());
}

const PostgresBackend::Collator* PostgresBackend::FindCollator(const std::string& collation) const {
    auto it = m_collators.find(collation);
    return it == m_collators.end() ? nullptr : it->second.get();
}

IndexDef PostgresBackend::IndexByName(const std::string& name) const {
    for (const SchemaIndex& index : m_indexes) {
        if (SameName(index.def.name, name) && index.usable) {
            return index.def;
        }
    }
    throw DbError(FillIn(WL_TR("StringsTable", "Index not found: %1"), {name}));
}

IndexDef PostgresBackend::IndexOnField(int column) const {
    // As on SQLite: the index named after the field wins, then one that orders by code point.
    const std::string& field = m_fields.at(static_cast<std::size_t>(column)).name;
    const SchemaIndex* best = nullptr;
    int bestRank = 0;
    for (const SchemaIndex& index : m_indexes) {
        if (!index.usable || index.def.parts.size() != 1 || index.def.parts[0].column != column) {
            continue;
        }
        const Collator* collator = FindCollator(index.def.parts[0].collation);
        int rank = SameName(index.def.name, field)                          ? 3
                   : (!collator || collator->kind == Collator::Kind::Bytes) ? 2
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

std::string PostgresBackend::Column(int column) const {
    return Quote(m_fields.at(static_cast<std::size_t>(column)).name);
}

std::string PostgresBackend::OrderBy(const IndexDef& order) const {
    // NULLs first, as the SQLite table orders and the cursor compares.
    std::string sql = " ORDER BY ";
    for (const OrderPart& part : order.parts) {
        sql += Column(part.column) + (part.collation.empty() ? "" : " COLLATE " + Quote(part.collation)) +
               (part.descending ? " DESC NULLS LAST, " : " NULLS FIRST, ");
    }
    return sql + "id";
}

std::string PostgresBackend::ColumnList() const {
    std::string sql;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        sql += (sql.empty() ? "" : ", ") + Column(static_cast<int>(i));
    }
    return sql;
}
} // namespace wordloom
