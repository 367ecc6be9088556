// Generating the cubature table.
#include "cubtable/cubtable.h"
#include "engine/convert.h"
#include "lists/numbertext.h"

#include <algorithm>
#include <cmath>

namespace zel {

std::optional<TableRanges> rangesFor(CalcMethod method)
{
    switch (method) {
    case CalcMethod::Gost2708:
    case CalcMethod::Formula:
        return TableRanges{1.0, 9.5, 0.5, 3, 120, 1};
    case CalcMethod::Iso4480:
        return TableRanges{0.5, 15.0, 0.5, 4, 79, 1};
    case CalcMethod::Cylindered:
        break;
    }
    return std::nullopt;
}

std::optional<QString> checkRanges(const TableRanges& r, UiLanguage language)
{
    // The brackets are fixed texts; the minimum-length one reads 0,0 although
    // the test is against 0.5.
    if (r.maxLength > 15.0)
        return Lang(62, language) + QStringLiteral("[ 15,0 ]");
    if (r.minLength < 0.5)
        return Lang(63, language) + QStringLiteral("[ 0,0 ]");
    if (r.maxDiameter > 120)
        return Lang(64, language) + QStringLiteral("[ 120 ]");
    if (r.minDiameter < 3)
        return Lang(65, language) + QStringLiteral("[ 3 ]");
    return std::nullopt;
}

CubTable generateTable(const TableRanges& r, CalcMethod method, TaperStep taper, bool align,
                       const QLocale& locale)
{
    QLocale numbers = locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);

    // The fields keep both steps above zero; a step that is not would never end.
    const double lengthStep = r.lengthStep > 0 ? r.lengthStep : 0.1;
    QStringList lengths;
    double len = r.minLength;
    do {
        lengths << numbers.toString(len, 'f', 1);
        len += lengthStep;
    } while (!(r.maxLength < len));

    // Whole centimetres, halves to the even neighbour.
    const int step = std::max(1, static_cast<int>(std::nearbyint(r.diameterStep)));
    QStringList diameters;
    int d = static_cast<int>(std::nearbyint(r.minDiameter));
    do {
        diameters << QString::number(d);
        d += step;
    } while (!(d > r.maxDiameter));

    CubTable t;
    t.columns = static_cast<int>(lengths.size()) + 1;
    t.rows = static_cast<int>(diameters.size()) + 1;
    t.texts.resize(t.columns * t.rows);
    for (int c = 1; c < t.columns; ++c)
        t.cell(c, 0) = lengths[c - 1];
    for (int row = 1; row < t.rows; ++row)
        t.cell(0, row) = diameters[row - 1];

    const QString decimalPoint = numbers.decimalPoint();
    for (int c = 1; c < t.columns; ++c) {
        // The length as its header shows it, not the sum that made it.
        bool ok = false;
        const double l = numbers.toDouble(t.cell(c, 0), &ok);
        for (int row = 1; row < t.rows; ++row) {
            const int diameter = StrToInt(t.cell(0, row));
            const double v = Calculate(static_cast<std::uint32_t>(diameter), l, 1, method, taper);
            QString text;
            if (align) {
                text = FormatNumber(v, 4);
                text.replace(QLatin1Char(','), decimalPoint);
            } else {
                text = numbers.toString(v, 'g', 15);
            }
            t.cell(c, row) = text;
        }
    }
    return t;
}

} // namespace zel
