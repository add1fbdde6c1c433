#include "shell/forms/form_object.h"

#include "base/errors.h"
#include "forms/binary_form.h"
#include "shell/forms/component.h"

#include <vector>

namespace wordloom::shell {

namespace {

using wordloom::BinaryFormWriter;

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), std::size_t(bytes.size())};
}

// Builds the tree from the reader's events. Floats and collections are recognised but carry
// nothing: no published property of the components takes them.
class TreeBuilder {
public:
    explicit TreeBuilder(const wordloom::CodePage& codePage) : m_codePage(codePage) {}

    TFormObject TakeRoot() { return std::move(m_root); }

    void BeginObject(const wordloom::FormObjectHeader& header) {
        TFormObject* object = &m_root;
        if (!m_objects.empty()) {
            m_objects.back()->children.append(TFormObject{});
            object = &m_objects.back()->children.last();
        }
        object->inherited = header.Inherited();
        object->isInline = header.Inline();
        if (header.HasPosition())
            object->position = header.position;
        object->className = Latin1(header.className);
        object->name = Latin1(header.name);
        m_objects.push_back(object);
    }
    void EndObject() { m_objects.pop_back(); }
    void PropertyName(std::string_view name) {
        if (m_collections > 0)
            return;
        QList<TFormProperty>& properties = m_objects.back()->properties;
        properties.append(TFormProperty{QByteArray(name.data(), qsizetype(name.size())), {}});
        m_property = &properties.last().value;
    }
    void EndProperty() {}

    void Integer(std::int64_t value) {
        if (TFormValue* slot = Slot(TFormValue::Integer))
            slot->integer = value;
    }
    void Extended(long double) { Slot(TFormValue::Float); }
    void Single(float) { Slot(TFormValue::Float); }
    void Currency(std::int64_t) { Slot(TFormValue::Float); }
    void Date(double) { Slot(TFormValue::Float); }
    void NarrowString(std::string_view bytes) {
        if (TFormValue* slot = Slot(TFormValue::String))
            slot->text = QString::fromStdString(m_codePage.Decode(bytes));
    }
    void WideString(wordloom::WideUnits units) {
        if (TFormValue* slot = Slot(TFormValue::String)) {
            slot->text.resize(qsizetype(units.size()));
            for (std::size_t i = 0; i < units.size(); ++i)
                slot->text[qsizetype(i)] = QChar(units[i]);
        }
    }
    void Utf8String(std::string_view bytes) {
        if (TFormValue* slot = Slot(TFormValue::String))
            slot->text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    }
    void Identifier(std::string_view name) {
        if (TFormValue* slot = Slot(TFormValue::Ident))
            slot->text = Latin1(name);
    }
    void False() { Slot(TFormValue::False); }
    void True() { Slot(TFormValue::True); }
    void Nil() { Slot(TFormValue::Nil); }
    void Null() { Slot(TFormValue::Null); }
    void Binary(std::string_view bytes) {
        if (TFormValue* slot = Slot(TFormValue::Binary))
            slot->binary = QByteArray(bytes.data(), qsizetype(bytes.size()));
    }
    void BeginSet() { m_set = Slot(TFormValue::Set); }
    void SetElement(std::string_view name) {
        if (m_set)
            m_set->set.append(Latin1(name));
    }
    void EndSet() { m_set = nullptr; }
    void BeginList() {
        if (TFormValue* slot = Slot(TFormValue::List))
            m_lists.push_back(slot);
    }
    void EndList() {
        if (m_collections == 0)
            m_lists.pop_back();
    }
    void BeginCollection() {
        Slot(TFormValue::Collection);
        ++m_collections;
    }
    void BeginItem(bool, std::int64_t) {}
    void EndItem() {}
    void EndCollection() { --m_collections; }

private:
    static QString Latin1(std::string_view bytes) {
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    }

