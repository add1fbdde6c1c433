#include "dialogs/import_dlg.h"
#include "base/file_io.h"
#include "dialogs/format_titles.h"
#include "dialogs/message_boxes.h"
#include "exchange/exchange_file.h"
#include "exchange/side_details.h"
#include "strings_db/strings_table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>

namespace wordloom {

namespace {

using exchange::Format;
using exchange::ImportItem;
using exchange::ImportKind;

constexpr int kAutomatic = -1;
constexpr int kTheirsColumn = 3;

// The kinds the list shows, in the order of the kind filter after "all".
constexpr ImportKind kListedKinds[] = {ImportKind::New, ImportKind::Changed, ImportKind::Conflict,
                                       ImportKind::Unknown};

// A text on one line of the list; the whole text is in the tool tip.
QString OneLine(const std::string& text) {
    QString line = QString::fromStdString(text);
    line.replace(QLatin1String("\r\n"), QStringLiteral(" \u21B5 "));
    line.replace(QLatin1Char('\n'), QStringLiteral(" \u21B5 "));
    line.replace(QLatin1Char('\r'), QStringLiteral(" \u21B5 "));
    return line;
}

} // namespace

ImportDlg::ImportDlg(StringsTable& table, const QString& sourceLanguage, const QString& targetLanguage,
                     const QString& project, QWidget* parent)
    : QDialog(parent), m_table(table), m_fallbackLanguage(targetLanguage.toStdString()) {
    setObjectName(QStringLiteral("ImportDlg"));
    setWindowTitle(tr("Import translations"));
    m_options.sourceLanguage = sourceLanguage.toStdString();
    m_options.project = project.toStdString();

    auto* form = new QFormLayout;
    auto* fileRow = new QHBoxLayout;
    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("ImportFile"));
    auto* browse = new QPushButton(tr("&Browse..."), this);
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);
    auto* fileLabel = new QLabel(tr("&File:"), this);
    fileLabel->setBuddy(m_file);
    form->addRow(fileLabel, fileRow);

    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("ImportFormat"));
    m_format->addItem(tr("Automatic (from the file)"), kAutomatic);
    for (const exchange::FormatInfo& info : exchange::Formats())
        m_format->addItem(FormatTitle(info), static_cast<int>(info.format));
    form->addRow(tr("F&ormat:"), m_format);

    m_language = new QComboBox(this);
    m_language->setObjectName(QStringLiteral("ImportLanguage"));
    // A file that names its language wins; the window's choice serves the others.
    m_language->addItem(targetLanguage.isEmpty() ? tr("As the file says")
                                                 : tr("As the file says, else %1").arg(targetLanguage),
                        QString());
    for (const std::string& language : table.Languages()) {
        const QString name = QString::fromStdString(language);
        if (name != sourceLanguage)
            m_language->addItem(name, name);
    }
    m_language->setToolTip(tr("The language of the file's translations, where the file does not name it "
                              "(CSV, a Paradox table)"));
    form->addRow(tr("&Language:"), m_language);

    m_addUnknown = new QCheckBox(tr("Add &unknown texts to the strings table"), this);
    m_addUnknown->setObjectName(QStringLiteral("ImportAddUnknown"));
    form->addRow(QString(), m_addUnknown);

    m_preview = new QPushButton(tr("&Preview"), this);
    m_preview->setObjectName(QStringLiteral("ImportPreview"));
    auto* previewRow = new QHBoxLayout;
    m_counts = new QLabel(tr("Nothing read yet."), this);
    m_counts->setObjectName(QStringLiteral("ImportCounts"));
    m_counts->setWordWrap(true);
    m_kindFilter = new QComboBox(this);
    m_kindFilter->setObjectName(QStringLiteral("ImportKindFilter"));
    m_kindFilter->addItems({tr("All kinds"), tr("New"), tr("Changed"), tr("Conflicts"), tr("Unknown")});
    previewRow->addWidget(m_preview);
    previewRow->addWidget(m_counts, 1);
    previewRow->addWidget(new QLabel(tr("&Show:"), this));
    previewRow->addWidget(m_kindFilter);
    static_cast<QLabel*>(previewRow->itemAt(2)->widget())->setBuddy(m_kindFilter);

    m_items = new QTreeWidget(this);
    m_items->setObjectName(QStringLiteral("ImportItems"));
    m_items->setRootIsDecorated(false);
    m_items->setUniformRowHeights(true);
    m_items->setHeaderLabels({tr("Kind"), tr("Text"), tr("Ours"), tr("Theirs")});
    m_items->headerItem()->setToolTip(kTheirsColumn, tr("Checked: the file's translation replaces ours"));
    m_items->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_items->setColumnWidth(0, 110);
    m_items->setColumnWidth(1, 240);
    m_items->setColumnWidth(2, 200);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_import = buttons->addButton(tr("&Import"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("ImportButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(previewRow);
    layout->addWidget(m_items, 1);
    layout->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, &ImportDlg::ChooseFile);
    connect(m_preview, &QPushButton::clicked, this, &ImportDlg::Preview);
    connect(m_file, &QLineEdit::textChanged, this, &ImportDlg::ClearPreview);
    connect(m_format, &QComboBox::currentIndexChanged, this, &ImportDlg::ClearPreview);
    connect(m_language, &QComboBox::currentIndexChanged, this, &ImportDlg::ClearPreview);
    connect(m_kindFilter, &QComboBox::currentIndexChanged, this, &ImportDlg::ShowKinds);
    connect(m_addUnknown, &QCheckBox::toggled, this, [this](bool add) {
        m_options.addUnknown = add;
        for (ImportItem& item : m_plan.items)
            if (item.kind == ImportKind::Unknown)
                item.take = add;
    });
    connect(m_items, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* row, int column) {
        const int at = row->data(0, Qt::UserRole).toInt();
        if (column == kTheirsColumn && at >= 0 && at < static_cast<int>(m_plan.items.size()) &&
            m_plan.items[static_cast<std::size_t>(at)].kind == ImportKind::Conflict)
            m_plan.items[static_cast<std::size_t>(at)].take = row->checkState(kTheirsColumn) == Qt::Checked;
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Import())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ClearPreview();
    resize(900, 560);
}

ImportDlg::~ImportDlg() = default;

void ImportDlg::ChooseFile() {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Import from"), m_file->text(),
        tr("Translation files (*.po *.xlf *.xliff *.csv *.tmx *.db);;All files (*)"));
    if (!path.isEmpty()) {
        m_file->setText(path);
        Preview();
    }
}

