#include "shell/forms/form_reader.h"

#include "base/errors.h"
#include "base/file_io.h"
#include "forms/form_stream.h"
#include "shell/core/dir_mon.h"
#include "shell/core/pathwright.h"
#include "shell/core/shell_link.h"
#include "shell/core/system_image_list.h"

#include <QFile>
#include <QHash>
#include <QMetaProperty>
#include <QPointer>

#include <exception>
#include <mutex>
#include <vector>

namespace wordloom::shell {

namespace {

QHash<QString, TComponentRegistry::Factory>& Factories() {
    static QHash<QString, TComponentRegistry::Factory> factories;
    static std::once_flag core;
    std::call_once(core, [] {
        // The shell core's own classes. Registered here, not by static initialisers, so that a
        // static library never drops them.
        auto add = [](const QMetaObject& meta, TComponentRegistry::Factory factory) {
            factories.insert(ComponentClassName(&meta), std::move(factory));
        };
        add(TDirMon::staticMetaObject, [](QObject* parent) -> QObject* { return new TDirMon(parent); });
        add(TVelShellLink::staticMetaObject,
            [](QObject* parent) -> QObject* { return new TVelShellLink(parent); });
        add(TPathwright::staticMetaObject,
            [](QObject* parent) -> QObject* { return new TPathwright(parent); });
        add(TVelSystemImageList::staticMetaObject,
            [](QObject* parent) -> QObject* { return new TVelSystemImageList(parent); });
    });
    return factories;
}

[[noreturn]] void Fail(const QString& message) {
    throw EReadError(message);
}

[[noreturn]] void InvalidValue() {
    Fail(QStringLiteral("Invalid property value"));
}

QMetaProperty FindPublished(const QMetaObject* meta, const QByteArray& name) {
    for (const QMetaProperty& property : PublishedProperties(meta))
        if (qstricmp(property.name(), name.constData()) == 0)
            return property;
    return {};
}

int EnumValue(const QMetaEnum& enumerator, const QString& key) {
    for (int i = 0; i < enumerator.keyCount(); ++i)
        if (key.compare(QLatin1String(enumerator.key(i)), Qt::CaseInsensitive) == 0)
            return enumerator.value(i);
    InvalidValue();
}

bool IsIntegerType(int id) {
    switch (id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

// Builds the objects of one form under its root.
class Loader {
public:
    explicit Loader(QObject* root) : m_root(root) {}

    void Run(const TFormObject& tree) {
        if (m_root->objectName().isEmpty())
            m_root->setObjectName(tree.name);
        Remember(m_root);
        // Components the form made itself can be referred to as well.
        for (QObject* existing : m_root->findChildren<QObject*>())
            if (!existing->objectName().isEmpty() && AsComponent(existing))
                m_names.insert(existing->objectName().toLower(), existing);
        try {
            Fill(m_root, tree);
            ResolveReferences();
        } catch (...) {
            Undo();
            throw;
        }
        // A Loaded that fails must not leave the others loading for good: all run, then the first
        // failure is reported. The objects stay; they were read in full.
        std::exception_ptr failure;
        for (const QPointer<QObject>& object : m_loading) {
            TComponentState* component = object ? AsComponent(object) : nullptr;
            try {
                if (component)
                    component->Loaded();
            } catch (...) {
                if (!failure)
                    failure = std::current_exception();
            }
        }
        if (failure)
            std::rethrow_exception(failure);
    }

private:
    struct Reference {
        QPointer<QObject> object;
        QMetaProperty property;
        QString target;
        QString context;
    };

    void Remember(QObject* object) {
        if (TComponentState* component = AsComponent(object))
            component->BeginLoading();
        m_loading.append(object);
        if (!object->objectName().isEmpty())
            m_names.insert(object->objectName().toLower(), object);
    }

    void Undo() {
        for (auto it = m_created.rbegin(); it != m_created.rend(); ++it)
            delete it->data(); // null when its owner went first
        for (const QPointer<QObject>& object : m_loading)
            if (TComponentState* component = object ? AsComponent(object) : nullptr)
                component->TComponentState::Loaded(); // leave the loading state without starting anything
    }

    void Fill(QObject* object, const TFormObject& tree) {
        for (const TFormProperty& property : tree.properties)
            SetProperty(object, property);
        for (const TFormObject& childTree : tree.children)
            Fill(Child(object, childTree), childTree);
    }

    QObject* Child(QObject* parent, const TFormObject& tree) {
        if (tree.inherited || tree.isInline) {
            QObject* existing = parent->findChild<QObject*>(tree.name, Qt::FindDirectChildrenOnly);
            if (!existing)
                Fail(QStringLiteral("Ancestor for '%1' not found").arg(tree.name));
            if (!m_loading.contains(existing))
                Remember(existing);
            return existing;
        }
        if (!tree.name.isEmpty() && m_names.contains(tree.name.toLower()))
            Fail(QStringLiteral("A component named %1 already exists").arg(tree.name));
        QObject* child = TComponentRegistry::Create(tree.className, tree.name, parent);
        m_created.append(child);
        child->setObjectName(tree.name);
        Remember(child);
        return child;
    }

    void SetProperty(QObject* object, const TFormProperty& entry) {
        const QString context = object->objectName() + QLatin1Char('.') + QString::fromLatin1(entry.name);
        try {
            Assign(object, entry);
        } catch (const ShellError& e) {
            Fail(QStringLiteral("Error reading %1: %2").arg(context, e.Message()));
        }
    }

    void Assign(QObject* object, const TFormProperty& entry) {
        QList<QByteArray> path = entry.name.split('.');
        // "Items.Strings" is how a string list property is stored.
        if (path.size() > 1 && qstricmp(path.last().constData(), "Strings") == 0)
            path.removeLast();
        QObject* target = object;
        for (qsizetype i = 0; i + 1 < path.size(); ++i) {
            QMetaProperty step = FindPublished(target->metaObject(), path[i]);
            if (!step.isValid() || !(step.metaType().flags() & QMetaType::PointerToQObject))
                Fail(QStringLiteral("Property %1 does not exist").arg(QString::fromLatin1(entry.name)));
            target = step.read(target).value<QObject*>();
            if (!target)
                InvalidValue();
        }
        QMetaProperty property = FindPublished(target->metaObject(), path.last());
        if (!property.isValid())
            Fail(QStringLiteral("Property %1 does not exist").arg(QString::fromLatin1(entry.name)));
        if (!property.isWritable())
            InvalidValue();
        Write(target, property, entry.value, QString::fromLatin1(entry.name));
    }

    void Write(QObject* target, const QMetaProperty& property, const TFormValue& value, const QString& name) {
        const QMetaType type = property.metaType();
        if (type == QMetaType::fromType<TMethod>()) {
            if (value.kind == TFormValue::Nil) {
                Store(target, property, QVariant::fromValue(TMethod{}));
                return;
            }
            if (value.kind != TFormValue::Ident)
                InvalidValue();
            const TMethod method{m_root, value.text.toLatin1()};
            Store(target, property, QVariant::fromValue(method));
            if (!(property.read(target).value<TMethod>() == method))
                Fail(QStringLiteral("Method %1 not found").arg(value.text));
            return;
        }
        if (type.flags() & QMetaType::PointerToQObject) {
            if (value.kind == TFormValue::Nil) {
                QObject* none = nullptr;
                Store(target, property, QVariant(type, &none));
            } else if (value.kind == TFormValue::Ident) {
                m_references.push_back(
                    {target, property, value.text, target->objectName() + QLatin1Char('.') + name});
            } else {
                InvalidValue();
            }
            return;
        }
        if (property.isFlagType()) {
            if (value.kind != TFormValue::Set)
                InvalidValue();
            int flags = 0;
            for (const QString& key : value.set)
                flags |= EnumValue(property.enumerator(), key);
            Store(target, property, QVariant(flags));
            return;
        }
        if (property.isEnumType()) {
            if (value.kind != TFormValue::Ident)
                InvalidValue();
            Store(target, property, QVariant(EnumValue(property.enumerator(), value.text)));
            return;
        }
        switch (type.id()) {
        case QMetaType::Bool:
            if (value.kind != TFormValue::True && value.kind != TFormValue::False)
                InvalidValue();
            Store(target, property, QVariant(value.kind == TFormValue::True));
            return;
        case QMetaType::QString:
            if (value.kind != TFormValue::String)
                InvalidValue();
            Store(target, property, QVariant(value.text));
            return;
        case QMetaType::QStringList: {
            if (value.kind != TFormValue::List)
                InvalidValue();
            QStringList list;
            for (const TFormValue& item : value.items) {
                if (item.kind != TFormValue::String)
                    InvalidValue();
                list.append(item.text);
            }
            Store(target, property, QVariant(list));
            return;
        }
        case QMetaType::QByteArray:
            if (value.kind != TFormValue::Binary)
                InvalidValue();
            Store(target, property, QVariant(value.binary));
            return;
        default:
            break;
        }
        if (IsIntegerType(type.id()) && value.kind == TFormValue::Integer) {
            QVariant number(value.integer);
            const bool isUnsigned = type.id() == QMetaType::UInt || type.id() == QMetaType::ULong ||
                                    type.id() == QMetaType::ULongLong || type.id() == QMetaType::UShort;
            // Out of the property's range: refused rather than cut.
            if ((isUnsigned && value.integer < 0) || !number.convert(type) ||
                (isUnsigned ? qint64(number.toULongLong()) : number.toLongLong()) != value.integer)
                InvalidValue();
            Store(target, property, number);
            return;
        }
        InvalidValue();
    }

    static void Store(QObject* target, const QMetaProperty& property, const QVariant& value) {
        if (!property.write(target, value))
            InvalidValue();
    }

    void ResolveReferences() {
        for (const Reference& reference : m_references) {
            if (!reference.object)
                continue;
            QString name = reference.target;
            // A reference qualified by the form's own name ("Form1.Link") names one of its objects.
            if (const qsizetype dot = name.indexOf(QLatin1Char('.')); dot >= 0) {
                if (name.left(dot).compare(m_root->objectName(), Qt::CaseInsensitive) != 0)
                    Fail(QStringLiteral("Error reading %1: Invalid property value").arg(reference.context));
                name = name.mid(dot + 1);
            }
            QObject* found = m_names.value(name.toLower());
            const QMetaObject* wanted = reference.property.metaType().metaObject();
            if (!found || (wanted && !found->metaObject()->inherits(wanted)))
                Fail(QStringLiteral("Error reading %1: Invalid property value").arg(reference.context));
            if (!reference.property.write(reference.object, QVariant(reference.property.metaType(), &found)))
                Fail(QStringLiteral("Error reading %1: Invalid property value").arg(reference.context));
        }
    }

    QObject* m_root;
    QList<QPointer<QObject>> m_loading; // the form first, then in the order of creation
    QList<QPointer<QObject>> m_created;
    QHash<QString, QObject*> m_names; // lower-case names
    std::vector<Reference> m_references;
};

} // namespace

void TComponentRegistry::Register(const QString& className, Factory factory) {
    Factories().insert(className, std::move(factory));
}

bool TComponentRegistry::Contains(const QString& className) {
    return Factories().contains(className);
}

QObject* TComponentRegistry::Create(const QString& className, const QString& name, QObject* parent) {
    auto found = Factories().constFind(className);
    if (found == Factories().constEnd())
        Fail(QStringLiteral("Class %1 not found").arg(className));
    QObject* object = (*found)(parent);
    if (!object)
        Fail(QStringLiteral("Control '%1' has no parent window").arg(name));
    return object;
}

QList<QMetaProperty> PublishedProperties(const QMetaObject* meta) {
    QList<const QMetaObject*> classes;
    for (const QMetaObject* m = meta; m; m = m->superClass()) {
        const char* name = m->className();
        if (name[0] == 'Q' && name[1] >= 'A' && name[1] <= 'Z')
            continue; // Qt's own: not published
        classes.prepend(m);
    }
    QList<QMetaProperty> result;
    for (const QMetaObject* m : classes) {
        for (int i = m->propertyOffset(); i < m->propertyCount(); ++i)
            result.append(m->property(i));
    }
    return result;
}

void ReadForm(QObject* root, std::string_view data) {
    TFormObject tree;
    try {
        if (wordloom::IsTextForm(data))
            tree = ParseBinaryForm(wordloom::TextToBinaryForm(data));
        else
            tree = ParseBinaryForm(data);
    } catch (const wordloom::FormError& e) {
        throw EReadError(QString::fromUtf8(e.what()));
    } catch (const EReadError&) {
        throw;
    } catch (const ShellError& e) {
        throw EReadError(e.Message());
    }
    Loader(root).Run(tree);
}

void ReadFormFile(QObject* root, const QString& path) {
    std::string data;
    try {
        data = wordloom::ReadFileBytes(QFile::encodeName(path).toStdString());
    } catch (const wordloom::FileError& e) {
        throw EReadError(QString::fromUtf8(e.what()));
    }
    ReadForm(root, data);
}

} // namespace wordloom::shell
