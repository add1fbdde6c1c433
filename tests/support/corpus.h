// The shared corpus of real Delphi projects (WORDLOOM_CORPUS_DIR). It lives outside the checkout and
// may be absent: corpus tests then skip, saying what is missing:
//     if (const std::string missing = test::CorpusMissing(); !missing.empty())
//         GTEST_SKIP() << missing;
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom::test {

std::filesystem::path CorpusRoot();

/// Empty when `relative` (a folder or file below the corpus root; the root itself when empty) is
/// present, otherwise a sentence saying what is missing and that the test is skipped.
std::string CorpusMissing(const std::filesystem::path& relative = {});

/// Every regular file below `relative` whose extension is one of `extensions` (".dfm"; compared
/// without regard to case), sorted by path. Empty when the folder is absent.
std::vector<std::filesystem::path> CorpusFiles(std::initializer_list<std::string_view> extensions,
                                               const std::filesystem::path& relative = {});

} // namespace wordloom::test
