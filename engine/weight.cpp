// Wood densities and the weight of a volume.
#include "engine/weight.h"

#include <cmath>
#include <limits>

namespace zel {

// kg/m3; columns: 10, 15, 20, 25, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120 % moisture.
const std::uint16_t WoodDensity[kSpeciesCount][kMoistureCount] = {
    {630, 640, 650, 670, 680, 730, 790, 840, 890, 940, 1000, 1050, 1100, 1150}, // birch
    {440, 450, 460, 470, 490, 520, 560, 600, 640, 670, 710, 750, 790, 820},     // spruce
    {660, 670, 690, 700, 710, 770, 820, 880, 930, 990, 1040, 1100, 1150, 1210}, // larch
    {490, 500, 510, 530, 540, 580, 620, 660, 710, 750, 790, 830, 870, 910},     // linden, aspen
    {500, 510, 520, 540, 550, 590, 640, 680, 720, 760, 810, 850, 890, 930},     // Scots pine
    {670, 690, 710, 730, 740, 800, 860, 920, 980, 1030, 1090, 1150, 1200, 1260}, // ash
};

std::uint64_t WeightWood(double WoodVolume, std::uint8_t species, std::uint8_t moisture)
{
    if (species >= kSpeciesCount || moisture >= kMoistureCount)
        return 0;
    const double kg = std::nearbyint(WoodDensity[species][moisture] * WoodVolume);
    if (!(kg > 0.0)) // zero, negative or NaN
        return 0;
    constexpr double kMax = 18446744073709549568.0; // largest double below 2^64
    if (kg >= kMax)
        return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(kg);
}

} // namespace zel
