#include "app/qt_text_measure.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace wordloom {

namespace {

// Where Debian's fonts-wine puts its look-alikes of the Windows fonts; not a folder fontconfig
// reads. Only the outline Tahoma is taken: its "MS Sans Serif" holds a single bitmap size.
constexpr const char* kLookAlikeFolder = "/usr/share/wine/fonts";

void AddLookAlikeFonts() {
    static const bool added = [] {
        const QDir folder(QString::fromLatin1(kLookAlikeFolder));
        for (const QString& name : folder.entryList({QStringLiteral("tahoma*.ttf")}, QDir::Files))
            QFontDatabase::addApplicationFont(folder.filePath(name));
        // The dialog fonts of old forms: Windows draws them close to its own sans serif faces, far
        // closer than the wide generic sans serif a missing family otherwise falls back to.
        const QStringList closest{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma")};
        for (const char* family : {"MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2"})
            if (!QFontDatabase::isScalable(QString::fromLatin1(family)))
                QFont::insertSubstitutions(QString::fromLatin1(family), closest);
        return true;
    }();
    (void)added;
}

} // namespace

QtTextMeasure::QtTextMeasure() {
    AddLookAlikeFonts();
}

QFont QtTextMeasure::MakeFont(const qa::FontDescription& font) {
    QFont made(QString::fromStdString(font.family));
    made.setPixelSize(std::max(1, int(std::lround(font.pixelSize))));
    made.setBold(font.bold);
    made.setItalic(font.italic);
    made.setUnderline(font.underline);
    made.setStrikeOut(font.strikeOut);
    return made;
}

const QFontMetricsF& QtTextMeasure::Metrics(const qa::FontDescription& font) {
    const Key key{font.family,   int(std::lround(font.pixelSize)), font.bold, font.italic, font.underline,
                  font.strikeOut};
    std::unique_ptr<QFontMetricsF>& metrics = m_metrics[key];
    if (!metrics)
        metrics = std::make_unique<QFontMetricsF>(MakeFont(font));
    return *metrics;
}

double QtTextMeasure::TextWidth(std::string_view utf8, const qa::FontDescription& font) {
    return Metrics(font).horizontalAdvance(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

std::string QtTextMeasure::UsedFamily(const qa::FontDescription& font) {
    return QFontInfo(MakeFont(font)).family().toStdString();
}

} // namespace wordloom
