#include "strings_db/sqlite_backend.h"
#include "base/ui_text.h"
#include "strings_db/sqlite_shared.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>

namespace wordloom {

namespace {

using namespace sqlite_shared;

int CompareBytes(const std::string& a, const std::string& b, bool foldCase) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (foldCase) {
            // SQLite's NOCASE folds ASCII letters only.
            x = (x >= 'A' && x <= 'Z') ? static_cast<unsigned char>(x + 32) : x;
            y = (y >= 'A' && y <= 'Z') ? static_cast<unsigned char>(y + 32) : y;
        }
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

/// Failures of the table as a whole rather than of the statement or record at hand.
bool IsTableFailure(int code) {
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_READONLY:
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_PROTOCOL:
        return true;
    default:
        return false;
    }
}

/// Changes whenever a committing writer writes to the file or its write-ahead log.
std::pair<std::uintmax_t, std::filesystem::file_time_type> Stamp(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    const auto time = std::filesystem::last_write_time(path, error);
    return {error ? 0 : size, error ? std::filesystem::file_time_type() : time};
}

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

} // namespace

void SqliteBackend::DbCloser::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

void SqliteBackend::StmtFinalizer::operator()(sqlite3_stmt* stmt) const {
    sqlite3_finalize(stmt);
}

SqliteBackend::SqliteBackend(const std::string& path, OpenMode mode) : m_path(path) {
    // An insert allocates a cursor per index; the engine's allocation statistics take a global
    // lock for each. Nothing here reads them. Only possible before the engine's first use (else
    // the call fails and changes nothing).
    static std::once_flag noMemoryStatistics;
    std::call_once(noMemoryStatistics, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
    // Never SQLITE_OPEN_CREATE: the build supplies the file, the program only uses it.
    int flags =
        (mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    m_db.reset(db);
    if (rc != SQLITE_OK) {
        std::string reason = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        throw DbError(FillIn(WL_TR("StringsTable", "Cannot open the strings table %1: %2"), {path, reason}));
    }
    sqlite3_busy_handler(db, &SqliteBackend::OnBusy, this);
    m_readOnly = sqlite3_db_readonly(db, "main") == 1;
    try {
        LoadFields();
    } catch (const DbError&) {
        // The engine's own reason: the failure's text already names the table.
        throw DbError(FillIn(WL_TR("StringsTable", "Cannot open the strings table %1: %2"),
                             {path, sqlite3_errmsg(db)}));
    }
    if (m_fields.empty()) {
        throw DbError(FillIn(WL_TR("StringsTable", "The file %1 holds no strings table"), {path}));
    }
    LoadIndexes();
    LoadStorageRules();
    if (!m_readOnly) {
        // The journal mode is a property of the file (the shipped one is WAL already); a table
        // made by hand gets it on first use. Failing to switch only costs speed.
        sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    }
    sqlite3_exec(db, "PRAGMA cache_size=-32768", nullptr, nullptr, nullptr);
    // Reading through a memory map spares a system call and a copy per page: a grid that jumps
    // about a large table reads pages all over the file.
    sqlite3_exec(db, "PRAGMA mmap_size=268435456", nullptr, nullptr, nullptr);
}

SqliteBackend::~SqliteBackend() {
    m_statements.clear(); // statements before the connection
}

[[noreturn]] void SqliteBackend::Fail(const std::string& what) const {
    const int code = sqlite3_extended_errcode(m_db.get());
    if (IsTableFailure(code)) {
        FailTable(code, sqlite3_errmsg(m_db.get()));
    }
    throw DbError(what + ": " + sqlite3_errmsg(m_db.get()));
}

[[noreturn]] void SqliteBackend::FailTable(int code, const std::string& message) const {
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw TableError(FillIn(WL_TR("StringsTable", "The strings table %1 is in use by another program, "
                                                      "which kept it locked for more than %2 seconds (%3)"),
                                {m_path, std::to_string((m_busyTimeoutMs + 999) / 1000), message}));
    case SQLITE_READONLY:
    case SQLITE_PERM:
        throw TableError(
            FillIn(WL_TR("StringsTable", "The strings table %1 cannot be written (%2)"), {m_path, message}));
    default:
        throw TableError(
            FillIn(WL_TR("StringsTable", "The strings table %1 cannot be used (%2)"), {m_path, message}));
    }
}

void SqliteBackend::SetBusyTimeout(int timeoutMs) {
    m_busyTimeoutMs = timeoutMs;
}

void SqliteBackend::SetBusyNotice(std::function<void()> onWait) {
    m_onBusy = std::move(onWait);
}

int SqliteBackend::OnBusy(void* self, int count) {
    auto& backend = *static_cast<SqliteBackend*>(self);
    const auto now = std::chrono::steady_clock::now();
    const auto stamp = std::make_pair(Stamp(backend.m_path), Stamp(backend.m_path + "-wal"));
    if (count == 0) {
        backend.m_busyStamp = stamp;
        backend.m_busyProgress = now;
        if (backend.m_onBusy) {
            try {
                backend.m_onBusy();
            } catch (...) { // nothing may be thrown through the engine
            }
        }
    } else if (backend.m_onBusy && stamp != backend.m_busyStamp) {
        // The holder committed something: where the user is told about the wait, a working
        // writer is waited for and only a stalled one ends the wait. Short polls, since a busy
        // writer leaves only brief gaps between its transactions.
        backend.m_busyStamp = stamp;
        backend.m_busyProgress = now;
    }
    if (now - backend.m_busyProgress >= std::chrono::milliseconds(backend.m_busyTimeoutMs)) {
        return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 1;
}

SqliteBackend::StmtPtr SqliteBackend::Prepare(const std::string& sql) const {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db.get(), sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) !=
        SQLITE_OK) {
        Fail(WL_TR("StringsTable", "Strings table query failed"));
    }
    return StmtPtr(stmt);
}

