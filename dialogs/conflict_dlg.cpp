#include "dialogs/conflict_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace wordloom {

namespace {

QPlainTextEdit* Shown(const QString& text, const QString& name) {
    auto* box = new QPlainTextEdit(text);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setTabChangesFocus(true);
    box->setMaximumHeight(box->fontMetrics().lineSpacing() * 5);
    return box;
}

} // namespace

TConflictDlg::TConflictDlg(const std::vector<Field>& fields, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Changed by someone else"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("Someone else changed this record after you began editing it. "
                                "Choose which text stays:"));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Theirs (stored now)")), 0, 1);
    grid->addWidget(new QLabel(tr("Mine")), 0, 2);
    int row = 1;
    for (const Field& field : fields) {
        grid->addWidget(new QLabel(field.name), row, 0, Qt::AlignTop);
        grid->addWidget(Shown(field.theirs, QStringLiteral("Theirs") + field.name), row, 1);
        grid->addWidget(Shown(field.mine, QStringLiteral("Mine") + field.name), row, 2);
        ++row;
    }
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox;
    m_keepMine = buttons->addButton(tr("Keep mine"), QDialogButtonBox::AcceptRole);
    m_takeTheirs = buttons->addButton(tr("Take theirs"), QDialogButtonBox::RejectRole);
    m_keepMine->setObjectName(QStringLiteral("KeepMine"));
    m_takeTheirs->setObjectName(QStringLiteral("TakeTheirs"));
    m_takeTheirs->setDefault(true);
    layout->addWidget(buttons);
    connect(m_keepMine, &QPushButton::clicked, this, [this] {
        m_choice = Choice::KeepMine;
        accept();
    });
    connect(m_takeTheirs, &QPushButton::clicked, this, [this] {
        m_choice = Choice::TakeTheirs;
        reject();
    });
    resize(560, sizeHint().height());
}

} // namespace wordloom
