#include "collect/text_set.h"

#include <functional>
#include <stdexcept>
#include <utility>

namespace wordloom {

std::size_t TextSet::Find(std::string_view text, std::uint64_t hash) const {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (slot.length == kEmpty ||
            (slot.hash == hash && std::string_view(m_texts).substr(slot.offset, slot.length) == text)) {
            return i;
        }
    }
}

bool TextSet::Contains(std::string_view text) const {
    return m_slots[Find(text, std::hash<std::string_view>{}(text))].length != kEmpty;
}

bool TextSet::Insert(std::string_view text) {
    const std::uint64_t hash = std::hash<std::string_view>{}(text);
    std::size_t i = Find(text, hash);
    if (m_slots[i].length != kEmpty) {
        return false;
    }
    if (m_texts.size() + text.size() >= kEmpty) {
        throw std::length_error("Too many texts in one collect");
    }
    if (2 * (m_size + 1) > m_slots.size()) { // at most half full: probes stay short
        Grow();
        i = Find(text, hash);
    }
    m_slots[i] = {hash, static_cast<std::uint32_t>(m_texts.size()), static_cast<std::uint32_t>(text.size())};
    m_texts.append(text);
    ++m_size;
    return true;
}

void TextSet::Grow() {
    std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(2 * m_slots.size()));
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.length == kEmpty) {
            continue;
        }
        std::size_t i = slot.hash & mask;
        while (m_slots[i].length != kEmpty) {
            i = (i + 1) & mask;
        }
        m_slots[i] = slot;
    }
}

} // namespace wordloom
