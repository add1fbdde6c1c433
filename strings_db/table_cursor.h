// The cursor behind StringsTable: the chosen order and filter, the list of visible records (built
// lazily, kept up to date one record at a time on post and delete), the current record, the edit
// buffer and the hooks. Engine-neutral: all storage goes through StringsTableBackend.
#pragma once

#include "strings_db/row_id_list.h"
#include "strings_db/strings_backend.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace wordloom {

class TableCursor {
public:
    /// `owner` is what the hooks and the per-record filter test receive.
    TableCursor(StringsTableBackend& backend, StringsTable& owner);
    ~TableCursor();
    TableCursor(const TableCursor&) = delete;
    TableCursor& operator=(const TableCursor&) = delete;

    const std::vector<FieldDef>& Fields() const { return m_backend.Fields(); }
    /// Index of a field by name (letter case ignored), or -1.
    int FieldIndex(const std::string& name) const;

    void SetIndexFieldNames(const std::string& field);
    void SetIndexName(const std::string& indexName);
    const std::string& IndexField() const { return m_indexField; }
    const std::string& IndexName() const { return m_order.name; }
    const std::string& IndexFieldNames() const { return m_indexFieldNames; }
    /// The current order's index (no parts: record id order).
    const IndexDef& Order() const { return m_order; }
    bool FindKey(const std::string& key);

    void Insert();
    void Edit();
    void SetValue(const std::string& field, Value value);
    void Post();
    void Cancel();
    void Delete();
    int DeleteEmpty(const std::string& field);
    TableState State() const { return m_state; }

    void BeginTransaction();
    void Commit();
    void Rollback();

    void BeginBatch();
    void EndBatch();
    bool InBatch() const { return m_batching; }
    std::size_t BatchPosts() const { return m_batchPosts; }
    std::vector<BatchFailure> TakeBatchFailures();

    /// The index SetIndexFieldNames(field) chooses; throws DbError as it does.
    IndexDef IndexForField(const std::string& field) const;
    /// Stores what a batch holds, for a read that goes past the cursor.
    void StoreHeld() const { FlushBatch(); }
    /// The backend's WriteByKey, in a transaction of its own when none is open (rolled back unless
    /// every write was made); afterwards the view is read again.
    StringsTable::KeyedWriteResult WriteByKey(const IndexDef& order, int column,
                                              const std::vector<StringsTable::KeyedWrite>& writes);

    void First();
    void Next();
    void Prior();
    void Last();
    void Refresh();
    bool Eof() const;
    bool Bof() const;
    int RecordCount() const;
    int RecNo() const;
    void SetRecNo(int recNo);

    void SetFilter(const std::string& expression);
    void SetFilterCaseInsensitive(bool on);
    void SetFilterRecord(std::function<bool(const StringsTable&)> accept);
    void SetFiltered(bool on);
    bool Filtered() const { return m_filtered; }

    void SetBeforePost(std::function<void(StringsTable&)> hook) { m_beforePost = std::move(hook); }
    void SetAfterPost(std::function<void(StringsTable&)> hook) { m_afterPost = std::move(hook); }

    const Value& CurrentValue(const std::string& field) const;
    const Value& ValueAt(int recNo, const std::string& field) const;
    std::vector<Value> ColumnOfView(const std::string& field) const;

private:
    int RequireField(const std::string& name) const;
    void RequireEditing() const;
    /// Leaving the insert or edit state by moving: post a modified record, drop an unmodified one.
    void CheckBrowseMode();
    void Invalidate() const;
    /// Stores the records held by the batch, in key order, inside one transaction.
    void FlushBatch() const;
    bool CanHold(const Row& row) const;
    bool HeldKey(const std::string& collationKey) const;
    /// Stops answering key searches from the keys the batch stored (see m_knownKeys).
    void ForgetKnownKeys() const;
    /// The collation key of the first key column's value, or nothing when that is no text.
    std::optional<std::string> StagedKey(const Row& row) const;
    void EnsureList() const;
    void EnsurePosition() const;
    void BuildList() const;
    void MoveTo(std::size_t pos) const;
    bool PassesFilter(RowId id, const Row& row);
    bool AcceptedByTest(const RowView& row) const;
    bool FilterActive() const { return m_filtered && (m_filterSpec || m_filterRecord); }

