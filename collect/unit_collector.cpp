#include "collect/unit_collector.h"

#include "base/filing_rule.h"
#include "base/source_file.h"
#include "forms/form_text.h"
#include "forms/literal_codec.h"
#include "forms/pascal_scan.h"

#include <exception>
#include <filesystem>
#include <optional>

namespace wordloom {

void ParseUnitFile(const ParseInput& input, ParsedFile& file) {
    {
        SourceFile source(file.path, FileAccess::Read);
        file.content = source.ReadAll();
    }
    std::string_view rest = file.content;
    const CodePage* codePage = input.codePage;
    if (HasUtf8Bom(rest)) {
        codePage = &CodePage::Utf8();
        rest.remove_prefix(kUtf8Bom.size());
    }
    const std::string unitName = std::filesystem::path(file.path).stem().string();
    int& lineCount = file.endLineCount;
    lineCount = 0;
    CommentState comments = CommentState::Code;
    std::vector<LiteralSpan> spans;
    while (!rest.empty()) {
        const std::string_view line = NextLine(rest, lineCount);
        try {
            FindLiterals(line, comments, spans);
            for (const LiteralSpan& span : spans) {
                if (!span.closed) {
                    // Not closed on its line: nothing sound to file.
                    file.failures.push_back({file.texts.size(), lineCount,
                                             codePage->Decode(TrimControls(line.substr(span.open)))});
                    break;
                }
                if (span.end - span.open < kMinFiledLength + 2) {
                    continue; // shorter ones are dropped anyway
                }
                const std::string raw =
                    codePage->Decode(ExtractLiteral(line.substr(span.open, span.end - span.open)));
                const std::optional<PreparedText> prepared = PrepareText(raw);
                if (prepared) {
                    file.texts.push_back(
                        {{{}, {}, lineCount, unitName, {}, input.language, std::string(prepared->text)},
                         prepared->spFront,
                         prepared->spEnd,
                         lineCount,
                         TrimControls(line),
                         codePage,
                         true});
                }
            }
        } catch (const std::exception&) {
            file.failures.push_back({file.texts.size(), lineCount, codePage->Decode(TrimControls(line))});
        }
    }
}

void CollectUnitFile(CollectContext& context, const std::string& path) {
    FileParsed(context, *ParseFile(ParseUnitFile, ParseInput::Of(context), path));
}

} // namespace wordloom
