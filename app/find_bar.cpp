#include "app/find_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace wordloom {

FindBar::FindBar(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_scope(new QComboBox(this)),
      m_narrow(new QCheckBox(tr("Only &matching records"), this)), m_previous(new QToolButton(this)),
      m_next(new QToolButton(this)), m_close(new QToolButton(this)) {
    setObjectName(QStringLiteral("FindBar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 0, 6, 4);
    auto* label = new QLabel(tr("&Find:"), this);
    label->setBuddy(m_edit);
    row->addWidget(label);
    m_edit->setObjectName(QStringLiteral("FindEdit"));
    m_edit->setClearButtonEnabled(true);
    m_edit->setToolTip(tr("Letter case and accents are ignored"));
    m_edit->installEventFilter(this);
    row->addWidget(m_edit, 1);
    m_scope->setObjectName(QStringLiteral("FindScope"));
    m_scope->setToolTip(tr("The columns to look in"));
    m_scope->addItem(tr("Both columns"), -1);
    m_scope->addItem(QString(), 0);
    m_scope->addItem(QString(), 1);
    row->addWidget(m_scope);
    m_narrow->setObjectName(QStringLiteral("FindNarrows"));
    m_narrow->setChecked(true);
    m_narrow->setToolTip(tr("Show only the records that hold the text; F3 and Shift+F3 step through "
                            "the matches either way"));
    row->addWidget(m_narrow);
    m_previous->setObjectName(QStringLiteral("FindPrevious"));
    m_previous->setArrowType(Qt::UpArrow);
    m_previous->setAutoRaise(true);
    m_previous->setToolTip(tr("Previous match (Shift+F3)"));
    row->addWidget(m_previous);
    m_next->setObjectName(QStringLiteral("FindNext"));
    m_next->setArrowType(Qt::DownArrow);
    m_next->setAutoRaise(true);
    m_next->setToolTip(tr("Next match (F3)"));
    row->addWidget(m_next);
    m_close->setObjectName(QStringLiteral("FindClose"));
    m_close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_close->setAutoRaise(true);
    m_close->setToolTip(tr("Close the find bar (Esc)"));
    row->addWidget(m_close);

    connect(m_edit, &QLineEdit::textChanged, this, &FindBar::CriteriaChanged);
    connect(m_scope, &QComboBox::currentIndexChanged, this, &FindBar::CriteriaChanged);
    connect(m_narrow, &QCheckBox::toggled, this, &FindBar::CriteriaChanged);
    connect(m_previous, &QToolButton::clicked, this, [this] { emit Step(false); });
    connect(m_next, &QToolButton::clicked, this, [this] { emit Step(true); });
    connect(m_close, &QToolButton::clicked, this, &FindBar::Close);
}

QString FindBar::Text() const {
    return m_edit->text();
}

int FindBar::Column() const {
    return m_scope->currentData().toInt();
}

bool FindBar::Narrows() const {
    return m_narrow->isChecked();
}

void FindBar::SetColumnNames(const QString& source, const QString& target) {
    m_scope->setItemText(1, source);
    m_scope->setItemText(2, target);
}

void FindBar::Open() {
    show();
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
}

void FindBar::Close() {
    hide();
    m_edit->clear();
    emit Closed();
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            Close();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            emit Step(!key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace wordloom
