#include "collect/form_stream.h"

#include "collect/errors.h"
#include "collect/literal_codec.h"
#include "collect/string_runs.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace wordloom {

namespace {

constexpr const char* kInvalidStream = "Invalid stream format";
constexpr const char* kInvalidValue = "Invalid property value";
constexpr std::string_view kSignature = "TPF0";
constexpr std::uint16_t kResourceType = 10;
constexpr std::uint16_t kMemoryFlags = 0x1030;
constexpr std::size_t kStringPerLine = 64;
constexpr std::size_t kBytesPerLine = 32;

enum class Tag : std::uint8_t {
    Null = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    String = 6,
    Ident = 7,
    False = 8,
    True = 9,
    Binary = 10,
    Set = 11,
    LString = 12,
    Nil = 13,
    Collection = 14,
    Single = 15,
    Currency = 16,
    Date = 17,
    WString = 18,
    Int64 = 19,
    Utf8String = 20,
};

enum ObjectFlags : unsigned { kInherited = 1, kChildPos = 2, kInline = 4 };

bool IsIntegerTag(std::uint8_t tag) {
    return tag == std::uint8_t(Tag::Int8) || tag == std::uint8_t(Tag::Int16) ||
           tag == std::uint8_t(Tag::Int32) || tag == std::uint8_t(Tag::Int64);
}

// ---------------------------------------------------------------------------------------------
// 80-bit extended precision, portable: built from and taken apart into mantissa and exponent.

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

void AppendExtended(std::string& out, long double value) {
    unsigned char bytes[10] = {};
    unsigned signExponent = std::signbit(value) ? 0x8000 : 0;
    value = std::fabs(value);
    std::uint64_t mantissa = 0;
    if (value != 0) {
        int exponent = 0;
        const long double fraction = std::frexp(value, &exponent); // value = fraction * 2^exponent
        int biased = exponent - 1 + 16383;
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
    out.append(reinterpret_cast<const char*>(bytes), 10);
}

/// Shortest digits that read back to the same value, always with a point or an exponent.
template <class Float>
void AppendFloatText(std::string& out, Float value) {
    if (!std::isfinite(value))
        throw FormError(kInvalidValue);
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string_view digits(buffer, std::size_t(result.ptr - buffer));
    out.append(digits);
    if (digits.find_first_of(".e") == std::string_view::npos)
        out.append(".0");
}

void AppendCurrencyText(std::string& out, std::int64_t value) {
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
void AppendDecimal(std::string& out, Int value) {
    char buffer[24];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end);
}

template <class T>
void AppendLittleEndian(std::string& out, T value) {
    using U = std::make_unsigned_t<T>;
    U bits = static_cast<U>(value);
    char bytes[sizeof(T)];
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<char>(bits >> (8 * i));
    out.append(bytes, sizeof(T));
}

template <class T>
void PatchLittleEndian(std::string& out, std::size_t at, T value) {
    using U = std::make_unsigned_t<T>;
    U bits = static_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out[at + i] = static_cast<char>(bits >> (8 * i));
}

// ---------------------------------------------------------------------------------------------
// Binary form to text.

class BinaryToText {
public:
    BinaryToText(std::string_view binary, std::string& out)
        : m_p(reinterpret_cast<const unsigned char*>(binary.data())), m_end(m_p + binary.size()), m_out(out) {
    }

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

    template <class CharAt, class AppendRun>
    void WriteString(std::size_t count, CharAt charAt, AppendRun appendRun) {
        if (count == 0) {
            m_out.append("''", 2);
            return;
        }
        ++m_level;
        if (count > kStringPerLine)
            NewLine();
        detail::WriteStringRuns(m_out, count, charAt, appendRun, kStringPerLine, [this] {
            m_out.append(" +", 2);
            NewLine();
        });
        --m_level;
    }

    void WriteNarrow(std::string_view bytes) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
        WriteString(
            bytes.size(), [p](std::size_t i) { return std::uint32_t(p[i]); },
            [this, bytes](std::size_t i, std::size_t j) { m_out.append(bytes.data() + i, j - i); });
    }

    /// Units given as UnitAt(i); runs hold only units up to 255, written as single bytes.
    template <class UnitAt>
    void WriteUnits(std::size_t count, UnitAt unitAt) {
        WriteString(count, unitAt, [this, unitAt](std::size_t i, std::size_t j) {
            for (; i < j; ++i)
                m_out.push_back(static_cast<char>(unitAt(i)));
        });
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
    std::string& m_out;
    int m_level = 0;
    std::u16string m_units;
};

// ---------------------------------------------------------------------------------------------
// Text form to binary.

enum class TokenKind : std::uint8_t { Eof, Symbol, Identifier, String, Integer, Float };

bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsIdentChar(unsigned char c) {
    return IsLetter(c) || IsDigit(c);
}
constexpr auto kHexDigit = [] {
    std::array<std::int8_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[std::size_t(c)] = c >= '0' && c <= '9'   ? std::int8_t(c - '0')
                                : c >= 'a' && c <= 'f' ? std::int8_t(c - 'a' + 10)
                                : c >= 'A' && c <= 'F' ? std::int8_t(c - 'A' + 10)
                                                       : std::int8_t(-1);
    return table;
}();
int HexValue(unsigned char c) {
    return kHexDigit[c];
}
bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x != y && (x | 0x20) != (y | 0x20))
            return false;
        if (x != y && !IsLetter(x))
            return false;
    }
    return true;
}

