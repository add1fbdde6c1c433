// The side tables on the SQLite connection of the strings table.
#include "strings_db/side_store.h"
#include "strings_db/sqlite_backend.h"
#include "strings_db/sqlite_shared.h"
#include "strings_db/unused_progress.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <memory>
#include <unordered_set>

namespace wordloom {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS occurrence(project TEXT NOT NULL, file TEXT NOT NULL, line INTEGER NOT NULL,
    path TEXT NOT NULL, property TEXT NOT NULL, lang TEXT NOT NULL, text TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS occurrence_file ON occurrence(project, file);
CREATE TABLE IF NOT EXISTS review(lang TEXT NOT NULL, text TEXT NOT NULL, target TEXT NOT NULL,
    state TEXT NOT NULL, note TEXT NOT NULL DEFAULT '', changed_at INTEGER NOT NULL,
    PRIMARY KEY(lang, text, target));
)sql";
// The quality checks' tables, apart from the others: a read-only table may have those without these.
constexpr const char* kQaSchema = R"sql(
CREATE TABLE IF NOT EXISTS qa_dismissal(lang TEXT NOT NULL, text TEXT NOT NULL, target TEXT NOT NULL,
    check_id TEXT NOT NULL, translation TEXT NOT NULL, changed_at INTEGER NOT NULL,
    PRIMARY KEY(lang, text, target, check_id));
CREATE TABLE IF NOT EXISTS qa_word(lang TEXT NOT NULL, word TEXT NOT NULL, PRIMARY KEY(lang, word));
)sql";
// Made on the first where-used lookup, not with the tables: kept up by every insert after that, it
// would more than double the time of a first collect into a fresh table, which builds it faster in
// one go afterwards.
constexpr const char* kTextIndex = "CREATE INDEX IF NOT EXISTS occurrence_text ON occurrence(lang, text)";

using sqlite_shared::Quote;

std::string_view ColumnText(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)))
                : std::string_view();
}

class SqliteSideStore : public SideStore {
public:
    SqliteSideStore(sqlite3* db, bool readOnly, const std::vector<FieldDef>& fields,
                    std::function<void(const std::string&)> fail)
        : m_db(db), m_readOnly(readOnly), m_fields(fields), m_fail(std::move(fail)) {
        sqlite3_rollback_hook(m_db, &SqliteSideStore::RolledBack, this);
    }
    ~SqliteSideStore() override {
        sqlite3_rollback_hook(m_db, nullptr, nullptr);
        for (auto& [sql, stmt] : m_statements) {
            sqlite3_finalize(stmt);
        }
    }
    SqliteSideStore(const SqliteSideStore&) = delete;
    SqliteSideStore& operator=(const SqliteSideStore&) = delete;

