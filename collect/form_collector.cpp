#include "collect/form_collector.h"

#include "base/filing_rule.h"
#include "base/source_file.h"
#include "forms/form_stream.h"
#include "forms/form_text.h"
#include "forms/form_text_walker.h"
#include "forms/literal_codec.h"

#include <exception>

namespace wordloom {

void CollectFormFile(CollectContext& context, const std::string& path) {
    std::string text;
    {
        SourceFile file(path, FileAccess::Read);
        text = file.ReadAll();
    }
    if (!IsTextForm(text)) {
        // Cut at character starts, so that the clipboard shows whole characters.
        text = BinaryFormToText(text, DoubleByteLeadTest(context.codePage.Name()));
    }
    // The pattern holds no letter, so an exact search finds what the case-blind one would; most
    // forms have none and are spared the slower scan.
    if (text.find("'#39'") != std::string::npos) {
        ReplaceAll(text, "'#39'", "''");
    }
    context.host.SetClipboardText(context.codePage.Decode(text));

    int& lineCount = context.state.lineCount;
    FormTextWalker walker(text, context.properties, false);
    while (walker.Next()) {
        lineCount = walker.LineCount();
        if (walker.Event() == FormTextEvent::Broken) {
            lineCount = walker.FailureLine();
            NoteLineFailure(context, path, context.codePage.Decode(walker.FailureText()));
            continue;
        }
        if (walker.Value().Length() < kMinFiledLength) {
            continue; // shorter texts are dropped anyway; spare the decoding
        }
        try {
            OfferText(context, ToUtf8(walker.Value(), context.codePage),
                      {path, walker.CurrentLine(), context.codePage});
        } catch (const TableError&) {
            throw; // the table, not the line, failed: nothing more can be filed
        } catch (const std::exception&) {
            // A record the table refused.
            NoteLineFailure(context, path, context.codePage.Decode(walker.CurrentLine()));
        }
    }
    lineCount = walker.LineCount();
}

} // namespace wordloom
