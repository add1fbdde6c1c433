#include "exchange/paradox_import.h"
#include "base/filing_rule.h"
#include "base/ui_text.h"

// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

namespace wordloom::exchange {

namespace {

// pxlib reports through a callback; the last message is kept for the exception.
void KeepError(pxdoc_t*, int, const char* message, void* data) {
    *static_cast<std::string*>(data) = message != nullptr ? message : "";
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::size_t FieldIndex(const std::vector<std::string>& languages, const std::string& name) {
    for (std::size_t i = 0; i < languages.size(); ++i)
        if (SameName(languages[i], name))
            return i;
    throw ExchangeError(FillIn(WL_TR("exchange", "The Paradox table has no field %1"), {name}), 0);
}

struct Document {
    std::string error;
    pxdoc_t* doc = nullptr;
    FILE* file = nullptr;
    bool open = false;
    ~Document() {
        if (open)
            PX_close(doc);
        if (doc != nullptr)
            PX_delete(doc);
        if (file != nullptr)
            std::fclose(file);
    }
};

// pxlib follows the chain of data blocks the header starts without looking back: a chain that
// comes round to a block again keeps it reading for ever, so the chain is walked here first.
void CheckBlockChain(std::string_view data) {
    if (data.size() < 0x20)
        return; // too short for a header: pxlib says so itself
    const auto word = [data](std::size_t at) {
        return static_cast<std::size_t>(static_cast<unsigned char>(data[at]) |
                                        static_cast<unsigned char>(data[at + 1]) << 8);
    };
    const std::size_t headerSize = word(0x02);
    const std::size_t blockSize = static_cast<std::size_t>(static_cast<unsigned char>(data[0x05])) * 0x400;
    if (blockSize == 0)
        throw ExchangeError(
            WL_TR("exchange", "The file is not a Paradox table: its header gives no block size"), 0);
    std::vector<bool> seen(0x10000);
    for (std::size_t block = word(0x0E); block != 0;) {
        const std::size_t at = headerSize + (block - 1) * blockSize;
        if (at + 6 > data.size())
            throw ExchangeError(
                FillIn(WL_TR("exchange",
                             "The file is not a Paradox table: its data block %1 lies beyond its end"),
                       {std::to_string(block)}),
                0);
        if (seen[block])
            throw ExchangeError(
                WL_TR("exchange", "The file is not a Paradox table: its data blocks run in a circle"), 0);
        seen[block] = true;
        block = word(at);
    }
}

// pxlib reads records by the header's field list as it stands: a list longer than the header, a
// field of no known type or of a length its type cannot have, or lengths that do not add up to the record
// size make it read memory it has freed. Only data files (types 0 and 2) are checked; the others pxlib
// refuses.
void CheckFields(std::string_view data) {
    if (data.size() < 0x78 || (data[0x04] != 0 && data[0x04] != 2))
        return;
    const auto byte = [data](std::size_t at) {
        return static_cast<std::size_t>(static_cast<unsigned char>(data[at]));
    };
    const std::size_t recordSize = byte(0x00) | byte(0x01) << 8;
    const std::size_t headerSize = byte(0x02) | byte(0x03) << 8;
    const std::size_t fieldCount = byte(0x21) | byte(0x22) << 8;
    // Paradox 4 and later data files have the longer header.
    const std::size_t start = byte(0x39) >= 5 ? 0x78 : 0x58;
    const std::string broken =
        WL_TR("exchange", "The file is not a Paradox table: its list of fields is broken");
    if (fieldCount == 0 || start + 2 * fieldCount > std::min(headerSize, data.size()))
        throw ExchangeError(broken, 0);
    struct FieldType {
        unsigned char type;
        std::size_t minLength; ///< pxlib copies fixed-size values into buffers of their size
        std::size_t maxLength;
    };
    constexpr FieldType kTypes[] = {
        {0x01, 1, 255}, {0x02, 4, 4},    {0x03, 2, 2},    {0x04, 4, 4},    {0x05, 8, 8},    {0x06, 8, 8},
        {0x09, 1, 1},   {0x0C, 10, 255}, {0x0D, 10, 255}, {0x0E, 10, 255}, {0x0F, 10, 255}, {0x10, 10, 255},
        {0x14, 4, 4},   {0x15, 8, 8},    {0x16, 4, 4},    {0x17, 17, 17},  {0x18, 1, 255}};
    std::size_t total = 0;
    for (std::size_t f = 0; f < fieldCount; ++f) {
        const auto type = static_cast<unsigned char>(data[start + 2 * f]);
        const std::size_t length = byte(start + 2 * f + 1);
        const auto known = std::find_if(std::begin(kTypes), std::end(kTypes),
                                        [type](const FieldType& entry) { return entry.type == type; });
        if (known == std::end(kTypes) || length < known->minLength || length > known->maxLength)
            throw ExchangeError(broken, 0);
        total += length;
    }
    if (total != recordSize)
        throw ExchangeError(broken, 0);
}

} // namespace

ParadoxTable ReadParadox(std::string_view data) {
    CheckExchangeSize(data);
    std::string buffer(data);
    Document px;
    px.doc = PX_new3(KeepError, nullptr, nullptr, nullptr, &px.error);
    if (px.doc == nullptr)
        throw ExchangeError(WL_TR("exchange", "pxlib could not be started"), 0);
    if (buffer.empty())
        throw ExchangeError(WL_TR("exchange", "The file is not a Paradox table: it is empty"), 0);
    CheckBlockChain(buffer);
    CheckFields(buffer);
    px.file = fmemopen(buffer.data(), buffer.size(), "rb");
    if (px.file == nullptr)
        throw ExchangeError(WL_TR("exchange", "The file is not a Paradox table"), 0);
    if (PX_open_fp(px.doc, px.file) < 0) {
        // pxlib has already freed parts of the document on a failed open; deleting it again
        // frees them twice, so the small document is given up.
        px.doc = nullptr;
        throw ExchangeError(FillIn(WL_TR("exchange", "The file is not a Paradox table: %1"), {px.error}), 0);
    }
    px.open = true;
    ParadoxTable table;
    float codePage = 0;
    if (PX_get_value(px.doc, "codepage", &codePage) == 0)
        table.codePage = static_cast<int>(codePage);
    PX_set_targetencoding(px.doc, "UTF-8");
    const int fieldCount = PX_get_num_fields(px.doc);
    pxfield_t* fields = PX_get_fields(px.doc);
    if (fieldCount <= 0 || fields == nullptr)
        throw ExchangeError(FillIn(WL_TR("exchange", "The file is not a Paradox table: %1"), {px.error}), 0);
    // Field roles: a language index, or -1 Project, -2 SpFront, -3 SpEnd, -4 anything else.
    std::vector<int> role;
    for (int f = 0; f < fieldCount; ++f) {
        const std::string name = fields[f].px_fname != nullptr ? fields[f].px_fname : "";
        if (SameName(name, "Project")) {
            role.push_back(-1);
        } else if (SameName(name, "SpFront")) {
            role.push_back(-2);
        } else if (SameName(name, "SpEnd")) {
            role.push_back(-3);
        } else if (fields[f].px_ftype == pxfAlpha) {
            role.push_back(static_cast<int>(table.languages.size()));
            table.languages.push_back(name);
        } else {
            role.push_back(-4);
        }
    }
    if (table.languages.empty())
        throw ExchangeError(WL_TR("exchange", "The Paradox table has no language field"), 0);
    const int records = PX_get_num_records(px.doc);
    for (int r = 0; r < records; ++r) {
        pxval_t** values = PX_retrieve_record(px.doc, r);
        if (values == nullptr)
            throw ExchangeError(FillIn(WL_TR("exchange", "Record %1 of the Paradox table cannot be read: %2"),
                                       {std::to_string(r + 1), px.error}),
                                0);
        ParadoxTable::Record record;
        record.texts.resize(table.languages.size());
        for (int f = 0; f < fieldCount; ++f) {
            pxval_t* value = values[f];
            if (value == nullptr)
                continue;
            if (!value->isnull) {
                const bool text = value->type == pxfAlpha;
                const std::string str =
                    text && value->value.str.val != nullptr
                        ? std::string(value->value.str.val, static_cast<std::size_t>(value->value.str.len))
                        : std::string();
                if (role[f] >= 0)
                    record.texts[static_cast<std::size_t>(role[f])] = std::string(TrimControls(str.c_str()));
                else if (role[f] == -1)
                    record.project = str.c_str();
                else if (role[f] == -2 && !text)
                    record.spFront = value->value.lval;
                else if (role[f] == -3 && !text)
                    record.spEnd = value->value.lval;
            }
            if (value->type == pxfAlpha && value->value.str.val != nullptr)
                px.doc->free(px.doc, value->value.str.val);
            FREE_PXVAL(px.doc, value);
        }
        px.doc->free(px.doc, values);
        table.records.push_back(std::move(record));
    }
    return table;
}

Catalog CatalogFromParadox(const ParadoxTable& table, const std::string& sourceLanguage,
                           const std::string& targetLanguage) {
    const std::size_t source = FieldIndex(table.languages, sourceLanguage);
    const std::size_t target = FieldIndex(table.languages, targetLanguage);
    Catalog catalog;
    catalog.sourceLanguage = table.languages[source];
    catalog.targetLanguage = table.languages[target];
    for (const ParadoxTable::Record& record : table.records) {
        if (record.texts[source].empty())
            continue;
        Unit unit;
        unit.source = record.texts[source];
        unit.target = record.texts[target];
        unit.state = unit.target.empty() ? UnitState::New : UnitState::Translated;
        unit.spFront = record.spFront;
        unit.spEnd = record.spEnd;
        catalog.units.push_back(std::move(unit));
    }
    return catalog;
}

} // namespace wordloom::exchange
