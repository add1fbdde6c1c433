// The side tables (occurrence, review) of a team table, on the table's own connection so that
// their writes share its transactions. The same rules as on SQLite; texts are compared by code
// point (COLLATE "C") whatever the database's default collation.
#include "strings_db/postgres_backend.h"
#include "strings_db/quoted_name.h"
#include "strings_db/unused_progress.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <type_traits>
#include <unordered_set>

namespace wordloom {

namespace {

/// An array parameter: every element quoted, so that commas, braces and quotes are plain text; an
/// absent one is NULL.
template <class Element>
std::string ArrayLiteral(const std::vector<Element>& values) {
    std::string literal = "{";
    for (const Element& element : values) {
        if (literal.size() > 1) {
            literal += ',';
        }
        const std::string* value = nullptr;
        if constexpr (std::is_same_v<Element, std::string>) {
            value = &element;
        } else if (element) {
            value = &*element;
        }
        if (!value) {
            literal += "NULL";
            continue;
        }
        literal += '"';
        for (char c : *value) {
            if (c == '"' || c == '\\') {
                literal += '\\';
            }
            literal += c;
        }
        literal += '"';
    }
    return literal + "}";
}

std::string Text(const PGresult* result, int row, int column) {
    return std::string(PQgetvalue(result, row, column),
                       static_cast<std::size_t>(PQgetlength(result, row, column)));
}

// As in data/strings.pg.sql, for a team table made before the quality checks kept anything.
constexpr const char* kQaSchema =
    "CREATE TABLE IF NOT EXISTS qa_dismissal (lang text NOT NULL, text text NOT NULL, target text NOT NULL, "
    "check_id text NOT NULL, translation text NOT NULL, changed_at bigint NOT NULL, "
    "PRIMARY KEY (lang, text, target, check_id)); "
    "CREATE TABLE IF NOT EXISTS qa_word (lang text NOT NULL, word text NOT NULL, PRIMARY KEY (lang, word))";

constexpr const char* kOccurrenceColumns =
    "SELECT project, file, line, path, property, lang, text FROM occurrence ";

} // namespace

class PostgresSideStore : public SideStore {
public:
    explicit PostgresSideStore(PostgresBackend& backend) : m_backend(backend) {}

