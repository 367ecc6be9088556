// libxlsxwriter writes a workbook in one go at the end, so the cells are kept
// until the save; the file is written beside its target and renamed over it,
// so a failed save leaves no half-written workbook.
#include "cubtable/platform/xlsxspreadsheet.h"
#include "engine/errors.h"
#include "shell/platform/filebeside.h"

#include <xlsxwriter.h>

namespace zel {

void XlsxSpreadsheet::workbooksAdd(int)
{
    m_workbook = true;
    m_cells.clear();
}

void XlsxSpreadsheet::firstWorksheet()
{
    if (!m_workbook)
        throw Error(QStringLiteral("No workbook is open"));
    m_sheet = true;
}

void XlsxSpreadsheet::setWorksheetName(const QString& name)
{
    if (!m_sheet)
        throw Error(QStringLiteral("No worksheet is selected"));
    m_name = name;
}

void XlsxSpreadsheet::setCell(int row, int column, const QString& text)
{
    if (!m_sheet)
        throw Error(QStringLiteral("No worksheet is selected"));
    if (row < 1 || column < 1 || row > 1048576 || column > 16384)
        throw Error(QStringLiteral("No cell at row %1, column %2").arg(row).arg(column));
    m_cells[{row, column}] = text;
}

void XlsxSpreadsheet::saveAs(const QString& fileName)
{
    if (!m_sheet)
        throw Error(QStringLiteral("No worksheet to save"));
    writeBeside(fileName, [this](const QByteArray& partPath) {
        lxw_workbook* wb = workbook_new(partPath.constData());
        if (!wb)
            return false;
        lxw_worksheet* ws = workbook_add_worksheet(wb, m_name.toUtf8().constData());
        bool ok = ws != nullptr;
        for (auto it = m_cells.cbegin(); ok && it != m_cells.cend(); ++it) {
            if (it.value().isEmpty())
                continue;
            ok = worksheet_write_string(ws, static_cast<lxw_row_t>(it.key().first - 1),
                                        static_cast<lxw_col_t>(it.key().second - 1),
                                        it.value().toUtf8().constData(), nullptr) == LXW_NO_ERROR;
        }
        const lxw_error closed = workbook_close(wb); // frees the workbook in every case
        return ok && closed == LXW_NO_ERROR;
    });
}

void XlsxSpreadsheet::quit()
{
    m_workbook = false;
    m_sheet = false;
    m_cells.clear();
}

} // namespace zel
