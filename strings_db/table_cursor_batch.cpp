// The cursor's transactions, its batch of held inserts and its keyed bulk writes.
#include "strings_db/scoped_flag.h"
#include "strings_db/table_cursor.h"

#include <algorithm>
#include <utility>

namespace wordloom {

// ---- transactions

void TableCursor::BeginTransaction() {
    CheckBrowseMode();
    FlushBatch();
    m_backend.Begin();
    if (m_knownState == KnownKeys::Off) {
        return;
    }
    try {
        const long long version = m_backend.ForeignChanges();
        if (m_knownState == KnownKeys::Unchecked) {
            if (m_backend.Empty()) {
                m_knownState = KnownKeys::Valid;
                m_knownVersion = version;
            } else {
                ForgetKnownKeys();
            }
        } else if (version != m_knownVersion) {
            ForgetKnownKeys(); // another connection wrote between our transactions
        }
        m_knownInTransaction = m_knownState == KnownKeys::Valid;
    } catch (const std::exception&) {
        ForgetKnownKeys(); // only costs the shortcut; the engine answers the key searches
    }
}

void TableCursor::Commit() {
    CheckBrowseMode();
    FlushBatch();
    m_knownInTransaction = false;
    m_backend.Commit();
}

void TableCursor::Rollback() {
    Cancel();
    ForgetKnownKeys();
    if (m_backend.InTransaction()) {
        m_staged.clear();
        m_stagedKeys.clear();
    } else {
        FlushBatch(); // held outside any transaction: nothing to roll back
    }
    m_backend.Rollback();
    // Records posted inside the transaction are gone again: the view is rebuilt when next used.
    m_cache.clear();
    Invalidate();
}

// ---- batch

void TableCursor::BeginBatch() {
    CheckBrowseMode();
    FlushBatch();
    m_batching = true;
    m_batchPosts = 0;
    m_batchFailures.clear();
    ForgetKnownKeys();
    // Inside a transaction already begun the table's state at its start is unknown here.
    if (!m_backend.InTransaction()) {
        m_knownState = KnownKeys::Unchecked;
    }
}

void TableCursor::EndBatch() {
    CheckBrowseMode();
    m_batching = false;
    FlushBatch();
    ForgetKnownKeys();
}

std::vector<BatchFailure> TableCursor::TakeBatchFailures() {
    return std::exchange(m_batchFailures, {});
}

bool TableCursor::CanHold(const Row& row) const {
    // A held record must be found by key exactly as the stored one would be: so only with a key
    // index, no filter that would have to test it, and values the engine keeps as they are. A
    // table that refuses every write says so at the first post. Post hooks read the view, which
    // would store each record at the next post anyway, and expect to run around each one.
    return !m_order.parts.empty() && !FilterActive() && !m_backend.ReadOnly() && !m_beforePost &&
           !m_afterPost && m_backend.StoresAsGiven(row);
}

std::optional<std::string> TableCursor::StagedKey(const Row& row) const {
    const OrderPart& part = m_order.parts.front();
    const Value& value = row[static_cast<std::size_t>(part.column)];
    if (value.type != Value::Type::Text) {
        return std::nullopt;
    }
    return m_backend.CollationKey(value.text, part.collation);
}

bool TableCursor::HeldKey(const std::string& collationKey) const {
    return m_stagedKeys.contains(collationKey);
}

void TableCursor::ForgetKnownKeys() const {
    m_knownState = KnownKeys::Off;
    m_knownInTransaction = false;
    m_knownKeys.clear();
}

void TableCursor::FlushBatch() const {
    if (m_staged.empty() || m_flushing) {
        return;
    }
    ScopedFlag flushing(m_flushing);
    std::vector<StagedRow> staged = std::exchange(m_staged, {});
    m_stagedKeys.clear();
    // In key order, as the key index wants them: each insert then lands next to the one before.
    // (The order only saves work: the table orders its records itself.)
    std::vector<std::pair<std::string, std::size_t>> order;
    order.reserve(staged.size());
    for (std::size_t i = 0; i < staged.size(); ++i) {
        order.emplace_back(StagedKey(staged[i].row).value_or(std::string()), i);
    }
    std::sort(order.begin(), order.end());
    std::vector<RowId> stored;
    stored.reserve(staged.size());
    std::vector<std::size_t> storedOrder; // which entry of `order` each stored record is
    storedOrder.reserve(m_knownState == KnownKeys::Valid ? staged.size() : 0);
    const bool own = !m_backend.InTransaction();
    if (own) {
        m_backend.Begin();
    }
    try {
        for (std::size_t n = 0; n < order.size(); ++n) {
            const std::size_t i = order[n].second;
            try {
                stored.push_back(m_backend.InsertRow(staged[i].row));
                // A record without a text key is found by no key search.
                const auto keyColumn = static_cast<std::size_t>(m_order.parts.front().column);
                if (m_knownState == KnownKeys::Valid && staged[i].row[keyColumn].type == Value::Type::Text) {
                    storedOrder.push_back(n);
                }
            } catch (const TableError&) {
                throw;
            } catch (const DbError& error) {
                m_batchFailures.push_back({staged[i].post, error.what()});
            }
        }
        if (own) {
            m_backend.Commit();
        }
    } catch (...) {
        ForgetKnownKeys(); // what was stored may be rolled back
        if (own) {
            m_backend.Rollback();
        }
        throw;
    }
    if (m_knownState == KnownKeys::Valid) {
        for (std::size_t k = 0; k < storedOrder.size(); ++k) {
            // The first stored wins, as the engine's search lists ties by record id.
            m_knownKeys.try_emplace(std::move(order[storedOrder[k]].first), stored[k]);
        }
    }
    if (stored.empty()) {
        return;
    }
    // Cheaper to read the view again than to place thousands of records one by one. The last
    // record stored is current, as after posting them one by one.
    if (m_listValid) {
        Invalidate();
    }
    m_current = stored.back();
    m_hasCurrent = true;
    m_positionKnown = false;
    m_eof = m_bof = false;
}

// ---- keyed writes

StringsTable::KeyedWriteResult TableCursor::WriteByKey(const IndexDef& order, int column,
                                                       const std::vector<StringsTable::KeyedWrite>& writes) {
    CheckBrowseMode();
    FlushBatch();
    ForgetKnownKeys(); // a write to the order's key column would leave them wrong
    const bool own = !m_backend.InTransaction();
    if (own) {
        m_backend.Begin();
    }
    StringsTable::KeyedWriteResult result;
    try {
        result = m_backend.WriteByKey(order, column, writes);
        if (own && result.done == writes.size()) {
            m_backend.Commit();
        } else if (own) {
            m_backend.Rollback();
        }
    } catch (...) {
        m_cache.clear();
        Invalidate();
        if (own) {
            m_backend.Rollback();
        }
        throw;
    }
    m_cache.clear();
    Invalidate();
    return result;
}

} // namespace wordloom
