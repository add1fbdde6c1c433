#include "shell/controls/shell_keys.h"

#include <QKeyEvent>

#include <array>

namespace wordloom::shell {

namespace {

struct KeyEntry {
    Qt::KeyboardModifiers modifiers;
    int key;
    TShellKeyCommand command;
};

const std::array<KeyEntry, 11> kKeys{{
    {Qt::ControlModifier, Qt::Key_A, TShellKeyCommand::SelectAll},
    {Qt::ControlModifier, Qt::Key_C, TShellKeyCommand::Copy},
    {Qt::ControlModifier, Qt::Key_V, TShellKeyCommand::Paste},
    {Qt::ControlModifier, Qt::Key_X, TShellKeyCommand::Cut},
    {Qt::ShiftModifier, Qt::Key_F10, TShellKeyCommand::ContextMenu},
    {Qt::NoModifier, Qt::Key_Delete, TShellKeyCommand::Delete},
    {Qt::NoModifier, Qt::Key_F2, TShellKeyCommand::Rename},
    {Qt::NoModifier, Qt::Key_F5, TShellKeyCommand::Refresh},
    {Qt::NoModifier, Qt::Key_Backspace, TShellKeyCommand::OpenParent},
    {Qt::NoModifier, Qt::Key_Return, TShellKeyCommand::Open},
    {Qt::NoModifier, Qt::Key_Enter, TShellKeyCommand::Open},
}};

} // namespace

TShellKeyCommand ShellKeyCommandOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    for (const KeyEntry& entry : kKeys)
        if (entry.key == event.key() && entry.modifiers == modifiers)
            return entry.command;
    return TShellKeyCommand::None;
}

bool ChangesContents(TShellKeyCommand command) {
    return command == TShellKeyCommand::Paste || command == TShellKeyCommand::Cut ||
           command == TShellKeyCommand::Delete;
}

QString VerbOf(TShellKeyCommand command) {
    switch (command) {
    case TShellKeyCommand::Copy:
        return QStringLiteral("copy");
    case TShellKeyCommand::Paste:
        return QStringLiteral("paste");
    case TShellKeyCommand::Cut:
        return QStringLiteral("cut");
    case TShellKeyCommand::Delete:
        return QStringLiteral("delete");
    case TShellKeyCommand::Open:
        return QStringLiteral("default");
    default:
        return QString();
    }
}

} // namespace wordloom::shell
