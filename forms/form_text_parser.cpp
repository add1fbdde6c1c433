// Text form to binary form resource: one pass over the text with a one-token lookahead; the
// binary form is written as the tokens are read.
#include "base/byte_sink.h"
#include "base/errors.h"
#include "forms/form_format.h"
#include "forms/form_stream.h"
#include "forms/literal_codec.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace wordloom::detail {

namespace {

/// Writes the 80-bit extended form of value, built portably from its fraction and exponent.
void AppendExtended(ByteSink& out, long double value) {
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

template <class T>
void AppendLittleEndian(ByteSink& out, T value) {
    using U = std::make_unsigned_t<T>;
    U bits = static_cast<U>(value);
    char bytes[sizeof(T)];
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<char>(bits >> (8 * i));
    out.append(bytes, sizeof(T));
}

template <class T>
void PatchLittleEndian(ByteSink& out, std::size_t at, T value) {
    using U = std::make_unsigned_t<T>;
    U bits = static_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out.data()[at + i] = static_cast<char>(bits >> (8 * i));
}

enum class TokenKind : std::uint8_t { Eof, Symbol, Identifier, String, Integer, Float };

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

class TextToBinary {
public:
    TextToBinary(std::string_view text, SinkTarget out) : m_text(text), m_out(out, text.size()) {}

    void Convert() {
        NextToken();
        ParseObject(0);
        // Whatever follows the root object's end is not part of the form.
        const std::size_t streamSize = m_out.size() - m_sizeAt - 4;
        if (streamSize > std::numeric_limits<std::uint32_t>::max())
            Fail(kInvalidStream);
        PatchLittleEndian(m_out, m_sizeAt, std::uint32_t(streamSize));
        m_out.Finish();
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

    /// A plain decimal (-12.375) whose digits and power of ten are exact in Float is correctly
    /// rounded by one division; this spares the general conversion for the usual form values.
    template <class Float>
    static bool ParsePlainDecimal(std::string_view text, Float& value) {
        constexpr int kMantissaBits = std::numeric_limits<Float>::digits;
        const bool negative = !text.empty() && text[0] == '-';
        std::size_t i = negative ? 1 : 0;
        std::uint64_t units = 0;
        int digitCount = 0;
        int fractionDigits = -1;
        for (; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '.' && fractionDigits < 0) {
                fractionDigits = 0;
                continue;
            }
            if (!IsDigit(static_cast<unsigned char>(c)) || ++digitCount > 19)
                return false;
            units = units * 10 + unsigned(c - '0');
            if (fractionDigits >= 0)
                ++fractionDigits;
        }
        if (digitCount == 0 || fractionDigits < 0)
            return false;
        // The digits are exact while they fit in the mantissa, 10^k while 5^k does.
        constexpr std::uint64_t kExactLimit = kMantissaBits >= 64
                                                  ? std::numeric_limits<std::uint64_t>::max()
                                                  : (std::uint64_t(1) << (kMantissaBits % 64));
        std::uint64_t power5 = 1;
        for (int k = 0; k < fractionDigits; ++k) {
            if (power5 > kExactLimit / 5)
                return false;
            power5 *= 5;
        }
        if (units > kExactLimit)
            return false;
        Float power10 = 1;
        for (int k = 0; k < fractionDigits; ++k)
            power10 *= 10;
        value = static_cast<Float>(units) / power10;
        if (negative)
            value = -value;
        return true;
    }

    template <class Float>
    Float ParseFloat(std::string_view digits) const {
        Float value{};
        if (ParsePlainDecimal(digits, value))
            return value;
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
        // A class name of 240 bytes or more has a length byte that reads as a prefix byte, so such
        // a record gets a prefix of its own (flags 0) to stay readable.
        if (flags || className.size() >= 0xF0)
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

    /// Writes the identifier at hand and any ".identifier" parts after it as one short string.
    /// Returns where its length byte stands.
    std::size_t WriteDottedName() {
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
            m_out.Truncate(lengthAt + 1 + 255);
            length = 255;
        }
        m_out.data()[lengthAt] = static_cast<char>(length);
        return lengthAt;
    }

    void ParseProperty(int depth) {
        WriteDottedName();
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
        if (m_value.Length() > std::numeric_limits<std::uint32_t>::max())
            Fail("Invalid string constant"); // its length would not fit the 4-byte field
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
        const int line = m_tokenLine;
        const std::size_t start = m_out.size();
        m_out.push_back(char(Tag::Ident));
        const std::size_t lengthAt = WriteDottedName();
        const std::string_view name(m_out.data() + lengthAt + 1, m_out.size() - lengthAt - 1);
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
                FailOnLine(kInvalidValue, line);
            m_out.Truncate(start);
            m_out.push_back(char(word));
        }
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
        char* const first = m_out.Claim((close - m_pos) / 2);
        char* out = first;
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
        const std::size_t length = std::size_t(out - first);
        m_out.Truncate(start + length);
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
    ByteSink m_out;
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

void ParseFormText(std::string_view text, SinkTarget binary) {
    TextToBinary(text, binary).Convert();
}

} // namespace wordloom::detail