class TextToBinary {
public:
    TextToBinary(std::string_view text, std::string& out) : m_text(text), m_out(out) {}

    void Convert() {
        NextToken();
        ParseObject(0);
        // Whatever follows the root object's end is not part of the form.
        PatchLittleEndian(m_out, m_sizeAt, std::uint32_t(m_out.size() - m_sizeAt - 4));
    }

private:
    [[noreturn]] void Fail(std::string_view message) const { FailOnLine(message, m_tokenLine); }
    [[noreturn]] static void FailOnLine(std::string_view message, int line) {
        std::string text(message);
        text.append(" on line ");
        text.append(std::to_string(line));
        throw FormError(text);
    }
    [[noreturn]] void FailSymbolExpected(char symbol) const {
        std::string message = "''";
        message.push_back(symbol);
        message.append("'' expected");
        Fail(message);
    }

    void LineFeedAt(std::size_t pos) {
        std::size_t length = pos - m_lineStart;
        if (length > 0 && m_text[pos - 1] == '\r')
            --length;
        if (length > kMaxFormLineLength)
            FailOnLine("Line too long", m_line);
        ++m_line;
        m_lineStart = pos + 1;
    }

    void SkipBlanks() {
        const std::size_t size = m_text.size();
        while (m_pos < size) {
            const unsigned char c = static_cast<unsigned char>(m_text[m_pos]);
            if (c > 32)
                return;
            if (c == '\n')
                LineFeedAt(m_pos);
            ++m_pos;
        }
        if (size - m_lineStart > kMaxFormLineLength)
            FailOnLine("Line too long", m_line);
    }

    void NextToken() {
        SkipBlanks();
        m_tokenLine = m_line;
        m_tokenStart = m_pos;
        const std::size_t size = m_text.size();
        if (m_pos == size) {
            m_kind = TokenKind::Eof;
            return;
        }
        const unsigned char c = static_cast<unsigned char>(m_text[m_pos]);
        if (IsLetter(c)) {
            ++m_pos;
            while (m_pos < size && IsIdentChar(static_cast<unsigned char>(m_text[m_pos])))
                ++m_pos;
            m_kind = TokenKind::Identifier;
        } else if (c == '\'' || c == '#') {
            m_string.Clear();
            if (!ReadStringToken(m_text, m_pos, m_string))
                Fail("Invalid string constant");
            m_kind = TokenKind::String;
        } else if (IsDigit(c) ||
                   (c == '-' && m_pos + 1 < size && IsDigit(static_cast<unsigned char>(m_text[m_pos + 1])))) {
            ++m_pos;
            while (m_pos < size && IsDigit(static_cast<unsigned char>(m_text[m_pos])))
                ++m_pos;
            m_kind = TokenKind::Integer;
            while (m_pos < size) {
                const char d = m_text[m_pos];
                if (!(IsDigit(static_cast<unsigned char>(d)) || d == '+' || d == '-' || d == '.' ||
                      d == 'e' || d == 'E'))
                    break;
                m_kind = TokenKind::Float;
                ++m_pos;
            }
            m_floatSuffix = 0;
            if (m_pos < size) {
                const char s = static_cast<char>(m_text[m_pos] | 0x20);
                if (s == 's' || s == 'c' || s == 'd') {
                    m_kind = TokenKind::Float;
                    m_floatSuffix = s;
                    ++m_pos;
                }
            }
        } else if (c == '$') {
            ++m_pos;
            while (m_pos < size && HexValue(static_cast<unsigned char>(m_text[m_pos])) >= 0)
                ++m_pos;
            m_kind = TokenKind::Integer;
        } else {
            ++m_pos;
            m_kind = TokenKind::Symbol;
        }
    }

