// The team table's records: reads in the index orders, versioned writes, transactions under the
// table's write lock.
#include "base/ui_text.h"
#include "strings_db/postgres_shared.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace wordloom {

using namespace postgres_shared;

namespace {

int TypeRank(const Value& v) {
    switch (v.type) {
    case Value::Type::Null:
        return 0;
    case Value::Type::Integer:
    case Value::Type::Real:
        return 1;
    case Value::Type::Text:
        return 2;
    }
    return 3;
}

/// The current row of a result, decoded column by column as asked.
class ResultRow : public RowView {
public:
    using Reader = std::function<void(int row, int column, Value&)>;
    ResultRow(std::size_t columns, int first, Reader read)
        : m_values(columns), m_loaded(columns), m_first(first), m_read(std::move(read)) {}
    void At(int row, RowId id = 0) {
        m_row = row;
        m_id = id;
        std::fill(m_loaded.begin(), m_loaded.end(), false);
    }
    const Value& Column(std::size_t column) const override {
        if (!m_loaded[column]) {
            m_read(m_row, static_cast<int>(column) + m_first, m_values[column]);
            m_loaded[column] = true;
        }
        return m_values[column];
    }
    RowId Id() const override { return m_id; }

private:
    mutable Row m_values;
    mutable std::vector<bool> m_loaded;
    int m_first;
    int m_row = 0;
    RowId m_id = 0;
    Reader m_read;
};

} // namespace

PostgresBackend::PostgresBackend(const std::string& address, OpenMode mode)
    : m_address(address), m_conn(Connect(address)) {
    try {
        Exec("SET lock_timeout = " + std::to_string(m_busyTimeoutMs));
        LoadFields();
        LoadIndexes();
        Result rights = Run("SELECT has_table_privilege(to_regclass($1), 'INSERT, UPDATE, DELETE'), "
                            "to_regclass('strings_change') IS NOT NULL, "
                            "(SELECT n.nspname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                            "WHERE c.oid = to_regclass($1)), "
                            "EXISTS (SELECT 1 FROM pg_trigger WHERE tgrelid = to_regclass($1) "
                            "AND tgname = 'strings_notify')",
                            {kTable}, WL_TR("StringsTable", "Cannot read the strings table"));
        m_readOnly = mode == OpenMode::ReadOnly || PQgetvalue(rights.get(), 0, 0)[0] != 't';
        m_hasChangeCounter = PQgetvalue(rights.get(), 0, 1)[0] == 't';
        m_schema = PQgetvalue(rights.get(), 0, 2);
        if (!m_readOnly && PQgetvalue(rights.get(), 0, 3)[0] != 't') {
            AddNotifyTrigger();
        }
        ConfigureSession();
    } catch (...) {
        PQfinish(m_conn);
        throw;
    }
}

void PostgresBackend::AddNotifyTrigger() {
    // Where this user may not (not the table's owner), the others' grids simply learn of this
    // user's changes when they next refresh; a concurrent open adding it too makes this one fail.
    const std::string schema = Quote(m_schema);
    const std::string sql =
        "BEGIN; "
        "CREATE OR REPLACE FUNCTION " +
        schema +
        ".wordloom_notify_change() RETURNS trigger "
        "LANGUAGE plpgsql AS $$ BEGIN PERFORM pg_notify('wordloom_strings', TG_TABLE_SCHEMA); "
        "RETURN NULL; END $$; "
        "CREATE TRIGGER strings_notify AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON " +
        schema + "." + Quote(kTable) + " FOR EACH STATEMENT EXECUTE FUNCTION " + schema +
        ".wordloom_notify_change(); "
        "COMMIT";
    Result added(PQexec(m_conn, sql.c_str()));
    if (PQresultStatus(added.get()) != PGRES_COMMAND_OK) {
        Result undo(PQexec(m_conn, "ROLLBACK"));
    }
}

PostgresBackend::~PostgresBackend() {
    m_side.reset();
    PQfinish(m_conn);
}

void PostgresBackend::RequireWritable() const {
    if (m_readOnly) {
        throw TableError(
            FillIn(WL_TR("StringsTable", "The strings table %1 is read-only"), {ShownAddress(m_address)}));
    }
}

void PostgresBackend::ReadValue(const PGresult* result, int row, int column, ColumnType type,
                                Value& value) const {
    if (PQgetisnull(result, row, column)) {
        value.type = Value::Type::Null;
        return;
    }
    const char* text = PQgetvalue(result, row, column);
    switch (type) {
    case ColumnType::Integer:
        value.type = Value::Type::Integer;
        value.integer = std::strtoll(text, nullptr, 10);
        break;
    case ColumnType::Real:
        value.type = Value::Type::Real;
        value.real = std::strtod(text, nullptr);
        break;
    case ColumnType::Text:
    case ColumnType::Other:
        value.type = Value::Type::Text;
        value.text.assign(text, static_cast<std::size_t>(PQgetlength(result, row, column)));
        break;
    }
}

