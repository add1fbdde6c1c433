#include "dialogs/progress_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>
#include <limits>

namespace wordloom {

namespace {

// A bar holds int; counts beyond it are shown scaled, the text keeps the true figures.
int Scaled(long long value, long long total) {
    constexpr long long kMax = std::numeric_limits<int>::max();
    return static_cast<int>(total <= kMax ? value : value / (total / kMax + 1));
}

} // namespace

TProgressPanel::TProgressPanel(QWidget* owner)
    : QWidget(owner), m_bar(new QProgressBar(this)), m_current(new QLabel(this)),
      m_cancel(new QPushButton(tr("Cancel"), this)) {
    setObjectName(QStringLiteral("ProgressPanel"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_bar->setObjectName(QStringLiteral("ProgressBar"));
    m_bar->setFixedWidth(110);
    m_bar->setTextVisible(true);
    m_current->setObjectName(QStringLiteral("ProgressFile"));
    // Narrow: the status text beside it names the file too, and must stay readable.
    m_current->setMaximumWidth(150);
    m_cancel->setObjectName(QStringLiteral("ProgressCancel"));
    m_cancel->setToolTip(tr("Stop the command after the file at work (Esc)"));
    m_cancel->setFocusPolicy(Qt::NoFocus); // the keyboard stays where the user left it
    layout->addWidget(m_bar);
    layout->addWidget(m_current);
    layout->addWidget(m_cancel);
    connect(m_cancel, &QPushButton::clicked, this, &TProgressPanel::RequestCancel);
    // Bound to the panel: only while it shows is there anything to cancel.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_cancel->isEnabled()) {
            RequestCancel();
        }
    });
    hide();
}

void TProgressPanel::Advance(long long done, long long total, const QString& current) {
    if (total > 0) {
        m_bar->setRange(0, Scaled(total, total));
        m_bar->setValue(Scaled(std::min(done, total), total));
        m_bar->setFormat(tr("%1 of %2").arg(QLocale().toString(done), QLocale().toString(total)));
    } else {
        m_bar->setRange(0, 0);
        m_bar->setFormat(QLocale().toString(done));
    }
    const QString elided =
        m_current->fontMetrics().elidedText(current, Qt::ElideMiddle, m_current->maximumWidth());
    m_current->setText(elided);
    m_current->setToolTip(current);
    m_cancel->setEnabled(!m_cancelRequested && (total <= 0 || done < total));
    show();
    emit Advanced(done, total, current);
}

void TProgressPanel::Finish() {
    hide();
    m_cancelRequested = false;
    m_cancel->setEnabled(true);
}

void TProgressPanel::RequestCancel() {
    if (m_cancelRequested) {
        return;
    }
    m_cancelRequested = true;
    m_cancel->setEnabled(false); // asked once; the command stops at its next item
    emit CancelClicked();
}

} // namespace wordloom
