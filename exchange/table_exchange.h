// The strings table's side of an exchange: a catalogue filled from the table for export, and an
// import planned against the table (new, changed, conflicting, unknown) and applied in one
// transaction.
#pragma once

#include "exchange/tmx_format.h"
#include "exchange/unit.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace wordloom {
class StringsTable;
}

namespace wordloom::exchange {

/// What the tables beside `strings` know of a text: where it was collected, its translation's state
/// and notes. The table side reads and stores them only through this.
class UnitDetails {
public:
    virtual ~UnitDetails() = default;
    /// The places of `text` (a text of the source language field `language`); only those of
    /// `project` when it is not empty.
    virtual std::vector<Place> Places(const std::string& language, const std::string& text,
                                      const std::string& project) const = 0;
    /// The state of the translation of `text` into `targetLanguage`; nothing: derived from whether
    /// the table holds a translation.
    virtual std::optional<UnitState> State(const std::string& targetLanguage,
                                           const std::string& text) const = 0;
    virtual std::vector<std::string> Notes(const std::string& targetLanguage,
                                           const std::string& text) const = 0;
    /// Records an imported state; called inside the import's transaction, so a failure (thrown)
    /// undoes the whole import.
    virtual void StoreState(const std::string& targetLanguage, const std::string& text,
                            const std::string& target, UnitState state) = 0;
    /// Whether StoreState keeps what it is given; only then does a state the file changes on an
    /// unchanged translation count as a change.
    virtual bool StoresStates() const { return false; }
};

/// Until the side tables exist: no places, no notes, the state "translated" for a filled and "new"
/// for an empty translation, nothing stored.
class PlainDetails : public UnitDetails {
public:
    std::vector<Place> Places(const std::string&, const std::string&, const std::string&) const override {
        return {};
    }
    std::optional<UnitState> State(const std::string&, const std::string&) const override {
        return std::nullopt;
    }
    std::vector<std::string> Notes(const std::string&, const std::string&) const override { return {}; }
    void StoreState(const std::string&, const std::string&, const std::string&, UnitState) override {}
};

enum class ExportScope { All, Untranslated, Suggested };

struct ExportOptions {
    std::string sourceLanguage; ///< empty: the table's first language
    std::string targetLanguage;
    std::string project; ///< empty: every project
    ExportScope scope = ExportScope::All;
};

/// The table's records as units, in the source language's key order, each text once. Throws
/// DbError for an unknown language field.
Catalog CatalogFromTable(StringsTable& table, const ExportOptions& options, const UnitDetails& details);

/// CatalogFromTable without units: its languages, chosen and checked as there.
Catalog CatalogHeadOf(StringsTable& table, const ExportOptions& options);
/// The units CatalogFromTable would hold for `head`, each passed to `visit` as it is read instead
/// (the unit may be taken); places and notes only when `withDetails`.
void ForEachTableUnit(StringsTable& table, const Catalog& head, const ExportOptions& options,
                      const UnitDetails& details, bool withDetails, const std::function<void(Unit&)>& visit);

/// Every language of the table as a translation memory (the source language first), optionally of
/// one project; texts without any translation are left out.
Memory MemoryFromTable(StringsTable& table, const std::string& sourceLanguage, const std::string& project);
/// The languages of MemoryFromTable. Throws DbError for an unknown language field.
std::vector<std::string> MemoryLanguages(StringsTable& table, const std::string& sourceLanguage);
/// The rows of MemoryFromTable for `languages`, each passed to `visit` as it is read (it may be taken).
void ForEachMemoryRow(StringsTable& table, const std::vector<std::string>& languages,
                      const std::string& project,
                      const std::function<void(std::vector<std::string>&)>& visit);

enum class ImportKind {
    New,       ///< fills an empty translation
    Changed,   ///< the same translation with another state
    Conflict,  ///< differs from the table's non-empty translation
    Unknown,   ///< the table has no such source text
    Unchanged, ///< nothing to do
};

struct ImportItem {
    ImportKind kind = ImportKind::Unchanged;
    std::string source; ///< as the table keys it
    std::string ours;   ///< the table's translation
    std::string theirs; ///< the file's
    UnitState state = UnitState::Translated;
    long long spFront = 0;
    long long spEnd = 0;
    std::int64_t record = 0; ///< the table's record compared with (0: none)
    /// Whether applying writes this item: always for New and Changed; for a Conflict when theirs
    /// is taken; for an Unknown text when it is to be added. A window may change it per item.
    bool take = false;
};

enum class ConflictChoice { Ours, Theirs };

struct ImportOptions {
    std::string sourceLanguage; ///< empty: the table's first language
    std::string targetLanguage;
    ConflictChoice conflicts = ConflictChoice::Ours;
    bool addUnknown = false;
    std::string project; ///< the Project of an added record
};

struct ImportPlan {
    std::string sourceLanguage;
    std::string targetLanguage;
    std::vector<ImportItem> items; ///< one per unit of the file that has a translation or a state
    std::size_t Count(ImportKind kind) const;
};

/// Compares the file's units with the table; writes nothing. Matching is by the trimmed source text;
/// a text whose line ends a tool changed from CR LF to LF still finds its record (and its
/// translation gets CR LF again). Throws DbError for an unknown language field.
ImportPlan PlanImport(StringsTable& table, const Catalog& catalog, const ImportOptions& options,
                      const UnitDetails& details);

struct ImportResult {
    std::size_t written = 0; ///< translations written into existing records
    std::size_t added = 0;   ///< records added for unknown texts
    std::size_t states = 0;  ///< states stored without a new translation
};

/// Writes the items to take, in one transaction: on any failure nothing is changed and the
/// failure is thrown.
ImportResult ApplyImport(StringsTable& table, const ImportPlan& plan, const ImportOptions& options,
                         UnitDetails& details);

} // namespace wordloom::exchange