    std::string_view TokenText() const { return m_text.substr(m_tokenStart, m_pos - m_tokenStart); }
    bool IsSymbol(char symbol) const { return m_kind == TokenKind::Symbol && m_text[m_tokenStart] == symbol; }
    bool IsWord(std::string_view word) const {
        return m_kind == TokenKind::Identifier && EqualsIgnoreCase(TokenText(), word);
    }
    void ExpectSymbol(char symbol) {
        if (!IsSymbol(symbol))
            FailSymbolExpected(symbol);
        NextToken();
    }
    std::string_view ExpectIdentifier() {
        if (m_kind != TokenKind::Identifier)
            Fail("Identifier expected");
        std::string_view name = TokenText();
        NextToken();
        return name;
    }
    void CheckNesting(int depth) const {
        if (depth > kMaxFormNesting)
            Fail(kInvalidStream);
    }

    std::int64_t IntegerValue() const {
        std::string_view text = TokenText();
        std::uint64_t magnitude = 0;
        bool overflow = false;
        bool negative = false;
        if (text[0] == '$') {
            text.remove_prefix(1);
            if (text.empty())
                Fail("Number expected");
            for (char c : text) {
                overflow |= (magnitude >> 60) != 0;
                magnitude = (magnitude << 4) | unsigned(HexValue(static_cast<unsigned char>(c)));
            }
            if (overflow)
                Fail("Number expected");
            return static_cast<std::int64_t>(magnitude); // 64 bits as written, like a typed constant
        }
        if (text[0] == '-') {
            negative = true;
            text.remove_prefix(1);
        }
        for (char c : text) {
            const unsigned digit = unsigned(c - '0');
            overflow |= magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / 10;
            magnitude = magnitude * 10 + digit;
        }
        const std::uint64_t limit = negative ? std::uint64_t(1) << 63 : (std::uint64_t(1) << 63) - 1;
        if (overflow || magnitude > limit)
            Fail("Number expected");
        return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    }

    void WriteInteger(std::int64_t value) {
        if (value >= -128 && value <= 127) {
            m_out.push_back(char(Tag::Int8));
            AppendLittleEndian(m_out, std::int8_t(value));
        } else if (value >= -32768 && value <= 32767) {
            m_out.push_back(char(Tag::Int16));
            AppendLittleEndian(m_out, std::int16_t(value));
        } else if (value >= std::numeric_limits<std::int32_t>::min() &&
                   value <= std::numeric_limits<std::int32_t>::max()) {
            m_out.push_back(char(Tag::Int32));
            AppendLittleEndian(m_out, std::int32_t(value));
        } else {
            m_out.push_back(char(Tag::Int64));
            AppendLittleEndian(m_out, value);
        }
    }

    template <class Float>
    Float ParseFloat(std::string_view digits) const {
        Float value{};
        auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (result.ec != std::errc() || result.ptr != digits.data() + digits.size() || !std::isfinite(value))
            Fail("Number expected");
        return value;
    }

