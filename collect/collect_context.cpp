#include "collect/collect_context.h"

#include "base/filing_rule.h"
#include "collect/dont_translate.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace wordloom {

namespace {

// A new record that a rule takes for something other than prose gets the proposal for every target
// language, as a suggestion: the translator decides.
void ProposeForNewRecord(CollectContext& context, std::string_view text) {
    if (!context.proposeDontTranslate || context.targets.empty()) {
        return;
    }
    const std::optional<std::string_view> rule = ProposeDontTranslate(text, context.dontTranslateRulesOff);
    if (!rule) {
        return;
    }
    SideStore& side = context.table.Side();
    for (const std::string& target : context.targets) {
        side.SetReview({context.language, std::string(text), target, ReviewState::Suggested,
                        "dont_translate:" + std::string(*rule), 0});
    }
}

// A text not offered before in this run: its record, if new, and what goes with it.
void FileNewText(CollectContext& context, const PreparedText& text, const TextOrigin& origin) {
    if (AddString(context.table, context.language, text, context.projectName)) {
        ++context.added;
        ProposeForNewRecord(context, text.text);
        if (context.table.InBatch()) {
            const std::size_t post = context.table.BatchPosts() - 1;
            if (context.origins.size() <= post) {
                context.origins.resize(post + 1, {}); // grows by one post at a time
            }
            if (context.originPaths.empty() || context.originPaths.back() != origin.path) {
                context.originPaths.push_back(origin.path);
            }
            context.origins[post] = {context.originPaths.size() - 1, context.fileNumber,
                                     context.state.lineCount, std::string(origin.line), &origin.codePage};
        }
    }
}

} // namespace

void OfferText(CollectContext& context, std::string_view rawText, const TextOrigin& origin) {
    const std::optional<PreparedText> text = PrepareText(rawText);
    if (!text) {
        return;
    }
    FileText(context,
             {{},
              {},
              origin.lineNumber ? origin.lineNumber : context.state.lineCount,
              std::string(origin.component),
              std::string(origin.property),
              context.language,
              std::string(text->text)},
             text->spFront, text->spEnd, origin);
}

void FileText(CollectContext& context, Occurrence&& occurrence, long long spFront, long long spEnd,
              const TextOrigin& origin, const FileHints& hints) {
    context.occurrences.push_back(std::move(occurrence));
    // Held by the occurrence until the next one is added: AddString copies what it keeps.
    const PreparedText text{context.occurrences.back().text, spFront, spEnd};
    // Raw texts that trim alike find the same record, so the key search is spared for all but the
    // first of them.
    if (hints.metBefore && (context.retry.Size() == 0 || !context.retry.Contains(text.text))) {
        return; // filed when it was first met
    }
    if (context.offered.Contains(text.text)) {
        return;
    }
    try {
        FileNewText(context, text, origin);
    } catch (...) {
        context.retry.Insert(text.text);
        throw;
    }
    context.offered.Insert(text.text);
}

void NoteLineFailure(CollectContext& context, const std::string& path, std::string text) {
    context.lineFailures.push_back({path, context.state.lineCount, std::move(text)});
    context.failurePlaces.emplace_back(context.fileNumber, context.state.lineCount);
}

void NoteBatchFailures(CollectContext& context) {
    const std::vector<BatchFailure> refused = context.table.TakeBatchFailures();
    if (refused.empty()) {
        return;
    }
    for (const BatchFailure& failure : refused) {
        if (failure.post >= context.origins.size() || context.origins[failure.post].codePage == nullptr) {
            continue; // not posted by a collector
        }
        const PendingOrigin& origin = context.origins[failure.post];
        context.lineFailures.push_back(
            {context.originPaths[origin.path], origin.line, origin.codePage->Decode(origin.text)});
        context.failurePlaces.emplace_back(origin.fileNumber, origin.line);
        --context.added;
    }
    // A line is reported once, where it stands among the others.
    std::vector<std::size_t> order(context.lineFailures.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return context.failurePlaces[a] < context.failurePlaces[b];
    });
    std::vector<LineFailure> failures;
    std::vector<std::pair<int, int>> places;
    for (std::size_t i : order) {
        if (!places.empty() && places.back() == context.failurePlaces[i]) {
            continue;
        }
        failures.push_back(std::move(context.lineFailures[i]));
        places.push_back(context.failurePlaces[i]);
    }
    context.lineFailures = std::move(failures);
    context.failurePlaces = std::move(places);
}

} // namespace wordloom
