// The shell list itself: its settings, filling and re-reading the folder, the link, the selection.
#include "shell/controls/shell_list.h"

#include "shell/controls/shell_combo.h"
#include "shell/controls/shell_tree.h"
#include "shell/core/busy_cursor.h"
#include "shell/core/core_components.h"
#include "shell/core/shell_link.h"
#include "shell/core/system_image_list.h"
#include "shell/forms/form_reader.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QFile>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <mutex>

namespace wordloom::shell {

// Linking this control in makes the controls known to form files (see RegisterShellControls).
[[maybe_unused]] static const bool kControlsRegistered = (RegisterShellControls(), true);

namespace {

Qt::Alignment AlignmentOf(TColumnAlignment alignment) {
    switch (alignment) {
    case TColumnAlignment::taRightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TColumnAlignment::taCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case TColumnAlignment::taLeftJustify:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// A column width that shows the text whole in the view's cells, with a little room to spare.
int ColumnWidthFor(const QString& text, const QWidget* view) {
    const int textMargin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return QFontMetrics(view->font()).horizontalAdvance(text) + 4 * textMargin;
}

} // namespace

void RegisterShellControls() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterShellCoreComponents();
        qRegisterMetaType<TVelShellOperations>();
        TComponentRegistry::Register<TVelShellList>();
        TComponentRegistry::Register<TVelShellTree>();
        TComponentRegistry::Register<TVelShellCombo>();
    });
}

TVelShellList::TVelShellList(QWidget* owner) : QWidget(owner), TVelShellControl(this) {
    // Handlers bound by name receive the operation set as a typed argument.
    qRegisterMetaType<TVelShellOperations>();
    m_browser = new TPathwright(this);
    m_smallImages = new TVelSystemImageList(this);
    m_largeImages = new TVelSystemImageList(this);
    m_largeImages->SetSize(TVelSystemImageList::TVelImageListSize::si_large);
    m_model = new TVelShellListModel(this);

    CreateViews();

    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setInterval(500);
    connect(m_refreshTimer, &QTimer::timeout, this, [this] {
        m_refreshTimer->stop();
        Resync();
    });

    SetMultiSelect(true);
    ApplyViewStyle();
    SetOleDragDrop(false);
    m_browser->SetFileSystemOnly(false);
    m_browser->SetOnFileChange([this](QObject*) { ScheduleResync(); });
}

TVelShellList::~TVelShellList() {
    m_refreshTimer->stop();
    m_browser->SetOnFileChange(nullptr);
    // The views go first: closing the window still asks them to lay out, and that reads the items.
    delete m_reportView;
    delete m_iconView;
}

// ---- published ----

void TVelShellList::SetDetails(bool value) {
    if (value == m_details)
        return;
    m_details = value;
    Populate();
}

void TVelShellList::SetShowHidden(bool value) {
    m_showHidden = value;
    Populate();
}

bool TVelShellList::FileSystemOnly() const {
    return m_browser->FileSystemOnly();
}

void TVelShellList::SetFileSystemOnly(bool value) {
    m_browser->SetFileSystemOnly(value);
    Populate();
}

QString TVelShellList::Filter() const {
    return m_browser->GetFilter();
}

void TVelShellList::SetFilter(const QString& value) {
    m_browser->SetFilter(value);
    Populate();
}

QString TVelShellList::Path() const {
    return m_browser->Folder();
}

void TVelShellList::SetPath(const QString& text) {
    if (IsLoading()) {
        try {
            m_browser->SetFolder(text);
        } catch (const EPathwrightError&) {
            m_hooks.ErrorMessage(this,
                                 QCoreApplication::translate("Pathwright", "Cannot find path: %1").arg(text));
        }
    } else {
        m_browser->SetFolder(text);
    }
    SendFolderChanged();
    Populate();
}

TVelShellFolder TVelShellList::SpecialFolder() const {
    const TVelShellFolder kind = m_browser->FolderSpecialIndex();
    if (kind == SF_DRIVES && !Path().isEmpty())
        return SF_FILESYSTEMFOLDER;
    return kind;
}

void TVelShellList::SetSpecialFolder(TVelShellFolder kind) {
    if (kind != SF_FILESYSTEMFOLDER)
        m_browser->SetSpecialFolder(kind);
    Populate();
    SendFolderChanged();
}

void TVelShellList::SetShellLink(TVelShellLink* link) {
    TVelShellControl::SetShellLink(link);
}

// ---- filling ----

void TVelShellList::ClearItems() {
    m_hoveredItem = -1;
    m_model->Reset({});
}

void TVelShellList::WalkFolder(std::vector<TVelShellListModel::Row>& into,
                               const std::function<bool(const IDList&)>& listed) {
    // A fresh walk: the folder is bound again, so a folder gone meanwhile lists nothing.
    try {
        m_browser->SetFolderIDList(m_browser->GetFolderIDList());
    } catch (const EPathwrightError&) {
        return;
    }
    const QScopedValueRollback<std::vector<TVelShellListModel::Row>*> pending(m_pending, &into);
    while (m_browser->NextObject()) {
        if (const OptIDList id = m_browser->GetObjectIDList(); !id || !listed(*id))
            AddObjectItem(m_details);
    }
}

