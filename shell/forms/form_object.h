// A form file's component tree in memory, read from and written to the binary form through the
// engine's binary form reader and writer (the text form goes through the engine's conversion).
#pragma once

#include "forms/code_page.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wordloom::shell {

// One property value. Floats, collections and null are recognised but carry no payload here: the
// components' published properties use none of them.
struct TFormValue {
    enum class Kind { Null, List, Integer, Float, String, Ident, False, True, Binary, Set, Nil, Collection };
    // Named TFormValue::Integer, ... a kind never passes for a number.
    using enum Kind;
    Kind kind = Null;
    qint64 integer = 0;
    QString text;            // String; Ident (a dotted reference stays one identifier)
    QByteArray binary;       // Binary
    QStringList set;         // Set
    QList<TFormValue> items; // List
};

struct TFormProperty {
    QByteArray name; // dotted paths such as Items.Strings are one name
    TFormValue value;
};

struct TFormObject {
    bool inherited = false;
    bool isInline = false;
    std::optional<qint64> position;
    QString className;
    QString name;
    QList<TFormProperty> properties;
    QList<TFormObject> children;
};

// Narrow strings of component form files are in this code page unless a reader is told otherwise:
// Windows-1252.
const wordloom::CodePage& DefaultFormCodePage();

// Parses a binary form resource (or a bare component stream), narrow strings decoded in codePage.
// Throws ShellError "Invalid stream format" for a bad header, signature, length or nesting, "Invalid
// property value" for a misplaced tag.
TFormObject ParseBinaryForm(std::string_view data,
                            const wordloom::CodePage& codePage = DefaultFormCodePage());
// The binary form resource of `root`: resource header named after its class in upper case, then
// the component stream. Narrow strings are written only for ASCII text; others as wide strings.
std::string BuildBinaryForm(const TFormObject& root);

} // namespace wordloom::shell
