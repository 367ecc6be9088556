// The workbooks the program writes: the spreadsheet application the
// cubature table is exported through (the calls the export makes, in the
// order it makes them), and the list's workbook. Both come through
// libxlsxwriter, in the workbook module the program carries and opens at
// the first workbook written: that library brings OpenSSL, whose loading
// alone cost the start-up more than a window.
#pragma once

#include "lists/listsheet.h"

#include <QString>

#include <functional>
#include <memory>

namespace zel {

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

class IWorkbooks {
public:
    virtual ~IWorkbooks() = default;
    virtual std::unique_ptr<ISpreadsheetApp> spreadsheet() = 0;
    // As writeListWorkbook: throws InOutError.
    virtual void writeListWorkbook(const ListSheet& sheet, const QString& fileName) = 0;
};

// The module's one entry, IWorkbooks* zelmora_workbook_open(): the workbooks,
// for the rest of the run.
inline constexpr const char kWorkbookModuleOpen[] = "zelmora_workbook_open";

} // namespace zel
