// Building components from form files (text or binary form) and writing them back.
//
// A form file's root object is an existing object (the form); every object nested in it is created
// by class name from the registry with the enclosing object as its Qt parent (= owner), named, and
// given its properties through the meta-object system. Published properties are the Q_PROPERTYs
// declared by our own classes (not Qt's); names match in any letter case, as Pascal names do.
// Values: identifiers -> enums, sets -> flags, strings, integers, booleans, "X.Strings" lists ->
// string lists, identifiers naming components -> object pointers (resolved after all objects
// exist), identifiers on TMethod properties -> the form's invokable handler of that name.
// Every component stays in the loading state until all is read; then Loaded runs on each, the form
// first, then in the order of creation.
#pragma once

#include "shell/forms/component.h"
#include "shell/forms/form_object.h"

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>
#include <string_view>
#include <type_traits>

namespace wordloom::shell {

// A failure while reading a form: "Error reading <component>.<property>: <message>" for a
// property, or the message alone.
class EReadError : public ShellError {
public:
    using ShellError::ShellError;
};

// Class name -> factory. The shell core's classes are registered from the start; other libraries
// register theirs before loading a form.
class TComponentRegistry {
public:
    // Makes an object of the class under `parent`; null when the parent cannot hold it.
    using Factory = std::function<QObject*(QObject* parent)>;
    static void Register(const QString& className, Factory factory);
    template <class T>
    static void Register() {
        Register(ComponentClassName(&T::staticMetaObject), [](QObject* parent) -> QObject* {
            if constexpr (std::is_base_of_v<QWidget, T>) {
                auto* parentWidget = qobject_cast<QWidget*>(parent);
                return parentWidget ? new T(parentWidget) : nullptr;
            } else {
                return new T(parent);
            }
        });
    }
    static bool Contains(const QString& className);
    // Throws EReadError "Class <name> not found" for an unknown class and "Control '<name>' has no
    // parent window" when a control would stand on a non-visual object.
    static QObject* Create(const QString& className, const QString& name, QObject* parent);
};

// Reads a form (text or binary form, told apart by its first bytes) into `root`. On failure the
// objects created so far are destroyed, the root's state is left loaded, and EReadError is thrown.
// An exception from a Loaded is passed on after every other Loaded has run; the objects then stay.
void ReadForm(QObject* root, std::string_view data);
void ReadFormFile(QObject* root, const QString& path);

// The published properties of an object's class, in declaration order (Qt's own left out).
QList<QMetaProperty> PublishedProperties(const QMetaObject* meta);

// The binary form resource of `root`: its published, stored properties that differ from their
// defaults and every named component child (unnamed children are a component's own helpers).
// Defaults: Q_CLASSINFO("Default:<Property>", "<text form value>"); empty strings, lists, byte
// arrays, unassigned events and null references are never written.
std::string WriteFormBinary(QObject* root);
// The same in the text form (CR LF line ends).
std::string WriteFormText(QObject* root);
// Writes the form file atomically, binary or text.
void WriteFormFile(QObject* root, const QString& path, bool text);

} // namespace wordloom::shell
