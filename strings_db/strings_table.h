// The strings table: one record per translatable text, a field per language plus Project, SpFront
// and SpEnd. A cursor over an SQLite file that the build supplies; the program never creates or
// alters the table.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace wordloom {

/// Every failure of the table layer; what() is the text shown to the user.
class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class FieldKind { Alpha, Integer };

struct FieldDef {
    std::string name;
    FieldKind kind;
};

enum class TableState { Browse, Insert, Edit };

class StringsTableBackend;

/// A cursor over the strings table. Texts are UTF-8. Record numbers count from 0 in the current
/// order over the records that pass the filter.
class StringsTable {
public:
    /// Opens an existing table file; throws DbError when it is missing, unreadable or holds no
    /// `strings` table. Never creates anything.
    explicit StringsTable(const std::string& path);
    ~StringsTable();
    StringsTable(const StringsTable&) = delete;
    StringsTable& operator=(const StringsTable&) = delete;

    /// Field definitions in table order.
    const std::vector<FieldDef>& Fields() const;
    /// Names of the alpha fields (the languages, Project included), in table order.
    std::vector<std::string> Languages() const;
    bool HasField(const std::string& name) const;

    /// Orders by the index on `field` alone; throws DbError("Index not found: ...") when the table
    /// has none. Key searches use that index's column and collation.
    void SetIndexFieldNames(const std::string& field);
    /// Orders by the index of that name (e.g. "English2"); throws DbError when missing.
    void SetIndexName(const std::string& indexName);
    /// The field the current order and key search use (empty before an order was chosen).
    const std::string& IndexField() const;

    /// Key search on the current index: true and the cursor on the first matching record, or
    /// false and the cursor unchanged.
    bool FindKey(const std::string& key);

    void Insert();
    void Edit();
    void SetField(const std::string& field, const std::string& value);
    void SetFieldInt(const std::string& field, long long value);
    /// Stores the record; runs the before-post and after-post hooks around it.
    void Post();
    void Cancel();
    /// Deletes the current record; the cursor moves to the record that followed.
    void Delete();
    TableState State() const;

    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const;
    bool Bof() const;
    int RecordCount() const;
    int RecNo() const;
    void SetRecNo(int recNo);

    /// Filter: an expression of the form  Field = 'value'  (the value is bound, never pasted
    /// into SQL), the case-insensitive option, and a per-record test; both must pass while
    /// the filter is on.
    void SetFilter(const std::string& expression);
    void SetFilterCaseInsensitive(bool on);
    void SetFilterRecord(std::function<bool(const StringsTable&)> accept);
    void SetFiltered(bool on);
    bool Filtered() const;

    void SetBeforePost(std::function<void(StringsTable&)> hook);
    void SetAfterPost(std::function<void(StringsTable&)> hook);

    /// The current record's field (the edit buffer while inserting or editing).
    std::string FieldAsString(const std::string& field) const;
    long long FieldAsInteger(const std::string& field) const;
    /// A field of any record of the view, without moving the cursor (for grid models).
    std::string FieldAt(int recNo, const std::string& field) const;

private:
    std::unique_ptr<StringsTableBackend> m_backend;
};

/// Files a collected text (Strings database rules): blank counts on the raw text, trimming of
/// codes <= 32, texts under two characters dropped, nothing done when the key exists. `rawText` is
/// UTF-8; `projectName` is the current project's name.
void AddString(StringsTable& table, const std::string& field, const std::string& rawText,
               const std::string& projectName);

} // namespace wordloom
