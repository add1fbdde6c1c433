// The program's three kinds of message box, all captioned with the application title.
#pragma once

#include <QString>

class QWidget;

namespace wordloom {

/// The text, an OK button, no icon.
void ShowPlainMessage(QWidget* parent, const QString& text);
/// OK and Cancel with the exclamation icon; true when the answer is OK.
bool AskOkCancel(QWidget* parent, const QString& text);
/// A failure's text with the stop icon and an OK button.
void ShowErrorMessage(QWidget* parent, const QString& text);

} // namespace wordloom
