#include "base/byte_buffer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

namespace wordloom {

namespace {

// Below this malloc serves well; above it a buffer gets its own mapping.
constexpr std::size_t kMapThreshold = std::size_t(1) << 20;
constexpr std::size_t kHugePage = std::size_t(2) << 20;

std::size_t RoundUp(std::size_t n, std::size_t unit) {
    return (n + unit - 1) / unit * unit;
}

std::size_t MappedLength(std::size_t capacity) {
    static const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return RoundUp(capacity, capacity >= kHugePage ? kHugePage : page);
}

/// Asks for huge pages; where the system has none to give the call fails and changes nothing.
void PreferHugePages(char* data, std::size_t length) {
#ifdef MADV_HUGEPAGE
    if (length >= kHugePage)
        ::madvise(data, length, MADV_HUGEPAGE);
#else
    (void)data;
    (void)length;
#endif
}

/// A new mapping of `length` bytes (a multiple of the page size), aligned to a huge page when it
/// spans one, so that the system can back it with huge pages from its first byte.
char* MapNew(std::size_t length) {
    const std::size_t slack = length >= kHugePage ? kHugePage : 0;
    void* raw = ::mmap(nullptr, length + slack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    char* start = static_cast<char*>(raw);
    if (slack > 0) {
        const auto address = reinterpret_cast<std::uintptr_t>(start);
        char* aligned = start + (RoundUp(address, kHugePage) - address);
        if (aligned > start)
            ::munmap(start, std::size_t(aligned - start));
        if (const std::size_t tail = std::size_t(start + length + slack - (aligned + length)); tail > 0)
            ::munmap(aligned + length, tail);
        start = aligned;
    }
    PreferHugePages(start, length);
    return start;
}

} // namespace

ByteBuffer::~ByteBuffer() {
    Release();
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_capacity(std::exchange(other.m_capacity, 0)), m_mapped(std::exchange(other.m_mapped, false)) {}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
    if (this != &other) {
        Release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_mapped = std::exchange(other.m_mapped, false);
    }
    return *this;
}

void ByteBuffer::Release() {
    if (m_mapped)
        ::munmap(m_data, m_capacity);
    else
        std::free(m_data);
    m_data = nullptr;
    m_size = 0;
    m_capacity = 0;
    m_mapped = false;
}

void ByteBuffer::reserve(std::size_t capacity) {
    if (capacity <= m_capacity)
        return;
    if (capacity < kMapThreshold && !m_mapped) {
        void* grown = std::realloc(m_data, capacity);
        if (grown == nullptr)
            throw std::bad_alloc();
        m_data = static_cast<char*>(grown);
        m_capacity = capacity;
        return;
    }
    const std::size_t length = MappedLength(capacity);
    if (m_mapped) {
        // The pages move with their mapping: nothing is copied.
        void* moved = ::mremap(m_data, m_capacity, length, MREMAP_MAYMOVE);
        if (moved == MAP_FAILED)
            throw std::bad_alloc();
        m_data = static_cast<char*>(moved);
        m_capacity = length;
        PreferHugePages(m_data, length);
        return;
    }
    char* mapped = MapNew(length);
    if (m_size > 0)
        std::memcpy(mapped, m_data, m_size);
    std::free(m_data);
    m_data = mapped;
    m_capacity = length;
    m_mapped = true;
}

void ByteBuffer::resize(std::size_t size) {
    if (size > m_capacity)
        reserve(std::max(size, m_capacity * 2));
    m_size = size;
}

} // namespace wordloom
