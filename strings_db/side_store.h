// The side tables beside `strings`: where each text was collected (occurrence) and the review state
// of each translation (review). They live in the same database as `strings`, are created when first
// needed (never in a table opened read-only, where they then read as empty) and leave `strings`
// itself as it is. Records are named by a language field and its text, never by row id.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom {

class CommandHost;

/// One place a text was collected from.
struct Occurrence {
    std::string project;  ///< the project name (as filed in `Project`)
    std::string file;     ///< relative to the project folder, "/" separated
    int line = 0;         ///< from 1
    std::string path;     ///< component path ("Form1.Panel1.OKButton") or the unit name
    std::string property; ///< the property name; empty for unit sources
    std::string lang;     ///< the language field the text is filed under
    std::string text;     ///< the text as filed (the key)

    bool operator==(const Occurrence&) const = default;
};

/// The state of one translation beyond "empty / filled".
enum class ReviewState {
    New,          ///< nothing done yet
    Suggested,    ///< filled or proposed by the program (memory, import, a rule): needs a look
    Translated,   ///< typed by a translator
    Reviewed,     ///< checked by a second person
    DontTranslate ///< stays as it is in every translation
};

/// The stored name of a state ("new", "suggested", "translated", "reviewed", "dont_translate").
std::string_view ReviewStateName(ReviewState state);
/// The state of a stored name; nullopt for an unknown one.
std::optional<ReviewState> ParseReviewState(std::string_view name);

/// The review row of one translation: the record named by (lang, text), its translation into
/// `target`.
struct ReviewEntry {
    std::string lang;
    std::string text;
    std::string target;
    ReviewState state = ReviewState::New;
    std::string note;           ///< free text; a rule's proposal is "dont_translate:<rule id>"
    std::int64_t changedAt = 0; ///< seconds since 1970 (UTC)
};

/// A finding of a quality check that a translator has set aside for one translation. It holds while
/// the translation is the one it was dismissed for.
struct QaDismissal {
    std::string lang;
    std::string text;
    std::string target;
    std::string check;       ///< the check's id
    std::string translation; ///< the translation it was dismissed for
    std::int64_t changedAt = 0;
};

/// A side table as a copy between two databases carries it: every column NOT NULL, read and written
/// as text (the integer ones marked, for the engines that type their parameters).
struct SideTableDef {
    std::string_view name;
    std::vector<std::string_view> columns;
    std::vector<bool> integer;
};

/// The side tables a copy carries, parents before the tables that refer to them: where used, review
/// states, dismissed findings, the word list and the journal of translation runs.
const std::vector<SideTableDef>& CopiedSideTables();

/// The side tables of one database, reached through StringsTable::Side(). Each write runs in the
/// table's open transaction, or in one of its own when none is open. Failures throw DbError
/// (TableError when the database itself cannot be used).
class SideStore {
public:
    virtual ~SideStore() = default;

    // Where used.

    /// Replaces every occurrence row of (project, file) by `rows` (whose project and file must be
    /// those two).
    virtual void ReplaceFileOccurrences(const std::string& project, const std::string& file,
                                        const std::vector<Occurrence>& rows) = 0;
    /// Drops the occurrence rows of `project` whose file is not in `keep`; returns how many files
    /// were dropped.
    virtual int DropFilesExcept(const std::string& project, const std::vector<std::string>& keep) = 0;
    /// Where a record's text was collected, ordered by project, file and line.
    virtual std::vector<Occurrence> Occurrences(const std::string& lang, const std::string& text) = 0;
    /// Every occurrence row of the texts filed under `lang`, in the order of Occurrences; one pass
    /// that needs no index (for exports, which want the places of every text).
    virtual void ScanOccurrences(const std::string& lang,
                                 const std::function<void(const Occurrence&)>& visit) = 0;
    /// The files of `project` that have occurrence rows, sorted.
    virtual std::vector<std::string> OccurrenceFiles(const std::string& project) = 0;
    /// The occurrence rows of one file, ordered by line.
    virtual std::vector<Occurrence> FileOccurrences(const std::string& project, const std::string& file) = 0;

    /// Unused texts: the records that list `project` in `Project` and have a text in `lang`, but no
    /// occurrence in that project. Empty when the project has no occurrence rows at all (it was not
    /// collected since where-used was recorded: every text would otherwise look unused). Sorted.
    virtual std::vector<std::string> UnusedTexts(const std::string& project, const std::string& lang) = 0;
    /// Removes the unused texts of `project` (as UnusedTexts finds them): a record listed for that
    /// project alone is deleted, with its review rows; one that other projects list too only loses
    /// `project` from its `Project`. Returns the texts removed. The caller refreshes its cursor.
    /// With a host, progress is told over the texts and a cancel stops before the next one: the
    /// texts done so far stay removed (and are the ones returned), the rest stay as they were.
    virtual std::vector<std::string> DeleteUnused(const std::string& project, const std::string& lang,
                                                  CommandHost* host = nullptr) = 0;

