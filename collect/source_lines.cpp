#include "collect/source_lines.h"

#include "base/source_file.h"
#include "forms/form_stream.h"
#include "forms/literal_codec.h"

#include <algorithm>
#include <string_view>

namespace wordloom {

namespace {

bool IsFormPath(const std::string& path) {
    return path.size() >= 4 && WildcardMatch("*.dfm", std::string_view(path).substr(path.size() - 4));
}

} // namespace

std::vector<SourceLine> ReadSourceLines(const std::string& path, const CodePage& codePage, int line,
                                        int around) {
    std::string content = ReadSourceFile(path);
    const CodePage* decoder = &codePage;
    std::string_view rest = content;
    if (IsFormPath(path)) {
        if (!IsTextForm(content)) {
            content = BinaryFormToText(content, DoubleByteLeadTest(codePage.Name()));
            rest = content;
        }
    } else if (HasUtf8Bom(rest)) {
        decoder = &CodePage::Utf8();
        rest.remove_prefix(kUtf8Bom.size());
    }
    const int first = std::max(1, line - around);
    const int last = line + around;
    std::vector<SourceLine> lines;
    int number = 0;
    while (!rest.empty() && number < last) {
        const std::string_view text = NextLine(rest, number);
        if (number >= first) {
            lines.push_back({number, decoder->Decode(text)});
        }
    }
    return lines;
}

} // namespace wordloom
