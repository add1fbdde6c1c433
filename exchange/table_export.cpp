#include "exchange/table_export.h"
#include "exchange/tmx_format.h"

#include <array>

namespace wordloom::exchange {

ExportedFile ExportTable(StringsTable& table, Format format, const ExportOptions& options,
                         const UnitDetails& details, bool csvMark) {
    ExportedFile file;
    // A memory is written as the table is read: no catalogue or memory of the whole table is held
    // beside the document. It holds translated texts only.
    if (format == Format::Tmx && options.targetLanguage.empty()) {
        const std::vector<std::string> languages = MemoryLanguages(table, options.sourceLanguage);
        TmxWriter tmx(languages.front(), languages);
        ForEachMemoryRow(table, languages, options.project,
                         [&](std::vector<std::string>& row) { file.count += tmx.Row(row) ? 1 : 0; });
        file.data = tmx.Finish();
        return file;
    }
    if (format == Format::Tmx) {
        const Catalog head = CatalogHeadOf(table, options);
        TmxWriter tmx(head.sourceLanguage, {head.sourceLanguage, head.targetLanguage});
        std::array<std::string, 2> pair;
        ForEachTableUnit(table, head, options, details, false, [&](Unit& unit) {
            if (unit.target.empty())
                return;
            pair = {std::move(unit.source), std::move(unit.target)};
            file.count += tmx.Row(pair) ? 1 : 0;
        });
        file.data = tmx.Finish();
        return file;
    }
    const Catalog catalog = CatalogFromTable(table, options, details);
    file.count = catalog.units.size();
    file.data = WriteCatalog(format, catalog, csvMark);
    return file;
}

} // namespace wordloom::exchange
