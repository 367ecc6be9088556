// The cubature table: volumes of one log over a range of diameters and lengths.
#pragma once

#include "engine/volume.h"
#include "shell/langtable.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace zel {

// The six range fields as they read (lengths in m, diameters in cm).
struct TableRanges {
    double minLength = 1.0;
    double maxLength = 9.5;
    double lengthStep = 0.5;
    double minDiameter = 3;
    double maxDiameter = 120;
    double diameterStep = 1;
};

// The ranges a method brings with it; none for the machine-rounded log,
// which keeps whatever the fields hold.
std::optional<TableRanges> rangesFor(CalcMethod method);

// The warning for the first range that fails, in the order the table checks
// them (maximum length, minimum length, maximum diameter, minimum diameter);
// none when the ranges are fine.
std::optional<QString> checkRanges(const TableRanges& ranges, UiLanguage language);

// A generated table: C columns and R rows, header column and header row
// included; cell(c, r) as the grid shows it, the corner empty.
struct CubTable {
    int columns = 0;
    int rows = 0;
    QVector<QString> texts; // column-major: texts[c * rows + r]

    const QString& cell(int c, int r) const { return texts[c * rows + r]; }
    QString& cell(int c, int r) { return texts[c * rows + r]; }
};

// Generates the table. Lengths run from the minimum by the step, added up in
// double precision, while they stay within the maximum; diameters likewise,
// from the minimum and by the step rounded to whole centimetres. Each body
// cell is one log of the row's diameter and of the length its header shows.
// With `align` every volume has four decimals, otherwise its shortest text.
// Numbers follow `locale`'s decimal separator.
CubTable generateTable(const TableRanges& ranges, CalcMethod method, TaperStep taper,
                       bool align, const QLocale& locale);

} // namespace zel
