// The one in-memory model every exchange format reads into and writes from: a catalogue of units,
// each a source text with its translation, state, blanks, places and notes.
#pragma once

#include "base/errors.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom::exchange {

/// A translation's state; the names are those of the review table.
enum class UnitState { New, Suggested, Translated, Reviewed, DontTranslate };

/// "new", "suggested", "translated", "reviewed", "dont_translate".
std::string_view StateName(UnitState state);
/// The state of that name, or nothing.
std::optional<UnitState> StateFromName(std::string_view name);

/// Where a text was collected: the file relative to the project folder, its line (0: unknown), the
/// component path (or unit name) and the property (empty for units).
struct Place {
    std::string project;
    std::string file;
    int line = 0;
    std::string path;
    std::string property;

    bool operator==(const Place&) const = default;
};

struct Unit {
    std::string source; ///< the text as the table keys it (trimmed)
    std::string target; ///< empty when untranslated
    UnitState state = UnitState::New;
    long long spFront = 0; ///< blanks that stood before the source text
    long long spEnd = 0;   ///< and after it
    std::vector<Place> places;
    std::vector<std::string> notes;

    bool operator==(const Unit&) const = default;
};

/// Language fields are the table's (e.g. "English"); the formats write them as language tags.
struct Catalog {
    std::string sourceLanguage;
    std::string targetLanguage;
    std::string project; ///< the one project exported, or empty for all of them
    std::vector<Unit> units;
};

/// A file that cannot be read as its format. What() says where: "line L" or "line L, column C".
class ExchangeError : public EngineError {
public:
    ExchangeError(const std::string& message, std::size_t line, std::size_t column = 0);
    /// 1-based; 0 when the failure has no place in the file.
    std::size_t Line() const { return m_line; }
    std::size_t Column() const { return m_column; }

private:
    std::size_t m_line;
    std::size_t m_column;
};

/// The line and column (1-based, in bytes) of a byte offset of `data`.
std::pair<std::size_t, std::size_t> LineAndColumn(std::string_view data, std::size_t offset);

/// Files larger than this are refused before they are parsed.
inline constexpr std::size_t kMaxExchangeFileSize = 192u * 1024u * 1024u;
/// Throws ExchangeError when `data` is larger than kMaxExchangeFileSize.
void CheckExchangeSize(std::string_view data);

/// The language tag for a language field ("German" -> "de"); an unknown field's name in lower
/// case, so that it reads back to itself.
std::string LanguageTag(const std::string& field);
/// The field among `fields` a tag names ("de-DE" -> "German"), letter case ignored; nothing when
/// none does.
std::optional<std::string> FieldForTag(std::string_view tag, const std::vector<std::string>& fields);

} // namespace wordloom::exchange
