// The set of texts a collect has already offered. Real projects offer the same few texts ("OK",
// "Cancel") hundreds of thousands of times, so a lookup should touch as little memory as possible:
// open addressing over one array of (hash, place) slots, the texts packed in one buffer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom {

class TextSet {
public:
    bool Contains(std::string_view text) const;
    /// Adds `text`; false when it was there already.
    bool Insert(std::string_view text);
    std::size_t Size() const { return m_size; }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t offset = 0;
        std::uint32_t length = kEmpty;
    };
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
    /// The slot holding `text`, or the empty one where it would go.
    std::size_t Find(std::string_view text, std::uint64_t hash) const;
    void Grow();

    std::vector<Slot> m_slots = std::vector<Slot>(1024); // a power of two
    std::string m_texts;
    std::size_t m_size = 0;
};

} // namespace wordloom
