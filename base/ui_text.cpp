#include "base/ui_text.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wordloom {

namespace {

std::atomic<TextTranslator> g_translator{nullptr};

// Catalogue file: "wordloom-catalog 1\n", then records of context, source and translation, each
// field ended by a NUL byte. Keyed by context, a NUL, and the source.
std::unordered_map<std::string, std::string> g_catalogue;
constexpr std::string_view kCatalogueMagic = "wordloom-catalog 1\n";

std::string TranslateFromCatalogue(const char* context, const char* text) {
    std::string key(context);
    key.push_back('\0');
    key += text;
    const auto found = g_catalogue.find(key);
    return found == g_catalogue.end() ? std::string() : found->second;
}

bool ReadCatalogue(const std::string& path, std::unordered_map<std::string, std::string>& entries) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    const std::string data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!std::string_view(data).starts_with(kCatalogueMagic)) {
        return false;
    }
    std::size_t pos = kCatalogueMagic.size();
    std::string_view fields[3];
    while (pos < data.size()) {
        for (std::string_view& field : fields) {
            const std::size_t end = data.find('\0', pos);
            if (end == std::string::npos) {
                return false; // cut short: rather English than half a catalogue
            }
            field = std::string_view(data).substr(pos, end - pos);
            pos = end + 1;
        }
        std::string key(fields[0]);
        key.push_back('\0');
        key += fields[1];
        entries.insert_or_assign(std::move(key), std::string(fields[2]));
    }
    return true;
}

} // namespace

void SetTextTranslator(TextTranslator translator) {
    g_translator.store(translator);
}

std::string TranslateText(const char* context, const char* text) {
    const TextTranslator translator = g_translator.load();
    if (translator == nullptr) {
        return text;
    }
    std::string translated = translator(context, text);
    return translated.empty() ? std::string(text) : translated;
}

std::string UserLanguage() {
    // As gettext: the locale's category decides whether to translate at all, LANGUAGE which
    // language first.
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            locale = value;
            break;
        }
    }
    const auto language = [](std::string value) {
        value = value.substr(0, value.find(':'));
        return value.substr(0, value.find_first_of(".@"));
    };
    locale = language(locale);
    if (locale.empty() || locale == "C" || locale == "POSIX") {
        return {};
    }
    if (const char* list = std::getenv("LANGUAGE"); list != nullptr && *list != '\0') {
        locale = language(list);
    }
    return locale.starts_with("en") ? std::string() : locale;
}

bool InstallTextCatalogue(const std::string& language, const std::vector<std::string>& folders) {
    if (language.empty()) {
        return false;
    }
    std::vector<std::string> names{language};
    if (const std::size_t cut = language.find('_'); cut != std::string::npos) {
        names.push_back(language.substr(0, cut));
    }
    for (const std::string& name : names) {
        for (const std::string& folder : folders) {
            std::unordered_map<std::string, std::string> entries;
            if (ReadCatalogue(folder + "/wordloom_" + name + ".catalog", entries)) {
                g_catalogue = std::move(entries);
                SetTextTranslator(&TranslateFromCatalogue);
                return true;
            }
        }
    }
    return false;
}

std::string FillIn(const std::string& pattern, std::initializer_list<std::string> values) {
    const std::vector<std::string> args(values);
    std::string result;
    result.reserve(pattern.size() + 64);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (index < args.size()) {
                result += args[index];
                ++i;
                continue;
            }
        }
        result += pattern[i];
    }
    return result;
}

} // namespace wordloom
