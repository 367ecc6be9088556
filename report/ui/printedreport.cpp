// Reports read from their HTML, measured and painted.
#include "report/ui/printedreport.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <memory>

namespace zel {
namespace {

// Texts are measured on a device of the PDF writer's resolution, so the
// pages are the same whichever device they are painted on.
constexpr double kMeasureDpi = 1200.0;

const QImage& measuringDevice()
{
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = qRound(kMeasureDpi / 0.0254);
        i.setDotsPerMeterX(dotsPerMetre);
        i.setDotsPerMeterY(dotsPerMetre);
        return i;
    }();
    return image;
}

QFont fontAt(double pointSize, bool bold)
{
    QFont f;
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    // No ligatures: a PDF's "fi" would read back as one sign, not two letters.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

class FontMeasure : public TextMeasure {
public:
    double width(const QString& text, double pointSize, bool bold) const override
    {
        const Metrics& m = at(pointSize);
        return (bold ? m.bold : m.normal).horizontalAdvance(text) * 72.0 / kMeasureDpi;
    }
    double lineHeight(double pointSize) const override
    {
        return at(pointSize).bold.height() * 72.0 / kMeasureDpi;
    }

private:
    struct Metrics {
        QFontMetricsF normal;
        QFontMetricsF bold;
    };
    // A layout asks at a few sizes, thousands of times each.
    const Metrics& at(double pointSize) const
    {
        if (!m_metrics || m_size != pointSize) {
            m_metrics.reset(new Metrics{QFontMetricsF(fontAt(pointSize, false), &measuringDevice()),
                                        QFontMetricsF(fontAt(pointSize, true), &measuringDevice())});
            m_size = pointSize;
        }
        return *m_metrics;
    }
    mutable std::unique_ptr<Metrics> m_metrics;
    mutable double m_size = 0.0;
};

} // namespace

const TextMeasure& printedMeasure()
{
    static const FontMeasure measure;
    return measure;
}

ReportSource reportSourceFromHtml(const QString& html)
{
    QTextDocument doc;
    doc.setHtml(html);
    ReportSource s;
    const QTextTable* table = nullptr;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (auto* t = qobject_cast<QTextTable*>(it.currentFrame())) {
            table = table ? table : t;
            continue;
        }
        const QTextBlock b = it.currentBlock();
        const QString text = b.text().trimmed();
        if (table || text.isEmpty())
            continue;
        s.heading << text;
        // An <Hn> heading's type: Qt's own scale of the six levels.
        static const double scales[] = {1.0, 2.0, 1.5, 1.17, 1.0, 0.83, 0.67};
        s.headingScale = scales[std::clamp(b.blockFormat().headingLevel(), 0, 6)];
    }
    if (!table)
        return s;
    s.rows = table->rows();
    s.columns = table->columns();
    const QTextTableFormat format = table->format();
    if (format.width().type() == QTextLength::PercentageLength)
        s.widthFraction = format.width().rawValue() / 100.0;
    for (const QTextLength& l : format.columnWidthConstraints())
        s.columnFractions << (l.type() == QTextLength::PercentageLength ? l.rawValue() / 100.0 : 0.0);
    s.columnFractions.resize(s.columns);
    for (int r = 0; r < s.rows; ++r) {
        for (int c = 0; c < s.columns; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            QTextCursor cursor = cell.firstCursorPosition();
            cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            ReportSource::Cell out;
            out.text = cursor.selectedText().replace(QChar::Nbsp, QLatin1Char(' ')).trimmed();
            out.row = r;
            out.column = c;
            out.rowSpan = cell.rowSpan();
            out.columnSpan = cell.columnSpan();
            const QTextBlock b = cell.firstCursorPosition().block();
            for (auto f = b.begin(); !f.atEnd(); ++f)
                out.bold = out.bold || f.fragment().charFormat().fontWeight() > QFont::Normal;
            s.cells << out;
        }
    }
    return s;
}

ReportPages layOutReport(const ReportSource& source, const QPageLayout& paper)
{
    return layOutReport(source, paper.paintRect(QPageLayout::Point).size(), printedMeasure());
}

QPageLayout paperOf(const ReportPages& pages, QPageLayout paper)
{
    if (pages.turned)
        paper.setOrientation(paper.orientation() == QPageLayout::Portrait ? QPageLayout::Landscape
                                                                           : QPageLayout::Portrait);
    return paper;
}

QFont printedFont(double pointSize, bool bold, double pixelsPerPoint, double deviceDpi)
{
    // The device turns points into its pixels by its own resolution.
    return fontAt(pointSize * pixelsPerPoint * 72.0 / deviceDpi, bold);
}

QFont printedFont(const PrintedText& text, double pixelsPerPoint, double deviceDpi)
{
    return printedFont(text.pointSize, text.bold, pixelsPerPoint, deviceDpi);
}

void paintReportPage(QPainter& painter, const ReportPages& pages, int index, QPointF origin,
                     double pixelsPerPoint)
{
    const double dpi = painter.device()->logicalDpiY();
    painter.save();
    QPen frame(Qt::black);
    frame.setWidthF(std::max(1.0, 0.5 * pixelsPerPoint));
    painter.setPen(frame);
    for (const PrintedText& t : pages.pages.value(index)) {
        const QRectF r(origin + t.rect.topLeft() * pixelsPerPoint, t.rect.size() * pixelsPerPoint);
        painter.setFont(printedFont(t, pixelsPerPoint, dpi));
        if (t.row < 0) {
            painter.drawText(r, Qt::AlignCenter | Qt::TextWordWrap, t.text);
            continue;
        }
        painter.drawRect(r);
        painter.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, t.text);
    }
    painter.restore();
}

void printReport(QPagedPaintDevice& device, const ReportPages& pages, const QPageLayout& paper)
{
    device.setPageLayout(paperOf(pages, paper));
    QPainter painter(&device);
    const double pixelsPerPoint = device.logicalDpiX() / 72.0;
    for (int i = 0; i < pages.pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        paintReportPage(painter, pages, i, QPointF(), pixelsPerPoint);
    }
}

void printFlow(QPagedPaintDevice& device, const FlowPages& pages, const QVector<QImage>& pictures)
{
    QPainter painter(&device);
    const double scale = device.logicalDpiX() / 72.0; // device pixels to the point
    const double dpi = device.logicalDpiY();
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, 0.5 * scale));
    painter.setPen(pen);
    // A long list sets thousands of texts in a few fonts.
    double size = -1.0;
    bool bold = false;
    for (int p = 0; p < pages.pages.size(); ++p) {
        if (p > 0)
            device.newPage();
        for (const PageItem& item : pages.pages[p]) {
            const QRectF r(item.rect.topLeft() * scale, item.rect.size() * scale);
            switch (item.kind) {
            case PageItem::Line:
                painter.drawLine(r.topLeft(), r.bottomRight());
                break;
            case PageItem::Picture:
                if (item.picture >= 0 && item.picture < pictures.size())
                    painter.drawImage(r, pictures[item.picture]);
                break;
            case PageItem::Text:
                if (item.pointSize != size || item.bold != bold) {
                    size = item.pointSize;
                    bold = item.bold;
                    painter.setFont(printedFont(size, bold, scale, dpi));
                }
                const Qt::Alignment across = item.centred ? Qt::AlignHCenter
                                             : item.right ? Qt::AlignRight
                                                          : Qt::AlignLeft;
                painter.drawText(r, across | Qt::AlignVCenter, item.text);
                break;
            }
        }
    }
}

} // namespace zel