    // Where the next value goes: the open list's next item or the property's value; nowhere
    // inside a collection.
    TFormValue* Slot(TFormValue::Kind kind) {
        if (m_collections > 0)
            return nullptr;
        TFormValue* slot = m_property;
        if (!m_lists.empty()) {
            m_lists.back()->items.append(TFormValue{});
            slot = &m_lists.back()->items.last();
        }
        slot->kind = kind;
        return slot;
    }

    const wordloom::CodePage& m_codePage;
    TFormObject m_root;
    std::vector<TFormObject*> m_objects; // the open objects, innermost last
    std::vector<TFormValue*> m_lists;    // the open lists of the current value, innermost last
    TFormValue* m_property = nullptr;
    TFormValue* m_set = nullptr;
    int m_collections = 0; // open collections: their items are stepped over
};

void WriteString(BinaryFormWriter& writer, const QString& text) {
    // Narrow only where every code page reads the same; anything else is kept whole as UTF-16.
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        writer.NarrowString(View(text.toLatin1()));
    else
        writer.WideString(
            std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())));
}

void WriteValue(BinaryFormWriter& writer, const TFormValue& value) {
    switch (value.kind) {
    case TFormValue::Null:
    case TFormValue::False:
    case TFormValue::True:
    case TFormValue::Nil: {
        // The values that are their tag alone.
        const TFormValue::Kind kind = value.kind;
        kind == TFormValue::Null    ? writer.Null()
        : kind == TFormValue::False ? writer.False()
        : kind == TFormValue::True  ? writer.True()
                                    : writer.Nil();
        break;
    }
    case TFormValue::Integer:
        writer.Integer(value.integer);
        break;
    case TFormValue::List:
        writer.BeginList();
        for (const TFormValue& item : value.items)
            WriteValue(writer, item);
        writer.EndList();
        break;
    case TFormValue::String:
        WriteString(writer, value.text);
        break;
    case TFormValue::Set:
        writer.BeginSet();
        for (const QString& name : value.set)
            writer.SetElement(View(name.toLatin1()));
        writer.EndSet();
        break;
    case TFormValue::Ident:
        writer.Identifier(View(value.text.toLatin1()));
        break;
    case TFormValue::Float:
    case TFormValue::Collection:
        // Never produced by the writer of components.
        throw ShellError(QStringLiteral("Invalid property value"));
    case TFormValue::Binary:
        writer.Binary(View(value.binary));
        break;
    }
}

void WriteObject(BinaryFormWriter& writer, const TFormObject& object) {
    using Header = wordloom::FormObjectHeader;
    const QByteArray className = object.className.toLatin1();
    const QByteArray name = object.name.toLatin1();
    writer.BeginObject({(object.inherited ? Header::kInherited : 0u) |
                            (object.position ? Header::kChildPos : 0u) |
                            (object.isInline ? Header::kInline : 0u),
                        object.position.value_or(0), View(className), View(name)});
    for (const TFormProperty& property : object.properties) {
        writer.PropertyName(View(property.name));
        WriteValue(writer, property.value);
    }
    writer.EndProperties();
    for (const TFormObject& child : object.children)
        WriteObject(writer, child);
    writer.EndObject();
}

} // namespace

const wordloom::CodePage& DefaultFormCodePage() {
    return wordloom::CodePage::ForCharset(1);
}

TFormObject ParseBinaryForm(std::string_view data, const wordloom::CodePage& codePage) {
    TreeBuilder builder(codePage);
    try {
        wordloom::ReadBinaryForm(data, builder, wordloom::FormHeader::ResourceOrStream);
    } catch (const wordloom::FormError& e) {
        throw ShellError(QString::fromUtf8(e.what()));
    }
    return builder.TakeRoot();
}

std::string BuildBinaryForm(const TFormObject& root) {
    std::string resource;
    BinaryFormWriter writer(resource, 1024);
    WriteObject(writer, root);
    if (!writer.Finish())
        throw ShellError(QStringLiteral("Invalid stream format"));
    return resource;
}

} // namespace wordloom::shell
