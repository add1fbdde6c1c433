// The strings table on a PostgreSQL server (data/strings.pg.sql), for a team sharing one table.
// The only file of the module that speaks PostgreSQL's SQL.
//
// Concurrency: every record carries a `version` that each post raises. The backend remembers the
// version of each record as it last read it (ReadRow, which the cursor's edits start from); an
// update is made only while the record still has that version, so a post over someone else's newer
// one fails with TableError instead of overwriting it. A write transaction takes the table's write
// lock, as the SQLite table's does, so that a key searched for inside it stays absent until it
// commits: two collects at once file each text once.
//
// Live: a statement trigger NOTIFYs every committed change (added on open to a table made before
// it); the backend LISTENs on its connection and hands the notices and the connection's state to
// the window through TableNotifications.
#pragma once

#include "strings_db/strings_backend.h"
#include "strings_db/table_notifications.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct pg_conn;
struct pg_result;

namespace wordloom {

/// True for the addresses that name a PostgreSQL database (postgresql://, postgres://).
bool IsPostgresAddress(const std::string& location);

/// The address as it may be shown: a password in it is masked.
std::string ShownAddress(const std::string& address);

/// Creates the team table (data/strings.pg.sql) in the database at `address`, in one transaction.
/// Throws DbError when the database cannot be reached or already holds a strings table.
void CreatePostgresTable(const std::string& address);

class RunJournal;
/// The journal of translation runs in the team table's database (see run_journal.h).
std::unique_ptr<RunJournal> OpenPostgresRunJournal(const std::string& address);

class PostgresBackend : public StringsTableBackend, public TableNotifications {
public:
    /// Connects; throws DbError when the server cannot be reached, the address carries a password
    /// (those belong in ~/.pgpass or PGPASSWORD) or the database holds no team table.
    PostgresBackend(const std::string& address, OpenMode mode);
    ~PostgresBackend() override;

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

    bool ReadRow(RowId id, Row& row) override;
    bool ReadKey(RowId id, const IndexDef& order, Row& key) override;
    Row DefaultRow() override;
    bool StoresAsGiven(const Row& row) const override;
    RowId InsertRow(const Row& row) override;
    void UpdateRow(RowId id, const Row& row) override;
    void DeleteRow(RowId id) override;
    std::vector<RowId> DeleteEmpty(int column, const std::vector<RowId>& ids) override;

    void Begin() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override;
    void SetBusyTimeout(int timeoutMs) override;
    void SetBusyNotice(std::function<void()> onWait) override;

    /// Defined in postgres_side_store.cpp.
    SideStore& Side() override;

    TableNotifications* Notifications() override { return this; }
    int Socket() const override;
    int TakeNotices() override;
    bool Connected() const override;
    bool Reconnect() override;
    void SetLockWaitNotice(std::function<void()> onWait) override;

    /// The connection, for the side tables that share it.
    pg_conn* Connection() const { return m_conn; }

    struct Collator;

private:
    friend class PostgresSideStore;
    friend class PostgresRunJournal;
    struct ResultClear {
        void operator()(pg_result* result) const;
    };
    using Result = std::unique_ptr<pg_result, ResultClear>;
    enum class ColumnType { Text, Integer, Real, Other };
    struct SchemaIndex {
        IndexDef def;
        bool usable = true;
    };

    /// Runs `sql` (prepared once per connection) with text parameters; `what` heads the error.
    Result Run(const std::string& sql, const std::vector<std::string>& params, const std::string& what);
    /// A write: inside a transaction under a savepoint, so that a refused record leaves the
    /// transaction usable, as the SQLite table's does.
    Result Write(const std::string& sql, const std::vector<std::string>& params, const std::string& what);
    void Exec(const std::string& sql);
    /// What every new connection is set to: encoding, lock wait, read-only, listening.
    void ConfigureSession();
    /// Takes the table lock in the open transaction, telling the wait notices first when another
    /// writer holds it.
    void LockTable(const std::string& mode);
    /// Gives a table made before live updates its change trigger, where this user may.
    void AddNotifyTrigger();
    /// Counts the queued notices of other connections' changes to this table.
    int DrainNotices();
    [[noreturn]] void Fail(const pg_result* result, const std::string& what) const;
    void RequireWritable() const;
    void LoadFields();
    void LoadIndexes();
    const Collator* FindCollator(const std::string& collation) const;
    std::string OrderBy(const IndexDef& order) const;
    std::string ColumnList() const;
    std::string Column(int column) const;
    /// The text a parameter carries for `value` in `column` (nullopt for NULL).
    std::string ParamText(const Value& value) const;
    void ReadValue(const pg_result* result, int row, int column, ColumnType type, Value& value) const;
    bool ReadById(const std::string& sql, RowId id, Row& row, const std::vector<ColumnType>& types);

    std::string m_address;
    pg_conn* m_conn = nullptr;
    bool m_readOnly = false;
    bool m_hasChangeCounter = false;
    bool m_inTransaction = false; ///< Begin was called and neither Commit nor Rollback since
    bool m_lost = false;          ///< the server went away; until Reconnect succeeds
    std::string m_schema;         ///< the table's schema, which its change notices carry
    int m_busyTimeoutMs = kBusyTimeoutMs;
    std::function<void()> m_onBusy;
    std::function<void()> m_onLockWait;
    std::vector<FieldDef> m_fields;
    std::vector<ColumnType> m_types;
    std::vector<std::string> m_defaults;
    bool m_hasDefaults = false;
    bool m_plainStorage = true;
    std::vector<SchemaIndex> m_indexes;
    std::map<std::string, std::unique_ptr<Collator>, std::less<>> m_collators;
    std::unordered_map<std::string, std::string> m_prepared; // SQL -> statement name
    std::unordered_map<RowId, long long> m_versions;         // as last read on this connection
    std::unique_ptr<SideStore> m_side;
};

} // namespace wordloom