sqlite3_stmt* SqliteBackend::Cached(const std::string& sql) {
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        it = m_statements.emplace(sql, Prepare(sql)).first;
    }
    return it->second.get();
}

void SqliteBackend::Exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(m_db.get(), sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errmsg(m_db.get());
        sqlite3_free(message);
        const int code = sqlite3_extended_errcode(m_db.get());
        if (IsTableFailure(code)) {
            FailTable(code, text);
        }
        throw DbError(FillIn(WL_TR("StringsTable", "Strings table: %1"), {text}));
    }
}

void SqliteBackend::RequireWritable() const {
    if (m_readOnly) {
        throw TableError(FillIn(WL_TR("StringsTable", "The strings table %1 is read-only"), {m_path}));
    }
}

std::string SqliteBackend::OrderBy(const IndexDef& order) const {
    std::string sql = " ORDER BY ";
    for (const OrderPart& part : order.parts) {
        sql += Quote(m_fields.at(static_cast<std::size_t>(part.column)).name) + " COLLATE " +
               Quote(part.collation) + (part.descending ? " DESC, " : ", ");
    }
    return sql + "rowid";
}

std::string SqliteBackend::ColumnList() const {
    std::string sql;
    for (const FieldDef& field : m_fields) {
        sql += (sql.empty() ? "" : ", ") + Quote(field.name);
    }
    return sql;
}

std::vector<RowId> SqliteBackend::OrderedIds(const IndexDef& order) {
    StmtPtr stmt = Prepare("SELECT rowid FROM " + Quote(kTable) + OrderBy(order));
    std::vector<RowId> ids;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        ids.push_back(sqlite3_column_int64(stmt.get(), 0));
    }
    if (rc != SQLITE_DONE) {
        Fail(WL_TR("StringsTable", "Cannot read the strings table"));
    }
    return ids;
}

