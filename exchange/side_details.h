// The details of an exchange read from and stored in the side tables of the strings table: where a
// text was collected, the review state and note of its translation.
#pragma once

#include "exchange/table_exchange.h"
#include "strings_db/side_store.h"

#include <unordered_map>

namespace wordloom::exchange {

/// Reads places, states and notes from the side tables of `table` and stores imported states as
/// review rows. The rows are named by the source language's text, so the details belong to one
/// source language: `sourceLanguage`, or the table's first language field when it is empty (as
/// the export and import choose it). A table opened read-only without side tables reads as empty.
/// The places of every text, and the review rows of a target language, are each read in one pass
/// on the first call and kept: make the details for one export or import.
class SideDetails : public UnitDetails {
public:
    SideDetails(StringsTable& table, const std::string& sourceLanguage);

    std::vector<Place> Places(const std::string& language, const std::string& text,
                              const std::string& project) const override;
    std::optional<UnitState> State(const std::string& targetLanguage, const std::string& text) const override;
    std::vector<std::string> Notes(const std::string& targetLanguage, const std::string& text) const override;
    /// Writes through the table's connection, so inside the import's transaction; keeps the row's
    /// note.
    void StoreState(const std::string& targetLanguage, const std::string& text, const std::string& target,
                    UnitState state) override;
    bool StoresStates() const override { return true; }

    const std::string& SourceLanguage() const { return m_sourceLanguage; }

private:
    SideStore& m_side;
    std::string m_sourceLanguage;
    mutable std::optional<std::string> m_placesLanguage;
    mutable std::unordered_map<std::string, std::vector<Place>> m_places; ///< by text
    struct Review {
        ReviewState state;
        std::string note;
    };
    /// The review rows of one target language, by text.
    const std::unordered_map<std::string, Review>& Reviews(const std::string& targetLanguage) const;
    mutable std::optional<std::string> m_reviewsLanguage;
    mutable std::unordered_map<std::string, Review> m_reviews;
};

} // namespace wordloom::exchange
