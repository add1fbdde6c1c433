// The strings table: one record per translatable text, a field per language plus Project, SpFront
// and SpEnd. A cursor over an SQLite file that the build supplies; the program never creates or
// alters the table.
#pragma once

#include "base/filing_rule.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace wordloom {

/// Every failure of the table layer; what() is the text shown to the user.
class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The table itself cannot be used: busy beyond the wait, locked, read-only, full, damaged. What()
/// names the table and the reason. A command ends on it; a record the table refuses (a key
/// violation, say) stays a plain DbError.
class TableError : public DbError {
public:
    using DbError::DbError;
};

/// The server of a shared table cannot be reached: nothing was written, and the same write may
/// succeed once the connection is back.
class ConnectionLost : public TableError {
public:
    using TableError::TableError;
};

/// An edited record was changed by someone else since it was read: nothing was written. Theirs()
/// holds the record as it is now stored, by field name (a NULL as ""); empty when it was deleted.
class VersionConflict : public TableError {
public:
    VersionConflict(const std::string& message, std::unordered_map<std::string, std::string> theirs)
        : TableError(message), m_theirs(std::move(theirs)) {}
    const std::unordered_map<std::string, std::string>& Theirs() const { return m_theirs; }

private:
    std::unordered_map<std::string, std::string> m_theirs;
};

/// How long a write waits for another connection's write transaction to end before it fails with
/// TableError.
inline constexpr int kBusyTimeoutMs = 5000;

enum class FieldKind { Alpha, Integer };

struct FieldDef {
    std::string name;
    FieldKind kind;
};

enum class TableState { Browse, Insert, Edit };

/// ReadOnly opens the file for reading only; every write then fails with TableError.
enum class OpenMode { ReadWrite, ReadOnly };

/// A record of a batch that the table refused when the batch was stored.
struct BatchFailure {
    std::size_t post = 0; ///< which insert posted since BeginBatch (from 0)
    std::string message;
};

class StringsTableBackend;
class TableCursor;
class TableNotifications;
class SideStore;

/// A cursor over the strings table. Texts are UTF-8. Record numbers count from 0 in the current
/// order over the records that pass the filter.
class StringsTable {
public:
    /// Opens an existing table file; throws DbError when it is missing, unreadable or holds no
    /// `strings` table. Never creates anything. A file the process may not write opens read-only.
    /// A `postgresql://` address opens the team table in that database instead.
    explicit StringsTable(const std::string& path, OpenMode mode = OpenMode::ReadWrite);
    ~StringsTable();
    StringsTable(const StringsTable&) = delete;
    StringsTable& operator=(const StringsTable&) = delete;

    /// Field definitions in table order.
    const std::vector<FieldDef>& Fields() const;
    /// Names of the language fields, in table order: the alpha fields but Project, SpFront and
    /// SpEnd (letter case ignored). Every list of languages, and every check, uses this one.
    std::vector<std::string> Languages() const;
    bool HasField(const std::string& name) const;
    /// True when the file was opened (or could only be opened) for reading.
    bool ReadOnly() const;

    /// Orders by the index on `field` alone; throws DbError("Index not found: ...") when the table
    /// has none. Key searches use that index's column and collation. Where several indexes cover
    /// the field alone, the one named after the field wins, then a case-sensitive one. A new order
    /// keeps the current record; the view is rebuilt when it is next read (also when the order is
    /// the same one, while posted records stand out of their place).
    void SetIndexFieldNames(const std::string& field);
    /// Orders by the index of that name (e.g. "English2"); throws DbError when missing.
    void SetIndexName(const std::string& indexName);
    /// The field the current order and key search use (empty before an order was chosen).
    const std::string& IndexField() const;
    /// The selected index's name as the schema spells it (empty before an order was chosen).
    const std::string& IndexName() const;
    /// The field given to SetIndexFieldNames; empty when the order was chosen by index name.
    const std::string& IndexFieldNames() const;

    /// A record's text in the target language of ReadTranslations, with its blank counts.
    struct Translation {
        std::string text; ///< empty when the record has none
        long long spFront = 0;
        long long spEnd = 0;
        std::int64_t record = 0; ///< the record's id
    };
    /// The translations into `targetField` of every record of the table, in one read: keyed by the
    /// text of the current index's field (the project language), the first record in the current
    /// order winning where several have the same text, records without that text left out. The
    /// filter is not applied, a pending insert or edit is not seen. The blank counts are read only
    /// for a record that wins and has a translation. Throws DbError when no index is selected, the
    /// field is unknown or a blank count is not a number.
    std::unordered_map<std::string, Translation> ReadTranslations(const std::string& targetField) const;
    /// As ReadTranslations, for the texts `keys` only: found[i] for keys[i], nothing where no
    /// record has exactly that text (or it is empty). Reads by key searches when the keys are few
    /// against the table, else in one scan; what it holds grows with the keys, not the table.
    std::vector<std::optional<Translation>>
    ReadTranslationsOf(const std::string& targetField, const std::vector<std::string_view>& keys) const;

