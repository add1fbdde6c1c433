#include "strings_db/table_cursor.h"
#include "base/ui_text.h"
#include "strings_db/scoped_flag.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace wordloom {

namespace {

constexpr std::size_t kCacheLimit = 4096;
constexpr std::size_t kKeyCacheLimit = 65536;
// Held records of a batch beyond this many are stored without waiting for the commit.
constexpr std::size_t kBatchLimit = 65536;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return s;
}

std::string Trim(const std::string& s) {
    std::size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string::npos) {
        return {};
    }
    return s.substr(begin, s.find_last_not_of(" \t") - begin + 1);
}

/// Restores the probe pointer even when the filter test throws.
class ProbeGuard {
public:
    ProbeGuard(const RowView*& probe, const RowView& row) : m_probe(probe), m_saved(probe) { m_probe = &row; }
    ~ProbeGuard() { m_probe = m_saved; }
    ProbeGuard(const ProbeGuard&) = delete;
    ProbeGuard& operator=(const ProbeGuard&) = delete;

private:
    const RowView*& m_probe;
    const RowView* m_saved;
};

/// Membership of record ids: a bitmap while ids are dense, a hash set otherwise.
class IdSet {
public:
    IdSet(RowId maxId, std::size_t count) {
        if (maxId >= 0 && static_cast<std::size_t>(maxId) <= 8 * count + (1u << 20)) {
            m_bits.resize(static_cast<std::size_t>(maxId) + 1);
        } else {
            m_dense = false;
        }
    }
    void Add(RowId id) {
        if (m_dense && id >= 0 && static_cast<std::size_t>(id) < m_bits.size()) {
            m_bits[static_cast<std::size_t>(id)] = true;
        } else {
            m_sparse.insert(id);
        }
    }
    bool Has(RowId id) const {
        if (m_dense && id >= 0 && static_cast<std::size_t>(id) < m_bits.size() &&
            m_bits[static_cast<std::size_t>(id)]) {
            return true;
        }
        return !m_sparse.empty() && m_sparse.count(id) != 0;
    }

private:
    bool m_dense = true;
    std::vector<bool> m_bits;
    std::unordered_set<RowId> m_sparse;
};

const Value kNull;

} // namespace

TableCursor::~TableCursor() {
    try {
        FlushBatch(); // held records are posted ones: store them as a post would have
    } catch (...) {   // a destructor must not throw; whoever needs to know ends the batch first
    }
}

TableCursor::TableCursor(StringsTableBackend& backend, StringsTable& owner)
    : m_backend(backend), m_owner(owner) {
    const std::vector<FieldDef>& fields = m_backend.Fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        m_fieldIndex.emplace(Lower(fields[i].name), static_cast<int>(i));
        m_fieldIndexExact.emplace(fields[i].name, static_cast<int>(i));
    }
}

int TableCursor::FieldIndex(const std::string& name) const {
    if (auto exact = m_fieldIndexExact.find(name); exact != m_fieldIndexExact.end()) {
        return exact->second;
    }
    auto it = m_fieldIndex.find(Lower(name));
    return it == m_fieldIndex.end() ? -1 : it->second;
}

int TableCursor::RequireField(const std::string& name) const {
    int index = FieldIndex(name);
    if (index < 0) {
        throw DbError(FillIn(WL_TR("StringsTable", "Field '%1' not found"), {name}));
    }
    return index;
}

void TableCursor::RequireEditing() const {
    if (m_state == TableState::Browse) {
        throw DbError(WL_TR("StringsTable", "Strings table not in edit or insert mode"));
    }
}

void TableCursor::CheckBrowseMode() {
    if (m_state == TableState::Browse || m_posting) {
        return;
    }
    if (m_modified) {
        Post();
    } else {
        Cancel();
    }
}

// ---- order and key search

IndexDef TableCursor::IndexForField(const std::string& field) const {
    const int column = FieldIndex(field);
    if (column < 0) {
        throw DbError(FillIn(WL_TR("StringsTable", "Index not found: %1"), {field}));
    }
    return m_backend.IndexOnField(column);
}

