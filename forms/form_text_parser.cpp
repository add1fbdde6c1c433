// Text form to binary form resource: one pass over the text with a one-token lookahead; the
// binary form is written as the tokens are read.
#include "base/byte_sink.h"
#include "base/errors.h"
#include "forms/binary_form.h"
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
        if (!m_out.Finish())
            Fail(kInvalidStream);
    }

private:
    [[noreturn]] void Fail(std::string_view message) const { FailOnLine(message, m_tokenLine); }
    [[noreturn]] static void FailOnLine(std::string_view message, int line) {
        throw FormError(FillIn(WL_TR("Forms", "%1 on line %2"),
                               {TranslateText("Forms", std::string(message).c_str()), std::to_string(line)}));
    }
    [[noreturn]] void FailSymbolExpected(char symbol) const {
        Fail(FillIn(WL_TR("Forms", "''%1'' expected"), {std::string(1, symbol)}));
    }

    void LineFeedAt(std::size_t pos) {
        std::size_t length = pos - m_lineStart;
        if (length > 0 && m_text[pos - 1] == '\r')
            --length;
        if (length > kMaxFormLineLength)
            FailOnLine(WL_TR_NOOP("Forms", "Line too long"), m_line);
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
            FailOnLine(WL_TR_NOOP("Forms", "Line too long"), m_line);
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
                Fail(WL_TR_NOOP("Forms", "Invalid string constant"));
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
            Fail(WL_TR_NOOP("Forms", "Identifier expected"));
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
                Fail(WL_TR_NOOP("Forms", "Number expected"));
            for (char c : text) {
                overflow |= (magnitude >> 60) != 0;
                magnitude = (magnitude << 4) | unsigned(HexValue(static_cast<unsigned char>(c)));
            }
            if (overflow)
                Fail(WL_TR_NOOP("Forms", "Number expected"));
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
            Fail(WL_TR_NOOP("Forms", "Number expected"));
        return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
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
            Fail(WL_TR_NOOP("Forms", "Number expected"));
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
                Fail(WL_TR_NOOP("Forms", "Number expected"));
            return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
        }
        const long double scaled = std::nearbyint(ParseFloat<long double>(digits) * 10000.0L);
        if (!(scaled >= -9223372036854775808.0L && scaled < 9223372036854775808.0L))
            Fail(WL_TR_NOOP("Forms", "Number expected"));
        return static_cast<std::int64_t>(scaled);
    }

    void WriteFloat() {
        std::string_view digits = TokenText();
        if (m_floatSuffix)
            digits.remove_suffix(1);
        switch (m_floatSuffix) {
        case 's':
            m_out.Single(ParseFloat<float>(digits));
            break;
        case 'c':
            m_out.Currency(ParseCurrency(digits));
            break;
        case 'd':
            m_out.Date(ParseFloat<double>(digits));
            break;
        default:
            m_out.Extended(ParseFloat<long double>(digits));
        }
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
            Fail(WL_TR_NOOP("Forms", "OBJECT expected"));
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
                Fail(WL_TR_NOOP("Forms", "Number expected"));
            position = IntegerValue();
            NextToken();
            ExpectSymbol(']');
            flags |= kChildPos;
        }
        m_out.BeginObject(FormObjectHeader{flags, position, className, objectName});
        while (!AtObjectOrEnd())
            ParseProperty(depth);
        m_out.EndProperties();
        while (!IsWord("end"))
            ParseObject(depth + 1);
        m_out.EndObject();
        NextToken();
    }

    /// The identifier at hand and any ".identifier" parts after it, as one name (valid until the
    /// next dotted name is read).
    std::string_view DottedName() {
        if (m_kind != TokenKind::Identifier)
            Fail(WL_TR_NOOP("Forms", "Identifier expected"));
        const std::string_view first = TokenText();
        NextToken();
        if (!IsSymbol('.'))
            return first;
        m_name.assign(first);
        while (IsSymbol('.')) {
            NextToken();
            if (m_kind != TokenKind::Identifier)
                Fail(WL_TR_NOOP("Forms", "Identifier expected"));
            m_name.push_back('.');
            m_name.append(TokenText());
            // A binary form holds a name in 255 bytes; a plain name is cut there, but a cut dotted
            // name may end in its dot and would not read back.
            if (m_name.size() > 255)
                Fail(kInvalidValue);
            NextToken();
        }
        return m_name;
    }

    void ParseProperty(int depth) {
        m_out.PropertyName(DottedName());
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
                Fail(WL_TR_NOOP("Forms", "String expected"));
            m_value.Append(m_string);
            NextToken();
        }
        if (m_value.Length() > std::numeric_limits<std::uint32_t>::max())
            Fail(WL_TR_NOOP("Forms", "Invalid string constant")); // its length would not fit the 4-byte field
        if (m_value.IsWide())
            m_out.WideString(m_value.Wide());
        else
            m_out.NarrowString(m_value.Narrow());
    }

    void WriteIdentifierValue(bool inList) {
        const int line = m_tokenLine;
        const std::string_view name = DottedName();
        if (EqualsIgnoreCase(name, "False")) {
            m_out.False();
        } else if (EqualsIgnoreCase(name, "True")) {
            m_out.True();
        } else if (EqualsIgnoreCase(name, "nil")) {
            m_out.Nil();
        } else if (EqualsIgnoreCase(name, "Null")) {
            // A null item would read back as the end of its list.
            if (inList)
                FailOnLine(kInvalidValue, line);
            m_out.Null();
        } else {
            m_out.Identifier(name);
        }
    }

    void WriteBinaryValue() {
        // The digits are read straight from the text: pairs of hex digits, blanks between pairs.
        const char* const text = m_text.data();
        const std::size_t size = m_text.size();
        const void* closeBrace = std::memchr(text + m_pos, '}', size - m_pos);
        const std::size_t close =
            closeBrace ? std::size_t(static_cast<const char*>(closeBrace) - text) : size;
        // Decoded in place into room for the most bytes the digits up to "}" can give.
        char* const first = m_out.BeginBinary((close - m_pos) / 2);
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
                FailOnLine(WL_TR_NOOP("Forms", "Invalid binary value"), m_line);
            }
            *out++ = static_cast<char>((high << 4) | low);
            pos += 2;
        }
        if (close == size) {
            m_pos = pos;
            FailOnLine(WL_TR_NOOP("Forms", "Invalid binary value"), m_line);
        }
        m_pos = close + 1;
        const std::size_t length = std::size_t(out - first);
        if (length > std::numeric_limits<std::uint32_t>::max())
            FailOnLine(WL_TR_NOOP("Forms", "Invalid binary value"), m_line);
        m_out.EndBinary(length);
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
            m_out.Integer(IntegerValue());
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
            m_out.BeginList();
            while (!IsSymbol(')'))
                ParseValue(depth + 1, true);
            m_out.EndList();
            NextToken();
            return;
        case '<':
            CheckNesting(depth + 1);
            NextToken();
            m_out.BeginCollection();
            while (!IsSymbol('>')) {
                if (!IsWord("item"))
                    Fail(WL_TR_NOOP("Forms", "item expected"));
                NextToken();
                if (IsSymbol('[')) {
                    NextToken();
                    if (m_kind != TokenKind::Integer)
                        Fail(WL_TR_NOOP("Forms", "Number expected"));
                    m_out.BeginItem(IntegerValue());
                    NextToken();
                    ExpectSymbol(']');
                } else {
                    m_out.BeginItem();
                }
                while (!IsWord("end"))
                    ParseProperty(depth + 1);
                m_out.EndItem();
                NextToken();
            }
            m_out.EndCollection();
            NextToken();
            return;
        case '[':
            NextToken();
            m_out.BeginSet();
            if (!IsSymbol(']')) {
                for (;;) {
                    if (m_kind != TokenKind::Identifier)
                        Fail(WL_TR_NOOP("Forms", "Identifier expected"));
                    m_out.SetElement(TokenText());
                    NextToken();
                    if (IsSymbol(']'))
                        break;
                    ExpectSymbol(',');
                }
            }
            m_out.EndSet();
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
    BinaryFormWriter m_out;
    std::size_t m_pos = 0;
    int m_line = 1;
    std::size_t m_lineStart = 0;
    TokenKind m_kind = TokenKind::Eof;
    std::size_t m_tokenStart = 0;
    int m_tokenLine = 1;
    char m_floatSuffix = 0;
    PascalString m_string; // the current string token, decoded
    PascalString m_value;  // a string value joined from its pieces
    std::string m_name;    // a dotted name joined from its parts
};
} // namespace

void ParseFormText(std::string_view text, SinkTarget binary) {
    TextToBinary(text, binary).Convert();
}

} // namespace wordloom::detail
