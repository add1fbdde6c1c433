#include "app/strings_grid_model.h"

#include "app/grid_filter.h"
#include "app/record_warnings.h"
#include "app/review_marks.h"
#include "dialogs/charset_table.h"
#include "strings_db/strings_table.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>
#include <utility>

namespace wordloom {

namespace {

/// Marks the time between a begin and an end of a change of rows.
class Reshaping {
public:
    explicit Reshaping(bool& flag) : m_flag(flag), m_was(flag) { m_flag = true; }
    ~Reshaping() { m_flag = m_was; }
    Reshaping(const Reshaping&) = delete;
    Reshaping& operator=(const Reshaping&) = delete;

private:
    bool& m_flag;
    bool m_was;
};

bool IsIntegerField(const StringsTable& table, const std::string& field) {
    for (const FieldDef& def : table.Fields()) {
        if (def.name == field) {
            return def.kind == FieldKind::Integer;
        }
    }
    return false;
}

} // namespace

StringsGridModel::StringsGridModel(QObject* parent)
    : QAbstractTableModel(parent), m_fields{"English", "German"}, m_charsets(2, DefaultCharset),
      m_fonts(2, QApplication::font()) {}

void StringsGridModel::SetTable(StringsTable* table) {
    Reshaping reshaping(m_reshaping);
    beginResetModel();
    m_table = table;
    m_insertRow = -1;
    SyncFilterSource();
    Narrow();
    m_rowCount = VisibleRows();
    endResetModel();
    CursorMoved();
}

void StringsGridModel::SetFilter(GridFilter* filter) {
    m_filter = filter;
    SyncFilterSource();
    Refilter();
}

void StringsGridModel::SyncFilterSource() {
    if (m_filter != nullptr) {
        m_filter->SetSource(m_table, m_fields.at(0), m_fields.at(1));
    }
}

void StringsGridModel::Refilter() {
    PostPending();
    if (!m_narrowed && (m_filter == nullptr || !m_filter->Narrows())) {
        return; // every record was shown and still is
    }
    {
        Reshaping reshaping(m_reshaping);
        beginResetModel();
        Narrow();
        m_rowCount = VisibleRows();
        endResetModel();
    }
    CursorMoved();
}

void StringsGridModel::Narrow() {
    m_narrowed = m_filter != nullptr && m_table != nullptr && m_attached && m_filter->Narrows();
    if (!m_narrowed) {
        m_narrow.clear();
        return;
    }
    m_narrow = m_filter->Passing();
    // The table's current record must be one the grid shows: the next one shown takes its place.
    if (m_narrow.empty() || m_table->State() != TableState::Browse || m_table->RecordCount() == 0) {
        return;
    }
    const int current = m_table->RecNo();
    const auto next = std::lower_bound(m_narrow.begin(), m_narrow.end(), current);
    if (next == m_narrow.end()) {
        m_table->SetRecNo(m_narrow.back());
    } else if (*next != current) {
        m_table->SetRecNo(*next);
    }
}

int StringsGridModel::Records() const {
    if (m_table == nullptr || !m_attached) {
        return 0;
    }
    return m_narrowed ? static_cast<int>(m_narrow.size()) : m_table->RecordCount();
}

int StringsGridModel::RowOfRecord(int recNo) const {
    if (!m_narrowed) {
        return recNo;
    }
    const auto at = std::lower_bound(m_narrow.begin(), m_narrow.end(), recNo);
    return at != m_narrow.end() && *at == recNo ? static_cast<int>(at - m_narrow.begin()) : -1;
}

void StringsGridModel::SetColumnField(int column, const std::string& field) {
    m_fields.at(static_cast<std::size_t>(column)) = field;
    if (column < 2 && m_filter != nullptr) {
        SyncFilterSource();
        if (m_narrowed || m_filter->Narrows()) {
            Reload(); // the rows follow the language the filter now looks at
            return;
        }
    }
    emit headerDataChanged(Qt::Horizontal, column, column);
    if (m_rowCount > 0) {
        emit dataChanged(index(0, column), index(m_rowCount - 1, column));
    }
}

void StringsGridModel::AppendColumns(const std::vector<std::string>& fields) {
    if (fields.empty()) {
        return;
    }
    const int first = columnCount();
    beginInsertColumns(QModelIndex(), first, first + static_cast<int>(fields.size()) - 1);
    for (const std::string& field : fields) {
        m_fields.push_back(field);
        m_charsets.push_back(DefaultCharset);
        m_fonts.push_back(QApplication::font());
    }
    endInsertColumns();
}

const std::string& StringsGridModel::ColumnField(int column) const {
    return m_fields.at(static_cast<std::size_t>(column));
}

int StringsGridModel::OrderedColumn() const {
    if (m_table == nullptr || m_table->IndexField().empty()) {
        return -1;
    }
    const QString ordered = QString::fromStdString(m_table->IndexField());
    for (int column = 0; column < columnCount(); ++column) {
        if (QString::fromStdString(ColumnField(column)).compare(ordered, Qt::CaseInsensitive) == 0) {
            return column;
        }
    }
    return -1;
}

int StringsGridModel::ColumnCharset(int column) const {
    return m_charsets.at(static_cast<std::size_t>(column));
}

void StringsGridModel::SetColumnCharset(int column, int charset) {
    const auto at = static_cast<std::size_t>(column);
    m_charsets.at(at) = charset;
    m_fonts.at(at) = FontForCharset(QApplication::font(), charset);
    if (m_rowCount > 0) {
        emit dataChanged(index(0, column), index(m_rowCount - 1, column), {Qt::FontRole});
    }
}

void StringsGridModel::SetAttached(bool attached) {
    if (attached == m_attached) {
        return;
    }
    Reshaping reshaping(m_reshaping);
    beginResetModel();
    m_attached = attached;
    m_insertRow = -1;
    if (m_filter != nullptr) {
        m_filter->Invalidate(); // a detached grid lets commands rewrite the table
    }
    Narrow();
    m_rowCount = VisibleRows();
    endResetModel();
    CursorMoved();
}

void StringsGridModel::Reload() {
    if (!m_attached) {
        return;
    }
    {
        Reshaping reshaping(m_reshaping);
        beginResetModel();
        if (m_filter != nullptr) {
            m_filter->Invalidate();
        }
        Narrow();
        m_rowCount = VisibleRows();
        endResetModel();
    }
    CursorMoved();
}

void StringsGridModel::RecordsChanged() {
    if (!m_attached) {
        return;
    }
    Narrow();
    SetRowCount(VisibleRows());
    if (m_rowCount > 0) {
        emit dataChanged(index(0, 0), index(m_rowCount - 1, columnCount() - 1));
    }
    CursorMoved();
}

void StringsGridModel::SetRowCount(int rows) {
    Reshaping reshaping(m_reshaping);
    if (rows > m_rowCount) {
        beginInsertRows(QModelIndex(), m_rowCount, rows - 1);
        m_rowCount = rows;
        endInsertRows();
    } else if (rows < m_rowCount) {
        beginRemoveRows(QModelIndex(), rows, m_rowCount - 1);
        m_rowCount = rows;
        endRemoveRows();
    }
}

int StringsGridModel::VisibleRows() const {
    if (m_table == nullptr || !m_attached) {
        return 0;
    }
    return Records() + (Inserting() ? 1 : 0);
}

int StringsGridModel::RecordOfRow(int row) const {
    if (Inserting() && row == m_insertRow) {
        return -1;
    }
    const int shown = Inserting() && row > m_insertRow ? row - 1 : row;
    if (!m_narrowed) {
        return shown;
    }
    // While the rows change, the view may ask for a row the narrowing no longer has.
    return shown >= 0 && shown < static_cast<int>(m_narrow.size()) ? m_narrow[static_cast<std::size_t>(shown)]
                                                                   : -1;
}

int StringsGridModel::CurrentRow() const {
    if (m_table == nullptr || !m_attached) {
        return -1;
    }
    if (Inserting()) {
        return m_insertRow;
    }
    return m_table->RecordCount() == 0 ? -1 : RowOfRecord(m_table->RecNo());
}

void StringsGridModel::CursorMoved() {
    const int row = CurrentRow();
    for (const int changed : {m_indicatorRow, row}) {
        if (changed >= 0 && changed < m_rowCount) {
            emit headerDataChanged(Qt::Vertical, changed, changed);
        }
    }
    m_indicatorRow = row;
    emit CurrentRowChanged(row);
}

void StringsGridModel::RowChanged(int row) {
    if (row >= 0 && row < m_rowCount) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, row, row);
    }
}

