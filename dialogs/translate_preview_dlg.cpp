#include "dialogs/translate_preview_dlg.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace wordloom {

TranslatePreviewDlg::TranslatePreviewDlg(std::vector<PreviewFile> changed, const QStringList& unchanged,
                                         const QStringList& untranslated, QWidget* parent)
    : QDialog(parent), m_changed(std::move(changed)) {
    setObjectName(QStringLiteral("TranslatePreviewDlg"));
    setWindowTitle(tr("Translation preview"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("%1 files will change, %2 stay unchanged; %3 texts have no translation.")
                                     .arg(m_changed.size())
                                     .arg(unchanged.size())
                                     .arg(untranslated.size()),
                                 this));
    auto* tabs = new QTabWidget(this);
    auto* splitter = new QSplitter(Qt::Horizontal, tabs);
    m_files = new QListWidget(splitter);
    m_files->setObjectName(QStringLiteral("PreviewFiles"));
    for (const PreviewFile& file : m_changed)
        m_files->addItem(tr("%1 (%2 texts)").arg(file.name).arg(file.textsReplaced));
    for (const QString& name : unchanged) {
        auto* item = new QListWidgetItem(tr("%1 (unchanged)").arg(name), m_files);
        item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    }
    m_diff = new QPlainTextEdit(splitter);
    m_diff->setObjectName(QStringLiteral("PreviewDiff"));
    m_diff->setReadOnly(true);
    m_diff->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_diff->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    splitter->setStretchFactor(1, 3);
    tabs->addTab(splitter, tr("Changes"));
    m_untranslated = new QListWidget(tabs);
    m_untranslated->setObjectName(QStringLiteral("PreviewUntranslated"));
    m_untranslated->addItems(untranslated);
    tabs->addTab(m_untranslated, tr("Without translation"));
    layout->addWidget(tabs, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_continue = buttons->addButton(tr("&Translate..."), QDialogButtonBox::AcceptRole);
    // Nothing to write: the run would only ask its question for nothing.
    m_continue->setEnabled(!m_changed.empty());
    m_continue->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_files, &QListWidget::currentRowChanged, this, &TranslatePreviewDlg::ShowFile);
    if (!m_changed.empty())
        m_files->setCurrentRow(0);
    resize(860, 560);
}

void TranslatePreviewDlg::ShowFile(int row) {
    const bool changed = row >= 0 && row < static_cast<int>(m_changed.size());
    m_diff->setPlainText(changed ? m_changed[static_cast<std::size_t>(row)].diff : tr("No change."));
}

} // namespace wordloom
