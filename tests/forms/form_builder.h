// Builds binary form streams byte by byte for tests, so that expected bytes are spelled out rather
// than produced by the code under test.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wordloom::test {

class FormBuilder {
public:
    FormBuilder& Byte(int value) {
        m_bytes.push_back(static_cast<char>(value));
        return *this;
    }
    FormBuilder& U16(std::uint16_t value) { return Le(value, 2); }
    FormBuilder& U32(std::uint32_t value) { return Le(value, 4); }
    FormBuilder& U64(std::uint64_t value) { return Le(value, 8); }
    FormBuilder& Raw(std::string_view bytes) {
        m_bytes.append(bytes);
        return *this;
    }
    /// A length byte and the bytes.
    FormBuilder& Short(std::string_view text) {
        Byte(static_cast<int>(text.size()));
        return Raw(text);
    }
    /// The start of an object record without prefix: class and name.
    FormBuilder& Object(std::string_view className, std::string_view name) {
        return Short(className).Short(name);
    }
    /// A property name followed by a string value (tag 6).
    FormBuilder& StringProperty(std::string_view name, std::string_view value) {
        return Short(name).Byte(6).Short(value);
    }
    FormBuilder& End() { return Byte(0); }

    const std::string& Bytes() const { return m_bytes; }

    /// The stream ("TPF0" and the built bytes) under a resource header named name.
    std::string Resource(std::string_view name = "TFORM1") const {
        FormBuilder header;
        header.Byte(0xFF).U16(10).Raw(name).Byte(0).U16(0x1030).U32(
            static_cast<std::uint32_t>(m_bytes.size() + 4));
        return header.m_bytes + "TPF0" + m_bytes;
    }

private:
    FormBuilder& Le(std::uint64_t value, int count) {
        for (int i = 0; i < count; ++i)
            m_bytes.push_back(static_cast<char>(value >> (8 * i)));
        return *this;
    }

    std::string m_bytes;
};

} // namespace wordloom::test
