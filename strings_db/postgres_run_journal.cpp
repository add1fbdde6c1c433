// The journal of translation runs in a team table's database (tables run and run_file of
// data/strings.pg.sql), on a connection of its own as on SQLite.
#include "strings_db/postgres_backend.h"
#include "strings_db/run_journal.h"

#include <libpq-fe.h>

#include <cstdlib>
#include <ctime>
#include <type_traits>

namespace wordloom {

namespace {

std::string UtcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

std::string Text(const PGresult* result, int row, int column) {
    return std::string(PQgetvalue(result, row, column),
                       static_cast<std::size_t>(PQgetlength(result, row, column)));
}

} // namespace

class PostgresRunJournal : public RunJournal {
public:
    explicit PostgresRunJournal(const std::string& address) : m_backend(address, OpenMode::ReadWrite) {
        if (m_backend.ReadOnly()) {
            throw DbError("Cannot open the strings table " + ShownAddress(address) +
                          " for the run journal: it cannot be written");
        }
    }

    std::int64_t BeginRun(const std::string& project, const std::string& target,
                          const std::vector<RunFileRecord>& files) override {
        return InTransaction([&] {
            auto run =
                m_backend.Run("INSERT INTO run (project, target, started_at, state) VALUES ($1, $2, $3, $4) "
                              "RETURNING id",
                              {project, target, UtcNow(), run_state::kRunning}, kWhat);
            const std::string id = PQgetvalue(run.get(), 0, 0);
            for (const RunFileRecord& record : files) {
                m_backend.Run("INSERT INTO run_file (run_id, file, backup, sha256_before, sha256_after) "
                              "VALUES ($1, $2, $3, $4, $5)",
                              {id, record.file, record.backup, record.sha256Before, record.sha256After},
                              kWhat);
            }
            return static_cast<std::int64_t>(std::strtoll(id.c_str(), nullptr, 10));
        });
    }

    void SetState(std::int64_t run, const std::string& state) override {
        m_backend.Run("UPDATE run SET state = $1 WHERE id = $2", {state, std::to_string(run)}, kWhat);
    }

    std::vector<RunRecord> Runs(const std::string& project) override {
        auto result = m_backend.Run("SELECT id, project, target, started_at, state FROM run "
                                    "WHERE $1 = '' OR project = $1 ORDER BY id DESC",
                                    {project}, kWhat);
        std::vector<RunRecord> runs;
        for (int r = 0; r < PQntuples(result.get()); ++r) {
            runs.push_back({std::strtoll(PQgetvalue(result.get(), r, 0), nullptr, 10),
                            Text(result.get(), r, 1), Text(result.get(), r, 2), Text(result.get(), r, 3),
                            Text(result.get(), r, 4)});
        }
        return runs;
    }

    std::vector<RunFileRecord> Files(std::int64_t run) override {
        auto result = m_backend.Run("SELECT file, backup, sha256_before, sha256_after FROM run_file "
                                    "WHERE run_id = $1 ORDER BY id",
                                    {std::to_string(run)}, kWhat);
        std::vector<RunFileRecord> files;
        for (int r = 0; r < PQntuples(result.get()); ++r) {
            files.push_back({Text(result.get(), r, 0), Text(result.get(), r, 1), Text(result.get(), r, 2),
                             Text(result.get(), r, 3)});
        }
        return files;
    }

    void Remove(std::int64_t run) override {
        InTransaction([&] {
            m_backend.Run("DELETE FROM run_file WHERE run_id = $1", {std::to_string(run)}, kWhat);
            m_backend.Run("DELETE FROM run WHERE id = $1", {std::to_string(run)}, kWhat);
            return 0;
        });
    }

private:
    static inline const std::string kWhat = "Run journal";

    template <class Body>
    std::invoke_result_t<Body> InTransaction(Body body) {
        m_backend.Exec("BEGIN");
        try {
            auto result = body();
            m_backend.Exec("COMMIT");
            return result;
        } catch (...) {
            PQclear(PQexec(m_backend.Connection(), "ROLLBACK"));
            throw;
        }
    }

    PostgresBackend m_backend;
};

std::unique_ptr<RunJournal> OpenPostgresRunJournal(const std::string& address) {
    return std::make_unique<PostgresRunJournal>(address);
}

} // namespace wordloom