void TableCursor::SetIndexFieldNames(const std::string& field) {
    IndexDef order = IndexForField(field);
    const int column = order.parts.at(0).column;
    CheckBrowseMode();
    FlushBatch();
    bool same = order.name == m_order.name;
    if (!same) {
        ForgetKnownKeys(); // they are keys of the old order's column
    }
    m_indexField = Fields()[static_cast<std::size_t>(column)].name;
    m_indexFieldNames = field;
    if (!same) {
        m_order = std::move(order);
        Invalidate();
    } else {
        ReleaseHeld();
    }
}

void TableCursor::SetIndexName(const std::string& indexName) {
    IndexDef order = m_backend.IndexByName(indexName);
    CheckBrowseMode();
    FlushBatch();
    m_indexField =
        order.parts.empty() ? std::string() : Fields()[static_cast<std::size_t>(order.parts[0].column)].name;
    m_indexFieldNames.clear();
    if (order.name != m_order.name) {
        ForgetKnownKeys();
        m_order = std::move(order);
        Invalidate();
    } else {
        ReleaseHeld();
    }
}

void TableCursor::ReleaseHeld() {
    if (!m_held.empty()) {
        Invalidate();
    }
}

bool TableCursor::FindKey(const std::string& key) {
    CheckBrowseMode();
    if (m_order.parts.empty()) {
        throw DbError(WL_TR("StringsTable", "No index selected for the key search"));
    }
    if (m_knownInTransaction && !FilterActive() && m_backend.InTransaction()) {
        std::string collationKey = m_backend.CollationKey(key, m_order.parts.front().collation);
        if (const auto known = m_knownKeys.find(collationKey); known != m_knownKeys.end()) {
            m_current = known->second;
            m_hasCurrent = true;
            m_positionKnown = false;
            m_eof = m_bof = false;
            return true;
        }
        return HeldKey(collationKey);
    }
    for (RowId id : m_backend.FindKey(m_order, key)) {
        if (FilterActive()) {
            const Row* row = CachedRow(id);
            if (!row) {
                continue;
            }
            Row copy = *row;
            if (!PassesFilter(id, copy)) {
                continue;
            }
        }
        // Only the id is known; the record number is worked out when someone asks for it.
        m_current = id;
        m_hasCurrent = true;
        m_positionKnown = false;
        m_eof = m_bof = false;
        return true;
    }
    return !m_stagedKeys.empty() && HeldKey(m_backend.CollationKey(key, m_order.parts.front().collation));
}

// ---- the view

void TableCursor::Invalidate() const {
    m_keyCache.clear();
    m_held.clear();
    m_listValid = false;
    m_positionKnown = false;
    m_list.Clear();
}

void TableCursor::BuildList() const {
    std::vector<RowId> ids = m_backend.OrderedIds(m_order);
    if (FilterActive() && !ids.empty()) {
        // One pass for the filter (through an index where the engine has one), then keep the
        // ordered ids that passed: no sort of the whole table.
        IdSet passed(*std::max_element(ids.begin(), ids.end()), ids.size());
        m_backend.ScanFilter(m_filterSpec ? &*m_filterSpec : nullptr, static_cast<bool>(m_filterRecord),
                             [&](RowId id, const RowView* row) {
                                 if (!m_filterRecord || AcceptedByTest(*row)) {
                                     passed.Add(id);
                                 }
                             });
        std::erase_if(ids, [&](RowId id) { return !passed.Has(id); });
    }
    m_list.Assign(ids);
}

void TableCursor::EnsureList() const {
    FlushBatch();
    if (m_listValid) {
        return;
    }
    if (m_building) {
        throw DbError(WL_TR("StringsTable", "The filter test cannot move through the strings table"));
    }
    ScopedFlag building(m_building);
    BuildList();
    m_listValid = true;
    m_positionKnown = false;
    EnsurePosition();
}