    void ReplaceFileOccurrences(const std::string& project, const std::string& file,
                                const std::vector<Occurrence>& rows) override {
        Write([&] {
            // A file of a project that had no rows, and not written since, has none to compare
            // or drop: the first collect of a project skips both per-file searches.
            const bool fresh = ProjectWithoutRows(project) && !m_filesWritten.contains(file);
            if (!fresh) {
                if (SameRows(project, file, rows)) {
                    return; // a file collected again unchanged: nothing to write
                }
                sqlite3_stmt* drop = Statement("DELETE FROM occurrence WHERE project = ?1 AND file = ?2");
                BindText(drop, 1, project);
                BindText(drop, 2, file);
                Run(drop);
            }
            if (rows.empty()) {
                return;
            }
            if (fresh) {
                m_filesWritten.insert(file); // before the inserts: a failure among them leaves rows
            }
            sqlite3_stmt* insert =
                Statement("INSERT INTO occurrence(project, file, line, path, property, lang, "
                          "text) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
            // A reset keeps the bindings: the file's own two are bound once.
            BindText(insert, 1, project);
            BindText(insert, 2, file);
            for (const Occurrence& row : rows) {
                sqlite3_bind_int(insert, 3, row.line);
                BindText(insert, 4, row.path);
                BindText(insert, 5, row.property);
                BindText(insert, 6, row.lang);
                BindText(insert, 7, row.text);
                Run(insert);
            }
        });
    }

    int DropFilesExcept(const std::string& project, const std::vector<std::string>& keep) override {
        const std::unordered_set<std::string> kept(keep.begin(), keep.end());
        int dropped = 0;
        for (const std::string& file : OccurrenceFiles(project)) {
            if (!kept.contains(file)) {
                ReplaceFileOccurrences(project, file, {});
                ++dropped;
            }
        }
        return dropped;
    }

    std::vector<Occurrence> Occurrences(const std::string& lang, const std::string& text) override {
        std::vector<Occurrence> rows;
        if (!Present()) {
            return rows;
        }
        if (!m_textIndex && !m_readOnly) {
            Transacted([&] { Exec(kTextIndex); });
            m_textIndex = true;
        }
        sqlite3_stmt* stmt =
            Statement("SELECT project, file, line, path, property, lang, text FROM occurrence "
                      "WHERE lang = ?1 AND text = ?2 ORDER BY project, file, line, rowid");
        BindText(stmt, 1, lang);
        BindText(stmt, 2, text);
        ReadOccurrences(stmt, rows);
        return rows;
    }

    void ScanOccurrences(const std::string& lang,
                         const std::function<void(const Occurrence&)>& visit) override {
        if (!Present()) {
            return;
        }
        sqlite3_stmt* stmt =
            Statement("SELECT project, file, line, path, property, lang, text FROM occurrence "
                      "WHERE lang = ?1 ORDER BY project, file, line, rowid");
        BindText(stmt, 1, lang);
        Occurrence row;
        Each(stmt, [&] {
            row.project = ColumnText(stmt, 0);
            row.file = ColumnText(stmt, 1);
            row.line = sqlite3_column_int(stmt, 2);
            row.path = ColumnText(stmt, 3);
            row.property = ColumnText(stmt, 4);
            row.lang = ColumnText(stmt, 5);
            row.text = ColumnText(stmt, 6);
            visit(row);
        });
    }

    std::vector<std::string> OccurrenceFiles(const std::string& project) override {
        std::vector<std::string> files;
        if (!Present()) {
            return files;
        }
        sqlite3_stmt* stmt =
            Statement("SELECT DISTINCT file FROM occurrence WHERE project = ?1 ORDER BY file");
        BindText(stmt, 1, project);
        Each(stmt, [&] { files.emplace_back(ColumnText(stmt, 0)); });
        return files;
    }

    std::vector<Occurrence> FileOccurrences(const std::string& project, const std::string& file) override {
        std::vector<Occurrence> rows;
        if (!Present()) {
            return rows;
        }
        sqlite3_stmt* stmt =
            Statement("SELECT project, file, line, path, property, lang, text FROM occurrence "
                      "WHERE project = ?1 AND file = ?2 ORDER BY line, rowid");
        BindText(stmt, 1, project);
        BindText(stmt, 2, file);
        ReadOccurrences(stmt, rows);
        return rows;
    }

    std::vector<std::string> UnusedTexts(const std::string& project, const std::string& lang) override {
        std::vector<std::string> unused;
        if (!Present()) {
            return unused;
        }
        std::unordered_set<std::string> used;
        bool collected = false;
        sqlite3_stmt* stmt = Statement("SELECT lang, text FROM occurrence WHERE project = ?1");
        BindText(stmt, 1, project);
        Each(stmt, [&] {
            collected = true;
            if (ColumnText(stmt, 0) == lang) {
                used.emplace(ColumnText(stmt, 1));
            }
        });
        if (!collected) {
            return unused;
        }
        std::unordered_set<std::string> seen;
        ScanRecords({ProjectField(), lang}, [&](const std::vector<std::string_view>& values) {
            if (!values[1].empty() && ListsProject(values[0], project) &&
                !used.contains(std::string(values[1])) && seen.emplace(values[1]).second) {
                unused.emplace_back(values[1]);
            }
        });
        std::sort(unused.begin(), unused.end());
        return unused;
    }

    std::vector<std::string> DeleteUnused(const std::string& project, const std::string& lang,
                                          CommandHost* host) override {
        std::vector<std::string> texts = UnusedTexts(project, lang);
        if (texts.empty()) {
            return texts;
        }
        const std::string projectField = Quote(ProjectField());
        const std::string langField = Quote(lang);
        UnusedProgress progress(host, texts.size());
        Write([&] {
            sqlite3_stmt* find =
                Statement("SELECT rowid, " + projectField + " FROM strings WHERE " + langField + " = ?1");
            sqlite3_stmt* drop = Statement("DELETE FROM strings WHERE rowid = ?1");
            sqlite3_stmt* keep = Statement("UPDATE strings SET " + projectField + " = ?2 WHERE rowid = ?1");
            sqlite3_stmt* dropReviews = Statement("DELETE FROM review WHERE lang = ?1 AND text = ?2");
            progress.Restart();
            for (const std::string& text : texts) {
                if (progress.Stop(text)) {
                    break;
                }
                std::vector<std::pair<sqlite3_int64, std::string>> records;
                BindText(find, 1, text);
                Each(find, [&] { records.emplace_back(sqlite3_column_int64(find, 0), ColumnText(find, 1)); });
                bool remains = false;
                for (const auto& [id, projects] : records) {
                    if (!ListsProject(projects, project)) {
                        remains = true; // another project's record with the same text
                        continue;
                    }
                    const std::string rest = WithoutProject(projects, project);
                    sqlite3_stmt* stmt = rest.empty() ? drop : keep;
                    sqlite3_bind_int64(stmt, 1, id);
                    if (!rest.empty()) {
                        BindText(stmt, 2, rest);
                        remains = true;
                    }
                    Run(stmt);
                }
                if (!remains) {
                    BindText(dropReviews, 1, lang);
                    BindText(dropReviews, 2, text);
                    Run(dropReviews);
                }
            }
        });
        texts.resize(progress.Done());
        return texts;
    }

    std::optional<ReviewEntry> Review(const std::string& lang, const std::string& text,
                                      const std::string& target) override {
        if (!Present()) {
            return std::nullopt;
        }
        sqlite3_stmt* stmt =
            Statement("SELECT state, note, changed_at FROM review WHERE lang = ?1 AND text = ?2 "
                      "AND target = ?3");
        BindText(stmt, 1, lang);
        BindText(stmt, 2, text);
        BindText(stmt, 3, target);
        std::optional<ReviewEntry> entry;
        Each(stmt, [&] {
            // A state this version does not know (a newer one wrote it) reads as needing a look.
            entry = ReviewEntry{lang,
                                text,
                                target,
                                ParseReviewState(ColumnText(stmt, 0)).value_or(ReviewState::Suggested),
                                std::string(ColumnText(stmt, 1)),
                                sqlite3_column_int64(stmt, 2)};
        });
        return entry;
    }

    void SetReview(const ReviewEntry& entry) override {
        Write([&] {
            sqlite3_stmt* stmt = Statement("INSERT OR REPLACE INTO review(lang, text, target, state, note, "
                                           "changed_at) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
            BindText(stmt, 1, entry.lang);
            BindText(stmt, 2, entry.text);
            BindText(stmt, 3, entry.target);
            const std::string state(ReviewStateName(entry.state));
            BindText(stmt, 4, state);
            BindText(stmt, 5, entry.note);
            sqlite3_bind_int64(stmt, 6, entry.changedAt != 0 ? entry.changedAt : std::time(nullptr));
            Run(stmt);
        });
    }

    void ClearReview(const std::string& lang, const std::string& text, const std::string& target) override {
        Write([&] {
            sqlite3_stmt* stmt =
                Statement("DELETE FROM review WHERE lang = ?1 AND text = ?2 AND target = ?3");
            BindText(stmt, 1, lang);
            BindText(stmt, 2, text);
            BindText(stmt, 3, target);
            Run(stmt);
        });
    }

    void ScanReviews(const std::string& lang, const std::string& target,
                     const std::function<void(const ReviewEntry&)>& visit) override {
        if (!Present()) {
            return;
        }
        sqlite3_stmt* stmt =
            Statement("SELECT text, state, note, changed_at FROM review WHERE lang = ?1 AND target = ?2");
        BindText(stmt, 1, lang);
        BindText(stmt, 2, target);
        ReviewEntry entry{lang, {}, target, ReviewState::New, {}, 0};
        Each(stmt, [&] {
            entry.text = ColumnText(stmt, 0);
            entry.state = ParseReviewState(ColumnText(stmt, 1)).value_or(ReviewState::Suggested);
            entry.note = ColumnText(stmt, 2);
            entry.changedAt = sqlite3_column_int64(stmt, 3);
            visit(entry);
        });
    }

    void ScanDismissals(const std::string& lang, const std::string& target,
                        const std::function<void(const QaDismissal&)>& visit) override {
        if (!QaPresent()) {
            return;
        }
        sqlite3_stmt* stmt = Statement("SELECT text, check_id, translation, changed_at FROM qa_dismissal "
                                       "WHERE lang = ?1 AND target = ?2");
        BindText(stmt, 1, lang);
        BindText(stmt, 2, target);
        QaDismissal row{lang, {}, target, {}, {}, 0};
        Each(stmt, [&] {
            row.text = ColumnText(stmt, 0);
            row.check = ColumnText(stmt, 1);
            row.translation = ColumnText(stmt, 2);
            row.changedAt = sqlite3_column_int64(stmt, 3);
            visit(row);
        });
    }

    void SetDismissal(const QaDismissal& dismissal) override {
        QaWrite([&] {
            sqlite3_stmt* stmt =
                Statement("INSERT OR REPLACE INTO qa_dismissal(lang, text, target, check_id, translation, "
                          "changed_at) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
            BindText(stmt, 1, dismissal.lang);
            BindText(stmt, 2, dismissal.text);
            BindText(stmt, 3, dismissal.target);
            BindText(stmt, 4, dismissal.check);
            BindText(stmt, 5, dismissal.translation);
            sqlite3_bind_int64(stmt, 6, dismissal.changedAt != 0 ? dismissal.changedAt : std::time(nullptr));
            Run(stmt);
        });
    }

    void ClearDismissal(const std::string& lang, const std::string& text, const std::string& target,
                        const std::string& check) override {
        QaWrite([&] {
            sqlite3_stmt* stmt = Statement("DELETE FROM qa_dismissal WHERE lang = ?1 AND text = ?2 AND "
                                           "target = ?3 AND check_id = ?4");
            BindText(stmt, 1, lang);
            BindText(stmt, 2, text);
            BindText(stmt, 3, target);
            BindText(stmt, 4, check);
            Run(stmt);
        });
    }

    std::vector<std::string> UserWords(const std::string& lang) override {
        std::vector<std::string> words;
        if (!QaPresent()) {
            return words;
        }
        sqlite3_stmt* stmt = Statement("SELECT word FROM qa_word WHERE lang = ?1 ORDER BY word");
        BindText(stmt, 1, lang);
        Each(stmt, [&] { words.emplace_back(ColumnText(stmt, 0)); });
        return words;
    }

    void AddUserWord(const std::string& lang, const std::string& word) override {
        QaWrite([&] {
            sqlite3_stmt* stmt = Statement("INSERT OR IGNORE INTO qa_word(lang, word) VALUES (?1, ?2)");
            BindText(stmt, 1, lang);
            BindText(stmt, 2, word);
            Run(stmt);
        });
    }

    void RemoveUserWord(const std::string& lang, const std::string& word) override {
        QaWrite([&] {
            sqlite3_stmt* stmt = Statement("DELETE FROM qa_word WHERE lang = ?1 AND word = ?2");
            BindText(stmt, 1, lang);
            BindText(stmt, 2, word);
            Run(stmt);
        });
    }

    void ScanRecords(const std::vector<std::string>& fields,
                     const std::function<void(const std::vector<std::string_view>&)>& visit) override {
        std::string sql = "SELECT ";
        for (std::size_t i = 0; i < fields.size(); ++i) {
            sql += (i ? ", " : "") + Quote(CheckedField(fields[i]));
        }
        sql += " FROM strings ORDER BY rowid";
        sqlite3_stmt* stmt = Statement(sql);
        std::vector<std::string_view> values(fields.size());
        Each(stmt, [&] {
            for (std::size_t i = 0; i < fields.size(); ++i) {
                values[i] = ColumnText(stmt, static_cast<int>(i));
            }
            visit(values);
        });
    }

    int SetFieldByKey(const std::string& keyField, const std::string& key, const std::string& field,
                      const std::string& value) override {
        int changed = 0;
        const std::string sql = "UPDATE strings SET " + Quote(CheckedField(field)) + " = ?2 WHERE " +
                                Quote(CheckedField(keyField)) + " = ?1";
        Write([&] {
            sqlite3_stmt* stmt = Statement(sql);
            BindText(stmt, 1, key);
            if (value.empty()) {
                sqlite3_bind_null(stmt, 2);
            } else {
                BindText(stmt, 2, value);
            }
            Run(stmt);
            changed = sqlite3_changes(m_db);
        });
        return changed;
    }

    void ScanSideTable(const SideTableDef& table,
                       const std::function<void(const std::vector<std::string>&)>& visit) override {
        if (!TableExists(table.name)) {
            return;
        }
        sqlite3_stmt* stmt = Statement("SELECT " + ColumnList(table) + " FROM " +
                                       Quote(std::string(table.name)) + " ORDER BY rowid");
        std::vector<std::string> row(table.columns.size());
        Each(stmt, [&] {
            for (std::size_t i = 0; i < row.size(); ++i) {
                row[i] = ColumnText(stmt, static_cast<int>(i));
            }
            visit(row);
        });
    }

    void AppendSideRows(const SideTableDef& table,
                        const std::vector<std::vector<std::string>>& rows) override {
        if (m_readOnly) {
            m_fail("The side tables cannot be written: the strings table is open for reading only");
        }
        if (table.name.starts_with("qa_")) {
            QaPresent();
        } else if (table.name.starts_with("run")) {
            Transacted([&] { Exec(sqlite_shared::kRunJournalSchema); });
        } else {
            Present();
        }
        std::string values;
        for (std::size_t i = 1; i <= table.columns.size(); ++i) {
            values += (i == 1 ? "?" : ", ?") + std::to_string(i);
        }
        Transacted([&] {
            sqlite3_stmt* insert = Statement("INSERT INTO " + Quote(std::string(table.name)) + "(" +
                                             ColumnList(table) + ") VALUES (" + values + ")");
            for (const std::vector<std::string>& row : rows) {
                for (std::size_t i = 0; i < row.size() && i < table.columns.size(); ++i) {
                    BindText(insert, static_cast<int>(i) + 1, row[i]);
                }
                Run(insert);
            }
        });
    }

    bool SideTableEmpty(const SideTableDef& table) override {
        if (!TableExists(table.name)) {
            return true;
        }
        bool empty = true;
        sqlite3_stmt* stmt = Statement("SELECT 1 FROM " + Quote(std::string(table.name)) + " LIMIT 1");
        Each(stmt, [&] { empty = false; });
        return empty;
    }

private:
    bool SameRows(const std::string& project, const std::string& file, const std::vector<Occurrence>& rows) {
        sqlite3_stmt* stmt =
            Statement("SELECT line, path, property, lang, text FROM occurrence WHERE project = ?1 "
                      "AND file = ?2 ORDER BY rowid");
        BindText(stmt, 1, project);
        BindText(stmt, 2, file);
        std::size_t i = 0;
        bool same = true;
        Each(stmt, [&] {
            if (!same) {
                return;
            }
            if (i == rows.size()) {
                same = false;
                return;
            }
            const Occurrence& row = rows[i++];
            same = sqlite3_column_int(stmt, 0) == row.line && ColumnText(stmt, 1) == row.path &&
                   ColumnText(stmt, 2) == row.property && ColumnText(stmt, 3) == row.lang &&
                   ColumnText(stmt, 4) == row.text;
        });
        return same && i == rows.size();
    }

    bool TableExists(std::string_view name) {
        sqlite3_stmt* stmt =
            Statement("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?1");
        const std::string table(name);
        BindText(stmt, 1, table);
        bool exists = false;
        Each(stmt, [&] { exists = sqlite3_column_int(stmt, 0) != 0; });
        return exists;
    }

    static std::string ColumnList(const SideTableDef& table) {
        std::string list;
        for (std::string_view column : table.columns) {
            list += (list.empty() ? "" : ", ") + Quote(std::string(column));
        }
        return list;
    }

    // Whether `project` had no occurrence rows when first asked, with no other connection having
    // written since. Only files this store then wrote to can have rows: a rollback of those
    // writes leaves them marked, which costs a search but never skips one that was needed.
    bool ProjectWithoutRows(const std::string& project) {
        if (project == m_rowsProject && !m_projectWithoutRows) {
            return false; // rows seen: the per-file searches are needed whatever happened since
        }
        sqlite3_stmt* version = Statement("PRAGMA data_version");
        long long current = -1;
        Each(version, [&] { current = sqlite3_column_int64(version, 0); });
        if (current != m_rowsVersion || project != m_rowsProject) {
            m_filesWritten.clear();
            m_rowsProject = project;
            m_rowsVersion = current;
            sqlite3_stmt* any = Statement("SELECT 1 FROM occurrence WHERE project = ?1 LIMIT 1");
            BindText(any, 1, project);
            bool found = false;
            Each(any, [&] { found = true; });
            m_projectWithoutRows = !found;
        }
        return m_projectWithoutRows;
    }

    // Tables made inside the table's transaction go again when it is rolled back: until a look
    // outside any transaction finds them committed, a rollback marks them as not made.
    struct Made {
        bool present = false;
        bool unsure = false;
    };

    static void RolledBack(void* store) {
        for (Made* made : {&static_cast<SqliteSideStore*>(store)->m_made,
                           &static_cast<SqliteSideStore*>(store)->m_qaMade}) {
            if (made->unsure) {
                *made = {};
            }
        }
    }

    // Whether the tables of `schema` (named in `names`) exist; creates them in a writable table.
    bool Ensure(Made& made, const char* schema, const char* names) {
        const bool outside = sqlite3_get_autocommit(m_db) != 0;
        if (made.present) {
            made.unsure = made.unsure && !outside;
            return true;
        }
        if (m_readOnly) {
            sqlite3_stmt* stmt = Statement(
                std::string("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ") + names);
            Each(stmt, [&] { made.present = sqlite3_column_int(stmt, 0) == 2; });
            return made.present;
        }
        Transacted([&] { Exec(schema); });
        made.present = true;
        made.unsure = !outside;
        return true;
    }

    bool Present() { return Ensure(m_made, kSchema, "('occurrence', 'review')"); }
    bool QaPresent() { return Ensure(m_qaMade, kQaSchema, "('qa_dismissal', 'qa_word')"); }

    template <class Body>
    void QaWrite(Body body) {
        if (m_readOnly) {
            m_fail("The side tables cannot be written: the strings table is open for reading only");
        }
        QaPresent();
        Transacted(body);
    }

    template <class Body>
    void Transacted(Body body) {
        if (sqlite3_get_autocommit(m_db) == 0) {
            body(); // inside the table's transaction
            return;
        }
        Exec("BEGIN IMMEDIATE");
        try {
            body();
            Exec("COMMIT");
        } catch (...) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }

    template <class Body>
    void Write(Body body) {
        if (m_readOnly) {
            m_fail("The side tables cannot be written: the strings table is open for reading only");
        }
        Present();
        Transacted(body);
    }

    void Exec(const char* sql) {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
            m_fail("Side tables");
        }
    }

    sqlite3_stmt* Statement(const std::string& sql) {
        auto found = m_statements.find(sql);
        if (found == m_statements.end()) {
            sqlite3_stmt* stmt = nullptr;
            if (sqlite3_prepare_v3(m_db, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                   &stmt, nullptr) != SQLITE_OK) {
                m_fail("Side tables");
            }
            found = m_statements.emplace(sql, stmt).first;
        }
        sqlite3_reset(found->second);
        sqlite3_clear_bindings(found->second);
        return found->second;
    }

    void BindText(sqlite3_stmt* stmt, int index, const std::string& text) {
        // Bound texts outlive the statement's run (Run and Each reset it).
        sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
    }

    void Run(sqlite3_stmt* stmt) {
        const int rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
        if (rc != SQLITE_DONE) {
            m_fail("Side tables");
        }
    }

    template <class Row>
    void Each(sqlite3_stmt* stmt, Row row) {
        // Reset however the loop ends (a visitor may throw to stop it): no read is left open.
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> reset(stmt, sqlite3_reset);
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            row();
        }
        if (rc != SQLITE_DONE) {
            m_fail("Side tables");
        }
    }

    void ReadOccurrences(sqlite3_stmt* stmt, std::vector<Occurrence>& rows) {
        Each(stmt, [&] {
            rows.push_back({std::string(ColumnText(stmt, 0)), std::string(ColumnText(stmt, 1)),
                            sqlite3_column_int(stmt, 2), std::string(ColumnText(stmt, 3)),
                            std::string(ColumnText(stmt, 4)), std::string(ColumnText(stmt, 5)),
                            std::string(ColumnText(stmt, 6))});
        });
    }

    const std::string& CheckedField(const std::string& name) const {
        const bool known = std::any_of(m_fields.begin(), m_fields.end(),
                                       [&name](const FieldDef& field) { return field.name == name; });
        if (!known) {
            throw DbError("Field '" + name + "' not found");
        }
        return name;
    }

    std::string ProjectField() const {
        constexpr std::string_view kProject = "project";
        for (const FieldDef& field : m_fields) {
            if (std::equal(field.name.begin(), field.name.end(), kProject.begin(), kProject.end(),
                           [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; })) {
                return field.name;
            }
        }
        throw DbError("Field 'Project' not found");
    }

    sqlite3* m_db;
    bool m_readOnly;
    const std::vector<FieldDef>& m_fields;
    std::function<void(const std::string&)> m_fail;
    Made m_made;
    Made m_qaMade;
    bool m_textIndex = false;
    std::unordered_map<std::string, sqlite3_stmt*> m_statements;
    // What ProjectWithoutRows found, for which project at which data version.
    std::string m_rowsProject;
    long long m_rowsVersion = -1;
    bool m_projectWithoutRows = false;
    std::unordered_set<std::string> m_filesWritten;
};

} // namespace

SideStore& SqliteBackend::Side() {
    if (!m_side) {
        m_side = std::make_unique<SqliteSideStore>(m_db.get(), m_readOnly, m_fields,
                                                   [this](const std::string& what) { Fail(what); });
    }
    return *m_side;
}

} // namespace wordloom
