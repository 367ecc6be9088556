// The list's worksheet as an Office Open XML workbook, through libxlsxwriter.
#pragma once

#include "lists/listsheet.h"

namespace zel {

// Writes the sheet as a workbook beside `fileName` and renames it over it, so
// a failed write leaves no half file. Throws InOutError.
void writeListWorkbook(const ListSheet& sheet, const QString& fileName);

} // namespace zel
