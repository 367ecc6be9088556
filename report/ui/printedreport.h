// Reports on paper: read from their HTML, measured in the type they print
// in, painted on a printer or on the preview's pages.
#pragma once

#include "report/pageflow.h"
#include "report/printlayout.h"

#include <QFont>
#include <QPageLayout>

class QImage;
class QPagedPaintDevice;
class QPainter;

namespace zel {

ReportSource reportSourceFromHtml(const QString& html);

// The report laid out for `paper` (margins the same all round), its texts
// measured as a PDF writer's or a printer's pages show them.
ReportPages layOutReport(const ReportSource& source, const QPageLayout& paper);

// The paper the pages print on: `paper`, turned where the layout says so.
QPageLayout paperOf(const ReportPages& pages, QPageLayout paper);

// Texts measured as a PDF writer's or a printer's pages show them.
const TextMeasure& printedMeasure();

// The font of a placed text for a painter on a device of `deviceDpi` whose
// units are `pixelsPerPoint` of its pixels.
QFont printedFont(double pointSize, bool bold, double pixelsPerPoint, double deviceDpi);
QFont printedFont(const PrintedText& text, double pixelsPerPoint, double deviceDpi);

// Paints page `index` with its printable area's top left at `origin`,
// `pixelsPerPoint` device pixels to the point.
void paintReportPage(QPainter& painter, const ReportPages& pages, int index, QPointF origin,
                     double pixelsPerPoint);

// The pages on a printer or PDF file: its paper set to `paper` (turned as the
// layout says), then every page painted.
void printReport(QPagedPaintDevice& device, const ReportPages& pages, const QPageLayout& paper);

// The pages of a document on a printer or PDF file whose printable area
// they were laid out for, `pictures` drawn where its items name them.
void printFlow(QPagedPaintDevice& device, const FlowPages& pages, const QVector<QImage>& pictures);

} // namespace zel
