#include "cli/commands.h"
#include "base/ui_text.h"

#include "forms/code_page.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

namespace wordloom::cli {

std::vector<std::string> SplitList(std::string_view list) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        if (comma > start)
            items.emplace_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return items;
}

bool ProjectFileExists(const std::string& command, const std::string& path, std::ostream& err) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error))
        return true;
    err << "wordloom-cli " << command << ": "
        << FillIn(WL_TR("wordloom-cli", "cannot find the project file %1"), {path}) << "\n";
    return false;
}

bool ParseCharset(const std::string& text, int& charset) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), charset);
    return error == std::errc() && end == text.data() + text.size() && CodePageName(charset) != nullptr;
}

} // namespace wordloom::cli
