// Binary form resource to text form: the text of the binary form reader's events, written as they come.
#include "base/byte_sink.h"
#include "base/errors.h"
#include "forms/binary_form.h"
#include "forms/form_format.h"
#include "forms/form_stream.h"
#include "forms/literal_codec.h"
#include "forms/string_runs.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace wordloom::detail {

namespace {

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
        throw FormError(TranslateText("Forms", kInvalidValue));
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

/// Writes the text form of the events of a binary form.
class TextFormWriter {
public:
    TextFormWriter(SinkTarget out, std::size_t sizeHint, LeadByteTest isLeadByte)
        : m_out(out, sizeHint), m_isLeadByte(isLeadByte) {}

    void Finish() { m_out.Finish(); }

    void BeginObject(const FormObjectHeader& header) {
        Indent();
        if (header.Inherited())
            m_out.append("inherited ");
        else if (header.Inline())
            m_out.append("inline ");
        else
            m_out.append("object ");
        if (!header.name.empty()) {
            m_out.append(header.name);
            m_out.append(": ");
        }
        m_out.append(header.className);
        if (header.HasPosition()) {
            m_out.append(" [");
            AppendDecimal(m_out, header.position);
            m_out.push_back(']');
        }
        m_out.append("\r\n", 2);
        ++m_level;
    }
    void EndObject() {
        --m_level;
        Indent();
        m_out.append("end\r\n", 5);
    }
    void PropertyName(std::string_view name) {
        m_inList = false;
        Indent();
        m_out.append(name);
        m_out.append(" = ", 3);
    }
    void EndProperty() { m_out.append("\r\n", 2); }

    void Integer(std::int64_t value) {
        BeginValue();
        AppendDecimal(m_out, value);
    }
    void Extended(long double value) {
        BeginValue();
        AppendFloatText(m_out, value);
    }
    void Single(float value) {
        BeginValue();
        AppendFloatText(m_out, value);
        m_out.push_back('s');
    }
    void Currency(std::int64_t value) {
        BeginValue();
        AppendCurrencyText(m_out, value);
        m_out.push_back('c');
    }
    void Date(double value) {
        BeginValue();
        AppendFloatText(m_out, value);
        m_out.push_back('d');
    }
    void NarrowString(std::string_view bytes) {
        BeginValue();
        WriteNarrow(bytes);
    }
    void WideString(WideUnits units) {
        BeginValue();
        WriteUnits(units.size(), [units](std::size_t i) { return std::uint32_t(units[i]); });
    }
    void Utf8String(std::string_view bytes) {
        BeginValue();
        WriteUtf8(bytes);
    }
    void Identifier(std::string_view name) {
        BeginValue();
        m_out.append(name);
    }
    void False() {
        BeginValue();
        m_out.append("False");
    }
    void True() {
        BeginValue();
        m_out.append("True");
    }
    void Nil() {
        BeginValue();
        m_out.append("nil");
    }
    void Null() {
        BeginValue();
        m_out.append("Null");
    }
    void Binary(std::string_view bytes) {
        BeginValue();
        WriteBinary(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    }
    void BeginSet() {
        BeginValue();
        m_out.push_back('[');
        m_firstElement = true;
    }
    void SetElement(std::string_view name) {
        if (!m_firstElement)
            m_out.append(", ", 2);
        m_out.append(name);
        m_firstElement = false;
    }
    void EndSet() { m_out.push_back(']'); }
    void BeginList() {
        BeginValue();
        m_out.push_back('(');
        ++m_level;
        m_inList = true;
    }
    // A list or collection ends either a property's value (the property then ends, and the next
    // value follows a property name) or an item of the enclosing list.
    void EndList() {
        --m_level;
        m_out.push_back(')');
        m_inList = true;
    }
    void BeginCollection() {
        BeginValue();
        m_out.push_back('<');
        ++m_level;
    }
    void BeginItem(bool hasIndex, std::int64_t index) {
        NewLine();
        m_out.append("item", 4);
        if (hasIndex) {
            m_out.append(" [", 2);
            AppendDecimal(m_out, index);
            m_out.push_back(']');
        }
        m_out.append("\r\n", 2);
        ++m_level;
    }
    void EndItem() {
        --m_level;
        Indent();
        m_out.append("end", 3);
    }
    void EndCollection() {
        --m_level;
        m_out.push_back('>');
        m_inList = true;
    }

private:
    void Indent() { m_out.append(std::size_t(2 * m_level), ' '); }
    void NewLine() {
        m_out.append("\r\n", 2);
        Indent();
    }
    // List items stand on lines of their own.
    void BeginValue() {
        if (m_inList)
            NewLine();
    }

    template <class CharAt, class AppendRun, class CutAllowed>
    void WriteString(std::size_t count, CharAt charAt, AppendRun appendRun, CutAllowed cutAllowed) {
        if (count == 0) {
            m_out.append("''", 2);
            return;
        }
        ++m_level;
        if (count > kFormStringPerLine)
            NewLine();
        const auto breakLine = [this] {
            m_out.append(" +", 2);
            NewLine();
        };
        detail::WriteStringRuns(m_out, count, charAt, appendRun, kFormStringPerLine, breakLine, cutAllowed);
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
        WriteString(bytes.size(), charAt, appendRun,
                    detail::CharacterStartCuts(p, bytes.size(), m_isLeadByte));
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

    void WriteBinary(const unsigned char* p, std::size_t length) {
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
                digits[2 * i] = kHex[p[i] >> 4];
                digits[2 * i + 1] = kHex[p[i] & 15];
            }
            m_out.append(digits, 2 * run);
            p += run;
            length -= run;
        }
        --m_level;
        m_out.push_back('}');
    }

    ByteSink m_out;
    LeadByteTest m_isLeadByte;
    int m_level = 0;
    bool m_inList = false;
    bool m_firstElement = false;
    std::u16string m_units;
};

} // namespace

void WriteFormText(std::string_view binary, SinkTarget text, LeadByteTest isLeadByte) {
    TextFormWriter writer(text, binary.size() * 3, isLeadByte);
    ReadBinaryForm(binary, writer);
    writer.Finish();
}

} // namespace wordloom::detail
