// A growable byte buffer whose new bytes are left uninitialised: file reads and the form
// converters write every byte they keep, so a zero fill would only cost time. Large buffers come
// straight from the system, with huge pages where it offers them: a buffer of megabytes then costs
// a few page faults instead of thousands, capacity never written costs no memory, and growing
// remaps the pages instead of copying them.
#pragma once

#include <cstddef>
#include <string_view>

namespace wordloom {

class ByteBuffer {
public:
    ByteBuffer() = default;
    /// An empty buffer with room for `capacity` bytes.
    explicit ByteBuffer(std::size_t capacity) { reserve(capacity); }
    ~ByteBuffer();
    ByteBuffer(ByteBuffer&& other) noexcept;
    ByteBuffer& operator=(ByteBuffer&& other) noexcept;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    char* data() { return m_data; }
    const char* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    std::size_t capacity() const { return m_capacity; }
    std::string_view view() const { return {m_data, m_size}; }

    /// Room for at least `capacity` bytes; the content stays. Throws std::bad_alloc.
    void reserve(std::size_t capacity);
    /// Sets the size; bytes beyond the old size are uninitialised. Growing beyond the capacity at
    /// least doubles it. Throws std::bad_alloc.
    void resize(std::size_t size);
    void clear() { m_size = 0; }

private:
    void Release();

    char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    bool m_mapped = false; // from mmap rather than malloc
};

} // namespace wordloom
