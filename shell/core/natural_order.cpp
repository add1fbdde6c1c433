// The order of objects in a folder: by kind, then by name with digit runs compared by value.
#include "shell/core/natural_order.h"
#include "shell/core/shell_namespace_detail.h"

#include <QCollator>
#include <QLocale>

namespace wordloom::shell {

namespace {

const QCollator& NameCollator() {
    // Qt's collator takes the C locale for plain code-unit order, without numeric mode.
    thread_local const QCollator collator = [] {
        QLocale locale;
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English);
        QCollator made(locale);
        made.setNumericMode(true);
        made.setCaseSensitivity(Qt::CaseInsensitive);
        return made;
    }();
    return collator;
}

} // namespace

int NaturalCompare(const QString& a, const QString& b) {
    return NameCollator().compare(a, b);
}

QCollatorSortKey NaturalSortKey(const QString& name) {
    return NameCollator().sortKey(name);
}

} // namespace wordloom::shell

namespace wordloom::shell::detail {

int CompareNames(std::string_view a, std::string_view b) {
    if (a == b)
        return 0;
    const int order = NaturalCompare(DecodeName(a), DecodeName(b));
    if (order != 0)
        return order < 0 ? -1 : 1;
    return a < b ? -1 : 1;
}

int KindRank(ItemKind kind) {
    switch (kind) {
    case ItemKind::Computer:
        return 0;
    case ItemKind::Home:
        return 1;
    case ItemKind::Trash:
        return 2;
    case ItemKind::Network:
        return 3;
    case ItemKind::Volume:
        return 4;
    case ItemKind::Dir:
        return 5;
    case ItemKind::File:
        return 6;
    }
    return 7;
}

int CompareItems(const ItemView& a, const ItemView& b) {
    if (a.kind != b.kind)
        return KindRank(a.kind) < KindRank(b.kind) ? -1 : 1;
    if (a.kind == ItemKind::Volume) {
        if ((a.name == "/") != (b.name == "/"))
            return a.name == "/" ? -1 : 1;
    }
    return CompareNames(a.name, b.name);
}

} // namespace wordloom::shell::detail

namespace wordloom::shell {

int ItemKindRank(ItemKind kind) {
    return detail::KindRank(kind);
}

} // namespace wordloom::shell
