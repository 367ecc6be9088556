// The two HTML documents the program prints: the calculation report and the
// cubature table, line by line, and the report file they are written to.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace zel {

// What the calculation report copies from the main window, as displayed.
struct CalcReportInput {
    bool boards = false;
    QString methodName;
    QString heading;            // round timber: ends in a blank, the method follows
    QStringList columnCaptions; // 4 (round timber) or 5 (boards)
    QVector<QStringList> lines; // each: caption, then the sub-item texts
    QString volumeCaption, volume, volumeUnit;
    QString weightCaption, weight, weightUnit;
    QString areaCaption, area, areaUnit;
    bool areaRow = false;       // boards shown, area enabled, panel not collapsed
};

QStringList CalcReportDocument(const CalcReportInput& in);

// The table's grid as cells[r][c], header row and column included.
QStringList TableReportDocument(const QString& caption, const QString& methodName,
                                const QVector<QStringList>& cells);

// The report file beside the program.
QString reportFilePath(const QString& programFile);

// Writes the lines in Windows-1251, each followed by CR LF, replacing the
// file whole. Throws InOutError when it cannot be written.
void writeReportFile(const QString& path, const QStringList& lines);

} // namespace zel