std::string PostgresBackend::ParamText(const Value& value) const {
    switch (value.type) {
    case Value::Type::Integer:
        return std::to_string(value.integer);
    case Value::Type::Real: {
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%.17g", value.real);
        return buffer;
    }
    case Value::Type::Text:
        // The server keeps UTF-8 only and ends a text parameter at its first 0 byte: refused here
        // rather than stored cut.
        if (!ValidUtf8(value.text)) {
            throw DbError(WL_TR("StringsTable", "Cannot store the record: a text is not valid UTF-8 "
                                                "or holds a 0 character"));
        }
        return value.text;
    case Value::Type::Null:
        break;
    }
    return {};
}

std::vector<RowId> PostgresBackend::OrderedIds(const IndexDef& order) {
    Result result = Run("SELECT id FROM " + Quote(kTable) + OrderBy(order), {},
                        WL_TR("StringsTable", "Cannot read the strings table"));
    std::vector<RowId> ids(static_cast<std::size_t>(PQntuples(result.get())));
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ids[i] = IdAt(result.get(), static_cast<int>(i));
    }
    return ids;
}

namespace {

/// The condition of a filter on `column` (its value is parameter $n).
std::string FilterCondition(const std::string& column, bool isText, bool caseInsensitive, int n) {
    const std::string value = isText ? column : column + "::text";
    const std::string param = "$" + std::to_string(n) + "::text";
    return caseInsensitive ? "lower(" + value + ") = lower(" + param + ")"
                           : value + " COLLATE \"C\" = " + param;
}

} // namespace

void PostgresBackend::ScanFilter(const FilterSpec* filter, bool wantRows,
                                 const std::function<void(RowId, const RowView*)>& visit) {
    std::string sql =
        "SELECT id" + (wantRows ? ", " + ColumnList() : std::string()) + " FROM " + Quote(kTable);
    std::vector<std::string> params;
    if (filter) {
        sql += " WHERE " +
               FilterCondition(Column(filter->column),
                               m_types.at(static_cast<std::size_t>(filter->column)) == ColumnType::Text,
                               filter->caseInsensitive, 1);
        params.push_back(filter->value);
        if (!ValidUtf8(filter->value)) {
            return; // nothing the server holds equals it
        }
    }
    Result result = Run(sql + " ORDER BY id", params, WL_TR("StringsTable", "Cannot read the strings table"));
    const PGresult* raw = result.get();
    ResultRow row(m_fields.size(), 1, [this, raw](int r, int c, Value& v) {
        ReadValue(raw, r, c, m_types[static_cast<std::size_t>(c - 1)], v);
    });
    for (int r = 0; r < PQntuples(raw); ++r) {
        row.At(r);
        visit(IdAt(raw, r), wantRows ? &row : nullptr);
    }
}

void PostgresBackend::ScanColumns(const IndexDef& order, const std::vector<int>& columns,
                                  const std::function<void(const RowView&)>& visit) {
    std::string sql = "SELECT id";
    std::vector<ColumnType> types;
    for (const int column : columns) {
        sql += ", " + Column(column);
        types.push_back(m_types.at(static_cast<std::size_t>(column)));
    }
    Result result = Run(sql + " FROM " + Quote(kTable) + OrderBy(order), {},
                        WL_TR("StringsTable", "Cannot read the strings table"));
    const PGresult* raw = result.get();
    ResultRow row(columns.size(), 1, [this, raw, &types](int r, int c, Value& v) {
        ReadValue(raw, r, c, types[static_cast<std::size_t>(c - 1)], v);
    });
    for (int r = 0; r < PQntuples(raw); ++r) {
        row.At(r, IdAt(raw, r));
        visit(row);
    }
}

bool PostgresBackend::Matches(RowId id, const FilterSpec& filter) {
    if (!ValidUtf8(filter.value)) {
        return false;
    }
    Result result =
        Run("SELECT 1 FROM " + Quote(kTable) + " WHERE id = $1 AND " +
                FilterCondition(Column(filter.column),
                                m_types.at(static_cast<std::size_t>(filter.column)) == ColumnType::Text,
                                filter.caseInsensitive, 2),
            {std::to_string(id), filter.value}, WL_TR("StringsTable", "Cannot read the strings table"));
    return PQntuples(result.get()) > 0;
}