    /// A record's stored values through the row cache; null when the record is gone. The
    /// pointer lives until the next cache access.
    const Row* CachedRow(RowId id) const;
    /// A record's order key (the values of the index columns) through a cache of its own: the
    /// binary searches of posts and key searches read keys only, and meet the same block
    /// boundaries again and again. A held record answers with the key it is held under.
    const Row* CachedKey(RowId id) const;
    Row KeyOf(const Row& row) const;
    int CompareKeys(const Row& keyA, RowId idA, const Row& keyB, RowId idB) const;
    /// Where the record with this order key stands in the list, if it is there.
    std::optional<std::size_t> Locate(RowId id, const Row& key) const;
    std::size_t InsertPosition(RowId id, const Row& key) const;
    void Reposition(RowId id, bool inserted, const Row& stored);
    /// Orders again by the current index when records are held out of their place.
    void ReleaseHeld();

    StringsTableBackend& m_backend;
    StringsTable& m_owner;
    std::unordered_map<std::string, int> m_fieldIndex;      // lower-case names
    std::unordered_map<std::string, int> m_fieldIndexExact; // as the schema spells them

    IndexDef m_order; // no parts: record id order
    std::string m_indexField;
    std::string m_indexFieldNames;

    std::optional<FilterSpec> m_filterSpec;
    bool m_filterCaseInsensitive = false;
    std::function<bool(const StringsTable&)> m_filterRecord;
    bool m_filtered = false;

    std::function<void(StringsTable&)> m_beforePost;
    std::function<void(StringsTable&)> m_afterPost;

    // The view, built on demand; a const read may build it.
    mutable RowIdList m_list;
    mutable bool m_listValid = false;
    mutable bool m_building = false; // a filter test that moves the cursor would recurse
    mutable bool m_hasCurrent = false;
    mutable RowId m_current = 0;
    mutable bool m_positionKnown = false;
    mutable std::size_t m_position = 0;
    mutable bool m_eof = true;
    mutable bool m_bof = true;
    mutable std::unordered_map<RowId, Row> m_cache;
    mutable std::unordered_map<RowId, Row> m_keyCache;
    /// Records whose key a post changed stay on their row until the view is ordered or filtered
    /// again (or refreshed): each with the key under which it stands in the list, which so stays
    /// ordered for the binary searches.
    mutable std::unordered_map<RowId, Row> m_held;
    /// The record the per-record filter test is looking at, while it runs.
    mutable const RowView* m_probe = nullptr;

    // The batch: inserted records not yet stored, each with the number of its post, and the
    // collation keys (CollationKey) of their first key column, for the key search.
    struct StagedRow {
        Row row;
        std::size_t post;
    };
    bool m_batching = false;
    std::size_t m_batchPosts = 0;
    mutable std::vector<StagedRow> m_staged;
    mutable std::unordered_set<std::string> m_stagedKeys;
    mutable std::vector<BatchFailure> m_batchFailures;
    mutable bool m_flushing = false;
    // The records a batch stored into a table that was empty when the batch began, by the
    // collation key of the order's first column. While nothing else wrote to the table (other
    // connections: checked at every transaction begun in the batch; this one: any write outside
    // the batch forgets them), they are all the table holds, so a key search inside the transaction
    // is answered without the engine.
    enum class KnownKeys { Off, Unchecked, Valid };
    mutable KnownKeys m_knownState = KnownKeys::Off;
    mutable bool m_knownInTransaction = false;
    long long m_knownVersion = 0;
    mutable std::unordered_map<std::string, RowId> m_knownKeys;

    TableState m_state = TableState::Browse;
    Row m_buffer;
    Row m_original;
    bool m_modified = false;
    bool m_posting = false;
};

} // namespace wordloom
