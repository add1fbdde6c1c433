// The hourglass for the time of a command or a fill; nothing without a GUI application.
#pragma once

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace wordloom::shell {

class BusyCursor {
public:
    BusyCursor() : m_active(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (m_active)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCursor() {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool m_active;
};

} // namespace wordloom::shell
