#include "dialogs/adv_status_bar.h"

#include "dialogs/progress_panel.h"

#include <QLabel>

namespace wordloom {

TAdvStatusBar::TAdvStatusBar(QWidget* owner) : QStatusBar(owner) {
    setSizeGripEnabled(false);
}

void TAdvStatusBar::AddPanel(int width) {
    if (!m_panels.empty()) {
        QLabel* previous = m_panels.back();
        previous->setFixedWidth(previous->minimumWidth());
        removeWidget(previous);
        addWidget(previous, 0);
        previous->show();
    }
    auto* panel = new QLabel(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumWidth(width);
    addWidget(panel, 1);
    m_panels.push_back(panel);
}

TProgressPanel* TAdvStatusBar::ProgressPanel() {
    if (m_progress == nullptr) {
        m_progress = new TProgressPanel(this);
        // First of the permanent widgets, which follow the panels.
        insertPermanentWidget(PanelCount(), m_progress);
        m_progress->hide(); // adding it showed it
    }
    return m_progress;
}

QString TAdvStatusBar::PanelText(int index) const {
    return Panel(index)->text();
}

void TAdvStatusBar::SetPanelText(int index, const QString& text) {
    Panel(index)->setText(text);
    Panel(index)->setToolTip(text); // a narrow window cuts the panel short: the whole of it on hovering
}

} // namespace wordloom
