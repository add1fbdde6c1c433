// A panel under the grid with where the current record's text was collected: its places (project,
// file, line, component, property) and the source line of the chosen place with its neighbours.
// A double-click opens the file in the user's editor at that line.
#pragma once

#include "strings_db/side_store.h"

#include <QDockWidget>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QSplitter;
class QTreeWidget;

namespace wordloom {

class StringsTable;

/// Where the sources of the project being worked on are: the window's project settings.
struct ContextSource {
    std::string projectName; ///< as Collect files it in `Project`
    std::string folder;      ///< the project folder, ending in "/"
    int charset = 1;         ///< the sources' character set
};

/// The program and arguments that open `file` at `line` by a command such as "kate --line %l %f"
/// (%f the file, %l the line, %% a percent sign; without %f the file is appended). Empty for an
/// empty command.
QStringList EditorInvocation(const QString& command, const QString& file, int line);

class ContextPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit ContextPanel(QWidget* parent = nullptr);

    /// How the project's folder and code page are found when lines are read.
    void SetSourceLookup(std::function<ContextSource()> lookup) { m_lookup = std::move(lookup); }
    /// The command that opens a file at a line (see EditorInvocation); empty: the desktop's program
    /// for the file, at its start.
    void SetEditorCommand(const QString& command) { m_editorCommand = command; }
    const QString& EditorCommand() const { return m_editorCommand; }

    /// Shows the places of the record filed under `lang` with `text` (none for an empty text). The
    /// same record again reads nothing unless `reread`.
    void ShowRecord(StringsTable* table, const std::string& lang, const std::string& text,
                    bool reread = false);

    /// The findings of the checks on the shown record's translation, one a line; empty hides them.
    void ShowWarnings(const QString& text);
    QLabel* Warnings() const { return m_warnings; }

    QTreeWidget* Places() const { return m_places; }
    QPlainTextEdit* Lines() const { return m_lines; }
    QSplitter* Splitter() const { return m_splitter; }
    /// The full path of a place's file; empty when its project's folder is not known.
    QString PlaceFile(int place) const;
    /// Opens the place's file: in the editor at its line, or with the desktop's program. False,
    /// with the reason shown, when it could not be.
    bool OpenPlace(int place);

signals:
    /// An editor was started (program and arguments), for the status bar and tests.
    void EditorStarted(const QStringList& invocation);

private:
    void ShowLines(int place);

    std::function<ContextSource()> m_lookup;
    QString m_editorCommand;
    QSplitter* m_splitter;
    QTreeWidget* m_places;
    QPlainTextEdit* m_lines;
    QLabel* m_note;
    QLabel* m_warnings = nullptr;
    std::vector<Occurrence> m_shown;
    const StringsTable* m_table = nullptr;
    std::string m_lang;
    std::string m_text;
};

} // namespace wordloom
