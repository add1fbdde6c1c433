#include "qa/form_layout.h"

#include "forms/binary_form.h"
#include "forms/code_page.h"
#include "forms/form_stream.h"
#include "forms/form_text.h"

#include <algorithm>

namespace wordloom::qa {

namespace {

// Cell height to em size for a positive Font.Height: the internal leading of the usual dialog
// fonts is about a sixth of the cell.
constexpr double kEmPerCell = 0.82;

// A stored bitmap: its length, the file header ("BM" + 12 bytes), then the info header whose
// second field is the width. 16, the usual glyph, when the data is not such a bitmap.
int BitmapWidth(std::string_view data) {
    constexpr std::size_t kWidthAt = 4 + 14 + 4;
    if (data.size() < kWidthAt + 4 || data.substr(4, 2) != "BM")
        return 16;
    std::uint32_t width = 0;
    for (std::size_t i = 4; i-- > 0;)
        width = (width << 8) | static_cast<unsigned char>(data[kWidthAt + i]);
    return width > 0 && width < 4096 ? int(width) : 16;
}

} // namespace

// Collects the properties the checks need while the reader walks the stream. Only the object's own
// properties count: those of collection items (BeginItem .. EndItem) belong to no component.
class FormLayoutBuilder {
public:
    FormLayoutBuilder(FormLayout& layout, const CodePage& codePage)
        : m_layout(layout), m_codePage(codePage) {}

    void BeginObject(const FormObjectHeader& header) {
        FormComponent component;
        component.name = header.name;
        component.className = header.className;
        component.inherited = header.Inherited() || header.Inline();
        component.inlineFrame = header.Inline();
        component.parent = m_open.empty() ? -1 : m_open.back();
        const std::string& parentPath =
            component.parent < 0 ? std::string() : m_layout.m_components[std::size_t(component.parent)].path;
        component.path = parentPath;
        if (!component.name.empty())
            component.path += (component.path.empty() ? "" : ".") + component.name;
        m_open.push_back(int(m_layout.m_components.size()));
        m_layout.m_components.push_back(std::move(component));
    }
    void EndObject() { m_open.pop_back(); }
    void PropertyName(std::string_view name) {
        if (m_nesting == 0)
            m_property = name;
    }
    void EndProperty() {
        if (m_nesting == 0)
            m_property = {};
    }

    void Integer(std::int64_t value) {
        if (m_nesting != 0 || m_open.empty())
            return;
        const int v = int(std::clamp<std::int64_t>(value, -1'000'000, 1'000'000));
        FormComponent& c = Current();
        if (m_property == "Width")
            c.width = v;
        else if (m_property == "Height")
            c.height = v;
        else if (m_property == "Font.Height")
            c.font.height = v;
        else if (m_property == "Font.Size")
            c.font.size = v;
        else if (m_property == "TabWidth")
            c.tabWidth = v;
        else if (m_property == "NumGlyphs" && v > 0)
            c.numGlyphs = v;
        else if (m_property == "PixelsPerInch" && m_open.size() == 1 && v > 0) {
            m_layout.m_pixelsPerInch = v;
            m_layout.m_pixelsPerInchStated = true;
        }
    }
    void True() { Boolean(true); }
    void False() { Boolean(false); }
    void NarrowString(std::string_view s) { String(m_codePage.Decode(s)); }
    void WideString(WideUnits w) {
        PascalString text;
        for (std::size_t i = 0; i < w.size(); ++i)
            text.AppendUnit(w[i]);
        if (!text.IsWide())
            text.Widen();
        String(ToUtf8(text, m_codePage));
    }
    void Utf8String(std::string_view s) { String(std::string(s)); }
    void Binary(std::string_view data) {
        if (m_nesting == 0 && !m_open.empty() && m_property == "Glyph.Data")
            Current().glyphWidth = BitmapWidth(data);
    }
    void BeginSet() {
        if (m_nesting == 0 && !m_open.empty() && m_property == "Font.Style") {
            FormFont& f = Current().font;
            f.bold = f.italic = f.underline = f.strikeOut = false;
        }
    }
    void SetElement(std::string_view element) {
        if (m_nesting != 0 || m_open.empty() || m_property != "Font.Style")
            return;
        FormFont& f = Current().font;
        if (element == "fsBold")
            f.bold = true;
        else if (element == "fsItalic")
            f.italic = true;
        else if (element == "fsUnderline")
            f.underline = true;
        else if (element == "fsStrikeOut")
            f.strikeOut = true;
    }
    void BeginList() { ++m_nesting; }
    void EndList() { --m_nesting; }
    void BeginCollection() { ++m_nesting; }
    void EndCollection() { --m_nesting; }

