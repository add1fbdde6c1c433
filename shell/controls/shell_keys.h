// The keys the shell list and the shell tree answer, read from one table.
#pragma once

#include <QString>

class QKeyEvent;

namespace wordloom::shell {

// What a key asks of a shell control. Each control carries the command out in its own way.
enum class TShellKeyCommand {
    None,
    SelectAll,   // Ctrl+A
    Copy,        // Ctrl+C
    Paste,       // Ctrl+V
    Cut,         // Ctrl+X
    Delete,      // Delete
    Rename,      // F2
    Refresh,     // F5
    ContextMenu, // Shift+F10
    OpenParent,  // Backspace
    Open,        // Return, Enter
};

// The command of a key press (Meta and keypad modifiers aside); None for any other key.
TShellKeyCommand ShellKeyCommandOf(const QKeyEvent& event);
// The shell verb a command runs: "copy", "paste", "cut", "delete", "default" (Open); empty for the rest.
QString VerbOf(TShellKeyCommand command);
// Whether the command changes the folder's contents, which a read-only control refuses.
bool ChangesContents(TShellKeyCommand command);

} // namespace wordloom::shell