bool TVelShellList::Populate() {
    if (IsLoading() || !isEnabled())
        return false;
    BusyCursor busy;
    ClearItems();
    BuildColumns();
    OnCreateColumns(this);
    std::vector<TVelShellListModel::Row> rows;
    rows.reserve(256);
    WalkFolder(rows, [](const IDList&) { return false; });
    std::vector<int> order = SortOrder(rows);
    std::vector<TVelShellListModel::Row> sorted;
    sorted.reserve(rows.size());
    for (int index : order)
        sorted.push_back(std::move(rows[std::size_t(index)]));
    m_model->Reset(std::move(sorted));
    ApplyColumnWidths();
    UpdateItemLayout();
    OnPopulated(this);
    return true;
}

void TVelShellList::BuildColumns() {
    if (m_widthsValid) {
        for (int i = 0; i < m_columnCount && i < int(m_savedWidths.size()); ++i)
            m_savedWidths[std::size_t(i)] = ColumnWidth(i);
    }
    m_widthsValid = !Path().isEmpty();
    // A virtual folder uses the shell's widths, and so does the next file-system folder after it.
    if (!m_widthsValid)
        m_savedWidths.fill(0);
    m_columnCount = 0;
    QStringList captions;
    std::vector<Qt::Alignment> alignments;
    m_columnWidths.clear();
    QString header = m_browser->DetailText(0, true);
    while (!header.isEmpty()) {
        int width = 0;
        const TColumnAlignment alignment = m_browser->ColumnInfo(m_columnCount, width);
        // Wide enough for the column's usual values in the font the report is drawn in.
        if (const QString sample = m_browser->ColumnSampleText(m_columnCount); !sample.isEmpty())
            width = std::max(width, ColumnWidthFor(sample, m_reportView));
        if (m_widthsValid && m_columnCount < int(m_savedWidths.size()) &&
            m_savedWidths[std::size_t(m_columnCount)] >= 1)
            width = m_savedWidths[std::size_t(m_columnCount)];
        captions.append(header);
        alignments.push_back(AlignmentOf(alignment));
        m_columnWidths.push_back(width);
        ++m_columnCount;
        if (!m_details)
            break;
        header = m_browser->DetailText(m_columnCount, true);
    }
    m_model->SetColumns(captions, alignments);
    ApplyColumnWidths();
}

void TVelShellList::AddObjectItem(bool withDetails) {
    if (!m_showHidden && m_browser->IsHidden())
        return;
    TVelShellListModel::Row row;
    row.caption = m_browser->DisplayName();
    if (OnAddItem) {
        TVelListItem item;
        item.Index = int(m_pending ? m_pending->size() : m_model->Rows().size());
        item.Caption = row.caption;
        if (withDetails && m_columnCount >= 2) {
            row.texts.resize(m_columnCount);
            for (int i = 1; i < m_columnCount; ++i) {
                row.texts[i] = m_browser->DetailText(i, false);
                row.textsKnown |= 1u << i;
                item.SubItems.append(row.texts[i]);
            }
        }
        bool canAdd = true;
        OnAddItem(item, canAdd);
        if (!canAdd)
            return;
        row.caption = item.Caption;
    }
    row.record.id = m_browser->GetObjectIDList();
    row.record.present = true;
    if (m_pending)
        m_pending->push_back(std::move(row));
    else
        m_model->Append(std::move(row));
}

// ---- re-reading ----

int TVelShellList::IndexOfIDList(OptIDList idList) {
    int result = -1;
    if (idList) {
        const std::vector<TVelShellListModel::Row>& rows = m_model->Rows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].record.id && shell::CompareIDs(*idList, *rows[i].record.id) == 0) {
                result = int(i);
                break;
            }
        }
    }
    FreeIDList(idList);
    return result;
}

