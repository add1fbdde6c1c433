#include "collect/form_collector.h"

#include "base/filing_rule.h"
#include "base/source_file.h"
#include "forms/form_stream.h"
#include "forms/form_text.h"
#include "forms/literal_codec.h"

#include <array>
#include <exception>

namespace wordloom {

namespace {

// A line the collector cannot read: an empty line inside a continued value, a broken literal.
struct BrokenLine : std::exception {};

void ReadValueOrFail(std::string_view line, std::size_t start, PascalString& value) {
    if (!ReadLineValue(line, start, value)) {
        throw BrokenLine{};
    }
}

// Appends the pieces of the following lines while the last line read ends with "+" (and the first
// following line in any case); `line` is left on the last line read. An empty line, which is
// also what the end of the text gives, breaks the value.
void ReadContinuation(std::string_view& rest, int& lineCount, std::string_view& line, PascalString& value,
                      PascalString& piece) {
    do {
        line = TrimControls(NextLine(rest, lineCount));
        if (line.empty()) {
            throw BrokenLine{};
        }
        piece.Clear();
        ReadValueOrFail(line, 0, piece);
        value.Append(piece);
    } while (line.back() == '+');
}

} // namespace

void CollectFormFile(CollectContext& context, const std::string& path) {
    std::vector<std::string> tests;
    tests.reserve(context.properties.size());
    // Most lines name another property: their first character already rules every test out.
    std::array<bool, 256> firstChars{};
    for (const std::string& property : context.properties) {
        tests.push_back(property + " =");
        firstChars[static_cast<unsigned char>(tests.back()[0])] = true;
    }

    std::string text;
    {
        SourceFile file(path, FileAccess::Read);
        text = file.ReadAll();
    }
    if (!IsTextForm(text)) {
        text = BinaryFormToText(text);
    }
    // The pattern holds no letter, so an exact search finds what the case-blind one would; most
    // forms have none and are spared the slower scan.
    if (text.find("'#39'") != std::string::npos) {
        ReplaceAll(text, "'#39'", "''");
    }
    context.host.SetClipboardText(context.codePage.Decode(text));

    int& lineCount = context.state.lineCount;
    lineCount = 0;
    std::string_view rest = text;
    std::string_view line;
    PascalString value;
    PascalString piece;
    const auto offer = [&](const PascalString& found) {
        if (found.Length() >= kMinFiledLength) { // shorter texts are dropped anyway; spare the decoding
            OfferText(context, ToUtf8(found, context.codePage), {path, line, context.codePage});
        }
    };
    while (!rest.empty()) {
        try {
            line = TrimControls(NextLine(rest, lineCount));
            if (line.empty() || !firstChars[static_cast<unsigned char>(line[0])]) {
                continue;
            }
            for (const std::string& test : tests) {
                if (line.substr(0, test.size()) != test) {
                    continue;
                }
                if (line.back() == '(') {
                    // A list: one text per item up to the line that ends with ")"; the writer
                    // continues a long item on the next lines with "+". A list that is never
                    // closed ends with the form text; its texts are filed as read.
                    while (!rest.empty()) {
                        line = TrimControls(NextLine(rest, lineCount));
                        value.Clear();
                        ReadValueOrFail(line, 0, value);
                        if (!line.empty() && line.back() == '+') {
                            ReadContinuation(rest, lineCount, line, value, piece);
                        }
                        offer(value);
                        if (!line.empty() && line.back() == ')') {
                            break;
                        }
                    }
                    continue;
                }
                value.Clear();
                if (line.size() == test.size()) {
                    // Nothing after " =": the value stands on the following lines, joined by "+".
                    ReadContinuation(rest, lineCount, line, value, piece);
                } else {
                    ReadValueOrFail(line, test.size(), value);
                }
                offer(value);
            }
        } catch (const TableError&) {
            throw; // the table, not the line, failed: nothing more can be filed
        } catch (const std::exception&) {
            // Also a record the table refused: the value being built is dropped.
            NoteLineFailure(context, path, context.codePage.Decode(line));
        }
    }
}

} // namespace wordloom
