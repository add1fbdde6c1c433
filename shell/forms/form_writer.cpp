#include "base/errors.h"
#include "base/file_io.h"
#include "forms/form_stream.h"
#include "shell/forms/form_reader.h"

#include <QFile>
#include <QMetaProperty>

namespace wordloom::shell {

namespace {

// The default a class declares for a property, in the text form ("True", "dsNormal", "[]").
QString DeclaredDefault(const QMetaObject* meta, const char* property) {
    const QByteArray key = QByteArray("Default:") + property;
    const int index = meta->indexOfClassInfo(key.constData());
    return index < 0 ? QString() : QString::fromLatin1(meta->classInfo(index).value());
}

QString SetText(const QStringList& names) {
    return QLatin1Char('[') + names.join(QStringLiteral(", ")) + QLatin1Char(']');
}

class Describer {
public:
    explicit Describer(QObject* root) : m_root(root) {}

    TFormObject Describe(QObject* object) {
        TComponentState* component = AsComponent(object);
        if (component)
            component->SetWriting(true);
        TFormObject tree;
        tree.className = ComponentClassName(object->metaObject());
        tree.name = object->objectName();
        for (const QMetaProperty& property : PublishedProperties(object->metaObject()))
            if (property.isStored() && property.isReadable())
                Add(object, property, tree);
        for (QObject* child : object->children())
            if (!child->objectName().isEmpty() &&
                (AsComponent(child) || TComponentRegistry::Contains(ComponentClassName(child->metaObject()))))
                tree.children.append(Describe(child));
        if (component)
            component->SetWriting(false);
        return tree;
    }

private:
    void Add(QObject* object, const QMetaProperty& property, TFormObject& tree) {
        const QVariant current = property.read(object);
        const QMetaType type = property.metaType();
        TFormValue value;
        QString text; // the value as the text form writes it, to compare with a declared default
        QByteArray name = property.name();
        if (type == QMetaType::fromType<TMethod>()) {
            const TMethod method = current.value<TMethod>();
            // Only handlers of the form can be named in its file.
            if (method.IsNull() || method.Receiver != m_root)
                return;
            value.kind = TFormValue::Ident;
            value.text = QString::fromLatin1(method.Name);
        } else if (type.flags() & QMetaType::PointerToQObject) {
            QObject* target = current.value<QObject*>();
            if (!target || target->objectName().isEmpty())
                return;
            value.kind = TFormValue::Ident;
            value.text = target->objectName();
        } else if (property.isFlagType()) {
            const QMetaEnum enumerator = property.enumerator();
            const int flags = current.toInt();
            value.kind = TFormValue::Set;
            for (int i = 0; i < enumerator.keyCount(); ++i)
                if (enumerator.value(i) != 0 && (flags & enumerator.value(i)) == enumerator.value(i))
                    value.set.append(QString::fromLatin1(enumerator.key(i)));
            text = SetText(value.set);
        } else if (property.isEnumType()) {
            const char* key = property.enumerator().valueToKey(current.toInt());
            if (!key)
                return; // a value with no name cannot be written
            value.kind = TFormValue::Ident;
            value.text = text = QString::fromLatin1(key);
        } else if (type.id() == QMetaType::Bool) {
            value.kind = current.toBool() ? TFormValue::True : TFormValue::False;
            text = current.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        } else if (type.id() == QMetaType::QString) {
            value.kind = TFormValue::String;
            value.text = text = current.toString();
            if (value.text.isEmpty())
                return;
        } else if (type.id() == QMetaType::QStringList) {
            const QStringList list = current.toStringList();
            if (list.isEmpty())
                return;
            value.kind = TFormValue::List;
            for (const QString& item : list) {
                TFormValue entry;
                entry.kind = TFormValue::String;
                entry.text = item;
                value.items.append(entry);
            }
            name += ".Strings";
        } else if (type.id() == QMetaType::QByteArray) {
            value.kind = TFormValue::Binary;
            value.binary = current.toByteArray();
            if (value.binary.isEmpty())
                return;
        } else if (current.canConvert<qlonglong>() && type.id() != QMetaType::Double &&
                   type.id() != QMetaType::Float) {
            value.kind = TFormValue::Integer;
            value.integer = current.toLongLong();
            text = QString::number(value.integer);
        } else {
            return; // no form-file representation
        }
        const QString declared = DeclaredDefault(object->metaObject(), property.name());
        if (!declared.isEmpty() && declared == text)
            return;
        tree.properties.append({name, value});
    }

    QObject* m_root;
};

} // namespace

std::string WriteFormBinary(QObject* root) {
    return BuildBinaryForm(Describer(root).Describe(root));
}

std::string WriteFormText(QObject* root) {
    return wordloom::BinaryFormToText(WriteFormBinary(root));
}

void WriteFormFile(QObject* root, const QString& path, bool text) {
    const std::string data = text ? WriteFormText(root) : WriteFormBinary(root);
    try {
        wordloom::WriteFileAtomically(QFile::encodeName(path).toStdString(), data);
    } catch (const wordloom::FileError& e) {
        throw ShellError(QString::fromUtf8(e.what()));
    }
}

} // namespace wordloom::shell
