// The settings kept between runs: per-user store "VEL Software" / "Wordloom", string values.
#pragma once

#include <QSettings>
#include <QString>

namespace wordloom {

struct StoredSettings {
    QString lastProject; ///< LastProject: the project path last shown
    int language = 0;    ///< Language: entry of the project-language list (-1 when none)
    int translation = 1; ///< Translation: entry of the translation-language list (-1 when none)
    bool includePas = true;
    int leftCharset = 1;        ///< LeftCharset: character set of the left column
    int rightCharset = 1;       ///< RightCharset: character set of the right column
    bool keepTextForms = false; ///< FormFormat: "keep" (text forms stay text) or "binary"
};

/// How the window was left: kept beside the settings above, in the group "Window".
struct WindowState {
    QByteArray geometry;    ///< size and place
    QByteArray docks;       ///< panels and splitters
    double leftShare = 0.5; ///< column 0's part of the width the language columns share
    QString order;          ///< "index:NAME" or "field:NAME"; empty: the project language's order
    QString projectFilter;  ///< the project shown, empty for all
    int recordFilter = 0;   ///< entry of the record filter
};

/// The open settings store; values are written as text and unreadable numbers read as defaults.
class WorkbenchSettings {
public:
    WorkbenchSettings();

    StoredSettings Read() const;
    void Write(const StoredSettings& values);
    WindowState ReadWindow() const;
    void WriteWindow(const WindowState& state);

private:
    int ReadInt(const QString& key, int fallback) const;

    QSettings m_store;
};

} // namespace wordloom
