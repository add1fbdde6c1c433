#include "strings_db/strings_table.h"
#include "base/ui_text.h"

#include "strings_db/postgres_backend.h"
#include "strings_db/sqlite_backend.h"
#include "strings_db/table_cursor.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>
#include <optional>
#include <string_view>

namespace wordloom {

namespace {

constexpr std::string_view kBookkeepingFields[] = {"Project", "SpFront", "SpEnd"};

std::string ToText(const Value& value) {
    switch (value.type) {
    case Value::Type::Null:
        return {};
    case Value::Type::Integer:
        return std::to_string(value.integer);
    case Value::Type::Real: {
        char buffer[32];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value.real);
        return std::string(buffer, result.ptr);
    }
    case Value::Type::Text:
        return value.text;
    }
    return {};
}

long long ToInteger(const Value& value) {
    switch (value.type) {
    case Value::Type::Null:
        return 0;
    case Value::Type::Integer:
        return value.integer;
    case Value::Type::Real:
        return static_cast<long long>(value.real);
    case Value::Type::Text:
        break;
    }
    long long result = 0;
    const std::string& text = value.text;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        throw DbError(FillIn(WL_TR("StringsTable", "'%1' is not a valid integer value"), {text}));
    }
    return result;
}

} // namespace

namespace {

std::unique_ptr<StringsTableBackend> OpenBackend(const std::string& location, OpenMode mode) {
    if (IsPostgresAddress(location)) {
        return std::make_unique<PostgresBackend>(location, mode);
    }
    return std::make_unique<SqliteBackend>(location, mode);
}

} // namespace

StringsTable::StringsTable(const std::string& path, OpenMode mode)
    : m_backend(OpenBackend(path, mode)), m_cursor(std::make_unique<TableCursor>(*m_backend, *this)) {}

StringsTable::~StringsTable() = default;

const std::vector<FieldDef>& StringsTable::Fields() const {
    return m_cursor->Fields();
}

std::vector<std::string> StringsTable::Languages() const {
    // Project, SpFront and SpEnd hold what a record belongs to and its blanks, whatever their
    // declared type: filing texts under them or translating to them destroys that.
    const auto bookkeeping = [](const std::string& name) {
        return std::any_of(
            std::begin(kBookkeepingFields), std::end(kBookkeepingFields), [&name](std::string_view field) {
                return std::equal(name.begin(), name.end(), field.begin(), field.end(), [](char a, char b) {
                    return std::tolower(static_cast<unsigned char>(a)) ==
                           std::tolower(static_cast<unsigned char>(b));
                });
            });
    };
    std::vector<std::string> names;
    for (const FieldDef& field : Fields()) {
        if (field.kind == FieldKind::Alpha && !bookkeeping(field.name)) {
            names.push_back(field.name);
        }
    }
    return names;
}

bool StringsTable::HasField(const std::string& name) const {
    return m_cursor->FieldIndex(name) >= 0;
}

bool StringsTable::ReadOnly() const {
    return m_backend->ReadOnly();
}

void StringsTable::SetIndexFieldNames(const std::string& field) {
    m_cursor->SetIndexFieldNames(field);
}

void StringsTable::SetIndexName(const std::string& indexName) {
    m_cursor->SetIndexName(indexName);
}

const std::string& StringsTable::IndexField() const {
    return m_cursor->IndexField();
}

const std::string& StringsTable::IndexName() const {
    return m_cursor->IndexName();
}

const std::string& StringsTable::IndexFieldNames() const {
    return m_cursor->IndexFieldNames();
}

std::vector<int> StringsTable::TranslationColumns(const std::string& targetField) const {
    const IndexDef& order = m_cursor->Order();
    if (order.parts.empty()) {
        throw DbError(WL_TR("StringsTable", "No index selected for the key search"));
    }
    const auto field = [this](const std::string& name) {
        const int index = m_cursor->FieldIndex(name);
        if (index < 0) {
            throw DbError(FillIn(WL_TR("StringsTable", "Field '%1' not found"), {name}));
        }
        return index;
    };
    return {order.parts[0].column, field(targetField), field("SpFront"), field("SpEnd")};
}

