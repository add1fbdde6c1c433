#include "dialogs/charset_table.h"

#include <QList>
#include <QStringList>

namespace wordloom {

int CharsetIndex(int charset) {
    for (std::size_t i = 0; i < CharsetTable.size(); ++i) {
        if (CharsetTable[i].charset == charset) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QFontDatabase::WritingSystem WritingSystemForCharset(int charset) {
    switch (charset) {
    case 128:
        return QFontDatabase::Japanese;
    case 129:
    case 130:
        return QFontDatabase::Korean;
    case 134:
        return QFontDatabase::SimplifiedChinese;
    case 136:
        return QFontDatabase::TraditionalChinese;
    case 161:
        return QFontDatabase::Greek;
    case 163:
        return QFontDatabase::Vietnamese;
    case 177:
        return QFontDatabase::Hebrew;
    case 178:
        return QFontDatabase::Arabic;
    case 204:
        return QFontDatabase::Cyrillic;
    case 222:
        return QFontDatabase::Thai;
    default: // Western, Turkish, Baltic and Central European all live in Latin fonts
        return QFontDatabase::Any;
    }
}

QFont FontForCharset(const QFont& base, int charset) {
    const QFontDatabase::WritingSystem script = WritingSystemForCharset(charset);
    if (script == QFontDatabase::Any || QFontDatabase::writingSystems(base.family()).contains(script)) {
        return base;
    }
    const QStringList families = QFontDatabase::families(script);
    if (families.isEmpty()) {
        return base; // nothing installed draws it better; Qt's fallback per glyph still applies
    }
    QFont font = base;
    font.setFamilies({families.first()});
    return font;
}

} // namespace wordloom