void TableCursor::EnsurePosition() const {
    EnsureList();
    if (m_positionKnown) {
        return;
    }
    if (m_hasCurrent) {
        if (const Row* key = CachedKey(m_current)) {
            Row keyCopy = *key;
            if (auto pos = Locate(m_current, keyCopy)) {
                m_position = *pos;
                m_positionKnown = true;
                m_eof = m_bof = false;
                return;
            }
        }
    }
    // The current record left the view (or there was none yet): start at the first one.
    MoveTo(0);
    m_bof = true;
    m_eof = m_list.Size() == 0;
}

void TableCursor::MoveTo(std::size_t pos) const {
    m_positionKnown = true;
    if (m_list.Size() == 0) {
        m_position = 0;
        m_hasCurrent = false;
        return;
    }
    m_position = std::min(pos, m_list.Size() - 1);
    m_current = m_list.At(m_position);
    m_hasCurrent = true;
}

const Row* TableCursor::CachedRow(RowId id) const {
    auto it = m_cache.find(id);
    if (it != m_cache.end()) {
        return &it->second;
    }
    Row row;
    if (!m_backend.ReadRow(id, row)) {
        return nullptr;
    }
    if (m_cache.size() >= kCacheLimit) {
        m_cache.clear();
    }
    return &m_cache.emplace(id, std::move(row)).first->second;
}

const Row* TableCursor::CachedKey(RowId id) const {
    if (auto held = m_held.find(id); held != m_held.end()) {
        return &held->second;
    }
    auto it = m_keyCache.find(id);
    if (it != m_keyCache.end()) {
        return &it->second;
    }
    Row key;
    if (!m_backend.ReadKey(id, m_order, key)) {
        return nullptr;
    }
    if (m_keyCache.size() >= kKeyCacheLimit) {
        m_keyCache.clear();
    }
    return &m_keyCache.emplace(id, std::move(key)).first->second;
}

Row TableCursor::KeyOf(const Row& row) const {
    Row key;
    for (const OrderPart& part : m_order.parts) {
        key.push_back(row[static_cast<std::size_t>(part.column)]);
    }
    return key;
}

int TableCursor::CompareKeys(const Row& keyA, RowId idA, const Row& keyB, RowId idB) const {
    for (std::size_t i = 0; i < m_order.parts.size(); ++i) {
        const OrderPart& part = m_order.parts[i];
        int c = m_backend.Compare(keyA[i], keyB[i], part.collation);
        if (c != 0) {
            return part.descending ? -c : c;
        }
    }
    return idA == idB ? 0 : (idA < idB ? -1 : 1);
}

std::size_t TableCursor::InsertPosition(RowId id, const Row& key) const {
    return m_list.LowerBound([&](RowId other) {
        if (other == id) {
            return false; // while a post moves it, its stored values are already the new ones
        }
        const Row* otherKey = CachedKey(other);
        // A record that vanished behind our back sorts first; the search stays well defined.
        return !otherKey || CompareKeys(*otherKey, other, key, id) < 0;
    });
}

std::optional<std::size_t> TableCursor::Locate(RowId id, const Row& key) const {
    std::size_t pos = InsertPosition(id, key);
    if (pos < m_list.Size() && m_list.At(pos) == id) {
        return pos;
    }
    return m_list.Find(id);
}

bool TableCursor::AcceptedByTest(const RowView& row) const {
    ProbeGuard guard(m_probe, row);
    return m_filterRecord(m_owner);
}

bool TableCursor::PassesFilter(RowId id, const Row& row) {
    if (!FilterActive()) {
        return true;
    }
    if (m_filterSpec && !m_backend.Matches(id, *m_filterSpec)) {
        return false;
    }
    return !m_filterRecord || AcceptedByTest(RowRef(row));
}

// ---- walking

void TableCursor::First() {
    CheckBrowseMode();
    EnsureList();
    MoveTo(0);
    m_bof = true;
    m_eof = m_list.Size() == 0;
}

void TableCursor::Last() {
    CheckBrowseMode();
    EnsureList();
    MoveTo(m_list.Size() == 0 ? 0 : m_list.Size() - 1);
    m_eof = true;
    m_bof = m_list.Size() == 0;
}

