// The shell list's rows for the views, and the order they are sorted in.
#include "shell/controls/shell_list.h"
#include "shell/core/natural_order.h"

#include "shell/controls/current_object.h"

#include <QFile>

#include <algorithm>
#include <string_view>

#include <sys/stat.h>

namespace wordloom::shell {

// ---------------------------------------------------------------------------------------------------
// The model

TVelShellListModel::TVelShellListModel(TVelShellList* list) : QAbstractTableModel(list), m_list(list) {}

int TVelShellListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TVelShellListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max<int>(1, int(m_captions.size()));
}

QVariant TVelShellListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || std::size_t(index.row()) >= m_rows.size())
        return QVariant();
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return m_list->ItemText(row, index.column());
    case Qt::EditRole:
        return m_rows[std::size_t(row)].caption;
    case Qt::DecorationRole:
        if (index.column() == 0)
            return m_list->ItemPixmap(row);
        return QVariant();
    case Qt::TextAlignmentRole:
        if (m_list->ViewStyle() != TVelShellList::TViewStyle::vsReport)
            return m_list->ViewStyle() == TVelShellList::TViewStyle::vsIcon
                       ? QVariant(int(Qt::AlignHCenter | Qt::AlignTop))
                       : QVariant();
        if (std::size_t(index.column()) < m_alignments.size())
            return int(m_alignments[std::size_t(index.column())]);
        return QVariant();
    case Qt::BackgroundRole:
        if (m_rows[std::size_t(row)].dropHighlighted)
            return m_list->palette().brush(QPalette::Highlight);
        return QVariant();
    case Qt::ForegroundRole:
        if (m_rows[std::size_t(row)].dropHighlighted)
            return m_list->palette().brush(QPalette::HighlightedText);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant TVelShellListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= int(m_captions.size()))
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_captions[section];
    if (role == Qt::TextAlignmentRole && std::size_t(section) < m_alignments.size())
        return int(m_alignments[std::size_t(section)]);
    return QVariant();
}

Qt::ItemFlags TVelShellListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && !m_list->ReadOnly())
        result |= Qt::ItemIsEditable;
    return result;
}

bool TVelShellListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() != 0)
        return false;
    return m_list->ItemEdited(index.row(), value.toString());
}

