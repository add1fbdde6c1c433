#include "collect/unit_collector.h"

#include "collect/form_text.h"
#include "collect/literal_codec.h"
#include "collect/source_file.h"

#include <algorithm>
#include <exception>

namespace wordloom {

namespace {

// The most of a line kept behind a brace comment closed on it.
constexpr std::size_t kMaxTail = 100000;

struct LineFailure : std::exception {};

// Position behind the closing apostrophe of the literal that opens at `open`; npos when the line
// ends first.
std::size_t LiteralEnd(std::string_view line, std::size_t open) {
    std::size_t pos = open + 1;
    for (;;) {
        pos = line.find('\'', pos);
        if (pos == std::string_view::npos) {
            return pos;
        }
        if (pos + 1 < line.size() && line[pos + 1] == '\'') {
            pos += 2;
            continue;
        }
        return pos + 1;
    }
}

} // namespace

bool InsideLiteral(std::string_view line, std::size_t pos) {
    pos = std::min(pos, line.size());
    return std::count(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(pos), '\'') % 2 == 1;
}

std::string StripComments(std::string_view line, bool& inBraceComment) {
    std::string result;
    StripComments(line, inBraceComment, result);
    return result;
}

void StripComments(std::string_view rawLine, bool& inBraceComment, std::string& result) {
    std::string_view line = TrimControls(rawLine);
    result.clear();
    if (inBraceComment) {
        const std::size_t close = line.find('}');
        if (close == std::string_view::npos) {
            return;
        }
        inBraceComment = false;
        line.remove_prefix(close + 1);
    }
    const std::size_t slashes = line.find("//");
    if (slashes != std::string_view::npos && !InsideLiteral(line, slashes)) {
        line = line.substr(0, slashes);
    }
    const std::size_t open = line.find('{');
    if (open == std::string_view::npos || InsideLiteral(line, open)) {
        result.assign(line);
        return;
    }
    const std::size_t close = line.find('}');
    result.assign(line.substr(0, open));
    if (close == std::string_view::npos) {
        inBraceComment = true;
        return;
    }
    // The first "}" of the line, even when it stands before the "{".
    result.append(line.substr(close + 1, kMaxTail));
}

void CollectUnitFile(CollectContext& context, const std::string& path) {
    SourceFile file(path, FileAccess::Read);
    const std::string content = file.ReadAll();
    std::string_view rest = content;
    const CodePage* codePage = &context.codePage;
    if (HasUtf8Bom(rest)) {
        codePage = &CodePage::Utf8();
        rest.remove_prefix(kUtf8Bom.size());
    }
    int& lineCount = context.state.lineCount;
    lineCount = 0;
    std::string line;
    while (!rest.empty()) {
        try {
            StripComments(NextLine(rest, lineCount), context.state.inBraceComment, line);
            for (std::size_t open = line.find('\''); open != std::string::npos; open = line.find('\'')) {
                const std::size_t end = LiteralEnd(line, open);
                if (end == std::string::npos) {
                    // Not closed on its line (a "(* *)" comment, say): nothing sound to file.
                    throw LineFailure{};
                }
                const std::string_view literal = std::string_view(line).substr(open, end - open);
                if (literal.size() >= 4) { // shorter ones hold under two characters
                    OfferText(context, codePage->Decode(ExtractLiteral(literal)));
                }
                line.erase(0, end);
            }
        } catch (const std::exception&) {
            context.host.Message(path + ": Parsing error when parsing String: \r\n" + codePage->Decode(line));
        }
    }
}

} // namespace wordloom
