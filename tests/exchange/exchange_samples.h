// Texts that exchange files must carry unchanged, and a way to run the programs that judge them.
#pragma once

#include "exchange/unit.h"

#include <string>

namespace wordloom::exchange::test {

/// A catalogue English -> German whose units hold the hard cases: apostrophes, CR LF, blanks,
/// accelerators, Format placeholders, Chinese and Cyrillic, a 4,000-character text, every state.
Catalog SampleCatalog();

/// SampleCatalog with what escaping must get right besides: markup characters in texts, places
/// and notes, controls and CR in attribute values, empty texts, one text several times, three
/// projects, invalid UTF-8, a NUL character.
Catalog VariedCatalog();

/// `text` with every CR LF as LF, as some tools write line ends.
std::string LfOnly(std::string text);

/// Runs a shell command line; its exit status, with what it printed in `output`.
int RunProgram(const std::string& commandLine, std::string* output = nullptr);

/// True when the program is on the PATH (or is an absolute path that exists).
bool HaveProgram(const std::string& name);

/// The path of Qt's lconvert, or empty.
std::string LconvertPath();

} // namespace wordloom::exchange::test
