// The status bar: a row of text panels that also accepts other controls placed on it.
#pragma once

#include <QStatusBar>
#include <vector>

class QLabel;

namespace wordloom {

class TProgressPanel;

class TAdvStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TAdvStatusBar(QWidget* owner = nullptr);

    /// Appends a panel `width` pixels wide; the last panel also takes the width left over.
    void AddPanel(int width);
    int PanelCount() const { return static_cast<int>(m_panels.size()); }
    QLabel* Panel(int index) const { return m_panels.at(static_cast<std::size_t>(index)); }
    QString PanelText(int index) const;
    void SetPanelText(int index, const QString& text);
    /// The panel the long commands write their progress into.
    void SetLastPanelText(const QString& text) { SetPanelText(PanelCount() - 1, text); }
    /// The progress and Cancel button of the long commands, left of the other permanent widgets;
    /// hidden while none runs.
    TProgressPanel* ProgressPanel();

private:
    std::vector<QLabel*> m_panels;
    TProgressPanel* m_progress = nullptr;
};

} // namespace wordloom
