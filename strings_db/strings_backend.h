// The storage behind StringsTable: everything that depends on the database engine. The cursor
// (order, filter, record numbers, edit buffer) lives in TableCursor and talks only to this
// interface, so a second engine means a second implementation of it.
#pragma once

#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wordloom {

using RowId = std::int64_t;

struct Value {
    enum class Type { Null, Integer, Real, Text };
    Type type = Type::Null;
    std::int64_t integer = 0;
    double real = 0;
    std::string text;

    static Value Null() { return {}; }
    static Value OfText(std::string s) {
        Value v;
        v.type = Type::Text;
        v.text = std::move(s);
        return v;
    }
    static Value OfInteger(std::int64_t i) {
        Value v;
        v.type = Type::Integer;
        v.integer = i;
        return v;
    }
    bool IsNull() const { return type == Type::Null; }
};

/// One record's values in table order.
using Row = std::vector<Value>;

/// A record's values as a scan meets them; a column may be decoded only when asked for.
class RowView {
public:
    virtual ~RowView() = default;
    virtual const Value& Column(std::size_t column) const = 0;
    /// The record's id where the scan read it (ScanColumns does), else 0.
    virtual RowId Id() const { return 0; }
};

/// A RowView over values already read.
class RowRef : public RowView {
public:
    explicit RowRef(const Row& row) : m_row(row) {}
    const Value& Column(std::size_t column) const override { return m_row[column]; }

private:
    const Row& m_row;
};

/// One key column of an index: the engine's collation name and the direction.
struct OrderPart {
    int column = 0;
    std::string collation;
    bool descending = false;
};

/// An index as the schema defines it; an empty `parts` orders by record id.
struct IndexDef {
    std::string name;
    std::vector<OrderPart> parts;
};

/// The SQL side of a filter: column = value, optionally ignoring letter case.
struct FilterSpec {
    int column = 0;
    std::string value;
    bool caseInsensitive = false;
};

class StringsTableBackend {
public:
    virtual ~StringsTableBackend() = default;

    virtual const std::vector<FieldDef>& Fields() const = 0;
    virtual bool ReadOnly() const = 0;

    /// Index lookups; both throw DbError("Index not found: ...").
    virtual IndexDef IndexByName(const std::string& name) const = 0;
    virtual IndexDef IndexOnField(int column) const = 0;

    /// Every record id in the index's order, ties by record id.
    virtual std::vector<RowId> OrderedIds(const IndexDef& order) = 0;
    /// Calls `visit` for every record passing `filter` (all records when null); `row` is null
    /// unless `wantRows`, and valid only during the call.
    virtual void ScanFilter(const FilterSpec* filter, bool wantRows,
                            const std::function<void(RowId, const RowView*)>& visit) = 0;
    virtual bool Matches(RowId id, const FilterSpec& filter) = 0;
    /// Calls `visit` for every record in the index's order, ties by record id, in one statement;
    /// the view's column i is the record's column columns[i], valid only during the call.
    virtual void ScanColumns(const IndexDef& order, const std::vector<int>& columns,
                             const std::function<void(const RowView&)>& visit) = 0;
    /// Record ids whose first key column equals `key` under the index's collation, in order.
    virtual std::vector<RowId> FindKey(const IndexDef& order, const std::string& key) = 0;
    /// Compares two values as the engine orders them under `collation`.
    virtual int Compare(const Value& a, const Value& b, const std::string& collation) const = 0;
    /// `text` made comparable byte for byte: two texts compare under `collation` as their keys
    /// compare as bytes (equal exactly when the keys are equal).
    virtual std::string CollationKey(const std::string& text, const std::string& collation) const = 0;
    virtual RowId MaxId() = 0;
    /// True when the table holds no record.
    virtual bool Empty() = 0;
    /// A number that changes whenever another connection has committed a change to the table
    /// since the last call; this connection's own writes leave it alone.
    virtual long long ForeignChanges() = 0;
    /// A number that grows with every write of this connection (side tables included); -1 when the
    /// backend cannot tell.
    virtual long long OwnChanges() { return -1; }

    /// False when the record does not exist.
    virtual bool ReadRow(RowId id, Row& row) = 0;
    /// The values of the index's key columns, in the index's order; false when the record does
    /// not exist.
    virtual bool ReadKey(RowId id, const IndexDef& order, Row& key) = 0;
    /// A new record's values: the column defaults.
    virtual Row DefaultRow() = 0;
    /// True when the engine stores `row` exactly as given (no conversion by a column's declared
    /// type, nothing that rewrites a record on its way in), so a post need not read it back.
    virtual bool StoresAsGiven(const Row& row) const = 0;
    virtual RowId InsertRow(const Row& row) = 0;
    virtual void UpdateRow(RowId id, const Row& row) = 0;
    virtual void DeleteRow(RowId id) = 0;
    /// Deletes, in one statement and one transaction (the caller's, when one is open), those of
    /// `ids` whose `column` holds no text (NULL or empty); returns the ids deleted.
    virtual std::vector<RowId> DeleteEmpty(int column, const std::vector<RowId>& ids) = 0;

    /// Writes `column` of the records that `writes` name by their key, as StringsTable::WriteByKey
    /// describes, in the caller's transaction; each record is the first in `order` whose first key
    /// column holds exactly the write's key. Stops at the first write that finds no such record or
    /// one whose column no longer holds what is expected. By default one key search, read and
    /// update per write.
    virtual StringsTable::KeyedWriteResult WriteByKey(const IndexDef& order, int column,
                                                      const std::vector<StringsTable::KeyedWrite>& writes);

    virtual void Begin() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;
    virtual bool InTransaction() const = 0;
    /// How long a write waits for another connection's transaction (while that one makes no
    /// progress) before it fails with TableError.
    virtual void SetBusyTimeout(int timeoutMs) = 0;
    /// Called when such a wait begins (empty: nothing).
    virtual void SetBusyNotice(std::function<void()> onWait) = 0;

    /// The side tables on the same connection, so that their writes share the table's transactions.
    virtual SideStore& Side() = 0;

    /// Others' changes and the connection's state; null where the engine tells nothing (a file).
    virtual TableNotifications* Notifications() { return nullptr; }
};

} // namespace wordloom
