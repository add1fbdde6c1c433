// A generated Delphi project for benchmarks and tests: form files (text and binary form) and unit
// sources with realistic structure and a vocabulary of shared and unique texts.
#pragma once

#include <cstddef>
#include <string>

namespace wordloom {

struct GeneratorOptions {
    int forms = 2000;
    int units = 2000;
    /// Every n-th form is written as a binary form resource (0: none).
    int binaryEvery = 5;
    unsigned seed = 1;
};

struct GeneratedProject {
    std::string directory;   ///< the project folder, ending in "/"
    std::string projectPath; ///< its .dpr file
    std::size_t formBytes = 0;
    std::size_t unitBytes = 0;
    std::size_t Bytes() const { return formBytes + unitBytes; }
};

/// One large text form: a root object holding `forms` generated forms as its children (1,250 make
/// some 6.7 MB). Deterministic for given arguments.
std::string GenerateLargeForm(int forms = 1250, unsigned seed = 1);

/// Writes the project into `directory` (created if missing; files of an earlier run are
/// overwritten). Deterministic for given options.
GeneratedProject GenerateProject(const std::string& directory, const GeneratorOptions& options = {});

} // namespace wordloom
