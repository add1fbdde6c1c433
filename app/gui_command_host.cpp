#include "app/gui_command_host.h"

#include "app/strings_grid_model.h"
#include "dialogs/adv_status_bar.h"
#include "dialogs/message_boxes.h"
#include "dialogs/progress_panel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>

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
    if (m_progressShown) {
        m_statusBar->ProgressPanel()->Finish();
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

FileFailureAnswer GuiCommandHost::AskSkipFile(const std::string& text) {
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(
        QMessageBox::Warning, QApplication::applicationName(),
        Text(text) + QStringLiteral("\n\n") +
            QCoreApplication::translate("GuiCommandHost", "Skip this file and go on with the others?"),
        QMessageBox::Ignore | QMessageBox::YesToAll | QMessageBox::Abort, m_window);
    box.button(QMessageBox::Ignore)->setText(QObject::tr("&Skip"));
    box.button(QMessageBox::YesToAll)->setText(QObject::tr("Skip &All"));
    box.button(QMessageBox::Abort)->setText(QObject::tr("S&top"));
    box.setDefaultButton(QMessageBox::Abort); // what the command did before it could go on
    box.setEscapeButton(QMessageBox::Abort);
    const int answer = box.exec();
    QApplication::restoreOverrideCursor();
    switch (answer) {
    case QMessageBox::Ignore:
        return FileFailureAnswer::Skip;
    case QMessageBox::YesToAll:
        return FileFailureAnswer::SkipAll;
    default:
        return FileFailureAnswer::Stop;
    }
}

void GuiCommandHost::Report(const std::string& text, const std::vector<std::string>& items) {
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QString list;
    for (const std::string& item : items) {
        list += Text(item) + QLatin1Char('\n');
    }
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(), Text(text), QMessageBox::Ok,
                    m_window);
    box.setDetailedText(list); // a long list scrolls there instead of growing the box
    box.exec();
    QApplication::restoreOverrideCursor();
}

void GuiCommandHost::StatusText(const std::string& text) {
    m_statusBar->SetLastPanelText(Text(text));
    // Painted at once: between unit files, and while a command waits for a busy table, no
    // events are processed.
    m_statusBar->repaint();
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

bool GuiCommandHost::CancelRequested() {
    return m_progressShown && m_statusBar->ProgressPanel()->CancelRequested();
}

void GuiCommandHost::Progress(long long done, long long total, const std::string& current) {
    TProgressPanel* panel = m_statusBar->ProgressPanel();
    if (!m_progressShown) {
        panel->Finish(); // a request left from an earlier command does not stop this one
        m_progressShown = true;
    }
    panel->Advance(done, total, Text(current));
    QCoreApplication::processEvents();
}

} // namespace wordloom
