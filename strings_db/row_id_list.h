// The cursor's ordered list of visible record ids, kept in blocks so that one record can be
// inserted or removed without moving a million ids.
#pragma once

#include "strings_db/strings_backend.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace wordloom {

class RowIdList {
public:
    void Assign(const std::vector<RowId>& ids);
    void Clear();
    std::size_t Size() const { return m_size; }
    RowId At(std::size_t index) const;
    void InsertAt(std::size_t index, RowId id);
    void EraseAt(std::size_t index);
    /// Every id, in list order.
    std::vector<RowId> All() const;
    /// Linear search, for when the order cannot tell where an id stands.
    std::optional<std::size_t> Find(RowId id) const;

    /// The first index whose id is not `before` the target, for a list ordered so that
    /// `before` holds for a prefix: a binary search over the blocks, then within one.
    template <class Before>
    std::size_t LowerBound(Before before) const {
        std::size_t lo = 0;
        std::size_t hi = m_blocks.size();
        while (lo < hi) {
            std::size_t mid = (lo + hi) / 2;
            if (before(m_blocks[mid].back())) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        if (lo == m_blocks.size()) {
            return m_size;
        }
        const std::vector<RowId>& block = m_blocks[lo];
        std::size_t first = 0;
        std::size_t last = block.size();
        while (first < last) {
            std::size_t mid = (first + last) / 2;
            if (before(block[mid])) {
                first = mid + 1;
            } else {
                last = mid;
            }
        }
        return BlockStart(lo) + first;
    }

private:
    static constexpr std::size_t kBlock = 1024;
    std::size_t BlockStart(std::size_t block) const;
    /// Block and offset of a list index; `index` may equal Size() (the end).
    std::pair<std::size_t, std::size_t> Locate(std::size_t index) const;
    void Dirty() { m_startsValid = false; }

    std::vector<std::vector<RowId>> m_blocks; // never an empty block
    std::size_t m_size = 0;
    mutable std::vector<std::size_t> m_starts;
    mutable bool m_startsValid = false;
};

} // namespace wordloom
