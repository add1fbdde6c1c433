// The text measure of the checks on forms, for the command line: font metrics from the Qt module
// when it is there (a build with the windows), an estimate otherwise.
#pragma once

#include "qa/text_measure.h"

#include <memory>
#include <string>
#include <vector>

namespace wordloom::cli {

/// A measure, and how to give it back.
class LoadedTextMeasure {
public:
    LoadedTextMeasure() = default;
    ~LoadedTextMeasure();
    LoadedTextMeasure(const LoadedTextMeasure&) = delete;
    LoadedTextMeasure& operator=(const LoadedTextMeasure&) = delete;
    LoadedTextMeasure(LoadedTextMeasure&& other) noexcept;
    LoadedTextMeasure& operator=(LoadedTextMeasure&&) = delete;

    qa::TextMeasure& Measure() { return m_measure ? *m_measure : m_estimate; }
    /// True when the widths come from the fonts.
    bool FromFonts() const { return m_measure != nullptr; }

private:
    friend LoadedTextMeasure LoadTextMeasure(const std::vector<std::string>& folders);
    qa::TextMeasure* m_measure = nullptr;
    void (*m_destroy)(qa::TextMeasure*) = nullptr;
    qa::EstimatingTextMeasure m_estimate;
};

/// The folders searched for the module: the program's own (the build) and the library folder that
/// the installed program finds relative to itself.
std::vector<std::string> TextMeasureFolders();

/// Loads "wordloom-text-measure.so" from the first folder that has it and starts a measure there;
/// the estimate when none does or it fails to start. The module stays loaded for the program's
/// life (Qt cannot be unloaded safely).
LoadedTextMeasure LoadTextMeasure(const std::vector<std::string>& folders = TextMeasureFolders());

} // namespace wordloom::cli
