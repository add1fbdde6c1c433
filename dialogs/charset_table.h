// The character sets a grid column can display, as the options dialog lists them.
#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <array>

namespace wordloom {

struct CharsetEntry {
    const char* text; ///< the list item, as the user reads it
    int charset;      ///< the font character-set number
};

inline constexpr int DefaultCharset = 1;

/// The 15 entries of both lists, index for index.
inline constexpr std::array<CharsetEntry, 15> CharsetTable{{
    {"Default Charset", 1},
    {"Japanese Charset", 128},
    {"Korean (Wansung)", 129},
    {"Korean (Johab)", 130},
    {"Chinese Charset (Simplified)", 134},
    {"Chinese Charset (Traditional)", 136},
    {"Greek Charset", 161},
    {"Turkish Charset", 162},
    {"Vietnamese", 163},
    {"Hebrew Charset", 177},
    {"Ararbic Charset", 178},
    {"Baltic Charset", 186},
    {"Russian Charset", 204},
    {"Thai", 222},
    {"Eastern Europe Charset", 238},
}};

/// Index of `charset` in CharsetTable, or -1 when the table has no such entry.
int CharsetIndex(int charset);
/// The script Qt's font matching needs for a character set (Any when Latin serves).
QFontDatabase::WritingSystem WritingSystemForCharset(int charset);
/// `base` with a family that can draw the character set's script, when one is installed.
QFont FontForCharset(const QFont& base, int charset);

} // namespace wordloom
