// Paradox strings tables written by pxlib's own writer, for the tests and the fuzz seeds.
#pragma once

#include <string>
#include <vector>

namespace wordloom::exchange::test {

struct ParadoxRow {
    const char* english;
    const char* german;
    const char* project;
    short spFront;
    short spEnd;
};

/// Writes a table English, German, Project, SpFront, SpEnd at `path`, its texts in Windows-1252;
/// throws std::runtime_error when pxlib or iconv refuses.
void WriteParadoxTable(const std::string& path, const std::vector<ParadoxRow>& rows);

} // namespace wordloom::exchange::test
