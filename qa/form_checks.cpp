#include "qa/form_checks.h"

#include "qa/form_files.h"
#include "qa/form_layout.h"
#include "qa/text_measure.h"
#include "qa/text_scan.h"

#include "base/filing_rule.h"
#include "base/ui_text.h"
#include "forms/code_page.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace wordloom::qa {

namespace {

constexpr std::string_view kCaption = "Caption";

void NoticeOnce(const CheckSetup& setup, const std::string& text) {
    if (setup.notices &&
        std::find(setup.notices->begin(), setup.notices->end(), text) == setup.notices->end())
        setup.notices->push_back(text);
}

bool IsFormCaption(const Occurrence& occurrence) {
    return occurrence.property == kCaption && !occurrence.path.empty() &&
           FormFiles::IsFormFile(occurrence.file);
}

/// The component at a place whose caption is still `text` as filed; -1 when there is none (the form
/// changed since it was collected, or the text is a collection item's, filed under its owner).
int CaptionComponent(const FormLayout& layout, const std::string& path, std::string_view text) {
    const int index = layout.Find(path);
    if (index < 0)
        return -1;
    const std::optional<std::string>& caption = layout.Components()[std::size_t(index)].caption;
    const std::optional<PreparedText> filed = caption ? PrepareText(*caption) : std::nullopt;
    return filed && filed->text == text ? index : -1;
}

std::string KeyText(char32_t key) {
    std::string text;
    AppendUtf8(key, text);
    return text;
}

/// What the run's setup gives every form check, kept for Finish.
struct FormCheckBase : Check {
    FormCheckBase(const CheckSetup& setup, std::string id, Severity severity)
        : m_setup(setup), m_id(std::move(id)), m_severity(severity) {
        if (!m_setup.forms)
            NoticeOnce(setup,
                       WL_TR("qa", "The checks on forms were skipped: the project folder is not known, so "
                                   "the forms cannot be read."));
    }
    void Finish(FindingSink&) override {
        if (!m_setup.forms)
            return;
        for (const std::string& failure : m_setup.forms->Failures())
            NoticeOnce(m_setup, FillIn(WL_TR("qa", "Form not checked: %1"), {failure}));
        for (const FormFiles::MissingAncestor& missing : m_setup.forms->MissingAncestors())
            NoticeOnce(
                m_setup,
                missing.ancestorClass.empty()
                    ? FillIn(WL_TR("qa", "%1 is an inherited form, but no unit beside it declares %2: the "
                                         "controls it inherits are not checked."),
                             {missing.form, missing.forClass})
                    : FillIn(WL_TR("qa", "The form of %1, which %2 inherits from, is not among the "
                                         "project's forms: the controls %3 inherits are not checked."),
                             {missing.ancestorClass, missing.form, missing.form}));
    }
    Finding MakeFinding(std::string message, std::string hint, std::string text,
                        std::string translation) const {
        return Finding{m_id,
                       m_severity,
                       std::move(message),
                       std::move(hint),
                       m_setup.sourceLang,
                       std::move(text),
                       m_setup.targetLang,
                       std::move(translation)};
    }

    CheckSetup m_setup;
    std::string m_id;
    Severity m_severity;
};

// Two controls with the same parent (a form's or panel's controls, the items of one menu level,
// the pages of one page control) whose translated captions choose the same key: Alt+key then
// reaches only one of them. A clash the source captions already had is the form's own and is not
// reported. Neighbours compared: every child of the parent with a caption, translated as the table
// has it; so the check waits for the whole run and works in Finish.
class AcceleratorClashCheck final : public FormCheckBase {
public:
    using FormCheckBase::FormCheckBase;

    void Inspect(const CheckContext& context, FindingSink&) override {
        if (!m_setup.forms)
            return;
        for (const Occurrence& occurrence : context.occurrences)
            if (IsFormCaption(occurrence))
                m_seen[{occurrence.project, occurrence.file}][occurrence.path] =
                    Seen{std::string(context.source), std::string(context.translation)};
    }

