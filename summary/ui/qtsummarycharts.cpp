// Qt Charts' drawing of the lot summary's chart.
#include "summary/ui/summarycharts.h"
#include "shell/langtable.h"
#include "summary/summarydoc.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>

namespace zel {
namespace {

// Class colours: small to thick, light to dark wood.
const QColor kClassColours[kDiameterClasses] = {QColor(0xe8, 0xc9, 0x8f), QColor(0xc8, 0x96, 0x4b),
                                                QColor(0x9a, 0x62, 0x2b), QColor(0x5e, 0x3a, 0x1a)};

// The series and axes of one kind of chart, made once: later summaries only
// change their data (series made and dropped over and over leave their
// drawn items behind in the chart's scene).
void buildChart(QChart& chart, bool boards)
{
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
    auto* axisX = new QBarCategoryAxis;
    auto* axisY = new QValueAxis;
    chart.addAxis(axisX, Qt::AlignBottom);
    chart.addAxis(axisY, Qt::AlignLeft);
    QAbstractBarSeries* bars = nullptr;
    if (boards) {
        bars = new QBarSeries;
        auto* set = new QBarSet(QString());
        set->setColor(kClassColours[1]);
        bars->append(set);
    } else {
        // One set per class, so each bar takes its class's colour.
        bars = new QStackedBarSeries;
        for (const QColor& colour : kClassColours) {
            auto* set = new QBarSet(QString());
            set->setColor(colour);
            bars->append(set);
        }
    }
    bars->setBarWidth(0.8);
    chart.addSeries(bars);
    bars->attachAxis(axisX);
    bars->attachAxis(axisY);
    if (!boards) {
        auto* counts = new QLineSeries;
        counts->setColor(QColor(0x1f, 0x5f, 0xa8));
        counts->setPointsVisible(true); // a single diameter is one point
        auto* axisCount = new QValueAxis;
        axisCount->setLabelFormat(QStringLiteral("%.0f")); // logs are counted whole
        chart.addAxis(axisCount, Qt::AlignRight);
        chart.addSeries(counts);
        counts->attachAxis(axisX);
        counts->attachAxis(axisCount);
    }
    chart.setProperty("boards", boards);
}

// A tick step of 1, 2 or 5 times a power of ten that parts 0..`most` into
// at most `ticks` steps: counts are whole, and read best in round steps.
qint64 wholeStep(qint64 most, int ticks)
{
    qint64 power = 1;
    for (;;) {
        for (const qint64 factor : {1, 2, 5}) {
            if (most <= power * factor * ticks)
                return power * factor;
        }
        power *= 10;
    }
}

QLocale localeOf(UiLanguage l)
{
    switch (l) {
    case UiLanguage::Ukrainian:
        return QLocale(QLocale::Ukrainian, QLocale::Ukraine);
    case UiLanguage::Russian:
        return QLocale(QLocale::Russian, QLocale::Russia);
    case UiLanguage::English:
        break;
    }
    return QLocale(QLocale::English, QLocale::UnitedKingdom);
}

void fillSummaryChart(QChart& chart, const LotSummary& s, const SummaryParams& p, UiLanguage l)
{
    const QVariant built = chart.property("boards");
    if (!built.isValid() || built.toBool() != s.boards)
        buildChart(chart, s.boards);
    chart.setTitle(Lang(s.boards ? kTxtVolumeBySection : kTxtVolumeByDiameter, l));
    // The axes write numbers with the interface's decimal mark.
    chart.setLocalizeNumbers(true);
    chart.setLocale(localeOf(l));
    QStringList categories;
    double maxVolume = 0.0;
    std::int64_t maxCount = 0;
    for (const ChartBar& bar : s.bars) {
        categories << bar.label;
        maxVolume = std::max(maxVolume, bar.volume);
        maxCount = std::max(maxCount, bar.count);
    }
    auto* bars = static_cast<QAbstractBarSeries*>(chart.series().at(0));
    auto* axisX = static_cast<QBarCategoryAxis*>(chart.axes(Qt::Horizontal).at(0));
    auto* axisY = static_cast<QValueAxis*>(chart.axes(Qt::Vertical, bars).at(0));
    // With no categories the axis keeps drawing the labels it had.
    axisX->setCategories(categories);
    axisX->setLabelsVisible(!categories.isEmpty());
    axisX->setTitleText(Lang(s.boards ? kTxtSection : 3, l));
    axisY->setTitleText(Lang(kTxtVolumeM3, l));
    axisY->setRange(0.0, maxVolume > 0.0 ? maxVolume * 1.05 : 1.0);

    const QList<QBarSet*> sets = bars->barSets();
    for (int c = 0; c < sets.size(); ++c) {
        QList<qreal> values(s.bars.size(), 0.0);
        for (int i = 0; i < s.bars.size(); ++i)
            if (s.boards || s.bars[i].cls == c)
                values[i] = s.bars[i].volume;
        // The legend reads its texts as rich text: "< 6" would open a tag.
        sets[c]->setLabel((s.boards ? Lang(kTxtVolumeM3, l) : className(c, p.bounds, l)).toHtmlEscaped());
        sets[c]->remove(0, sets[c]->count());
        sets[c]->append(values);
    }
    if (s.boards)
        return;
    auto* counts = static_cast<QLineSeries*>(chart.series().at(1));
    QList<QPointF> points;
    points.reserve(s.bars.size());
    for (int i = 0; i < s.bars.size(); ++i)
        points.append(QPointF(i, static_cast<qreal>(s.bars[i].count)));
    counts->replace(points);
    counts->setName(Lang(kTxtPieces, l));
    auto* axisCount = static_cast<QValueAxis*>(chart.axes(Qt::Vertical, counts).at(0));
    axisCount->setTitleText(Lang(kTxtPieces, l));
    // A few ticks at whole, round steps, so that none reads a fraction of a
    // log. Their number is fixed: ticks laid out by an interval would, for a
    // moment between setting the range and the interval, be one per log of
    // the largest line.
    constexpr int kMostSteps = 5;
    const qint64 step = wholeStep(std::max<qint64>(maxCount, 1), kMostSteps);
    const qint64 steps = std::max<qint64>(1, (maxCount + step - 1) / step);
    axisCount->setTickType(QValueAxis::TicksFixed);
    axisCount->setTickCount(static_cast<int>(steps) + 1);
    axisCount->setMinorTickCount(0);
    axisCount->setRange(0.0, static_cast<qreal>(steps * step));
}

class QtSummaryCharts : public ISummaryCharts {
public:
    QWidget* makeView(QWidget* parent) override
    {
        auto* view = new QChartView(new QChart, parent);
        view->setObjectName(QStringLiteral("Chart"));
        view->setRenderHint(QPainter::Antialiasing);
        return view;
    }

    void fill(QWidget* view, const LotSummary& s, const SummaryParams& p, UiLanguage language) override
    {
        if (auto* chartView = qobject_cast<QChartView*>(view))
            fillSummaryChart(*chartView->chart(), s, p, language);
    }

    QImage image(const LotSummary& s, const SummaryParams& p, UiLanguage language, const QSize& size,
                 double pixelRatio) override
    {
        QGraphicsScene scene;
        auto* chart = new QChart;
        scene.addItem(chart); // the scene owns it
        fillSummaryChart(*chart, s, p, language);
        chart->resize(size);
        const QSize pixels = (QSizeF(size) * pixelRatio).toSize();
        QImage image(pixels, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, QRectF(QPointF(0, 0), pixels), QRectF(QPointF(0, 0), size));
        return image;
    }
};

} // namespace

ISummaryCharts& qtSummaryCharts()
{
    static QtSummaryCharts charts;
    return charts;
}

} // namespace zel
