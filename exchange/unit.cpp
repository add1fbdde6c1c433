#include "exchange/unit.h"
#include "base/ui_text.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace wordloom::exchange {

namespace {

struct StateNameEntry {
    UnitState state;
    std::string_view name;
};
constexpr std::array<StateNameEntry, 5> kStateNames{{{UnitState::New, "new"},
                                                     {UnitState::Suggested, "suggested"},
                                                     {UnitState::Translated, "translated"},
                                                     {UnitState::Reviewed, "reviewed"},
                                                     {UnitState::DontTranslate, "dont_translate"}}};

struct LanguageEntry {
    std::string_view field;
    std::string_view tag;
};
constexpr std::array<LanguageEntry, 24> kLanguages{{
    {"English", "en"},   {"German", "de"},     {"French", "fr"},   {"Spanish", "es"},   {"Italian", "it"},
    {"Dutch", "nl"},     {"Portuguese", "pt"}, {"Polish", "pl"},   {"Czech", "cs"},     {"Russian", "ru"},
    {"Ukrainian", "uk"}, {"Chinese", "zh"},    {"Japanese", "ja"}, {"Korean", "ko"},    {"Swedish", "sv"},
    {"Danish", "da"},    {"Norwegian", "nb"},  {"Finnish", "fi"},  {"Hungarian", "hu"}, {"Greek", "el"},
    {"Turkish", "tr"},   {"Hebrew", "he"},     {"Arabic", "ar"},   {"Slovak", "sk"},
}};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::string Where(std::size_t line, std::size_t column) {
    if (line == 0)
        return {};
    if (column == 0)
        return FillIn(WL_TR("exchange", " (line %1)"), {std::to_string(line)});
    return FillIn(WL_TR("exchange", " (line %1, column %2)"), {std::to_string(line), std::to_string(column)});
}

} // namespace

std::string_view StateName(UnitState state) {
    for (const StateNameEntry& entry : kStateNames)
        if (entry.state == state)
            return entry.name;
    return "new";
}

std::optional<UnitState> StateFromName(std::string_view name) {
    for (const StateNameEntry& entry : kStateNames)
        if (entry.name == name)
            return entry.state;
    return std::nullopt;
}

ExchangeError::ExchangeError(const std::string& message, std::size_t line, std::size_t column)
    : EngineError(message + Where(line, column)), m_line(line), m_column(column) {}

std::pair<std::size_t, std::size_t> LineAndColumn(std::string_view data, std::size_t offset) {
    offset = std::min(offset, data.size());
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        if (data[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return {line, offset - lineStart + 1};
}

void CheckExchangeSize(std::string_view data) {
    if (data.size() > kMaxExchangeFileSize) {
        throw ExchangeError(FillIn(WL_TR("exchange", "The file is too large (%1 MB; at most %2 MB are read)"),
                                   {std::to_string(data.size() / (1024 * 1024)),
                                    std::to_string(kMaxExchangeFileSize / (1024 * 1024))}),
                            0);
    }
}

std::string LanguageTag(const std::string& field) {
    const std::string lower = Lower(field);
    for (const LanguageEntry& entry : kLanguages)
        if (Lower(entry.field) == lower)
            return std::string(entry.tag);
    return lower;
}

std::optional<std::string> FieldForTag(std::string_view tag, const std::vector<std::string>& fields) {
    const std::string lowerTag = Lower(tag);
    const std::string primary = lowerTag.substr(0, lowerTag.find_first_of("-_"));
    for (const std::string& field : fields) {
        const std::string fieldTag = LanguageTag(field);
        if (fieldTag == lowerTag || fieldTag == primary || Lower(field) == lowerTag)
            return field;
    }
    return std::nullopt;
}

} // namespace wordloom::exchange