    /// One record as ScanInOrder passes it: the asked fields by their place in the request, a
    /// NULL read as "" or 0 (as FieldAsString and FieldAsInteger read it).
    class OrderedRecord {
    public:
        virtual ~OrderedRecord() = default;
        virtual std::string Text(std::size_t field) const = 0;
        /// Throws DbError when the value is not a number.
        virtual long long Integer(std::size_t field) const = 0;
    };
    /// `fields` of every record in the order of the index on `orderField` (the one
    /// SetIndexFieldNames chooses), ties by record, in one read: what a walk from First() in that
    /// order reads, without moving the cursor or changing its order. The filter is not applied
    /// and a pending insert or edit is not seen; records a batch holds are stored first. Throws
    /// DbError for an unknown field or a field without an index.
    void ScanInOrder(const std::string& orderField, const std::vector<std::string>& fields,
                     const std::function<void(const OrderedRecord&)>& visit);

    /// One write of WriteByKey; the texts are views of the caller's, read during the call only.
    struct KeyedWrite {
        std::string_view key;      ///< the key field's text, byte for byte (no collation)
        std::string_view expected; ///< what the written field must still hold ("" also for NULL)
        std::string_view value;    ///< the new value ("" stores NULL)
        /// The record the caller read the key from (as Translation::record), 0 when unknown. While
        /// it still holds the key and the expected text it is written without a key search.
        std::int64_t record = 0;
    };
    /// How WriteByKey ended: the first `done` writes were made; when that is not all of them,
    /// the next one found no record (`missing`) or a record whose field holds something else.
    struct KeyedWriteResult {
        std::size_t done = 0;
        bool missing = false;
    };
    /// Writes `field` of records named by their text in `keyField`, each write to the record it
    /// names or else the first record in the order of the index on `keyField` whose text is exactly
    /// its key, in one pass with
    /// no post per record (the post hooks do not run). Stops at the first write whose record is
    /// missing or changed: inside the caller's transaction, which then has to roll back; without
    /// one, in one of its own that is then rolled back (nothing written). The view is read again
    /// when next used; the current record stays current. Throws DbError for an unknown field or
    /// a field without an index, TableError when the table cannot be written.
    KeyedWriteResult WriteByKey(const std::string& keyField, const std::string& field,
                                const std::vector<KeyedWrite>& writes);

    /// Key search on the current index (its first column and collation), among the records that
    /// pass the filter: true and the cursor on the first matching record in the current order, or
    /// false and the cursor unchanged. Throws DbError when no index is selected.
    bool FindKey(const std::string& key);

    /// Starts a new record; its fields hold the table's column defaults. Leaving the insert or
    /// edit state by moving the cursor posts a modified record and cancels an unmodified one.
    void Insert();
    /// Edits the current record (on an empty view: starts a new record instead).
    void Edit();
    void SetField(const std::string& field, const std::string& value);
    void SetFieldInt(const std::string& field, long long value);
    /// Stores the record; runs the before-post and after-post hooks around it. Afterwards the
    /// posted record is current: a new one (if it passes the filter) at its place in the current
    /// order; an edited one on the row it stood on, whatever its key now says, until the view is
    /// ordered (even by the same index), filtered or refreshed again. A record that no longer
    /// passes the filter leaves the view, and the one that followed it becomes current.
    /// A failure leaves the record in the insert or edit state.
    void Post();
    void Cancel();
    /// Deletes the current record; the cursor moves to the record that followed (after the last
    /// record: to the new last record, with Eof() true).
    void Delete();
    /// Deletes the records of the view whose `field` is empty (NULL or ""), in one statement and
    /// one transaction; returns how many went. A pending edit is posted first. The current record
    /// stays current when it is kept, otherwise the one that followed it (the last one when none
    /// did, with Eof() true).
    int DeleteEmpty(const std::string& field);
    TableState State() const;

    /// Groups writes: one transaction at a time. Rollback also drops a pending insert or edit.
    void BeginTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const;
    /// While another program holds the table a write waits for it, at most `timeoutMs`
    /// (kBusyTimeoutMs unless changed); then the write fails with TableError.
    void SetBusyTimeout(int timeoutMs);
    /// Called when such a wait begins, to tell the user (empty: nothing). While one is set, the
    /// wait also goes on as long as the other program keeps committing (a long command may wait
    /// for another one), the timeout counting from its last commit.
    void SetBusyNotice(std::function<void()> onWait);

