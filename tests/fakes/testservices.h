// Services for a main window under test: the given store, the program's
// file in a folder of the test's, the real base engine, the list's workbook
// and the summary's chart made directly, and a spreadsheet factory when one
// is given.
#pragma once

#include "base/platform/pgbase.h"
#include "base/platform/sqlitebase.h"
#include "engine/errors.h"
#include "lists/workbooks.h"
#include "lists/platform/xlsxlistbook.h"
#include "online/platform/localfiles.h"
#include "summary/ui/summarycharts.h"
#include "shell/ui/appservices.h"

namespace zel {

// The list's workbook written directly; the spreadsheet from the test's
// factory, none when it gave none.
class TestWorkbooks : public IWorkbooks {
public:
    SpreadsheetFactory start;

    std::unique_ptr<ISpreadsheetApp> spreadsheet() override
    {
        if (!start)
            throw Error(QStringLiteral("No spreadsheet application"));
        return start();
    }
    void writeListWorkbook(const ListSheet& sheet, const QString& fileName) override
    {
        zel::writeListWorkbook(sheet, fileName);
    }
};

inline AppServices testServices(ISettingsStore& store, const QString& programFile,
                                SpreadsheetFactory spreadsheet = {})
{
    static SqliteBaseFile baseFile;
    static PgServerBases serverBases;
    static TestWorkbooks books;
    static Facility<IWorkbooks> workbooks(books);
    static Facility<ISummaryCharts> charts(qtSummaryCharts());
    static LocalFiles files;
    books.start = std::move(spreadsheet);
    AppServices services{store, programFile, &baseFile, &workbooks, &charts};
    services.files = &files;
    services.serverBases = &serverBases;
    return services;
}

} // namespace zel
