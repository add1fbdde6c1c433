#include "strings_db/strings_backend.h"

namespace wordloom {

namespace {

bool HoldsText(const Value& value, std::string_view text) {
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
        // A named record that stands as the caller read it needs no key search.
        if (write.record != 0 && !write.key.empty() && ReadRow(write.record, row) &&
            HoldsText(row.at(keyColumn), write.key) && HoldsText(row.at(target), write.expected)) {
            row[target] = write.value.empty() ? Value::Null() : Value::OfText(std::string(write.value));
            UpdateRow(write.record, row);
            ++result.done;
            continue;
        }
        // The key search answers under the order's collation, in order: the first exact text wins.
        bool found = false;
        RowId id = 0;
        for (const RowId candidate : FindKey(order, std::string(write.key))) {
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
        row[target] = write.value.empty() ? Value::Null() : Value::OfText(std::string(write.value));
        UpdateRow(id, row);
        ++result.done;
    }
    return result;
}

} // namespace wordloom