void TableCursor::Next() {
    CheckBrowseMode();
    EnsurePosition();
    if (m_list.Size() != 0 && m_position + 1 < m_list.Size()) {
        MoveTo(m_position + 1);
        m_eof = false;
    } else {
        m_eof = true;
    }
    m_bof = false;
}

void TableCursor::Prior() {
    CheckBrowseMode();
    EnsurePosition();
    if (m_list.Size() != 0 && m_position > 0) {
        MoveTo(m_position - 1);
        m_bof = false;
    } else {
        m_bof = true;
    }
    m_eof = false;
}

void TableCursor::Refresh() {
    CheckBrowseMode();
    FlushBatch();
    m_cache.clear();
    Invalidate();
}

bool TableCursor::Eof() const {
    EnsureList();
    return m_eof;
}

bool TableCursor::Bof() const {
    EnsureList();
    return m_bof;
}

int TableCursor::RecordCount() const {
    EnsureList();
    return static_cast<int>(m_list.Size());
}

int TableCursor::RecNo() const {
    EnsurePosition();
    return m_hasCurrent ? static_cast<int>(m_position) : 0;
}

void TableCursor::SetRecNo(int recNo) {
    CheckBrowseMode();
    EnsureList();
    if (m_list.Size() == 0) {
        return;
    }
    MoveTo(static_cast<std::size_t>(std::max(recNo, 0)));
    m_eof = m_bof = false;
}

// ---- filter

void TableCursor::SetFilter(const std::string& expression) {
    std::optional<FilterSpec> spec;
    std::string text = Trim(expression);
    if (!text.empty()) {
        // Field = 'value': the value runs to the last apostrophe, so a name such as O'Neil needs
        // no quoting by the caller and is bound as a parameter, never pasted into SQL.
        std::size_t equals = text.find('=');
        std::size_t open = equals == std::string::npos ? equals : text.find_first_not_of(" \t", equals + 1);
        if (equals == std::string::npos || open == std::string::npos || text[open] != '\'' ||
            text.back() != '\'' || text.size() - 1 == open) {
            throw DbError(FillIn(WL_TR("StringsTable", "Invalid filter expression: %1"), {expression}));
        }
        int column = FieldIndex(Trim(text.substr(0, equals)));
        if (column < 0) {
            throw DbError(
                FillIn(WL_TR("StringsTable", "Invalid filter expression: %1 (no such field)"), {expression}));
        }
        spec = FilterSpec{column, text.substr(open + 1, text.size() - open - 2), m_filterCaseInsensitive};
    }
    CheckBrowseMode();
    FlushBatch();
    m_filterSpec = std::move(spec);
    if (m_filtered) {
        Invalidate();
    }
}

void TableCursor::SetFilterCaseInsensitive(bool on) {
    CheckBrowseMode();
    FlushBatch();
    m_filterCaseInsensitive = on;
    if (m_filterSpec && m_filterSpec->caseInsensitive != on) {
        m_filterSpec->caseInsensitive = on;
        if (m_filtered) {
            Invalidate();
        }
    }
}

void TableCursor::SetFilterRecord(std::function<bool(const StringsTable&)> accept) {
    CheckBrowseMode();
    FlushBatch();
    m_filterRecord = std::move(accept);
    if (m_filtered) {
        Invalidate();
    }
}

void TableCursor::SetFiltered(bool on) {
    CheckBrowseMode();
    FlushBatch();
    if (on != m_filtered) {
        m_filtered = on;
        Invalidate();
    }
}

// ---- editing

void TableCursor::Insert() {
    CheckBrowseMode();
    m_buffer = m_backend.DefaultRow();
    m_state = TableState::Insert;
    m_modified = false;
}

