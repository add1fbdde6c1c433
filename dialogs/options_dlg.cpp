#include "dialogs/options_dlg.h"

#include "dialogs/charset_table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace wordloom {

namespace {

QComboBox* CharsetCombo(QWidget* parent, int x, int y) {
    auto* combo = new QComboBox(parent);
    for (const CharsetEntry& entry : CharsetTable) {
        combo->addItem(QString::fromLatin1(entry.text));
    }
    combo->setCurrentIndex(-1); // no selection until the first showing finds the column's set
    combo->setGeometry(x, y, 145, combo->sizeHint().height());
    return combo;
}

void PlaceLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    QFont narrow = label->font(); // the label must end before the list at x 145
    narrow.setPixelSize(10);
    label->setFont(narrow);
    label->move(x, y);
    label->adjustSize();
}

} // namespace

TOptionsDlg::TOptionsDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("OptionsDlg"));
    setWindowTitle(tr("Dialog"));
    setModal(false);
    // Below the character sets: the way translated forms are stored and the editor of the sources.
    setFixedSize(313, 213);
    QFont small = font(); // the layout's pixel positions were made for a small dialog font
    small.setPixelSize(11);
    setFont(small);

    auto* bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(8, 8, 297, 89);
    PlaceLabel(this, tr("Charset for left column:"), 16, 29);
    m_charSetCombo1 = CharsetCombo(this, 145, 25);
    PlaceLabel(this, tr("Charset for right column:"), 16, 61);
    m_charSetCombo2 = CharsetCombo(this, 145, 57);
    m_charSetCombo1->setObjectName(QStringLiteral("CharSetCombo1"));
    m_charSetCombo2->setObjectName(QStringLiteral("CharSetCombo2"));

    m_okBtn = new QPushButton(tr("Close"), this);
    m_okBtn->setObjectName(QStringLiteral("OKBtn"));
    m_keepTextForms = new QCheckBox(tr("Keep text forms as text when translating"), this);
    m_keepTextForms->setObjectName(QStringLiteral("KeepTextForms"));
    m_keepTextForms->setGeometry(16, 104, 289, 20);
    PlaceLabel(this, tr("Editor command (%f the file, %l the line):"), 16, 130);
    m_editorCommand = new QLineEdit(this);
    m_editorCommand->setObjectName(QStringLiteral("EditorCommand"));
    m_editorCommand->setPlaceholderText(tr("empty: the desktop's program"));
    m_editorCommand->setToolTip(tr("Opens a source file at a line from the where-used panel, e.g. "
                                   "kate --line %l %f"));
    m_editorCommand->setGeometry(16, 146, 281, m_editorCommand->sizeHint().height());
    m_okBtn->setGeometry(119, 180, 75, 25);
    m_okBtn->setDefault(true);

    // activated = picked by the user; a selection made by FormShow changes nothing
    connect(m_charSetCombo1, &QComboBox::activated, this, &TOptionsDlg::CharSetCombo1Change);
    connect(m_charSetCombo2, &QComboBox::activated, this, &TOptionsDlg::CharSetCombo2Change);
    connect(m_okBtn, &QPushButton::clicked, this, &TOptionsDlg::OKBtnClick);
    connect(m_keepTextForms, &QCheckBox::clicked, this, &TOptionsDlg::KeepTextFormsChanged);
    connect(m_editorCommand, &QLineEdit::editingFinished, this,
            [this] { emit EditorCommandChanged(m_editorCommand->text().trimmed()); });
}

bool TOptionsDlg::KeepTextForms() const {
    return m_keepTextForms->isChecked();
}

void TOptionsDlg::SetKeepTextForms(bool keep) {
    m_keepTextForms->setChecked(keep);
}

void TOptionsDlg::ShowNonModal() {
    if (!isVisible()) {
        if (const QScreen* screen = this->screen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
        show();
    }
    raise();
    activateWindow();
}

void TOptionsDlg::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TOptionsDlg::FormShow() {
    if (m_columns == nullptr) {
        return;
    }
    // A set outside the table leaves the list as it was.
    if (const int left = CharsetIndex(m_columns->ColumnCharset(0)); left >= 0) {
        m_charSetCombo1->setCurrentIndex(left);
    }
    if (const int right = CharsetIndex(m_columns->ColumnCharset(1)); right >= 0) {
        m_charSetCombo2->setCurrentIndex(right);
    }
}

void TOptionsDlg::CharSetCombo1Change(int index) {
    PickCharset(0, index);
}

void TOptionsDlg::CharSetCombo2Change(int index) {
    PickCharset(1, index);
}

void TOptionsDlg::PickCharset(int column, int index) {
    if (m_columns != nullptr && index >= 0 && index < static_cast<int>(CharsetTable.size())) {
        m_columns->SetColumnCharset(column, CharsetTable[static_cast<std::size_t>(index)].charset);
    }
}

void TOptionsDlg::OKBtnClick() {
    close();
}

} // namespace wordloom
