// The spreadsheet application the table is exported through: the calls the
// export makes, in the order it makes them.
#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace zel {

struct CubTable;

class ISpreadsheetApp {
public:
    virtual ~ISpreadsheetApp() = default;
    virtual void setVisible(bool visible) = 0;
    // A new workbook; -4167 asks for one with a single worksheet.
    virtual void workbooksAdd(int kind) = 0;
    // The first worksheet of the first workbook becomes the one worked on.
    virtual void firstWorksheet() = 0;
    virtual void setWorksheetName(const QString& name) = 0;
    // Row and column count from 1.
    virtual void setCell(int row, int column, const QString& text) = 0;
    // Saves the first workbook; throws when it cannot.
    virtual void saveAs(const QString& fileName) = 0;
    virtual void setDisplayAlerts(bool on) = 0;
    virtual void quit() = 0;
};

// Starts the application; throws when there is none.
using SpreadsheetFactory = std::function<std::unique_ptr<ISpreadsheetApp>()>;

constexpr int kSingleSheetWorkbook = -4167;

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
