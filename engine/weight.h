// Weight of wood from its volume, species and moisture.
#pragma once

#include <cstdint>

namespace zel {

constexpr int kSpeciesCount = 6;   // birch, spruce, larch, linden/aspen, Scots pine, ash
constexpr int kMoistureCount = 14; // 10..30 % by 5, then 40..120 % by 10

// Density in kg/m3 by species index and moisture index.
extern const std::uint16_t WoodDensity[kSpeciesCount][kMoistureCount];

// Whole kilograms, nearest, ties to even. 64 bits: a list of a few lines of
// 65,535 large logs already weighs more than 2^32 kg. A volume beyond what
// 64 bits of kilograms hold gives the largest value rather than garbage.
std::uint64_t WeightWood(double WoodVolume, std::uint8_t species, std::uint8_t moisture);

} // namespace zel