    /// Batch of new records: from here until EndBatch, an inserted record that Post accepts (after
    /// the before-post hook) is held in memory; the held records are stored together, in key
    /// order, when anything but FindKey, Insert, SetField and Post touches the table (Commit
    /// included), or when many are held; the last one stored is then current. FindKey sees them
    /// (a key found among them leaves the cursor where it was). A record the table refuses then
    /// is left out and noted (TakeBatchFailures); a failure of the table itself is thrown by the
    /// call that stored the batch. Rollback drops the held records. With a filter on or a post
    /// hook set, records are stored at once, as without a batch.
    void BeginBatch();
    /// Stores what is held and ends the batch.
    void EndBatch();
    bool InBatch() const;
    /// Inserts posted since BeginBatch, stored or held.
    std::size_t BatchPosts() const;
    /// The records refused so far in this batch, in the order stored; the list is emptied.
    std::vector<BatchFailure> TakeBatchFailures();

    /// Rolls back on destruction unless committed.
    class Transaction {
    public:
        explicit Transaction(StringsTable& table);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void Commit();

    private:
        StringsTable& m_table;
        bool m_open;
    };

    void First();
    void Next();
    void Prior();
    void Last();
    /// Re-reads the table (after another program wrote to it); the current record stays current
    /// when it still exists and is visible.
    void Refresh();
    bool Eof() const;
    bool Bof() const;
    int RecordCount() const;
    int RecNo() const;
    void SetRecNo(int recNo);

    /// Filter: an expression of the form  Field = 'value'  (the value is bound, never pasted
    /// into SQL), the case-insensitive option, and a per-record test; both must pass while
    /// the filter is on. The value is everything between the first apostrophe after "=" and the
    /// last one, so apostrophes inside it need no doubling. An empty expression tests nothing;
    /// a malformed one throws DbError. The per-record test reads the record under test through
    /// FieldAsString/FieldAsInteger. A filter change keeps the current record when it stays
    /// visible, otherwise the first record becomes current.
    void SetFilter(const std::string& expression);
    void SetFilterCaseInsensitive(bool on);
    void SetFilterRecord(std::function<bool(const StringsTable&)> accept);
    void SetFiltered(bool on);
    bool Filtered() const;

    /// Hooks run by every Post (from the grid, commands and AddString alike). An exception from
    /// the before-post hook cancels the write.
    void SetBeforePost(std::function<void(StringsTable&)> hook);
    void SetAfterPost(std::function<void(StringsTable&)> hook);

    /// The current record's field (the edit buffer while inserting or editing). A NULL reads as
    /// "" or 0; an unknown field throws DbError. Setting "" stores NULL, as for an empty cell.
    std::string FieldAsString(const std::string& field) const;
    long long FieldAsInteger(const std::string& field) const;
    /// A field of any record of the view, without moving the cursor (for grid models).
    /// Rows are cached, so scrolling a grid over a large table stays cheap.
    std::string FieldAt(int recNo, const std::string& field) const;
    /// `field` of every record of the view, in view order (element i: record number i), read in
    /// one pass over the table: what FieldAt gives for each, without a read per record.
    std::vector<std::string> ColumnOfView(const std::string& field) const;

    /// The side tables of the same database (where used, review states); see side_store.h.
    SideStore& Side();

    /// Equal stamps taken at two moments mean nothing was written to the database in between, by
    /// this connection or another; nullopt when the backend cannot tell (assume it changed).
    std::optional<std::pair<long long, long long>> WriteStamp();

    /// Others' changes and the state of the connection, for a table shared on a server; null for
    /// a file, which tells nothing.
    TableNotifications* Notifications();

private:
    /// The columns the translation reads take: key, target, SpFront, SpEnd.
    std::vector<int> TranslationColumns(const std::string& targetField) const;

    std::unique_ptr<StringsTableBackend> m_backend;
    std::unique_ptr<TableCursor> m_cursor;
};

/// Files a text prepared by the filing rule (PrepareText): nothing is done when the key exists,
/// else a record is posted with the text, its blank counts and `projectName` (appended after ";"
/// to a Project default). The key search runs through the index selected by `field`'s name; the
/// table is switched to that order first when another one is current. True when a record was
/// posted (inside a batch: held, see BeginBatch).
bool AddString(StringsTable& table, const std::string& field, const PreparedText& text,
               const std::string& projectName);
/// The same for a raw text (UTF-8, blanks included), prepared here; for callers outside the
/// collectors, which prepare each text once themselves.
bool AddString(StringsTable& table, const std::string& field, std::string_view rawText,
               const std::string& projectName);

} // namespace wordloom
