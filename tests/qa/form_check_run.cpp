#include "qa/form_check_run.h"

#include "forms/code_page.h"

namespace wordloom::qa::test {

FormCheckRun RunFormCheck(const std::string& id, const std::string& folder,
                          const std::vector<CaptionRecord>& records, TextMeasure* measure,
                          const std::vector<std::pair<std::string, std::string>>& others) {
    FormCheckRun run;
    run.forms = std::make_unique<FormFiles>(std::map<std::string, std::string, std::less<>>{{"Demo", folder}},
                                            CodePage::ForCharset(1));
    CheckSetup setup;
    setup.sourceLang = "English";
    setup.targetLang = "German";
    setup.forms = run.forms.get();
    setup.measure = measure;
    setup.notices = &run.notices;
    setup.translationOf = [&others](std::string_view text) {
        for (const auto& [source, translation] : others)
            if (source == text)
                return translation;
        return std::string();
    };
    const CheckInfo* info = CheckRegistry::Standard().Find(id);
    if (!info)
        return run;
    std::unique_ptr<Check> check = info->make(setup, info->severity);
    FindingSink sink(run.findings);
    for (const CaptionRecord& record : records) {
        std::vector<Occurrence> occurrences;
        for (const auto& [file, path] : record.places)
            occurrences.push_back(Occurrence{"Demo", file, 1, path, "Caption", "English", record.source});
        CheckContext context;
        context.sourceLang = "English";
        context.targetLang = "German";
        context.source = record.source;
        context.translation = record.translation;
        context.occurrences = occurrences;
        check->Inspect(context, sink);
    }
    check->Finish(sink);
    return run;
}

} // namespace wordloom::qa::test
