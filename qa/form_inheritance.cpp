#include "qa/form_inheritance.h"

#include "qa/form_layout.h"

#include "base/errors.h"
#include "forms/binary_form.h"
#include "forms/form_stream.h"

#include <cctype>
#include <map>
#include <vector>

namespace wordloom::qa {

namespace {

bool IsIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsIdentPart(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Stops the reader at the root's header: nothing after it is needed.
struct RootFound {};

class RootReader {
public:
    explicit RootReader(FormRoot& root) : m_root(root) {}
    void BeginObject(const FormObjectHeader& header) {
        m_root.name = header.name;
        m_root.className = header.className;
        m_root.inherited = header.Inherited() || header.Inline();
        throw RootFound{};
    }
    void EndObject() {}
    void PropertyName(std::string_view) {}
    void EndProperty() {}
    void Integer(std::int64_t) {}
    void Extended(long double) {}
    void Single(float) {}
    void Currency(std::int64_t) {}
    void Date(double) {}
    void NarrowString(std::string_view) {}
    void WideString(WideUnits) {}
    void Utf8String(std::string_view) {}
    void Identifier(std::string_view) {}
    void False() {}
    void True() {}
    void Nil() {}
    void Null() {}
    void Binary(std::string_view) {}
    void BeginSet() {}
    void SetElement(std::string_view) {}
    void EndSet() {}
    void BeginList() {}
    void EndList() {}
    void BeginCollection() {}
    void BeginItem(bool, std::int64_t) {}
    void EndItem() {}
    void EndCollection() {}

private:
    FormRoot& m_root;
};

// The words of a unit source with comments, directives and string literals left out; a word is
// an identifier or one other character.
class PascalWords {
public:
    explicit PascalWords(std::string_view text) : m_text(text) {}

    std::string_view Next() {
        SkipSpaceAndComments();
        if (m_pos >= m_text.size())
            return {};
        const std::size_t start = m_pos;
        if (IsIdentStart(m_text[m_pos])) {
            while (m_pos < m_text.size() && IsIdentPart(m_text[m_pos]))
                ++m_pos;
        } else if (m_text[m_pos] == '\'') {
            // A literal stands for one word; '' inside is a quote and stays in it.
            ++m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] != '\n') {
                if (m_text[m_pos++] == '\'') {
                    if (m_pos < m_text.size() && m_text[m_pos] == '\'')
                        ++m_pos;
                    else
                        break;
                }
            }
        } else {
            ++m_pos;
        }
        return m_text.substr(start, m_pos - start);
    }

private:
    void SkipSpaceAndComments() {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (std::isspace(static_cast<unsigned char>(c))) {
                ++m_pos;
            } else if (c == '{') {
                SkipTo("}", m_pos + 1);
            } else if (c == '(' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '*') {
                SkipTo("*)", m_pos + 2);
            } else if (c == '/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '/') {
                SkipTo("\n", m_pos + 2);
            } else {
                return;
            }
        }
    }
    void SkipTo(std::string_view end, std::size_t from) {
        const std::size_t at = m_text.find(end, from);
        m_pos = at == std::string_view::npos ? m_text.size() : at + end.size();
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace

bool SameIdentifier(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<FormRoot> ReadFormRoot(std::string_view head) {
    FormRoot root;
    if (IsTextForm(head)) {
        PascalWords words(head.substr(head.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0));
        const std::string_view kind = words.Next();
        root.inherited = SameIdentifier(kind, "inherited") || SameIdentifier(kind, "inline");
        const std::string_view first = words.Next();
        if (first.empty() || !IsIdentStart(first.front()))
            return std::nullopt;
        if (words.Next() == ":") {
            root.name = first;
            root.className = words.Next();
        } else {
            root.className = first; // an unnamed root
        }
        if (root.className.empty() || !IsIdentStart(root.className.front()))
            return std::nullopt;
        return root;
    }
    RootReader reader(root);
    try {
        ReadBinaryForm(head, reader);
    } catch (const RootFound&) {
        return root;
    } catch (const FormError&) {
    }
    return std::nullopt;
}

std::string AncestorClass(std::string_view unitSource, std::string_view className) {
    PascalWords words(unitSource);
    // The last words read, enough for "Name = class (".
    std::string_view window[4];
    for (std::string_view word = words.Next(); !word.empty(); word = words.Next()) {
        window[0] = window[1];
        window[1] = window[2];
        window[2] = window[3];
        window[3] = word;
        if (window[3] != "(" || !SameIdentifier(window[2], "class") || window[1] != "=" ||
            !SameIdentifier(window[0], className))
            continue;
        // A qualified name ("Forms.TForm") counts by its last part.
        std::string_view ancestor = words.Next();
        while (!ancestor.empty() && IsIdentStart(ancestor.front())) {
            const std::string_view next = words.Next();
            if (next != ".")
                break;
            ancestor = words.Next();
        }
        return !ancestor.empty() && IsIdentStart(ancestor.front()) ? std::string(ancestor) : std::string();
    }
    return {};
}

std::vector<std::string> ProjectUnitPaths(std::string_view projectSource) {
    std::vector<std::string> paths;
    PascalWords words(projectSource);
    std::string_view before;
    for (std::string_view word = words.Next(); !word.empty(); word = words.Next()) {
        if (SameIdentifier(before, "in") && word.size() >= 2 && word.front() == '\'' && word.back() == '\'') {
            std::string path(word.substr(1, word.size() - 2));
            for (char& c : path)
                if (c == '\\')
                    c = '/';
            if (!path.empty())
                paths.push_back(std::move(path));
        }
        before = word;
    }
    return paths;
}

// Builds the completed tree: each component of the ancestor with what the descendant's component
// of the same name states laid over it, then the descendant's own components.
class FormLayoutMerger {
public:
    FormLayoutMerger(FormLayout& result, const FormLayout::FormOfClass& frameOf)
        : m_result(result), m_frameOf(frameOf) {}

    // `a` in `ancestor` (or -1) and `d` in `descendant` (or -1) are the same component; one of them
    // is given.
    void Add(const FormLayout* ancestor, int a, const FormLayout* descendant, int d, int parent, int depth) {
        // An embedded frame: its own form stands for the ancestor. A frame inside itself (or too
        // deep) is left as it stands.
        if (a < 0 && d >= 0 && depth < kMaxDepth) {
            const FormComponent& c = descendant->Components()[std::size_t(d)];
            if (c.inlineFrame && m_frameOf)
                if (const FormLayout* frame = m_frameOf(c.className); frame && !frame->Components().empty()) {
                    ancestor = frame;
                    a = 0;
                }
        }
        FormComponent merged = a >= 0 ? ancestor->Components()[std::size_t(a)] : FormComponent{};
        if (d >= 0)
            Override(merged, descendant->Components()[std::size_t(d)]);
        merged.parent = parent;
        merged.path = parent < 0 ? std::string() : m_result.m_components[std::size_t(parent)].path;
        if (!merged.name.empty())
            merged.path += (merged.path.empty() ? "" : ".") + merged.name;
        const int index = int(m_result.m_components.size());
        m_result.m_components.push_back(std::move(merged));

        static const std::vector<int> kNone;
        // The lists stay where they are while Add fills the map for other layouts.
        const std::vector<int>& ancestorChildren = a >= 0 ? Children(*ancestor, a) : kNone;
        const std::vector<int>& descendantChildren = d >= 0 ? Children(*descendant, d) : kNone;
        std::vector<bool> used(descendantChildren.size(), false);
        for (int child : ancestorChildren) {
            const std::string& name = ancestor->Components()[std::size_t(child)].name;
            int match = -1;
            for (std::size_t i = 0; i < descendantChildren.size() && match < 0 && !name.empty(); ++i) {
                const FormComponent& candidate = descendant->Components()[std::size_t(descendantChildren[i])];
                if (!used[i] && candidate.inherited && SameIdentifier(candidate.name, name)) {
                    used[i] = true;
                    match = descendantChildren[i];
                }
            }
            Add(ancestor, child, descendant, match, index, depth + 1);
        }
        for (std::size_t i = 0; i < descendantChildren.size(); ++i)
            if (!used[i])
                Add(nullptr, -1, descendant, descendantChildren[i], index, depth + 1);
    }

private:
    static constexpr int kMaxDepth = 64;

    const std::vector<int>& Children(const FormLayout& layout, int index) {
        std::vector<std::vector<int>>& children = m_children[&layout];
        if (children.empty()) {
            const std::vector<FormComponent>& components = layout.Components();
            children.resize(components.size());
            for (std::size_t i = 0; i < components.size(); ++i)
                if (components[i].parent >= 0)
                    children[std::size_t(components[i].parent)].push_back(int(i));
        }
        return children[std::size_t(index)];
    }

    template <class T>
    static void Take(std::optional<T>& into, const std::optional<T>& from) {
        if (from)
            into = from;
    }

    static void Override(FormComponent& into, const FormComponent& from) {
        into.name = from.name;
        into.className = from.className;
        into.inherited = from.inherited;
        into.inlineFrame = from.inlineFrame;
        Take(into.width, from.width);
        Take(into.height, from.height);
        Take(into.autoSize, from.autoSize);
        Take(into.wordWrap, from.wordWrap);
        Take(into.parentFont, from.parentFont);
        Take(into.tabWidth, from.tabWidth);
        Take(into.caption, from.caption);
        if (from.glyphWidth > 0)
            into.glyphWidth = from.glyphWidth;
        if (from.numGlyphs != 1)
            into.numGlyphs = from.numGlyphs;
        Take(into.font.name, from.font.name);
        Take(into.font.height, from.font.height);
        Take(into.font.size, from.font.size);
        if (from.font.bold) {
            into.font.bold = from.font.bold;
            into.font.italic = from.font.italic;
            into.font.underline = from.font.underline;
            into.font.strikeOut = from.font.strikeOut;
        }
    }

    FormLayout& m_result;
    const FormLayout::FormOfClass& m_frameOf;
    std::map<const FormLayout*, std::vector<std::vector<int>>> m_children;
};

bool FormLayout::HasInlineFrames() const {
    for (const FormComponent& c : m_components)
        if (c.inlineFrame)
            return true;
    return false;
}

FormLayout FormLayout::Inherit(const FormLayout* ancestor, const FormLayout& descendant,
                               const FormOfClass& frameOf) {
    FormLayout result;
    if (descendant.m_components.empty())
        return descendant;
    if (ancestor && ancestor->m_components.empty())
        ancestor = nullptr;
    FormLayoutMerger(result, frameOf).Add(ancestor, ancestor ? 0 : -1, &descendant, 0, -1, 0);
    result.m_pixelsPerInch = descendant.m_pixelsPerInchStated || !ancestor ? descendant.m_pixelsPerInch
                                                                           : ancestor->m_pixelsPerInch;
    result.m_pixelsPerInchStated =
        descendant.m_pixelsPerInchStated || (ancestor && ancestor->m_pixelsPerInchStated);
    result.IndexPaths();
    return result;
}

} // namespace wordloom::qa
