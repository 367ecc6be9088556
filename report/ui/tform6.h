// The print preview window: shows the report file and prints it.
#pragma once

#include "report/ui/printedreport.h"

#include <QWidget>

class QPagedPaintDevice;
class QPushButton;

namespace zel {

class Log;
class PageView;

class TForm6 : public QWidget {
    Q_OBJECT
public:
    // Owned by `owner` (destroyed with it); loads the report file as it stands now.
    TForm6(QWidget* owner, Log& log, const QString& reportFile);

    // Prints the shown document, laid out for the printer's paper (its
    // orientation turned where the table needs it); returns the pages printed.
    ReportPages printTo(QPagedPaintDevice& printer);
    QString documentText() const { return m_text; }
    // The pages shown: those a print on A4 makes.
    const ReportPages& shownPages() const;
    // Paper of `size` and orientation with the margins every print keeps.
    static QPageLayout paper(const QPageSize& size, QPageLayout::Orientation orientation);

private slots:
    void Button2Click();
    void Button1Click();

private:
    void FormCreate(const QString& reportFile);
    void centreOnScreen();

    Log& m_log;
    QPushButton* Button2;
    QPushButton* Button1;
    // The pages as they print; the document's text is kept beside them.
    PageView* WebBrowser1;
    ReportSource m_source;
    QString m_text;
};

} // namespace zel
