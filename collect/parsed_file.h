// A source file read and parsed, kept until it is filed. Reading and parsing touch neither the
// table nor the host, so they can run ahead on another thread; filing then replays what the
// parse met, in its order, exactly as a collector working straight into the table would have.
#pragma once

#include "collect/collect_context.h"

#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom {

/// What a parse needs from the command, copied so that the parse shares nothing with the filing.
struct ParseInput {
    const CodePage* codePage = nullptr;
    std::vector<std::string> properties;
    std::string language;

    static ParseInput Of(const CollectContext& context);
};

/// A text to file, prepared by the filing rule.
struct ParsedText {
    Occurrence occurrence; ///< where it stands; `text` is the text as filed
    long long spFront = 0;
    long long spEnd = 0;
    int lineCount = 0;     ///< the line last taken when the text was met
    std::string_view line; ///< reported should its record be refused (into ParsedFile::content)
    const CodePage* codePage = nullptr;
    /// A refused record ends its line: the texts and failures after it on the same line go too.
    bool refusalEndsLine = false;
    FileHints hints = {};
};

/// A line that could not be read, met before texts[before].
struct ParsedFailure {
    std::size_t before = 0;
    int line = 0;
    std::string text; ///< as shown to the user (UTF-8)
};

struct ParsedFile {
    explicit ParsedFile(std::string filePath) : path(std::move(filePath)) {}
    ParsedFile(const ParsedFile&) = delete; // texts point into content
    ParsedFile& operator=(const ParsedFile&) = delete;

    std::string path;
    std::string content; ///< the bytes the texts' lines point into
    bool hasClipboard = false;
    std::string clipboard;
    std::vector<ParsedText> texts;
    std::vector<ParsedFailure> failures;
    /// CollectState::lineCount when the parse ended; negative: the parse left it as it was.
    int endLineCount = -1;
    /// Why the parse ended early (FileError, FormError, ...); what it met before still counts.
    std::exception_ptr error;
    /// The texts FileParsed has gone through.
    std::size_t filed = 0;
    /// Once filed, the where-used rows made from texts: freed with the file.
    std::vector<Occurrence> occurrences;
};

using ParseFunction = void (*)(const ParseInput& input, ParsedFile& file);

/// Reads and parses `path` with `parse`; a failure ends up in ParsedFile::error, not thrown. With
/// `met` (the texts of the files parsed before, all of them filed in their order), the texts met
/// before are marked so.
std::unique_ptr<ParsedFile> ParseFile(ParseFunction parse, const ParseInput& input, const std::string& path,
                                      TextSet* met = nullptr);

/// Files what the parse met into context (texts, failures, clipboard, line count), then throws the
/// parse's error, if any. A table that cannot be used throws TableError at once.
void FileParsed(CollectContext& context, ParsedFile& file);

/// For a file given up before FileParsed went through all its texts: those left are looked up
/// again when met in a later file.
void PassOver(CollectContext& context, const ParsedFile& file);

} // namespace wordloom
