// Code pages of Delphi sources. The strings table holds UTF-8; source files hold bytes in the code
// page the user chose as character set of the project language (or UTF-8 after a byte-order mark).
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace wordloom {

/// The iconv name of a font character-set number (1 = Default = Windows-1252, 128 = CP932, ...);
/// nullptr when the number is none of the supported character sets.
const char* CodePageName(int charset);

/// The three bytes of the UTF-8 byte-order mark.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
inline bool HasUtf8Bom(std::string_view bytes) {
    return bytes.substr(0, 3) == kUtf8Bom;
}

/// A byte that the code page leaves undefined (or a broken double-byte sequence, or a byte that
/// would not come back unchanged) decodes to U+F0000 + byte, in a private-use plane that no legacy
/// code page maps, and encodes back to that byte. So decoding never fails and a decoded text always
/// encodes to the bytes it came from.
inline constexpr char32_t kRawByteBase = 0xF0000;

struct EncodeResult {
    std::string bytes;
    /// False when some character could not be written in the code page (it became "?") or the
    /// input was no valid UTF-8.
    bool complete = true;
};

class CodePageTables;

/// A code page with its conversion tables. Instances are shared, immutable after construction and
/// safe to use from several threads.
class CodePage {
public:
    /// The code page of a character-set number, built on first use and cached; throws
    /// std::invalid_argument for an unknown number.
    static const CodePage& ForCharset(int charset);
    /// UTF-8 itself (units with a byte-order mark): valid sequences pass, stray bytes are escaped.
    static const CodePage& Utf8();

    explicit CodePage(const char* iconvName);
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    const std::string& Name() const { return m_name; }

    /// Bytes to UTF-8; never fails (see kRawByteBase).
    std::string Decode(std::string_view bytes) const;
    /// Appends the decoded bytes to `out`.
    void DecodeAppend(std::string_view bytes, std::string& out) const;
    /// UTF-8 to bytes.
    EncodeResult Encode(std::string_view utf8) const;
    /// Appends the bytes of one character; false (and nothing appended) when the code page cannot
    /// hold it.
    bool EncodeChar(char32_t codePoint, std::string& out) const;

private:
    std::string m_name;
    std::unique_ptr<CodePageTables> m_tables; // null for UTF-8
};

/// Appends the UTF-8 form of a code point.
void AppendUtf8(char32_t codePoint, std::string& out);
/// Reads one UTF-8 character at `pos` and advances `pos`; returns false (advancing by one byte)
/// on a malformed sequence, an overlong form or a surrogate.
bool NextUtf8(std::string_view text, size_t& pos, char32_t& codePoint);

} // namespace wordloom
