#include "app/recheck.h"

#include "qa/run_checks.h"
#include "strings_db/strings_table.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace wordloom {

std::unique_ptr<qa::Checker> MakeTranslationChecker(StringsTable& table, const std::string& lang,
                                                    const std::string& target) {
    qa::CheckSetup setup{lang, target, table.Side().UserWords(target), {}, nullptr};
    return std::make_unique<qa::Checker>(qa::CheckRegistry::Standard().Select({}), std::move(setup));
}

std::vector<TextFindings> CheckTexts(StringsTable& table, qa::Checker& checker, const std::string& lang,
                                     const std::string& target, const std::vector<std::string>& texts) {
    std::vector<TextFindings> result;
    if (texts.empty()) {
        return result;
    }
    std::unordered_set<std::string> wanted(texts.begin(), texts.end());
    SideStore& side = table.Side();
    std::unordered_map<std::string, ReviewState> states;
    side.ScanReviews(lang, target, [&](const ReviewEntry& entry) {
        if (wanted.contains(entry.text)) {
            states.emplace(entry.text, entry.state);
        }
    });
    std::unordered_map<std::string, std::vector<QaDismissal>> dismissed;
    side.ScanDismissals(lang, target, [&](const QaDismissal& row) {
        if (wanted.contains(row.text)) {
            dismissed[row.text].push_back(row);
        }
    });
    side.ScanRecords({lang, target}, [&](const std::vector<std::string_view>& values) {
        const auto found = wanted.find(std::string(values[0]));
        if (found == wanted.end()) {
            return;
        }
        qa::CheckContext context;
        context.sourceLang = lang;
        context.targetLang = target;
        context.source = values[0];
        context.translation = values[1];
        if (const auto state = states.find(*found); state != states.end()) {
            context.review = state->second;
        }
        std::vector<qa::Finding> findings = checker.Inspect(context);
        if (const auto rows = dismissed.find(*found); rows != dismissed.end() && !findings.empty()) {
            for (const QaDismissal& row : rows->second) {
                if (row.translation == values[1]) {
                    std::erase_if(findings, [&](const qa::Finding& f) { return f.check == row.check; });
                }
            }
        }
        result.emplace_back(*found, std::move(findings));
        wanted.erase(found); // the first record of a text is the one the grid's mark stands for
    });
    return result;
}

} // namespace wordloom
