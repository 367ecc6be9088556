// Exporting the table through the spreadsheet application.
#include "cubtable/spreadsheet.h"
#include "cubtable/cubtable.h"

namespace zel {

QString exportSheetName()
{
    return QStringLiteral("Код 503");
}

QString workbookFileName(const QString& name)
{
    static const QString suffix = QStringLiteral(".xlsx");
    return name.endsWith(suffix, Qt::CaseInsensitive) ? name : name + suffix;
}

bool exportTable(ISpreadsheetApp& app, const CubTable& grid, const QString& fileName)
{
    auto close = [&app] {
        app.setDisplayAlerts(false);
        app.quit();
    };
    try {
        app.setVisible(false);
        app.workbooksAdd(kSingleSheetWorkbook);
        app.firstWorksheet();
        app.setWorksheetName(exportSheetName());
        for (int c = 0; c < grid.columns; ++c)
            for (int r = 0; r < grid.rows; ++r)
                app.setCell(r + 1, c + 1, grid.cell(c, r));
    } catch (...) {
        close();
        throw;
    }
    bool saved = true;
    try {
        app.saveAs(fileName);
    } catch (...) {
        saved = false;
    }
    close();
    return saved;
}

} // namespace zel
