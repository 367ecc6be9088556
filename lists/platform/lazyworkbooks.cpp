#include "lists/platform/lazyworkbooks.h"
#include "engine/errors.h"

namespace zel {

LazyWorkbooks::LazyWorkbooks(EmbeddedModule& module)
    : m_workbooks(module, kWorkbookModuleOpen)
{
}

SpreadsheetFactory LazyWorkbooks::spreadsheetFactory()
{
    return [this] {
        IWorkbooks* books = m_workbooks.get();
        if (!books)
            throw Error(m_workbooks.error());
        return books->spreadsheet();
    };
}

ListWorkbookWriter LazyWorkbooks::listWorkbookWriter()
{
    return [this](const ListSheet& sheet, const QString& fileName) {
        IWorkbooks* books = m_workbooks.get();
        if (!books)
            throw InOutError(m_workbooks.error());
        books->writeListWorkbook(sheet, fileName);
    };
}

} // namespace zel
