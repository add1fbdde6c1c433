#include "collect/form_collector.h"

#include "base/filing_rule.h"
#include "base/source_file.h"
#include "forms/form_stream.h"
#include "forms/form_text.h"
#include "forms/form_text_walker.h"
#include "forms/literal_codec.h"

#include <cctype>
#include <exception>
#include <optional>

namespace wordloom {

namespace {

bool StartsWithWord(std::string_view line, std::string_view word) {
    if (line.size() <= word.size() || line[word.size()] != ' ') {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(line[i])) != word[i]) {
            return false;
        }
    }
    return true;
}

// The names of the objects around the current line ("Form1.Panel1.OKButton"), followed through the
// lines outside the values. A collection item counts as a level without a name.
class ComponentPath {
public:
    void Line(std::string_view line) {
        for (std::string_view word : {"object", "inherited", "inline"}) {
            if (StartsWithWord(line, word)) {
                std::string_view rest = line.substr(word.size() + 1);
                const std::size_t colon = rest.find(':');
                rest = colon == std::string_view::npos ? std::string_view() : rest.substr(0, colon);
                while (!rest.empty() && rest.back() == ' ') {
                    rest.remove_suffix(1);
                }
                m_names.emplace_back(rest);
                m_changed = true;
                return;
            }
        }
        if (line == "item") {
            m_names.emplace_back();
        } else if ((line == "end" || line.starts_with("end>")) && !m_names.empty()) {
            m_names.pop_back();
            m_changed = true;
        }
    }
    const std::string& Path() {
        if (m_changed) {
            m_path.clear();
            for (const std::string& name : m_names) {
                if (!name.empty()) {
                    m_path += m_path.empty() ? "" : ".";
                    m_path += name;
                }
            }
            m_changed = false;
        }
        return m_path;
    }

private:
    std::vector<std::string> m_names;
    std::string m_path;
    bool m_changed = false;
};

} // namespace

void ParseFormFile(const ParseInput& input, ParsedFile& file) {
    const CodePage& codePage = *input.codePage;
    std::string& text = file.content;
    {
        SourceFile source(file.path, FileAccess::Read);
        text = source.ReadAll();
    }
    if (!IsTextForm(text)) {
        // Cut at character starts, so that the clipboard shows whole characters.
        text = BinaryFormToText(text, DoubleByteLeadTest(codePage.Name()));
    }
    // The pattern holds no letter, so an exact search finds what the case-blind one would; most
    // forms have none and are spared the slower scan.
    if (text.find("'#39'") != std::string::npos) {
        ReplaceAll(text, "'#39'", "''");
    }
    file.clipboard = codePage.Decode(text);
    file.hasClipboard = true;

    int& lineCount = file.endLineCount;
    // Every line, so that the objects around each value are known.
    FormTextWalker walker(text, input.properties, true);
    ComponentPath component;
    while (walker.Next()) {
        lineCount = walker.LineCount();
        if (walker.Event() == FormTextEvent::Line) {
            component.Line(walker.CurrentLine());
            continue;
        }
        if (walker.Event() == FormTextEvent::Broken) {
            file.failures.push_back(
                {file.texts.size(), walker.FailureLine(), codePage.Decode(walker.FailureText())});
            continue;
        }
        if (walker.Value().Length() < kMinFiledLength) {
            continue; // shorter texts are dropped anyway; spare the decoding
        }
        try {
            const std::string raw = ToUtf8(walker.Value(), codePage);
            const std::optional<PreparedText> prepared = PrepareText(raw);
            if (!prepared) {
                continue;
            }
            file.texts.push_back({{{},
                                   {},
                                   walker.ValueLine() ? walker.ValueLine() : lineCount,
                                   component.Path(),
                                   std::string(walker.Property()),
                                   input.language,
                                   std::string(prepared->text)},
                                  prepared->spFront,
                                  prepared->spEnd,
                                  lineCount,
                                  walker.CurrentLine(),
                                  &codePage,
                                  false});
        } catch (const std::exception&) {
            file.failures.push_back({file.texts.size(), lineCount, codePage.Decode(walker.CurrentLine())});
        }
    }
    lineCount = walker.LineCount();
}

void CollectFormFile(CollectContext& context, const std::string& path) {
    FileParsed(context, *ParseFile(ParseFormFile, ParseInput::Of(context), path));
}

} // namespace wordloom
