#include "exchange/side_details.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"

#include <array>
#include <utility>

namespace wordloom::exchange {

namespace {

constexpr std::array<std::pair<UnitState, ReviewState>, 5> kStates{{
    {UnitState::New, ReviewState::New},
    {UnitState::Suggested, ReviewState::Suggested},
    {UnitState::Translated, ReviewState::Translated},
    {UnitState::Reviewed, ReviewState::Reviewed},
    {UnitState::DontTranslate, ReviewState::DontTranslate},
}};

ReviewState ToReview(UnitState state) {
    for (const auto& [unit, review] : kStates)
        if (unit == state)
            return review;
    return ReviewState::Suggested;
}

UnitState ToUnit(ReviewState state) {
    for (const auto& [unit, review] : kStates)
        if (review == state)
            return unit;
    return UnitState::Suggested;
}

std::string ChosenSource(const StringsTable& table, const std::string& sourceLanguage) {
    if (!sourceLanguage.empty())
        return sourceLanguage;
    const std::vector<std::string> languages = table.Languages();
    return languages.empty() ? std::string() : languages.front();
}

} // namespace

SideDetails::SideDetails(StringsTable& table, const std::string& sourceLanguage)
    : m_side(table.Side()), m_sourceLanguage(ChosenSource(table, sourceLanguage)) {}

std::vector<Place> SideDetails::Places(const std::string& language, const std::string& text,
                                       const std::string& project) const {
    // A lookup per text would scan the occurrence rows each time where the text index is missing
    // (a table opened read-only right after a collect).
    if (m_placesLanguage != language) {
        m_places.clear();
        m_side.ScanOccurrences(language, [this](const Occurrence& row) {
            m_places[row.text].push_back(Place{row.project, row.file, row.line, row.path, row.property});
        });
        m_placesLanguage = language;
    }
    const auto found = m_places.find(text);
    if (found == m_places.end())
        return {};
    std::vector<Place> places;
    for (const Place& place : found->second)
        if (project.empty() || place.project == project)
            places.push_back(place);
    return places;
}

std::optional<UnitState> SideDetails::State(const std::string& targetLanguage,
                                            const std::string& text) const {
    // Without a row the caller derives the state from the translation, as EffectiveState does.
    const std::optional<ReviewEntry> row = m_side.Review(m_sourceLanguage, text, targetLanguage);
    if (!row)
        return std::nullopt;
    return ToUnit(row->state);
}

std::vector<std::string> SideDetails::Notes(const std::string& targetLanguage,
                                            const std::string& text) const {
    const std::optional<ReviewEntry> row = m_side.Review(m_sourceLanguage, text, targetLanguage);
    if (!row || row->note.empty())
        return {};
    return {row->note};
}

void SideDetails::StoreState(const std::string& targetLanguage, const std::string& text, const std::string&,
                             UnitState state) {
    const std::optional<ReviewEntry> old = m_side.Review(m_sourceLanguage, text, targetLanguage);
    m_side.SetReview(ReviewEntry{m_sourceLanguage, text, targetLanguage, ToReview(state),
                                 old ? old->note : std::string(), 0});
}

} // namespace wordloom::exchange
