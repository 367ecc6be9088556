// The HTML documents and the report file.
#include "report/reports.h"
#include "engine/errors.h"
#include "shell/codepage.h"
#include "shell/paths.h"
#include "shell/savefile.h"

namespace zel {
namespace {

const QString kTr = QStringLiteral("<tr align=\"center\">");

// A list cell keeps whatever it was edited to when it does not parse, and a
// saved calculation brings such cells back: "<!--" copied as it is would hide
// every later row. Only these three characters are escaped: no language entry
// holds them, so every report of ordinary lists stays the same to the byte.
QString esc(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        default: out += c;
        }
    }
    return out;
}

QString td(const QString& text)
{
    return QStringLiteral("<td>") + esc(text) + QStringLiteral("</td>");
}

QString strong(const QString& text)
{
    return QStringLiteral("<td><strong>") + esc(text) + QStringLiteral("</strong></td>");
}

} // namespace

QStringList CalcReportDocument(const CalcReportInput& in)
{
    QStringList doc;
    doc << QStringLiteral("<HTML>") << QStringLiteral("<HEAD>")
        << QStringLiteral("<TITLE>") + esc(in.methodName) + QStringLiteral("</TITLE>")
        << QStringLiteral("</HEAD>") << QStringLiteral("<BODY BGCOLOR=\"#FFFFEE\">");
    if (in.boards)
        doc << QStringLiteral("<H3><CENTER>") + esc(in.heading) + QStringLiteral(" </CENTER></H3>");
    else
        doc << QStringLiteral("<H3><CENTER>") + esc(in.heading + in.methodName)
                   + QStringLiteral(" </CENTER></H3>");
    doc << QStringLiteral("<CENTER> ") << QStringLiteral("<table width=\"80%\"  border>")
        << QStringLiteral("<tr>") << QStringLiteral("<th width=10%> \u2116 </th>");
    const QString th = in.boards ? QStringLiteral("<th width=16%>") : QStringLiteral("<th width=22%>");
    for (const QString& caption : in.columnCaptions)
        doc << th + esc(caption) + QStringLiteral("</th>");
    doc << QStringLiteral("</tr>");

    const int subItems = in.boards ? 4 : 3;
    for (int n = 0; n < in.lines.size(); ++n) {
        const QStringList& line = in.lines[n];
        doc << kTr << td(QString::number(n + 1)) << td(line.value(0));
        for (int i = 1; i <= subItems; ++i)
            doc << td(line.value(i));
        doc << QStringLiteral("</tr>");
    }

    const int rows = in.areaRow ? 3 : 2;
    doc << kTr
        << (in.boards ? QStringLiteral("<td colspan=\"4\" rowspan=\"")
                      : QStringLiteral("<td colspan=\"3\" rowspan=\""))
               + QString::number(rows) + QStringLiteral("\">&nbsp;</td>")
        << strong(in.volumeCaption)
        << strong(in.volume + QLatin1Char(' ') + in.volumeUnit) << QStringLiteral("</tr>");
    doc << kTr << strong(in.weightCaption)
        << strong(in.weight + QLatin1Char(' ') + in.weightUnit) << QStringLiteral("</tr>");
    if (in.areaRow)
        doc << kTr << strong(in.areaCaption)
            << strong(in.area + QLatin1Char(' ') + in.areaUnit)
            << QStringLiteral("</tr>");
    doc << QStringLiteral("</TABLE>") << QStringLiteral("</CENTER> ") << QStringLiteral("</BODY>")
        << QStringLiteral("</HTML>");
    return doc;
}

QStringList TableReportDocument(const QString& caption, const QString& methodName,
                                const QVector<QStringList>& cells)
{
    QStringList doc;
    doc << QStringLiteral("<HTML>") << QStringLiteral("<HEAD>")
        << QStringLiteral("<TITLE>") + esc(caption) + QStringLiteral("</TITLE>")
        << QStringLiteral("</HEAD>") << QStringLiteral("<BODY BGCOLOR=\"#FFFFEE\">")
        << QStringLiteral("<H2><CENTER>") + esc(caption + QLatin1Char(' ') + methodName)
               + QStringLiteral("</CENTER></H2>")
        << QStringLiteral("<CENTER> ") << QStringLiteral("<table border>");
    for (const QStringList& row : cells) {
        doc << kTr;
        for (const QString& cell : row)
            doc << td(cell);
        doc << QStringLiteral("</tr>");
    }
    doc << QStringLiteral("</TABLE>") << QStringLiteral("</CENTER> ") << QStringLiteral("</BODY>")
        << QStringLiteral("</HTML>");
    return doc;
}

QString reportFilePath(const QString& programFile)
{
    return keptFile(programFile, QStringLiteral("HTML.html"));
}

void writeReportFile(const QString& path, const QStringList& lines)
{
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    QString error;
    if (!replaceFile(path, toWindows1251(text), &error))
        throw InOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, error));
}

} // namespace zel