std::vector<RowId> PostgresBackend::FindKey(const IndexDef& order, const std::string& key) {
    std::vector<RowId> ids;
    if (!ValidUtf8(key)) {
        return ids; // the server holds UTF-8 only
    }
    const OrderPart& first = order.parts.at(0);
    const bool text = m_types.at(static_cast<std::size_t>(first.column)) == ColumnType::Text;
    std::string condition = text ? Column(first.column) +
                                       (first.collation.empty() ? "" : " COLLATE " + Quote(first.collation)) +
                                       " = $1::text"
                                 : Column(first.column) + "::text = $1::text";
    Result result = Run("SELECT id FROM " + Quote(kTable) + " WHERE " + condition + OrderBy(order), {key},
                        WL_TR("StringsTable", "Key search failed"));
    for (int r = 0; r < PQntuples(result.get()); ++r) {
        ids.push_back(IdAt(result.get(), r));
    }
    return ids;
}

int PostgresBackend::Compare(const Value& a, const Value& b, const std::string& collation) const {
    // NULLs first, then numbers, then texts by the collation: the order of OrderBy.
    const int rankA = TypeRank(a);
    const int rankB = TypeRank(b);
    if (rankA != rankB) {
        return rankA < rankB ? -1 : 1;
    }
    if (rankA == 0) {
        return 0;
    }
    if (rankA == 1) {
        if (a.type == Value::Type::Integer && b.type == Value::Type::Integer) {
            return a.integer == b.integer ? 0 : (a.integer < b.integer ? -1 : 1);
        }
        double x = a.type == Value::Type::Integer ? static_cast<double>(a.integer) : a.real;
        double y = b.type == Value::Type::Integer ? static_cast<double>(b.integer) : b.real;
        return x == y ? 0 : (x < y ? -1 : 1);
    }
    if (const Collator* collator = FindCollator(collation)) {
        return collator->Compare(a.text, b.text);
    }
    const int c = a.text.compare(b.text);
    return c == 0 ? 0 : (c < 0 ? -1 : 1);
}

std::string PostgresBackend::CollationKey(const std::string& text, const std::string& collation) const {
    const Collator* collator = FindCollator(collation);
    return collator ? collator->Key(text) : text;
}

RowId PostgresBackend::MaxId() {
    Result result = Run("SELECT coalesce(max(id), 0) FROM " + Quote(kTable), {},
                        WL_TR("StringsTable", "Cannot read the strings table"));
    return IdAt(result.get(), 0);
}

bool PostgresBackend::Empty() {
    Result result = Run("SELECT 1 FROM " + Quote(kTable) + " LIMIT 1", {},
                        WL_TR("StringsTable", "Cannot read the strings table"));
    return PQntuples(result.get()) == 0;
}

long long PostgresBackend::ForeignChanges() {
    if (!m_hasChangeCounter) {
        throw DbError(WL_TR("StringsTable", "The strings table does not count its writes"));
    }
    Result result = Run("SELECT coalesce(sum(writes), 0) FROM strings_change WHERE pid <> pg_backend_pid()",
                        {}, WL_TR("StringsTable", "Cannot read the strings table"));
    return std::strtoll(PQgetvalue(result.get(), 0, 0), nullptr, 10);
}

bool PostgresBackend::ReadById(const std::string& sql, RowId id, Row& row,
                               const std::vector<ColumnType>& types) {
    Result result = Run(sql, {std::to_string(id)}, WL_TR("StringsTable", "Cannot read the strings table"));
    if (PQntuples(result.get()) == 0) {
        return false;
    }
    row.resize(types.size());
    for (std::size_t i = 0; i < types.size(); ++i) {
        ReadValue(result.get(), 0, static_cast<int>(i), types[i], row[i]);
    }
    return true;
}

bool PostgresBackend::ReadRow(RowId id, Row& row) {
    Result result = Run("SELECT " + ColumnList() + ", version FROM " + Quote(kTable) + " WHERE id = $1",
                        {std::to_string(id)}, WL_TR("StringsTable", "Cannot read the strings table"));
    if (PQntuples(result.get()) == 0) {
        return false;
    }
    row.resize(m_fields.size());
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        ReadValue(result.get(), 0, static_cast<int>(i), m_types[i], row[i]);
    }
    m_versions[id] =
        std::strtoll(PQgetvalue(result.get(), 0, static_cast<int>(m_fields.size())), nullptr, 10);
    return true;
}

