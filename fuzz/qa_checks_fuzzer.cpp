// The quality checks on any text and translation (the input split at its first NUL): none fails,
// and a translation equal to its text never counts as broken by the layout checks.
#include "qa/run_checks.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wordloom::qa;
    // Spelling too where a German dictionary is installed: it is shown the same words.
    static Checker checker(CheckRegistry::Standard().Select({}),
                           CheckSetup{"English", "German", {}, {}, nullptr});
    static Checker layout(
        CheckRegistry::Standard().Select({"accelerator-missing", "accelerator-count", "format-specifiers",
                                          "line-breaks", "hint-separator", "enclosure", "end-punctuation",
                                          "double-blank", "line-break-blank"}),
        CheckSetup{"English", "German", {}, {}, nullptr});
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string_view source = input.substr(0, nul);
    const std::string_view translation = nul == std::string_view::npos ? source : input.substr(nul + 1);
    checker.Inspect(CheckContext{"English", "German", source, translation, {}, std::nullopt});
    if (!layout.Inspect(CheckContext{"English", "German", source, source, {}, std::nullopt}).empty())
        std::abort();
    return 0;
}
