#include "qa/spelling_check.h"
#include "qa/check.h"
#include "qa/text_scan.h"

#include "base/ui_text.h"

#include <hunspell/hunspell.h>
#include <iconv.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace wordloom::qa {

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    return lower;
}

struct LanguageDictionaries {
    std::string_view field; ///< a language field's name, lower case
    std::vector<std::string_view> names;
};

const std::vector<LanguageDictionaries>& KnownLanguages() {
    static const std::vector<LanguageDictionaries> known{
        {"english", {"en_US", "en_GB", "en_AU", "en_CA"}},
        {"german", {"de_DE", "de_AT", "de_CH"}},
        {"deutsch", {"de_DE", "de_AT", "de_CH"}},
        {"french", {"fr_FR", "fr"}},
        {"spanish", {"es_ES", "es"}},
        {"italian", {"it_IT"}},
        {"dutch", {"nl_NL", "nl"}},
        {"portuguese", {"pt_PT", "pt_BR"}},
        {"russian", {"ru_RU"}},
        {"polish", {"pl_PL"}},
        {"czech", {"cs_CZ"}},
        {"swedish", {"sv_SE"}},
        {"danish", {"da_DK"}},
        {"norwegian", {"nb_NO", "nn_NO"}},
        {"finnish", {"fi_FI"}},
        {"hungarian", {"hu_HU"}},
        {"turkish", {"tr_TR"}},
    };
    return known;
}

using Handle = std::unique_ptr<Hunhandle, decltype(&Hunspell_destroy)>;

/// Words in the dictionary's own encoding; most are UTF-8 and need nothing.
class Recoder {
public:
    explicit Recoder(const char* encoding) {
        const std::string name = Lower(encoding ? encoding : "utf-8");
        if (name != "utf-8" && name != "utf8")
            m_iconv = iconv_open(encoding, "UTF-8");
    }
    ~Recoder() {
        if (m_iconv != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_iconv);
    }
    Recoder(const Recoder&) = delete;
    Recoder& operator=(const Recoder&) = delete;