    std::int64_t ParseCurrency(std::string_view digits) const {
        // Exact for the plain decimals the writer produces; anything else goes through a float.
        std::string_view rest = digits;
        bool negative = false;
        if (!rest.empty() && rest[0] == '-') {
            negative = true;
            rest.remove_prefix(1);
        }
        const std::size_t point = rest.find('.');
        std::string_view whole = rest.substr(0, point);
        std::string_view fraction =
            point == std::string_view::npos ? std::string_view() : rest.substr(point + 1);
        const auto allDigits = [](std::string_view s) {
            for (char c : s)
                if (!IsDigit(static_cast<unsigned char>(c)))
                    return false;
            return true;
        };
        if (!whole.empty() && whole.size() <= 15 && fraction.size() <= 4 && allDigits(whole) &&
            allDigits(fraction)) {
            std::uint64_t magnitude = 0; // at most 19 digits: no overflow
            for (char c : whole)
                magnitude = magnitude * 10 + unsigned(c - '0');
            for (std::size_t i = 0; i < 4; ++i)
                magnitude = magnitude * 10 + (i < fraction.size() ? unsigned(fraction[i] - '0') : 0);
            const std::uint64_t limit = negative ? std::uint64_t(1) << 63 : (std::uint64_t(1) << 63) - 1;
            if (magnitude > limit)
                Fail("Number expected");
            return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
        }
        const long double scaled = std::nearbyint(ParseFloat<long double>(digits) * 10000.0L);
        if (!(scaled >= -9223372036854775808.0L && scaled < 9223372036854775808.0L))
            Fail("Number expected");
        return static_cast<std::int64_t>(scaled);
    }

    void WriteFloat() {
        std::string_view digits = TokenText();
        if (m_floatSuffix)
            digits.remove_suffix(1);
        switch (m_floatSuffix) {
        case 's':
            m_out.push_back(char(Tag::Single));
            AppendLittleEndian(m_out, std::bit_cast<std::uint32_t>(ParseFloat<float>(digits)));
            break;
        case 'c':
            m_out.push_back(char(Tag::Currency));
            AppendLittleEndian(m_out, ParseCurrency(digits));
            break;
        case 'd':
            m_out.push_back(char(Tag::Date));
            AppendLittleEndian(m_out, std::bit_cast<std::uint64_t>(ParseFloat<double>(digits)));
            break;
        default:
            m_out.push_back(char(Tag::Extended));
            AppendExtended(m_out, ParseFloat<long double>(digits));
        }
    }

    void WriteShortString(std::string_view s) {
        if (s.size() > 255)
            s = s.substr(0, 255);
        m_out.push_back(static_cast<char>(s.size()));
        m_out.append(s);
    }