namespace {

/// The scan's current row, decoded column by column as the per-record test asks: a test that
/// reads one field of a million records should not pay for converting all of them.
class StatementRow : public RowView {
public:
    StatementRow(sqlite3_stmt* stmt, std::size_t columns, void (*read)(sqlite3_stmt*, int, Value&))
        : m_stmt(stmt), m_values(columns), m_loaded(columns), m_read(read) {}
    void Next() { std::fill(m_loaded.begin(), m_loaded.end(), false); }
    const Value& Column(std::size_t column) const override {
        if (!m_loaded[column]) {
            m_read(m_stmt, static_cast<int>(column) + 1, m_values[column]);
            m_loaded[column] = true;
        }
        return m_values[column];
    }
    RowId Id() const override { return sqlite3_column_int64(m_stmt, 0); }

private:
    sqlite3_stmt* m_stmt;
    mutable Row m_values;
    mutable std::vector<bool> m_loaded;
    void (*m_read)(sqlite3_stmt*, int, Value&);
};

} // namespace

void SqliteBackend::ScanFilter(const FilterSpec* filter, bool wantRows,
                               const std::function<void(RowId, const RowView*)>& visit) {
    std::string sql =
        "SELECT rowid" + (wantRows ? ", " + ColumnList() : std::string()) + " FROM " + Quote(kTable);
    if (filter) {
        sql += " WHERE " + Quote(m_fields.at(static_cast<std::size_t>(filter->column)).name) +
               " = ?1 COLLATE " + (filter->caseInsensitive ? "NOCASE" : "BINARY");
    }
    StmtPtr stmt = Prepare(sql);
    if (filter) {
        sqlite3_bind_text(stmt.get(), 1, filter->value.data(), static_cast<int>(filter->value.size()),
                          SQLITE_TRANSIENT);
    }
    StatementRow row(stmt.get(), m_fields.size(), &SqliteBackend::ReadColumn);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        row.Next();
        visit(sqlite3_column_int64(stmt.get(), 0), wantRows ? &row : nullptr);
    }
    if (rc != SQLITE_DONE) {
        Fail(WL_TR("StringsTable", "Cannot read the strings table"));
    }
}

void SqliteBackend::ScanColumns(const IndexDef& order, const std::vector<int>& columns,
                                const std::function<void(const RowView&)>& visit) {
    // The record id first, as in ScanFilter, so that the row view reads column i + 1.
    std::string sql = "SELECT rowid";
    for (const int column : columns) {
        sql += ", " + Quote(m_fields.at(static_cast<std::size_t>(column)).name);
    }
    sql += " FROM " + Quote(kTable) + OrderBy(order);
    StmtPtr stmt = Prepare(sql);
    StatementRow row(stmt.get(), columns.size(), &SqliteBackend::ReadColumn);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        row.Next();
        visit(row);
    }
    if (rc != SQLITE_DONE) {
        Fail(WL_TR("StringsTable", "Cannot read the strings table"));
    }
}

bool SqliteBackend::Matches(RowId id, const FilterSpec& filter) {
    sqlite3_stmt*& stmt = m_matchStmts[filter.column * 2 + (filter.caseInsensitive ? 1 : 0)];
    if (!stmt) {
        stmt = Cached("SELECT 1 FROM " + Quote(kTable) + " WHERE rowid = ?1 AND " +
                      Quote(m_fields.at(static_cast<std::size_t>(filter.column)).name) + " = ?2 COLLATE " +
                      (filter.caseInsensitive ? "NOCASE" : "BINARY"));
    }
    ResetGuard guard(stmt);
    sqlite3_bind_int64(stmt, 1, id);
    sqlite3_bind_text(stmt, 2, filter.value.data(), static_cast<int>(filter.value.size()), SQLITE_STATIC);
    int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        Fail(WL_TR("StringsTable", "Cannot read the strings table"));
    }
    return rc == SQLITE_ROW;
}

std::vector<RowId> SqliteBackend::FindKey(const IndexDef& order, const std::string& key) {
    sqlite3_stmt*& stmt = m_findKeyStmts[order.name];
    if (!stmt) {
        const OrderPart& first = order.parts.at(0);
        stmt = Cached("SELECT rowid FROM " + Quote(kTable) + " WHERE " +
                      Quote(m_fields.at(static_cast<std::size_t>(first.column)).name) + " = ?1 COLLATE " +
                      Quote(first.collation) + OrderBy(order));
    }
    ResetGuard guard(stmt);
    sqlite3_bind_text(stmt, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
    std::vector<RowId> ids;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ids.push_back(sqlite3_column_int64(stmt, 0));
    }
    if (rc != SQLITE_DONE) {
        Fail(WL_TR("StringsTable", "Key search failed"));
    }
    return ids;
}

