// The checks that need nothing but the text and its translation.
#include "qa/check.h"
#include "qa/text_scan.h"

#include "base/ui_text.h"

#include <algorithm>
#include <string>
#include <vector>

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

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : " ") + item;
    return text.empty() ? WL_TR("qa", "none") : text;
}

void FormatSpecifiers(const CheckContext& context, const std::string& id, Severity severity,
                      FindingSink& sink) {
    if (!Translated(context))
        return;
    const FormatScan source = ScanFormat(context.source);
    const FormatScan translation = ScanFormat(context.translation);
    // A text with a stray "%" ("100%") is not given to Format; one without any "%" may be, but
    // then a specifier the translation adds has no argument.
    if (!source.IsFormat()) {
        if (context.source.find('%') == std::string_view::npos && !translation.arguments.empty())
            sink.Report(
                id, severity, context,
                FillIn(WL_TR("qa", "The translation has Format specifiers (%1) the text does not have."),
                       {Joined(translation.specifiers)}),
                WL_TR("qa", "Take them out; write %% for a percent sign."));
        return;
    }
    if (!translation.invalid.empty()) {
        sink.Report(
            id, severity, context,
            FillIn(WL_TR("qa", "\"%1\" in the translation is no Format specifier: Format fails on it."),
                   {translation.invalid}),
            WL_TR("qa", "Write %% for a percent sign."));
        return;
    }
    std::vector<FormatArgument> expected = source.arguments;
    std::vector<FormatArgument> found = translation.arguments;
    std::sort(expected.begin(), expected.end());
    std::sort(found.begin(), found.end());
    if (expected == found)
        return;
    sink.Report(id, severity, context,
                FillIn(WL_TR("qa", "The Format specifiers differ: the text has %1, the translation %2."),
                       {Joined(source.specifiers), Joined(translation.specifiers)}),
                WL_TR("qa", "Use the same specifiers; to change their order, number them (%0:s, %1:d)."));
}

void LineBreaks(const CheckContext& context, const std::string& id, Severity severity, FindingSink& sink) {
    if (!Translated(context))
        return;
    const int source = LineBreakCount(context.source);
    const int translation = LineBreakCount(context.translation);
    if (source != translation)
        sink.Report(id, severity, context,
                    FillIn(WL_TR("qa", "The text has %1 line breaks, the translation %2."),
                           {std::to_string(source), std::to_string(translation)}),
                    WL_TR("qa", "Break the translation into as many lines as the text."));
}

/// The parts between the "|" of a hint, each read as empty or not ("Short|Long": "xx").
std::string HintShape(std::string_view text) {
    std::string shape;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = text.find('|', start);
        const std::string_view part = text.substr(start, bar == std::string_view::npos ? bar : bar - start);
        shape += part.find_first_not_of(' ') == std::string_view::npos ? '_' : 'x';
        if (bar == std::string_view::npos)
            return shape;
        start = bar + 1;
    }
}

void HintSeparator(const CheckContext& context, const std::string& id, Severity severity, FindingSink& sink) {
    if (!Translated(context))
        return;
    const std::string source = HintShape(context.source);
    const std::string translation = HintShape(context.translation);
    if (source.size() != translation.size())
        sink.Report(id, severity, context,
                    FillIn(WL_TR("qa", "The text has %1 hint separators (|), the translation %2."),
                           {std::to_string(source.size() - 1), std::to_string(translation.size() - 1)}),
                    WL_TR("qa", "Keep one | between the short and the long hint, as in the text."));
    else if (source != translation)
        sink.Report(id, severity, context,
                    WL_TR("qa", "The parts between the hint separators (|) are not where the text has them."),
                    WL_TR("qa", "Leave a part empty where the text leaves it empty."));
}

void Enclosures(const CheckContext& context, const std::string& id, Severity severity, FindingSink& sink) {
    if (!Translated(context))
        return;
    const bool opening = LeadingEnclosure(context.source) != LeadingEnclosure(context.translation);
    const bool closing = TrailingEnclosure(context.source) != TrailingEnclosure(context.translation);
    if (opening || closing)
        sink.Report(id, severity, context,
                    WL_TR("qa", "The text and the translation do not start and end with the same brackets or "
                                "quotation marks."),
                    WL_TR("qa", "Enclose the translation as the text is enclosed."));
}

std::string EndingName(Ending ending) {
    switch (ending) {
    case Ending::Period:
        return ".";
    case Ending::Colon:
        return ":";
    case Ending::Question:
        return "?";
    case Ending::Exclamation:
        return "!";
    case Ending::Ellipsis:
        return "...";
    case Ending::None:
        break;
    }
    return WL_TR("qa", "no punctuation");
}

void EndPunctuation(const CheckContext& context, const std::string& id, Severity severity,
                    FindingSink& sink) {
    if (!Translated(context))
        return;
    const Ending source = EndingOf(context.source);
    const Ending translation = EndingOf(context.translation);
    if (source != translation)
        sink.Report(id, severity, context,
                    FillIn(WL_TR("qa", "The text ends with %1, the translation with %2."),
                           {EndingName(source), EndingName(translation)}),
                    WL_TR("qa", "End the translation as the text ends."));
}

void DoubleBlanks(const CheckContext& context, const std::string& id, Severity severity, FindingSink& sink) {
    if (Translated(context) && DoubleBlankCount(context.translation) > DoubleBlankCount(context.source))
        sink.Report(id, severity, context, WL_TR("qa", "The translation has two blanks in a row."),
                    WL_TR("qa", "Write one blank."));
}

