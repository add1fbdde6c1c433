#include "strings_db/find_index.h"

#include "strings_db/side_store.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstring>

namespace wordloom {

namespace {

std::u16string ToUtf16(std::string_view utf8) {
    std::u16string text(utf8.size() + 1, u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(text.data(), static_cast<int32_t>(text.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &status);
    text.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return text;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::string FoldForFind(std::string_view utf8) {
    if (IsAscii(utf8)) {
        // Most texts: folding is lower case, and there is nothing to decompose.
        std::string folded(utf8);
        for (char& c : folded) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c + ('a' - 'A'));
            }
        }
        return folded;
    }
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
    const std::u16string text = ToUtf16(utf8);
    // Decompose, fold, then decompose again: folding may yield letters with marks of their own.
    std::u16string decomposed(text.size() * 4 + 16, u'\0');
    int32_t length = unorm2_normalize(nfd, text.data(), static_cast<int32_t>(text.size()), decomposed.data(),
                                      static_cast<int32_t>(decomposed.size()), &status);
    std::u16string folded(static_cast<std::size_t>(std::max(length, 0)) * 3 + 16, u'\0');
    length = u_strFoldCase(folded.data(), static_cast<int32_t>(folded.size()), decomposed.data(), length,
                           U_FOLD_CASE_DEFAULT, &status);
    length = unorm2_normalize(nfd, folded.data(), length, decomposed.data(),
                              static_cast<int32_t>(decomposed.size()), &status);
    if (U_FAILURE(status)) {
        return std::string(utf8);
    }
    std::string result;
    result.reserve(utf8.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U16_NEXT(decomposed.data(), i, length, c);
        if (u_charType(c) == U_NON_SPACING_MARK) {
            continue; // accents
        }
        char buffer[4];
        int32_t size = 0;
        U8_APPEND_UNSAFE(reinterpret_cast<uint8_t*>(buffer), size, c);
        result.append(buffer, static_cast<std::size_t>(size));
    }
    return result;
}

FindMatcher::FindMatcher(std::string_view needle) : m_needle(FoldForFind(needle)) {}

bool FindMatcher::Matches(std::string_view text) const {
    return MatchesFolded(FoldForFind(text));
}

bool FindMatcher::MatchesFolded(std::string_view foldedText) const {
    return foldedText.find(m_needle) != std::string_view::npos;
}

FindIndex::FindIndex(StringsTable& table, std::string keyField, std::vector<std::string> fields) {
    std::vector<std::string> read{keyField};
    read.insert(read.end(), fields.begin(), fields.end());
    table.Side().ScanRecords(read, [this](const std::vector<std::string_view>& values) {
        m_keys.emplace_back(values[0]);
        m_starts.push_back(m_folded.size());
        for (std::size_t i = 1; i < values.size(); ++i) {
            m_folded += FoldForFind(values[i]);
            m_folded += '\0'; // no needle spans two fields
        }
    });
    m_starts.push_back(m_folded.size());
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        m_byKey.emplace(m_keys[i], i); // the first record of a key wins
    }
    m_match.assign(m_keys.size(), 1);
}

std::size_t FindIndex::Search(std::string_view needle) {
    std::string folded = FoldForFind(needle);
    folded.erase(std::remove(folded.begin(), folded.end(), '\0'), folded.end());
    if (folded.empty()) {
        m_match.assign(m_keys.size(), 1);
        return m_keys.size();
    }
    m_match.assign(m_keys.size(), 0);
    std::size_t count = 0;
    const char* begin = m_folded.data();
    const char* end = begin + m_folded.size();
    const char* at = begin;
    while (at < end) {
        const void* hit = memmem(at, static_cast<std::size_t>(end - at), folded.data(), folded.size());
        if (!hit) {
            break;
        }
        const auto offset = static_cast<std::size_t>(static_cast<const char*>(hit) - begin);
        const auto record =
            static_cast<std::size_t>(std::upper_bound(m_starts.begin(), m_starts.end(), offset) -
                                     m_starts.begin()) -
            1;
        m_match[record] = 1;
        ++count;
        at = begin + m_starts[record + 1]; // one hit per record is enough
    }
    return count;
}

bool FindIndex::Matches(std::string_view key) const {
    const auto found = m_byKey.find(key);
    return found != m_byKey.end() && m_match[found->second] != 0;
}

std::vector<std::string> FindIndex::MatchingKeys() const {
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        if (m_match[i]) {
            keys.push_back(m_keys[i]);
        }
    }
    return keys;
}

} // namespace wordloom
