#include "strings_db/row_id_list.h"

#include <algorithm>
#include <stdexcept>

namespace wordloom {

void RowIdList::Assign(const std::vector<RowId>& ids) {
    m_blocks.clear();
    for (std::size_t i = 0; i < ids.size(); i += kBlock) {
        auto begin = ids.begin() + static_cast<std::ptrdiff_t>(i);
        auto end = ids.begin() + static_cast<std::ptrdiff_t>(std::min(ids.size(), i + kBlock));
        m_blocks.emplace_back(begin, end);
    }
    m_size = ids.size();
    Dirty();
}

void RowIdList::Clear() {
    m_blocks.clear();
    m_size = 0;
    Dirty();
}

std::size_t RowIdList::BlockStart(std::size_t block) const {
    if (!m_startsValid) {
        m_starts.resize(m_blocks.size());
        std::size_t start = 0;
        for (std::size_t b = 0; b < m_blocks.size(); ++b) {
            m_starts[b] = start;
            start += m_blocks[b].size();
        }
        m_startsValid = true;
    }
    return m_starts[block];
}

std::pair<std::size_t, std::size_t> RowIdList::Locate(std::size_t index) const {
    if (index > m_size) {
        throw std::out_of_range("record number out of range");
    }
    if (m_blocks.empty()) {
        return {0, 0};
    }
    if (index == m_size) {
        return {m_blocks.size() - 1, m_blocks.back().size()};
    }
    BlockStart(0); // makes m_starts valid
    auto it = std::upper_bound(m_starts.begin(), m_starts.end(), index);
    std::size_t block = static_cast<std::size_t>(it - m_starts.begin()) - 1;
    return {block, index - m_starts[block]};
}

RowId RowIdList::At(std::size_t index) const {
    if (index >= m_size) {
        throw std::out_of_range("record number out of range");
    }
    auto [block, offset] = Locate(index);
    return m_blocks[block][offset];
}

void RowIdList::InsertAt(std::size_t index, RowId id) {
    if (m_blocks.empty()) {
        m_blocks.push_back({id});
        m_size = 1;
        Dirty();
        return;
    }
    auto [block, offset] = Locate(index);
    std::vector<RowId>& ids = m_blocks[block];
    ids.insert(ids.begin() + static_cast<std::ptrdiff_t>(offset), id);
    if (ids.size() > 2 * kBlock) {
        std::vector<RowId> tail(ids.begin() + static_cast<std::ptrdiff_t>(kBlock), ids.end());
        ids.resize(kBlock);
        m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(block) + 1, std::move(tail));
    }
    ++m_size;
    Dirty();
}

void RowIdList::EraseAt(std::size_t index) {
    if (index >= m_size) {
        throw std::out_of_range("record number out of range");
    }
    auto [block, offset] = Locate(index);
    std::vector<RowId>& ids = m_blocks[block];
    ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(offset));
    if (ids.empty()) {
        m_blocks.erase(m_blocks.begin() + static_cast<std::ptrdiff_t>(block));
    }
    --m_size;
    Dirty();
}

std::vector<RowId> RowIdList::All() const {
    std::vector<RowId> ids;
    ids.reserve(m_size);
    for (const std::vector<RowId>& block : m_blocks) {
        ids.insert(ids.end(), block.begin(), block.end());
    }
    return ids;
}

std::optional<std::size_t> RowIdList::Find(RowId id) const {
    std::size_t start = 0;
    for (const std::vector<RowId>& ids : m_blocks) {
        auto it = std::find(ids.begin(), ids.end(), id);
        if (it != ids.end()) {
            return start + static_cast<std::size_t>(it - ids.begin());
        }
        start += ids.size();
    }
    return std::nullopt;
}

} // namespace wordloom
