#include "forms/binary_form.h"

namespace wordloom {

void BinaryFormWriter::WriteResourceHeader(std::string_view className) {
    if (className.size() > 255)
        className = className.substr(0, 255);
    m_out.push_back(char(0xFF));
    AppendLittleEndian(detail::kResourceType);
    for (char c : className)
        m_out.push_back((c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c);
    m_out.push_back('\0');
    AppendLittleEndian(detail::kMemoryFlags);
    m_sizeAt = m_out.size();
    AppendLittleEndian(std::uint32_t(0));
    m_out.append(detail::kSignature);
    m_started = true;
}

// The 80-bit extended form, built portably from the value's fraction and exponent.
void BinaryFormWriter::Extended(long double value) {
    Put(detail::Tag::Extended);
    unsigned char bytes[10] = {};
    unsigned signExponent = std::signbit(value) ? 0x8000 : 0;
    value = std::fabs(value);
    std::uint64_t mantissa = 0;
    if (value != 0) {
        int exponent = 0;
        const long double fraction = std::frexp(value, &exponent); // value = fraction * 2^exponent
        const int biased = exponent - 1 + 16383;
        if (biased > 0) {
            mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
            signExponent |= unsigned(biased);
        } else {
            mantissa = static_cast<std::uint64_t>(std::ldexp(value, 16382 + 63));
        }
    }
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<unsigned char>(mantissa >> (8 * i));
    bytes[8] = static_cast<unsigned char>(signExponent);
    bytes[9] = static_cast<unsigned char>(signExponent >> 8);
    m_out.append(reinterpret_cast<const char*>(bytes), 10);
}

} // namespace wordloom
