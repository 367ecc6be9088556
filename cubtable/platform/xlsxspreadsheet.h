// The spreadsheet application as libxlsxwriter: an Office Open XML workbook.
#pragma once

#include "cubtable/spreadsheet.h"

#include <QMap>
#include <QPair>

namespace zel {

class XlsxSpreadsheet : public ISpreadsheetApp {
public:
    void setVisible(bool) override {}
    void workbooksAdd(int kind) override;
    void firstWorksheet() override;
    void setWorksheetName(const QString& name) override;
    void setCell(int row, int column, const QString& text) override;
    void saveAs(const QString& fileName) override;
    void setDisplayAlerts(bool) override {}
    void quit() override;

private:
    bool m_workbook = false;
    bool m_sheet = false;
    QString m_name = QStringLiteral("Sheet1");
    QMap<QPair<int, int>, QString> m_cells;
};

} // namespace zel