    void WriteResourceHeader(std::string_view className) {
        if (className.size() > 255)
            className = className.substr(0, 255);
        m_out.push_back(char(0xFF));
        AppendLittleEndian(m_out, kResourceType);
        for (char c : className)
            m_out.push_back((c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c);
        m_out.push_back('\0');
        AppendLittleEndian(m_out, kMemoryFlags);
        m_sizeAt = m_out.size();
        AppendLittleEndian(m_out, std::uint32_t(0));
        m_out.append(kSignature);
    }

    bool AtObjectOrEnd() const {
        return IsWord("end") || IsWord("object") || IsWord("inherited") || IsWord("inline");
    }

    void ParseObject(int depth) {
        CheckNesting(depth);
        unsigned flags = 0;
        if (IsWord("inherited"))
            flags = kInherited;
        else if (IsWord("inline"))
            flags = kInline;
        else if (!IsWord("object"))
            Fail("OBJECT expected");
        NextToken();
        std::string_view objectName;
        std::string_view className = ExpectIdentifier();
        if (IsSymbol(':')) {
            NextToken();
            objectName = className;
            className = ExpectIdentifier();
        }
        std::int64_t position = 0;
        if (IsSymbol('[')) {
            NextToken();
            if (m_kind != TokenKind::Integer)
                Fail("Number expected");
            position = IntegerValue();
            NextToken();
            ExpectSymbol(']');
            flags |= kChildPos;
        }
        if (depth == 0)
            WriteResourceHeader(className);
        if (flags)
            m_out.push_back(static_cast<char>(0xF0 | flags));
        if (flags & kChildPos)
            WriteInteger(position);
        WriteShortString(className);
        WriteShortString(objectName);
        while (!AtObjectOrEnd())
            ParseProperty(depth);
        m_out.push_back('\0');
        while (!IsWord("end"))
            ParseObject(depth + 1);
        m_out.push_back('\0');
        NextToken();
    }

    void ParseProperty(int depth) {
        if (m_kind != TokenKind::Identifier)
            Fail("Identifier expected");
        const std::size_t lengthAt = m_out.size();
        m_out.push_back('\0');
        m_out.append(TokenText());
        NextToken();
        while (IsSymbol('.')) {
            NextToken();
            if (m_kind != TokenKind::Identifier)
                Fail("Identifier expected");
            m_out.push_back('.');
            m_out.append(TokenText());
            NextToken();
        }
        std::size_t length = m_out.size() - lengthAt - 1;
        if (length > 255) {
            m_out.resize(lengthAt + 1 + 255);
            length = 255;
        }
        m_out[lengthAt] = static_cast<char>(length);
        ExpectSymbol('=');
        ParseValue(depth, false);
    }

    void WriteStringValue() {
        m_value.Clear();
        m_value.Append(m_string);
        NextToken();
        while (IsSymbol('+')) {
            NextToken();
            if (m_kind != TokenKind::String)
                Fail("String expected");
            m_value.Append(m_string);
            NextToken();
        }
        if (m_value.IsWide()) {
            const std::u16string& units = m_value.Wide();
            m_out.push_back(char(Tag::WString));
            AppendLittleEndian(m_out, std::uint32_t(units.size()));
            for (char16_t unit : units)
                AppendLittleEndian(m_out, std::uint16_t(unit));
        } else if (m_value.Length() <= 255) {
            m_out.push_back(char(Tag::String));
            m_out.push_back(static_cast<char>(m_value.Length()));
            m_out.append(m_value.Narrow());
        } else {
            m_out.push_back(char(Tag::LString));
            AppendLittleEndian(m_out, std::uint32_t(m_value.Length()));
            m_out.append(m_value.Narrow());
        }
    }

    void WriteIdentifierValue(bool inList) {
        const std::size_t start = m_out.size();
        m_out.push_back(char(Tag::Ident));
        m_out.push_back('\0');
        m_out.append(TokenText());
        NextToken();
        while (IsSymbol('.')) {
            NextToken();
            if (m_kind != TokenKind::Identifier)
                Fail("Identifier expected");
            m_out.push_back('.');
            m_out.append(TokenText());
            NextToken();
        }
        const std::string_view name(m_out.data() + start + 2, m_out.size() - start - 2);
        Tag word = Tag::Ident;
        if (EqualsIgnoreCase(name, "False"))
            word = Tag::False;
        else if (EqualsIgnoreCase(name, "True"))
            word = Tag::True;
        else if (EqualsIgnoreCase(name, "nil"))
            word = Tag::Nil;
        else if (EqualsIgnoreCase(name, "Null"))
            word = Tag::Null;
        if (word != Tag::Ident) {
            // A null item would read back as the end of its list.
            if (word == Tag::Null && inList)
                Fail(kInvalidValue);
            m_out.resize(start);
            m_out.push_back(char(word));
            return;
        }
        std::size_t length = m_out.size() - start - 2;
        if (length > 255) {
            m_out.resize(start + 2 + 255);
            length = 255;
        }
        m_out[start + 1] = static_cast<char>(length);
    }

    void WriteBinaryValue() {
        // The digits are read straight from the text: pairs of hex digits, blanks between pairs.
        m_out.push_back(char(Tag::Binary));
        const std::size_t lengthAt = m_out.size();
        AppendLittleEndian(m_out, std::uint32_t(0));
        const char* const text = m_text.data();
        const std::size_t size = m_text.size();
        const void* closeBrace = std::memchr(text + m_pos, '}', size - m_pos);
        const std::size_t close =
            closeBrace ? std::size_t(static_cast<const char*>(closeBrace) - text) : size;
        // Decoded in place into room for the most bytes the digits up to "}" can give.
        const std::size_t start = m_out.size();
        m_out.resize(start + (close - m_pos) / 2);
        char* out = m_out.data() + start;
        std::size_t pos = m_pos;
        for (;;) {
            unsigned char c;
            while (pos < close && (c = static_cast<unsigned char>(text[pos])) <= 32) {
                if (c == '\n')
                    LineFeedAt(pos);
                ++pos;
            }
            if (pos == close)
                break;
            const int high = kHexDigit[static_cast<unsigned char>(text[pos])];
            const int low = pos + 1 < close ? kHexDigit[static_cast<unsigned char>(text[pos + 1])] : -1;
            if ((high | low) < 0) {
                m_pos = pos;
                FailOnLine("Invalid binary value", m_line);
            }
            *out++ = static_cast<char>((high << 4) | low);
            pos += 2;
        }
        if (close == size) {
            m_pos = pos;
            FailOnLine("Invalid binary value", m_line);
        }
        m_pos = close + 1;
        const std::size_t length = std::size_t(out - (m_out.data() + start));
        m_out.resize(start + length);
        if (length > std::numeric_limits<std::uint32_t>::max())
            FailOnLine("Invalid binary value", m_line);
        PatchLittleEndian(m_out, lengthAt, std::uint32_t(length));
        NextToken();
    }

    void ParseValue(int depth, bool inList) {
        switch (m_kind) {
        case TokenKind::Identifier:
            WriteIdentifierValue(inList);
            return;
        case TokenKind::String:
            WriteStringValue();
            return;
        case TokenKind::Integer:
            WriteInteger(IntegerValue());
            NextToken();
            return;
        case TokenKind::Float:
            WriteFloat();
            NextToken();
            return;
        case TokenKind::Symbol:
            break;
        case TokenKind::Eof:
            Fail(kInvalidValue);
        }
        switch (m_text[m_tokenStart]) {
        case '(':
            CheckNesting(depth + 1);
            NextToken();
            m_out.push_back(char(Tag::List));
            while (!IsSymbol(')'))
                ParseValue(depth + 1, true);
            m_out.push_back('\0');
            NextToken();
            return;
        case '<':
            CheckNesting(depth + 1);
            NextToken();
            m_out.push_back(char(Tag::Collection));
            while (!IsSymbol('>')) {
                if (!IsWord("item"))
                    Fail("item expected");
                NextToken();
                if (IsSymbol('[')) {
                    NextToken();
                    if (m_kind != TokenKind::Integer)
                        Fail("Number expected");
                    WriteInteger(IntegerValue());
                    NextToken();
                    ExpectSymbol(']');
                }
                m_out.push_back(char(Tag::List));
                while (!IsWord("end"))
                    ParseProperty(depth + 1);
                m_out.push_back('\0');
                NextToken();
            }
            m_out.push_back('\0');
            NextToken();
            return;
        case '[':
            NextToken();
            m_out.push_back(char(Tag::Set));
            if (!IsSymbol(']')) {
                for (;;) {
                    if (m_kind != TokenKind::Identifier)
                        Fail("Identifier expected");
                    WriteShortString(TokenText());
                    NextToken();
                    if (IsSymbol(']'))
                        break;
                    ExpectSymbol(',');
                }
            }
            m_out.push_back('\0');
            NextToken();
            return;
        case '{':
            WriteBinaryValue();
            return;
        default:
            Fail(kInvalidValue);
        }
    }

    std::string_view m_text;
    std::string& m_out;
    std::size_t m_pos = 0;
    int m_line = 1;
    std::size_t m_lineStart = 0;
    TokenKind m_kind = TokenKind::Eof;
    std::size_t m_tokenStart = 0;
    int m_tokenLine = 1;
    char m_floatSuffix = 0;
    PascalString m_string; // the current string token, decoded
    PascalString m_value;  // a string value joined from its pieces
    std::size_t m_sizeAt = 0;
};

} // namespace

bool IsTextForm(std::string_view data) {
    for (std::string_view word : {"object", "inherited", "inline"}) {
        if (data.size() > word.size() && EqualsIgnoreCase(data.substr(0, word.size()), word) &&
            static_cast<unsigned char>(data[word.size()]) <= 32)
            return true;
    }
    return false;
}

void BinaryFormToText(std::string_view binary, std::string& text) {
    text.clear();
    text.reserve(binary.size() * 3 + 4096);
    BinaryToText(binary, text).Convert();
}

std::string BinaryFormToText(std::string_view binary) {
    std::string text;
    BinaryFormToText(binary, text);
    return text;
}

void TextToBinaryForm(std::string_view text, std::string& binary) {
    binary.clear();
    binary.reserve(text.size());
    TextToBinary(text, binary).Convert();
}

std::string TextToBinaryForm(std::string_view text) {
    std::string binary;
    TextToBinaryForm(text, binary);
    return binary;
}

} // namespace wordloom