void LineBreakBlanks(const CheckContext& context, const std::string& id, Severity severity,
                     FindingSink& sink) {
    if (Translated(context) && BlanksAtLineBreaks(context.translation) > BlanksAtLineBreaks(context.source))
        sink.Report(id, severity, context, WL_TR("qa", "The translation has a blank next to a line break."),
                    WL_TR("qa", "Take out the blank before or after the line break."));
}

bool HasLetter(std::string_view text) {
    for (const char c : text)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (static_cast<unsigned char>(c) & 0x80))
            return true;
    return false;
}

void IdenticalToSource(const CheckContext& context, const std::string& id, Severity severity,
                       FindingSink& sink) {
    if (Translated(context) && context.translation == context.source && HasLetter(context.source) &&
        context.State() != ReviewState::DontTranslate)
        sink.Report(id, severity, context, WL_TR("qa", "The translation is the text itself."),
                    WL_TR("qa", "Translate it, or mark it \"don't translate\" when it stays as it is."));
}

void Untranslated(const CheckContext& context, const std::string& id, Severity severity, FindingSink& sink) {
    if (!Translated(context) && context.State() != ReviewState::DontTranslate)
        sink.Report(id, severity, context, WL_TR("qa", "The text has no translation."),
                    WL_TR("qa", "Translate it, or mark it \"don't translate\"."));
}

/// How much longer than the text a translation may grow: a factor per language (German and
/// Finnish run long) and a few characters more, since short texts vary most.
double LengthAllowance(std::string_view language) {
    struct Allowance {
        std::string_view prefix;
        double factor;
    };
    constexpr Allowance kAllowances[] = {
        {"german", 1.6}, {"deutsch", 1.6}, {"de", 1.6}, {"finnish", 1.7}, {"fi", 1.7}, {"russian", 1.6},
        {"ru", 1.6},     {"dutch", 1.5},   {"nl", 1.5}, {"french", 1.5},  {"fr", 1.5}, {"spanish", 1.5},
        {"es", 1.5},     {"italian", 1.5}, {"it", 1.5}, {"chinese", 1.2}, {"zh", 1.2}, {"japanese", 1.3},
        {"ja", 1.3},     {"korean", 1.3},  {"ko", 1.3},
    };
    std::string lower;
    for (const char c : language)
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    for (const Allowance& allowance : kAllowances)
        if (lower == allowance.prefix ||
            (lower.starts_with(allowance.prefix) && allowance.prefix.size() > 2) ||
            (lower.size() > 2 && lower.starts_with(allowance.prefix) && lower[2] == '_'))
            return allowance.factor;
    return 1.5;
}

constexpr std::size_t kLengthSlack = 10;

void TooLong(const CheckContext& context, const std::string& id, Severity severity, FindingSink& sink) {
    if (!Translated(context))
        return;
    const std::size_t source = CharacterCount(context.source);
    const std::size_t translation = CharacterCount(context.translation);
    const double allowed = static_cast<double>(source) * LengthAllowance(context.targetLang) + kLengthSlack;
    if (static_cast<double>(translation) > allowed)
        sink.Report(
            id, severity, context,
            FillIn(WL_TR("qa", "The translation has %1 characters, the text %2: it may not fit where the "
                               "text is shown."),
                   {std::to_string(translation), std::to_string(source)}),
            WL_TR("qa", "Shorten it, or check that the control is wide enough."));
}

} // namespace

void AddStringChecks(CheckRegistry& registry) {
    AddFunctionCheck(registry, "accelerator-missing", Severity::Error,
                     WL_TR_NOOP("qa", "The translation lost the accelerator key"), AcceleratorMissing);
    AddFunctionCheck(registry, "accelerator-count", Severity::Warning,
                     WL_TR_NOOP("qa", "The number of accelerator keys differs"), AcceleratorCountDiffers);
    AddFunctionCheck(registry, "format-specifiers", Severity::Error,
                     WL_TR_NOOP("qa", "The Format specifiers differ"), FormatSpecifiers);
    AddFunctionCheck(registry, "line-breaks", Severity::Warning,
                     WL_TR_NOOP("qa", "The number of line breaks differs"), LineBreaks);
    AddFunctionCheck(registry, "hint-separator", Severity::Error,
                     WL_TR_NOOP("qa", "The hint separators (|) differ"), HintSeparator);
    AddFunctionCheck(registry, "enclosure", Severity::Warning,
                     WL_TR_NOOP("qa", "The surrounding brackets or quotation marks differ"), Enclosures);
    AddFunctionCheck(registry, "end-punctuation", Severity::Warning,
                     WL_TR_NOOP("qa", "The ending punctuation differs"), EndPunctuation);
    AddFunctionCheck(registry, "double-blank", Severity::Warning, WL_TR_NOOP("qa", "Two blanks in a row"),
                     DoubleBlanks);
    AddFunctionCheck(registry, "line-break-blank", Severity::Warning,
                     WL_TR_NOOP("qa", "A blank next to a line break"), LineBreakBlanks);
    AddFunctionCheck(registry, "identical", Severity::Info,
                     WL_TR_NOOP("qa", "The translation is the text itself"), IdenticalToSource);
    AddFunctionCheck(registry, "untranslated", Severity::Info,
                     WL_TR_NOOP("qa", "The text has no translation"), Untranslated);
    AddFunctionCheck(registry, "too-long", Severity::Warning,
                     WL_TR_NOOP("qa", "The translation is much longer than the text"), TooLong);
}

} // namespace wordloom::qa
