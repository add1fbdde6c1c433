#include "exchange/table_export.h"
#include "exchange/tmx_format.h"

namespace wordloom::exchange {

ExportedFile ExportTable(StringsTable& table, Format format, const ExportOptions& options,
                         const UnitDetails& details, bool csvMark) {
    ExportedFile file;
    if (format == Format::Tmx) {
        const Memory memory = options.targetLanguage.empty()
                                  ? MemoryFromTable(table, options.sourceLanguage, options.project)
                                  : MemoryFromCatalog(CatalogFromTable(table, options, details));
        file.count = memory.rows.size(); // a memory holds translated texts only
        file.data = WriteTmx(memory);
        return file;
    }
    const Catalog catalog = CatalogFromTable(table, options, details);
    file.count = catalog.units.size();
    file.data = WriteCatalog(format, catalog, csvMark);
    return file;
}

} // namespace wordloom::exchange