int SqliteBackend::Compare(const Value& a, const Value& b, const std::string& collation) const {
    // The order SQLite sorts by: NULL, numbers, texts (by collation), blobs.
    int rankA = TypeRank(a);
    int rankB = TypeRank(b);
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
    if (SameName(collation, "NOCASE")) {
        return CompareBytes(a.text, b.text, true);
    }
    if (SameName(collation, "RTRIM")) {
        auto trimmed = [](const std::string& s) { return s.substr(0, s.find_last_not_of(' ') + 1); };
        return CompareBytes(trimmed(a.text), trimmed(b.text), false);
    }
    return CompareBytes(a.text, b.text, false);
}

std::string SqliteBackend::CollationKey(const std::string& text, const std::string& collation) const {
    // The same rules as Compare: NOCASE folds ASCII letters only, RTRIM ignores trailing blanks.
    if (SameName(collation, "NOCASE")) {
        std::string key = text;
        for (char& c : key) {
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        }
        return key;
    }
    if (SameName(collation, "RTRIM")) {
        return text.substr(0, text.find_last_not_of(' ') + 1);
    }
    return text;
}

RowId SqliteBackend::MaxId() {
    if (!m_maxIdStmt) {
        m_maxIdStmt = Cached("SELECT max(rowid) FROM " + Quote(kTable));
    }
    sqlite3_stmt* stmt = m_maxIdStmt;
    ResetGuard guard(stmt);
    if (sqlite3_step(stmt) != SQLITE_ROW) {
        Fail(WL_TR("StringsTable", "Cannot read the strings table"));
    }
    return sqlite3_column_int64(stmt, 0);
}

bool SqliteBackend::Empty() {
    if (!m_emptyStmt) {
        m_emptyStmt = Cached("SELECT 1 FROM " + Quote(kTable) + " LIMIT 1");
    }
    sqlite3_stmt* stmt = m_emptyStmt;
    ResetGuard guard(stmt);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        Fail("Cannot read the strings table");
    }
    return rc == SQLITE_DONE;
}

long long SqliteBackend::ForeignChanges() {
    if (!m_dataVersionStmt) {
        m_dataVersionStmt = Cached("PRAGMA data_version");
    }
    sqlite3_stmt* stmt = m_dataVersionStmt;
    ResetGuard guard(stmt);
    if (sqlite3_step(stmt) != SQLITE_ROW) {
        Fail("Cannot read the strings table");
    }
    return sqlite3_column_int64(stmt, 0);
}

long long SqliteBackend::OwnChanges() {
    return sqlite3_total_changes64(m_db.get());
}

void SqliteBackend::ReadColumn(sqlite3_stmt* stmt, int column, Value& value) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        value.type = Value::Type::Null;
        break;
    case SQLITE_INTEGER:
        value.type = Value::Type::Integer;
        value.integer = sqlite3_column_int64(stmt, column);
        break;
    case SQLITE_FLOAT:
        value.type = Value::Type::Real;
        value.real = sqlite3_column_double(stmt, column);
        break;
    default: {
        // Assign in place: the string keeps its buffer from row to row.
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, column));
        value.type = Value::Type::Text;
        value.text.assign(bytes ? bytes : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
        break;
    }
    }
}

void SqliteBackend::ReadColumns(sqlite3_stmt* stmt, int first, Row& row) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        ReadColumn(stmt, first + static_cast<int>(i), row[i]);
    }
}

void SqliteBackend::Bind(sqlite3_stmt* stmt, int index, const Value& value) {
    switch (value.type) {
    case Value::Type::Null:
        sqlite3_bind_null(stmt, index);
        break;
    case Value::Type::Integer:
        sqlite3_bind_int64(stmt, index, value.integer);
        break;
    case Value::Type::Real:
        sqlite3_bind_double(stmt, index, value.real);
        break;
    case Value::Type::Text:
        // The statement is reset and unbound before the caller's value goes away.
        sqlite3_bind_text(stmt, index, value.text.data(), static_cast<int>(value.text.size()), SQLITE_STATIC);
        break;
    }
}

