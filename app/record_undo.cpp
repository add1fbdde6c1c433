#include "app/record_undo.h"

#include "app/strings_grid_model.h"
#include "strings_db/strings_table.h"

#include <QCoreApplication>
#include <algorithm>

namespace wordloom {

namespace {

std::string Stored(const StringsTable& table, const FieldDef& field, bool current, int recNo) {
    if (field.kind == FieldKind::Integer) {
        return current ? std::to_string(table.FieldAsInteger(field.name)) : table.FieldAt(recNo, field.name);
    }
    return current ? table.FieldAsString(field.name) : table.FieldAt(recNo, field.name);
}

void Assign(StringsTable& table, const RecordValues& record) {
    const std::vector<FieldDef>& fields = table.Fields();
    for (std::size_t i = 0; i < fields.size() && i < record.values.size(); ++i) {
        if (fields[i].kind == FieldKind::Integer) {
            table.SetFieldInt(fields[i].name, record.values[i].empty() ? 0 : std::stoll(record.values[i]));
        } else {
            table.SetField(fields[i].name, record.values[i]);
        }
    }
}

[[noreturn]] void Gone() {
    throw DbError(QCoreApplication::translate("RecordUndo",
                                              "The record to change back is no longer in the grid as it "
                                              "was left; it was changed, deleted or filtered out since.")
                      .toStdString());
}

/// Undo and redo work on the table directly; the grid is shown again afterwards, on the record.
class Replay {
public:
    explicit Replay(const UndoTarget& target) : m_target(target) {
        m_target.model->PostPending();
        m_target.model->SetAttached(false);
    }
    ~Replay() {
        m_target.model->SetAttached(true);
        m_target.model->Reload();
    }
    Replay(const Replay&) = delete;
    Replay& operator=(const Replay&) = delete;

private:
    UndoTarget m_target;
};

} // namespace

int FieldIndex(const StringsTable& table, const std::string& name) {
    const std::vector<FieldDef>& fields = table.Fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

RecordValues CurrentRecordValues(const StringsTable& table) {
    RecordValues record;
    for (const FieldDef& field : table.Fields()) {
        record.values.push_back(Stored(table, field, true, 0));
    }
    return record;
}

RecordValues RecordValuesAt(const StringsTable& table, int recNo) {
    RecordValues record;
    for (const FieldDef& field : table.Fields()) {
        record.values.push_back(Stored(table, field, false, recNo));
    }
    return record;
}

namespace {

/// The field a record is looked up by: the first language it holds a text in (-1: none).
int KeyFieldOf(const StringsTable& table, const RecordValues& record) {
    const std::vector<FieldDef>& fields = table.Fields();
    const std::vector<std::string> languages = table.Languages();
    for (std::size_t i = 0; i < fields.size() && i < record.values.size(); ++i) {
        if (!record.values[i].empty() &&
            std::find(languages.begin(), languages.end(), fields[i].name) != languages.end()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

/// Orders the table by the record's key field and makes the record current.
bool FindRecord(StringsTable& table, const RecordValues& record) {
    const int key = KeyFieldOf(table, record);
    if (key < 0) {
        return false;
    }
    const std::string& field = table.Fields()[static_cast<std::size_t>(key)].name;
    const std::string& text = record.values[static_cast<std::size_t>(key)];
    if (table.IndexFieldNames() != field) {
        table.SetIndexFieldNames(field);
    }
    if (!table.FindKey(text)) {
        return false;
    }
    for (; !table.Eof() && table.FieldAsString(field) == text; table.Next()) {
        if (CurrentRecordValues(table) == record) {
            return true;
        }
    }
    return false;
}

/// Puts the table back into the order it had; a new order keeps the current record.
class OrderKeeper {
public:
    explicit OrderKeeper(StringsTable& table)
        : m_table(table), m_indexName(table.IndexName()), m_indexFields(table.IndexFieldNames()) {}
    ~OrderKeeper() {
        try {
            if (!m_indexFields.empty()) {
                m_table.SetIndexFieldNames(m_indexFields);
            } else if (!m_indexName.empty()) {
                m_table.SetIndexName(m_indexName);
            }
        } catch (const DbError&) {
            // The order existed a moment ago; should it fail now, the key order stays.
        }
    }
    OrderKeeper(const OrderKeeper&) = delete;
    OrderKeeper& operator=(const OrderKeeper&) = delete;

private:
    StringsTable& m_table;
    std::string m_indexName;
    std::string m_indexFields;
};

} // namespace

bool LocateRecord(StringsTable& table, const RecordValues& values) {
    OrderKeeper order(table);
    return FindRecord(table, values);
}

RecordEditCommand::RecordEditCommand(UndoTarget target, RecordValues before, RecordValues after,
                                     const QString& text, QUndoCommand* parent)
    : QUndoCommand(text, parent), m_target(target), m_before(std::move(before)), m_after(std::move(after)) {}

void RecordEditCommand::undo() {
    Replay replay(m_target);
    if (!LocateRecord(*m_target.table, m_after)) {
        Gone();
    }
    m_target.table->Edit();
    Assign(*m_target.table, m_before);
    m_target.table->Post();
    m_done = false;
}

void RecordEditCommand::redo() {
    if (m_done) {
        return;
    }
    Replay replay(m_target);
    if (!LocateRecord(*m_target.table, m_before)) {
        Gone();
    }
    m_target.table->Edit();
    Assign(*m_target.table, m_after);
    m_target.table->Post();
    m_done = true;
}

RecordSetCommand::RecordSetCommand(UndoTarget target, std::vector<RecordValues> records, bool added,
                                   const QString& text, QUndoCommand* parent)
    : QUndoCommand(text, parent), m_target(target), m_records(std::move(records)), m_added(added) {}

void RecordSetCommand::Insert() {
    StringsTable& table = *m_target.table;
    StringsTable::Transaction transaction(table);
    for (const RecordValues& record : m_records) {
        table.Insert();
        Assign(table, record);
        table.Post();
    }
    transaction.Commit();
}

void RecordSetCommand::Remove() {
    StringsTable& table = *m_target.table;
    OrderKeeper order(table);
    StringsTable::Transaction transaction(table);
    for (const RecordValues& record : m_records) {
        if (!FindRecord(table, record)) {
            Gone(); // the transaction rolls back: all of them go, or none
        }
        table.Delete();
    }
    transaction.Commit();
}

void RecordSetCommand::undo() {
    Replay replay(m_target);
    if (m_added) {
        Remove();
    } else {
        Insert();
    }
    m_done = false;
}

void RecordSetCommand::redo() {
    if (m_done) {
        return;
    }
    Replay replay(m_target);
    if (m_added) {
        Insert();
    } else {
        Remove();
    }
    m_done = true;
}

} // namespace wordloom
