// The strings table on an SQLite file: schema lookups, the ordered and filtered id scans, row
// reads and writes, transactions. The only file of the module that speaks SQL.
#pragma once

#include "strings_db/strings_backend.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace wordloom {

class SqliteBackend : public StringsTableBackend {
public:
    /// Opens an existing file (never creates one); throws DbError when it cannot be opened or
    /// holds no `strings` table.
    SqliteBackend(const std::string& path, OpenMode mode);
    ~SqliteBackend() override;

    const std::vector<FieldDef>& Fields() const override { return m_fields; }
    bool ReadOnly() const override { return m_readOnly; }

    IndexDef IndexByName(const std::string& name) const override;
    IndexDef IndexOnField(int column) const override;

    std::vector<RowId> OrderedIds(const IndexDef& order) override;
    void ScanFilter(const FilterSpec* filter, bool wantRows,
                    const std::function<void(RowId, const RowView*)>& visit) override;
    bool Matches(RowId id, const FilterSpec& filter) override;
    void ScanColumns(const IndexDef& order, const std::vector<int>& columns,
                     const std::function<void(const RowView&)>& visit) override;
    std::vector<RowId> FindKey(const IndexDef& order, const std::string& key) override;
    int Compare(const Value& a, const Value& b, const std::string& collation) const override;
    std::string CollationKey(const std::string& text, const std::string& collation) const override;
    RowId MaxId() override;
    bool Empty() override;
    long long ForeignChanges() override;
    long long OwnChanges() override;

    bool ReadRow(RowId id, Row& row) override;
    bool ReadKey(RowId id, const IndexDef& order, Row& key) override;
    Row DefaultRow() override;
    bool StoresAsGiven(const Row& row) const override;
    RowId InsertRow(const Row& row) override;
    void UpdateRow(RowId id, const Row& row) override;
    void DeleteRow(RowId id) override;
    std::vector<RowId> DeleteEmpty(int column, const std::vector<RowId>& ids) override;
    StringsTable::KeyedWriteResult WriteByKey(const IndexDef& order, int column,
                                              const std::vector<StringsTable::KeyedWrite>& writes) override;

    void Begin() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override;
    void SetBusyTimeout(int timeoutMs) override;
    void SetBusyNotice(std::function<void()> onWait) override;
    /// Defined in sqlite_side_store.cpp.
    SideStore& Side() override;

private:
    struct DbCloser {
        void operator()(sqlite3* db) const;
    };
    struct StmtFinalizer {
        void operator()(sqlite3_stmt* stmt) const;
    };
    using StmtPtr = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;
    struct SchemaIndex {
        IndexDef def;
        bool usable = true; // false for an index over an expression
    };

    StmtPtr Prepare(const std::string& sql) const;
    /// A prepared statement kept for the connection's life, reset and unbound.
    sqlite3_stmt* Cached(const std::string& sql);
    void Exec(const std::string& sql);
    /// Throws TableError for failures of the table as a whole, DbError for the rest.
    [[noreturn]] void Fail(const std::string& what) const;
    [[noreturn]] void FailTable(int code, const std::string& message) const;
    static int OnBusy(void* self, int count);
    void RequireWritable() const;
    void LoadFields();
    void LoadIndexes();
    void LoadStorageRules();
    std::string OrderBy(const IndexDef& order) const;
    std::string ColumnList() const;
    /// Runs a one-row statement with ?1 bound to `id` into `row`; false when there is no row.
    bool ReadById(sqlite3_stmt* stmt, RowId id, Row& row);
    static void ReadColumns(sqlite3_stmt* stmt, int first, Row& row);
    static void ReadColumn(sqlite3_stmt* stmt, int column, Value& value);
    static void Bind(sqlite3_stmt* stmt, int index, const Value& value);

    std::string m_path;
    std::unique_ptr<sqlite3, DbCloser> m_db;
    int m_busyTimeoutMs = kBusyTimeoutMs;
    std::function<void()> m_onBusy;
    using FileStamp = std::pair<std::uintmax_t, std::filesystem::file_time_type>;
    std::pair<FileStamp, FileStamp> m_busyStamp;
    std::chrono::steady_clock::time_point m_busyProgress;
    bool m_readOnly = false;
    std::vector<FieldDef> m_fields;
    std::vector<std::string> m_defaults; // column default expressions, empty for none
    /// Per column: a text, an integer is stored unchanged (by the declared type's affinity).
    std::vector<char> m_keepsText;
    std::vector<char> m_keepsInteger;
    bool m_hasDefaults = false;
    /// No key column, trigger or non-UTF-8 text encoding: what is bound is what is stored.
    bool m_plainStorage = false;
    std::vector<SchemaIndex> m_indexes;
    std::unordered_map<std::string, StmtPtr> m_statements;
    // The statements of the hot paths, found without building their SQL again: per index name
    // (key search, key read), per column and letter-case option (filter test), and the fixed ones.
    std::unordered_map<std::string, sqlite3_stmt*> m_findKeyStmts;
    std::unordered_map<std::string, sqlite3_stmt*> m_readKeyStmts;
    std::unordered_map<int, sqlite3_stmt*> m_matchStmts;
    sqlite3_stmt* m_readRowStmt = nullptr;
    sqlite3_stmt* m_insertStmt = nullptr;
    sqlite3_stmt* m_updateStmt = nullptr;
    sqlite3_stmt* m_maxIdStmt = nullptr;
    sqlite3_stmt* m_emptyStmt = nullptr;
    sqlite3_stmt* m_dataVersionStmt = nullptr;
    std::unique_ptr<SideStore> m_side; // last: its statements go before the connection
};

} // namespace wordloom