    void Finish(FindingSink& sink) override {
        for (const auto& [place, captions] : m_seen)
            if (const FormLayout* layout = m_setup.forms->Layout(place.first, place.second))
                CheckForm(*layout, place.second, captions, sink);
        m_seen.clear(); // a check shown translations one at a time finishes after each
        FormCheckBase::Finish(sink);
    }

private:
    struct Seen {
        std::string source;
        std::string translation;
    };
    struct Member {
        int index = 0;
        const Seen* seen = nullptr;
        std::string shown; // the caption as the translated form shows it
        char32_t sourceKey = 0;
        char32_t key = 0;
    };

    void CheckForm(const FormLayout& layout, const std::string& file,
                   const std::map<std::string, Seen>& captions, FindingSink& sink) {
        const std::vector<FormComponent>& components = layout.Components();
        std::vector<std::vector<int>> children(components.size());
        for (std::size_t i = 0; i < components.size(); ++i)
            if (components[i].parent >= 0 && components[i].caption)
                children[std::size_t(components[i].parent)].push_back(int(i));
        std::set<int> parents;
        for (const auto& [path, seen] : captions) {
            const int index = CaptionComponent(layout, path, seen.source);
            if (index > 0)
                parents.insert(components[std::size_t(index)].parent);
        }
        for (int parent : parents) {
            std::vector<Member> members;
            for (int child : children[std::size_t(parent)])
                members.push_back(MakeMember(components[std::size_t(child)], child, captions));
            ReportClashes(layout, file, members, sink);
        }
    }

    Member MakeMember(const FormComponent& component, int index,
                      const std::map<std::string, Seen>& captions) {
        Member member;
        member.index = index;
        const std::string& caption = *component.caption;
        member.sourceKey = AcceleratorKey(caption);
        const std::optional<PreparedText> filed = PrepareText(caption);
        const auto seen = component.path.empty() ? captions.end() : captions.find(component.path);
        if (seen != captions.end() && filed && filed->text == seen->second.source) {
            member.seen = &seen->second;
            member.shown = seen->second.translation.empty() ? seen->second.source : seen->second.translation;
        } else {
            // Not in the run: the table's translation of the text filed for it, if any.
            std::string translation =
                filed && m_setup.translationOf ? m_setup.translationOf(filed->text) : std::string();
            member.shown = translation.empty() ? caption : std::move(translation);
        }
        member.key = AcceleratorKey(member.shown);
        return member;
    }

    void ReportClashes(const FormLayout& layout, const std::string& file, const std::vector<Member>& members,
                       FindingSink& sink) {
        std::map<char32_t, std::vector<const Member*>> byKey;
        for (const Member& member : members)
            if (member.key != 0)
                byKey[member.key].push_back(&member);
        for (const auto& [key, group] : byKey) {
            if (group.size() < 2)
                continue;
            const char32_t sourceKey = group.front()->sourceKey;
            const bool sourceClash =
                sourceKey != 0 && std::all_of(group.begin(), group.end(),
                                              [&](const Member* m) { return m->sourceKey == sourceKey; });
            if (sourceClash)
                continue;
            for (const Member* member : group) {
                if (!member->seen || member->seen->translation.empty())
                    continue;
                std::string others;
                for (const Member* other : group) {
                    if (other == member)
                        continue;
                    others += others.empty() ? "" : ", ";
                    others += '"';
                    others += StripAccelerators(other->shown);
                    others += "\" (";
                    others += layout.Components()[std::size_t(other->index)].path;
                    others += ')';
                }
                sink.Add(MakeFinding(
                    FillIn(WL_TR("qa", "Alt+%1 is also the key of %2 in %3: one of them cannot be reached."),
                           {KeyText(key), others, file}),
                    WL_TR("qa", "Put the & before another letter, one that no neighbouring control uses."),
                    member->seen->source, member->seen->translation));
            }
        }
    }