    void ReplaceFileOccurrences(const std::string& project, const std::string& file,
                                const std::vector<Occurrence>& rows) override {
        RequireWritable();
        if (SameRows(project, file, rows)) {
            return; // a file collected again unchanged: nothing to write
        }
        Transacted([&] {
            m_backend.Write("DELETE FROM occurrence WHERE project = $1 AND file = $2", {project, file},
                            kWhat);
            if (rows.empty()) {
                return;
            }
            // One statement for the whole file: its rows travel as arrays.
            std::vector<std::string> lines, paths, properties, langs, texts;
            for (const Occurrence& row : rows) {
                lines.push_back(std::to_string(row.line));
                paths.push_back(row.path);
                properties.push_back(row.property);
                langs.push_back(row.lang);
                texts.push_back(row.text);
            }
            m_backend.Write("INSERT INTO occurrence (project, file, line, path, property, lang, text) "
                            "SELECT $1, $2, r.line, r.path, r.property, r.lang, r.text FROM "
                            "unnest($3::int[], $4::text[], $5::text[], $6::text[], $7::text[]) "
                            "WITH ORDINALITY AS r(line, path, property, lang, text, n) ORDER BY r.n",
                            {project, file, ArrayLiteral(lines), ArrayLiteral(paths),
                             ArrayLiteral(properties), ArrayLiteral(langs), ArrayLiteral(texts)},
                            kWhat);
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
        return ReadOccurrences(
            std::string(kOccurrenceColumns) +
                "WHERE lang = $1 AND text = $2 ORDER BY project COLLATE \"C\", file COLLATE "
                "\"C\", line, id",
            {lang, text});
    }

    void ScanOccurrences(const std::string& lang,
                         const std::function<void(const Occurrence&)>& visit) override {
        for (const Occurrence& row : ReadOccurrences(
                 std::string(kOccurrenceColumns) +
                     "WHERE lang = $1 ORDER BY project COLLATE \"C\", file COLLATE \"C\", line, id",
                 {lang})) {
            visit(row);
        }
    }

    std::vector<std::string> OccurrenceFiles(const std::string& project) override {
        auto result =
            m_backend.Run("SELECT DISTINCT file COLLATE \"C\" FROM occurrence WHERE project = $1 ORDER BY 1",
                          {project}, kWhat);
        std::vector<std::string> files;
        for (int r = 0; r < PQntuples(result.get()); ++r) {
            files.push_back(Text(result.get(), r, 0));
        }
        return files;
    }

    std::vector<Occurrence> FileOccurrences(const std::string& project, const std::string& file) override {
        return ReadOccurrences(std::string(kOccurrenceColumns) +
                                   "WHERE project = $1 AND file = $2 ORDER BY line, id",
                               {project, file});
    }

    std::vector<std::string> UnusedTexts(const std::string& project, const std::string& lang) override {
        std::vector<std::string> unused;
        auto result = m_backend.Run("SELECT lang, text FROM occurrence WHERE project = $1", {project}, kWhat);
        if (PQntuples(result.get()) == 0) {
            return unused;
        }
        std::unordered_set<std::string> used;
        for (int r = 0; r < PQntuples(result.get()); ++r) {
            if (Text(result.get(), r, 0) == lang) {
                used.insert(Text(result.get(), r, 1));
            }
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
        RequireWritable();
        const std::string projectField = sql::Quote(ProjectField());
        const std::string langField = sql::Quote(CheckedField(lang));
        UnusedProgress progress(host, texts.size());
        Transacted([&] {
            progress.Restart();
            for (const std::string& text : texts) {
                if (progress.Stop(text)) {
                    break;
                }
                auto records = m_backend.Run("SELECT id, " + projectField + " FROM strings WHERE " +
                                                 langField + " COLLATE \"C\" = $1",
                                             {text}, kWhat);
                bool remains = false;
                for (int r = 0; r < PQntuples(records.get()); ++r) {
                    const std::string id = Text(records.get(), r, 0);
                    const std::string projects = Text(records.get(), r, 1);
                    if (!ListsProject(projects, project)) {
                        remains = true; // another project's record with the same text
                        continue;
                    }
                    const std::string rest = WithoutProject(projects, project);
                    if (rest.empty()) {
                        m_backend.Write("DELETE FROM strings WHERE id = $1", {id}, kWhat);
                    } else {
                        m_backend.Write("UPDATE strings SET " + projectField +
                                            " = $2, version = version + 1 WHERE id = $1",
                                        {id, rest}, kWhat);
                        remains = true;
                    }
                }
                if (!remains) {
                    m_backend.Write("DELETE FROM review WHERE lang = $1 AND text = $2", {lang, text}, kWhat);
                }
            }
        });
        texts.resize(progress.Done());
        return texts;
    }

    std::optional<ReviewEntry> Review(const std::string& lang, const std::string& text,
                                      const std::string& target) override {
        auto result =
            m_backend.Run("SELECT state, note, changed_at FROM review WHERE lang = $1 AND text = $2 AND "
                          "target = $3",
                          {lang, text, target}, kWhat);
        if (PQntuples(result.get()) == 0) {
            return std::nullopt;
        }
        // A state this version does not know (a newer one wrote it) reads as needing a look.
        return ReviewEntry{lang,
                           text,
                           target,
                           ParseReviewState(Text(result.get(), 0, 0)).value_or(ReviewState::Suggested),
                           Text(result.get(), 0, 1),
                           std::strtoll(PQgetvalue(result.get(), 0, 2), nullptr, 10)};
    }

    void SetReview(const ReviewEntry& entry) override {
        RequireWritable();
        m_backend.Write(
            "INSERT INTO review (lang, text, target, state, note, changed_at) VALUES ($1, $2, $3, $4, "
            "$5, $6) ON CONFLICT (lang, text, target) DO UPDATE SET state = EXCLUDED.state, note = "
            "EXCLUDED.note, changed_at = EXCLUDED.changed_at",
            {entry.lang, entry.text, entry.target, std::string(ReviewStateName(entry.state)), entry.note,
             std::to_string(entry.changedAt != 0 ? entry.changedAt
                                                 : static_cast<std::int64_t>(std::time(nullptr)))},
            kWhat);
    }

    void ClearReview(const std::string& lang, const std::string& text, const std::string& target) override {
        RequireWritable();
        m_backend.Write("DELETE FROM review WHERE lang = $1 AND text = $2 AND target = $3",
                        {lang, text, target}, kWhat);
    }

    void ScanReviews(const std::string& lang, const std::string& target,
                     const std::function<void(const ReviewEntry&)>& visit) override {
        auto result =
            m_backend.Run("SELECT text, state, note, changed_at FROM review WHERE lang = $1 AND target = $2",
                          {lang, target}, kWhat);
        ReviewEntry entry{lang, {}, target, ReviewState::New, {}, 0};
        for (int r = 0; r < PQntuples(result.get()); ++r) {
            entry.text = Text(result.get(), r, 0);
            entry.state = ParseReviewState(Text(result.get(), r, 1)).value_or(ReviewState::Suggested);
            entry.note = Text(result.get(), r, 2);
            entry.changedAt = std::strtoll(PQgetvalue(result.get(), r, 3), nullptr, 10);
            visit(entry);
        }
    }

    void ScanDismissals(const std::string& lang, const std::string& target,
                        const std::function<void(const QaDismissal&)>& visit) override {
        if (!QaPresent()) {
            return;
        }
        auto result = m_backend.Run("SELECT text, check_id, translation, changed_at FROM qa_dismissal "
                                    "WHERE lang = $1 AND target = $2",
                                    {lang, target}, kWhat);
        QaDismissal row{lang, {}, target, {}, {}, 0};
        for (int r = 0; r < PQntuples(result.get()); ++r) {
            row.text = Text(result.get(), r, 0);
            row.check = Text(result.get(), r, 1);
            row.translation = Text(result.get(), r, 2);
            row.changedAt = std::strtoll(PQgetvalue(result.get(), r, 3), nullptr, 10);
            visit(row);
        }
    }

    void SetDismissal(const QaDismissal& dismissal) override {
        QaWrite();
        m_backend.Write(
            "INSERT INTO qa_dismissal (lang, text, target, check_id, translation, changed_at) "
            "VALUES ($1, $2, $3, $4, $5, $6) ON CONFLICT (lang, text, target, check_id) DO UPDATE "
            "SET translation = EXCLUDED.translation, changed_at = EXCLUDED.changed_at",
            {dismissal.lang, dismissal.text, dismissal.target, dismissal.check, dismissal.translation,
             std::to_string(dismissal.changedAt != 0 ? dismissal.changedAt
                                                     : static_cast<std::int64_t>(std::time(nullptr)))},
            kWhat);
    }

    void ClearDismissal(const std::string& lang, const std::string& text, const std::string& target,
                        const std::string& check) override {
        QaWrite();
        m_backend.Write(
            "DELETE FROM qa_dismissal WHERE lang = $1 AND text = $2 AND target = $3 AND check_id = $4",
            {lang, text, target, check}, kWhat);
    }

    std::vector<std::string> UserWords(const std::string& lang) override {
        std::vector<std::string> words;
        if (!QaPresent()) {
            return words;
        }
        auto result = m_backend.Run("SELECT word FROM qa_word WHERE lang = $1 ORDER BY word COLLATE \"C\"",
                                    {lang}, kWhat);
        for (int r = 0; r < PQntuples(result.get()); ++r) {
            words.push_back(Text(result.get(), r, 0));
        }
        return words;
    }

    void AddUserWord(const std::string& lang, const std::string& word) override {
        QaWrite();
        m_backend.Write("INSERT INTO qa_word (lang, word) VALUES ($1, $2) ON CONFLICT DO NOTHING",
                        {lang, word}, kWhat);
    }

    void RemoveUserWord(const std::string& lang, const std::string& word) override {
        QaWrite();
        m_backend.Write("DELETE FROM qa_word WHERE lang = $1 AND word = $2", {lang, word}, kWhat);
    }

    void ScanSideTable(const SideTableDef& table,
                       const std::function<void(const std::vector<std::string>&)>& visit) override {
        if (!Exists(table.name)) {
            return;
        }
        // The tables with an id keep the order rows were written in; the others have none to keep.
        const bool hasId = table.name == "occurrence" || table.name == "run" || table.name == "run_file";
        std::string order;
        for (std::size_t i = 1; i <= table.columns.size(); ++i) {
            order += (i == 1 ? "" : ", ") + std::to_string(i);
        }
        auto result =
            m_backend.Run("SELECT " + ColumnList(table) + " FROM " + sql::Quote(std::string(table.name)) +
                              " ORDER BY " + (hasId ? "id" : order),
                          {}, kWhat);
        std::vector<std::string> row(table.columns.size());
        for (int r = 0; r < PQntuples(result.get()); ++r) {
            for (std::size_t i = 0; i < row.size(); ++i) {
                row[i] = Text(result.get(), r, static_cast<int>(i));
            }
            visit(row);
        }
    }

    void AppendSideRows(const SideTableDef& table,
                        const std::vector<std::vector<std::string>>& rows) override {
        RequireWritable();
        if (rows.empty()) {
            return;
        }
        if (table.name.starts_with("qa_")) {
            QaPresent();
        }
        // One statement for the lot: each column travels as an array, the rows keep their order.
        std::vector<std::string> params;
        std::string arrays;
        std::string names;
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            std::vector<std::string> column;
            column.reserve(rows.size());
            for (const std::vector<std::string>& row : rows) {
                column.push_back(row.at(c));
            }
            params.push_back(ArrayLiteral(column));
            arrays +=
                (c ? ", $" : "$") + std::to_string(c + 1) + (table.integer[c] ? "::bigint[]" : "::text[]");
            names += (c ? ", c" : "c") + std::to_string(c);
        }
        m_backend.Write("INSERT INTO " + sql::Quote(std::string(table.name)) + " (" + ColumnList(table) +
                            ") SELECT " + names + " FROM unnest(" + arrays + ") WITH ORDINALITY AS r(" +
                            names + ", wl_n) ORDER BY wl_n",
                        params, kWhat);
        if (table.name == "run") {
            // Runs keep their ids: the next one made here must come after them.
            m_backend.Run("SELECT setval(pg_get_serial_sequence('run', 'id'), max(id)) FROM run", {}, kWhat);
        }
    }

    bool AppendRecords(const std::vector<std::vector<std::optional<std::string>>>& rows) override {
        RequireWritable();
        const std::vector<FieldDef>& fields = m_backend.Fields();
        std::string arrays;
        std::string names;
        for (std::size_t c = 0; c < fields.size(); ++c) {
            const char* type = nullptr;
            switch (m_backend.m_types.at(c)) {
            case PostgresBackend::ColumnType::Text:
                type = "::text[]";
                break;
            case PostgresBackend::ColumnType::Integer:
                type = "::bigint[]";
                break;
            case PostgresBackend::ColumnType::Real:
                type = "::float8[]";
                break;
            case PostgresBackend::ColumnType::Other:
                return false; // its conversions are the server's to make, one record at a time
            }
            arrays += (c ? ", $" : "$") + std::to_string(c + 1) + type;
            names += (c ? ", c" : "c") + std::to_string(c);
        }
        std::vector<std::string> params;
        for (std::size_t c = 0; c < fields.size(); ++c) {
            std::vector<std::optional<std::string>> column;
            column.reserve(rows.size());
            for (const auto& row : rows) {
                const std::optional<std::string>& value = row.at(c);
                // A parameter ends at a 0 byte: such a text goes the way that refuses it clearly.
                if (value && value->find('\0') != std::string::npos) {
                    return false;
                }
                column.push_back(value);
            }
            params.push_back(ArrayLiteral(column));
        }
        if (rows.empty()) {
            return true;
        }
        std::string columns;
        for (const FieldDef& field : fields) {
            columns += (columns.empty() ? "" : ", ") + sql::Quote(field.name);
        }
        m_backend.Write("INSERT INTO strings (" + columns + ") SELECT " + names + " FROM unnest(" + arrays +
                            ") WITH ORDINALITY AS r(" + names + ", wl_n) ORDER BY wl_n",
                        params, kWhat);
        return true;
    }

    bool SideTableEmpty(const SideTableDef& table) override {
        if (!Exists(table.name)) {
            return true;
        }
        auto result =
            m_backend.Run("SELECT 1 FROM " + sql::Quote(std::string(table.name)) + " LIMIT 1", {}, kWhat);
        return PQntuples(result.get()) == 0;
    }

    void ScanRecords(const std::vector<std::string>& fields,
                     const std::function<void(const std::vector<std::string_view>&)>& visit) override {
        std::string sql = "SELECT ";
        for (std::size_t i = 0; i < fields.size(); ++i) {
            sql += (i ? ", " : "") + sql::Quote(CheckedField(fields[i])) + "::text";
        }
        auto result = m_backend.Run(sql + " FROM strings ORDER BY id", {}, kWhat);
        std::vector<std::string_view> values(fields.size());
        for (int r = 0; r < PQntuples(result.get()); ++r) {
            for (std::size_t i = 0; i < fields.size(); ++i) {
                const int column = static_cast<int>(i);
                values[i] = std::string_view(PQgetvalue(result.get(), r, column),
                                             static_cast<std::size_t>(PQgetlength(result.get(), r, column)));
            }
            visit(values);
        }
    }

    int SetFieldByKey(const std::string& keyField, const std::string& key, const std::string& field,
                      const std::string& value) override {
        RequireWritable();
        const std::string target = sql::Quote(CheckedField(field));
        const std::string sql = "UPDATE strings SET " + target + " = " + (value.empty() ? "NULL" : "$2") +
                                ", version = version + 1 WHERE " + sql::Quote(CheckedField(keyField)) +
                                "::text COLLATE \"C\" = $1";
        auto result = m_backend.Write(
            sql, value.empty() ? std::vector<std::string>{key} : std::vector{key, value}, kWhat);
        return std::atoi(PQcmdTuples(result.get()));
    }

private:
    static inline const std::string kWhat = "Side tables";

    void RequireWritable() const {
        if (m_backend.ReadOnly()) {
            throw TableError("The side tables cannot be written: the strings table is open for reading only");
        }
    }

    bool Exists(std::string_view table) {
        auto result =
            m_backend.Run("SELECT to_regclass($1) IS NOT NULL", {sql::Quote(std::string(table))}, kWhat);
        return PQgetvalue(result.get(), 0, 0)[0] == 't';
    }

    // Whether the quality tables exist; a team table made before them gets them on first use.
    bool QaPresent() {
        if (m_qaPresent) {
            return true;
        }
        if (Exists("qa_dismissal") && Exists("qa_word")) {
            m_qaPresent = true;
        } else if (!m_backend.ReadOnly()) {
            Transacted([&] { m_backend.Exec(kQaSchema); });
            m_qaPresent = true;
        }
        return m_qaPresent;
    }

    void QaWrite() {
        RequireWritable();
        QaPresent();
    }

    static std::string ColumnList(const SideTableDef& table) {
        std::string list;
        for (std::string_view column : table.columns) {
            list += (list.empty() ? "" : ", ") + sql::Quote(std::string(column));
        }
        return list;
    }

    template <class Body>
    void Transacted(Body body) {
        if (m_backend.InTransaction()) {
            body(); // inside the table's transaction
            return;
        }
        m_backend.Exec("BEGIN");
        try {
            body();
            m_backend.Exec("COMMIT");
        } catch (...) {
            PQclear(PQexec(m_backend.Connection(), "ROLLBACK"));
            throw;
        }
    }

    bool SameRows(const std::string& project, const std::string& file, const std::vector<Occurrence>& rows) {
        const std::vector<Occurrence> stored = FileOccurrences(project, file);
        return stored == rows;
    }

    std::vector<Occurrence> ReadOccurrences(const std::string& sql, const std::vector<std::string>& params) {
        auto result = m_backend.Run(sql, params, kWhat);
        std::vector<Occurrence> rows;
        for (int r = 0; r < PQntuples(result.get()); ++r) {
            rows.push_back({Text(result.get(), r, 0), Text(result.get(), r, 1),
                            std::atoi(PQgetvalue(result.get(), r, 2)), Text(result.get(), r, 3),
                            Text(result.get(), r, 4), Text(result.get(), r, 5), Text(result.get(), r, 6)});
        }
        return rows;
    }

    const std::string& CheckedField(const std::string& name) const {
        const auto& fields = m_backend.Fields();
        if (!std::any_of(fields.begin(), fields.end(),
                         [&name](const FieldDef& field) { return field.name == name; })) {
            throw DbError("Field '" + name + "' not found");
        }
        return name;
    }

    std::string ProjectField() const {
        constexpr std::string_view kProject = "project";
        for (const FieldDef& field : m_backend.Fields()) {
            if (std::equal(field.name.begin(), field.name.end(), kProject.begin(), kProject.end(),
                           [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; })) {
                return field.name;
            }
        }
        throw DbError("Field 'Project' not found");
    }

    PostgresBackend& m_backend;
    bool m_qaPresent = false;
};

SideStore& PostgresBackend::Side() {
    if (!m_side) {
        m_side = std::make_unique<PostgresSideStore>(*this);
    }
    return *m_side;
}

} // namespace wordloom