namespace {

// The columns TranslationColumns lists, in its order.
enum { kKey, kText, kSpFront, kSpEnd };

StringsTable::Translation TranslationOf(const RowView& row) {
    StringsTable::Translation translation;
    translation.text = ToText(row.Column(kText));
    if (!translation.text.empty()) {
        translation.spFront = ToInteger(row.Column(kSpFront));
        translation.spEnd = ToInteger(row.Column(kSpEnd));
    }
    return translation;
}

// The asked columns of a record read whole.
class PickedColumns : public RowView {
public:
    PickedColumns(const Row& row, const std::vector<int>& columns) : m_row(row), m_columns(columns) {}
    const Value& Column(std::size_t column) const override {
        return m_row.at(static_cast<std::size_t>(m_columns.at(column)));
    }

private:
    const Row& m_row;
    const std::vector<int>& m_columns;
};

// A key search costs about as much as reading this many records in a scan.
constexpr std::size_t kRecordsPerKeySearch = 16;

// The non-empty texts of `keys` by where each first stands. Open addressing over the keys' places:
// a million keys cost two arrays, not a million allocations.
class KeySet {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    explicit KeySet(const std::vector<std::string_view>& keys) : m_keys(keys), m_first(keys.size(), kNone) {
        std::size_t size = 16;
        while (size < keys.size() * 2) {
            size *= 2;
        }
        m_slots.assign(size, Slot{0, kNone});
        m_mask = size - 1;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i].empty()) {
                continue;
            }
            const std::size_t hash = std::hash<std::string_view>{}(keys[i]);
            Slot& slot = m_slots[Probe(keys[i], hash)];
            if (slot.index == kNone) {
                slot = Slot{hash, i};
            }
            m_first[i] = slot.index;
        }
    }
    /// Where `key` first stands among the keys, kNone when nowhere.
    std::size_t Find(std::string_view key) const {
        return key.empty() ? kNone : m_slots[Probe(key, std::hash<std::string_view>{}(key))].index;
    }
    /// Where the text of keys[i] first stands (kNone for an empty one).
    std::size_t First(std::size_t i) const { return m_first[i]; }

private:
    struct Slot {
        std::size_t hash;
        std::size_t index;
    };
    // The slot of `key`, or the empty one where it would go.
    std::size_t Probe(std::string_view key, std::size_t hash) const {
        for (std::size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
            const Slot& slot = m_slots[at];
            if (slot.index == kNone || (slot.hash == hash && m_keys[slot.index] == key)) {
                return at;
            }
        }
    }

    const std::vector<std::string_view>& m_keys;
    std::vector<std::size_t> m_first;
    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
};

} // namespace

std::unordered_map<std::string, StringsTable::Translation>
StringsTable::ReadTranslations(const std::string& targetField) const {
    const std::vector<int> columns = TranslationColumns(targetField);
    std::unordered_map<std::string, Translation> translations;
    m_backend->ScanColumns(m_cursor->Order(), columns, [&translations](const RowView& row) {
        std::string key = ToText(row.Column(kKey));
        if (key.empty()) {
            return;
        }
        const auto [entry, added] = translations.try_emplace(std::move(key));
        if (added) {
            entry->second = TranslationOf(row);
            entry->second.record = row.Id();
        }
    });
    return translations;
}

std::vector<std::optional<StringsTable::Translation>>
StringsTable::ReadTranslationsOf(const std::string& targetField,
                                 const std::vector<std::string_view>& keys) const {
    const std::vector<int> columns = TranslationColumns(targetField);
    const IndexDef& order = m_cursor->Order();
    std::vector<std::optional<Translation>> found(keys.size());
    if (keys.empty()) {
        return found;
    }
    // A key search per text for a file much smaller than the table; otherwise one scan, holding
    // only the texts asked for.
    if (keys.size() * kRecordsPerKeySearch <
        static_cast<std::size_t>(std::max<RowId>(m_backend->MaxId(), 0))) {
        Row row;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i].empty()) {
                continue;
            }
            const std::string key(keys[i]);
            // The search answers under the index's collation, in order: the first exact text wins.
            for (const RowId id : m_backend->FindKey(order, key)) {
                if (!m_backend->ReadRow(id, row)) {
                    continue;
                }
                const PickedColumns picked(row, columns);
                if (ToText(picked.Column(kKey)) == key) {
                    found[i] = TranslationOf(picked);
                    found[i]->record = id;
                    break;
                }
            }
        }
        return found;
    }
    const KeySet wanted(keys);
    // Records of one text stand in the index's order by record id, so the first one in record order
    // is the one that order puts first; that order reads the table straight through.
    m_backend->ScanColumns(IndexDef{}, columns, [&](const RowView& row) {
        const Value& value = row.Column(kKey);
        const std::size_t entry =
            value.type == Value::Type::Text ? wanted.Find(value.text) : wanted.Find(ToText(value));
        if (entry != KeySet::kNone && !found[entry]) {
            found[entry] = TranslationOf(row);
            found[entry]->record = row.Id();
        }
    });
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (const std::size_t first = wanted.First(i); first != i && first != KeySet::kNone) {
            found[i] = found[first];
        }
    }
    return found;
}