    // Review states.

    /// The stored row of a translation; nullopt when there is none.
    virtual std::optional<ReviewEntry> Review(const std::string& lang, const std::string& text,
                                              const std::string& target) = 0;
    /// Stores (inserts or replaces) the row; a changedAt of 0 is stamped with the current time.
    virtual void SetReview(const ReviewEntry& entry) = 0;
    /// Drops the row of a translation (it then reads as new or translated by its text).
    virtual void ClearReview(const std::string& lang, const std::string& text, const std::string& target) = 0;
    /// Every stored row of the pair (lang, target), in no particular order.
    virtual void ScanReviews(const std::string& lang, const std::string& target,
                             const std::function<void(const ReviewEntry&)>& visit) = 0;

    // Quality checks: dismissed findings and the user word list of the spelling check. A store that
    // does not keep them reads them as empty and refuses to write them (DbError).

    /// Every dismissal of the pair (lang, target), in no particular order.
    virtual void ScanDismissals(const std::string& lang, const std::string& target,
                                const std::function<void(const QaDismissal&)>& visit);
    /// Stores (inserts or replaces) a dismissal; a changedAt of 0 is stamped with the current time.
    virtual void SetDismissal(const QaDismissal& dismissal);
    /// Takes a dismissal back.
    virtual void ClearDismissal(const std::string& lang, const std::string& text, const std::string& target,
                                const std::string& check);
    /// The words the user has accepted for the language field `lang`, sorted.
    virtual std::vector<std::string> UserWords(const std::string& lang);
    virtual void AddUserWord(const std::string& lang, const std::string& word);
    virtual void RemoveUserWord(const std::string& lang, const std::string& word);

    // Whole tables, for a copy between databases (CopiedSideTables). A store without such a table
    // reads it as empty and refuses rows for it (DbError).

    /// Every row of `table` in the order it was written, values in the order of its columns.
    virtual void ScanSideTable(const SideTableDef& table,
                               const std::function<void(const std::vector<std::string>&)>& visit);
    /// Appends `rows` (values in the order of the table's columns) in the table's open transaction,
    /// keeping their order; a run keeps its id, so that its files still name it.
    virtual void AppendSideRows(const SideTableDef& table, const std::vector<std::vector<std::string>>& rows);
    /// True when `table` holds no row (or does not exist).
    virtual bool SideTableEmpty(const SideTableDef& table);
    /// Appends records to `strings` in the table's open transaction, in the order given: values in
    /// the order of the table's fields, nullopt for NULL (apart from ""). False, nothing written,
    /// where the store has no faster way than the table's own inserts (the caller then uses those).
    virtual bool AppendRecords(const std::vector<std::vector<std::optional<std::string>>>& rows);

    // Bulk reads of `strings` for the side features (statistics, memory, find).

    /// Calls `visit` with the values of `fields` (NULL read as "") of every record, in record
    /// order; the views are valid only during the call. Throws DbError for an unknown field.
    virtual void ScanRecords(const std::vector<std::string>& fields,
                             const std::function<void(const std::vector<std::string_view>&)>& visit) = 0;
    /// Sets `field` of the records whose `keyField` is `key` to `value` ("" stores NULL); returns
    /// how many changed. The caller refreshes its cursor.
    virtual int SetFieldByKey(const std::string& keyField, const std::string& key, const std::string& field,
                              const std::string& value) = 0;
};

/// `side.ScanRecords` that ends early, between two records, once `stop` (may be null) is set; false
/// when it ended so.
bool ScanRecordsUntil(SideStore& side, const std::vector<std::string>& fields,
                      const std::function<void(const std::vector<std::string_view>&)>& visit,
                      const std::atomic<bool>* stop);

/// The state a translation shows: its stored one, else new when `translation` is empty and
/// translated when not.
ReviewState EffectiveState(const std::optional<ReviewState>& stored, std::string_view translation);

/// True when `project` is among the ";"-separated names of a `Project` value.
bool ListsProject(std::string_view projectField, std::string_view project);

/// A `Project` value with `project` taken out of its names (and empty names dropped).
std::string WithoutProject(std::string_view field, std::string_view project);

} // namespace wordloom