bool SqliteBackend::ReadById(sqlite3_stmt* stmt, RowId id, Row& row) {
    ResetGuard guard(stmt);
    sqlite3_bind_int64(stmt, 1, id);
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) {
        return false;
    }
    if (rc != SQLITE_ROW) {
        Fail(WL_TR("StringsTable", "Cannot read the strings table"));
    }
    row.resize(static_cast<std::size_t>(sqlite3_column_count(stmt)));
    ReadColumns(stmt, 0, row);
    return true;
}

bool SqliteBackend::ReadRow(RowId id, Row& row) {
    if (!m_readRowStmt) {
        m_readRowStmt = Cached("SELECT " + ColumnList() + " FROM " + Quote(kTable) + " WHERE rowid = ?1");
    }
    return ReadById(m_readRowStmt, id, row);
}

bool SqliteBackend::ReadKey(RowId id, const IndexDef& order, Row& key) {
    sqlite3_stmt*& stmt = m_readKeyStmts[order.name];
    if (!stmt) {
        std::string columns;
        for (const OrderPart& part : order.parts) {
            columns += (columns.empty() ? "" : ", ") +
                       Quote(m_fields.at(static_cast<std::size_t>(part.column)).name);
        }
        if (columns.empty()) {
            columns = "rowid";
        }
        stmt = Cached("SELECT " + columns + " FROM " + Quote(kTable) + " WHERE rowid = ?1");
    }
    return ReadById(stmt, id, key);
}

Row SqliteBackend::DefaultRow() {
    Row row(m_fields.size());
    if (!m_hasDefaults) {
        return row;
    }
    // Evaluated for every new record, as the engine would (a default may be CURRENT_TIMESTAMP).
    std::string sql;
    for (const std::string& expression : m_defaults) {
        sql += (sql.empty() ? "SELECT " : ", ") + (expression.empty() ? std::string("NULL") : expression);
    }
    sqlite3_stmt* stmt = Cached(sql);
    ResetGuard guard(stmt);
    if (sqlite3_step(stmt) != SQLITE_ROW) {
        Fail(WL_TR("StringsTable", "Cannot read the column defaults"));
    }
    ReadColumns(stmt, 0, row);
    return row;
}

RowId SqliteBackend::InsertRow(const Row& row) {
    RequireWritable();
    if (!m_insertStmt) {
        std::string values;
        for (std::size_t i = 1; i <= m_fields.size(); ++i) {
            values += (i == 1 ? "?" : ", ?") + std::to_string(i);
        }
        m_insertStmt =
            Cached("INSERT INTO " + Quote(kTable) + " (" + ColumnList() + ") VALUES (" + values + ")");
    }
    sqlite3_stmt* stmt = m_insertStmt;
    ResetGuard guard(stmt);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        Bind(stmt, static_cast<int>(i + 1), row.at(i));
    }
    if (sqlite3_step(stmt) != SQLITE_DONE) {
        Fail(WL_TR("StringsTable", "Cannot store the record"));
    }
    return sqlite3_last_insert_rowid(m_db.get());
}

void SqliteBackend::UpdateRow(RowId id, const Row& row) {
    RequireWritable();
    int idParam = static_cast<int>(m_fields.size()) + 1;
    if (!m_updateStmt) {
        std::string sets;
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            sets += (i == 0 ? "" : ", ") + Quote(m_fields[i].name) + " = ?" + std::to_string(i + 1);
        }
        m_updateStmt =
            Cached("UPDATE " + Quote(kTable) + " SET " + sets + " WHERE rowid = ?" + std::to_string(idParam));
    }
    sqlite3_stmt* stmt = m_updateStmt;
    ResetGuard guard(stmt);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        Bind(stmt, static_cast<int>(i + 1), row.at(i));
    }
    sqlite3_bind_int64(stmt, idParam, id);
    if (sqlite3_step(stmt) != SQLITE_DONE) {
        Fail(WL_TR("StringsTable", "Cannot store the record"));
    }
    if (sqlite3_changes(m_db.get()) == 0) {
        throw DbError(WL_TR("StringsTable", "Cannot store the record: it was deleted meanwhile"));
    }
}

