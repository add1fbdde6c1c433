#include "dialogs/export_dlg.h"
#include "base/file_io.h"
#include "dialogs/format_titles.h"
#include "dialogs/message_boxes.h"
#include "exchange/side_details.h"
#include "exchange/table_export.h"
#include "strings_db/strings_table.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <exception>

namespace wordloom {

namespace {

using exchange::Format;

using exchange::FormatInfo;

} // namespace

ExportDlg::ExportDlg(StringsTable& table, const QString& sourceLanguage, const QString& targetLanguage,
                     const QStringList& projects, const QString& project, QWidget* parent)
    : QDialog(parent), m_table(table), m_sourceLanguage(sourceLanguage) {
    setObjectName(QStringLiteral("ExportDlg"));
    setWindowTitle(tr("Export translations"));
    auto* form = new QFormLayout;
    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("ExportFormat"));
    for (const FormatInfo& info : exchange::Formats())
        if (info.written)
            m_format->addItem(FormatTitle(info), static_cast<int>(info.format));
    form->addRow(tr("&Format:"), m_format);

    m_language = new QComboBox(this);
    m_language->setObjectName(QStringLiteral("ExportLanguage"));
    for (const std::string& language : table.Languages()) {
        const QString name = QString::fromStdString(language);
        if (name != sourceLanguage)
            m_language->addItem(name, name);
    }
    m_language->setCurrentIndex(std::max(0, m_language->findData(targetLanguage)));
    form->addRow(tr("&Language:"), m_language);

    m_project = new QComboBox(this);
    m_project->setObjectName(QStringLiteral("ExportProject"));
    m_project->addItem(tr("All projects"), QString());
    for (const QString& name : projects)
        m_project->addItem(name, name);
    m_project->setCurrentIndex(std::max(0, m_project->findData(project)));
    form->addRow(tr("&Project:"), m_project);

    auto* scopeRow = new QVBoxLayout;
    m_scope = new QButtonGroup(this);
    const QString scopes[] = {tr("&All texts"), tr("Only &untranslated texts"),
                              tr("Only &suggested translations")};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(scopes[i], this);
        m_scope->addButton(button, i);
        scopeRow->addWidget(button);
    }
    m_scope->button(0)->setChecked(true);
    form->addRow(tr("Texts:"), scopeRow);

    m_mark = new QCheckBox(tr("Begin with a byte-order &mark (for spreadsheets)"), this);
    form->addRow(QString(), m_mark);

    auto* fileRow = new QHBoxLayout;
    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("ExportFile"));
    m_file->setMinimumWidth(320);
    auto* browse = new QPushButton(tr("&Browse..."), this);
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);
    auto* fileLabel = new QLabel(tr("&Output file:"), this);
    fileLabel->setBuddy(m_file);
    form->addRow(fileLabel, fileRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_export = buttons->addButton(tr("&Export"), QDialogButtonBox::AcceptRole);
    m_export->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(m_format, &QComboBox::currentIndexChanged, this, &ExportDlg::FormatChanged);
    connect(browse, &QPushButton::clicked, this, &ExportDlg::ChooseFile);
    connect(m_file, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_export->setEnabled(!text.trimmed().isEmpty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Export())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_export->setEnabled(false);
    FormatChanged();
}

void ExportDlg::FormatChanged() {
    const auto format = static_cast<Format>(m_format->currentData().toInt());
    m_mark->setEnabled(format == Format::Csv);
    // Only a translation memory can carry every language at once.
    const int all = m_language->findData(QString());
    if (format == Format::Tmx && all < 0) {
        m_language->addItem(tr("All languages"), QString());
    } else if (format != Format::Tmx && all >= 0) {
        m_language->removeItem(all);
    }
    // A file name typed already follows the format.
    const QString path = m_file->text().trimmed();
    const QString extension =
        FormatExtension(exchange::InfoOf(static_cast<Format>(m_format->currentData().toInt())));
    if (!path.isEmpty()) {
        const QFileInfo info(path);
        if (!info.suffix().isEmpty() && info.suffix() != extension)
            m_file->setText(path.left(path.size() - info.suffix().size()) + extension);
    }
}

void ExportDlg::ChooseFile() {
    const FormatInfo& choice = exchange::InfoOf(static_cast<Format>(m_format->currentData().toInt()));
    const QString filter = tr("%1 files (*.%2)").arg(FormatTitle(choice), FormatExtension(choice));
    QString start = m_file->text().trimmed();
    if (start.isEmpty() && m_language->currentIndex() >= 0)
        start = m_language->currentData().toString().toLower() + QLatin1Char('.') + FormatExtension(choice);
    const QString path = QFileDialog::getSaveFileName(this, tr("Export to"), start, filter);
    if (!path.isEmpty())
        m_file->setText(path);
}

bool ExportDlg::Export() {
    const QString path = m_file->text().trimmed();
    if (path.isEmpty()) {
        ShowErrorMessage(this, tr("Choose the file to write."));
        return false;
    }
    exchange::ExportOptions options;
    options.sourceLanguage = m_sourceLanguage.toStdString();
    options.targetLanguage = m_language->currentData().toString().toStdString();
    options.project = m_project->currentData().toString().toStdString();
    options.scope = static_cast<exchange::ExportScope>(std::max(0, m_scope->checkedId()));
    const auto format = static_cast<Format>(m_format->currentData().toInt());
    try {
        const exchange::SideDetails details(m_table, options.sourceLanguage);
        const exchange::ExportedFile file =
            ExportTable(m_table, format, options, details, m_mark->isEnabled() && m_mark->isChecked());
        WriteFileAtomically(path.toStdString(), file.data);
        m_written = file.count;
        return true;
    } catch (const std::exception& error) {
        ShowErrorMessage(this,
                         tr("%1 could not be written:\n%2").arg(path, QString::fromStdString(error.what())));
        return false;
    }
}

} // namespace wordloom