void StringsGridModel::MoveTo(int row) {
    // While rows come or go the view moves its current index on its own; the table's cursor is
    // what decides, and the view follows it afterwards.
    if (m_table == nullptr || !m_attached || m_reshaping || row < 0 || row == CurrentRow()) {
        return;
    }
    if (Inserting() && !m_modified && row > m_insertRow) {
        --row; // the untouched new row is dropped, and the rows below it move up
    }
    const int from = CurrentRow();
    const int records = Records();
    const bool editing = m_table->State() == TableState::Edit;
    PostPending();
    if (editing && row > from && Records() < records) {
        --row; // the posted record left the filtered view: the rows below it moved up
    }
    if (row < Records()) {
        m_table->SetRecNo(RecordOfRow(row));
    }
    CursorMoved();
}

void StringsGridModel::First() {
    MoveTo(0);
}

void StringsGridModel::Prior() {
    MoveTo(std::max(0, CurrentRow() - 1));
}

void StringsGridModel::Next() {
    MoveTo(std::min(m_rowCount - 1, CurrentRow() + 1));
}

void StringsGridModel::Last() {
    PostPending();
    MoveTo(m_rowCount - 1);
}

void StringsGridModel::Insert() {
    if (m_table == nullptr || !m_attached) {
        return;
    }
    PostPending();
    const int row = std::max(0, CurrentRow());
    Reshaping reshaping(m_reshaping);
    beginInsertRows(QModelIndex(), row, row);
    m_table->Insert();
    m_insertRow = row;
    ++m_rowCount;
    endInsertRows();
    CursorMoved();
}

