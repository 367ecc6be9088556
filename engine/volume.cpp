// The four volume methods and the table lookups.
#include "engine/volume.h"
#include "engine/volumetables.h"

#include <cmath>

namespace zel {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Column of a length: nearest tenth, ties to even (the default rounding mode),
// so 10 x 1.25 picks 1.2 m and 10 x 1.35 (a hair above 13.5) picks 1.4 m.
int lengthColumn(double l, int firstDm)
{
    return static_cast<int>(std::nearbyint(10.0 * l)) - firstDm;
}

double cylinder(double diameterCm, double l)
{
    const double r = diameterCm / 100.0 / 2.0;
    return kPi * r * r * l;
}

} // namespace

double taperPerMetre(TaperStep step)
{
    return 0.5 * (step + 1);
}

double Calculate(std::uint32_t d, double l, std::uint32_t c, CalcMethod cat, TaperStep dgw)
{
    double v1 = 0.0;
    switch (cat) {
    case CalcMethod::Gost2708:
        // The range test reads the length itself; "not l >= 1.0" also keeps NaN out.
        if (d > 120 || d < 3 || l > 9.5 || !(l >= 1.0))
            v1 = 0.0;
        else
            v1 = GostVolumeTable[(d - kGostMinD) * kGostCols + lengthColumn(l, kGostMinLenDm)];
        break;
    case CalcMethod::Iso4480:
        if (d > 79 || d < 4 || l > 15.0 || !(l >= 0.5))
            v1 = 0.0;
        else
            v1 = IsoVolumeTable[(d - kIsoMinD) * kIsoCols + lengthColumn(l, kIsoMinLenDm)];
        break;
    case CalcMethod::Formula: {
        const double butt = d + taperPerMetre(dgw) * l;
        const double mean = (d + butt) / 2.0;
        v1 = cylinder(mean, l);
        break;
    }
    case CalcMethod::Cylindered:
        v1 = cylinder(d, l);
        break;
    }
    return static_cast<double>(c) * v1;
}

} // namespace zel