void StringsTable::ScanInOrder(const std::string& orderField, const std::vector<std::string>& fields,
                               const std::function<void(const OrderedRecord&)>& visit) {
    const IndexDef order = m_cursor->IndexForField(orderField);
    std::vector<int> columns;
    for (const std::string& name : fields) {
        const int index = m_cursor->FieldIndex(name);
        if (index < 0) {
            throw DbError(FillIn(WL_TR("StringsTable", "Field '%1' not found"), {name}));
        }
        columns.push_back(index);
    }
    class Record : public OrderedRecord {
    public:
        const RowView* row = nullptr;
        std::string Text(std::size_t field) const override { return ToText(row->Column(field)); }
        long long Integer(std::size_t field) const override { return ToInteger(row->Column(field)); }
    } record;
    m_cursor->StoreHeld();
    m_backend->ScanColumns(order, columns, [&](const RowView& row) {
        record.row = &row;
        visit(record);
    });
}

StringsTable::KeyedWriteResult StringsTable::WriteByKey(const std::string& keyField, const std::string& field,
                                                        const std::vector<KeyedWrite>& writes) {
    const IndexDef order = m_cursor->IndexForField(keyField);
    const int column = m_cursor->FieldIndex(field);
    if (column < 0) {
        throw DbError(FillIn(WL_TR("StringsTable", "Field '%1' not found"), {field}));
    }
    return m_cursor->WriteByKey(order, column, writes);
}

bool StringsTable::FindKey(const std::string& key) {
    return m_cursor->FindKey(key);
}

void StringsTable::Insert() {
    m_cursor->Insert();
}

void StringsTable::Edit() {
    m_cursor->Edit();
}

void StringsTable::SetField(const std::string& field, const std::string& value) {
    m_cursor->SetValue(field, Value::OfText(value));
}

void StringsTable::SetFieldInt(const std::string& field, long long value) {
    m_cursor->SetValue(field, Value::OfInteger(value));
}

void StringsTable::Post() {
    m_cursor->Post();
}

void StringsTable::Cancel() {
    m_cursor->Cancel();
}

void StringsTable::Delete() {
    m_cursor->Delete();
}

int StringsTable::DeleteEmpty(const std::string& field) {
    return m_cursor->DeleteEmpty(field);
}

TableState StringsTable::State() const {
    return m_cursor->State();
}

void StringsTable::BeginTransaction() {
    m_cursor->BeginTransaction();
}

void StringsTable::Commit() {
    m_cursor->Commit();
}

void StringsTable::Rollback() {
    m_cursor->Rollback();
}

bool StringsTable::InTransaction() const {
    return m_backend->InTransaction();
}

void StringsTable::SetBusyTimeout(int timeoutMs) {
    m_backend->SetBusyTimeout(timeoutMs);
}

void StringsTable::SetBusyNotice(std::function<void()> onWait) {
    m_backend->SetBusyNotice(std::move(onWait));
}

void StringsTable::BeginBatch() {
    m_cursor->BeginBatch();
}

void StringsTable::EndBatch() {
    m_cursor->EndBatch();
}

bool StringsTable::InBatch() const {
    return m_cursor->InBatch();
}

std::size_t StringsTable::BatchPosts() const {
    return m_cursor->BatchPosts();
}

std::vector<BatchFailure> StringsTable::TakeBatchFailures() {
    return m_cursor->TakeBatchFailures();
}

