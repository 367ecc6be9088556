// Services for a main window under test: the given store, the program's
// file in a folder of the test's, the real base engine, the list's workbook
// and the summary's chart made directly, and a spreadsheet factory when one
// is given.
#pragma once

#include "base/platform/sqlitebase.h"
#include "lists/platform/xlsxlistbook.h"
#include "summary/ui/summarycharts.h"
#include "shell/ui/appservices.h"

namespace zel {

inline AppServices testServices(ISettingsStore& store, const QString& programFile,
                                SpreadsheetFactory spreadsheet = {})
{
    static SqliteBaseFile baseFile;
    return AppServices{store, programFile, std::move(spreadsheet), &baseFile, writeListWorkbook, &qtSummaryCharts()};
}

} // namespace zel
