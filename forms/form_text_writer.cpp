// Binary form resource to text form: one pass over the bytes, never trusting a length or a count.
#include "base/byte_sink.h"
#include "base/errors.h"
#include "forms/form_format.h"
#include "forms/form_stream.h"
#include "forms/string_runs.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace wordloom::detail {

namespace {

// An 80-bit extended value, read portably from its mantissa and exponent fields.

long double ExtendedToLongDouble(const unsigned char* p) {
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | p[i];
    const unsigned signExponent = p[8] | (unsigned(p[9]) << 8);
    const int exponent = int(signExponent & 0x7FFF);
    if (exponent == 0x7FFF)
        throw FormError(kInvalidValue); // infinity or NaN: no text form reads back as that
    const long double value =
        std::ldexp(static_cast<long double>(mantissa), (exponent == 0 ? 1 : exponent) - 16383 - 63);
    return (signExponent & 0x8000) ? -value : value;
}

/// Writes a value with few binary fraction digits (1.25, 37.0, -0.375) exactly, which is then also
/// the shortest text that reads back to it: the general shortest-digits search costs far more, and
/// form values are mostly of this kind. Returns false, writing nothing, for other values.
template <class Float>
bool AppendShortDyadic(ByteSink& out, Float value) {
    const Float magnitude = std::fabs(value);
    if (magnitude == 0 || !(magnitude < Float(9.2e18L)))
        return false;
    int exponent = 0; // magnitude in [2^(exponent-1), 2^exponent)
    std::frexp(magnitude, &exponent);
    constexpr int kMantissaBits = std::numeric_limits<Float>::digits;
    std::uint64_t units = 0;
    int fractionDigits = 0;
    for (;; ++fractionDigits) {
        if (fractionDigits > 12)
            return false;
        const Float scaled = std::ldexp(magnitude, fractionDigits);
        if (scaled == std::trunc(scaled)) {
            units = static_cast<std::uint64_t>(scaled);
            break;
        }
    }
    // magnitude = units / 2^j = units * 5^j / 10^j exactly, its last digit a 5 (units is odd). A
    // text with fewer fraction digits lies at least 5 * 10^-j away from it: while that is more than
    // half a unit in the last place, no such text reads back to the value.
    if (fractionDigits * 1000 >= 699 + (kMantissaBits - exponent) * 301)
        return false;
    if (fractionDigits == 0 ? units % 10 == 0 : magnitude < Float(0.001))
        return false; // the exponent form would be shorter
    std::uint64_t digits = units;
    for (int i = 0; i < fractionDigits; ++i) {
        if (digits > std::numeric_limits<std::uint64_t>::max() / 5)
            return false;
        digits *= 5;
    }
    char buffer[48];
    char* end = buffer + sizeof buffer;
    char* p = end;
    for (int i = 0; i < fractionDigits; ++i, digits /= 10)
        *--p = char('0' + digits % 10);
    if (fractionDigits == 0)
        *--p = '0';
    *--p = '.';
    do {
        *--p = char('0' + digits % 10);
        digits /= 10;
    } while (digits != 0);
    if (std::signbit(value))
        *--p = '-';
    out.append(p, end);
    return true;
}

/// Shortest digits that read back to the same value, always with a point or an exponent.
template <class Float>
void AppendFloatText(ByteSink& out, Float value) {
    if (!std::isfinite(value))
        throw FormError(kInvalidValue);
    if (AppendShortDyadic(out, value))
        return;
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string_view digits(buffer, std::size_t(result.ptr - buffer));
    out.append(digits);
    if (digits.find_first_of(".e") == std::string_view::npos)
        out.append(".0");
}

void AppendCurrencyText(ByteSink& out, std::int64_t value) {
    std::uint64_t magnitude = value < 0 ? 0 - std::uint64_t(value) : std::uint64_t(value);
    if (value < 0)
        out.push_back('-');
    char buffer[24];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude / 10000).ptr;
    out.append(buffer, end);
    unsigned fraction = unsigned(magnitude % 10000);
    out.push_back('.');
    if (fraction == 0) {
        out.push_back('0');
        return;
    }
    char digits[4];
    for (int i = 3; i >= 0; --i, fraction /= 10)
        digits[i] = char('0' + fraction % 10);
    int length = 4;
    while (digits[length - 1] == '0')
        --length;
    out.append(digits, std::size_t(length));
}

