// The checks that need nothing but the text and its translation.
#include "qa/check.h"
#include "qa/text_scan.h"

#include "base/ui_text.h"

#include <string>

namespace wordloom::qa {

namespace {

/// A check made of one function over the context.
class FunctionCheck : public Check {
public:
    using Body = void (*)(const CheckContext&, const std::string& id, Severity severity, FindingSink& sink);
    FunctionCheck(std::string id, Severity severity, Body body)
        : m_id(std::move(id)), m_severity(severity), m_body(body) {}
    void Inspect(const CheckContext& context, FindingSink& sink) override {
        m_body(context, m_id, m_severity, sink);
    }

private:
    std::string m_id;
    Severity m_severity;
    Body m_body;
};

void AddFunctionCheck(CheckRegistry& registry, std::string id, Severity severity, std::string title,
                      FunctionCheck::Body body) {
    registry.Add(CheckInfo{id, severity, std::move(title),
                           [id, body](const CheckSetup&, Severity chosen) -> std::unique_ptr<Check> {
                               return std::make_unique<FunctionCheck>(id, chosen, body);
                           }});
}

bool Translated(const CheckContext& context) {
    return !context.translation.empty();
}

void AcceleratorMissing(const CheckContext& context, const std::string& id, Severity severity,
                        FindingSink& sink) {
    if (!Translated(context) || AcceleratorCount(context.source) == 0 ||
        AcceleratorCount(context.translation) != 0)
        return;
    sink.Report(id, severity, context,
                WL_TR("qa", "The translation has no accelerator key (&) but the text has one."),
                WL_TR("qa", "Put a single & before the letter that is to be the key."));
}

void AcceleratorCountDiffers(const CheckContext& context, const std::string& id, Severity severity,
                             FindingSink& sink) {
    if (!Translated(context))
        return;
    const int source = AcceleratorCount(context.source);
    const int translation = AcceleratorCount(context.translation);
    // No accelerator at all in the translation is the other check's finding.
    if (source == translation || (source > 0 && translation == 0))
        return;
    sink.Report(id, severity, context,
                FillIn(WL_TR("qa", "The text has %1 accelerator keys (&), the translation %2."),
                       {std::to_string(source), std::to_string(translation)}),
                WL_TR("qa", "Use as many single & as the text; write && for an ampersand that is shown."));
}

} // namespace

void AddStringChecks(CheckRegistry& registry) {
    AddFunctionCheck(registry, "accelerator-missing", Severity::Error,
                     WL_TR_NOOP("qa", "The translation lost the accelerator key"), AcceleratorMissing);
    AddFunctionCheck(registry, "accelerator-count", Severity::Warning,
                     WL_TR_NOOP("qa", "The number of accelerator keys differs"), AcceleratorCountDiffers);
}

} // namespace wordloom::qa
