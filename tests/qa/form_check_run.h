// Runs one of the form-aware checks over a few records of a project whose forms are in a folder, the
// way a whole-table run does: every record inspected, then Finish.
#pragma once

#include "qa/check.h"
#include "qa/form_files.h"
#include "qa/text_measure.h"

#include <memory>
#include <string>
#include <vector>

namespace wordloom::qa::test {

/// One record of the run and where it was collected (project "Demo"; file and component path).
struct CaptionRecord {
    std::string source;
    std::string translation;
    std::vector<std::pair<std::string, std::string>> places; ///< (form file, component path)
};

struct FormCheckRun {
    std::vector<Finding> findings;
    std::vector<std::string> notices;
    std::unique_ptr<FormFiles> forms; ///< as the run left it
};

/// Runs check `id` over the records, the project's forms read from `folder` in Windows-1252.
/// `others` are translations of texts not in the run (translationOf).
FormCheckRun RunFormCheck(const std::string& id, const std::string& folder,
                          const std::vector<CaptionRecord>& records, TextMeasure* measure,
                          const std::vector<std::pair<std::string, std::string>>& others = {});

} // namespace wordloom::qa::test
