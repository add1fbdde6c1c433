#include "translate/translation_lookup.h"

#include "base/errors.h"
#include "base/ui_text.h"
#include "forms/form_text.h"
#include "strings_db/strings_table.h"

#include <algorithm>
#include <unordered_map>

namespace wordloom {
namespace {

// Blank counts come from the table; a damaged record must not make a rewrite allocate gigabytes.
constexpr long long kMaxBlanks = 4096;

int BlankCount(long long value) {
    return static_cast<int>(std::clamp(value, 0LL, kMaxBlanks));
}

std::string WithBlanks(const TranslatedText& translation) {
    std::string text = Blanks(translation.spFront);
    text += translation.text;
    text += Blanks(translation.spEnd);
    return text;
}

std::string TrimmedKey(std::string decoded) {
    const std::string_view trimmed = TrimControls(decoded);
    return std::string(trimmed);
}

} // namespace

TranslationLookup::TranslationLookup(StringsTable& table, std::string targetField)
    : m_table(table), m_targetField(std::move(targetField)) {}

// Too few files say little about the rest of the run.
constexpr long long kFilesBeforeForecast = 16;

void TranslationLookup::Preload() {
    m_loaded = true;
    std::unordered_map<std::string, StringsTable::Translation> all = m_table.ReadTranslations(m_targetField);
    m_cache.Reserve(m_cache.Size() + all.size());
    for (auto& [key, translation] : all) {
        std::optional<TranslatedText> found;
        if (!translation.text.empty())
            found = TranslatedText{std::move(translation.text), BlankCount(translation.spFront),
                                   BlankCount(translation.spEnd)};
        // An answer of a key search made before stays: it came from the same table.
        m_cache.TryEmplace(key, std::move(found));
    }
}

long long TranslationLookup::SearchesBeforeLoad() {
    if (m_searchesBeforeLoad < 0)
        m_searchesBeforeLoad = m_table.RecordCount() / 8;
    return m_searchesBeforeLoad;
}

void TranslationLookup::Forecast(long long done, long long total) {
    if (m_loaded || done < kFilesBeforeForecast || m_searches == 0)
        return;
    // Files later in the run repeat texts of earlier ones, so this overestimates; a wrong guess
    // costs at most the read that enough searches would have led to.
    const double projected =
        static_cast<double>(m_searches) * static_cast<double>(total) / static_cast<double>(done);
    if (projected >= static_cast<double>(SearchesBeforeLoad()))
        Preload();
}

const TranslatedText* TranslationLookup::Find(const std::string& key) {
    std::optional<TranslatedText>* cached = m_cache.Find(key);
    // Reading the whole table pays off once a run has asked for a good share of its records; a
    // small project against a large table keeps to key searches.
    if (cached == nullptr && !m_loaded && m_searches == SearchesBeforeLoad()) {
        Preload();
        cached = m_cache.Find(key);
    }
    if (cached == nullptr) {
        std::optional<TranslatedText> found;
        ++m_searches;
        if (m_table.FindKey(key)) {
            std::string text = m_table.FieldAsString(m_targetField);
            if (!text.empty())
                found = TranslatedText{std::move(text), BlankCount(m_table.FieldAsInteger("SpFront")),
                                       BlankCount(m_table.FieldAsInteger("SpEnd"))};
        }
        cached = m_cache.TryEmplace(key, std::move(found)).first;
    }
    return *cached ? &**cached : nullptr;
}

LiteralLookup UnitLiteralLookup(TranslationLookup& lookup, const CodePage& source, const CodePage& target) {
    AnswerCache<TranslatedText>& answers = lookup.LiteralAnswers(source, target);
    return [&lookup, &source, &target, &answers](std::string_view key) -> std::optional<TranslatedText> {
        if (const std::optional<TranslatedText>* known = answers.Find(key))
            return *known;
        const TranslatedText* found = lookup.Find(TrimmedKey(source.Decode(key)));
        if (found == nullptr)
            return answers.Add(key, std::nullopt);
        EncodeResult encoded = target.Encode(found->text);
        if (!encoded.complete) // not kept: every literal holding it fails its file
            throw FileError(
                FillIn(WL_TR("Translate", "The translation \"%1\" cannot be written in code page %2"),
                       {found->text, target.Name()}));
        return answers.Add(key, TranslatedText{std::move(encoded.bytes), found->spFront, found->spEnd});
    };
}

namespace {

// A form value as a key of AnswerCache: narrow and wide values never compare equal.
void ValueKey(const PascalString& value, std::string& key) {
    key.assign(1, value.IsWide() ? 'w' : 'n');
    if (value.IsWide()) {
        const std::u16string& units = value.Wide();
        key.append(reinterpret_cast<const char*>(units.data()), units.size() * sizeof(char16_t));
    } else {
        key += value.Narrow();
    }
}

std::optional<PascalString> TranslatedValue(TranslationLookup& lookup, const PascalString& value,
                                            const CodePage& source, const CodePage& target) {
    const std::string key = TrimmedKey(ToUtf8(value, source));
    if (key.empty())
        return std::nullopt;
    const TranslatedText* found = lookup.Find(key);
    if (found == nullptr)
        return std::nullopt;
    const std::string text = WithBlanks(*found);
    PascalString result;
    EncodeResult encoded = target.Encode(text);
    if (encoded.complete) {
        result.AppendBytes(encoded.bytes);
        return result;
    }
    // The code page cannot hold it: a wide string, every character by its Unicode code.
    result.Widen();
    bool aboveLatin1 = false;
    std::size_t pos = 0;
    char32_t c = 0;
    while (pos < text.size()) {
        if (!NextUtf8(text, pos, c))
            c = 0xFFFD;
        aboveLatin1 = aboveLatin1 || c > 0xFF;
        result.AppendCode(c);
    }
    if (!aboveLatin1)
        throw FormError(
            FillIn(WL_TR("Translate", "The translation \"%1\" cannot be written in code page %2 and "
                                      "holds no character that would make it a wide string"),
                   {found->text, target.Name()}));
    return result;
}

} // namespace

FormValueLookup FormLookup(TranslationLookup& lookup, const CodePage& source, const CodePage& target) {
    AnswerCache<PascalString>& answers = lookup.ValueAnswers(source, target);
    return [&lookup, &source, &target, &answers](const PascalString& value) -> std::optional<PascalString> {
        thread_local std::string key;
        ValueKey(value, key);
        if (const std::optional<PascalString>* known = answers.Find(key))
            return *known;
        // A failure is not kept: every value holding it fails its file.
        return answers.Add(key, TranslatedValue(lookup, value, source, target));
    };
}

} // namespace wordloom