StringsTable::Transaction::Transaction(StringsTable& table) : m_table(table), m_open(false) {
    m_table.BeginTransaction();
    m_open = true;
}

StringsTable::Transaction::~Transaction() {
    if (m_open) {
        try {
            m_table.Rollback();
        } catch (...) {
            // Nothing sensible to do while unwinding; the engine drops the transaction on close.
        }
    }
}

void StringsTable::Transaction::Commit() {
    m_table.Commit();
    m_open = false;
}

void StringsTable::First() {
    m_cursor->First();
}

void StringsTable::Next() {
    m_cursor->Next();
}

void StringsTable::Prior() {
    m_cursor->Prior();
}

void StringsTable::Last() {
    m_cursor->Last();
}

void StringsTable::Refresh() {
    m_cursor->Refresh();
}

bool StringsTable::Eof() const {
    return m_cursor->Eof();
}

bool StringsTable::Bof() const {
    return m_cursor->Bof();
}

int StringsTable::RecordCount() const {
    return m_cursor->RecordCount();
}

int StringsTable::RecNo() const {
    return m_cursor->RecNo();
}

void StringsTable::SetRecNo(int recNo) {
    m_cursor->SetRecNo(recNo);
}

void StringsTable::SetFilter(const std::string& expression) {
    m_cursor->SetFilter(expression);
}

void StringsTable::SetFilterCaseInsensitive(bool on) {
    m_cursor->SetFilterCaseInsensitive(on);
}

void StringsTable::SetFilterRecord(std::function<bool(const StringsTable&)> accept) {
    m_cursor->SetFilterRecord(std::move(accept));
}

void StringsTable::SetFiltered(bool on) {
    m_cursor->SetFiltered(on);
}

bool StringsTable::Filtered() const {
    return m_cursor->Filtered();
}

void StringsTable::SetBeforePost(std::function<void(StringsTable&)> hook) {
    m_cursor->SetBeforePost(std::move(hook));
}

void StringsTable::SetAfterPost(std::function<void(StringsTable&)> hook) {
    m_cursor->SetAfterPost(std::move(hook));
}

std::string StringsTable::FieldAsString(const std::string& field) const {
    return ToText(m_cursor->CurrentValue(field));
}

long long StringsTable::FieldAsInteger(const std::string& field) const {
    return ToInteger(m_cursor->CurrentValue(field));
}

std::string StringsTable::FieldAt(int recNo, const std::string& field) const {
    return ToText(m_cursor->ValueAt(recNo, field));
}

std::optional<std::pair<long long, long long>> StringsTable::WriteStamp() {
    const long long own = m_backend->OwnChanges();
    if (own < 0) {
        return std::nullopt;
    }
    return std::pair(own, m_backend->ForeignChanges());
}

SideStore& StringsTable::Side() {
    return m_backend->Side();
}

TableNotifications* StringsTable::Notifications() {
    return m_backend->Notifications();
}

std::vector<std::string> StringsTable::ColumnOfView(const std::string& field) const {
    std::vector<Value> values = m_cursor->ColumnOfView(field);
    std::vector<std::string> texts;
    texts.reserve(values.size());
    for (const Value& value : values) {
        texts.push_back(ToText(value));
    }
    return texts;
}

bool AddString(StringsTable& table, const std::string& field, const PreparedText& text,
               const std::string& projectName) {
    if (table.IndexFieldNames() != field) {
        table.SetIndexFieldNames(field);
    }
    std::string key(text.text);
    if (table.FindKey(key)) {
        return false;
    }
    try {
        table.Insert();
        table.SetField(field, std::move(key));
        table.SetFieldInt("SpFront", text.spFront);
        table.SetFieldInt("SpEnd", text.spEnd);
        std::string project = table.FieldAsString("Project");
        table.SetField("Project", project.empty() ? projectName : project + ";" + projectName);
        table.Post();
        return true;
    } catch (...) {
        // The caller reports the failure and goes on with the next text: leave no pending record.
        table.Cancel();
        throw;
    }
}

bool AddString(StringsTable& table, const std::string& field, std::string_view rawText,
               const std::string& projectName) {
    const std::optional<PreparedText> text = PrepareText(rawText);
    return text && AddString(table, field, *text, projectName);
}

} // namespace wordloom