template <class Int>
void AppendDecimal(ByteSink& out, Int value) {
    char buffer[24];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end);
}

class BinaryToText {
public:
    BinaryToText(std::string_view binary, SinkTarget out, LeadByteTest isLeadByte)
        : m_p(reinterpret_cast<const unsigned char*>(binary.data())), m_end(m_p + binary.size()),
          m_out(out, binary.size() * 3), m_isLeadByte(isLeadByte) {}

    void Convert() {
        // Resource header: 0xFF, type 10, zero-terminated name, memory flags, stream size.
        Need(3);
        if (m_p[0] != 0xFF || (m_p[1] | (m_p[2] << 8)) != kResourceType)
            Fail(kInvalidStream);
        m_p += 3;
        const void* zero = std::memchr(m_p, 0, std::size_t(m_end - m_p));
        if (!zero)
            Fail(kInvalidStream);
        m_p = static_cast<const unsigned char*>(zero) + 1;
        Skip(6); // memory flags and stream size; the stream is read to its own end
        Need(4);
        if (std::memcmp(m_p, kSignature.data(), 4) != 0)
            Fail(kInvalidStream);
        m_p += 4;
        ConvertObject(0);
        m_out.Finish();
    }

private:
    [[noreturn]] static void Fail(const char* message) { throw FormError(message); }

    void Need(std::size_t count) const {
        if (std::size_t(m_end - m_p) < count)
            Fail(kInvalidStream);
    }
    void Skip(std::size_t count) {
        Need(count);
        m_p += count;
    }
    std::uint8_t Byte() {
        Need(1);
        return *m_p++;
    }
    std::uint8_t Peek() const {
        Need(1);
        return *m_p;
    }
    template <class T>
    T Read() {
        Need(sizeof(T));
        std::make_unsigned_t<T> bits = 0;
        for (std::size_t i = sizeof(T); i-- > 0;)
            bits = static_cast<std::make_unsigned_t<T>>((bits << 8) | m_p[i]);
        m_p += sizeof(T);
        return static_cast<T>(bits);
    }
    std::string_view ShortString() {
        const std::size_t length = Byte();
        return Bytes(length);
    }
    std::string_view Bytes(std::size_t length) {
        Need(length);
        std::string_view s(reinterpret_cast<const char*>(m_p), length);
        m_p += length;
        return s;
    }
    static void CheckNesting(int depth) {
        if (depth > kMaxFormNesting)
            Fail(kInvalidStream);
    }

    void Indent() { m_out.append(std::size_t(2 * m_level), ' '); }
    void NewLine() {
        m_out.append("\r\n", 2);
        Indent();
    }

    std::int64_t ReadInteger(std::uint8_t tag) {
        switch (Tag(tag)) {
        case Tag::Int8:
            return Read<std::int8_t>();
        case Tag::Int16:
            return Read<std::int16_t>();
        case Tag::Int32:
            return Read<std::int32_t>();
        case Tag::Int64:
            return Read<std::int64_t>();
        default:
            Fail(kInvalidValue);
        }
    }

    void ConvertObject(int depth) {
        CheckNesting(depth);
        unsigned flags = 0;
        std::int64_t position = 0;
        if ((Peek() & 0xF0) == 0xF0) {
            flags = Byte() & 0x0F;
            if (flags & kChildPos)
                position = ReadInteger(Byte());
        }
        const std::string_view className = ShortString();
        const std::string_view objectName = ShortString();
        Indent();
        if (flags & kInherited)
            m_out.append("inherited ");
        else if (flags & kInline)
            m_out.append("inline ");
        else
            m_out.append("object ");
        if (!objectName.empty()) {
            m_out.append(objectName);
            m_out.append(": ");
        }
        m_out.append(className);
        if (flags & kChildPos) {
            m_out.append(" [");
            AppendDecimal(m_out, position);
            m_out.push_back(']');
        }
        m_out.append("\r\n", 2);
        ++m_level;
        while (Peek() != 0)
            ConvertProperty(depth);
        ++m_p;
        while (Peek() != 0)
            ConvertObject(depth + 1);
        ++m_p;
        --m_level;
        Indent();
        m_out.append("end\r\n", 5);
    }

