#include "forms/code_page.h"

#include "base/ui_text.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <map>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace wordloom {

const char* CodePageName(int charset) {
    switch (charset) {
    case 0: // ANSI_CHARSET: Western, like the default
    case 1:
        return "WINDOWS-1252";
    case 128:
        return "CP932";
    case 129:
        return "CP949";
    case 130:
        return "JOHAB";
    case 134:
        return "CP936";
    case 136:
        return "CP950";
    case 161:
        return "CP1253";
    case 162:
        return "CP1254";
    case 163:
        return "CP1258";
    case 177:
        return "CP1255";
    case 178:
        return "CP1256";
    case 186:
        return "CP1257";
    case 204:
        return "CP1251";
    case 222:
        return "CP874";
    case 238:
        return "CP1250";
    default:
        return nullptr;
    }
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool NextUtf8(std::string_view s, size_t& pos, char32_t& c) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        c = b0;
        ++pos;
        return true;
    }
    int extra;
    char32_t minimum;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        c = b0 & 0x1F;
        minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        c = b0 & 0x0F;
        minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        c = b0 & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return false;
    }
    if (pos + extra >= s.size()) {
        ++pos;
        return false;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return false;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return false;
    }
    pos += extra + 1;
    return true;
}

namespace {

constexpr char32_t kNone = 0xFFFFFFFF;

class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            throw std::invalid_argument(
                FillIn(WL_TR("Forms", "Code page not available: %1 -> %2"), {from, to}));
        }
    }
    ~Iconv() { iconv_close(m_cd); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    /// Converts the whole input from the initial state; false unless every byte was consumed.
    bool Convert(std::string_view in, std::string& out) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buffer[64];
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            m_lastErrno = errno;
            return false;
        }
        if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            m_lastErrno = errno;
            return false;
        }
        out.assign(buffer, outPtr);
        return true;
    }
    int LastErrno() const { return m_lastErrno; }

private:
    iconv_t m_cd;
    int m_lastErrno = 0;
};

// The single code point of a UTF-32 conversion result, or kNone when it holds none or several.
char32_t SingleCodePoint(const std::string& utf32) {
    if (utf32.size() != 4) {
        return kNone;
    }
    char32_t c;
    std::memcpy(&c, utf32.data(), 4);
    return c;
}

} // namespace

// Everything is tabulated once from iconv, so that decoding and encoding are table lookups: glibc's
// converters are slow per call, and some (CP1258) recombine characters across calls.
class CodePageTables {
public:
    explicit CodePageTables(const char* name) : m_encoderName(name) {
        Iconv toUnicode("UTF-32LE", name);
        Iconv fromUnicode(name, "UTF-32LE");
        std::string result;
        std::string back;
        const auto roundTrips = [&](char32_t c, std::string_view bytes) {
            std::string u(4, '\0');
            std::memcpy(u.data(), &c, 4);
            return fromUnicode.Convert(u, back) && back == bytes;
        };
        m_single.fill(kNone);
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const std::string_view in(&byte, 1);
            if (toUnicode.Convert(in, result)) {
                const char32_t c = SingleCodePoint(result);
                if (c != kNone && roundTrips(c, in)) {
                    m_single[b] = c;
                }
            } else if (toUnicode.LastErrno() == EINVAL) {
                m_isLead[b] = true;
            }
        }
        for (int b = 0; b < 128; ++b) {
            if (m_single[b] != static_cast<char32_t>(b)) {
                m_asciiIdentity = false;
            }
        }
        bool anyLead = false;
        for (int lead = 0; lead < 256; ++lead) {
            if (!m_isLead[lead]) {
                continue;
            }
            if (!anyLead) {
                m_pairs.assign(65536, kNone);
                anyLead = true;
            }
            for (int trail = 0; trail < 256; ++trail) {
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                const std::string_view in(pair, 2);
                if (toUnicode.Convert(in, result)) {
                    const char32_t c = SingleCodePoint(result);
                    if (c != kNone && roundTrips(c, in)) {
                        m_pairs[lead << 8 | trail] = c;
                    }
                }
            }
        }
        // Reverse table for the Basic Multilingual Plane: 0 = not tabulated; 1..255 a single byte
        // (byte 0 is U+0000, handled before the lookup); above 255 a lead and trail byte.
        m_encode.assign(65536, 0);
        for (int b = 255; b >= 1; --b) {
            if (m_single[b] != kNone && m_single[b] < 0x10000) {
                m_encode[m_single[b]] = static_cast<uint16_t>(b);
            }
        }
        if (!m_pairs.empty()) {
            for (int code = 65535; code >= 0x100; --code) {
                const char32_t c = m_pairs[code];
                if (c != kNone && c < 0x10000 && m_encode[c] == 0) {
                    m_encode[c] = static_cast<uint16_t>(code);
                }
            }
        }
        m_encodeZero = m_single[0] == 0;
    }

    void Decode(std::string_view bytes, std::string& out) const {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
        const size_t n = bytes.size();
        size_t i = 0;
        while (i < n) {
            const unsigned char b = p[i];
            if (b < 0x80 && m_asciiIdentity) {
                // Runs of ASCII are the common case: copy them whole.
                size_t j = i + 1;
                // Eight bytes at a time while none has its top bit set (a form is mostly ASCII).
                while (j + 8 <= n) {
                    std::uint64_t word;
                    std::memcpy(&word, p + j, sizeof word);
                    if (word & 0x8080808080808080ULL) {
                        break;
                    }
                    j += 8;
                }
                while (j < n && p[j] < 0x80) {
                    ++j;
                }
                out.append(bytes.data() + i, j - i);
                i = j;
                continue;
            }
            if (m_isLead[b] && i + 1 < n) {
                const char32_t c = m_pairs[b << 8 | p[i + 1]];
                if (c != kNone) {
                    AppendUtf8(c, out);
                    i += 2;
                    continue;
                }
            }
            const char32_t c = m_single[b];
            AppendUtf8(c != kNone ? c : kRawByteBase + b, out);
            ++i;
        }
    }

    /// Whether every character from U+0001 to U+007F is written as its own byte.
    bool AsciiIdentity() const { return m_asciiIdentity; }

    bool EncodeChar(char32_t c, std::string& out) const {
        if (c == 0) {
            if (m_encodeZero) {
                out += '\0';
            }
            return m_encodeZero;
        }
        if (c < 0x80 && m_asciiIdentity) {
            out += static_cast<char>(c);
            return true;
        }
        if (c >= kRawByteBase && c <= kRawByteBase + 0xFF) {
            out += static_cast<char>(c - kRawByteBase);
            return true;
        }
        if (c < 0x10000 && m_encode[c] != 0) {
            const uint16_t code = m_encode[c];
            if (code > 0xFF) {
                out += static_cast<char>(code >> 8);
            }
            out += static_cast<char>(code & 0xFF);
            return true;
        }
        // Not tabulated: characters that the converter writes as several bytes of single-byte
        // code pages (CP1258 decomposes precomposed letters) or outside the BMP.
        if (c >= 0xD800 && c <= 0xDFFF) {
            return false;
        }
        std::lock_guard lock(m_encoderMutex);
        if (!m_encoder) {
            m_encoder = std::make_unique<Iconv>(m_encoderName.c_str(), "UTF-32LE");
        }
        std::string u(4, '\0');
        std::memcpy(u.data(), &c, 4);
        std::string bytes;
        if (!m_encoder->Convert(u, bytes) || bytes.empty()) {
            return false;
        }
        out += bytes;
        return true;
    }

