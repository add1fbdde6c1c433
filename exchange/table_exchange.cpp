#include "exchange/table_exchange.h"
#include "base/filing_rule.h"
#include "base/ui_text.h"
#include "strings_db/strings_table.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <unordered_set>

namespace wordloom::exchange {

namespace {

std::string FirstLanguage(const StringsTable& table, const std::string& language) {
    if (!language.empty())
        return language;
    const std::vector<std::string> languages = table.Languages();
    if (languages.empty())
        throw DbError(WL_TR("exchange", "The strings table has no language field"));
    return languages.front();
}

void CheckLanguage(const StringsTable& table, const std::string& language) {
    const std::vector<std::string> languages = table.Languages();
    if (std::find(languages.begin(), languages.end(), language) == languages.end())
        throw DbError(FillIn(WL_TR("exchange", "The strings table has no language field %1"), {language}));
}

bool InProject(const std::string& projects, const std::string& project) {
    if (project.empty())
        return true;
    std::size_t start = 0;
    while (start <= projects.size()) {
        const std::size_t end = std::min(projects.find(';', start), projects.size());
        if (projects.compare(start, end - start, project) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

bool HasLoneLf(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return true;
    return false;
}

std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

// Reads the table in the source language's key order, each source text once (among the records
// of the project), in one pass; `fields` follow the source text and Project in the record.
template <typename Visit>
void ForEachRecord(StringsTable& table, const std::string& source, const std::string& project,
                   const std::vector<std::string>& fields, Visit visit) {
    std::vector<std::string> read{source, "Project"};
    read.insert(read.end(), fields.begin(), fields.end());
    std::string previous;
    bool first = true;
    table.ScanInOrder(source, read, [&](const StringsTable::OrderedRecord& record) {
        std::string text = record.Text(0);
        if (text.empty() || (!first && text == previous))
            return;
        if (!project.empty() && !InProject(record.Text(1), project))
            return;
        first = false;
        previous = text;
        visit(text, record);
    });
}

} // namespace

Catalog CatalogHeadOf(StringsTable& table, const ExportOptions& options) {
    Catalog catalog;
    catalog.sourceLanguage = FirstLanguage(table, options.sourceLanguage);
    catalog.targetLanguage = options.targetLanguage;
    catalog.project = options.project;
    CheckLanguage(table, catalog.sourceLanguage);
    CheckLanguage(table, catalog.targetLanguage);
    return catalog;
}

void ForEachTableUnit(StringsTable& table, const Catalog& head, const ExportOptions& options,
                      const UnitDetails& details, bool withDetails, const std::function<void(Unit&)>& visit) {
    enum { kTarget = 2, kSpFront, kSpEnd };
    Unit unit;
    ForEachRecord(
        table, head.sourceLanguage, options.project, {head.targetLanguage, "SpFront", "SpEnd"},
        [&](const std::string& text, const StringsTable::OrderedRecord& record) {
            unit = Unit{};
            unit.target = record.Text(kTarget);
            const std::optional<UnitState> state = details.State(head.targetLanguage, text);
            unit.state = state ? *state : unit.target.empty() ? UnitState::New : UnitState::Translated;
            switch (options.scope) {
            case ExportScope::All:
                break;
            case ExportScope::Untranslated:
                if (!unit.target.empty() || unit.state == UnitState::DontTranslate)
                    return;
                break;
            case ExportScope::Suggested:
                if (unit.state != UnitState::Suggested)
                    return;
                break;
            }
            unit.spFront = record.Integer(kSpFront);
            unit.spEnd = record.Integer(kSpEnd);
            if (withDetails) {
                unit.places = details.Places(head.sourceLanguage, text, options.project);
                unit.notes = details.Notes(head.targetLanguage, text);
            }
            unit.source = text;
            visit(unit);
        });
}

Catalog CatalogFromTable(StringsTable& table, const ExportOptions& options, const UnitDetails& details) {
    Catalog catalog = CatalogHeadOf(table, options);
    ForEachTableUnit(table, catalog, options, details, true,
                     [&catalog](Unit& unit) { catalog.units.push_back(std::move(unit)); });
    return catalog;
}

std::vector<std::string> MemoryLanguages(StringsTable& table, const std::string& sourceLanguage) {
    std::vector<std::string> languages{FirstLanguage(table, sourceLanguage)};
    CheckLanguage(table, languages.front());
    for (const std::string& language : table.Languages())
        if (language != languages.front())
            languages.push_back(language);
    return languages;
}

void ForEachMemoryRow(StringsTable& table, const std::vector<std::string>& languages,
                      const std::string& project,
                      const std::function<void(std::vector<std::string>&)>& visit) {
    const std::vector<std::string> targets(languages.begin() + 1, languages.end());
    std::vector<std::string> row;
    ForEachRecord(table, languages.front(), project, targets,
                  [&](const std::string& text, const StringsTable::OrderedRecord& record) {
                      row.assign(1, text);
                      bool translated = false;
                      for (std::size_t i = 0; i < targets.size(); ++i) {
                          row.push_back(record.Text(i + 2));
                          translated = translated || !row.back().empty();
                      }
                      if (translated)
                          visit(row);
                  });
}

Memory MemoryFromTable(StringsTable& table, const std::string& sourceLanguage, const std::string& project) {
    Memory memory;
    memory.languages = MemoryLanguages(table, sourceLanguage);
    memory.sourceLanguage = memory.languages.front();
    ForEachMemoryRow(table, memory.languages, project,
                     [&memory](std::vector<std::string>& row) { memory.rows.push_back(std::move(row)); });
    return memory;
}

std::size_t ImportPlan::Count(ImportKind kind) const {
    return static_cast<std::size_t>(std::count_if(
        items.begin(), items.end(), [kind](const ImportItem& item) { return item.kind == kind; }));
}

ImportPlan PlanImport(StringsTable& table, const Catalog& catalog, const ImportOptions& options,
                      const UnitDetails& details) {
    ImportPlan plan;
    plan.sourceLanguage = FirstLanguage(table, options.sourceLanguage);
    plan.targetLanguage = options.targetLanguage;
    CheckLanguage(table, plan.sourceLanguage);
    CheckLanguage(table, plan.targetLanguage);
    table.SetIndexFieldNames(plan.sourceLanguage);
    // The file's texts (and each with CR LF where a tool made its line ends LF) are looked up in
    // the table: the plan holds what the file holds, however large the table.
    std::vector<std::string_view> sources(catalog.units.size());
    std::deque<std::string> crLfTexts; // stays where it is while it grows: `keys` views it
    std::vector<std::string_view> keys;
    keys.reserve(catalog.units.size());
    for (std::size_t i = 0; i < catalog.units.size(); ++i) {
        const Unit& unit = catalog.units[i];
        sources[i] = TrimControls(unit.source);
        if (sources[i].empty() || (unit.target.empty() && unit.state != UnitState::DontTranslate))
            continue;
        keys.push_back(sources[i]);
        if (HasLoneLf(sources[i]))
            keys.push_back(crLfTexts.emplace_back(WithCrLf(sources[i])));
    }
    std::vector<std::optional<StringsTable::Translation>> found =
        table.ReadTranslationsOf(plan.targetLanguage, keys);
    plan.items.reserve(keys.size());
    // The first of several units with one source text decides. A record has one text, so the
    // records compared with tell the repeats (sorted below, cheaper than a set of a million
    // texts); the unknown texts are told apart by their text.
    std::vector<std::pair<std::int64_t, std::size_t>> compared;
    compared.reserve(keys.size());
    std::unordered_set<std::string_view> unknown;
    std::size_t next = 0;
    for (std::size_t i = 0; i < catalog.units.size(); ++i) {
        const Unit& unit = catalog.units[i];
        if (sources[i].empty() || (unit.target.empty() && unit.state != UnitState::DontTranslate))
            continue;
        ImportItem item;
        item.source = std::string(sources[i]);
        item.theirs = unit.target;
        item.state = unit.state;
        item.spFront = unit.spFront;
        item.spEnd = unit.spEnd;
        std::string_view key = sources[i];
        StringsTable::Translation* ours = found[next] ? &*found[next] : nullptr;
        ++next;
        if (HasLoneLf(sources[i])) {
            if (ours == nullptr && found[next]) {
                ours = &*found[next];
                key = keys[next];
                item.source = key;
                item.theirs = WithCrLf(item.theirs);
            }
            ++next;
        }
        if (ours == nullptr) {
            if (!unknown.insert(key).second)
                continue;
            item.kind = ImportKind::Unknown;
            item.take = options.addUnknown;
        } else {
            item.record = ours->record;
            compared.emplace_back(item.record, plan.items.size());
            item.ours = std::move(ours->text);
            const std::optional<UnitState> known = details.State(plan.targetLanguage, item.source);
            const UnitState ourState = known               ? *known
                                       : item.ours.empty() ? UnitState::New
                                                           : UnitState::Translated;
            if (item.theirs.empty()) {
                item.kind = ourState == item.state ? ImportKind::Unchanged : ImportKind::Changed;
            } else if (item.ours.empty()) {
                item.kind = ImportKind::New;
            } else if (item.ours == item.theirs) {
                item.kind = ourState == item.state || (!known && !details.StoresStates())
                                ? ImportKind::Unchanged
                                : ImportKind::Changed;
            } else {
                item.kind = ImportKind::Conflict;
                item.take = options.conflicts == ConflictChoice::Theirs;
            }
            if (item.kind == ImportKind::New || item.kind == ImportKind::Changed)
                item.take = true;
        }
        plan.items.push_back(std::move(item));
    }
    std::sort(compared.begin(), compared.end());
    std::vector<bool> repeat(plan.items.size(), false);
    bool repeats = false;
    for (std::size_t i = 1; i < compared.size(); ++i) {
        if (compared[i].first == compared[i - 1].first) {
            repeat[compared[i].second] = repeats = true;
        }
    }
    if (repeats) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < plan.items.size(); ++i) {
            if (repeat[i])
                continue;
            if (kept != i)
                plan.items[kept] = std::move(plan.items[i]);
            ++kept;
        }
        plan.items.resize(kept);
    }
    return plan;
}

ImportResult ApplyImport(StringsTable& table, const ImportPlan& plan, const ImportOptions& options,
                         UnitDetails& details) {
    ImportResult result;
    table.SetFiltered(false);
    table.SetIndexFieldNames(plan.sourceLanguage);
    StringsTable::Transaction transaction(table);
    // The translations go in one keyed pass; each must still stand as the plan saw it (a record
    // edited since keeps what it was edited to: the import then fails and changes nothing).
    std::vector<StringsTable::KeyedWrite> writes;
    std::vector<const ImportItem*> writers;
    writes.reserve(plan.items.size());
    writers.reserve(plan.items.size());
    try {
        for (const ImportItem& item : plan.items) {
            if (!item.take)
                continue;
            if (item.kind == ImportKind::Unknown) {
                table.Insert();
                table.SetField(plan.sourceLanguage, item.source);
                table.SetField(plan.targetLanguage, item.theirs);
                table.SetFieldInt("SpFront", item.spFront);
                table.SetFieldInt("SpEnd", item.spEnd);
                if (!options.project.empty())
                    table.SetField("Project", options.project);
                table.Post();
                ++result.added;
            } else if (!item.theirs.empty() && item.theirs != item.ours) {
                writes.push_back({item.source, item.ours, item.theirs, item.record});
                writers.push_back(&item);
            } else {
                ++result.states;
            }
            details.StoreState(plan.targetLanguage, item.source,
                               item.theirs.empty() ? item.ours : item.theirs, item.state);
        }
    } catch (...) {
        if (table.State() != TableState::Browse)
            table.Cancel();
        throw;
    }
    const StringsTable::KeyedWriteResult written =
        table.WriteByKey(plan.sourceLanguage, plan.targetLanguage, writes);
    if (written.done < writes.size()) {
        const std::string& source = writers[written.done]->source;
        if (written.missing)
            throw DbError(FillIn(WL_TR("exchange", "The text \"%1\" has left the strings table"), {source}));
        throw DbError(
            FillIn(WL_TR("exchange", "The translation of \"%1\" was changed after the import was planned"),
                   {source}));
    }
    result.written = written.done;
    transaction.Commit();
    return result;
}

} // namespace wordloom::exchange