    void ConvertProperty(int depth) {
        const std::string_view name = ShortString();
        Indent();
        m_out.append(name);
        m_out.append(" = ", 3);
        ConvertValue(depth);
        m_out.append("\r\n", 2);
    }

    template <class CharAt, class AppendRun, class CutAllowed>
    void WriteString(std::size_t count, CharAt charAt, AppendRun appendRun, CutAllowed cutAllowed) {
        if (count == 0) {
            m_out.append("''", 2);
            return;
        }
        ++m_level;
        if (count > kStringPerLine)
            NewLine();
        const auto breakLine = [this] {
            m_out.append(" +", 2);
            NewLine();
        };
        detail::WriteStringRuns(m_out, count, charAt, appendRun, kStringPerLine, breakLine, cutAllowed);
        --m_level;
    }

    void WriteNarrow(std::string_view bytes) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
        const auto charAt = [p](std::size_t i) { return std::uint32_t(p[i]); };
        const auto appendRun = [this, bytes](std::size_t i, std::size_t j) {
            m_out.append(bytes.data() + i, j - i);
        };
        if (!m_isLeadByte) {
            WriteString(bytes.size(), charAt, appendRun, detail::AnyCut);
            return;
        }
        // Character starts are found walking forward; cuts are asked for in growing order.
        std::size_t nextStart = 0;
        const auto cutAllowed = [&](std::size_t j) {
            while (nextStart < j)
                nextStart += m_isLeadByte(p[nextStart]) && nextStart + 1 < bytes.size() ? 2 : 1;
            return nextStart == j;
        };
        WriteString(bytes.size(), charAt, appendRun, cutAllowed);
    }

    /// Units given as UnitAt(i); runs hold only units up to 255, written as single bytes.
    template <class UnitAt>
    void WriteUnits(std::size_t count, UnitAt unitAt) {
        const auto appendRun = [this, unitAt](std::size_t i, std::size_t j) {
            for (; i < j; ++i)
                m_out.push_back(static_cast<char>(unitAt(i)));
        };
        WriteString(count, unitAt, appendRun, detail::AnyCut);
    }

    void WriteWide(const unsigned char* p, std::size_t count) {
        WriteUnits(count, [p](std::size_t i) { return std::uint32_t(p[2 * i] | (p[2 * i + 1] << 8)); });
    }

    void WriteUtf8(std::string_view bytes) {
        // Decoded to UTF-16 and written as a wide string; a byte that is not valid UTF-8 stands for
        // the character of its own number, so nothing is lost.
        m_units.clear();
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
        const std::size_t n = bytes.size();
        for (std::size_t i = 0; i < n;) {
            const unsigned c = p[i];
            std::uint32_t code = c;
            std::size_t length = 1;
            if (c >= 0xC2 && c <= 0xF4) {
                const std::size_t need = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
                if (i + need <= n) {
                    std::uint32_t value = c & (0x7F >> need);
                    bool ok = true;
                    for (std::size_t k = 1; k < need; ++k) {
                        if ((p[i + k] & 0xC0) != 0x80) {
                            ok = false;
                            break;
                        }
                        value = (value << 6) | (p[i + k] & 0x3F);
                    }
                    const std::uint32_t minimum = need == 2 ? 0x80 : need == 3 ? 0x800 : 0x10000;
                    if (ok && value >= minimum && value <= 0x10FFFF &&
                        !(value >= 0xD800 && value <= 0xDFFF)) {
                        code = value;
                        length = need;
                    }
                }
            }
            if (code > 0xFFFF) {
                code -= 0x10000;
                m_units.push_back(char16_t(0xD800 + (code >> 10)));
                m_units.push_back(char16_t(0xDC00 + (code & 0x3FF)));
            } else {
                m_units.push_back(char16_t(code));
            }
            i += length;
        }
        const char16_t* units = m_units.data();
        WriteUnits(m_units.size(), [units](std::size_t i) { return std::uint32_t(units[i]); });
    }

    void WriteBinary(std::size_t length) {
        Need(length);
        static constexpr char kHex[] = "0123456789ABCDEF";
        m_out.push_back('{');
        ++m_level;
        const bool multiLine = length >= kBytesPerLine;
        while (length > 0) {
            if (multiLine)
                NewLine();
            const std::size_t run = length < kBytesPerLine ? length : kBytesPerLine;
            char digits[2 * kBytesPerLine];
            for (std::size_t i = 0; i < run; ++i) {
                digits[2 * i] = kHex[m_p[i] >> 4];
                digits[2 * i + 1] = kHex[m_p[i] & 15];
            }
            m_out.append(digits, 2 * run);
            m_p += run;
            length -= run;
        }
        --m_level;
        m_out.push_back('}');
    }

    void ConvertValue(int depth) {
        const std::uint8_t tag = Byte();
        switch (Tag(tag)) {
        case Tag::Null:
            m_out.append("Null");
            break;
        case Tag::List:
            CheckNesting(depth + 1);
            m_out.push_back('(');
            ++m_level;
            while (Peek() != 0) {
                NewLine();
                ConvertValue(depth + 1);
            }
            ++m_p;
            --m_level;
            m_out.push_back(')');
            break;
        case Tag::Int8:
        case Tag::Int16:
        case Tag::Int32:
        case Tag::Int64:
            AppendDecimal(m_out, ReadInteger(tag));
            break;
        case Tag::Extended:
            Need(10);
            AppendFloatText(m_out, ExtendedToLongDouble(m_p));
            m_p += 10;
            break;
        case Tag::String:
            WriteNarrow(ShortString());
            break;
        case Tag::LString:
            WriteNarrow(Bytes(Read<std::uint32_t>()));
            break;
        case Tag::WString: {
            const std::size_t count = Read<std::uint32_t>();
            Need(2 * count);
            WriteWide(m_p, count);
            m_p += 2 * count;
            break;
        }
        case Tag::Utf8String:
            WriteUtf8(Bytes(Read<std::uint32_t>()));
            break;
        case Tag::Ident:
            m_out.append(ShortString());
            break;
        case Tag::False:
            m_out.append("False");
            break;
        case Tag::True:
            m_out.append("True");
            break;
        case Tag::Nil:
            m_out.append("nil");
            break;
        case Tag::Binary:
            WriteBinary(Read<std::uint32_t>());
            break;
        case Tag::Set: {
            m_out.push_back('[');
            bool first = true;
            for (;;) {
                const std::string_view name = ShortString();
                if (name.empty())
                    break;
                if (!first)
                    m_out.append(", ", 2);
                m_out.append(name);
                first = false;
            }
            m_out.push_back(']');
            break;
        }
        case Tag::Collection:
            CheckNesting(depth + 1);
            m_out.push_back('<');
            ++m_level;
            while (Peek() != 0) {
                NewLine();
                m_out.append("item", 4);
                if (IsIntegerTag(Peek())) {
                    m_out.append(" [", 2);
                    AppendDecimal(m_out, ReadInteger(Byte()));
                    m_out.push_back(']');
                }
                if (Byte() != std::uint8_t(Tag::List))
                    Fail(kInvalidValue);
                m_out.append("\r\n", 2);
                ++m_level;
                while (Peek() != 0)
                    ConvertProperty(depth + 1);
                ++m_p;
                --m_level;
                Indent();
                m_out.append("end", 3);
            }
            ++m_p;
            --m_level;
            m_out.push_back('>');
            break;
        case Tag::Single:
            AppendFloatText(m_out, std::bit_cast<float>(Read<std::uint32_t>()));
            m_out.push_back('s');
            break;
        case Tag::Currency:
            AppendCurrencyText(m_out, Read<std::int64_t>());
            m_out.push_back('c');
            break;
        case Tag::Date:
            AppendFloatText(m_out, std::bit_cast<double>(Read<std::uint64_t>()));
            m_out.push_back('d');
            break;
        default:
            Fail(kInvalidValue);
        }
    }

    const unsigned char* m_p;
    const unsigned char* m_end;
    ByteSink m_out;
    int m_level = 0;
    LeadByteTest m_isLeadByte;
    std::u16string m_units;
};

} // namespace

void WriteFormText(std::string_view binary, SinkTarget text, LeadByteTest isLeadByte) {
    BinaryToText(binary, text, isLeadByte).Convert();
}

} // namespace wordloom::detail