    std::map<std::pair<std::string, std::string>, std::map<std::string, Seen>> m_seen;
};

// Margins at 96 pixels per inch, scaled by the form's PixelsPerInch.
constexpr double kButtonMargin = 5;       // the raised border and the focus frame, each side
constexpr double kSpeedButtonMargin = 4;  // a flat border, each side
constexpr double kCheckBoxIndent = 17;    // the box (13) and the gap before the text
constexpr double kGroupCaptionMargin = 8; // the caption sits in the frame's top edge, inset each side
constexpr double kPanelMargin = 2;        // the bevel, each side
constexpr double kTabPadding = 6;         // around a tab's caption, each side
constexpr double kGlyphSpacing = 4;       // between a button's glyph and its caption (Spacing)

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

/// The pixels a component's caption may take, or nothing when the caption is not checked:
/// - the form's caption: the window title, sized by the window manager;
/// - menu items: a menu is as wide as its widest item;
/// - tab captions: a tab grows with its caption, unless the page control fixes TabWidth;
/// - tool buttons: their tool bar sizes them;
/// - auto-sized and word-wrapped captions: they grow or wrap (a wrapped caption's height would
///   decide, which this check does not measure);
/// - classes whose drawing is not known, and controls whose width the form does not state (an
///   inherited control whose ancestor form was not found).
std::optional<double> CaptionRoom(const FormLayout& layout, int index) {
    const FormComponent& c = layout.Components()[std::size_t(index)];
    const double scale = layout.PixelsPerInch() / 96.0;
    if (c.parent < 0 || EndsWith(c.className, "MenuItem") || EndsWith(c.className, "ToolButton"))
        return std::nullopt;
    if (EndsWith(c.className, "TabSheet")) {
        const FormComponent& pages = layout.Components()[std::size_t(c.parent)];
        if (pages.tabWidth && *pages.tabWidth > 0)
            return *pages.tabWidth - 2 * kTabPadding * scale;
        return std::nullopt;
    }
    if (c.autoSize.value_or(false) || c.wordWrap.value_or(false) || !c.width)
        return std::nullopt;
    const double width = *c.width;
    const double glyph =
        c.glyphWidth > 0 ? c.glyphWidth / std::max(1, c.numGlyphs) + kGlyphSpacing * scale : 0;
    const std::string_view name = c.className;
    if (EndsWith(name, "Label") || EndsWith(name, "StaticText"))
        return c.autoSize ? std::optional<double>(width) : std::nullopt; // auto-sized unless switched off
    if (EndsWith(name, "CheckBox") || EndsWith(name, "RadioButton"))
        return width - kCheckBoxIndent * scale;
    if (EndsWith(name, "SpeedButton"))
        return width - 2 * kSpeedButtonMargin * scale - glyph;
    if (EndsWith(name, "BitBtn") || EndsWith(name, "Button"))
        return width - 2 * kButtonMargin * scale - glyph;
    if (EndsWith(name, "GroupBox") || EndsWith(name, "RadioGroup"))
        return width - 2 * kGroupCaptionMargin * scale;
    if (EndsWith(name, "Panel"))
        return width - 2 * kPanelMargin * scale;
    return std::nullopt;
}

/// The widest line of a caption as drawn: accelerator marks hidden, lines broken at CR LF or LF.
double CaptionWidth(TextMeasure& measure, std::string_view caption, const FontDescription& font) {
    const std::string shown = StripAccelerators(caption);
    double widest = 0;
    std::size_t start = 0;
    while (start <= shown.size()) {
        std::size_t end = shown.find('\n', start);
        if (end == std::string::npos)
            end = shown.size();
        std::string_view line(shown.data() + start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        widest = std::max(widest, measure.TextWidth(line, font));
        start = end + 1;
    }
    return widest;
}

// A caption that the translation makes wider than its control: the end is cut off.
class TruncationCheck final : public FormCheckBase {
public:
    TruncationCheck(const CheckSetup& setup, std::string id, Severity severity)
        : FormCheckBase(setup, std::move(id), severity), m_measure(setup.measure) {
        if (!m_measure) {
            m_estimate = std::make_unique<EstimatingTextMeasure>();
            m_measure = m_estimate.get();
        }
        if (m_setup.forms && m_measure->Estimated())
            NoticeOnce(setup,
                       WL_TR("qa", "Text widths are estimated (no font metrics here): the truncation check "
                                   "reports only clear overflows."));
    }

    void Inspect(const CheckContext& context, FindingSink& sink) override {
        if (!m_setup.forms || context.translation.empty() || context.translation == context.source)
            return;
        std::optional<Overflow> worst;
        int places = 0;
        std::set<std::pair<std::string, std::string>> measured; // (file, path) in a project
        const auto measureAt = [&](const Occurrence& occurrence, const std::string& file,
                                   const std::string& path) {
            if (!measured.emplace(file, path).second)
                return;
            const FormLayout* layout = m_setup.forms->Layout(occurrence.project, file);
            const int index = layout ? CaptionComponent(*layout, path, context.source) : -1;
            if (index < 0)
                return;
            if (std::optional<Overflow> overflow = Measure(*layout, index, context)) {
                ++places;
                overflow->place = FillIn(WL_TR("qa", "%1 in %2"), {path, file});
                if (!worst || overflow->pixels > worst->pixels)
                    worst = std::move(overflow);
            }
        };
        for (const Occurrence& occurrence : context.occurrences) {
            if (!IsFormCaption(occurrence))
                continue;
            measureAt(occurrence, occurrence.file, occurrence.path);
            // The forms that inherit the caption show it too, in controls they may have resized.
            const std::size_t dot = occurrence.path.find('.');
            if (dot == std::string::npos)
                continue;
            for (const std::string& heir : m_setup.forms->Descendants(occurrence.project, occurrence.file)) {
                const FormLayout* layout = m_setup.forms->Layout(occurrence.project, heir);
                if (layout && !layout->Components().empty())
                    measureAt(occurrence, heir,
                              layout->Components().front().name + occurrence.path.substr(dot));
            }
        }
        if (!worst)
            return;
        std::string message =
            FillIn(WL_TR("qa", "The translation is %1 pixels too wide for %2: the text has %3 pixels of room "
                               "(measured in %4, %5 pixels)."),
                   {std::to_string(worst->pixels), worst->place, std::to_string(worst->room), worst->family,
                    std::to_string(worst->fontPixels)});
        if (places > 1) {
            message += ' ';
            message += FillIn(WL_TR("qa", "Too wide in %1 places."), {std::to_string(places)});
        }
        sink.Add(MakeFinding(std::move(message),
                             WL_TR("qa", "Shorten the translation, or make the control wider in the form."),
                             std::string(context.source), std::string(context.translation)));
    }

private:
    struct Overflow {
        int pixels = 0;
        int room = 0;
        std::string family;
        int fontPixels = 0;
        std::string place;
    };

    std::optional<Overflow> Measure(const FormLayout& layout, int index, const CheckContext& context) {
        const std::optional<double> room = CaptionRoom(layout, index);
        if (!room || *room <= 0)
            return std::nullopt;
        const ResolvedFont resolved = layout.Font(index);
        const FontDescription font{resolved.name,   resolved.pixelSize, layout.PixelsPerInch(), resolved.bold,
                                   resolved.italic, resolved.underline, resolved.strikeOut};
        double width = CaptionWidth(*m_measure, context.translation, font);
        // The designer saw the text fit. When it does not fit as measured here, the font used here
        // is wider than the form's: judge the translation against the text instead.
        const double sourceWidth = CaptionWidth(*m_measure, context.source, font);
        if (sourceWidth > *room)
            width = width * *room / sourceWidth;
        const double excess = width - *room;
        // An estimate is rough: only a clear overflow counts.
        const double tolerance = m_measure->Estimated() ? std::max(2.0, *room * 0.1) : 0.5;
        if (excess <= tolerance)
            return std::nullopt;
        return Overflow{int(std::ceil(excess)),
                        int(std::floor(*room)),
                        m_measure->UsedFamily(font),
                        int(std::lround(resolved.pixelSize)),
                        {}};
    }

    TextMeasure* m_measure;
    std::unique_ptr<TextMeasure> m_estimate;
};

template <class C>
void AddFormCheck(CheckRegistry& registry, std::string id, Severity severity, std::string title) {
    registry.Add(CheckInfo{id, severity, std::move(title),
                           [id](const CheckSetup& setup, Severity chosen) -> std::unique_ptr<Check> {
                               return std::make_unique<C>(setup, id, chosen);
                           },
                           true});
}

} // namespace

char32_t AcceleratorKey(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        std::size_t pos = i + 1;
        char32_t c = 0;
        if (!NextUtf8(caption, pos, c))
            return 0;
        return char32_t(u_toupper(UChar32(c)));
    }
    return 0;
}

void AddFormChecks(CheckRegistry& registry) {
    AddFormCheck<AcceleratorClashCheck>(
        registry, "accelerator-clash", Severity::Warning,
        WL_TR_NOOP("qa", "Two neighbouring controls share an accelerator key"));
    AddFormCheck<TruncationCheck>(registry, "truncation", Severity::Warning,
                                  WL_TR_NOOP("qa", "The translation is too wide for its control"));
}

} // namespace wordloom::qa