void TVelShellListModel::Reset(std::vector<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void TVelShellListModel::Append(Row row) {
    const int at = int(m_rows.size());
    beginInsertRows(QModelIndex(), at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void TVelShellListModel::RemoveRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // From the end, one run of neighbours at a time.
    while (!rows.empty()) {
        const int last = rows.back();
        int first = last;
        rows.pop_back();
        while (!rows.empty() && rows.back() == first - 1) {
            first = rows.back();
            rows.pop_back();
        }
        beginRemoveRows(QModelIndex(), first, last);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
        endRemoveRows();
    }
}

void TVelShellListModel::Reorder(const std::vector<int>& order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList persistent = persistentIndexList();
    std::vector<int> newRowOf(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        newRowOf[std::size_t(order[i])] = int(i);
    std::vector<Row> rows;
    rows.reserve(m_rows.size());
    for (int old : order)
        rows.push_back(std::move(m_rows[std::size_t(old)]));
    m_rows = std::move(rows);
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex& index : persistent)
        moved.append(this->index(newRowOf[std::size_t(index.row())], index.column()));
    changePersistentIndexList(persistent, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TVelShellListModel::SetColumns(const QStringList& captions,
                                    const std::vector<Qt::Alignment>& alignments) {
    beginResetModel();
    m_captions = captions;
    m_alignments = alignments;
    endResetModel();
}

void TVelShellListModel::RowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

// ---- sorting ----

namespace {

// What a row sorts by: folders first, then the column's value, then the name in the natural order,
// then its exact bytes. The name's collation key lives elsewhere, so that sorting moves small plain
// records and the keys (which cannot be moved cheaply) stay where they were made.
struct SortEntry {
    const QCollatorSortKey* name = nullptr; // none for a row without an object: such rows come first
    std::string_view bytes;                 // the object's name, in the row's own list
    qint64 number = 0;
    int rank = 0;
    int row = 0;
};

int CompareEntries(const SortEntry& a, const SortEntry& b, const QString* textA, const QString* textB) {
    if (a.rank != b.rank)
        return a.rank < b.rank ? -1 : 1;
    if (a.number != b.number)
        return a.number < b.number ? -1 : 1;
    if (textA && textB)
        if (int order = textA->compare(*textB, Qt::CaseInsensitive); order != 0)
            return order < 0 ? -1 : 1;
    if ((a.name != nullptr) != (b.name != nullptr))
        return a.name ? 1 : -1;
    if (a.name)
        if (int order = a.name->compare(*b.name); order != 0)
            return order < 0 ? -1 : 1;
    if (a.bytes != b.bytes)
        return a.bytes < b.bytes ? -1 : 1;
    return 0;
}

struct KeyMaker {
    TPathwright* browser;
    QByteArray folderPath; // with "/" at the end; empty for virtual folders
    int column;

    // Fills all of `entry` but its key and returns the name to collate; `text` gets the type column's
    // text when sorting by it.
    QString Fill(const IDList& id, SortEntry& entry, QString* text) const {
        if (id.IsDesktop())
            return QString();
        const ItemView last = id.LastItem();
        entry.rank = ItemKindRank(last.kind);
        entry.bytes = last.name;
        if (column != 0 && !folderPath.isEmpty() && IsFileSystemKind(last.kind)) {
            if (column == 2) {
                CurrentObject current(browser, id);
                if (text)
                    *text = browser->DetailText(2, false);
            } else {
                struct stat st;
                QByteArray path = folderPath;
                path.append(last.name.data(), qsizetype(last.name.size()));
                if (::stat(path.constData(), &st) == 0 || ::lstat(path.constData(), &st) == 0)
                    entry.number = column == 1 ? (S_ISDIR(st.st_mode) ? 0 : qint64(st.st_size))
                                               : qint64(st.st_mtim.tv_sec);
            }
        }
        // The root volume comes first among the volumes.
        if (last.kind == ItemKind::Volume && last.name == "/")
            return QString();
        return QFile::decodeName(QByteArray(last.name.data(), qsizetype(last.name.size())));
    }
};

} // namespace

int TVelShellList::CompareIDs(int column, const IDList& a, const IDList& b) {
    const KeyMaker maker{m_browser, QFile::encodeName(Path()), column};
    SortEntry entryA;
    SortEntry entryB;
    QString textA;
    QString textB;
    const QCollatorSortKey keyA = NaturalSortKey(maker.Fill(a, entryA, &textA));
    const QCollatorSortKey keyB = NaturalSortKey(maker.Fill(b, entryB, &textB));
    entryA.name = &keyA;
    entryB.name = &keyB;
    return CompareEntries(entryA, entryB, &textA, &textB);
}

std::vector<int> TVelShellList::SortOrder(const std::vector<TVelShellListModel::Row>& rows) {
    const KeyMaker maker{m_browser, QFile::encodeName(Path()), m_sortColumn};
    // Reserved up front: the entries point into it. Given back in the order made, which keeps the
    // freeing of many small blocks cheap.
    std::vector<QCollatorSortKey> names;
    names.reserve(rows.size());
    std::vector<QString> texts(m_sortColumn == 2 ? rows.size() : 0);
    std::vector<SortEntry> entries(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SortEntry& entry = entries[i];
        entry.row = int(i);
        if (const OptIDList& id = rows[i].record.id) {
            names.push_back(NaturalSortKey(maker.Fill(*id, entry, texts.empty() ? nullptr : &texts[i])));
            entry.name = &names.back();
        }
    }
    const bool descending = m_sortDescending;
    const QString* text = texts.empty() ? nullptr : texts.data();
    std::stable_sort(
        entries.begin(), entries.end(), [text, descending](const SortEntry& a, const SortEntry& b) {
            const int result =
                CompareEntries(a, b, text ? text + a.row : nullptr, text ? text + b.row : nullptr);
            return descending ? result > 0 : result < 0;
        });
    std::vector<int> order(rows.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        order[i] = entries[i].row;
    return order;
}

void TVelShellList::SortItems() {
    m_model->Reorder(SortOrder(m_model->Rows()));
    ApplyColumnWidths();
}

void TVelShellList::SortByColumn(int column) {
    m_sortDescending = column == m_sortColumn && !m_sortDescending;
    m_sortColumn = column;
    SortItems();
}

} // namespace wordloom::shell
