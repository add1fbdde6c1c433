// An append-only output buffer for the form converters: appends are a pointer compare and a copy,
// without a container's per-append bookkeeping. Writes into a std::string or a ByteBuffer.
#pragma once

#include "base/byte_buffer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace wordloom::detail {

/// The container a ByteSink fills, replacing its content.
class SinkTarget {
public:
    SinkTarget(std::string& target) : m_string(&target) {}
    SinkTarget(ByteBuffer& target) : m_buffer(&target) {}

private:
    friend class ByteSink;
    std::string* m_string = nullptr;
    ByteBuffer* m_buffer = nullptr;
};

class ByteSink {
public:
    /// Writes into target, replacing its content; Finish() sets its final size. sizeHint is a guess
    /// of the output size (the buffer grows as needed). A ByteBuffer is not zero-filled, and what
    /// of a generous guess is never written costs it nothing.
    ByteSink(SinkTarget target, std::size_t sizeHint) : m_target(target) {
        Reserve(0, std::max<std::size_t>(sizeHint, 256));
    }
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    void push_back(char c) {
        if (m_pos == m_end)
            Grow(1);
        *m_pos++ = c;
    }
    void append(const char* data, std::size_t count) {
        if (std::size_t(m_end - m_pos) < count)
            Grow(count);
        Copy(m_pos, data, count);
        m_pos += count;
    }
    void append(const char* first, const char* last) { append(first, std::size_t(last - first)); }
    void append(std::string_view text) { append(text.data(), text.size()); }
    void append(std::size_t count, char c) {
        if (std::size_t(m_end - m_pos) < count)
            Grow(count);
        std::memset(m_pos, c, count);
        m_pos += count;
    }
    /// Room for count bytes at the end, to be written through the returned pointer.
    char* Claim(std::size_t count) {
        if (std::size_t(m_end - m_pos) < count)
            Grow(count);
        char* p = m_pos;
        m_pos += count;
        return p;
    }

    std::size_t size() const { return std::size_t(m_pos - m_begin); }
    char* data() { return m_begin; }
    /// Drops everything after the first size bytes.
    void Truncate(std::size_t size) { m_pos = m_begin + size; }
    void Finish() {
        if (m_target.m_string != nullptr)
            m_target.m_string->resize(size());
        else
            m_target.m_buffer->resize(size());
    }

private:
    // Most pieces are a few bytes (names, indentation, numbers). Left to itself the compiler
    // expands a copy whose size it knows to be below 256 into a slow "rep movs".
    static void Copy(char* to, const char* from, std::size_t count) {
        if (count >= 8) {
            if (count > 16) {
                CopyLong(to, from, count);
                return;
            }
            std::memcpy(to, from, 8);
            std::memcpy(to + count - 8, from + count - 8, 8);
        } else if (count >= 4) {
            std::memcpy(to, from, 4);
            std::memcpy(to + count - 4, from + count - 4, 4);
        } else if (count > 0) {
            to[0] = from[0];
            to[count / 2] = from[count / 2];
            to[count - 1] = from[count - 1];
        }
    }
    [[gnu::noinline]] static void CopyLong(char* to, const char* from, std::size_t count) {
        std::memcpy(to, from, count);
    }

    void Grow(std::size_t count) {
        const std::size_t used = size();
        Reserve(used, std::max(std::size_t(m_end - m_begin) * 2, used + count + 256));
    }

    /// Room for capacity bytes, keeping the first used ones.
    void Reserve(std::size_t used, std::size_t capacity) {
        if (m_target.m_string != nullptr) {
            m_target.m_string->resize(capacity);
            m_begin = m_target.m_string->data();
        } else {
            m_target.m_buffer->resize(used);
            m_target.m_buffer->reserve(capacity);
            m_begin = m_target.m_buffer->data();
            capacity = m_target.m_buffer->capacity();
        }
        m_pos = m_begin + used;
        m_end = m_begin + capacity;
    }

    SinkTarget m_target;
    char* m_begin;
    char* m_pos;
    char* m_end;
};

} // namespace wordloom::detail
