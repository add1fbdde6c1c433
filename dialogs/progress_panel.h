// The status bar's progress of a long command: how many items of how many, the one at work, and a
// Cancel button (Esc does the same while the panel shows).
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace wordloom {

class TProgressPanel : public QWidget {
    Q_OBJECT
public:
    explicit TProgressPanel(QWidget* owner = nullptr);

    /// Shows the panel (hidden until the first call) at `done` of `total` items (0: not known,
    /// the bar runs without an end), working on `current`. Once every item is done, nothing is
    /// left to cancel.
    void Advance(long long done, long long total, const QString& current);
    /// Hides the panel and forgets a cancel request: the next command starts afresh.
    void Finish();
    /// The user asked to stop since the last Finish().
    bool CancelRequested() const { return m_cancelRequested; }

    QProgressBar* Bar() const { return m_bar; }
    QLabel* CurrentLabel() const { return m_current; }
    QPushButton* CancelButton() const { return m_cancel; }

signals:
    /// After the panel shows a new state (and before the events waiting are handled).
    void Advanced(long long done, long long total, const QString& current);
    void CancelClicked();

private:
    void RequestCancel();

    QProgressBar* m_bar;
    QLabel* m_current;
    QPushButton* m_cancel;
    bool m_cancelRequested = false;
};

} // namespace wordloom
