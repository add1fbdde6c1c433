#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"

#include <array>
#include <utility>

namespace wordloom {

namespace {

constexpr std::array<std::pair<ReviewState, std::string_view>, 5> kStateNames{{
    {ReviewState::New, "new"},
    {ReviewState::Suggested, "suggested"},
    {ReviewState::Translated, "translated"},
    {ReviewState::Reviewed, "reviewed"},
    {ReviewState::DontTranslate, "dont_translate"},
}};

} // namespace

std::string_view ReviewStateName(ReviewState state) {
    for (const auto& [known, name] : kStateNames) {
        if (known == state) {
            return name;
        }
    }
    return "new";
}

std::optional<ReviewState> ParseReviewState(std::string_view name) {
    for (const auto& [state, known] : kStateNames) {
        if (known == name) {
            return state;
        }
    }
    return std::nullopt;
}

// A store without the quality tables: nothing dismissed, no words, and writes refused rather than
// lost.
void SideStore::ScanDismissals(const std::string&, const std::string&,
                               const std::function<void(const QaDismissal&)>&) {}

void SideStore::SetDismissal(const QaDismissal&) {
    throw DbError("This strings table does not keep dismissed findings");
}

void SideStore::ClearDismissal(const std::string&, const std::string&, const std::string&,
                               const std::string&) {
    throw DbError("This strings table does not keep dismissed findings");
}

std::vector<std::string> SideStore::UserWords(const std::string&) {
    return {};
}

void SideStore::AddUserWord(const std::string&, const std::string&) {
    throw DbError("This strings table does not keep a word list");
}

void SideStore::RemoveUserWord(const std::string&, const std::string&) {
    throw DbError("This strings table does not keep a word list");
}

const std::vector<SideTableDef>& CopiedSideTables() {
    static const std::vector<SideTableDef> tables{
        {"occurrence",
         {"project", "file", "line", "path", "property", "lang", "text"},
         {false, false, true, false, false, false, false}},
        {"review",
         {"lang", "text", "target", "state", "note", "changed_at"},
         {false, false, false, false, false, true}},
        {"qa_dismissal",
         {"lang", "text", "target", "check_id", "translation", "changed_at"},
         {false, false, false, false, false, true}},
        {"qa_word", {"lang", "word"}, {false, false}},
        {"run", {"id", "project", "target", "started_at", "state"}, {true, false, false, false, false}},
        {"run_file",
         {"run_id", "file", "backup", "sha256_before", "sha256_after"},
         {true, false, false, false, false}},
    };
    return tables;
}

void SideStore::ScanSideTable(const SideTableDef&,
                              const std::function<void(const std::vector<std::string>&)>&) {}

void SideStore::AppendSideRows(const SideTableDef& table, const std::vector<std::vector<std::string>>& rows) {
    if (!rows.empty()) {
        throw DbError("This strings table does not keep the side table " + std::string(table.name));
    }
}

bool SideStore::SideTableEmpty(const SideTableDef&) {
    return true;
}

bool SideStore::AppendRecords(const std::vector<std::vector<std::optional<std::string>>>&) {
    return false;
}

bool ScanRecordsUntil(SideStore& side, const std::vector<std::string>& fields,
                      const std::function<void(const std::vector<std::string_view>&)>& visit,
                      const std::atomic<bool>* stop) {
    struct Stopped {};
    try {
        side.ScanRecords(fields, [&](const std::vector<std::string_view>& values) {
            if (stop != nullptr && stop->load(std::memory_order_relaxed)) {
                throw Stopped{};
            }
            visit(values);
        });
    } catch (const Stopped&) {
        return false;
    }
    return true;
}

ReviewState EffectiveState(const std::optional<ReviewState>& stored, std::string_view translation) {
    if (stored) {
        return *stored;
    }
    return translation.empty() ? ReviewState::New : ReviewState::Translated;
}

bool ListsProject(std::string_view projectField, std::string_view project) {
    if (project.empty()) {
        return false;
    }
    std::size_t start = 0;
    while (start <= projectField.size()) {
        std::size_t end = projectField.find(';', start);
        if (end == std::string_view::npos) {
            end = projectField.size();
        }
        if (projectField.substr(start, end - start) == project) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::string WithoutProject(std::string_view field, std::string_view project) {
    std::string rest;
    std::size_t start = 0;
    while (start <= field.size()) {
        const std::size_t end = std::min(field.find(';', start), field.size());
        const std::string_view name = field.substr(start, end - start);
        if (name != project && !name.empty()) {
            if (!rest.empty()) {
                rest += ';';
            }
            rest += name;
        }
        start = end + 1;
    }
    return rest;
}

} // namespace wordloom