private:
    std::string m_encoderName;
    std::array<char32_t, 256> m_single{};
    std::array<bool, 256> m_isLead{};
    std::vector<char32_t> m_pairs; // lead << 8 | trail, empty for single-byte code pages
    std::vector<uint16_t> m_encode;
    bool m_asciiIdentity = true;
    bool m_encodeZero = false;
    mutable std::mutex m_encoderMutex;
    mutable std::unique_ptr<Iconv> m_encoder;
};

CodePage::CodePage(const char* iconvName) : m_name(iconvName) {
    if (m_name != "UTF-8") {
        m_tables = std::make_unique<CodePageTables>(iconvName);
    }
}

CodePage::~CodePage() = default;

const CodePage& CodePage::ForCharset(int charset) {
    const char* name = CodePageName(charset);
    if (name == nullptr) {
        throw std::invalid_argument(
            FillIn(WL_TR("Forms", "Unknown character set %1"), {std::to_string(charset)}));
    }
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<CodePage>> cache;
    std::lock_guard lock(mutex);
    auto& entry = cache[name];
    if (!entry) {
        entry = std::make_unique<CodePage>(name);
    }
    return *entry;
}

const CodePage& CodePage::Utf8() {
    static const CodePage utf8("UTF-8");
    return utf8;
}

std::string CodePage::Decode(std::string_view bytes) const {
    std::string out;
    DecodeAppend(bytes, out);
    return out;
}

void CodePage::DecodeAppend(std::string_view bytes, std::string& out) const {
    out.reserve(out.size() + bytes.size());
    if (m_tables) {
        m_tables->Decode(bytes, out);
        return;
    }
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t start = i;
        char32_t c;
        if (NextUtf8(bytes, i, c) && (c < kRawByteBase || c > kRawByteBase + 0xFF)) {
            out.append(bytes.data() + start, i - start);
        } else {
            // A stray byte, or an escape character written literally (which would not survive
            // the way back): escape each of its bytes.
            for (size_t k = start; k < i; ++k) {
                AppendUtf8(kRawByteBase + static_cast<unsigned char>(bytes[k]), out);
            }
        }
    }
}

bool CodePage::EncodeChar(char32_t codePoint, std::string& out) const {
    if (m_tables) {
        return m_tables->EncodeChar(codePoint, out);
    }
    if (codePoint >= kRawByteBase && codePoint <= kRawByteBase + 0xFF) {
        out += static_cast<char>(codePoint - kRawByteBase);
    } else {
        AppendUtf8(codePoint, out);
    }
    return true;
}

EncodeResult CodePage::Encode(std::string_view utf8) const {
    EncodeResult result;
    result.bytes.reserve(utf8.size());
    // Runs of plain ASCII (no NUL) are copied at once where the code page writes them unchanged.
    const bool asciiIdentity = m_tables == nullptr || m_tables->AsciiIdentity();
    size_t i = 0;
    while (i < utf8.size()) {
        if (asciiIdentity) {
            size_t end = i;
            while (end < utf8.size() && static_cast<unsigned char>(utf8[end]) - 1u < 0x7Fu) {
                ++end;
            }
            result.bytes.append(utf8, i, end - i);
            i = end;
            if (i == utf8.size()) {
                break;
            }
        }
        char32_t c;
        if (!NextUtf8(utf8, i, c) || !EncodeChar(c, result.bytes)) {
            result.bytes += '?';
            result.complete = false;
        }
    }
    return result;
}

} // namespace wordloom
