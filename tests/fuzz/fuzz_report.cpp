// The two reports built from arbitrary texts (one per input line, dealt out
// to the lines, captions and totals): their HTML stays well formed, every
// element opened is closed, in order, so no text can change the document.
#include "fuzz.h"
#include "report/reports.h"

#include <QRegularExpression>

namespace {

// Elements that have no end tag in HTML.
bool isVoid(const QString& name)
{
    static const QStringList names = {QStringLiteral("br"), QStringLiteral("hr"), QStringLiteral("img"),
                                      QStringLiteral("meta"), QStringLiteral("link"), QStringLiteral("input"),
                                      QStringLiteral("col")};
    return names.contains(name);
}

void checkWellFormed(const QStringList& doc)
{
    const QString html = doc.join(QLatin1Char('\n'));
    // Any "<" starts a tag; a text's own "<" must have been escaped.
    static const QRegularExpression tag(QStringLiteral("<(/?)([A-Za-z][A-Za-z0-9]*)([^<>]*)>"));
    QStringList open;
    qsizetype at = 0;
    while (at < html.size()) {
        const qsizetype lt = html.indexOf(QLatin1Char('<'), at);
        const qsizetype gt = html.indexOf(QLatin1Char('>'), at);
        FUZZ_CHECK(gt < 0 || (lt >= 0 && gt > lt), html.mid(at, 200));
        if (lt < 0)
            break;
        const auto m = tag.match(html, lt, QRegularExpression::NormalMatch,
                                 QRegularExpression::AnchorAtOffsetMatchOption);
        FUZZ_CHECK(m.hasMatch(), html.mid(lt, 200));
        const QString name = m.captured(2).toLower();
        if (m.captured(1).isEmpty()) {
            if (!isVoid(name))
                open << name;
        } else {
            FUZZ_CHECK(!open.isEmpty() && open.last() == name, html.mid(lt, 200));
            open.removeLast();
        }
        at = m.capturedEnd();
    }
    FUZZ_CHECK(open.isEmpty(), open.join(QLatin1Char(' ')));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const QStringList texts = zel::fuzz::lines(data + 1, size - 1);
    qsizetype next = 0;
    const auto take = [&]() { return next < texts.size() ? texts[next++] : QString(); };

    zel::CalcReportInput in;
    in.boards = data[0] & 1;
    in.areaRow = data[0] & 2;
    in.methodName = take();
    in.heading = take();
    for (int i = 0; i < (in.boards ? 5 : 4); ++i)
        in.columnCaptions << take();
    in.volumeCaption = take();
    in.volume = take();
    in.volumeUnit = take();
    in.weightCaption = take();
    in.weight = take();
    in.weightUnit = take();
    in.areaCaption = take();
    in.area = take();
    in.areaUnit = take();
    const int width = in.boards ? 5 : 4;
    QVector<QStringList> cells;
    while (next < texts.size()) {
        QStringList line;
        for (int i = 0; i < width; ++i)
            line << take();
        in.lines << line;
        cells << line;
    }
    checkWellFormed(zel::CalcReportDocument(in));
    checkWellFormed(zel::TableReportDocument(in.methodName, in.heading, cells));
    return 0;
}
