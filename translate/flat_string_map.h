// A map from byte strings to values for the lookups of a translation run: the keys in one
// growing block, their hashes in one open-addressed table, so that a search touches two places
// in memory instead of a chain of separately allocated nodes, and the whole map goes in a few
// frees. Values stay where they are for the map's life.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wordloom {

template <class Value>
class FlatStringMap {
public:
    /// The value of `key`, or nullptr.
    Value* Find(std::string_view key) {
        if (m_slots.empty())
            return nullptr;
        const std::uint64_t hash = Hash(key);
        for (std::size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            const Slot& slot = m_slots[i];
            if (slot.length == kEmpty)
                return nullptr;
            if (slot.hash == hash && KeyOf(slot) == key)
                return &m_values[slot.value];
        }
    }
    const Value* Find(std::string_view key) const { return const_cast<FlatStringMap*>(this)->Find(key); }

    /// The value of `key`, made from `value` when the key is new (left alone otherwise); and
    /// whether it was new.
    std::pair<Value*, bool> TryEmplace(std::string_view key, Value&& value) {
        if ((m_values.size() + 1) * 2 > m_slots.size())
            Grow(m_values.size() + 1);
        const std::uint64_t hash = Hash(key);
        std::size_t i = hash & Mask();
        for (; m_slots[i].length != kEmpty; i = (i + 1) & Mask()) {
            if (m_slots[i].hash == hash && KeyOf(m_slots[i]) == key)
                return {&m_values[m_slots[i].value], false};
        }
        m_slots[i] = {hash, m_keys.size(), static_cast<std::uint32_t>(key.size()),
                      static_cast<std::uint32_t>(m_values.size())};
        m_keys.append(key);
        m_values.push_back(std::move(value));
        return {&m_values.back(), true};
    }

    /// Room for `count` keys without growing.
    void Reserve(std::size_t count) {
        if (count * 2 > m_slots.size())
            Grow(count);
    }
    std::size_t Size() const { return m_values.size(); }

private:
    static constexpr std::uint32_t kEmpty = UINT32_MAX;
    struct Slot {
        std::uint64_t hash = 0;
        std::size_t offset = 0; ///< of the key in m_keys
        std::uint32_t length = kEmpty;
        std::uint32_t value = 0; ///< index in m_values
    };

    static std::uint64_t Hash(std::string_view key) { return std::hash<std::string_view>{}(key); }
    std::size_t Mask() const { return m_slots.size() - 1; }
    std::string_view KeyOf(const Slot& slot) const { return {m_keys.data() + slot.offset, slot.length}; }

    /// At most half full for `count` keys.
    void Grow(std::size_t count) {
        std::size_t size = 16;
        while (size < count * 2)
            size *= 2;
        std::vector<Slot> slots(size);
        for (const Slot& slot : m_slots) {
            if (slot.length == kEmpty)
                continue;
            std::size_t i = slot.hash & (size - 1);
            while (slots[i].length != kEmpty)
                i = (i + 1) & (size - 1);
            slots[i] = slot;
        }
        m_slots = std::move(slots);
    }

    std::vector<Slot> m_slots;
    std::string m_keys;
    std::deque<Value> m_values;
};

} // namespace wordloom
