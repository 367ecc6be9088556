// The pages of a report as they will print, one below the other.
#pragma once

#include "report/ui/printedreport.h"

#include <QScrollArea>

namespace zel {

class PageView : public QScrollArea {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);
    // The pages laid out for `paper`, on it (turned where they are).
    void setPages(const ReportPages& pages, const QPageLayout& paper);
    const ReportPages& pages() const { return m_pages; }

private:
    ReportPages m_pages;
    QPageLayout m_paper;
};

} // namespace zel