bool PostgresBackend::ReadKey(RowId id, const IndexDef& order, Row& key) {
    std::string columns;
    std::vector<ColumnType> types;
    for (const OrderPart& part : order.parts) {
        columns += (columns.empty() ? "" : ", ") + Column(part.column);
        types.push_back(m_types.at(static_cast<std::size_t>(part.column)));
    }
    if (columns.empty()) {
        columns = "id";
        types.push_back(ColumnType::Integer);
    }
    return ReadById("SELECT " + columns + " FROM " + Quote(kTable) + " WHERE id = $1", id, key, types);
}

Row PostgresBackend::DefaultRow() {
    Row row(m_fields.size());
    if (!m_hasDefaults) {
        return row;
    }
    std::string sql;
    for (const std::string& expression : m_defaults) {
        sql += (sql.empty() ? "SELECT " : ", ") + (expression.empty() ? std::string("NULL") : expression);
    }
    Result result = Run(sql, {}, WL_TR("StringsTable", "Cannot read the column defaults"));
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        ReadValue(result.get(), 0, static_cast<int>(i), m_types[i], row[i]);
    }
    return row;
}

bool PostgresBackend::StoresAsGiven(const Row& row) const {
    if (!m_plainStorage || row.size() != m_fields.size()) {
        return false;
    }
    for (std::size_t i = 0; i < row.size(); ++i) {
        const Value::Type type = row[i].type;
        if ((type == Value::Type::Text && m_types[i] != ColumnType::Text) ||
            (type == Value::Type::Integer && m_types[i] != ColumnType::Integer) ||
            type == Value::Type::Real) {
            return false;
        }
    }
    return true;
}

RowId PostgresBackend::InsertRow(const Row& row) {
    RequireWritable();
    std::string values;
    for (std::size_t i = 1; i <= m_fields.size(); ++i) {
        values += (i == 1 ? "$" : ", $") + std::to_string(i);
    }
    std::vector<std::string> params;
    std::string sql = "INSERT INTO " + Quote(kTable) + " (" + ColumnList() + ") VALUES (";
    // NULLs are written as such in the statement: a text parameter cannot carry one.
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (row.at(i).IsNull()) {
            sql += i == 0 ? "NULL" : ", NULL";
        } else {
            params.push_back(ParamText(row[i]));
            sql += (i == 0 ? "$" : ", $") + std::to_string(params.size());
        }
    }
    Result result =
        Write(sql + ") RETURNING id, version", params, WL_TR("StringsTable", "Cannot store the record"));
    const RowId id = IdAt(result.get(), 0);
    m_versions[id] = std::strtoll(PQgetvalue(result.get(), 0, 1), nullptr, 10);
    return id;
}

void PostgresBackend::UpdateRow(RowId id, const Row& row) {
    RequireWritable();
    std::vector<std::string> params;
    std::string sets;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        sets += (i == 0 ? "" : ", ") + Column(static_cast<int>(i)) + " = ";
        if (row.at(i).IsNull()) {
            sets += "NULL";
        } else {
            params.push_back(ParamText(row[i]));
            sets += "$" + std::to_string(params.size());
        }
    }
    params.push_back(std::to_string(id));
    std::string sql = "UPDATE " + Quote(kTable) + " SET " + sets + ", version = version + 1 WHERE id = $" +
                      std::to_string(params.size());
    const auto known = m_versions.find(id);
    const bool versionKnown = known != m_versions.end();
    const long long readVersion = versionKnown ? known->second : 0;
    if (versionKnown) {
        params.push_back(std::to_string(readVersion));
        sql += " AND version = $" + std::to_string(params.size());
    }
    Result result =
        Write(sql + " RETURNING version", params, WL_TR("StringsTable", "Cannot store the record"));
    if (PQntuples(result.get()) == 1) {
        m_versions[id] = std::strtoll(PQgetvalue(result.get(), 0, 0), nullptr, 10);
        return;
    }
    Row theirs;
    if (!ReadRow(id, theirs)) {
        throw DbError(WL_TR("StringsTable", "Cannot store the record: it was deleted meanwhile"));
    }
    // Their record was read only to be shown: posting this buffer again must still fail. The edit
    // that means to keep this text starts from a fresh read of theirs.
    m_versions[id] = readVersion;
    std::unordered_map<std::string, std::string> stored;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const Value& value = theirs[i];
        stored[m_fields[i].name] = value.type == Value::Type::Text      ? value.text
                                   : value.type == Value::Type::Integer ? std::to_string(value.integer)
                                   : value.type == Value::Type::Real    ? ParamText(value)
                                                                        : std::string();
    }
    throw VersionConflict(WL_TR("StringsTable", "Cannot store the record: someone else changed it since it "
                                                "was read. Refresh to see their text, then edit it again"),
                          std::move(stored));
}

