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

const std::unordered_map<std::string, SideDetails::Review>&
SideDetails::Reviews(const std::string& targetLanguage) const {
    // A lookup per text would cost a statement per unit of a million-record export.
    if (m_reviewsLanguage != targetLanguage) {
        m_reviews.clear();
        m_side.ScanReviews(m_sourceLanguage, targetLanguage, [this](const ReviewEntry& row) {
            m_reviews.insert_or_assign(row.text, Review{row.state, row.note});
        });
        m_reviewsLanguage = targetLanguage;
    }
    return m_reviews;
}

std::optional<UnitState> SideDetails::State(const std::string& targetLanguage,
                                            const std::string& text) const {
    // Without a row the caller derives the state from the translation, as EffectiveState does.
    const auto& reviews = Reviews(targetLanguage);
    const auto row = reviews.find(text);
    if (row == reviews.end())
        return std::nullopt;
    return ToUnit(row->second.state);
}

std::vector<std::string> SideDetails::Notes(const std::string& targetLanguage,
                                            const std::string& text) const {
    const auto& reviews = Reviews(targetLanguage);
    const auto row = reviews.find(text);
    if (row == reviews.end() || row->second.note.empty())
        return {};
    return {row->second.note};
}

void SideDetails::StoreState(const std::string& targetLanguage, const std::string& text, const std::string&,
                             UnitState state) {
    const auto& reviews = Reviews(targetLanguage);
    const auto old = reviews.find(text);
    std::string note = old == reviews.end() ? std::string() : old->second.note;
    m_side.SetReview(ReviewEntry{m_sourceLanguage, text, targetLanguage, ToReview(state), note, 0});
    m_reviews.insert_or_assign(text, Review{ToReview(state), std::move(note)});
}

} // namespace wordloom::exchange