void ImportDlg::ClearPreview() {
    m_planned = false;
    m_plan = {};
    m_details.reset();
    m_items->clear();
    m_counts->setText(tr("Nothing read yet."));
    m_import->setEnabled(false);
    m_preview->setDefault(true);
}

bool ImportDlg::Preview() {
    ClearPreview();
    const QString path = m_file->text().trimmed();
    if (path.isEmpty()) {
        ShowErrorMessage(this, tr("Choose the file to import."));
        return false;
    }
    try {
        const std::string bytes = ReadFileBytes(path.toStdString());
        std::optional<Format> format;
        if (const int chosen = m_format->currentData().toInt(); chosen != kAutomatic)
            format = static_cast<Format>(chosen);
        else
            format = exchange::DetectFormat(path.toStdString(), bytes);
        if (!format) {
            ShowErrorMessage(this, tr("The format of %1 cannot be told from the file; choose it.").arg(path));
            return false;
        }
        std::string target = m_language->currentData().toString().toStdString();
        if (target.empty() && *format == Format::Paradox)
            target = m_fallbackLanguage; // a Paradox table holds every language
        exchange::Catalog catalog;
        try {
            catalog =
                exchange::ReadCatalog(*format, bytes, m_table.Languages(), m_options.sourceLanguage, target);
        } catch (const exchange::ExchangeError& error) {
            ShowErrorMessage(this,
                             tr("%1 cannot be read: %2").arg(path, QString::fromStdString(error.what())));
            return false;
        }
        m_options.targetLanguage = !target.empty()                   ? target
                                   : !catalog.targetLanguage.empty() ? catalog.targetLanguage
                                                                     : m_fallbackLanguage;
        if (m_options.targetLanguage.empty()) {
            ShowErrorMessage(this,
                             tr("%1 does not name the language of its translations; choose it.").arg(path));
            return false;
        }
        m_options.addUnknown = m_addUnknown->isChecked();
        m_details = std::make_unique<exchange::SideDetails>(m_table, m_options.sourceLanguage);
        m_plan = exchange::PlanImport(m_table, catalog, m_options, *m_details);
    } catch (const std::exception& error) {
        ClearPreview();
        ShowErrorMessage(this,
                         tr("%1 cannot be imported: %2").arg(path, QString::fromStdString(error.what())));
        return false;
    }
    m_planned = true;
    m_counts->setText(tr("Into %1: %2 new, %3 changed, %4 conflicts, %5 unknown, %6 unchanged.")
                          .arg(QString::fromStdString(m_plan.targetLanguage))
                          .arg(m_plan.Count(ImportKind::New))
                          .arg(m_plan.Count(ImportKind::Changed))
                          .arg(m_plan.Count(ImportKind::Conflict))
                          .arg(m_plan.Count(ImportKind::Unknown))
                          .arg(m_plan.Count(ImportKind::Unchanged)));
    FillItems();
    m_import->setEnabled(true);
    m_import->setDefault(true);
    return true;
}

