#include "app/gui_command_host.h"

#include "app/strings_grid_model.h"
#include "dialogs/adv_status_bar.h"
#include "dialogs/message_boxes.h"

#include <QApplication>
#include <QClipboard>

namespace wordloom {

namespace {

QString Text(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

GuiCommandHost::GuiCommandHost(QWidget* window, TAdvStatusBar* statusBar, StringsGridModel* grid,
                               std::function<void()> applyProjectFilter)
    : m_window(window), m_statusBar(statusBar), m_grid(grid),
      m_applyProjectFilter(std::move(applyProjectFilter)) {}

GuiCommandHost::~GuiCommandHost() {
    while (m_busy > 0) {
        BusyCursor(false);
    }
    if (m_detached) {
        SetViewAttached(true);
    }
}

void GuiCommandHost::Message(const std::string& text) {
    QApplication::setOverrideCursor(Qt::ArrowCursor); // a box is answered with the normal pointer
    ShowPlainMessage(m_window, Text(text));
    QApplication::restoreOverrideCursor();
}

bool GuiCommandHost::Question(const std::string& text) {
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool ok = AskOkCancel(m_window, Text(text));
    QApplication::restoreOverrideCursor();
    return ok;
}

void GuiCommandHost::Error(const std::string& text) {
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    ShowErrorMessage(m_window, Text(text));
    QApplication::restoreOverrideCursor();
}

void GuiCommandHost::StatusText(const std::string& text) {
    m_statusBar->SetLastPanelText(Text(text));
}

void GuiCommandHost::BusyCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busy;
    } else if (m_busy > 0) {
        QApplication::restoreOverrideCursor();
        --m_busy;
    }
}

void GuiCommandHost::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void GuiCommandHost::SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(Text(text));
}

void GuiCommandHost::SetViewAttached(bool attached) {
    m_grid->SetAttached(attached);
    m_detached = !attached;
}

void GuiCommandHost::ApplyProjectFilter() {
    m_applyProjectFilter();
}

} // namespace wordloom
