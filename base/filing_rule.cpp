#include "base/filing_rule.h"

namespace wordloom {

namespace {

// Characters, not bytes: "Öl" is two characters in three bytes.
std::size_t Utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

} // namespace

std::string_view TrimControls(std::string_view text) {
    // Codes up to 32 are single bytes in UTF-8 and in every code page the sources use.
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) {
        ++begin;
    }
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::optional<PreparedText> PrepareText(std::string_view rawText) {
    const std::string_view trimmed = TrimControls(rawText);
    if (Utf8Length(trimmed) < kMinFiledLength) {
        return std::nullopt;
    }
    // Blanks are counted on the raw text; the trimmed text is not empty, so both ends exist.
    PreparedText filed;
    filed.text = trimmed;
    filed.spFront = static_cast<long long>(rawText.find_first_not_of(' '));
    filed.spEnd = static_cast<long long>(rawText.size() - 1 - rawText.find_last_not_of(' '));
    return filed;
}

} // namespace wordloom