void ImportDlg::FillItems() {
    const QString kindNames[] = {tr("New"), tr("Changed"), tr("Conflict"), tr("Unknown")};
    const QSignalBlocker quiet(m_items);
    m_items->clear();
    QList<QTreeWidgetItem*> rows;
    for (std::size_t i = 0; i < m_plan.items.size(); ++i) {
        const ImportItem& item = m_plan.items[i];
        const auto listed = std::find(std::begin(kListedKinds), std::end(kListedKinds), item.kind);
        if (listed == std::end(kListedKinds))
            continue;
        auto* row = new QTreeWidgetItem;
        row->setData(0, Qt::UserRole, static_cast<int>(i));
        row->setText(0, kindNames[listed - std::begin(kListedKinds)]);
        const std::string* texts[] = {&item.source, &item.ours, &item.theirs};
        for (int column = 1; column <= 3; ++column) {
            row->setText(column, OneLine(*texts[column - 1]));
            row->setToolTip(column, QString::fromStdString(*texts[column - 1]));
        }
        if (item.kind == ImportKind::Conflict) {
            row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
            row->setCheckState(kTheirsColumn, item.take ? Qt::Checked : Qt::Unchecked);
        } else if (item.kind == ImportKind::Changed) {
            // The texts are the same: what changes is the translation's state.
            row->setText(kTheirsColumn, tr("%1 (%2)").arg(row->text(kTheirsColumn), StateTitle(item.state)));
        } else if (item.kind == ImportKind::Unknown) {
            row->setText(2, tr("(not in the table)"));
        }
        rows.append(row);
    }
    m_items->addTopLevelItems(rows);
    ShowKinds();
}

QString ImportDlg::StateTitle(exchange::UnitState state) {
    switch (state) {
    case exchange::UnitState::New:
        return tr("new");
    case exchange::UnitState::Suggested:
        return tr("suggested");
    case exchange::UnitState::Translated:
        return tr("translated");
    case exchange::UnitState::Reviewed:
        return tr("reviewed");
    case exchange::UnitState::DontTranslate:
        return tr("don't translate");
    }
    return QString();
}

void ImportDlg::ShowKinds() {
    const int filter = m_kindFilter->currentIndex();
    for (int r = 0; r < m_items->topLevelItemCount(); ++r) {
        QTreeWidgetItem* row = m_items->topLevelItem(r);
        const ImportKind kind =
            m_plan.items[static_cast<std::size_t>(row->data(0, Qt::UserRole).toInt())].kind;
        row->setHidden(filter > 0 && kListedKinds[filter - 1] != kind);
    }
}

bool ImportDlg::Import() {
    if (!m_planned && !Preview())
        return false;
    try {
        m_result = exchange::ApplyImport(m_table, m_plan, m_options, *m_details);
    } catch (const std::exception& error) {
        ShowErrorMessage(this, tr("Nothing was imported:\n%1").arg(QString::fromStdString(error.what())));
        return false;
    }
    return true;
}

} // namespace wordloom
