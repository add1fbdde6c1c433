#include "strings_db/strings_backend.h"

namespace wordloom {

namespace {

bool HoldsText(const Value& value, const std::string& text) {
    return value.IsNull() ? text.empty() : value.type == Value::Type::Text && value.text == text;
}

} // namespace

StringsTable::KeyedWriteResult
StringsTableBackend::WriteByKey(const IndexDef& order, int column,
                                const std::vector<StringsTable::KeyedWrite>& writes) {
    const auto keyColumn = static_cast<std::size_t>(order.parts.at(0).column);
    const auto target = static_cast<std::size_t>(column);
    StringsTable::KeyedWriteResult result;
    Row row;
    for (const StringsTable::KeyedWrite& write : writes) {
        // The key search answers under the order's collation, in order: the first exact text wins.
        bool found = false;
        RowId id = 0;
        for (const RowId candidate : FindKey(order, write.key)) {
            if (ReadRow(candidate, row) && !write.key.empty() && HoldsText(row.at(keyColumn), write.key)) {
                found = true;
                id = candidate;
                break;
            }
        }
        if (!found) {
            result.missing = true;
            return result;
        }
        if (!HoldsText(row.at(target), write.expected)) {
            return result;
        }
        row[target] = write.value.empty() ? Value::Null() : Value::OfText(write.value);
        UpdateRow(id, row);
        ++result.done;
    }
    return result;
}

} // namespace wordloom