namespace {

// From this many keyed writes on, the page cache is made room for (256 MB at most).
constexpr std::size_t kLargeKeyedWrite = 20'000;

} // namespace

StringsTable::KeyedWriteResult
SqliteBackend::WriteByKey(const IndexDef& order, int column,
                          const std::vector<StringsTable::KeyedWrite>& writes) {
    RequireWritable();
    const OrderPart& key = order.parts.at(0);
    const std::string keyName = Quote(m_fields.at(static_cast<std::size_t>(key.column)).name);
    const std::string name = Quote(m_fields.at(static_cast<std::size_t>(column)).name);
    // The order's collation lets the search use its index, the binary one picks the exact text;
    // among equal keys the order puts the lowest record id first.
    sqlite3_stmt* find =
        Cached("SELECT min(rowid) FROM " + Quote(kTable) + " WHERE " + keyName + " = ?1 COLLATE " +
               Quote(key.collation) + " AND " + keyName + " = ?1 COLLATE BINARY");
    sqlite3_stmt* update =
        Cached("UPDATE " + Quote(kTable) + " SET " + name + " = ?2 WHERE rowid = ?1 AND coalesce(" + name +
               ", '') = ?3 COLLATE BINARY");
    // A named record is written while it stands as the caller read it; only otherwise is its key
    // searched (which then also tells a missing record from a changed one).
    sqlite3_stmt* named =
        Cached("UPDATE " + Quote(kTable) + " SET " + name + " = ?2 WHERE rowid = ?1 AND coalesce(" + name +
               ", '') = ?3 COLLATE BINARY AND " + keyName + " = ?4 COLLATE BINARY");
    const auto bindWrite = [](sqlite3_stmt* stmt, RowId id, const StringsTable::KeyedWrite& write) {
        sqlite3_bind_int64(stmt, 1, id);
        if (write.value.empty()) {
            sqlite3_bind_null(stmt, 2);
        } else {
            sqlite3_bind_text(stmt, 2, write.value.data(), static_cast<int>(write.value.size()),
                              SQLITE_STATIC);
        }
        sqlite3_bind_text(stmt, 3, write.expected.data(), static_cast<int>(write.expected.size()),
                          SQLITE_STATIC);
    };
    // Many writes change the target's indexes all over: with the usual page cache, pages would be
    // spilled to the journal and changed again many times over. The cache only grows as used.
    struct CacheFor {
        sqlite3* db;
        int kept = 0;
        CacheFor(sqlite3* connection, std::size_t writes) : db(connection) {
            if (writes < kLargeKeyedWrite) {
                db = nullptr;
                return;
            }
            sqlite3_stmt* stmt = nullptr;
            if (sqlite3_prepare_v2(db, "PRAGMA cache_size", -1, &stmt, nullptr) == SQLITE_OK &&
                sqlite3_step(stmt) == SQLITE_ROW) {
                kept = sqlite3_column_int(stmt, 0);
            }
            sqlite3_finalize(stmt);
            if (kept == 0) {
                db = nullptr;
                return;
            }
            sqlite3_exec(db, "PRAGMA cache_size=-262144", nullptr, nullptr, nullptr);
        }
        ~CacheFor() {
            if (db != nullptr) {
                sqlite3_exec(db, ("PRAGMA cache_size=" + std::to_string(kept)).c_str(), nullptr, nullptr,
                             nullptr);
            }
        }
        CacheFor(const CacheFor&) = delete;
        CacheFor& operator=(const CacheFor&) = delete;
    } cache(m_db.get(), writes.size());
    StringsTable::KeyedWriteResult result;
    for (const StringsTable::KeyedWrite& write : writes) {
        if (write.key.empty()) {
            result.missing = true; // a record without text is found by no key
            return result;
        }
        if (write.record != 0) {
            ResetGuard guard(named);
            bindWrite(named, write.record, write);
            sqlite3_bind_text(named, 4, write.key.data(), static_cast<int>(write.key.size()), SQLITE_STATIC);
            if (sqlite3_step(named) != SQLITE_DONE) {
                Fail(WL_TR("StringsTable", "Cannot store the record"));
            }
            if (sqlite3_changes(m_db.get()) == 1) {
                ++result.done;
                continue;
            }
        }
        RowId id = 0;
        {
            ResetGuard guard(find);
            sqlite3_bind_text(find, 1, write.key.data(), static_cast<int>(write.key.size()), SQLITE_STATIC);
            if (sqlite3_step(find) != SQLITE_ROW) {
                Fail(WL_TR("StringsTable", "Key search failed"));
            }
            if (sqlite3_column_type(find, 0) == SQLITE_NULL) {
                result.missing = true;
                return result;
            }
            id = sqlite3_column_int64(find, 0);
        }
        ResetGuard guard(update);
        bindWrite(update, id, write);
        if (sqlite3_step(update) != SQLITE_DONE) {
            Fail(WL_TR("StringsTable", "Cannot store the record"));
        }
        if (sqlite3_changes(m_db.get()) == 0) {
            return result;
        }
        ++result.done;
    }
    return result;
}

