// List lines and a list context for tests of the lists' logic: lines as the
// window adds them (volume not yet computed), and pine at GOST 2708-75.
#pragma once

#include "lists/calclists.h"

namespace zel {

// Pine (4), 20 % moisture (8), GOST 2708-75, taper 1.
inline ListContext pineGost(UiLanguage language = UiLanguage::Ukrainian)
{
    ListContext c;
    c.method = CalcMethod::Gost2708;
    c.taper = 1;
    c.language = language;
    c.species = 4;
    c.moisture = 8;
    return c;
}

inline ListLine round(const QString& d, const QString& l, const QString& c)
{
    return ListLine{{d, l, c, QStringLiteral("0")}, kIconNormal};
}

inline ListLine board(const QString& x, const QString& y, const QString& l, const QString& c)
{
    return ListLine{{x, y, l, c, QStringLiteral("0")}, kIconNone};
}

} // namespace zel
