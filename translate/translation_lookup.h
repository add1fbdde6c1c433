// Looking translations up in the strings table while a project is rewritten, and turning them into
// the bytes of the files' code pages.
#pragma once

#include "forms/code_page.h"
#include "forms/literal_codec.h"
#include "translate/flat_string_map.h"
#include "translate/form_rewriter.h"
#include "translate/translate_literals.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace wordloom {

class StringsTable;

/// What the lookups below answered for each source text they were given, kept for the run: a
/// project repeats the same few texts in every file, and each is then decoded, sought and
/// encoded once.
template <class Answer>
class AnswerCache {
public:
    /// The answer given before for `key`, or nullptr.
    const std::optional<Answer>* Find(std::string_view key) const { return m_answers.Find(key); }
    const std::optional<Answer>& Add(std::string_view key, std::optional<Answer> answer) {
        const auto [kept, added] = m_answers.TryEmplace(key, std::move(answer));
        if (!added)
            *kept = std::move(answer);
        return *kept;
    }

private:
    FlatStringMap<std::optional<Answer>> m_answers;
};

/// The translations of one Translate run: keys are sought on the table's current index (the
/// project language's field); the first record found gives the target language's text and its
/// SpFront and SpEnd. The table is only read during a run, so every answer is kept for the run,
/// and once a run has sought an eighth of the table's records the rest is read in one query in
/// index order (the first record of each text winning, as in a key search). A text the read did
/// not find is still sought with the table's own key search (an index that ignores letter case
/// may find it).
class TranslationLookup {
public:
    /// Expects the table unfiltered and ordered by the project language's field.
    TranslationLookup(StringsTable& table, std::string targetField);

    /// The translation (UTF-8) of a trimmed UTF-8 key; nullptr when no record has the key or its
    /// target text is empty. The pointer stays valid for the object's life.
    const TranslatedText* Find(const std::string& key);

    /// Told between the files of a run that `done` of its `total` files are through. Once a few
    /// files are, and the key searches so far, spread over the whole run, would reach the share
    /// of the table at which it is read whole anyway, the table is read now instead of after
    /// those searches.
    void Forecast(long long done, long long total);
    /// Whether the whole table was read.
    bool Preloaded() const { return m_loaded; }

    /// The answers of the literal and value lookups of this run, per pair of code pages.
    AnswerCache<TranslatedText>& LiteralAnswers(const CodePage& source, const CodePage& target) {
        return m_literalAnswers[{&source, &target}];
    }
    AnswerCache<PascalString>& ValueAnswers(const CodePage& source, const CodePage& target) {
        return m_valueAnswers[{&source, &target}];
    }

private:
    void Preload();

    /// The key searches after which the whole table is read (from the table's size, on first use).
    long long SearchesBeforeLoad();

    StringsTable& m_table;
    bool m_loaded = false;
    long long m_searchesBeforeLoad = -1;
    long long m_searches = 0;
    std::string m_targetField;
    FlatStringMap<std::optional<TranslatedText>> m_cache;
    std::map<std::pair<const CodePage*, const CodePage*>, AnswerCache<TranslatedText>> m_literalAnswers;
    std::map<std::pair<const CodePage*, const CodePage*>, AnswerCache<PascalString>> m_valueAnswers;
};

/// Literal lookups for unit sources: keys decoded from `source`, translations encoded into
/// `target`. A translation the target cannot hold throws FileError naming the text and the code
/// page, so that the unit is left unchanged.
LiteralLookup UnitLiteralLookup(TranslationLookup& lookup, const CodePage& source, const CodePage& target);

/// Value lookups for form files: a narrow value is decoded from `source`, a wide one taken as
/// UTF-16. A translation is written narrow in `target` when it can hold every character, wide
/// otherwise; one that needs the wide form but has no character above U+00FF cannot be written in
/// the text form and throws FormError.
FormValueLookup FormLookup(TranslationLookup& lookup, const CodePage& source, const CodePage& target);

} // namespace wordloom