    /// False when the word has no spelling in that encoding.
    bool Convert(const std::string& word, std::string& out) {
        if (m_iconv == reinterpret_cast<iconv_t>(-1)) {
            out = word;
            return true;
        }
        std::string in = word;
        out.assign(word.size() * 4 + 4, '\0');
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        iconv(m_iconv, nullptr, nullptr, nullptr, nullptr);
        if (iconv(m_iconv, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return false;
        out.resize(out.size() - outLeft);
        return true;
    }
    bool Utf8() const { return m_iconv == reinterpret_cast<iconv_t>(-1); }

private:
    iconv_t m_iconv = reinterpret_cast<iconv_t>(-1);
};

constexpr std::size_t kSuggestedWords = 3;
/// Distinct words a run asks Hunspell to suggest for (some 16 ms each), and the longest one.
constexpr std::size_t kSuggestionBudget = 100;
constexpr std::size_t kLongestSuggested = 40;

class SpellingCheck : public Check {
public:
    SpellingCheck(const CheckSetup& setup, std::string id, Severity severity)
        : m_id(std::move(id)), m_severity(severity), m_handle(nullptr, &Hunspell_destroy) {
        const std::vector<std::string> folders =
            setup.dictionaryFolders.empty() ? DefaultDictionaryFolders() : setup.dictionaryFolders;
        const std::string dic = FindDictionary(setup.targetLang, folders);
        if (dic.empty()) {
            setup.Notice(
                FillIn(WL_TR("qa", "No spelling dictionary for %1: spelling is not checked. Install a "
                                   "Hunspell dictionary for it (hunspell-de-de, say)."),
                       {setup.targetLang}));
            return;
        }
        const std::string aff = dic.substr(0, dic.size() - 4) + ".aff";
        m_handle.reset(Hunspell_create(aff.c_str(), dic.c_str()));
        if (!m_handle)
            return;
        m_recoder = std::make_unique<Recoder>(Hunspell_get_dic_encoding(m_handle.get()));
        for (const std::string& word : setup.userWords)
            m_userWords.insert(word);
    }

    void Inspect(const CheckContext& context, FindingSink& sink) override {
        if (!m_handle || context.translation.empty() || context.State() == ReviewState::DontTranslate)
            return;
        std::vector<std::string> unknown;
        for (std::string& word : SpellingWords(context.translation))
            // Names carried over from the text are no misspellings.
            if (!KnownHere(word, context.source) &&
                std::find(unknown.begin(), unknown.end(), word) == unknown.end())
                unknown.push_back(std::move(word));
        if (unknown.empty())
            return;
        std::string words;
        std::string suggestions;
        for (std::size_t i = 0; i < unknown.size(); ++i) {
            words += (i ? ", " : "") + unknown[i];
            if (i < kSuggestedWords)
                if (const std::string better = Suggestion(unknown[i]); !better.empty()) {
                    if (!suggestions.empty())
                        suggestions += ", ";
                    suggestions += unknown[i];
                    suggestions += " \u2192 ";
                    suggestions += better;
                }
        }
        std::string hint = WL_TR("qa", "Correct the spelling, or add the word to the word list.");
        if (!suggestions.empty()) {
            hint += ' ';
            hint += FillIn(WL_TR("qa", "Perhaps: %1"), {suggestions});
        }
        sink.Report(m_id, m_severity, context, FillIn(WL_TR("qa", "Unknown words: %1"), {words}), hint);
    }

private:
    /// Known to the dictionary or the word list, or taken from the text; a hyphenated word also
    /// when each of its parts is ("Wordloom-Demo" for "Wordloom Demo").
    bool KnownHere(const std::string& word, std::string_view source) {
        if (source.find(word) != std::string_view::npos || Known(word))
            return true;
        if (word.find('-') == std::string::npos)
            return false;
        std::size_t start = 0;
        for (;;) {
            const std::size_t dash = word.find('-', start);
            const std::string part = word.substr(start, dash == std::string::npos ? dash : dash - start);
            if (!part.empty() && source.find(part) == std::string_view::npos && !Known(part))
                return false;
            if (dash == std::string::npos)
                return true;
            start = dash + 1;
        }
    }

    bool Known(const std::string& word) {
        if (m_userWords.count(word))
            return true;
        const auto cached = m_known.find(word);
        if (cached != m_known.end())
            return cached->second;
        std::string encoded;
        // A word the dictionary cannot even spell is not the dictionary's to judge.
        const bool known =
            !m_recoder->Convert(word, encoded) || Hunspell_spell(m_handle.get(), encoded.c_str()) != 0;
        m_known.emplace(word, known);
        return known;
    }

    std::string Suggestion(const std::string& word) {
        const auto cached = m_suggestions.find(word);
        if (cached != m_suggestions.end())
            return cached->second;
        // A suggestion costs milliseconds: a table full of unknown words (a poor dictionary, a
        // wrong language) would otherwise take hours.
        if (m_suggestions.size() >= kSuggestionBudget || word.size() > kLongestSuggested ||
            !m_recoder->Utf8())
            return {};
        std::string& first = m_suggestions[word];
        char** list = nullptr;
        const int count = Hunspell_suggest(m_handle.get(), &list, word.c_str());
        if (count > 0)
            first = list[0];
        Hunspell_free_list(m_handle.get(), &list, count);
        return first;
    }

    std::string m_id;
    Severity m_severity;
    Handle m_handle;
    std::unique_ptr<Recoder> m_recoder;
    std::unordered_set<std::string> m_userWords;
    std::unordered_map<std::string, bool> m_known;
    std::unordered_map<std::string, std::string> m_suggestions; ///< by word, "" for none
};

} // namespace

std::vector<std::string> DictionaryNames(const std::string& languageField) {
    const std::string lower = Lower(languageField);
    for (const LanguageDictionaries& language : KnownLanguages())
        if (language.field == lower)
            return {language.names.begin(), language.names.end()};
    // A field named like a locale: "de_DE", "de-DE", "de".
    std::string name = languageField;
    std::replace(name.begin(), name.end(), '-', '_');
    if (name.size() == 5 && name[2] == '_')
        return {name};
    if (name.size() == 2) {
        const std::string language = Lower(name);
        std::string country = language;
        for (char& c : country)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
        return {language + "_" + country, language};
    }
    return {};
}

std::vector<std::string> DefaultDictionaryFolders() {
    std::vector<std::string> folders;
    if (const char* path = std::getenv("DICPATH")) {
        std::string_view rest(path);
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            if (colon != 0)
                folders.emplace_back(rest.substr(0, colon));
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    folders.insert(folders.end(), {"/usr/share/hunspell", "/usr/share/myspell/dicts", "/usr/share/myspell"});
    return folders;
}

std::string FindDictionary(const std::string& languageField, const std::vector<std::string>& folders) {
    std::error_code error;
    for (const std::string& name : DictionaryNames(languageField))
        for (const std::string& folder : folders) {
            const std::filesystem::path dic = std::filesystem::path(folder) / (name + ".dic");
            const std::filesystem::path aff = std::filesystem::path(folder) / (name + ".aff");
            if (std::filesystem::is_regular_file(dic, error) && std::filesystem::is_regular_file(aff, error))
                return dic.string();
        }
    return {};
}

void AddSpellingCheck(CheckRegistry& registry) {
    registry.Add(CheckInfo{"spelling", Severity::Warning,
                           WL_TR_NOOP("qa", "Words the dictionary does not know"),
                           [](const CheckSetup& setup, Severity severity) -> std::unique_ptr<Check> {
                               return std::make_unique<SpellingCheck>(setup, "spelling", severity);
                           }});
}

} // namespace wordloom::qa
