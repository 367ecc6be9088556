// The spreadsheet application the table is exported through: the calls the
// export makes, in the order it makes them.
#pragma once

#include "lists/workbooks.h"

#include <QString>

namespace zel {

struct CubTable;

// The sheet's name, whatever the table shows.
QString exportSheetName();

// The name a workbook is saved under: `name`, with ".xlsx" after it unless it
// ends so already. What is written is an Office Open XML workbook, which
// spreadsheet programs warn about, or refuse, under any other suffix.
QString workbookFileName(const QString& name);

// Fills a new workbook with the grid, cell (c, r) at row r + 1 and column
// c + 1, column by column, every value as the text the grid shows, and saves
// it. An error before the save reaches the caller after the application has
// been told to quit; a failed save gives false. The application always quits.
bool exportTable(ISpreadsheetApp& app, const CubTable& grid, const QString& fileName);

} // namespace zel
