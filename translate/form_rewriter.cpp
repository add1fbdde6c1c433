#include "translate/form_rewriter.h"

#include "forms/form_text.h"
#include "forms/form_text_walker.h"

namespace wordloom {
namespace {

constexpr std::string_view kCrLf = "\r\n";

/// Whether a value may be replaced: its lines must hold nothing a replacement would lose. A value
/// on the following lines is written anew behind its property line, so nothing may follow it.
bool Replaceable(const FormTextWalker& walker) {
    return walker.Whole() && (walker.Place() != FormValuePlace::FollowingLines || walker.After().empty());
}

/// Writes the translation of the walker's value in place of the value's lines.
void WriteReplacement(std::string& out, const FormTextWalker& walker, const PascalString& translated,
                      LeadByteTest isLeadByte) {
    const std::string_view head = walker.Lines().front().substr(0, walker.Property().size() + 2);
    switch (walker.Place()) {
    case FormValuePlace::FollowingLines:
        out += head;
        AppendPropertyString(out, translated, {}, isLeadByte);
        break;
    case FormValuePlace::PropertyLine:
        // Alone behind "Name = ", the value is laid out again as the writer would; elsewhere on
        // the line it stays where it stood, with what surrounds it.
        if (TrimControls(walker.After()).empty() && walker.Before().size() == head.size() + 1) {
            out += head;
            AppendPropertyString(out, translated, {}, isLeadByte);
        } else {
            out += walker.Before();
            out += EncodeStringExpression(translated);
            out += walker.After();
        }
        break;
    case FormValuePlace::ListItem:
        // What follows the item (the list's ")") stays.
        out += walker.Before();
        AppendStringLines(out, translated, {}, isLeadByte);
        out += walker.After();
        break;
    }
    out += kCrLf;
}

} // namespace

std::string TranslateFormText(std::string_view text, const std::vector<std::string>& properties,
                              const FormValueLookup& lookup, FormLinePosition& position, int* replaced,
                              LeadByteTest isLeadByte) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    const auto follow = [&position](const FormTextWalker& walker) {
        position.lineCount = walker.LineCount();
        position.currentLine.assign(walker.CurrentLine());
    };
    FormTextWalker walker(text, properties, true);
    follow(walker);
    while (walker.Next()) {
        if (walker.Event() == FormTextEvent::Value && Replaceable(walker)) {
            follow(walker); // the lookup may throw
            if (const std::optional<PascalString> translated = lookup(walker.Value())) {
                WriteReplacement(out, walker, *translated, isLeadByte);
                if (replaced != nullptr)
                    ++*replaced;
                continue;
            }
        }
        // Everything else keeps its lines, trimmed.
        for (const std::string_view line : walker.Lines()) {
            out += line;
            out += kCrLf;
        }
    }
    follow(walker);
    return out;
}

} // namespace wordloom