void SqliteBackend::DeleteRow(RowId id) {
    RequireWritable();
    sqlite3_stmt* stmt = Cached("DELETE FROM " + Quote(kTable) + " WHERE rowid = ?1");
    ResetGuard guard(stmt);
    sqlite3_bind_int64(stmt, 1, id);
    if (sqlite3_step(stmt) != SQLITE_DONE) {
        Fail(WL_TR("StringsTable", "Cannot delete the record"));
    }
}

std::vector<RowId> SqliteBackend::DeleteEmpty(int column, const std::vector<RowId>& ids) {
    RequireWritable();
    std::vector<RowId> deleted;
    if (ids.empty()) {
        return deleted;
    }
    // The ids travel as one JSON array: a single statement however many records the view holds.
    std::string list = "[";
    for (RowId id : ids) {
        list += std::to_string(id);
        list += ',';
    }
    list.back() = ']';
    const std::string name = Quote(m_fields.at(static_cast<std::size_t>(column)).name);
    const bool own = !InTransaction();
    if (own) {
        Exec("BEGIN");
    }
    try {
        StmtPtr stmt = Prepare("DELETE FROM " + Quote(kTable) + " WHERE (" + name + " IS NULL OR " + name +
                               " = '') AND rowid IN (SELECT value FROM json_each(?1)) RETURNING rowid");
        sqlite3_bind_text(stmt.get(), 1, list.data(), static_cast<int>(list.size()), SQLITE_STATIC);
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            deleted.push_back(sqlite3_column_int64(stmt.get(), 0));
        }
        if (rc != SQLITE_DONE) {
            Fail(WL_TR("StringsTable", "Cannot delete the records"));
        }
        stmt.reset();
        if (own) {
            Exec("COMMIT");
        }
    } catch (...) {
        if (own) {
            Rollback();
        }
        throw;
    }
    return deleted;
}

void SqliteBackend::Begin() {
    if (InTransaction()) {
        throw DbError(WL_TR("StringsTable", "A transaction on the strings table is already open"));
    }
    // A writer takes the write lock up front: a deferred transaction that read first could only
    // fail (never wait) when another connection committed in between.
    Exec(m_readOnly ? "BEGIN" : "BEGIN IMMEDIATE");
}

void SqliteBackend::Commit() {
    if (!InTransaction()) {
        throw DbError(WL_TR("StringsTable", "No transaction on the strings table is open"));
    }
    Exec("COMMIT");
}

void SqliteBackend::Rollback() {
    if (InTransaction()) {
        Exec("ROLLBACK");
    }
}

bool SqliteBackend::InTransaction() const {
    return sqlite3_get_autocommit(m_db.get()) == 0;
}

} // namespace wordloom
