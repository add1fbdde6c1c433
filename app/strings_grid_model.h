// The grid's model: a window onto the strings table's cursor. It copies nothing: every cell is read
// from the table when the view asks for it, and edits go into the table's record buffer.
#pragma once

#include "app/record_undo.h"
#include "dialogs/options_dlg.h"
#include "qa/finding.h"

#include <QAbstractTableModel>
#include <QFont>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace wordloom {

class GridFilter;
class RecordWarnings;
class StringsTable;

class StringsGridModel : public QAbstractTableModel, public ColumnCharsets {
    Q_OBJECT
public:
    explicit StringsGridModel(QObject* parent = nullptr);

    /// The table the grid shows; not owned. Null shows nothing.
    void SetTable(StringsTable* table);
    StringsTable* Table() const { return m_table; }

    /// Narrows the rows to the records the filter lets through (not owned; null: every record).
    /// The filter's source follows the table and the two language columns.
    void SetFilter(GridFilter* filter);
    /// The criteria of the filter changed: the rows are chosen again.
    void Refilter();
    /// A review state changed: the state marks beside the rows are drawn again.
    void StatesChanged();
    /// The findings of the checks marked beside the rows (not owned; null: none).
    void SetWarnings(const RecordWarnings* warnings) { m_warnings = warnings; }
    /// The findings of the record a row shows; null when it has none.
    const std::vector<qa::Finding>* WarningsOfRow(int row) const;
    /// The table records the grid shows (without a record being inserted).
    int Records() const;
    /// The table record number a row shows (-1 for the row of a record being inserted).
    int RecordOfRow(int row) const;

    /// Binds a column to a field; the column's title is the field name.
    void SetColumnField(int column, const std::string& field);
    void AppendColumns(const std::vector<std::string>& fields);
    const std::string& ColumnField(int column) const;
    /// The first column showing the field the table is ordered by, or -1.
    int OrderedColumn() const;

    int ColumnCharset(int column) const override;
    void SetColumnCharset(int column, int charset) override;

    /// Detached, the grid shows nothing and reads nothing, so a command may walk the table.
    void SetAttached(bool attached);
    bool Attached() const { return m_attached; }
    /// The order or the filter changed: every row may show another record.
    void Reload();
    /// Records were changed, added or removed behind the model's back (a post, a command).
    void RecordsChanged();

    /// The row of the table's current record (-1 when the view is empty).
    int CurrentRow() const;
    /// Moves the table's cursor to a row; a pending edit is posted first (post on leaving the row).
    void MoveTo(int row);
    void First();
    void Prior();
    void Next();
    void Last();
    /// A new, empty record at the current row, in the insert buffer until posted.
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    /// Leaves an edit or insert in progress: posted when something was typed, cancelled otherwise.
    void PostPending();

    /// A field of a record that someone else changed while it was edited here.
    struct ConflictField {
        std::string field;
        std::string theirs; ///< as stored now
        std::string mine;   ///< as typed here
    };
    /// Asked when a post finds the record changed by someone else since it was read: true posts
    /// mine over theirs (the fields typed here only), false drops mine and shows theirs. Without
    /// one the post fails as before.
    void SetConflictChooser(std::function<bool(const std::vector<ConflictField>&)> choose) {
        m_chooseOnConflict = std::move(choose);
    }
    /// True while the edited record could not be posted for a lost connection: it stays in
    /// editing, its row marked, until it is posted or cancelled.
    bool Unsaved() const { return m_unsaved; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    /// The table's cursor moved to `row` (or the view was reloaded); the view follows.
    void CurrentRowChanged(int row);
    /// A record was posted from the grid: its values before (empty for a new record) and after.
    void RecordPosted(const wordloom::RecordValues& before, const wordloom::RecordValues& after,
                      bool inserted);
    /// A record was deleted from the grid; its values as they were.
    void RecordDeleted(const wordloom::RecordValues& record);
    /// A post failed because the server cannot be reached; the record waits in the grid.
    void PostLost();

private:
    int VisibleRows() const;
    /// The row showing a table record number, or -1 when the filter leaves it out.
    int RowOfRecord(int recNo) const;
    /// Chooses the rows again from the filter; the table's cursor moves to a record shown.
    void Narrow();
    void SyncFilterSource();
    /// Puts the current record into editing, remembering its values for undo.
    void BeginEdit();
    bool Inserting() const { return m_insertRow >= 0; }
    void SetRowCount(int rows);
    void CursorMoved();
    void RowChanged(int row);
    void MarkUnsaved(bool unsaved);
    /// Settles a conflicting post by the chooser's answer; the table is read again either way.
    void SettleConflict(const std::unordered_map<std::string, std::string>& theirs,
                        const RecordValues& posted);

    StringsTable* m_table = nullptr;
    GridFilter* m_filter = nullptr;
    const RecordWarnings* m_warnings = nullptr;
    bool m_narrowed = false;
    std::vector<int> m_narrow; ///< while narrowed: the record number each row shows, ascending
    std::vector<std::string> m_fields;
    std::vector<int> m_charsets;
    std::vector<QFont> m_fonts;
    bool m_attached = true;
    int m_rowCount = 0;
    int m_insertRow = -1;     ///< the row of the insert buffer while inserting
    bool m_reshaping = false; ///< between the begin and end of a change of rows
    bool m_modified = false;  ///< something was typed into the record being edited or inserted
    std::optional<RecordValues> m_editOriginal; ///< the edited record's values when its edit began
    int m_indicatorRow = -1;                    ///< the row the indicator was last drawn at
    std::function<bool(const std::vector<ConflictField>&)> m_chooseOnConflict;
    bool m_unsaved = false;
};

} // namespace wordloom