void PostgresBackend::DeleteRow(RowId id) {
    RequireWritable();
    Write("DELETE FROM " + Quote(kTable) + " WHERE id = $1", {std::to_string(id)},
          WL_TR("StringsTable", "Cannot delete the record"));
    m_versions.erase(id);
}

std::vector<RowId> PostgresBackend::DeleteEmpty(int column, const std::vector<RowId>& ids) {
    RequireWritable();
    std::vector<RowId> deleted;
    if (ids.empty()) {
        return deleted;
    }
    // The ids travel as one array: a single statement however many records the view holds.
    std::string list = "{";
    for (RowId id : ids) {
        list += std::to_string(id);
        list += ',';
    }
    list.back() = '}';
    const std::string name = Column(column);
    const bool text = m_types.at(static_cast<std::size_t>(column)) == ColumnType::Text;
    Result result = Write("DELETE FROM " + Quote(kTable) + " WHERE (" + name + " IS NULL" +
                              (text ? " OR " + name + " = ''" : std::string()) +
                              ") AND id = ANY($1::bigint[]) RETURNING id",
                          {list}, WL_TR("StringsTable", "Cannot delete the records"));
    for (int r = 0; r < PQntuples(result.get()); ++r) {
        deleted.push_back(IdAt(result.get(), r));
        m_versions.erase(deleted.back());
    }
    return deleted;
}

void PostgresBackend::Begin() {
    if (InTransaction()) {
        throw DbError(WL_TR("StringsTable", "A transaction on the strings table is already open"));
    }
    if (!Connected()) {
        Reconnect(); // a transaction starts afresh on a connection that went away before it
    }
    Exec("BEGIN");
    m_inTransaction = true;
    if (!m_readOnly) {
        // Writers one at a time, as on SQLite: readers go on, and a key searched for inside the
        // transaction cannot be filed by someone else before it commits.
        try {
            LockTable("SHARE ROW EXCLUSIVE");
        } catch (...) {
            m_inTransaction = false;
            Result undo(PQexec(m_conn, "ROLLBACK"));
            throw;
        }
    }
}

void PostgresBackend::LockTable(const std::string& mode) {
    const std::string lock = "LOCK TABLE " + Quote(kTable) + " IN " + mode + " MODE";
    if (!m_onBusy && !m_onLockWait) {
        Exec(lock);
        return;
    }
    // Tried without waiting first, so that a wait is told before it begins.
    Exec("SAVEPOINT wordloom_lock");
    Result probe(PQexec(m_conn, (lock + " NOWAIT").c_str()));
    if (PQresultStatus(probe.get()) == PGRES_COMMAND_OK) {
        Exec("RELEASE SAVEPOINT wordloom_lock");
        return;
    }
    const char* state = PQresultErrorField(probe.get(), PG_DIAG_SQLSTATE);
    if (PQstatus(m_conn) != CONNECTION_OK || !state || std::strcmp(state, "55P03") != 0) {
        Fail(probe.get(), WL_TR("StringsTable", "Strings table query failed"));
    }
    Exec("ROLLBACK TO SAVEPOINT wordloom_lock");
    if (m_onBusy) {
        m_onBusy();
    }
    if (m_onLockWait) {
        m_onLockWait();
    }
    Exec(lock);
}

void PostgresBackend::Commit() {
    if (!InTransaction()) {
        throw DbError(WL_TR("StringsTable", "No transaction on the strings table is open"));
    }
    m_inTransaction = false; // a COMMIT that fails ends the transaction all the same
    Exec("COMMIT");
}

void PostgresBackend::Rollback() {
    const bool open = InTransaction();
    m_inTransaction = false;
    // On a lost connection the server dropped the transaction itself.
    if (open && PQstatus(m_conn) == CONNECTION_OK) {
        Exec("ROLLBACK");
    }
}

bool PostgresBackend::InTransaction() const {
    const PGTransactionStatusType status = PQtransactionStatus(m_conn);
    return m_inTransaction || status == PQTRANS_INTRANS || status == PQTRANS_INERROR ||
           status == PQTRANS_ACTIVE;
}

void PostgresBackend::SetLockWaitNotice(std::function<void()> onWait) {
    m_onLockWait = std::move(onWait);
}

void PostgresBackend::SetBusyTimeout(int timeoutMs) {
    m_busyTimeoutMs = timeoutMs;
    Exec("SET lock_timeout = " + std::to_string(std::max(timeoutMs, 1)));
}

void PostgresBackend::SetBusyNotice(std::function<void()> onWait) {
    m_onBusy = std::move(onWait);
}
} // namespace wordloom
