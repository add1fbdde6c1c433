#include "exchange/csv_format.h"
#include "base/ui_text.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace wordloom::exchange {

namespace {

constexpr std::array<std::string_view, 5> kColumns{"source", "target", "state", "places", "notes"};

void AppendField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

std::string Join(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines) {
        if (!joined.empty())
            joined += "\n";
        joined += line;
    }
    return joined;
}

std::vector<std::string> SplitLines(std::string_view cell) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < cell.size()) {
        std::size_t end = std::min(cell.find('\n', start), cell.size());
        std::string_view line = cell.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

std::string PlaceText(const Place& place) {
    std::string text = place.file;
    if (place.line > 0) {
        text += ':';
        text += std::to_string(place.line);
    }
    text += ' ';
    text += place.property.empty() ? place.path : place.path + "." + place.property;
    return text;
}

Place ParsePlace(const std::string& text) {
    Place place;
    const std::size_t blank = text.rfind(' ');
    const std::string location = blank == std::string::npos ? text : text.substr(0, blank);
    const std::string component = blank == std::string::npos ? std::string() : text.substr(blank + 1);
    const std::size_t colon = location.rfind(':');
    int line = 0;
    if (colon != std::string::npos &&
        std::from_chars(location.data() + colon + 1, location.data() + location.size(), line).ptr ==
            location.data() + location.size() &&
        colon + 1 < location.size()) {
        place.file = location.substr(0, colon);
        place.line = line;
    } else {
        place.file = location;
    }
    const std::size_t dot = component.rfind('.');
    if (dot == std::string::npos) {
        place.path = component;
    } else {
        place.path = component.substr(0, dot);
        place.property = component.substr(dot + 1);
    }
    return place;
}

struct Row {
    std::vector<std::string> fields;
    std::size_t line = 0;
};

// Splits the whole text into rows of fields.
std::vector<Row> ParseRows(std::string_view data) {
    std::vector<Row> rows;
    std::size_t line = 1;
    std::size_t i = 0;
    while (i < data.size()) {
        Row row;
        row.line = line;
        for (;;) {
            std::string field;
            if (i < data.size() && data[i] == '"') {
                const std::size_t openLine = line;
                const std::size_t openColumn =
                    i - (data.rfind('\n', i) == std::string_view::npos ? 0 : data.rfind('\n', i) + 1) + 1;
                ++i;
                for (;;) {
                    if (i >= data.size())
                        throw ExchangeError(WL_TR("exchange", "A quoted field is not closed"), openLine,
                                            openColumn);
                    const char c = data[i++];
                    if (c == '"') {
                        if (i < data.size() && data[i] == '"') {
                            field += '"';
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n')
                        ++line;
                    field += c;
                }
                if (i < data.size() && data[i] != ',' && data[i] != '\n' && data[i] != '\r')
                    throw ExchangeError(WL_TR("exchange", "Text after the closing quote of a field"), line);
            } else {
                while (i < data.size() && data[i] != ',' && data[i] != '\n' && data[i] != '\r')
                    field += data[i++];
            }
            row.fields.push_back(std::move(field));
            if (i < data.size() && data[i] == ',') {
                ++i;
                continue;
            }
            if (i < data.size() && data[i] == '\r')
                ++i;
            if (i < data.size() && data[i] == '\n') {
                ++i;
                ++line;
            } else if (i < data.size()) {
                throw ExchangeError(WL_TR("exchange", "A lone carriage return outside quotes"), line);
            }
            break;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace

std::string WriteCsv(const Catalog& catalog, bool byteOrderMark) {
    std::string out;
    out.reserve(catalog.units.size() * 64 + 64);
    if (byteOrderMark)
        out += "\xEF\xBB\xBF";
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        out += c == 0 ? "" : ",";
        out += kColumns[c];
    }
    out += "\r\n";
    for (const Unit& unit : catalog.units) {
        std::vector<std::string> places;
        for (const Place& place : unit.places)
            places.push_back(PlaceText(place));
        AppendField(out, unit.source);
        out += ',';
        AppendField(out, unit.target);
        out += ',';
        AppendField(out, StateName(unit.state));
        out += ',';
        AppendField(out, Join(places));
        out += ',';
        AppendField(out, Join(unit.notes));
        out += "\r\n";
    }
    return out;
}

Catalog ReadCsv(std::string_view data) {
    CheckExchangeSize(data);
    if (data.substr(0, 3) == "\xEF\xBB\xBF")
        data.remove_prefix(3);
    std::vector<Row> rows = ParseRows(data);
    // Column positions: source, target, state, places, notes (-1: absent).
    std::array<int, 5> column{0, 1, 2, 3, 4};
    std::size_t first = 0;
    const auto names = [&rows](std::string_view name) {
        return std::find(rows[0].fields.begin(), rows[0].fields.end(), name) != rows[0].fields.end();
    };
    if (!rows.empty() && (names("source") || names("target"))) {
        column.fill(-1);
        for (std::size_t f = 0; f < rows[0].fields.size(); ++f)
            for (std::size_t c = 0; c < kColumns.size(); ++c)
                if (rows[0].fields[f] == kColumns[c])
                    column[c] = static_cast<int>(f);
        if (column[0] < 0 || column[1] < 0)
            throw ExchangeError(
                WL_TR("exchange", "The header row needs a \"source\" and a \"target\" column"), rows[0].line);
        first = 1;
    }
    Catalog catalog;
    for (std::size_t r = first; r < rows.size(); ++r) {
        const Row& row = rows[r];
        const auto cell = [&row](int index) {
            return index >= 0 && static_cast<std::size_t>(index) < row.fields.size() ? row.fields[index]
                                                                                     : std::string();
        };
        if (row.fields.size() == 1 && row.fields[0].empty())
            continue; // an empty line
        if (row.fields.size() < 2)
            throw ExchangeError(WL_TR("exchange", "A row needs at least a source and a target"), row.line);
        Unit unit;
        unit.source = cell(column[0]);
        unit.target = cell(column[1]);
        const std::string state = cell(column[2]);
        if (state.empty()) {
            unit.state = unit.target.empty() ? UnitState::New : UnitState::Translated;
        } else if (const auto known = StateFromName(state)) {
            unit.state = *known;
        } else {
            throw ExchangeError(FillIn(WL_TR("exchange", "Unknown state \"%1\""), {state}), row.line);
        }
        for (const std::string& place : SplitLines(cell(column[3])))
            unit.places.push_back(ParsePlace(place));
        unit.notes = SplitLines(cell(column[4]));
        catalog.units.push_back(std::move(unit));
    }
    return catalog;
}

} // namespace wordloom::exchange
