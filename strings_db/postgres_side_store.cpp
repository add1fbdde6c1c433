// The side tables (occurrence, review) of a team table, on the table's own connection so that
// their writes share its transactions. The same rules as on SQLite; texts are compared by code
// point (COLLATE "C") whatever the database's default collation.
#include "strings_db/postgres_backend.h"
#include "strings_db/unused_progress.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <unordered_set>

namespace wordloom {

namespace {

std::string Quoted(const std::string& name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

/// A text[] parameter: every element quoted, so that commas, braces and quotes are plain text.
std::string ArrayLiteral(const std::vector<std::string>& values) {
    std::string literal = "{";
    for (const std::string& value : values) {
        literal += literal.size() > 1 ? ",\"" : "\"";
        for (char c : value) {
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
        const std::string projectField = Quoted(ProjectField());
        const std::string langField = Quoted(CheckedField(lang));
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

    void ScanRecords(const std::vector<std::string>& fields,
                     const std::function<void(const std::vector<std::string_view>&)>& visit) override {
        std::string sql = "SELECT ";
        for (std::size_t i = 0; i < fields.size(); ++i) {
            sql += (i ? ", " : "") + Quoted(CheckedField(fields[i])) + "::text";
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
        const std::string target = Quoted(CheckedField(field));
        const std::string sql = "UPDATE strings SET " + target + " = " + (value.empty() ? "NULL" : "$2") +
                                ", version = version + 1 WHERE " + Quoted(CheckedField(keyField)) +
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
};

SideStore& PostgresBackend::Side() {
    if (!m_side) {
        m_side = std::make_unique<PostgresSideStore>(*this);
    }
    return *m_side;
}

} // namespace wordloom
