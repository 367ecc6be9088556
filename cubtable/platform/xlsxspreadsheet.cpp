// libxlsxwriter writes a workbook in one go at the end, so the cells are kept
// until the save; the file is written beside its target and renamed over it,
// so a failed save leaves no half-written workbook.
#include "cubtable/platform/xlsxspreadsheet.h"
#include "engine/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cstdio>

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
    const QFileInfo target(fileName);
    QString part;
    {
        QTemporaryFile reserve(target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX")));
        if (!reserve.open())
            throw InOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, reserve.errorString()));
        reserve.setAutoRemove(false);
        part = reserve.fileName();
    }
    const QByteArray partPath = QFile::encodeName(part);
    lxw_workbook* wb = workbook_new(partPath.constData());
    if (!wb) {
        QFile::remove(part);
        throw InOutError(QStringLiteral("Cannot create file \"%1\"").arg(fileName));
    }
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
    if (!ok || closed != LXW_NO_ERROR
        || std::rename(partPath.constData(), QFile::encodeName(fileName).constData()) != 0) {
        QFile::remove(part);
        throw InOutError(QStringLiteral("Cannot save \"%1\"").arg(fileName));
    }
}

void XlsxSpreadsheet::quit()
{
    m_workbook = false;
    m_sheet = false;
    m_cells.clear();
}

} // namespace zel
