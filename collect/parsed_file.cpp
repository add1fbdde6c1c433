#include "collect/parsed_file.h"

#include "base/errors.h"

namespace wordloom {

ParseInput ParseInput::Of(const CollectContext& context) {
    return {&context.codePage, context.properties, context.language};
}

std::unique_ptr<ParsedFile> ParseFile(ParseFunction parse, const ParseInput& input, const std::string& path,
                                      TextSet* met) {
    auto file = std::make_unique<ParsedFile>(path);
    try {
        parse(input, *file);
    } catch (...) {
        file->error = std::current_exception();
    }
    if (met) {
        // Spares the filing thread a lookup for most texts: they repeat.
        for (ParsedText& text : file->texts) {
            text.hints.metBefore = !met->Insert(text.occurrence.text);
        }
    }
    return file;
}

void FileParsed(CollectContext& context, ParsedFile& file) {
    if (file.hasClipboard) {
        context.host.SetClipboardText(file.clipboard);
    }
    int& lineCount = context.state.lineCount;
    auto failure = file.failures.begin();
    // After a refused record that ends its line: what else that line held is passed over.
    int skippedLine = -1;
    const auto noteFailuresBefore = [&](std::size_t text) {
        for (; failure != file.failures.end() && failure->before <= text; ++failure) {
            if (failure->line == skippedLine) {
                continue;
            }
            lineCount = failure->line;
            NoteLineFailure(context, file.path, std::move(failure->text));
        }
    };
    for (std::size_t i = 0; i < file.texts.size(); ++i) {
        noteFailuresBefore(i);
        ParsedText& text = file.texts[i];
        file.filed = i + 1;
        if (text.lineCount == skippedLine) {
            context.retry.Insert(text.occurrence.text);
            continue;
        }
        lineCount = text.lineCount;
        try {
            FileText(context, std::move(text.occurrence), text.spFront, text.spEnd,
                     {file.path, text.line, *text.codePage}, text.hints);
        } catch (const TableError&) {
            throw; // the table, not the line, failed: nothing more can be filed
        } catch (const std::exception&) {
            // A record the table refused.
            NoteLineFailure(context, file.path, text.codePage->Decode(text.line));
            if (text.refusalEndsLine) {
                skippedLine = text.lineCount;
            }
        }
    }
    noteFailuresBefore(file.texts.size());
    if (file.endLineCount >= 0) {
        lineCount = file.endLineCount;
    }
    if (file.error) {
        std::rethrow_exception(file.error);
    }
}

void PassOver(CollectContext& context, const ParsedFile& file) {
    for (std::size_t i = file.filed; i < file.texts.size(); ++i) {
        context.retry.Insert(file.texts[i].occurrence.text);
    }
}

} // namespace wordloom
