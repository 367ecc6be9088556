// One number format per count of decimals, so the cells show the list's decimals.
#include "lists/platform/xlsxlistbook.h"
#include "shell/platform/filebeside.h"

#include <xlsxwriter.h>

#include <QHash>

namespace zel {

void writeListWorkbook(const ListSheet& sheet, const QString& fileName)
{
    writeBeside(fileName, [&sheet](const QByteArray& partPath) {
        lxw_workbook* wb = workbook_new(partPath.constData());
        if (!wb)
            return false;
        lxw_worksheet* ws = workbook_add_worksheet(wb, sheet.name.toUtf8().constData());
        bool ok = ws != nullptr;
        // "0.0000" for four decimals.
        QHash<int, lxw_format*> formats;
        const auto format = [&](int decimals) -> lxw_format* {
            if (decimals < 0)
                return nullptr;
            if (!formats.contains(decimals)) {
                lxw_format* f = workbook_add_format(wb);
                const QByteArray pattern = decimals == 0 ? QByteArray("0")
                                                         : QByteArray("0.") + QByteArray(decimals, '0');
                format_set_num_format(f, pattern.constData());
                formats.insert(decimals, f);
            }
            return formats.value(decimals);
        };
        // One page wide however many rows, the captions on every page: a
        // printed list must show its volume column beside its lines.
        if (ok) {
            worksheet_fit_to_pages(ws, 1, 0);
            if (sheet.headerRow >= 0)
                ok = worksheet_repeat_rows(ws, static_cast<lxw_row_t>(sheet.headerRow),
                                           static_cast<lxw_row_t>(sheet.headerRow)) == LXW_NO_ERROR;
        }
        lxw_format* dateFormat = workbook_add_format(wb);
        format_set_num_format(dateFormat, "dd.mm.yyyy hh:mm");
        for (int c = 0; ok && c < sheet.widths.size(); ++c)
            ok = worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), sheet.widths[c],
                                      nullptr) == LXW_NO_ERROR;
        for (const SheetCell& cell : sheet.cells) {
            if (!ok)
                break;
            const auto row = static_cast<lxw_row_t>(cell.row);
            const auto col = static_cast<lxw_col_t>(cell.column);
            if (!cell.formula.isEmpty())
                ok = worksheet_write_formula_num(ws, row, col, cell.formula.toUtf8().constData(),
                                                 format(cell.decimals), cell.number) == LXW_NO_ERROR;
            else if (cell.isNumber)
                ok = worksheet_write_number(ws, row, col, cell.number, format(cell.decimals)) == LXW_NO_ERROR;
            else if (cell.dateTime.isValid()) {
                const QDate d = cell.dateTime.date();
                const QTime t = cell.dateTime.time();
                lxw_datetime when{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second() + t.msec() / 1000.0};
                ok = worksheet_write_datetime(ws, row, col, &when, dateFormat) == LXW_NO_ERROR;
            }
            else if (!cell.text.isEmpty())
                ok = worksheet_write_string(ws, row, col, cell.text.toUtf8().constData(), nullptr) == LXW_NO_ERROR;
        }
        const lxw_error closed = workbook_close(wb); // frees the workbook in every case
        return ok && closed == LXW_NO_ERROR;
    });
}

} // namespace zel
