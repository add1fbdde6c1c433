#include "dialogs/statistics_dlg.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

namespace wordloom {

namespace {

constexpr int kMargin = 8;
constexpr int kGap = 10;
constexpr int kMinBarWidth = 120;

const QColor kDoneColor(0x43, 0xa0, 0x47);
const QColor kSuggestedColor(0xf9, 0xa8, 0x25);
const QColor kOpenColor(0xe3, 0xe3, 0xe3);

QString ProjectTitle(const QString& project) {
    return project.isEmpty() ? StatisticsChart::tr("All projects") : project;
}

QString CountText(const StatisticsBar& bar) {
    const QLocale locale;
    return StatisticsChart::tr("%1 of %2 texts (%3%)")
        .arg(locale.toString(bar.doneTexts), locale.toString(bar.totalTexts))
        .arg(bar.percent);
}

// The share of `part` in `whole` pixels, never more than all of them.
int Share(long long part, long long total, int whole) {
    return total <= 0 ? 0 : static_cast<int>(std::min<long long>(whole, part * whole / total));
}

} // namespace

StatisticsChart::StatisticsChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("StatisticsChart"));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void StatisticsChart::SetBars(std::vector<StatisticsBar> bars) {
    m_bars = std::move(bars);
    Layout();
    updateGeometry();
    update();
}

int StatisticsChart::RowHeight() const {
    return fontMetrics().height() + 8;
}

void StatisticsChart::Layout() {
    m_rows.clear();
    m_labelWidth = 0;
    m_countWidth = 0;
    const QFontMetrics metrics = fontMetrics();
    int top = kMargin;
    for (std::size_t i = 0; i < m_bars.size(); ++i) {
        const StatisticsBar& bar = m_bars[i];
        if (i == 0 || bar.project != m_bars[i - 1].project) {
            if (i != 0) {
                top += RowHeight() / 2;
            }
            m_rows.push_back({static_cast<int>(i), true, top});
            top += RowHeight();
        }
        m_rows.push_back({static_cast<int>(i), false, top});
        top += RowHeight();
        m_labelWidth = std::max(m_labelWidth, metrics.horizontalAdvance(bar.language));
        m_countWidth = std::max(m_countWidth, metrics.horizontalAdvance(CountText(bar)));
    }
    m_labelWidth += 2 * kMargin; // indented under the project's heading
}

QSize StatisticsChart::sizeHint() const {
    const int height = m_rows.empty() ? RowHeight() : m_rows.back().top + RowHeight() + kMargin;
    return {kMargin + m_labelWidth + kGap + 3 * kMinBarWidth + kGap + m_countWidth + kMargin, height};
}

QSize StatisticsChart::minimumSizeHint() const {
    return {kMargin + m_labelWidth + kGap + kMinBarWidth + kGap + m_countWidth + kMargin, RowHeight()};
}

QRect StatisticsChart::BarRect(const Row& row) const {
    const int left = kMargin + m_labelWidth + kGap;
    const int width = std::max(kMinBarWidth, this->width() - left - kGap - m_countWidth - kMargin);
    return {left, row.top + 3, width, RowHeight() - 6};
}

int StatisticsChart::BarAt(const QPoint& point) const {
    for (const Row& row : m_rows) {
        if (!row.heading && point.y() >= row.top && point.y() < row.top + RowHeight()) {
            return row.bar;
        }
    }
    return -1;
}

void StatisticsChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int textHeight = RowHeight();
    if (m_bars.empty()) {
        painter.drawText(rect(), Qt::AlignCenter, tr("No texts to count."));
        return;
    }
    QFont bold = font();
    bold.setBold(true);
    for (const Row& row : m_rows) {
        const StatisticsBar& bar = m_bars[static_cast<std::size_t>(row.bar)];
        if (row.heading) {
            painter.setFont(bold);
            painter.drawText(QRect(kMargin, row.top, width() - 2 * kMargin, textHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, ProjectTitle(bar.project));
            painter.setFont(font());
            continue;
        }
        painter.drawText(QRect(2 * kMargin, row.top, m_labelWidth - kMargin, textHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, bar.language);
        const QRect whole = BarRect(row);
        painter.fillRect(whole, kOpenColor);
        const int done = Share(bar.doneTexts, bar.totalTexts, whole.width());
        const int suggested = Share(bar.suggestedTexts, bar.totalTexts, whole.width() - done);
        painter.fillRect(QRect(whole.left(), whole.top(), done, whole.height()), kDoneColor);
        painter.fillRect(QRect(whole.left() + done, whole.top(), suggested, whole.height()), kSuggestedColor);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(whole.adjusted(0, 0, -1, -1));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRect(whole.right() + kGap, row.top, m_countWidth, textHeight),
                         Qt::AlignRight | Qt::AlignVCenter, CountText(bar));
    }
}

bool StatisticsChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = BarAt(help->pos());
        if (index < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const StatisticsBar& bar = m_bars[static_cast<std::size_t>(index)];
        const QLocale locale;
        QToolTip::showText(help->globalPos(),
                           tr("%1, %2\nDone: %3 of %4 texts, %5 of %6 words\nSuggested (needs a look): %7")
                               .arg(ProjectTitle(bar.project), bar.language, locale.toString(bar.doneTexts),
                                    locale.toString(bar.totalTexts), locale.toString(bar.doneWords),
                                    locale.toString(bar.totalWords), locale.toString(bar.suggestedTexts)),
                           this);
        return true;
    }
    return QWidget::event(event);
}

TStatisticsDlg::TStatisticsDlg(QWidget* parent)
    : QDialog(parent), m_chart(new StatisticsChart(this)), m_heading(new QLabel(this)),
      m_refresh(new QPushButton(tr("&Count again"), this)) {
    setObjectName(QStringLiteral("StatisticsDlg"));
    setWindowTitle(tr("Statistics"));
    setModal(false);
    auto* column = new QVBoxLayout(this);
    m_heading->setObjectName(QStringLiteral("StatisticsHeading"));
    m_heading->setWordWrap(true);
    column->addWidget(m_heading);
    auto* legend = new QLabel(this);
    const auto swatch = [](const QColor& color, const QString& text) {
        return QStringLiteral("<span style=\"color:%1\">\u25A0</span>&nbsp;%2")
            .arg(color.name(), text.toHtmlEscaped());
    };
    legend->setText(swatch(kDoneColor, tr("Done (translated, reviewed or don't translate)")) +
                    QStringLiteral("&nbsp;&nbsp; ") +
                    swatch(kSuggestedColor, tr("Suggested (needs a look)")) +
                    QStringLiteral("&nbsp;&nbsp; ") + swatch(kOpenColor.darker(130), tr("Open")));
    column->addWidget(legend);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(m_chart);
    scroll->setWidgetResizable(true);
    column->addWidget(scroll, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_refresh->setObjectName(QStringLiteral("StatisticsRefresh"));
    buttons->addButton(m_refresh, QDialogButtonBox::ActionRole);
    column->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(m_refresh, &QPushButton::clicked, this, &TStatisticsDlg::RefreshRequested);
    resize(640, 420);
}

void TStatisticsDlg::SetBars(const QString& sourceLanguage, std::vector<StatisticsBar> bars) {
    m_heading->setText(
        tr("The texts of the project language %1, by project and target language:").arg(sourceLanguage));
    m_chart->SetBars(std::move(bars));
}

} // namespace wordloom
