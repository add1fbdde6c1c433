#include "app/failure_report.h"

#include "dialogs/message_boxes.h"

namespace wordloom {

void ReportFailure(QWidget* parent, const std::exception& failure) {
    ShowErrorMessage(parent, QString::fromUtf8(failure.what()));
}

void ReportUnknownFailure(QWidget* parent) {
    ShowErrorMessage(parent, WordloomApplication::tr("Unknown failure"));
}

WordloomApplication::WordloomApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool WordloomApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    ReportFailures(activeWindow(), [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace wordloom
