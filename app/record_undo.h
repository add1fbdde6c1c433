// Undo and redo of what the grid and the record commands change in the strings table. A command
// finds its records again by their values (record numbers move with every order, filter and post),
// so an undo still lands on the right record after the grid was ordered or filtered otherwise.
#pragma once

#include <QUndoCommand>
#include <string>
#include <vector>

namespace wordloom {

class StringsGridModel;
class StringsTable;

/// A record's stored values, one per field of the table, in table order.
struct RecordValues {
    std::vector<std::string> values;
    bool operator==(const RecordValues&) const = default;
};

/// The place of a field in a record's values; -1 when the table has no such field.
int FieldIndex(const StringsTable& table, const std::string& name);

/// The current record (its edit buffer while inserting or editing).
RecordValues CurrentRecordValues(const StringsTable& table);
/// A record of the view.
RecordValues RecordValuesAt(const StringsTable& table, int recNo);

/// Makes the record holding `values` the current one; false (the order and the cursor as they
/// were) when no record of the view holds them.
bool LocateRecord(StringsTable& table, const RecordValues& values);

/// The grid and the table an undo command works on.
struct UndoTarget {
    StringsTable* table = nullptr;
    StringsGridModel* model = nullptr;
};

/// A posted change of one record: undo gives it its old values, redo its new ones.
class RecordEditCommand : public QUndoCommand {
public:
    RecordEditCommand(UndoTarget target, RecordValues before, RecordValues after, const QString& text,
                      QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;

private:
    UndoTarget m_target;
    RecordValues m_before;
    RecordValues m_after;
    bool m_done = true; ///< pushed after the change was made: the first redo does nothing
};

/// Records that were added (`added` true) or deleted: undo takes back what was done.
class RecordSetCommand : public QUndoCommand {
public:
    RecordSetCommand(UndoTarget target, std::vector<RecordValues> records, bool added, const QString& text,
                     QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;

private:
    void Insert();
    void Remove();

    UndoTarget m_target;
    std::vector<RecordValues> m_records;
    bool m_added;
    bool m_done = true;
};

} // namespace wordloom
