#include "support/corpus.h"

#include <algorithm>
#include <cctype>

namespace wordloom::test {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

fs::path CorpusRoot() {
    return fs::path(WORDLOOM_CORPUS_DIR);
}

std::string CorpusMissing(const fs::path& relative) {
    const fs::path path = relative.empty() ? CorpusRoot() : CorpusRoot() / relative;
    std::error_code error;
    if (fs::exists(path, error)) {
        return {};
    }
    return "corpus " + path.string() + " not found; skipped";
}

std::vector<fs::path> CorpusFiles(std::initializer_list<std::string_view> extensions,
                                  const fs::path& relative) {
    std::vector<fs::path> files;
    // Unreadable corners of the corpus are passed over, not fatal: the walk reports what it can read.
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(relative.empty() ? CorpusRoot() : CorpusRoot() / relative,
                                                    fs::directory_options::skip_permission_denied, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (!it->is_regular_file(ignored)) {
            continue;
        }
        const std::string extension = Lower(it->path().extension().string());
        if (std::find(extensions.begin(), extensions.end(), extension) != extensions.end()) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace wordloom::test
