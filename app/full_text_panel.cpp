#include "app/full_text_panel.h"

#include "app/failure_report.h"
#include "app/strings_grid.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace wordloom {

FullTextPanel::FullTextPanel(StringsGrid* grid, QWidget* parent)
    : QDockWidget(tr("Full text"), parent), m_grid(grid), m_editor(new QPlainTextEdit(this)),
      m_apply(new QPushButton(tr("&Apply"), this)) {
    setObjectName(QStringLiteral("FullTextPanel"));
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(4, 4, 4, 4);
    m_editor->setObjectName(QStringLiteral("FullTextEditor"));
    m_editor->setToolTip(tr("The whole text of the current cell; Ctrl+Return writes it into the cell"));
    column->addWidget(m_editor, 1);
    m_apply->setObjectName(QStringLiteral("FullTextApply"));
    column->addWidget(m_apply, 0, Qt::AlignRight);
    setWidget(body);
    auto* applyKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), m_editor);
    applyKey->setContext(Qt::WidgetShortcut);
    connect(applyKey, &QShortcut::activated, this, &FullTextPanel::Apply);
    connect(m_apply, &QPushButton::clicked, this, &FullTextPanel::Apply);
    connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { ShowCell(current); });
    connect(grid->model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) {
                if (m_cell.isValid() && m_cell.row() >= from.row() && m_cell.row() <= to.row() &&
                    !m_editor->hasFocus()) {
                    ShowCell(m_cell);
                }
            });
    connect(grid->model(), &QAbstractItemModel::modelReset, this,
            [this] { ShowCell(m_grid->currentIndex()); });
}

QString FullTextPanel::ToLines(const QString& stored) {
    QString shown = stored;
    return shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString FullTextPanel::FromLines(const QString& shown) {
    QString stored = shown;
    return stored.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

void FullTextPanel::ShowCell(const QModelIndex& index) {
    m_cell = index;
    m_editor->setEnabled(index.isValid());
    m_apply->setEnabled(index.isValid());
    m_editor->setPlainText(index.isValid() ? ToLines(index.data(Qt::EditRole).toString()) : QString());
}

void FullTextPanel::Apply() {
    if (!m_cell.isValid()) {
        return;
    }
    const QModelIndex cell = m_cell;
    const QString text = FromLines(m_editor->toPlainText());
    ReportFailures(this, [&] {
        if (!m_grid->model()->setData(cell, text)) {
            return;
        }
        m_grid->setCurrentIndex(cell);
    });
}

} // namespace wordloom
