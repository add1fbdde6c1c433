// Failures no command handles: their text in a box with the stop icon, and the program goes on.
#pragma once

#include <QApplication>
#include <exception>
#include <utility>

namespace wordloom {

/// Shows the failure the way the program reports what no command caught.
void ReportFailure(QWidget* parent, const std::exception& failure);
void ReportUnknownFailure(QWidget* parent);

/// Runs `work`; a failure is reported and false returned.
template <typename Work>
bool ReportFailures(QWidget* parent, Work&& work) {
    try {
        std::forward<Work>(work)();
        return true;
    } catch (const std::exception& failure) {
        ReportFailure(parent, failure);
    } catch (...) {
        ReportUnknownFailure(parent);
    }
    return false;
}

/// The application: catches what escapes an event handler, so that the program goes on.
class WordloomApplication : public QApplication {
    Q_OBJECT
public:
    WordloomApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace wordloom