void TVelShellList::Resync() {
    if (IsLoading() || !isEnabled())
        return;
    OptFileList files = QStringList();
    std::vector<TVelShellListModel::Row>& rows = m_model->Rows();
    // One look-up table instead of a scan per object: a folder of many files stays fast.
    QHash<QByteArray, int> rowOf;
    rowOf.reserve(qsizetype(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].record.present = false;
        if (rows[i].record.id)
            rowOf.insert(rows[i].record.id->Bytes(), int(i));
    }
    std::vector<TVelShellListModel::Row> added;
    WalkFolder(added, [&rows, &rowOf](const IDList& id) {
        const auto found = rowOf.constFind(id.Bytes());
        if (found == rowOf.cend())
            return false;
        rows[std::size_t(*found)].record.present = true;
        return true;
    });
    std::vector<int> gone;
    const QString folder = Path();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].record.present)
            continue;
        gone.push_back(int(i));
        if (rows[i].cut)
            files->append(folder + rows[i].caption);
    }
    if (!gone.empty()) {
        SetDropHighlight(m_hoveredItem, false);
        m_hoveredItem = -1; // rows have moved up
        m_itemDropTarget.reset();
        m_model->RemoveRows(std::move(gone));
        if (m_selectedNames)
            m_selectedNames->clear();
    }
    if (!added.empty()) {
        for (TVelShellListModel::Row& row : added)
            m_model->Append(std::move(row));
        // New objects take their sorted places; the rows there already are in order.
        SetDropHighlight(m_hoveredItem, false);
        m_hoveredItem = -1;
        m_itemDropTarget.reset();
        m_model->Reorder(SortOrder(m_model->Rows()));
    }
    if (!gone.empty() || !added.empty())
        UpdateItemLayout();
    ReportOperation(TVelShellOperations(TVelShellOperation::opCutDone | TVelShellOperation::opRemoved),
                    std::move(files), QString());
}

void TVelShellList::ScheduleResync() {
    m_refreshTimer->stop();
    m_refreshTimer->start();
}

void TVelShellList::ReportOperation(TVelShellOperations operation, OptFileList files,
                                    const QString& destination) {
    if (operation & TVelShellOperation::opDelete) {
        m_model->RemoveRows(SelectedItems());
        m_hoveredItem = -1;
    }
    if (OnOperation && files && !files->isEmpty())
        OnOperation(this, operation, *files, destination);
    files.reset();
    constexpr TVelShellOperations changing = TVelShellOperation::opMove | TVelShellOperation::opDelete |
                                             TVelShellOperation::opRemoved | TVelShellOperation::opRename;
    // A list answering another control's notice does not pass it on again.
    if ((operation & changing) && m_shellLink && !m_answeringLink)
        m_shellLink->ContentsChanged(this);
}

void TVelShellList::SendFolderChanged() {
    if (!m_shellLink)
        return;
    const OptIDList folder = CopyIDList(m_browser->GetFolderIDList());
    if (folder)
        m_shellLink->FolderChanged(this, *folder);
}

// ---- link notices and window life ----

void TVelShellList::FolderChangedNotice(const IDList& folder) {
    try {
        m_browser->SetFolderIDList(folder);
        Populate();
    } catch (const EPathwrightError&) {
        ClearItems();
    }
}

bool TVelShellList::event(QEvent* event) {
    const TShellLinkEvent* notice = TShellLinkEvent::From(event);
    if (!notice)
        return QWidget::event(event);
    switch (notice->Message()) {
    case TShellLinkMessage::SLM_FOLDERCHANGED:
        if (notice->Folder())
            FolderChangedNotice(*notice->Folder());
        break;
    case TShellLinkMessage::SLM_SELECTALL:
        SelectAll();
        break;
    case TShellLinkMessage::SLM_REFRESH:
        Populate();
        break;
    case TShellLinkMessage::SLM_CONTENTSCHANGED: {
        const QScopedValueRollback<bool> answering(m_answeringLink, true);
        Resync();
        break;
    }
    }
    return true;
}

void TVelShellList::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!FirstWindowSetup())
        return;
    m_browser->Loaded();
    if (Path().isEmpty() && ItemCount() == 0) {
        SendFolderChanged();
        Populate();
    }
}

void TVelShellList::Loaded() {
    TVelShellControl::Loaded();
    if (!(m_shellLink && ItemCount() > 0))
        Populate();
}

// ---- items ----

bool TVelShellList::IsSelected(int item) const {
    return m_selection->isRowSelected(item, QModelIndex());
}

void TVelShellList::SetSelected(int item, bool selected) {
    m_selection->select(m_model->index(item, 0),
                        (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                            QItemSelectionModel::Rows);
}

std::vector<int> TVelShellList::SelectedItems() const {
    std::vector<int> items;
    for (const QModelIndex& index : m_selection->selectedRows())
        items.push_back(index.row());
    std::sort(items.begin(), items.end());
    return items;
}

QString TVelShellList::ColumnCaption(int column) const {
    return m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

int TVelShellList::FocusedSelectedItem() const {
    const QModelIndex current = m_selection->currentIndex();
    if (current.isValid() && IsSelected(current.row()))
        return current.row();
    const std::vector<int> selected = SelectedItems();
    return selected.empty() ? -1 : selected.front();
}

QStringList TVelShellList::SelectedPaths() {
    QStringList paths;
    const QString folder = Path();
    for (const QString& name : SelectedNames())
        paths.append(folder + name);
    return paths;
}

void TVelShellList::MarkSelectedAsCut() {
    for (int item : SelectedItems()) {
        m_model->Rows()[std::size_t(item)].cut = true;
        m_model->RowChanged(item);
    }
}

} // namespace wordloom::shell
