// The order of objects in a folder: by kind, then by name with digit runs compared by value.
#include "shell/core/shell_namespace_detail.h"

namespace wordloom::shell::detail {

namespace {

// Digit runs compare by their value, everything else character by character with letter case
// folded: "file2" before "file10", "apple" before "Banana".
int NaturalCompare(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype endA = i;
            qsizetype endB = j;
            while (endA < a.size() && a[endA].isDigit())
                ++endA;
            while (endB < b.size() && b[endB].isDigit())
                ++endB;
            qsizetype startA = i;
            qsizetype startB = j;
            while (startA + 1 < endA && a[startA].digitValue() == 0)
                ++startA;
            while (startB + 1 < endB && b[startB].digitValue() == 0)
                ++startB;
            if (endA - startA != endB - startB)
                return endA - startA < endB - startB ? -1 : 1;
            for (qsizetype k = 0; k < endA - startA; ++k) {
                const int da = a[startA + k].digitValue();
                const int db = b[startB + k].digitValue();
                if (da != db)
                    return da < db ? -1 : 1;
            }
            i = endA;
            j = endB;
            continue;
        }
        const char32_t ca = a[i].toCaseFolded().unicode();
        const char32_t cb = b[j].toCaseFolded().unicode();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

} // namespace

int CompareNames(std::string_view a, std::string_view b) {
    if (a == b)
        return 0;
    const int order = NaturalCompare(DecodeName(a), DecodeName(b));
    if (order != 0)
        return order;
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
