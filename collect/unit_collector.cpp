#include "collect/unit_collector.h"

#include "base/filing_rule.h"
#include "base/source_file.h"
#include "forms/form_text.h"
#include "forms/literal_codec.h"
#include "forms/pascal_scan.h"

#include <exception>
#include <filesystem>

namespace wordloom {

void CollectUnitFile(CollectContext& context, const std::string& path) {
    SourceFile file(path, FileAccess::Read);
    const std::string content = file.ReadAll();
    std::string_view rest = content;
    const CodePage* codePage = &context.codePage;
    if (HasUtf8Bom(rest)) {
        codePage = &CodePage::Utf8();
        rest.remove_prefix(kUtf8Bom.size());
    }
    const std::string unitName = std::filesystem::path(path).stem().string();
    int& lineCount = context.state.lineCount;
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
                    NoteLineFailure(context, path, codePage->Decode(TrimControls(line.substr(span.open))));
                    break;
                }
                if (span.end - span.open >= kMinFiledLength + 2) { // shorter ones are dropped anyway
                    OfferText(context,
                              codePage->Decode(ExtractLiteral(line.substr(span.open, span.end - span.open))),
                              {path, TrimControls(line), *codePage, unitName});
                }
            }
        } catch (const TableError&) {
            throw;
        } catch (const std::exception&) {
            NoteLineFailure(context, path, codePage->Decode(TrimControls(line)));
        }
    }
}

} // namespace wordloom
