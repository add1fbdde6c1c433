#include "app/text_fold.h"

#include <QString>
#include <algorithm>

namespace wordloom {

std::string FoldForFind(std::string_view utf8) {
    // Most texts are plain ASCII: folding them is lower-casing, without a round trip through UTF-16.
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        std::string folded(utf8);
        for (char& c : folded) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return folded;
    }
    const QString decomposed = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))
                                   .normalized(QString::NormalizationForm_KD);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing) {
            bare.append(c);
        }
    }
    // Qt folds case one letter to one letter; the full folding also turns the sharp s into "ss",
    // so "Straße" is found by "strasse" as a German reader expects.
    return bare.toCaseFolded().replace(QChar(0x00DF), QStringLiteral("ss")).toStdString();
}

} // namespace wordloom
