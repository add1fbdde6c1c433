#include "collect/collect_context.h"

#include "forms/form_text.h"

namespace wordloom {

void OfferText(CollectContext& context, std::string rawText) {
    // AddString files the text trimmed; raw texts that trim alike find the same record, so the key
    // search is spared for all but the first of them.
    std::string key(TrimControls(rawText));
    if (context.offered.contains(key)) {
        return;
    }
    if (AddString(context.table, context.language, rawText, context.projectName)) {
        ++context.added;
    }
    context.offered.insert(std::move(key));
}

void NoteLineFailure(CollectContext& context, const std::string& path, std::string text) {
    context.lineFailures.push_back({path, context.state.lineCount, std::move(text)});
}

} // namespace wordloom
