#include "strings_db/postgres_backend.h"
#include "strings_db/run_journal.h"
#include "strings_db/sqlite_shared.h"
#include "strings_db/strings_table.h"

#include <sqlite3.h>

#include <ctime>

namespace wordloom {
namespace {

using sqlite_shared::kRunJournalSchema;

std::string UtcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

class Statement {
public:
    Statement(sqlite3* db, const char* sql) : m_db(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
            Fail();
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, const std::string& text) {
        sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Bind(int index, std::int64_t value) {
        sqlite3_bind_int64(m_statement, index, value);
        return *this;
    }
    /// True while a row is there.
    bool Step() {
        const int rc = sqlite3_step(m_statement);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            Fail();
        return false;
    }
    void Run() {
        Step();
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    std::string Text(int column) const {
        const auto* text = sqlite3_column_text(m_statement, column);
        return text ? reinterpret_cast<const char*>(text) : "";
    }
    std::int64_t Integer(int column) const { return sqlite3_column_int64(m_statement, column); }

private:
    [[noreturn]] void Fail() const { throw DbError(std::string("Run journal: ") + sqlite3_errmsg(m_db)); }

    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};

class SqliteRunJournal : public RunJournal {
public:
    explicit SqliteRunJournal(const std::string& path) {
        sqlite3* db = nullptr;
        const int rc =
            sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        m_db = db;
        if (rc != SQLITE_OK || sqlite3_db_readonly(db, "main") == 1) {
            const std::string reason = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
            sqlite3_close(db);
            throw DbError("Cannot open the strings table " + path + " for the run journal: " + reason);
        }
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        // The record of a run must be on disk before its first file is replaced.
        Exec("PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;");
        Exec(std::string("BEGIN IMMEDIATE;") + kRunJournalSchema + "COMMIT;");
    }
    ~SqliteRunJournal() override { sqlite3_close(m_db); }

    std::int64_t BeginRun(const std::string& project, const std::string& target,
                          const std::vector<RunFileRecord>& files) override {
        Exec("BEGIN IMMEDIATE");
        try {
            Statement run(m_db, "INSERT INTO run(project, target, started_at, state) VALUES (?, ?, ?, ?)");
            run.Bind(1, project)
                .Bind(2, target)
                .Bind(3, UtcNow())
                .Bind(4, std::string(run_state::kRunning))
                .Run();
            const std::int64_t id = sqlite3_last_insert_rowid(m_db);
            Statement file(m_db, "INSERT INTO run_file(run_id, file, backup, sha256_before, sha256_after) "
                                 "VALUES (?, ?, ?, ?, ?)");
            for (const RunFileRecord& record : files) {
                file.Bind(1, id)
                    .Bind(2, record.file)
                    .Bind(3, record.backup)
                    .Bind(4, record.sha256Before)
                    .Bind(5, record.sha256After)
                    .Run();
            }
            Exec("COMMIT");
            return id;
        } catch (...) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }

    void SetState(std::int64_t run, const std::string& state) override {
        Statement(m_db, "UPDATE run SET state = ? WHERE id = ?").Bind(1, state).Bind(2, run).Run();
    }

    std::vector<RunRecord> Runs(const std::string& project) override {
        Statement query(m_db, "SELECT id, project, target, started_at, state FROM run "
                              "WHERE ?1 = '' OR project = ?1 ORDER BY id DESC");
        query.Bind(1, project);
        std::vector<RunRecord> runs;
        while (query.Step())
            runs.push_back({query.Integer(0), query.Text(1), query.Text(2), query.Text(3), query.Text(4)});
        return runs;
    }

    std::vector<RunFileRecord> Files(std::int64_t run) override {
        Statement query(m_db, "SELECT file, backup, sha256_before, sha256_after FROM run_file "
                              "WHERE run_id = ? ORDER BY rowid");
        query.Bind(1, run);
        std::vector<RunFileRecord> files;
        while (query.Step())
            files.push_back({query.Text(0), query.Text(1), query.Text(2), query.Text(3)});
        return files;
    }

    void Remove(std::int64_t run) override {
        Exec("BEGIN IMMEDIATE");
        try {
            Statement(m_db, "DELETE FROM run_file WHERE run_id = ?").Bind(1, run).Run();
            Statement(m_db, "DELETE FROM run WHERE id = ?").Bind(1, run).Run();
            Exec("COMMIT");
        } catch (...) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }

private:
    void Exec(const std::string& sql) {
        char* message = nullptr;
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string reason = message ? message : sqlite3_errmsg(m_db);
            sqlite3_free(message);
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw DbError("Run journal: " + reason);
        }
    }

    sqlite3* m_db = nullptr;
};

} // namespace

std::unique_ptr<RunJournal> OpenSqliteRunJournal(const std::string& path) {
    if (IsPostgresAddress(path)) {
        return OpenPostgresRunJournal(path); // a team table keeps its journal beside it too
    }
    return std::make_unique<SqliteRunJournal>(path);
}

} // namespace wordloom