    // Values the checks do not look at.
    void Extended(long double) {}
    void Single(float) {}
    void Currency(std::int64_t) {}
    void Date(double) {}
    void Identifier(std::string_view) {}
    void Nil() {}
    void Null() {}
    void EndSet() {}
    void BeginItem(bool, std::int64_t) {}
    void EndItem() {}

private:
    FormComponent& Current() { return m_layout.m_components[std::size_t(m_open.back())]; }
    void Boolean(bool value) {
        if (m_nesting != 0 || m_open.empty())
            return;
        FormComponent& c = Current();
        if (m_property == "AutoSize")
            c.autoSize = value;
        else if (m_property == "WordWrap")
            c.wordWrap = value;
        else if (m_property == "ParentFont")
            c.parentFont = value;
    }
    void String(std::string value) {
        if (m_nesting != 0 || m_open.empty())
            return;
        if (m_property == "Caption")
            Current().caption = std::move(value);
        else if (m_property == "Font.Name")
            Current().font.name = std::move(value);
    }

    FormLayout& m_layout;
    const CodePage& m_codePage;
    std::vector<int> m_open; // the objects around the current event
    std::string_view m_property;
    int m_nesting = 0; // lists and collections around the current value
};

FormLayout FormLayout::Read(std::string_view bytes, const CodePage& codePage) {
    FormLayout layout;
    FormLayoutBuilder builder(layout, codePage);
    if (IsTextForm(bytes)) {
        const std::string binary = TextToBinaryForm(bytes);
        ReadBinaryForm(binary, builder);
    } else {
        ReadBinaryForm(bytes, builder);
    }
    layout.IndexPaths();
    return layout;
}

void FormLayout::IndexPaths() {
    m_byPath.resize(m_components.size());
    for (std::size_t i = 0; i < m_byPath.size(); ++i)
        m_byPath[i] = int(i);
    std::stable_sort(m_byPath.begin(), m_byPath.end(), [&](int a, int b) {
        return m_components[std::size_t(a)].path < m_components[std::size_t(b)].path;
    });
}

int FormLayout::Find(std::string_view path) const {
    const auto it =
        std::lower_bound(m_byPath.begin(), m_byPath.end(), path, [&](int index, std::string_view p) {
            return m_components[std::size_t(index)].path < p;
        });
    return it != m_byPath.end() && m_components[std::size_t(*it)].path == path ? *it : -1;
}

ResolvedFont FormLayout::Font(int index) const {
    // Each component whose font is its own lays its parts over its parent's font, so the font is
    // the default with the parts of those components laid on, from the root down.
    std::vector<int> chain;
    for (int i = index; i >= 0; i = m_components[std::size_t(i)].parent) {
        const FormComponent& c = m_components[std::size_t(i)];
        const FormFont& f = c.font;
        const bool storesFont =
            f.name.has_value() || f.height.has_value() || f.size.has_value() || f.bold.has_value();
        if (c.parent < 0 || (c.parentFont ? !*c.parentFont : storesFont))
            chain.push_back(i);
    }
    ResolvedFont font;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const FormFont& f = m_components[std::size_t(*it)].font;
        if (f.name)
            font.name = *f.name;
        if (f.height && *f.height != 0)
            font.pixelSize = *f.height < 0 ? -*f.height : *f.height * kEmPerCell;
        else if (f.size && *f.size > 0)
            font.pixelSize = *f.size * double(m_pixelsPerInch) / 72.0;
        if (f.bold) {
            font.bold = *f.bold;
            font.italic = f.italic.value_or(false);
            font.underline = f.underline.value_or(false);
            font.strikeOut = f.strikeOut.value_or(false);
        }
    }
    return font;
}

} // namespace wordloom::qa
