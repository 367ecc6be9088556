// The workbook module's entry (built as a shared object of its own).
#include "lists/workbooks.h"
#include "cubtable/platform/xlsxspreadsheet.h"
#include "lists/platform/xlsxlistbook.h"

namespace zel {
namespace {

class Workbooks : public IWorkbooks {
public:
    std::unique_ptr<ISpreadsheetApp> spreadsheet() override { return std::make_unique<XlsxSpreadsheet>(); }
    void writeListWorkbook(const ListSheet& sheet, const QString& fileName) override
    {
        zel::writeListWorkbook(sheet, fileName);
    }
};

} // namespace
} // namespace zel

extern "C" __attribute__((visibility("default"))) zel::IWorkbooks* zelmora_workbook_open()
{
    static zel::Workbooks workbooks;
    return &workbooks;
}