void StringsGridModel::Edit() {
    if (m_table == nullptr || !m_attached || CurrentRow() < 0 || m_table->State() != TableState::Browse) {
        return;
    }
    BeginEdit();
    RowChanged(CurrentRow());
}

void StringsGridModel::BeginEdit() {
    m_table->Edit();
    m_editOriginal = CurrentRecordValues(*m_table);
}

void StringsGridModel::Post() {
    if (m_table == nullptr || m_table->State() == TableState::Browse) {
        return;
    }
    const bool inserting = Inserting();
    const int before = m_table->RecordCount();
    const int recNo = inserting ? -1 : m_table->RecNo();
    const bool inserted = m_table->State() == TableState::Insert;
    const RecordValues posted = CurrentRecordValues(*m_table);
    try {
        m_table->Post();
    } catch (const VersionConflict& conflict) {
        if (!m_chooseOnConflict || inserted) {
            throw;
        }
        SettleConflict(conflict.Theirs(), posted);
        return;
    } catch (const ConnectionLost&) {
        MarkUnsaved(true);
        emit PostLost();
        throw;
    }
    MarkUnsaved(false);
    const std::optional<RecordValues> original = std::exchange(m_editOriginal, std::nullopt);
    if (m_filter != nullptr) {
        // An edited record keeps its row; one that left the view took its row with it.
        const int after = m_table->RecordCount();
        if (!inserting && after == before) {
            m_filter->RecordChanged(recNo);
        } else if (!inserting && after == before - 1) {
            m_filter->RecordRemoved(recNo);
        } else {
            m_filter->Invalidate();
        }
    }
    m_modified = false;
    if (Inserting()) {
        // The buffer row becomes a record of the table: the count stays, every row may differ.
        m_insertRow = -1;
    }
    RecordsChanged();
    if (inserted) {
        emit RecordPosted({}, posted, true);
    } else if (original && *original != posted) {
        emit RecordPosted(*original, posted, false);
    }
}