void TableCursor::Edit() {
    if (m_state != TableState::Browse) {
        return;
    }
    EnsureList();
    if (!m_hasCurrent) {
        Insert();
        return;
    }
    const Row* row = CachedRow(m_current);
    if (!row) {
        throw DbError(WL_TR("StringsTable", "The current record no longer exists"));
    }
    m_original = *row;
    m_buffer = *row;
    m_state = TableState::Edit;
    m_modified = false;
}

void TableCursor::SetValue(const std::string& field, Value value) {
    int column = RequireField(field);
    RequireEditing();
    if (value.type == Value::Type::Text && value.text.empty()) {
        value = Value::Null(); // an emptied cell holds no text, as a grid leaves it
    }
    m_buffer[static_cast<std::size_t>(column)] = std::move(value);
    m_modified = true;
}

void TableCursor::Cancel() {
    m_state = TableState::Browse;
    m_buffer.clear();
    m_original.clear();
    m_modified = false;
}

void TableCursor::Post() {
    if (m_state == TableState::Browse || m_posting) {
        return;
    }
    {
        ScopedFlag posting(m_posting);
        if (m_beforePost) {
            m_beforePost(m_owner);
            if (m_state == TableState::Browse) {
                return; // the hook cancelled the record
            }
        }
        bool inserted = m_state == TableState::Insert;
        if (inserted && m_batching) {
            if (CanHold(m_buffer)) {
                if (std::optional<std::string> key = StagedKey(m_buffer)) {
                    m_stagedKeys.insert(std::move(*key));
                }
                m_staged.push_back({std::move(m_buffer), m_batchPosts++});
                Cancel();
                if (m_staged.size() >= kBatchLimit) {
                    FlushBatch();
                }
                return; // stored with its batch
            }
            // Stored now, so the held ones go first: the table receives the records in post order.
            FlushBatch();
        }
        ForgetKnownKeys(); // a record stored outside the batch
        RowId id = m_current;
        if (inserted) {
            id = m_backend.InsertRow(m_buffer);
            m_batchPosts += m_batching ? 1 : 0;
        } else {
            m_backend.UpdateRow(id, m_buffer);
        }
        m_cache.erase(id);
        m_keyCache.erase(id);
        // The order key must be exactly what a rebuilt view would see: read back what the engine
        // stored when it may have converted a value (type affinity), else the buffer is it.
        Row readBack;
        bool asGiven = m_backend.StoresAsGiven(m_buffer);
        if (!asGiven && !m_backend.ReadRow(id, readBack)) {
            asGiven = true;
        }
        Reposition(id, inserted, asGiven ? m_buffer : readBack);
        Cancel();
    }
    if (m_afterPost) {
        m_afterPost(m_owner);
    }
}

void TableCursor::Reposition(RowId id, bool inserted, const Row& stored) {
    bool visible = PassesFilter(id, stored);
    if (!m_listValid) {
        if (visible) {
            m_current = id;
            m_hasCurrent = true;
            m_positionKnown = false;
        }
        return;
    }
    std::optional<std::size_t> listedAt;
    Row listedKey;
    if (!inserted) {
        const auto held = m_held.find(id);
        listedKey = held != m_held.end() ? held->second : KeyOf(m_original);
        listedAt = Locate(id, listedKey);
    }
    if (visible && listedAt) {
        // An edited record keeps its row, as in a spreadsheet: moving it to its new place in the
        // order would shift the rows under the user's cursor, and the next text typed would land
        // on a record the user never looked at. It stays under the key it stood by (kept only
        // while that differs from the stored one) until the view is ordered or filtered again.
        if (CompareKeys(KeyOf(stored), id, listedKey, id) == 0) {
            m_held.erase(id);
        } else {
            m_held.insert_or_assign(id, std::move(listedKey));
        }
        MoveTo(*listedAt);
        m_eof = m_bof = false;
    } else if (visible) {
        std::size_t pos = InsertPosition(id, KeyOf(stored));
        m_list.InsertAt(pos, id);
        MoveTo(pos);
        m_eof = m_bof = false;
    } else if (listedAt) {
        // The edited record left the view: the one that followed it becomes current.
        m_list.EraseAt(*listedAt);
        m_held.erase(id);
        MoveTo(*listedAt);
        m_eof = m_list.Size() == 0 || *listedAt >= m_list.Size();
    } else if (!inserted) {
        m_positionKnown = false;
    }
}

