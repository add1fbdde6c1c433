#include "dialogs/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace wordloom {

namespace {

int RunBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
           QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, QApplication::applicationName(), text, buttons, parent);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec();
}

} // namespace

void ShowPlainMessage(QWidget* parent, const QString& text) {
    RunBox(parent, QMessageBox::NoIcon, text, QMessageBox::Ok);
}

bool AskOkCancel(QWidget* parent, const QString& text) {
    return RunBox(parent, QMessageBox::Warning, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

void ShowErrorMessage(QWidget* parent, const QString& text) {
    RunBox(parent, QMessageBox::Critical, text, QMessageBox::Ok);
}

} // namespace wordloom