void StringsGridModel::MarkUnsaved(bool unsaved) {
    if (unsaved != m_unsaved) {
        m_unsaved = unsaved;
        const int row = CurrentRow();
        if (row >= 0 && row < m_rowCount) {
            emit headerDataChanged(Qt::Vertical, row, row);
        }
    }
}

void StringsGridModel::SettleConflict(const std::unordered_map<std::string, std::string>& theirs,
                                      const RecordValues& posted) {
    const std::vector<FieldDef>& fields = m_table->Fields();
    const std::optional<RecordValues> original = std::exchange(m_editOriginal, std::nullopt);
    RecordValues stored;
    std::vector<ConflictField> differing;
    std::vector<std::size_t> typed; // the fields typed here
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto their = theirs.find(fields[i].name);
        stored.values.push_back(their != theirs.end() ? their->second : std::string());
        if (original && original->values.at(i) == posted.values.at(i)) {
            continue;
        }
        typed.push_back(i);
        if (stored.values.back() != posted.values.at(i)) {
            differing.push_back({fields[i].name, stored.values.back(), posted.values.at(i)});
        }
    }
    // Nothing of mine differs from theirs: theirs already says it.
    const bool keepMine = !differing.empty() && m_chooseOnConflict(differing);
    m_table->Cancel();
    m_modified = false;
    m_table->Refresh(); // their record, at its version, and whatever else changed meanwhile
    if (m_filter != nullptr) {
        m_filter->Invalidate();
    }
    if (keepMine) {
        m_table->Edit();
        for (const std::size_t i : typed) {
            if (fields[i].kind == FieldKind::Integer && !posted.values[i].empty()) {
                m_table->SetFieldInt(fields[i].name, std::stoll(posted.values[i]));
            } else {
                m_table->SetField(fields[i].name, posted.values[i]);
            }
        }
        const RecordValues mine = CurrentRecordValues(*m_table);
        try {
            m_table->Post();
        } catch (...) {
            m_editOriginal = stored;
            m_modified = true;
            Reload();
            throw;
        }
        Reload();
        emit RecordPosted(stored, mine, false);
        return;
    }
    Reload();
}

void StringsGridModel::PostPending() {
    // Leaving a record keeps what was typed and drops a record nobody typed into.
    if (m_modified) {
        Post();
    } else {
        Cancel();
    }
}

void StringsGridModel::Cancel() {
    if (m_table == nullptr || m_table->State() == TableState::Browse) {
        return;
    }
    m_table->Cancel();
    m_modified = false;
    m_editOriginal.reset();
    MarkUnsaved(false);
    if (Inserting()) {
        {
            Reshaping reshaping(m_reshaping);
            beginRemoveRows(QModelIndex(), m_insertRow, m_insertRow);
            m_insertRow = -1;
            --m_rowCount;
            endRemoveRows();
        }
        CursorMoved();
    } else {
        RowChanged(CurrentRow());
    }
}

void StringsGridModel::Delete() {
    if (m_table == nullptr || !m_attached) {
        return;
    }
    if (Inserting()) {
        Cancel();
        return;
    }
    const int row = CurrentRow();
    if (row < 0) {
        return;
    }
    if (m_table->State() != TableState::Browse) {
        m_table->Cancel();
        m_editOriginal.reset();
    }
    const RecordValues deleted = CurrentRecordValues(*m_table);
    {
        Reshaping reshaping(m_reshaping);
        beginRemoveRows(QModelIndex(), row, row);
        const int recNo = m_table->RecNo();
        const int before = m_table->RecordCount();
        m_table->Delete();
        if (m_narrowed) {
            // The rows below show the records that moved up one record number.
            m_narrow.erase(m_narrow.begin() + row);
            for (auto at = m_narrow.begin() + row; at != m_narrow.end(); ++at) {
                --*at;
            }
        }
        if (m_filter != nullptr) {
            if (m_table->RecordCount() == before - 1) {
                m_filter->RecordRemoved(recNo);
            } else {
                m_filter->Invalidate();
            }
        }
        --m_rowCount;
        endRemoveRows();
    }
    // The filter may let a different number of records through after a delete.
    RecordsChanged();
    emit RecordDeleted(deleted);
}

int StringsGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rowCount;
}

int StringsGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_fields.size());
}

QVariant StringsGridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || m_table == nullptr || !m_attached) {
        return {};
    }
    if (role == Qt::FontRole) {
        return m_fonts.at(static_cast<std::size_t>(index.column()));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) {
        return {};
    }
    const std::string& field = ColumnField(index.column());
    const bool buffered = index.row() == CurrentRow() && m_table->State() != TableState::Browse;
    const int recNo = RecordOfRow(index.row());
    if (!buffered && recNo < 0) {
        return QString();
    }
    const std::string text = buffered ? m_table->FieldAsString(field) : m_table->FieldAt(recNo, field);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool StringsGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::EditRole || m_table == nullptr) {
        return false;
    }
    const QString text = value.toString();
    if (text == data(index, Qt::EditRole).toString()) {
        return true; // an untouched cell does not put the record into editing
    }
    MoveTo(index.row());
    if (m_table->State() == TableState::Browse) {
        BeginEdit();
    }
    const std::string& field = ColumnField(index.column());
    if (IsIntegerField(*m_table, field)) {
        bool ok = false;
        const long long number = text.trimmed().toLongLong(&ok);
        if (!ok) {
            return false;
        }
        m_table->SetFieldInt(field, number);
    } else {
        m_table->SetField(field, text.toStdString());
    }
    m_modified = true;
    RowChanged(index.row());
    return true;
}

const std::vector<qa::Finding>* StringsGridModel::WarningsOfRow(int row) const {
    if (m_warnings == nullptr || m_warnings->Empty() || m_table == nullptr || m_fields.empty() ||
        m_warnings->Lang() != ColumnField(0) || m_fields.size() < 2 ||
        m_warnings->Target() != ColumnField(1)) {
        return nullptr;
    }
    const int recNo = RecordOfRow(row);
    return recNo < 0 ? nullptr : m_warnings->Of(m_table->FieldAt(recNo, ColumnField(0)));
}

void StringsGridModel::StatesChanged() {
    if (m_rowCount > 0) {
        emit headerDataChanged(Qt::Vertical, 0, m_rowCount - 1);
    }
}

QVariant StringsGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical && (role == Qt::DecorationRole || role == Qt::ToolTipRole) && m_unsaved &&
        section == CurrentRow()) {
        return role == Qt::DecorationRole
                   ? QVariant(QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical))
                   : QVariant(tr("Not saved: the server cannot be reached"));
    }
    if (orientation == Qt::Vertical && (role == Qt::DecorationRole || role == Qt::ToolTipRole)) {
        const int recNo = m_filter != nullptr && m_attached ? RecordOfRow(section) : -1;
        if (recNo < 0) {
            return {};
        }
        // From the states the filter read once for the view: no table read per row.
        const auto state = static_cast<ReviewState>(m_filter->StateOf(recNo));
        // A warning outweighs the state in the mark; the tooltip tells both.
        if (const std::vector<qa::Finding>* findings = WarningsOfRow(section)) {
            return role == Qt::DecorationRole
                       ? QVariant(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning))
                       : QVariant(ReviewStateText(state) + QLatin1Char('\n') + WarningsTooltip(*findings));
        }
        return role == Qt::DecorationRole ? QVariant(ReviewStateIcon(state))
                                          : QVariant(ReviewStateText(state));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= columnCount()) {
            return {};
        }
        return QString::fromStdString(ColumnField(section));
    }
    if (section != CurrentRow() || m_table == nullptr) {
        return QString();
    }
    // The row indicator: the current record, and whether it is being edited or inserted.
    switch (m_table->State()) {
    case TableState::Insert:
        return QStringLiteral("*");
    case TableState::Edit:
        return QStringLiteral("I");
    case TableState::Browse:
        break;
    }
    return QStringLiteral("\u25B6");
}

Qt::ItemFlags StringsGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

} // namespace wordloom