void TableCursor::Delete() {
    if (m_state == TableState::Insert) {
        Cancel();
        return;
    }
    Cancel();
    EnsurePosition();
    if (!m_hasCurrent) {
        throw DbError(WL_TR("StringsTable", "Cannot perform this operation on an empty dataset"));
    }
    ForgetKnownKeys();
    m_backend.DeleteRow(m_current);
    m_cache.erase(m_current);
    m_keyCache.erase(m_current);
    m_held.erase(m_current);
    std::size_t pos = m_position;
    m_list.EraseAt(pos);
    MoveTo(pos);
    m_eof = m_list.Size() == 0 || pos >= m_list.Size();
    m_bof = m_list.Size() == 0;
}

int TableCursor::DeleteEmpty(const std::string& field) {
    int column = RequireField(field);
    CheckBrowseMode();
    EnsurePosition();
    std::vector<RowId> ids = m_list.All();
    ForgetKnownKeys();
    std::vector<RowId> deleted = m_backend.DeleteEmpty(column, ids);
    if (deleted.empty()) {
        return 0;
    }
    std::unordered_set<RowId> gone(deleted.begin(), deleted.end());
    for (RowId id : deleted) {
        m_cache.erase(id);
        m_keyCache.erase(id);
        m_held.erase(id);
    }
    // The current record stays current when kept; otherwise the first kept one after it.
    const std::size_t oldPosition = m_hasCurrent ? m_position : 0;
    std::size_t newPosition = 0;
    std::vector<RowId> kept;
    kept.reserve(ids.size() - gone.size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i == oldPosition) {
            newPosition = kept.size();
        }
        if (!gone.contains(ids[i])) {
            kept.push_back(ids[i]);
        }
    }
    m_list.Assign(kept);
    MoveTo(newPosition);
    m_eof = kept.empty() || newPosition >= kept.size();
    m_bof = kept.empty();
    return static_cast<int>(deleted.size());
}

// ---- values

const Value& TableCursor::CurrentValue(const std::string& field) const {
    auto column = static_cast<std::size_t>(RequireField(field));
    if (m_probe) {
        return m_probe->Column(column);
    }
    if (m_state != TableState::Browse) {
        return m_buffer[column];
    }
    EnsureList();
    if (!m_hasCurrent) {
        return kNull;
    }
    const Row* row = CachedRow(m_current);
    return row ? (*row)[column] : kNull;
}

const Value& TableCursor::ValueAt(int recNo, const std::string& field) const {
    auto column = static_cast<std::size_t>(RequireField(field));
    EnsureList();
    if (recNo < 0 || static_cast<std::size_t>(recNo) >= m_list.Size()) {
        throw DbError(
            FillIn(WL_TR("StringsTable", "Record number %1 out of range"), {std::to_string(recNo)}));
    }
    const Row* row = CachedRow(m_list.At(static_cast<std::size_t>(recNo)));
    return row ? (*row)[column] : kNull;
}

std::vector<Value> TableCursor::ColumnOfView(const std::string& field) const {
    const auto column = static_cast<std::size_t>(RequireField(field));
    EnsureList();
    // One scan in storage order into a table by record id, then the view's order.
    std::vector<Value> byId;
    m_backend.ScanFilter(nullptr, true, [&](RowId id, const RowView* row) {
        const auto at = static_cast<std::size_t>(id);
        if (at >= byId.size()) {
            byId.resize(std::max(at + 1, byId.size() * 2));
        }
        byId[at] = row->Column(column);
    });
    std::vector<Value> values;
    values.reserve(m_list.Size());
    for (std::size_t i = 0; i < m_list.Size(); ++i) {
        const auto id = static_cast<std::size_t>(m_list.At(i));
        values.push_back(id < byId.size() ? std::move(byId[id]) : Value());
    }
    return values;
}

} // namespace wordloom
