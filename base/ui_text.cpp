#include "base/ui_text.h"

#include <atomic>
#include <vector>

namespace wordloom {

namespace {

std::atomic<TextTranslator> g_translator{nullptr};

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
