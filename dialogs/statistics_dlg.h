// The statistics window: how far each project's translation into each language has come, as bars.
#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>
#include <vector>

class QLabel;
class QPushButton;

namespace wordloom {

/// One bar: a project's texts in one target language.
struct StatisticsBar {
    QString project; ///< empty for all projects together
    QString language;
    long long totalTexts = 0;
    long long doneTexts = 0; ///< translated, reviewed or don't translate
    long long suggestedTexts = 0;
    long long totalWords = 0;
    long long doneWords = 0;
    int percent = 100; ///< done of total, rounded down
};

/// The bars, painted: one group per project (in the order given), one bar per language, split
/// into done, suggested and open.
class StatisticsChart : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsChart(QWidget* parent = nullptr);
    void SetBars(std::vector<StatisticsBar> bars);
    const std::vector<StatisticsBar>& Bars() const { return m_bars; }
    /// The bar at a point of the widget; -1 for none.
    int BarAt(const QPoint& point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Row {
        int bar = 0;          ///< the bar shown; for a heading, the first bar of its project
        bool heading = false; ///< the project's name above its bars
        int top = 0;
    };
    void Layout();
    int RowHeight() const;
    QRect BarRect(const Row& row) const;

    std::vector<StatisticsBar> m_bars;
    std::vector<Row> m_rows;
    int m_labelWidth = 0;
    int m_countWidth = 0;
};

class TStatisticsDlg : public QDialog {
    Q_OBJECT
public:
    explicit TStatisticsDlg(QWidget* parent = nullptr);

    /// Shows the bars of the texts filed under `sourceLanguage`.
    void SetBars(const QString& sourceLanguage, std::vector<StatisticsBar> bars);
    StatisticsChart* Chart() const { return m_chart; }
    QPushButton* RefreshButton() const { return m_refresh; }

signals:
    /// The user asked for the numbers to be counted again.
    void RefreshRequested();

private:
    StatisticsChart* m_chart;
    QLabel* m_heading;
    QPushButton* m_refresh;
};

} // namespace wordloom
