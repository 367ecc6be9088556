// The preview's pages, painted as they come into view.
#include "report/ui/pageview.h"

#include <QPaintEvent>
#include <QPainter>

namespace zel {
namespace {

constexpr int kGap = 12; // pixels around each page
// Pixels to the point: the page at its size on a screen of 96 dots per inch.
constexpr double kScale = 96.0 / 72.0;

class Sheets : public QWidget {
public:
    Sheets(const ReportPages& pages, const QPageLayout& paper, QWidget* parent)
        : QWidget(parent), m_pages(pages), m_paper(paper)
    {
    }

    QSize pageSize() const { return (m_paper.fullRect(QPageLayout::Point).size() * kScale).toSize(); }
    QSize sizeHint() const override
    {
        const QSize page = pageSize();
        return QSize(page.width() + 2 * kGap, static_cast<int>(m_pages.pages.size()) * (page.height() + kGap) + kGap);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), palette().dark());
        const QSize size = pageSize();
        const QPointF margins = m_paper.paintRect(QPageLayout::Point).topLeft() * kScale;
        for (int i = 0; i < m_pages.pages.size(); ++i) {
            const QRect sheet(QPoint((width() - size.width()) / 2, kGap + i * (size.height() + kGap)), size);
            if (!sheet.intersects(event->rect()))
                continue;
            painter.fillRect(sheet, Qt::white);
            paintReportPage(painter, m_pages, i, sheet.topLeft() + margins, kScale);
        }
    }

private:
    const ReportPages& m_pages;
    const QPageLayout m_paper;
};

} // namespace

PageView::PageView(QWidget* parent)
    : QScrollArea(parent)
{
    setAlignment(Qt::AlignHCenter);
    setBackgroundRole(QPalette::Dark);
}

void PageView::setPages(const ReportPages& pages, const QPageLayout& paper)
{
    m_pages = pages;
    m_paper = paperOf(pages, paper);
    auto* sheets = new Sheets(m_pages, m_paper, this);
    sheets->resize(sheets->sizeHint());
    setWidget(sheets);
}

} // namespace zel
