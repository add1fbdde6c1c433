#include "qa/run_checks.h"

#include "base/ui_text.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace wordloom::qa {

namespace {

std::string ProjectField(const StringsTable& table) {
    for (const FieldDef& field : table.Fields()) {
        std::string lower = field.name;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower == "project")
            return field.name;
    }
    return {};
}

std::string LanguageOrThrow(const StringsTable& table, const std::string& field) {
    const std::vector<std::string> languages = table.Languages();
    if (std::find(languages.begin(), languages.end(), field) == languages.end())
        throw DbError(FillIn(WL_TR("qa", "\"%1\" is not a language field of the strings table"), {field}));
    return field;
}

std::string Key(std::string_view a, std::string_view b) {
    std::string key;
    key.reserve(a.size() + b.size() + 1);
    key.append(a).append(1, '\0').append(b);
    return key;
}

} // namespace

bool RunResult::HasErrors() const {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& finding) { return finding.severity == Severity::Error; });
}

Checker::Checker(const std::vector<const CheckInfo*>& checks, CheckSetup setup) {
    setup.notices = &m_notices;
    for (const CheckInfo* info : checks)
        m_checks.push_back(info->make(setup, info->severity));
}

std::vector<Finding> Checker::Inspect(const CheckContext& context) {
    std::vector<Finding> found;
    FindingSink sink(found);
    if (!context.source.empty()) {
        for (const std::unique_ptr<Check>& check : m_checks)
            check->Inspect(context, sink);
        // One translation shown alone is a run of its own: a check comparing it with its
        // neighbours (through CheckSetup::translationOf) reports in Finish.
        for (const std::unique_ptr<Check>& check : m_checks)
            check->Finish(sink);
    }
    return found;
}

RunResult RunChecks(StringsTable& table, const std::string& target, const std::string& project,
                    const std::vector<const CheckInfo*>& checks, const RunOptions& options) {
    const std::vector<std::string> languages = table.Languages();
    if (languages.empty())
        throw DbError(WL_TR("qa", "The strings table has no language field"));
    const std::string source =
        LanguageOrThrow(table, options.sourceLang.empty() ? languages.front() : options.sourceLang);
    LanguageOrThrow(table, target);
    SideStore& side = table.Side();

    RunResult result;
    CheckSetup setup{source, target, side.UserWords(target), options.dictionaryFolders, &result.notices};
    setup.forms = options.forms;
    setup.measure = options.measure;
    // Checks comparing a text with its neighbours in a form ask for those not in the run (a run
    // over one record) in Finish, after the scan below has seen every record.
    std::unordered_map<std::string, std::string> translations;
    const bool translationsWanted = options.forms != nullptr;
    if (translationsWanted)
        setup.translationOf = [&translations](std::string_view text) {
            const auto found = translations.find(std::string(text));
            return found == translations.end() ? std::string() : found->second;
        };
    std::vector<std::unique_ptr<Check>> made;
    bool occurrencesWanted = false;
    for (const CheckInfo* info : checks) {
        made.push_back(info->make(setup, info->severity));
        occurrencesWanted = occurrencesWanted || info->usesOccurrences;
    }

    std::unordered_map<std::string, std::vector<Occurrence>> places;
    if (occurrencesWanted)
        side.ScanOccurrences(source, [&](const Occurrence& row) {
            if (project.empty() || row.project == project)
                places[row.text].push_back(row);
        });
    std::unordered_map<std::string, ReviewState> states;
    side.ScanReviews(source, target,
                     [&](const ReviewEntry& entry) { states.emplace(entry.text, entry.state); });
    std::unordered_map<std::string, std::string> dismissals; // by text and check: the translation
    side.ScanDismissals(source, target, [&](const QaDismissal& row) {
        dismissals.emplace(Key(row.text, row.check), row.translation);
    });

    std::vector<Finding> found;
    FindingSink sink(found);
    const std::string projectField = ProjectField(table);
    std::vector<std::string> fields{source, target};
    if (!project.empty() && !projectField.empty())
        fields.push_back(projectField);
    side.ScanRecords(fields, [&](const std::vector<std::string_view>& values) {
        if (translationsWanted && !values[0].empty() && !values[1].empty())
            translations.emplace(values[0], values[1]);
        if (values[0].empty() || (fields.size() > 2 && !ListsProject(values[2], project)))
            return;
        ++result.records;
        CheckContext context{source, target, values[0], values[1], {}, std::nullopt};
        // A string made per record costs as much as the checks themselves: only where needed.
        if (!states.empty())
            if (const auto state = states.find(std::string(values[0])); state != states.end())
                context.review = state->second;
        if (!places.empty())
            if (const auto at = places.find(std::string(values[0])); at != places.end())
                context.occurrences = at->second;
        for (const std::unique_ptr<Check>& check : made)
            check->Inspect(context, sink);
    });
    for (const std::unique_ptr<Check>& check : made)
        check->Finish(sink);

    // A text filed twice (for two projects) with the same translation is reported once.
    std::unordered_set<std::string> reported;
    result.findings.reserve(found.size());
    for (Finding& finding : found) {
        if (!reported.insert(Key(Key(finding.check, finding.text), Key(finding.translation, finding.message)))
                 .second)
            continue;
        const auto dismissal = dismissals.find(Key(finding.text, finding.check));
        if (dismissal != dismissals.end() && dismissal->second == finding.translation) {
            ++result.dismissed;
            if (!options.includeDismissed)
                continue;
        }
        result.findings.push_back(std::move(finding));
    }
    return result;
}

void DismissFinding(StringsTable& table, const Finding& finding) {
    table.Side().SetDismissal(
        QaDismissal{finding.lang, finding.text, finding.target, finding.check, finding.translation, 0});
}

} // namespace wordloom::qa
